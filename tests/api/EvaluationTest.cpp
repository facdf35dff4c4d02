// Evaluation and the condition test through their entry points: results and
// names, the mapping of every evaluation error in C and COBOL, a result of
// another type than validated, SQL host variables, browse mode, and results
// released before or after their representation.

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "EntryRoadFixture.h"
#include "api/LiveRepresentations.h"
#include "api/StatusMappings.h"
#include "machine/StackItemEvalError.h"
#include "machine/StackItemNull.h"
#include "services/InvalidOp.h"
#include "tree/RootTreeNode.h"
#include "types/SqlTypeEntry.h"
#include "types/TypeKind.h"

namespace {

class Evaluation : public EntryRoadTest {
protected:
    void SetUp() override
    {
        EntryRoadTest::SetUp();
        const TYPE_INDEX i32 = records().integerType(32, false);
        variable("a", i32, 0x20);
        variable("b", i32, 0x24);
        host.memory().storeBigEndian(kData + 0x20, 3, 4);
        host.memory().storeBigEndian(kData + 0x24, 4, 4);
    }

    void TearDown() override
    {
        DbgSetBrowseMode(0);
        EntryRoadTest::TearDown();
    }

    // The text validated, then its validation made to predict a result of
    // another kind; that prediction.
    StackItem* validatedAs(Expression& e, const char* text, TypeKind kind)
    {
        validate(e, text);
        EXPECT_EQ(e.validated, 0) << text;
        StackItem* predicted = RuntimeStack::makeStackItem(*TypeItem::simpleType(kind), mainContext);
        DbgFreeTypeResultInfo(e.typeResult);
        // Held by the host, as a validation's result is, so that its free
        // releases it.
        LiveRepresentations::handOutResult(predicted);
        e.typeResult = predicted;
        e.rep->saveValidationResult(predicted);
        return predicted;
    }
};

TEST_F(Evaluation, ResultsAndFailuresOfCExpressions)
{
    struct Case {
        const char* text;
        UBYTE2 validated;
        UBYTE2 evaluated;
        bool item;
        std::int64_t value;
    };
    const Case cases[] = {
        {"a + b", 0, 0, true, 7},
        {"a = 9", 1003, 0, true, 9},
        {"a / (b - 4)", 0, 10007, false, 0},
    };
    for (const Case& c : cases) {
        Expression e;
        evaluate(e, c.text);
        EXPECT_EQ(e.validated, c.validated) << c.text;
        EXPECT_EQ(e.evaluated, c.evaluated) << c.text;
        EXPECT_EQ(e.result != nullptr, c.item) << c.text;
        if (e.result != nullptr) {
            EXPECT_EQ(e.result->asSigned(), c.value) << c.text;
            EXPECT_EQ(e.nameText(), c.text);
        }
        EXPECT_EQ(e.rep->runtimeStack().count(), 0u) << c.text;
    }
    EXPECT_EQ(word(0x20), 9u);
}

TEST_F(Evaluation, TheConditionTestAnswersTrueFalseOrTheFailure)
{
    struct Case {
        const char* text;
        UBYTE2 answer;
    };
    const Case cases[] = {
        {"a + b == 7", 0}, {"a + b == 8", 10000}, {"a / (b - 4)", 10007}, {"a", 0}, {"a - 3", 10000},
    };
    for (const Case& c : cases) {
        Expression e;
        validate(e, c.text);
        ASSERT_EQ(e.validated, 0) << c.text;
        EXPECT_EQ(DbgTestExpr(e.rep, mainContext), c.answer) << c.text;
        EXPECT_EQ(e.rep->runtimeStack().count(), 0u) << c.text;
    }
    Expression e;
    validate(e, "a = 1");
    EXPECT_EQ(DbgTestExpr(nullptr, mainContext), 10000);
    EXPECT_EQ(DbgTestExpr(e.rep, nullptr), 10000);
    DbgSetBrowseMode(1);
    EXPECT_EQ(DbgTestExpr(e.rep, mainContext), 10000) << "refused in browse mode";
    EXPECT_EQ(word(0x20), 3u);
}

TEST_F(Evaluation, BrowseModeRefusesAStoreAndKeepsMemory)
{
    Expression e;
    validate(e, "a = 9");
    ASSERT_EQ(e.validated, 1003);
    DbgSetBrowseMode(1);
    evaluate(e, "a = 9");
    EXPECT_EQ(e.evaluated, 10013);
    EXPECT_EQ(e.result, nullptr);
    EXPECT_EQ(word(0x20), 3u);
}

// A result of another type than validation predicted: held back with 1020
// on the host's road, converted on the update's.
TEST_F(Evaluation, AResultOfAnotherTypeIsHeldOrConverted)
{
    Expression e;
    StackItem* predicted = validatedAs(e, "a + b", t_signedShortInt);

    evaluate(e, "a + b");
    EXPECT_EQ(e.evaluated, 1020);
    EXPECT_EQ(e.result, nullptr);
    StackItem* held = e.rep->evaluationResult();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->asSigned(), 7);
    StackItem* out = nullptr;
    EXPECT_EQ(DbgValidateExpr(e.rep, mainContext, &out), 0) << "the saved status";
    EXPECT_EQ(out, held);
    DbgFreeTypeResultInfo(out);

