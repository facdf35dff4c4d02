#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "machine/StackItemArraySection.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "testhost/inprocess/MachineFixture.h"

// Array sections and vector subscripts: element counts, texts, the section
// the stack holds, and the text appended to the result's name.

namespace {

class ArraySectionTest : public MachineFixture {
protected:
    std::string name() const
    {
        const ByteString& text = const_cast<ArraySectionTest*>(this)->rep().formattedResultName();
        return std::string(reinterpret_cast<const char*>(text.data()), text.length());
    }

    // Pushes the operands of a triplet: the fourth first, lower last (on top).
    void pushTriplet(long long lower, long long upper, long long stride, long long fourth = 0)
    {
        stack().push(new StackItemS8(rep(), fourth));
        stack().push(new StackItemS8(rep(), stride));
        stack().push(new StackItemS8(rep(), upper));
        stack().push(new StackItemS8(rep(), lower));
    }

    long long popCount()
    {
        std::unique_ptr<StackItem> count(stack().pop());
        EXPECT_NE(dynamic_cast<StackItemS4*>(count.get()), nullptr);
        return count->asSigned();
    }
};

} // namespace

TEST_F(ArraySectionTest, CountsAndTexts)
{
    struct Case {
        long long lower, upper, stride;
        long long count;
        const char* text;
    } cases[] = {
        {1, 10, 1, 10, "1:10"},  {1, 10, 2, 5, "1:10:2"},   {10, 1, -1, 10, "10:1:-1"},
        {1, 10, 3, 4, "1:10:3"}, {1, 9, 3, 3, "1:9:3"},     {5, 1, 1, -3, "5:1"},
        {-3, 3, 1, 7, "-3:3"},   {3, -3, -2, 4, "3:-3:-2"}, {1, 10, -1, -8, "1:10:-1"},
    };
    for (const Case& c : cases) {
        pushTriplet(c.lower, c.upper, c.stride, 0x1234);
        stack().genArraySection();
        EXPECT_EQ(popCount(), c.count) << c.text;
        auto* held = dynamic_cast<StackItemArraySection*>(stack().heldSection());
        ASSERT_NE(held, nullptr) << c.text;
        EXPECT_STREQ(static_cast<const char*>(held->resultBuffer()), c.text);
        EXPECT_EQ(held->fourthOperand(), 0x1234u);
        EXPECT_FALSE(held->isVector());
        EXPECT_FALSE(held->isZero());
        EXPECT_TRUE(held->type().hasFlag(TypeFlags::arraySection));
    }
}

TEST_F(ArraySectionTest, NonNegativeCountsMatchGfortranSize)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/section_oracle.tsv");
    std::string line;
    unsigned compared = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'l')
            continue;
        std::istringstream fields(line);
        long long lower = 0, upper = 0, stride = 0, size = 0;
        fields >> lower >> upper >> stride >> size;
        pushTriplet(lower, upper, stride);
        stack().genArraySection();
        const long long count = popCount();
        if (count < 0) {
            EXPECT_EQ(size, 0) << line; // gfortran clamps what the evaluator does not
            continue;
        }
        EXPECT_EQ(count, size) << line;
        ++compared;
    }
    EXPECT_GT(compared, 20u) << "the table section_oracle.tsv was not found or is cut short";
}

TEST_F(ArraySectionTest, VectorSubscriptsAndCopies)
{
    // Below: the item whose value is the element count; on top: the vector
    // subscript, whose value is kept as the fourth operand.
    stack().push(new StackItemU4(rep(), 4));
    stack().push(new StackItemU8(rep(), 0xABCDEF0123ull));
    stack().genVectorSubscript();
    EXPECT_EQ(popCount(), 4);
    auto* held = dynamic_cast<StackItemArraySection*>(stack().heldSection());
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(held->isVector());
    EXPECT_STREQ(static_cast<const char*>(held->resultBuffer()), "(/.../)");
    EXPECT_EQ(held->fourthOperand(), 0xABCDEF0123ull); // 64 bits kept

    // A copy keeps the vector form and the fourth operand.
    std::unique_ptr<StackItem> copy(held->clone());
    auto* section = dynamic_cast<StackItemArraySection*>(copy.get());
    ASSERT_NE(section, nullptr);
    EXPECT_TRUE(section->isVector());
    EXPECT_EQ(section->size(), 4u);
    EXPECT_EQ(section->fourthOperand(), 0xABCDEF0123ull);
    EXPECT_STREQ(static_cast<const char*>(section->resultBuffer()), "(/.../)");
    EXPECT_EQ(name(), "(/.../)");
}

