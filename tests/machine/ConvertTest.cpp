#include <cstring>
#include <memory>
#include <typeindex>
#include <typeinfo>

#include <gtest/gtest.h>

#include "machine/RuntimeStack.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "testhost/inprocess/CountingItem.h"
#include "testhost/inprocess/MachineFixture.h"
#include "types/ScopeItem.h"

namespace {

class ConvertTest : public MachineFixture {
protected:
    int deletions = 0;
};

} // namespace

TEST_F(ConvertTest, BitSizedIntegers)
{
    struct Case {
        UBYTE4 bits;
        bool isUnsigned;
        int source;
        const std::type_info& itemClass;
        unsigned type;
        long long value;
    } cases[] = {
        {1, true, 0x1FF, typeid(StackItemU1), 132, 0xFF},
        {1, false, 0x1FF, typeid(StackItemS1), 128, -1},
        {3, true, -2, typeid(StackItemU1), 132, 0xFE},
        {8, true, 0x1FF, typeid(StackItemU1), 132, 0xFF}, // at bit offset 1 below
        {9, false, 0x18000, typeid(StackItemS2), 129, -32768},
        {16, true, -1, typeid(StackItemU2), 133, 0xFFFF}, // at bit offset 1 below
        {24, true, -1, typeid(StackItemU4), 134, 0xFFFFFFFF},
        {24, false, -1, typeid(StackItemS4), 130, -1},
        {32, false, 7, typeid(StackItemS4), 130, 7}, // at bit offset 1 below
        {33, false, -1, typeid(StackItemS8), 155, -1},
        {40, true, -1, typeid(StackItemU8), 156, -1},
    };
    for (const Case& c : cases) {
        const UBYTE1 offset = c.bits == 8 || c.bits == 16 || c.bits == 32 ? 1 : 0;
        stack().push(new StackItemS4(rep(), c.source));
        stack().genConvert(TypeItem(host.records().integerType(c.bits, c.isUnsigned, offset)));
        ASSERT_EQ(stack().count(), 1u) << c.bits;
        StackItem& top = *stack().top();
        EXPECT_EQ(std::type_index(typeid(top)), std::type_index(c.itemClass)) << c.bits;
        EXPECT_TRUE(top.type().typeIndex() == c.type) << c.bits;
        EXPECT_EQ(top.asSigned(), c.value) << c.bits;
        stack().popAll();
    }

    // A bit field of no bits or of more than 64 is refused; the operand
    // stays.
    for (UBYTE4 bits : {0u, 65u}) {
        StackItemS4* operand = new StackItemS4(rep(), 1);
        stack().push(operand);
        EXPECT_EQ(raisedCode([&] { stack().genConvert(TypeItem(host.records().integerType(bits, true, 2))); }),
                  InvalidOp::RTRC_IncompatTypes)
            << bits;
        EXPECT_EQ(stack().top(), operand);
        stack().popAll();
    }

    // A host integer of plain width is a plain integer, 64 bits included.
    stack().push(new StackItemS4(rep(), -1));
    const TypeItem wide(host.records().integerType(64, true));
    stack().genConvert(wide);
    const StackItem* converted = stack().top();
    EXPECT_EQ(std::type_index(typeid(*converted)), std::type_index(typeid(StackItemU8)));
    EXPECT_TRUE(stack().top()->type() == wide);
    EXPECT_EQ(stack().top()->asUnsigned(), ~0ull);
}

TEST_F(ConvertTest, VoidTargetLeavesANullItem)
{
    // The operand has no number to give: nothing is converted.
    stack().push(new CountingItem(rep(), deletions));
    stack().genConvert(TypeItem(151u));
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_NE(dynamic_cast<StackItemNull*>(stack().top()), nullptr);
    EXPECT_TRUE(stack().top()->type().typeIndex() == 151u);
    EXPECT_EQ(deletions, 1);
}

TEST_F(ConvertTest, MarksAndScopeCarryOver)
{
    ScopeItem block(context, ScopeItem::block);
    StackItemS4* operand = new StackItemS4(rep(), 300);
    operand->setFromRegisterVariable(true);
    operand->setFromRegister(true);
    operand->setLoadedFromVariable(true);
    operand->setScope(&block);
    stack().push(operand);
    stack().genConvert(TypeItem(129u));
    StackItem& top = *stack().top();
    EXPECT_EQ(top.asSigned(), 300);
    EXPECT_TRUE(top.fromRegisterVariable());
    EXPECT_TRUE(top.fromRegister());
    EXPECT_TRUE(top.loadedFromVariable());
    EXPECT_EQ(top.scope(), &block);
    stack().popAll();

    stack().push(new StackItemS4(rep(), 1));
    stack().genConvert(TypeItem(132u));
    EXPECT_FALSE(stack().top()->fromRegisterVariable() || stack().top()->fromRegister() ||
                 stack().top()->loadedFromVariable());
}

TEST_F(ConvertTest, ArrayToArrayOnlyRetypes)
{
    const TYPE_INDEX element = host.records().integerType(32, false);
    const TypeItem four(host.records().arrayType(element, 16));
    const TypeItem two(host.records().arrayType(element, 8));
    ASSERT_TRUE(four.hasFlag(TypeFlags::array));
    host.memory().store(0x80, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    auto* array = new CountingItem(rep(), deletions, 16, four);
    array->load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x80))));
    stack().push(array);
    stack().genConvert(two);
    EXPECT_EQ(stack().top(), array);
    EXPECT_TRUE(array->type() == two);
    EXPECT_EQ(
        std::memcmp(array->resultBuffer(), "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10", 16), 0);
    EXPECT_EQ(array->location().address().addr(), 0x80u);
    EXPECT_EQ(deletions, 0);
}

TEST_F(ConvertTest, FailureKeepsTheOldTop)
{
    EXPECT_EQ(raisedCode([&] { stack().genConvert(TypeItem(130u)); }), InvalidOp::RTRC_Empty_Stack);

    // The new item cannot take the operand's value: it is released (the
    // sanitizer build sees a leak otherwise) and the operand stays on top.
    auto* operand = new CountingItem(rep(), deletions);
    stack().push(operand);
    EXPECT_EQ(raisedCode([&] { stack().genConvert(TypeItem(130u)); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(stack().top(), operand);
    // An operand that fails validation, and a target without an item.
    operand->failCheck = true;
    EXPECT_EQ(raisedCode([&] { stack().genConvert(TypeItem(130u)); }), InvalidOp::RTRC_BadDataInNumeric);
    operand->failCheck = false;
    EXPECT_EQ(raisedCode([&] { stack().genConvert(TypeItem(131u)); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(stack().top(), operand);
    EXPECT_EQ(stack().count(), 1u);
    EXPECT_EQ(deletions, 0);

    // Not running: nothing happens.
    stack().setSkipState(RuntimeStack::dryRun);
    stack().genConvert(TypeItem(151u));
    EXPECT_EQ(stack().top(), operand);
}