    // The update's road converts to what validation predicted.
    e.rep->saveValidationResult(predicted);
    StackItem* converted = nullptr;
    UBYTE1* name = nullptr;
    EXPECT_EQ(DbgEvaluateExpr_i(*e.rep, mainContext, converted, name, true), 0);
    ASSERT_NE(converted, nullptr);
    EXPECT_TRUE(converted->type() == predicted->type());
    EXPECT_EQ(converted->asSigned(), 7);
    // The update's road keeps its result to itself: never handed out.
    releaseEvalResult(converted);
}

// A result the update's road cannot convert to what validation predicted
// fails, and the result is released (the sanitizer build sees a leak).
TEST_F(Evaluation, AResultThatCannotBeConvertedFailsAndIsReleased)
{
    Expression e;
    validatedAs(e, "\"ab\"", t_signedLongInt);
    StackItem* converted = nullptr;
    UBYTE1* name = nullptr;
    EXPECT_GE(DbgEvaluateExpr_i(*e.rep, mainContext, converted, name, true), 10000);
    EXPECT_EQ(converted, nullptr);
    EXPECT_EQ(e.rep->runtimeStack().count(), 0u);
}

TEST_F(Evaluation, MissingArgumentsAndAMissingValidationAnswer10000)
{
    Expression e;
    ASSERT_EQ(DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(const_cast<char*>("a")), mainContext, 1, 0, &e.rep),
              0);
    StackItem* result = reinterpret_cast<StackItem*>(1);
    UBYTE1* name = nullptr;
    EXPECT_EQ(DbgEvaluateExpr(e.rep, mainContext, &result, &name), 10000) << "never validated";
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(DbgEvaluateExpr(nullptr, mainContext, &result, &name), 10000);
    EXPECT_EQ(DbgEvaluateExpr(e.rep, nullptr, &result, &name), 10000);
    EXPECT_EQ(DbgEvaluateExpr(e.rep, mainContext, &result, nullptr), 10000);
    EXPECT_EQ(DbgEvaluateExpr(e.rep, mainContext, nullptr, &name), 10000);
}

