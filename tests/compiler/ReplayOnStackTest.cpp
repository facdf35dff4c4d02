// Replay against the value stack of the current expression representation:
// the handlers that the stack serves, jumps and labels, the dry run.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CompilerFixture.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/OpcodeHandlers.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemS.h"
#include "types/TypeItem.h"

namespace {

class ReplayOnStack : public CompilerTest {
protected:
    RuntimeStack& stack() { return env.runtimeStack(); }

    void pushInt(int value) { stack().push(new StackItemS4(env, value)); }

    std::int64_t topValue()
    {
        EXPECT_NE(stack().top(), nullptr);
        return stack().top() != nullptr ? stack().top()->asSigned() : 0;
    }

    void TearDown() override
    {
        stack().popAll();
        CompilerTest::TearDown();
    }
};

TEST_F(ReplayOnStack, OperatorsReachTheValueStack)
{
    struct Case {
        const char* what;
        std::function<void(EE_InstructionStream&)> write;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"add", [](auto& s) { s.genAdd(); }, 12},
        {"subtract", [](auto& s) { s.genSubtract(); }, 2},
        {"multiply", [](auto& s) { s.genMult(); }, 35},
        {"divide", [](auto& s) { s.genDivide(); }, 1},
        {"modulus", [](auto& s) { s.genModulus(); }, 2},
        {"and", [](auto& s) { s.genBitAnd(); }, 5},
        {"or", [](auto& s) { s.genBitOr(); }, 7},
        {"xor", [](auto& s) { s.genBitXor(); }, 2},
        {"shift left", [](auto& s) { s.genLogicalShiftLeft(); }, 224},
        {"less", [](auto& s) { s.genLT(); }, 0},
        {"greater", [](auto& s) { s.genGT(); }, 1},
        {"equal", [](auto& s) { s.genEQ(); }, 0},
        {"not equal", [](auto& s) { s.genNE(); }, 1},
        {"negate the right", [](auto& s) { s.genNegate(); }, -5},
        {"pop the right", [](auto& s) { s.genPop(); }, 7},
        {"convert the right to short",
         [](auto& s) {
             static const TypeItem shortType(129u);
             s.genConvert(&shortType);
         },
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stack().popAll();
        pushInt(7);
        pushInt(5);
        EE_InstructionStream stream;
        c.write(stream);
        stream.genEnd();
        stream.execute();
        EXPECT_EQ(topValue(), c.expected);
    }
}

TEST_F(ReplayOnStack, ConversionTakesTheTargetTypeFromTheOperand)
{
    pushInt(70000);
    const TypeItem shortType(129u);
    EE_InstructionStream stream;
    stream.genConvert(&shortType);
    stream.genDupValue();
    stream.genEnd();
    stream.execute();
    EXPECT_EQ(stack().count(), 2u);
    EXPECT_EQ(topValue(), 70000 - 65536);
    EXPECT_TRUE(stack().top()->type() == shortType);
}

// cond != 0: genTrueJump skips to its label; cond == 0: genFalseJump does.
TEST_F(ReplayOnStack, ConditionalJumpsSkipUpToTheirLabel)
{
    struct Case {
        bool onTrue;
        int condition;
        std::int64_t expected; // 5 when the negation was skipped
    };
    const Case cases[] = {{true, 0, -5}, {true, 3, 5}, {false, 0, 5}, {false, -1, -5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.onTrue ? "true jump on " : "false jump on ") + std::to_string(c.condition));
        stack().popAll();
        pushInt(5);
        pushInt(c.condition);
        EE_InstructionStream stream;
        if (c.onTrue)
            stream.genTrueJump(1);
        else
            stream.genFalseJump(1);
        stream.genNegate();
        stream.genLabel(1);
        stream.genEnd();
        stream.execute();
        EXPECT_EQ(stack().count(), 1u) << "the tested value is gone";
        EXPECT_EQ(topValue(), c.expected);
        EXPECT_EQ(stack().skipState(), RuntimeStack::running);
    }
}

TEST_F(ReplayOnStack, JumpToALabelThatNeverComesSkipsToTheEnd)
{
    pushInt(5);
    EE_InstructionStream stream;
    stream.genJump(7);
    stream.genNegate();
    stream.genLabel(3);
    stream.genNegate();
    stream.genDupValue();
    stream.genEnd();
    stream.execute();
    EXPECT_EQ(stack().count(), 1u);
    EXPECT_EQ(topValue(), 5);
    EXPECT_EQ(stack().skipState(), RuntimeStack::skipping);
    EXPECT_EQ(stack().jumpLabel(), 7u);
}

TEST_F(ReplayOnStack, DryRunNoticesCallsAndLeavesTheFormattedNameAlone)
{
    for (RuntimeStack::SkipState state : {RuntimeStack::dryRun, RuntimeStack::skipping}) {
        SCOPED_TRACE(int(state));
        stack().popAll();
        stack().setSkipState(state);
        host.clearLines();
        EE_InstructionStream stream;
        stream.formatAppendString("[");
        stream.formatAppendIntegral();
        stream.genCall(4, false);
        stream.genEnd();
        stream.execute();
        EXPECT_FALSE(host.traced("formatAppendString("));
        EXPECT_FALSE(host.traced("formatAppendIntegral("));
        EXPECT_TRUE(stack().userCallSeen());
        EXPECT_EQ(stack().count(), 0u);
    }

    // While running a call is refused after it was noticed; a built-in one
    // is not a call of the program.
    stack().popAll();
    EE_InstructionStream builtin;
    builtin.genCall(2, true);
    builtin.genEnd();
    expectInvalidOp(raisedInvalidOp([&] { builtin.execute(); }), InvalidOp::RTRC_NotSupported,
                    raisedInvalidOp([&] { stack().genCall(2, true); })->function);
    EXPECT_FALSE(stack().userCallSeen());
}

TEST_F(ReplayOnStack, ValueOnStackIsZeroAsksTheStack)
{
    pushInt(0);
    pushInt(9);
    EXPECT_FALSE(ValueOnStackIsZero());
    EXPECT_TRUE(ValueOnStackIsZero());
    EXPECT_EQ(stack().count(), 0u);
    const std::optional<RaisedInvalidOp> empty = raisedInvalidOp([] { ValueOnStackIsZero(); });
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->code, InvalidOp::RTRC_Empty_Stack);
}

TEST_F(ReplayOnStack, RankBeyondWhatTheStackTakesIsRefused)
{
    pushInt(1);
    const TypeItem intType(130u);
    for (long long rank : {-1LL, 0x100000000LL}) {
        EE_InstructionStream stream;
        stream.genRankIndex(rank, &intType);
        stream.genEnd();
        expectInvalidOp(raisedInvalidOp([&] { stream.execute(); }), InvalidOp::RTRC_Other,
                        "void genRankIndex(long long, const TypeItem*)");
    }
    EXPECT_EQ(stack().count(), 1u);
}

} // namespace