TEST_F(ArraySectionTest, RefusalsAndHeldSections)
{
    // Stride 0: zero, and no count; the popped operands are gone and nothing
    // is held.
    pushTriplet(1, 10, 0);
    EXPECT_EQ(raisedCode([&] { stack().genArraySection(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(stack().count(), 0u);
    EXPECT_EQ(stack().heldSection(), nullptr);
    StackItemArraySection empty(rep());
    EXPECT_TRUE(empty.isZero());
    EXPECT_EQ(raisedCode([&] { (void)empty.size(); }), InvalidOp::RTRC_Other);

    // A count beyond 32 bits.
    pushTriplet(0, 0x100000000ll, 1);
    EXPECT_EQ(raisedCode([&] { stack().genArraySection(); }), InvalidOp::RTRC_Other);

    // Never read, never added.
    StackItemS8 one(rep(), 1);
    StackItemArraySection section(one, one, one, one);
    EXPECT_EQ(raisedCode([&] { section.load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(section.hasValue());
    EXPECT_EQ(raisedCode([&] { section.genAdd(one); }), InvalidOp::RTRC_Other);

    // Short stacks.
    EXPECT_EQ(raisedCode([&] { stack().genArraySection(); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(raisedCode([&] { stack().genVectorSubscript(); }), InvalidOp::RTRC_Empty_Stack);
    stack().push(new StackItemS8(rep(), 1));
    EXPECT_EQ(raisedCode([&] { stack().genVectorSubscript(); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(stack().count(), 0u);

    // Two sections in one expression: the second replaces the first, both
    // texts are in the name in order.
    rep().setParameters(List<int>(), 0);
    pushTriplet(1, 10, 2);
    stack().genArraySection();
    delete stack().pop();
    pushTriplet(3, 4, 1);
    stack().genArraySection();
    EXPECT_STREQ(static_cast<const char*>(stack().heldSection()->resultBuffer()), "3:4");
    EXPECT_EQ(name(), "1:10:23:4");

    // Skipping: nothing is popped or appended.
    stack().setSkipState(RuntimeStack::skipping);
    stack().genArraySection();
    stack().formatAppendIntegral();
    stack().setSkipState(RuntimeStack::running);
    EXPECT_EQ(stack().count(), 1u);
    EXPECT_EQ(name(), "1:10:23:4");
}

TEST_F(ArraySectionTest, FormatAppends)
{
    stack().push(new StackItemS8(rep(), -5));
    stack().formatAppendIntegral();
    EXPECT_EQ(name(), "-5");
    EXPECT_EQ(stack().count(), 1u); // the item stays

    // Only the built-in signed 64-bit integer is appended.
    for (StackItem* item :
         {static_cast<StackItem*>(new StackItemS4(rep(), 7)), static_cast<StackItem*>(new StackItemU8(rep(), 7))}) {
        stack().push(item);
        EXPECT_EQ(raisedCode([&] { stack().formatAppendIntegral(); }), InvalidOp::RTRC_IncompatTypes);
        EXPECT_EQ(raisedCode([&] { stack().formatAppendArraySection(); }), InvalidOp::RTRC_InvalidFormat);
    }
    EXPECT_EQ(name(), "-5");

    StackItemS8 lower(rep(), 2), upper(rep(), 8), stride(rep(), 3);
    stack().push(new StackItemArraySection(lower, upper, stride, lower));
    stack().formatAppendArraySection();
    EXPECT_EQ(name(), "-52:8:3");

    // setParameters empties the name.
    const int parameters[] = {1};
    rep().setParameters(List<int>(parameters, 1), 1);
    EXPECT_EQ(name(), "");

    stack().popAll();
    EXPECT_EQ(raisedCode([&] { stack().formatAppendIntegral(); }), InvalidOp::RTRC_Empty_Stack);
    EXPECT_EQ(raisedCode([&] { stack().formatAppendArraySection(); }), InvalidOp::RTRC_Empty_Stack);
}