// Every InvalidOp code as evaluation answers it, in C and in COBOL: the
// status and the item handed out with it (none, a null item, or an error
// item carrying a catalogue message).
TEST_F(Evaluation, EveryEvaluationErrorHasItsStatusAndItem)
{
    enum Item {
        none,
        null,
        message
    };
    struct Row {
        int code;
        UBYTE2 status;
        Item c;
        Item cobol;
        int message;
        const char* insert; // "" none, "E" the error's text
    };
    // codes without a row: 10000 and no item in both languages
    const Row rows[] = {
        {1, 10002, none, none, 0, ""},          {3, 10007, none, message, 29, ""},
        {5, 11051, none, message, 34, "E"},     {6, 11051, none, message, 34, "E"},
        {8, 10006, null, null, 0, ""},          {10, 10010, none, message, 30, "E"},
        {11, 10011, none, none, 0, ""},         {20, 10009, none, none, 0, ""},
        {22, 1020, none, none, 0, ""},          {23, 11050, none, none, 0, ""},
        {25, 10013, none, none, 0, ""},         {26, 10000, none, message, 40, ""},
        {27, 10000, none, message, 43, "E"},    {28, 10000, none, message, 33, "E"},
        {29, 10004, none, none, 0, ""},         {30, 10003, none, none, 0, ""},
        {31, 10012, none, none, 0, ""},         {32, 10005, none, none, 0, ""},
        {34, 10000, message, message, 52, "E"}, {36, 10000, message, message, 51, ""},
        {39, 10011, none, none, 0, ""},         {40, 10006, null, null, 0, ""},
        {41, 10000, none, message, 32, ""},     {42, 10000, none, message, 31, "E"},
        {43, 10000, none, message, 37, ""},     {44, 10000, none, message, 38, "E"},
        {45, 10000, none, message, 39, "E"},
    };
    ExpressionRepresentation c(1, reinterpret_cast<const unsigned char*>("x + y"));
    ExpressionRepresentation cobol(6, reinterpret_cast<const unsigned char*>("X + Y"));
    c.makeCurrent(mainContext);
    for (int code = 0; code <= 48; ++code) {
        Row row{code, 10000, none, none, 0, ""};
        for (const Row& r : rows)
            if (r.code == code)
                row = r;
        for (ExpressionRepresentation* rep : {&c, &cobol}) {
            const bool isCobol = rep == &cobol;
            SCOPED_TRACE(std::string(isCobol ? "COBOL" : "C") + " code " + std::to_string(code));
            const Item expected = isCobol ? row.cobol : row.c;
            const InvalidOp error(static_cast<InvalidOp::InvalidOperation>(code), "f", 1, "E");
            StackItem* item = reinterpret_cast<StackItem*>(1);
            EXPECT_EQ(evaluationFailureStatus(*rep, code, error, item), row.status);
            switch (expected) {
            case none: EXPECT_EQ(item, nullptr); break;
            case null: EXPECT_NE(dynamic_cast<StackItemNull*>(item), nullptr); break;
            case message:
                ASSERT_NE(dynamic_cast<StackItemEvalError*>(item), nullptr);
                EXPECT_STREQ(item->evaluationError(),
                             catalogue(row.message, row.insert[0] != '\0' ? "E" : nullptr).c_str());
                break;
            }
            if (expected != none)
                delete item;
        }
    }
    // An insert taken from an error without text is the expression.
    StackItem* item = nullptr;
    EXPECT_EQ(evaluationFailureStatus(cobol, 5, InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, "f", 1), item), 11051);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->evaluationError(), catalogue(34, "X + Y").c_str());
    delete item;
    c.makeCurrent(nullptr);
}

class SqlEvaluation : public EntryRoadTest {
protected:
    SqlEvaluation() : EntryRoadTest(18) {}

    void SetUp() override
    {
        EntryRoadTest::SetUp();
        HostRecordStore::SqlVariable v;
        v.sqlType = 484;
        v.length = 5 << 8 | 2;
        v.address = kData + 0x80;
        v.addressWidth = 64;
        v.ccsid = 37;
        declare(mainContext, records().sqlHostVariable(":AMOUNT", v));
        host.memory().storeBigEndian(kData + 0x80, 0x12345D, 3);
    }
};

