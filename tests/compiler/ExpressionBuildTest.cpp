// The expression build and replay entries: failures converted into build
// errors, the designated variable, the records' life cycle and the traces.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CompilerFixture.h"
#include "RoadFixture.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OstrelServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_MemoryException.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_String.h"
#include "frontend/EE_TraceBackInformation.h"
#include "services/InvalidOp.h"

namespace {

struct Converted {
    int kind;
    std::string text;
};

template <class F>
Converted converted(F&& raise)
{
    try {
        raise();
    } catch (...) {
        ParseError* e = ParseError::ofCurrentException();
        Converted c{static_cast<int>(e->kind()), e->text()};
        delete e;
        return c;
    }
    return {-1, ""};
}

class ExpressionBuild : public RoadTest {
protected:
    void SetUp() override
    {
        RoadTest::SetUp();
        host.addSection(1, kData);
        const TYPE_INDEX i32 = records().integerType(32, false);
        variable("a", i32, 0x20);
        variable("arr", records().arrayType(i32, 16), 0x30);
        variable("grid", records().arrayType(records().arrayType(i32, 8), 16), 0x40);
        variable("odd", records().integerType(40, false, 30), 0x60);
        declare(unit, records().function("f", records().functionType(i32, {i32}), 1, 0x200));
        host.memory().storeBigEndian(kData + 0x20, 5, 4);
    }
};

TEST_F(ExpressionBuild, EveryFailureBecomesABuildErrorOfItsKind)
{
    // Parse exceptions keep the rest of the input from the failing position.
    const int parseKinds[] = {3, 4, 17, 1, 5, 0, 14, 15, 16, 18, 17};
    for (unsigned code = 0; code < std::size(parseKinds); ++code) {
        const Converted c = converted([&] { throw EE_ParseException(code, "rest of input"); });
        EXPECT_EQ(c.kind, parseKinds[code]) << "parse exception " << code;
        EXPECT_EQ(c.text, "rest of input") << "parse exception " << code;
    }
    // Analysis exceptions name their node, parentheses stepped into; a bad
    // reference modification never does.
    EE_OstrelServices services(scope, nullptr);
    EE_String name("a");
    EE_Expression* a = services.createNameExpression(services.lookup(name, services.currentStore(), 0));
    EE_Expression* wrapped = services.createParenthesesExpression(services.createParenthesesExpression(a));
    const int exceptionKinds[] = {7, 8, 9, 10, 6, 2, 1, 11, 12, 13, 17, 17};
    for (unsigned code = 0; code < std::size(exceptionKinds); ++code) {
        const Converted withNode = converted([&] { throw EE_Exception(code, wrapped); });
        EXPECT_EQ(withNode.kind, exceptionKinds[code]) << "exception " << code;
        EXPECT_EQ(withNode.text, code == 7 ? "" : "a") << "exception " << code;
        const Converted without = converted([&] { throw EE_Exception(code); });
        EXPECT_EQ(without.kind, exceptionKinds[code]) << "exception " << code;
        EXPECT_EQ(without.text, "") << "exception " << code;
    }
    struct Other {
        const char* what;
        Converted got;
        int kind;
        const char* text;
    };
    const Other others[] = {
        {"a text", converted([] { throw "unable to allocate memory"; }), 17, "unable to allocate memory"},
        {"a null text", converted([] { throw static_cast<const char*>(nullptr); }), 17, ""},
        {"the arena running out", converted([] { throw EE_MemoryException(); }), 9, ""},
        {"another traceback", converted([] { throw EE_TraceBackInformation(); }), 17, "Traceback"},
        {"an evaluation error", converted([] { throw InvalidOp(InvalidOp::RTRC_Other, "f", 1); }), 17, "Undefined"},
        {"anything else", converted([] { throw 42; }), 17, "Undefined"},
    };
    for (const Other& o : others) {
        EXPECT_EQ(o.got.kind, o.kind) << o.what;
        EXPECT_EQ(o.got.text, o.text) << o.what;
    }
}

TEST_F(ExpressionBuild, BuildsReportWhereAndWhyTheyFail)
{
    struct Case {
        std::string text;
        int kind;
        std::string message;
    };
    const Case cases[] = {
        {"", 0, ""},                  // nothing to evaluate: incomplete
        {"a + * ) 3", 0, ") 3"},      // the rest of the input
        {"nosuch + 1", 1, "nosuch"},  // a name not in scope
        {"odd + 1", 17, "Undefined"}, // the symbol model refuses bits past 8 bytes
        // The literal does not fit the stream; a failure that names no part of
        // the text names the whole text.
        {"\"" + std::string(3000, 'x') + "\"", 9, "\"" + std::string(3000, 'x') + "\""},
        {"a * (arr)", 7, "arr"}, // parentheses stepped into
    };
    for (const Case& c : cases) {
        Build b;
        b.info.parameterCount = 0xDEAD; // what a caller left there
        build(b, c.text);
        EXPECT_EQ(b.parseErrorKind, c.kind) << c.text.substr(0, 20);
        EXPECT_EQ(b.parseErrorText, c.message) << c.text.substr(0, 20);
        EXPECT_EQ(b.info.parameterCount, 0u) << c.text.substr(0, 20);
    }
    // No text at all reads as the empty text.
    expression_info info{};
    try {
        exprBuild(nullptr, scope, &info);
        ADD_FAILURE() << "a missing text was built";
    } catch (ParseError* e) {
        EXPECT_EQ(e->kind(), ParseError::t_errorAt);
        EXPECT_STREQ(e->text(), "");
        delete e;
    }
    if (info.instructions != nullptr)
        exprFree(&info);
}

TEST_F(ExpressionBuild, TheDesignatedVariableIsFoundAboveOneSubscript)
{
    const SymbolItem* marker = reinterpret_cast<const SymbolItem*>(std::uintptr_t{0x10});
    struct Case {
        const char* text;
        const char* designated; // null: left as the caller set it
    };
    const Case cases[] = {
        {"a", "a"},         {"(a)", "a"},          {"((a))", "a"},
        {"arr[2]", "arr"},  {"(arr)[2]", nullptr}, {"grid[1][2]", nullptr},
        {"a + 1", nullptr}, {"-a", nullptr},
    };
    for (const Case& c : cases) {
        Build b;
        b.info.rootSymbol = const_cast<SymbolItem*>(marker);
        build(b, c.text);
        ASSERT_EQ(b.parseErrorKind, -1) << c.text << ": " << b.parseErrorText;
        if (c.designated == nullptr)
            EXPECT_EQ(b.info.rootSymbol, marker) << c.text;
        else
            EXPECT_STREQ(b.info.rootSymbol != marker ? b.info.rootSymbol->name() : "", c.designated) << c.text;
        EXPECT_EQ(b.info.subscriptCount, 0u) << c.text;
    }
}

TEST_F(ExpressionBuild, AFreedExpressionIsNotReplayedAndFreesOnce)
{
    Build b;
    build(b, "a + 1");
    ASSERT_NE(b.info.instructions, nullptr);
    EXPECT_EQ(exprEval(&b.info), b.info.resultType);
    exprFree(&b.info);
    EXPECT_EQ(b.info.instructions, nullptr);
    EXPECT_EQ(eeExceptionCode([&] { exprEval(&b.info); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { exprFree(&b.info); }), -1);
    for (auto call :
         {+[] { exprEval(nullptr); }, +[] { exprFree(nullptr); }, +[] { exprBuild("a", nullptr, nullptr); }})
        EXPECT_EQ(eeExceptionCode(call), 2);
    EXPECT_EQ(exprInit(), 1);
    exprTerm();
}

TEST_F(ExpressionBuild, TheDryRunLeavesNothingAndMarksStoresAndCalls)
{
    struct Case {
        const char* text;
        bool stores;
        bool calls;
    };
    const Case cases[] = {{"a + 1", false, false},
                          {"a = 3", true, false},
                          {"a++", true, false},
                          {"a > 1 && (a -= 1)", true, false},
                          {"f(a) + 1", false, true}};
    for (const Case& c : cases) {
        Build b;
        build(b, c.text);
        ASSERT_EQ(b.parseErrorKind, -1) << c.text;
        stack().popAll();
        stack().setSkipState(RuntimeStack::dryRun);
        exprEval(&b.info);
        EXPECT_EQ(stack().count(), 0u) << c.text;
        EXPECT_EQ(stack().storeSeen(), c.stores) << c.text;
        EXPECT_EQ(stack().userCallSeen(), c.calls) << c.text;
        stack().popAll();
        EXPECT_EQ(host.memory().bytes(kData + 0x23, 1)[0], 5) << c.text << " wrote memory";
    }
}

// A call is noticed, never made: the replay refuses it.
TEST_F(ExpressionBuild, CallsAreRecordedWithTheirArgumentCount)
{
    Build b;
    build(b, "f(a + 1)");
    ASSERT_EQ(b.parseErrorKind, -1) << b.parseErrorText;
    const std::vector<EE_InstructionDecoder::Instruction> code = EE_InstructionDecoder::decode(*b.info.instructions);
    ASSERT_GE(code.size(), 2u);
    const EE_InstructionDecoder::Instruction& call = code[code.size() - 2];
    EXPECT_EQ(call.opcode, 64u);
    EXPECT_EQ(call.fields, (std::vector<std::uint64_t>{1, 0})) << "one argument, no built-in";
    EXPECT_EQ(replayFailure("f(a)"), InvalidOp::RTRC_NotSupported);
}

TEST_F(ExpressionBuild, TheBuildTracesItsSteps)
{
    Build b;
    host.clearLines();
    build(b, "a + 1");
    std::vector<std::string> steps;
    for (const TestHost::TraceLine& line : host.lines())
        if (line.text.find("exprBuild(") != std::string::npos)
            steps.push_back(line.text.substr(line.text.find("): ") + 3));
    const std::vector<std::string> expected = {
        "before EE_ExpressionEvaluator evaluator", "after EE_ExpressionEvaluator evaluator",
        "after &evaluator.analyze(*expr)",         "after ((EE_OstrelTypeDescriptor&)expr->typeDescriptor()).key()",
        "after new EE_InstructionStream()",        "after ostrelger.setMachine(exprInfo->instructions)",
        "after evaluator.evaluate(*expr)",         "after exprInfo->instructions->genEnd()",
    };
    EXPECT_EQ(steps, expected);
}

} // namespace
