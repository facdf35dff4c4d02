#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/RuntimeStack.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "services/EvaluationEnvironment.h"
#include "testhost/inprocess/CountingItem.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class RuntimeStackTest : public MachineFixture {
protected:
    CountingItem* counting(unsigned size = 0) { return new CountingItem(rep(), deletions, size); }
    StackItemS4* s4(int v) { return new StackItemS4(rep(), v); }

    int deletions = 0;
};

// The boolean result on top: its value, and that it is a boolean item.
int topBoolean(RuntimeStack& stack)
{
    auto* b = dynamic_cast<StackItemB1*>(stack.top());
    EXPECT_NE(b, nullptr);
    return b != nullptr ? static_cast<int>(b->asSigned()) : -1;
}

} // namespace

TEST_F(RuntimeStackTest, PushPopAndOwnership)
{
    EXPECT_EQ(raisedCode([&] { stack().pop(); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(raisedCode([&] { stack().genPop(); }), InvalidOp::RTRC_Empty_Stack);

    CountingItem* bottom = counting();
    CountingItem* upper = counting();
    stack().push(bottom);
    stack().push(upper);
    EXPECT_EQ(stack().count(), 2u);
    EXPECT_EQ(stack().top(), upper);
    EXPECT_EQ(upper->next(), bottom);
    EXPECT_EQ(bottom->next(), nullptr);

    // The bottom item has no next item, yet it is on the stack: a second
    // push of it is refused and it is deleted once.
    EXPECT_EQ(raisedCode([&] { stack().push(bottom); }), InvalidOp::RTRC_StackPush);
    EXPECT_EQ(raisedCode([&] { stack().push(upper); }), InvalidOp::RTRC_StackPush);
    std::unique_ptr<RuntimeStack> other(RuntimeStack::allocate());
    EXPECT_EQ(raisedCode([&] { other->push(bottom); }), InvalidOp::RTRC_StackPush);
    EXPECT_EQ(raisedCode([&] { stack().push(nullptr); }), InvalidOp::RTRC_StackPush);
    EXPECT_EQ(stack().count(), 2u);

    StackItem* popped = stack().pop();
    EXPECT_EQ(popped, upper);
    EXPECT_FALSE(popped->isOnStack());
    EXPECT_EQ(popped->next(), nullptr);
    other->push(popped); // off the first stack it may go on another
    other.reset();
    EXPECT_EQ(deletions, 1);

    stack().genPop();
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(stack().count(), 0u);

    stack().push(counting());
    stack().setSkipState(RuntimeStack::skipping);
    stack().genPop(); // not running: nothing
    EXPECT_EQ(stack().count(), 1u);
    stack().popAll();
    EXPECT_EQ(deletions, 3);
}

TEST_F(RuntimeStackTest, JumpsAndLabels)
{
    stack().genJump(5);
    EXPECT_EQ(stack().skipState(), RuntimeStack::skipping);
    stack().genJump(7); // a jump while skipping does not nest
    stack().genLabel(7);
    EXPECT_EQ(stack().skipState(), RuntimeStack::skipping);
    // Nothing runs while skipping.
    stack().push(s4(1));
    stack().genNegate();
    EXPECT_EQ(stack().top()->asSigned(), 1);
    stack().genLabel(5);
    EXPECT_EQ(stack().skipState(), RuntimeStack::running);
    stack().genNegate();
    EXPECT_EQ(stack().top()->asSigned(), -1);

    // In the dry run a jump is ignored and labels change nothing.
    stack().setSkipState(RuntimeStack::dryRun);
    stack().genJump(9);
    stack().genLabel(9);
    EXPECT_EQ(stack().skipState(), RuntimeStack::dryRun);
}

TEST_F(RuntimeStackTest, CallsAreNoticedNeverMade)
{
    stack().setSkipState(RuntimeStack::dryRun);
    stack().genCall(2, false);
    EXPECT_TRUE(stack().userCallSeen());
    stack().genCall(0, true);
    EXPECT_FALSE(stack().userCallSeen());
    stack().genCOBOLCall(nullptr, 0);

    stack().setSkipState(RuntimeStack::running);
    EXPECT_EQ(raisedCode([&] { stack().genCall(1, false); }), InvalidOp::RTRC_NotSupported);
    EXPECT_TRUE(stack().userCallSeen());
    EXPECT_EQ(raisedCode([&] { stack().genCOBOLCall(nullptr, 0); }), InvalidOp::RTRC_NotSupported);
}

TEST_F(RuntimeStackTest, PopAllClearsMarksAndStateButKeepsTheLabel)
{
    stack().push(counting());
    stack().push(counting());
    stack().holdSection(counting());
    stack().holdSection(counting()); // the section held before goes
    EXPECT_EQ(deletions, 1);
    stack().setNotAllocatedSeen();
    stack().setStoreSeen();
    stack().setGuardedStoreSeen();
    stack().setOptimizedAddressSeen();
    stack().setSkipState(RuntimeStack::dryRun);
    stack().genCall(0, false);
    stack().setSkipState(RuntimeStack::running);
    stack().genJump(4);

    stack().popAll();
    EXPECT_EQ(deletions, 4); // both items and the section never pushed
    EXPECT_EQ(stack().heldSection(), nullptr);
    EXPECT_EQ(stack().count(), 0u);
    EXPECT_FALSE(stack().notAllocatedSeen() || stack().storeSeen() || stack().guardedStoreSeen() ||
                 stack().optimizedAddressSeen() || stack().userCallSeen());
    EXPECT_EQ(stack().skipState(), RuntimeStack::running);
    EXPECT_EQ(stack().jumpLabel(), 4u);
}

TEST_F(RuntimeStackTest, HeldSectionReplacesTheTop)
{
    CountingItem* section = counting();
    stack().push(s4(3));
    stack().holdSection(section);
    stack().setSkipState(RuntimeStack::dryRun);
    stack().pushArraySection();
    EXPECT_EQ(stack().heldSection(), section);
    stack().setSkipState(RuntimeStack::running);
    stack().pushArraySection();
    EXPECT_EQ(stack().top(), section);
    EXPECT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().heldSection(), nullptr);
    stack().pushArraySection(); // none held: nothing
    stack().popAll();
    EXPECT_EQ(deletions, 1); // once, as a stack item

    stack().holdSection(counting());
    EXPECT_EQ(raisedCode([&] { stack().pushArraySection(); }), InvalidOp::RTRC_Empty_Stack);
}

TEST_F(RuntimeStackTest, ValueOnStackIsZero)
{
    stack().push(s4(0));
    stack().push(s4(8));
    stack().setSkipState(RuntimeStack::skipping);
    EXPECT_FALSE(stack().ValueOnStackIsZero());
    EXPECT_EQ(stack().count(), 2u);
    stack().setSkipState(RuntimeStack::running);
    EXPECT_FALSE(stack().ValueOnStackIsZero());
    EXPECT_TRUE(stack().ValueOnStackIsZero());
    EXPECT_EQ(raisedCode([&] { stack().ValueOnStackIsZero(); }), InvalidOp::RTRC_Empty_Stack);

    // An item that cannot tell is deleted all the same; a null pointer
    // constant as a condition is refused with RTRC_NotAllocated.
    stack().push(counting());
    EXPECT_EQ(raisedCode([&] { stack().ValueOnStackIsZero(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(deletions, 1);
    stack().push(new StackItemNull(rep()));
    EXPECT_EQ(raisedCode([&] { stack().ValueOnStackIsZero(); }), InvalidOp::RTRC_NotAllocated);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(RuntimeStackTest, BinaryFrame)
{
    // Too few operands: the popped right operand is the only item freed.
    stack().push(counting());
    EXPECT_EQ(raisedCode([&] { stack().genAdd(); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(stack().count(), 0u);

    // Which operators validate their operands (right first, then left), and
    // that the right operand is freed when the left refuses.
    struct Case {
        const char* name;
        std::function<void(RuntimeStack&)> run;
        bool validates;
    } cases[] = {
        {"add", [](RuntimeStack& s) { s.genAdd(); }, true},
        {"subtract", [](RuntimeStack& s) { s.genSubtract(); }, true},
        {"mult", [](RuntimeStack& s) { s.genMult(); }, true},
        {"divide", [](RuntimeStack& s) { s.genDivide(); }, true},
        {"pow", [](RuntimeStack& s) { s.genPow(2); }, true},
        {"modulus", [](RuntimeStack& s) { s.genModulus(); }, false},
        {"and", [](RuntimeStack& s) { s.genBitAnd(); }, false},
        {"or", [](RuntimeStack& s) { s.genBitOr(); }, false},
        {"xor", [](RuntimeStack& s) { s.genBitXor(); }, false},
        {"shl", [](RuntimeStack& s) { s.genLogicalShiftLeft(); }, false},
        {"shr", [](RuntimeStack& s) { s.genLogicalShiftRight(); }, false},
        {"sar", [](RuntimeStack& s) { s.genArithmeticShiftRight(); }, false},
        {"pointer add", [](RuntimeStack& s) { s.genPointerAdd(); }, false},
        {"concatenate", [](RuntimeStack& s) { s.genConcatenate(); }, false},
    };
    for (const Case& c : cases) {
        deletions = 0;
        CountingItem* left = counting();
        CountingItem* right = counting();
        stack().push(left);
        stack().push(right);
        EXPECT_EQ(raisedCode([&] { c.run(stack()); }), InvalidOp::RTRC_IncompatTypes) << c.name;
        EXPECT_EQ(deletions, 1) << c.name;
        EXPECT_EQ(stack().top(), left) << c.name;
        EXPECT_EQ(left->checks, c.validates ? 1u : 0u) << c.name;

        // A right operand that fails validation is freed too, and the left
        // is not asked.
        CountingItem* bad = counting();
        bad->failCheck = true;
        stack().push(bad);
        const int code = raisedCode([&] { c.run(stack()); });
        EXPECT_EQ(code, c.validates ? InvalidOp::RTRC_BadDataInNumeric : InvalidOp::RTRC_IncompatTypes) << c.name;
        EXPECT_EQ(deletions, 2) << c.name;
        EXPECT_EQ(left->checks, c.validates ? 1u : 0u) << c.name;
        stack().popAll();
    }

    // The result takes the right operand's register marks.
    StackItemS4* left = s4(5);
    StackItemS4* right = s4(6);
    right->setFromRegisterVariable(true);
    stack().push(left);
    stack().push(right);
    stack().genAdd();
    EXPECT_EQ(stack().top(), left);
    EXPECT_EQ(left->asSigned(), 11);
    EXPECT_TRUE(left->fromRegisterVariable());
    EXPECT_FALSE(left->fromRegister());
}

TEST_F(RuntimeStackTest, ComparisonFrame)
{
    // A register variable compared with a constant gives a boolean that is
    // marked as coming from a register variable.
    StackItemS4* variable = s4(4);
    variable->setFromRegisterVariable(true);
    stack().push(variable);
    stack().push(s4(4));
    stack().genEQ();
    EXPECT_EQ(stack().count(), 1u);
    EXPECT_EQ(topBoolean(stack()), 1);
    EXPECT_TRUE(stack().top()->fromRegisterVariable());
    EXPECT_FALSE(stack().top()->fromRegister());
    stack().popAll();

    struct Case {
        std::function<void(RuntimeStack&)> run;
        int expected; // 3 < 4
    } cases[] = {
        {[](RuntimeStack& s) { s.genEQ(); }, 0}, {[](RuntimeStack& s) { s.genNE(); }, 1},
        {[](RuntimeStack& s) { s.genLT(); }, 1}, {[](RuntimeStack& s) { s.genLE(); }, 1},
        {[](RuntimeStack& s) { s.genGT(); }, 0}, {[](RuntimeStack& s) { s.genGE(); }, 0},
    };
    for (const Case& c : cases) {
        stack().push(s4(3));
        StackItemS4* right = s4(4);
        right->setFromRegister(true);
        stack().push(right);
        c.run(stack());
        EXPECT_EQ(topBoolean(stack()), c.expected);
        EXPECT_TRUE(stack().top()->fromRegister());
        stack().popAll();

        // Both operands are freed when the comparison is refused, and when
        // one is missing.
        deletions = 0;
        stack().push(counting());
        stack().push(counting());
        EXPECT_EQ(raisedCode([&] { c.run(stack()); }), InvalidOp::RTRC_IncompatTypes);
        EXPECT_EQ(deletions, 2);
        EXPECT_EQ(stack().count(), 0u);
        stack().push(counting());
        EXPECT_EQ(raisedCode([&] { c.run(stack()); }), InvalidOp::RTRC_Empty_Stack);
        EXPECT_EQ(deletions, 3);
    }
}

TEST_F(RuntimeStackTest, NotNegateComplement)
{
    for (int value : {0, 9}) {
        StackItemS4* operand = s4(value);
        operand->setFromRegister(true);
        stack().push(operand);
        stack().genNot();
        EXPECT_EQ(stack().count(), 1u);
        EXPECT_EQ(topBoolean(stack()), value == 0 ? 1 : 0);
        EXPECT_TRUE(stack().top()->fromRegister());
        stack().popAll();
    }
    EXPECT_EQ(raisedCode([&] { stack().genNot(); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(raisedCode([&] { stack().genNegate(); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(raisedCode([&] { stack().genComplement(); }), InvalidOp::RTRC_Empty_Stack);

    // Negation validates its operand; complement does not.
    CountingItem* item = counting();
    stack().push(item);
    EXPECT_EQ(raisedCode([&] { stack().genNegate(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { stack().genComplement(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(item->checks, 1u);
    EXPECT_EQ(stack().top(), item);
}

TEST_F(RuntimeStackTest, DupValueKeepsTheMarksACopyLoses)
{
    StackItemS4* item = s4(21);
    item->setFromRegister(true);
    item->setFromRegisterVariable(true);
    item->setInDebuggerAddressSpace();
    stack().push(item);
    stack().genDupValue();
    ASSERT_EQ(stack().count(), 2u);
    StackItem* copy = stack().top();
    EXPECT_NE(copy, item);
    EXPECT_EQ(copy->asSigned(), 21);
    EXPECT_TRUE(copy->fromRegister());
    EXPECT_TRUE(copy->fromRegisterVariable());
    EXPECT_TRUE(copy->inDebuggerAddressSpace());
    stack().popAll();
    EXPECT_EQ(raisedCode([&] { stack().genDupValue(); }), InvalidOp::RTRC_Empty_Stack);
}

TEST_F(RuntimeStackTest, IndexFreesTheSubscript)
{
    CountingItem* array = counting();
    stack().push(array);
    CountingItem* subscript = counting();
    stack().push(subscript);
    // The array item lacks indexing: the subscript was validated and is
    // freed; the array stays.
    EXPECT_EQ(raisedCode([&] { stack().genIndex(8); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(stack().top(), array);
    stack().popAll();
    stack().push(counting());
    EXPECT_EQ(raisedCode([&] { stack().genIndex(0); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(deletions, 3);
}

TEST_F(RuntimeStackTest, PointerSubtractFreesBothOperands)
{
    stack().push(counting());
    stack().push(counting());
    EXPECT_EQ(raisedCode([&] { stack().genPointerSubtract(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(RuntimeStackTest, RealAndImaginaryPartsOfHostTypesAndPointers)
{
    for (bool imaginary : {false, true}) {
        for (const TypeItem& type : {TypeItem(host.records().integerType(32, false)), TypeItem(130u | 32u)}) {
            stack().push(new CountingItem(rep(), deletions, 0, type));
            const int code = raisedCode([&] { imaginary ? stack().genImaginaryPart() : stack().genRealPart(); });
            EXPECT_EQ(code, InvalidOp::RTRC_IncompatTypes);
            EXPECT_EQ(stack().count(), 0u);
        }
    }
    EXPECT_EQ(deletions, 4);
}

TEST_F(RuntimeStackTest, TruncateFP)
{
    EXPECT_EQ(raisedCode([&] { stack().genTruncateFP(TypeItem(196u)); }), InvalidOp::RTRC_Empty_Stack);
    stack().push(counting());
    // Hexadecimal floating point of 4 and 8 bytes asks the item; other
    // types, and types with a host entry, leave it.
    EXPECT_EQ(raisedCode([&] { stack().genTruncateFP(TypeItem(196u)); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { stack().genTruncateFP(TypeItem(197u)); }), InvalidOp::RTRC_IncompatTypes);
    stack().genTruncateFP(TypeItem(137u));
    stack().genTruncateFP(TypeItem(host.records().integerType(32, false)));
}

class CobolRankIndexTest : public RuntimeStackTest {
protected:
    void SetUp() override
    {
        RuntimeStackTest::SetUp();
        useRepresentation(EvaluationEnvironment::languageCOBOL, 4);
        // Ten rows of ten 4-byte items: every dimension runs from 1 to 10.
        const TYPE_INDEX element = host.records().integerType(32, false);
        const TYPE_INDEX row = host.records().arrayType(element, 40);
        table = std::make_unique<TypeItem>(host.records().arrayType(row, 400));
    }

    // What genRankIndex raises for subscript s: the array item (which
    // cannot index) refuses with 2 once the subscript is accepted.
    int rankIndex(long long s)
    {
        stack().push(counting());
        stack().push(new StackItemS8(rep(), s));
        const int code = raisedCode([&] { stack().genRankIndex(1, table.get()); });
        EXPECT_EQ(stack().count(), 1u); // the subscript is gone either way
        stack().popAll();
        return code;
    }

    std::unique_ptr<TypeItem> table;
};

TEST_F(CobolRankIndexTest, SubscriptsAreBoundedUnlessInParameterMode)
{
    for (long long s : {1LL, 5LL, 10LL})
        EXPECT_EQ(rankIndex(s), InvalidOp::RTRC_IncompatTypes) << s;
    for (long long s : {0LL, 11LL, -1LL, 0x7FFFFFFFFFFFFFFFLL})
        EXPECT_EQ(rankIndex(s), InvalidOp::RTRC_SubscriptOutOfBounds) << s;

    List<int> parameters;
    parameters.append(0);
    rep().setParameters(parameters, 1);
    for (long long s : {0LL, 11LL})
        EXPECT_EQ(rankIndex(s), InvalidOp::RTRC_IncompatTypes) << s;
}
