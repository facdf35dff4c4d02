// Validation through its entry point: the statuses of what an expression
// does, the refusals and their messages, the names of COBOL results, the
// declared type of a plain name, the held result of an evaluation whose type
// changed; and the answer for every exception a validation can meet.

#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "EntryRoadFixture.h"
#include "api/StatusMappings.h"
#include "compiler/ParseError.h"
#include "services/InvalidOp.h"

namespace {

class Validation : public EntryRoadTest {
protected:
    void SetUp() override
    {
        EntryRoadTest::SetUp();
        i32 = records().integerType(32, false);
        variable("a", i32, 0x20);
        variable("b", i32, 0x24);
        declare(mainContext, records().automaticVariable("x", i32, 16));
        host.addFrame(mainContext, 0x20000);
        declare(unit, records().function("f", records().functionType(i32, {i32}), 1, 0x200));
        host.memory().storeBigEndian(kData + 0x20, 3, 4);
        host.memory().storeBigEndian(kData + 0x24, 4, 4);
    }

    TYPE_INDEX i32{};
};

TEST_F(Validation, TheStatusTellsWhatTheExpressionDoes)
{
    struct Case {
        const char* text;
        UBYTE2 status;
        bool storeFlag;
    };
    const Case cases[] = {
        {"a + b", 0, false},    {"a = 3", 1003, true}, // a static variable: independent of the frame
        {"x = 3", 1001, true},                         // an automatic one is found through the frame
        {"a += b", 1003, true}, {"f(a) + 1", 1000, false},
    };
    for (const Case& c : cases) {
        Expression e;
        validate(e, c.text);
        EXPECT_EQ(e.validated, c.status) << c.text;
        EXPECT_EQ((e.rep->flags() & 0x02) != 0, c.storeFlag) << c.text;
        EXPECT_EQ(e.rep->validationReturnCode(), c.status) << c.text << ": the saved status";
        ASSERT_NE(e.typeResult, nullptr) << c.text;
        EXPECT_EQ(e.typeResult, e.rep->validationResult()) << c.text;
        EXPECT_EQ(word(0x20), 3u) << c.text << ": validation wrote memory";
    }
}

TEST_F(Validation, RefusalsSetTheMessageAndLeaveTheOutItemAlone)
{
    HostRecordStore::ClassSpec empty;
    empty.name = "empty";
    variable("e", records().classType(empty), 0x40);
    struct Case {
        const char* text;
        UBYTE2 status;
        int message;
        const char* insert;
    };
    const Case cases[] = {
        {"nosuch", 11002, 3, "nosuch"},
        {"a +", 11000, 2, nullptr}, // nothing left where it failed
        {"a ) b", 11000, 1, nullptr},
        {"e", 10000, 20, nullptr},
    };
    for (const Case& c : cases) {
        Expression e;
        validate(e, c.text);
        EXPECT_EQ(e.validated, c.status) << c.text;
        EXPECT_EQ(e.messageId(), c.message) << c.text;
        if (c.insert != nullptr) {
            EXPECT_EQ(e.messageText(), catalogue(c.message, c.insert)) << c.text;
        }
        EXPECT_EQ(e.typeResult, nullptr) << c.text;
        EXPECT_EQ(e.rep->validationReturnCode(), c.status) << c.text;
    }
}

TEST_F(Validation, MissingArgumentsAndAnUninitialisedEvaluatorAnswer10000)
{
    Expression e;
    validate(e, "a + b");
    ASSERT_EQ(e.validated, 0);
    StackItem* out = nullptr;
    EXPECT_EQ(DbgValidateExpr(nullptr, mainContext, &out), 10000);
    EXPECT_EQ(DbgValidateExpr(e.rep, nullptr, &out), 10000);
    EXPECT_EQ(DbgValidateExpr(e.rep, mainContext, nullptr), 10000);
    unsigned char text[] = "a";
    EXPECT_EQ(DbgBuildExprIntRep(text, mainContext, 1, 0, nullptr), 10000);

    DbgTerminateRunTime();
    EXPECT_EQ(DbgValidateExpr(e.rep, mainContext, &out), 10000);
    EXPECT_EQ(out, nullptr);
    ASSERT_EQ(DbgInitialize(host.activate()), 1);
}

// A result whose type changed is held for the next validation, which hands
// it out with the status validation saved, without building.
TEST_F(Validation, AHeldResultIsHandedOutWithTheSavedStatus)
{
    Expression e;
    validate(e, "a = 3");
    ASSERT_EQ(e.validated, 1003);
    StackItem* held = e.typeResult->clone();
    e.rep->setEvaluationResult(held);
    StackItem* out = nullptr;
    host.clearCalls();
    EXPECT_EQ(DbgValidateExpr(e.rep, mainContext, &out), 1003);
    EXPECT_EQ(out, held);
    EXPECT_EQ(e.rep->validationResult(), held);
    EXPECT_EQ(e.rep->evaluationResult(), nullptr);
    EXPECT_EQ(host.callCount(HS_ExprSearchForSymbolEntry), 0u) << "built again";
    DbgFreeTypeResultInfo(out);
}

// A variable declared with a qualifier type (kind 88) keeps it in its
// result, though the built type looks through it.
TEST_F(Validation, APlainNameKeepsItsDeclaredQualifiedType)
{
    TYPE_INDEX qualified{};
    _TYPE_ENTRY& qualifier = records().newType(TE_QUALIFIER, &qualified);
    qualifier.qualifier.type = i32;
    variable("q", qualified, 0x30);
    Expression plain;
    validate(plain, "q");
    ASSERT_EQ(plain.validated, 0);
    ASSERT_NE(plain.typeResult->type().firstQualifierEntry(), nullptr);
    EXPECT_EQ(plain.typeResult->type().firstQualifierEntry()->leaf, TE_QUALIFIER);
    Expression sum;
    validate(sum, "q + 0");
    ASSERT_EQ(sum.validated, 0);
    EXPECT_EQ(sum.typeResult->type().firstQualifierEntry(), nullptr);
}

// Every exception a validation can meet, as the validation's handler
// answers it: the status, the message, and for build failures the kind's
// message in C and in COBOL.
TEST_F(Validation, EveryFailureHasItsStatusAndMessage)
{
    ExpressionRepresentation c(1, reinterpret_cast<const unsigned char*>("t"));
    ExpressionRepresentation cobol(6, reinterpret_cast<const unsigned char*>("t"));
    c.makeCurrent(mainContext);
    cobol.setContext(mainContext);
    auto answer = [](ExpressionRepresentation& rep, auto thrower) {
        rep.message() = Message(99);
        try {
            thrower();
        } catch (...) {
            return validationFailureStatus(rep);
        }
        return UBYTE2(0xFFFF);
    };
    struct Thrown {
        const char* what;
        std::function<void()> thrower;
        UBYTE2 status;
        int message;
    };
    const Thrown others[] = {
        {"a message", [] { throw Message(20, "T", nullptr); }, 10000, 20},
        {"browse mode", [] { throw InvalidOp(InvalidOp::RTRC_NotInBrowseMode, "f", 1); }, 10013, 99},
        {"not supported", [] { throw InvalidOp(InvalidOp::RTRC_NotSupported, "f", 1); }, 10002, 21},
        {"another code", [] { throw InvalidOp(InvalidOp::RTRC_DivideByZero, "f", 1); }, 10000, 21},
        {"a text", [] { throw "bad"; }, 11000, 21},
        {"anything else", [] { throw std::runtime_error("x"); }, 10000, 21},
    };
    for (const Thrown& t : others) {
        EXPECT_EQ(answer(c, t.thrower), t.status) << t.what;
        EXPECT_EQ(c.message().id(), t.message) << t.what;
    }

    struct Kind {
        unsigned kind;
        UBYTE2 status;
        int message;
        int cobolMessage;
    };
    const Kind kinds[] = {
        {0, 11000, 1, 1},    {1, 11002, 3, 4},    {2, 11002, 6, 6},    {3, 11000, 7, 7},    {4, 11000, 7, 7},
        {5, 11000, 9, 9},    {6, 11000, 10, 11},  {7, 11000, 12, 13},  {8, 11000, 14, 14},  {9, 11000, 15, 16},
        {10, 11000, 17, 17}, {11, 11000, 32, 32}, {12, 11000, 35, 35}, {13, 11000, 36, 36}, {14, 11002, 44, 44},
        {15, 11002, 42, 42}, {16, 11002, 34, 34}, {17, 11000, 0, 0},
    };
    for (const Kind& k : kinds) {
        const auto thrower = [&] { throw new ParseError(static_cast<ParseError::ErrorType>(k.kind), "X"); };
        EXPECT_EQ(answer(c, thrower), k.status) << "kind " << k.kind;
        EXPECT_EQ(c.message().id(), k.message) << "kind " << k.kind;
        EXPECT_EQ(c.message().insertCount(), 1u) << "kind " << k.kind;
        EXPECT_EQ(answer(cobol, thrower), k.status) << "COBOL kind " << k.kind;
        EXPECT_EQ(cobol.message().id(), k.cobolMessage) << "COBOL kind " << k.kind;
    }
    // A failure the analysis could not name is no text for a user.
    for (const char* placeholder : {"Undefined", "Traceback"}) {
        EXPECT_EQ(answer(c, [&] { throw new ParseError(ParseError::t_unspecified, placeholder); }), 11000);
        EXPECT_EQ(c.message().id(), 21) << placeholder;
    }
    const auto noText = [] { throw new ParseError(ParseError::t_errorAt, ""); };
    EXPECT_EQ(answer(c, noText), 11000);
    EXPECT_EQ(c.message().id(), 2) << "a syntax error without text";
    EXPECT_EQ(c.message().textAsByteString().length() > 0, true);

    // An unknown COBOL name under compilation setting 4.
    host.setCompilationSetting(4, 1);
    EXPECT_EQ(answer(cobol, [] { throw new ParseError(ParseError::t_noSymbol, "X"); }), 11002);
    EXPECT_EQ(cobol.message().id(), 5);
    EXPECT_TRUE(host.traced("ParseError::t_noSymbol X"));
    c.makeCurrent(nullptr);
}

} // namespace
