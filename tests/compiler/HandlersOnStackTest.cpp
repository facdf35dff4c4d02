// Opcode handlers on a real value stack over a simulated program: character
// constants, numbers the stack takes whole or refuses, and small streams
// that load, operate and store in the program's memory.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CompilerFixture.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/OpcodeHandlers.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemFigConstant.h"
#include "machine/StackItemS.h"
#include "services/ExpressionRepresentation.h"
#include "testhost/TestHostFixture.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

namespace {

// A unit with a function "main" whose section 1 starts at 0x10000, and a C
// representation of the chosen address size current on main's context.
class HandlersOnStack : public TestHostFixture {
protected:
    static constexpr TYPE_INDEX intType{0, 130};
    static constexpr std::uint64_t sectionStart = 0x10000;

    HandlersOnStack() : TestHostFixture(true) {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        unit = &host.addContext("unit", CS2_FILE);
        mainContext = &host.addContext("main", CS2_FUNCTION, unit);
        mainContext->blockSymbol = &host.records().function("main", host.records().functionType(intType, {}), 1, 0x100);
        host.addSection(1, sectionStart, 64);
        use(4);
    }

    void TearDown() override
    {
        rep_.reset();
        TestHostFixture::TearDown();
    }

    void use(unsigned addressSize)
    {
        rep_.reset();
        unit->locationType = mainContext->locationType = addressSize == 8 ? 4 : 0;
        rep_ = std::make_unique<ExpressionRepresentation>(1, nullptr);
        scope = rep_->initializeAndMakeCurrent(mainContext);
    }

    RuntimeStack& stack() { return rep_->runtimeStack(); }

    ExpressionRepresentation& rep() { return *rep_; }

    // A static int of the program at an offset into section 1.
    const SymbolItem* staticInt(const char* name, std::uint64_t offset, std::uint32_t value)
    {
        host.declare(*mainContext, host.records().staticVariable(name, intType, 1, offset));
        host.memory().storeBigEndian(sectionStart + offset, value, 4);
        return scope->findVariable(name, 1);
    }

    std::vector<std::uint8_t> memoryAt(std::uint64_t address, unsigned n) { return host.memory().bytes(address, n); }

    std::optional<RaisedInvalidOp> replay(const std::function<void(EE_InstructionStream&)>& write)
    {
        EE_InstructionStream stream;
        write(stream);
        stream.genEnd();
        return raisedInvalidOp([&] { stream.execute(); });
    }