TEST_F(SqlEvaluation, AHostVariableIsTypedFromItsEntryAndNotRun)
{
    Expression e;
    validate(e, ":AMOUNT");
    ASSERT_EQ(e.validated, 0);
    ASSERT_NE(e.typeResult, nullptr);
    const _TYPE_ENTRY* entry = e.typeResult->type().typeEntry();
    ASSERT_TRUE(SqlTypeEntry::isSqlEntry(entry));
    const SqlTypeEntry record(*entry);
    EXPECT_EQ(record.sqlType(), 484u);
    EXPECT_EQ(record.length(), 5u << 8 | 2);
    EXPECT_EQ(record.address(), kData + 0x80);
    EXPECT_EQ(record.addressWidth(), 64u);
    EXPECT_EQ(record.ccsid(), 37u);
    EXPECT_TRUE(host.traced("SQL variable - skipping validation"));

    evaluate(e, ":AMOUNT");
    EXPECT_EQ(e.evaluated, 0);
    EXPECT_EQ(e.nameText(), ":AMOUNT");
    ASSERT_NE(e.result, nullptr);
    StackItem* held = e.rep->evaluationResult();
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, e.result) << "the held result is a copy of its own";
    // The host frees the result first; the next validation hands out the
    // held one, which is alive.
    DbgFreeEvalResultInfo(e.result);
    e.result = nullptr;
    StackItem* out = nullptr;
    EXPECT_EQ(DbgValidateExpr(e.rep, mainContext, &out), 0);
    EXPECT_EQ(out, held);
    EXPECT_TRUE(out->type() == e.typeResult->type());
    DbgFreeTypeResultInfo(out);

    Expression unknown;
    validate(unknown, ":NOSUCH");
    EXPECT_EQ(unknown.validated, 10000);
    EXPECT_EQ(unknown.typeResult, nullptr);
}

// Whatever the host releases first, nothing is read after it is freed (the
// sanitizer build checks).
TEST_F(Evaluation, ResultsAndRepresentationsAreReleasedInEitherOrder)
{
    host.clearCalls();
    for (bool representationFirst : {false, true}) {
        for (const char* text : {"a + b", "a / (b - 4)", "a"}) {
            Expression e;
            evaluate(e, text);
            if (representationFirst) {
                DbgFreeExprIntRep(e.rep);
                e.rep = nullptr;
            }
            e.release();
        }
    }
    EXPECT_EQ(host.callCount(41), 0u) << "a release called a function of the program";
}

// A type result released before its expression is evaluated again: the
// expression answers as one never validated; a released result is no
// longer what the validation result's root presents.
TEST_F(Evaluation, ReleasedResultsLeaveTheirRepresentation)
{
    Expression e;
    evaluate(e, "a + b");
    ASSERT_EQ(e.evaluated, 0);
    RootTreeNode* root = e.typeResult->getTreeRoot();
    EXPECT_EQ(root->result(), e.result);
    DbgFreeEvalResultInfo(e.result);
    e.result = nullptr;
    EXPECT_EQ(root->result(), nullptr);
    evaluate(e, "a + b");
    EXPECT_EQ(e.evaluated, 0);

    DbgFreeTypeResultInfo(e.typeResult);
    e.typeResult = nullptr;
    EXPECT_EQ(e.rep->validationResult(), nullptr);
    evaluate(e, "a + b");
    EXPECT_EQ(e.evaluated, 10000);
    EXPECT_EQ(e.result, nullptr);
}

TEST_F(SqlEvaluation, ResultsAndRepresentationsAreReleasedInEitherOrder)
{
    for (bool representationFirst : {false, true}) {
        Expression e;
        evaluate(e, ":AMOUNT");
        ASSERT_EQ(e.evaluated, 0);
        if (representationFirst) {
            DbgFreeExprIntRep(e.rep);
            e.rep = nullptr;
        }
        e.release();
    }
}

} // namespace