    LCC_Eval_Context_Info* unit = nullptr;
    LCC_Eval_Context_Info* mainContext = nullptr;
    ScopeItem* scope = nullptr;

private:
    std::unique_ptr<ExpressionRepresentation> rep_;
};

TEST_F(HandlersOnStack, CharacterConstantIsOneUnsignedByteOfItsWholeSpelling)
{
    const char* signature = "void genLoadChar(const Char*, unsigned int)";
    struct Case {
        const char* what;
        const char* text;
        unsigned n;
        int pushed; // -1: refused with RTRC_InvalidString
    };
    const Case cases[] = {
        // From the byte code a length of 0 has no text to measure.
        {"a of length 0", "a", 0, -1},
        {"empty", "", 0, -1},
        // Only one of two characters would be used.
        {"ab", "ab", 2, -1},
        // A lone byte is its own value: 0x5C is an EBCDIC '*', no escape.
        {"0x5C", "\x5C", 1, 0x5C},
        {"0xFF stays unsigned", "\xFF", 1, 0xFF},
        // Spellings under the alternate character set: escapes, used whole.
        {"\\x41", "\\x41", 4, 0x41},
        {"\\n", "\\n", 2, 10},
        {"\\x without digits", "\\x41", 2, -1},
        {"\\101 and more", "\\101z", 5, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stack().popAll();
        const std::optional<RaisedInvalidOp> raised = replay([&](auto& s) { s.genLoadChar(c.text, c.n); });
        if (c.pushed < 0) {
            expectInvalidOp(raised, InvalidOp::RTRC_InvalidString, signature);
            EXPECT_EQ(stack().count(), 0u);
            continue;
        }
        ASSERT_FALSE(raised.has_value()) << raised->function;
        ASSERT_EQ(stack().count(), 1u);
        EXPECT_EQ(stack().top()->size(), 1u);
        EXPECT_EQ(stack().top()->asSigned(), c.pushed);
    }
}

TEST_F(HandlersOnStack, ElementSizeAbove32BitsReachesTheStackWhole)
{
    use(8);
    const TypeItem pointer(host.records().pointerType(intType, 8));
    stack().push(new StackItemAddress(rep(), 0x10000ull, pointer));
    stack().push(new StackItemS4(rep(), 1));
    ASSERT_FALSE(replay([](auto& s) { s.genIndex(0x100000004ll); }).has_value());
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().top()->asUnsigned(), 0x100010004ull);
}

TEST_F(HandlersOnStack, NumbersTheStackTakesIn32BitsAreRefusedNotCut)
{
    struct Case {
        std::function<void(EE_InstructionStream&)> write;
        const char* signature;
    };
    const TypeItem intItem(intType);
    const Case cases[] = {
        {[](auto& s) { s.genLoadIndex(1ull << 32); }, "void genLoadIndex(unsigned long long)"},
        {[](auto& s) { s.genLoadParam(1ull << 32); }, "void genLoadParam(unsigned long long)"},
        {[&](auto& s) { s.genLoadIndirectRank(1ll << 31, &intItem); },
         "void genLoadIndirectRank(long long, const TypeItem*)"},
        {[&](auto& s) { s.genLoadIndirectRank(-1, &intItem); }, "void genLoadIndirectRank(long long, const TypeItem*)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signature);
        expectInvalidOp(replay(c.write), InvalidOp::RTRC_Other, c.signature);
        EXPECT_EQ(stack().count(), 0u);
    }
    // The largest index that fits is loaded as it stands.
    ASSERT_FALSE(replay([](auto& s) { s.genLoadIndex(0xFFFFFFFFull); }).has_value());
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().top()->asUnsigned(), 0xFFFFFFFFull);
}

// n = n + 7, then m = n * 2 through the byte code alone.
TEST_F(HandlersOnStack, StreamsLoadOperateAndStoreInTheProgramsMemory)
{
    const SymbolItem* n = staticInt("n", 0x40, 5);
    const SymbolItem* m = staticInt("m", 0x44, 0xEEEEEEEE);
    ASSERT_NE(n, nullptr);
    ASSERT_NE(m, nullptr);
    const TypeItem intItem(intType);

    EE_InstructionStream add;
    add.genLoadAddress(n);
    add.genLoad(n);
    add.genLoadIntegralConstant(7, nullptr, 1, 4);
    add.genAdd();
    add.genStore();
    add.genEnd();
    add.execute();
    EXPECT_EQ(memoryAt(sectionStart + 0x40, 8), (std::vector<std::uint8_t>{0, 0, 0, 12, 0xEE, 0xEE, 0xEE, 0xEE}));
    EXPECT_TRUE(stack().storeSeen());
    stack().popAll();

    EE_InstructionStream twice;
    twice.genLoadAddress(m);
    twice.genLoad(n);
    twice.genLoadIntegralValue("2");
    twice.genMult();
    twice.genConvert(&intItem);
    twice.genStore();
    twice.genEnd();
    twice.execute();
    EXPECT_EQ(memoryAt(sectionStart + 0x40, 8), (std::vector<std::uint8_t>{0, 0, 0, 12, 0, 0, 0, 24}));
    stack().popAll();

    // The dry run writes nothing.
    stack().setSkipState(RuntimeStack::dryRun);
    add.execute();
    stack().setSkipState(RuntimeStack::running);
    EXPECT_EQ(memoryAt(sectionStart + 0x40, 4), (std::vector<std::uint8_t>{0, 0, 0, 12}));
}

// A jump over a store: the store is skipped when the condition holds.
TEST_F(HandlersOnStack, ConditionalStoreFollowsTheTestedValue)
{
    const SymbolItem* n = staticInt("n", 0x40, 1);
    for (std::uint32_t condition : {0u, 3u}) {
        SCOPED_TRACE(condition);
        host.memory().storeBigEndian(sectionStart + 0x40, 1, 4);
        stack().popAll();
        EE_InstructionStream stream;
        stream.genLoadIntegralConstant(condition, nullptr, 1, 4);
        stream.genTrueJump(1);
        stream.genLoadAddress(n);
        stream.genLoadIntegralConstant(9, nullptr, 1, 4);
        stream.genStore();
        stream.genLabel(1);
        stream.genEnd();
        stream.execute();
        const std::uint8_t expected = condition != 0 ? 1 : 9;
        EXPECT_EQ(memoryAt(sectionStart + 0x40, 4), (std::vector<std::uint8_t>{0, 0, 0, expected}));
    }
}

TEST_F(HandlersOnStack, FormattedResultNameGrowsOnlyWhileRunning)
{
    EE_InstructionStream stream;
    stream.formatAppendString("a[");
    stream.formatAppendString(nullptr);
    stream.formatAppendString("]");
    stream.genEnd();
    stream.execute();
    const ByteString& name = rep().formattedResultName();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(name.data()), name.length()), "a[]");
    EXPECT_TRUE(host.traced("Value = a["));

    stack().setSkipState(RuntimeStack::dryRun);
    stream.execute();
    stack().setSkipState(RuntimeStack::running);
    EXPECT_EQ(rep().formattedResultName().length(), 3u);
}

TEST_F(HandlersOnStack, TextLiteralsKeepEveryByteTheyAreGiven)
{
    // LOW-VALUE: a zero byte is the constant, not the end of its text.
    const TypeItem alphanumeric(host.records().charstringType(1));
    ASSERT_FALSE(replay([&](auto& s) { s.genLoadFigConstant("\0", 1, &alphanumeric); }).has_value());
    const auto* low = dynamic_cast<const StackItemFigConstant*>(stack().top());
    ASSERT_NE(low, nullptr);
    EXPECT_TRUE(low->isNull());
    EXPECT_EQ(low->size(), 1u);

    // A string literal of its given length, zero bytes included.
    ASSERT_FALSE(replay([](auto& s) { s.genString("ab\0c", 4); }).has_value());
    ASSERT_EQ(stack().count(), 2u);
    EXPECT_TRUE(stack().top()->isString());
    EXPECT_EQ(stack().top()->size(), 4u);
    EXPECT_EQ(std::string(static_cast<const char*>(stack().top()->resultBuffer()), 4), std::string("ab\0c", 4));

    // A wide character of a hexadecimal escape longer than a byte.
    ASSERT_FALSE(replay([](auto& s) { s.genLoadWChar("\\x20AC", 6); }).has_value());
    ASSERT_EQ(stack().count(), 3u);
    EXPECT_EQ(stack().top()->asUnsigned(), 0x20ACu);

    // The value stack's own refusals pass through.
    const TypeItem intItem(intType);
    const std::optional<RaisedInvalidOp> numeric = replay([&](auto& s) { s.genLoadFigConstant("\xF0", 1, &intItem); });
    ASSERT_TRUE(numeric.has_value());
    EXPECT_EQ(numeric->code, InvalidOp::RTRC_NotSupported);
    EXPECT_NE(numeric->function.find("RuntimeStack::genLoadFigConstant"), std::string::npos);
    EXPECT_EQ(stack().count(), 3u);
    stack().popAll();
}

TEST_F(HandlersOnStack, StringConversionRetypesAnEvaluatorStringAndReadsAnAddressedOne)
{
    // A string the evaluator holds takes the target type as it is.
    const TypeItem text(host.records().charstringType(3));
    ASSERT_FALSE(replay([&](auto& s) {
                     s.genString("abc", 3);
                     s.genConvertString(&text);
                 }).has_value());
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_TRUE(stack().top()->isString());
    EXPECT_EQ(std::string(static_cast<const char*>(stack().top()->resultBuffer()), 3), "abc");
    stack().popAll();

    // A value that holds no address cannot be read as a string.
    const TypeItem intItem(intType);
    const std::optional<RaisedInvalidOp> refused = replay([&](auto& s) {
        s.genLoadIntegralConstant(7, &intItem, 0, 4);
        s.genConvertString(&text);
    });
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->code, InvalidOp::RTRC_InvalidReference);
    stack().popAll();
}

TEST_F(HandlersOnStack, RealAndIntegralConstantsPushTheirSizes)
{
    genLoadRealConstant(2.5L, 8);
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().top()->size(), 8u);
    EXPECT_TRUE(host.traced("value = 2.500000, size = 8"));
    stack().popAll();

    // 300 cut to one unsigned byte; a length the stack has no item for.
    genLoadIntegralConstant(300, nullptr, false, 1);
    EXPECT_EQ(stack().top()->asSigned(), 44);
    const std::optional<RaisedInvalidOp> raised = raisedInvalidOp([] { genLoadIntegralConstant(1, nullptr, true, 3); });
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->code, InvalidOp::RTRC_NotSupported);
    stack().popAll();
}

} // namespace
