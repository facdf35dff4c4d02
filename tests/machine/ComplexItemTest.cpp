#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "types/Extended12.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemComplexFloat.h"
#include "machine/StackItemFloat.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class ComplexItemTest : public MachineFixture {
protected:
    std::unique_ptr<StackItem> make(unsigned index)
    {
        return std::unique_ptr<StackItem>(RuntimeStack::makeStackItem(TypeItem(index), nullptr));
    }
};

std::vector<unsigned char> bufferOf(const StackItem& item)
{
    const auto* b = static_cast<const unsigned char*>(item.resultBuffer());
    return std::vector<unsigned char>(b, b + item.size());
}

long double re(const StackItem& item)
{
    return static_cast<long double>(item.realPart());
}

long double im(const StackItem& item)
{
    return static_cast<long double>(item.imaginaryPart());
}

// The stored image of one part in a type's part layout.
std::vector<unsigned char> partImage(unsigned index, long double value)
{
    unsigned char bytes[16] = {};
    if (index == 143) {
        Extended12::encode(bytes, value);
        return std::vector<unsigned char>(bytes, bytes + 12);
    }
    const unsigned h = index == 140 || index == 203 ? 4 : index == 141 || index == 204 ? 8 : 16;
    FloatNumber(value).format(index >= 203 ? FloatNumber::Hexadecimal : FloatNumber::IEEE, bytes, h, false);
    return std::vector<unsigned char>(bytes, bytes + h);
}

} // namespace

TEST_F(ComplexItemTest, LoadsTheRealPartAtAAndTheImaginaryPartAtAPlusHalf)
{
    const struct {
        unsigned index;
        unsigned half;
    } rows[] = {{140, 4}, {141, 8}, {142, 16}, {143, 12}, {203, 4}, {204, 8}, {205, 16}};
    std::uint32_t a = 0x1000;
    for (const auto& row : rows) {
        a += 0x100;
        std::vector<unsigned char> image = partImage(row.index, -1.5L);
        ASSERT_EQ(image.size(), row.half) << row.index;
        const std::vector<unsigned char> imaginary = partImage(row.index, 0.25L);
        image.insert(image.end(), imaginary.begin(), imaginary.end());
        // Bytes beyond the value are not readable: only 2h bytes are read.
        host.memory().store(a, image);
        host.memory().markUnreadable(a + 2 * row.half, 16);
        std::unique_ptr<StackItem> item = make(row.index);
        item->load(DebuggeeLocation(DebuggeeAddress(a)));
        EXPECT_EQ(re(*item), -1.5L) << row.index;
        EXPECT_EQ(im(*item), 0.25L) << row.index;
        EXPECT_TRUE(item->location().kind() == DebuggeeLocation::debuggeeMemory) << row.index;
        // The result buffer is the same image again.
        EXPECT_EQ(bufferOf(*item), image) << row.index;
        // From an evaluator buffer too.
        std::unique_ptr<StackItem> fromBuffer = make(row.index);
        DebuggeeLocation buffer;
        buffer = static_cast<void*>(image.data());
        fromBuffer->load(buffer);
        EXPECT_EQ(im(*fromBuffer), 0.25L) << row.index;
    }
}

TEST_F(ComplexItemTest, LoadRefusesRegistersAndNoLocation)
{
    std::unique_ptr<StackItem> item = make(141);
    EXPECT_EQ(raisedCode([&] { item->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(item->hasValue());
    std::unique_ptr<StackItem> other = make(141);
    EXPECT_EQ(raisedCode([&] { other->load(DebuggeeLocation(1ul)); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(other->hasValue());
}

TEST_F(ComplexItemTest, ArithmeticAndComparisons)
{
    StackItemComplexD a(rep(), FloatNumber(1.0), FloatNumber(2.0), FloatNumber::IEEE);
    const StackItemComplexD b(rep(), FloatNumber(3.0), FloatNumber(4.0), FloatNumber::IEEE);
    std::unique_ptr<StackItem> product(a.clone());
    product->genMult(b);
    EXPECT_EQ(re(*product), -5.0L);
    EXPECT_EQ(im(*product), 10.0L);
    std::unique_ptr<StackItem> quotient(a.clone());
    quotient->genDivide(b);
    EXPECT_EQ(re(*quotient), 11.0L / 25);
    EXPECT_EQ(im(*quotient), 2.0L / 25);
    // The double item stores the parts as doubles.
    EXPECT_EQ(bufferOf(*product),
              (std::vector<unsigned char>{0xC0, 0x14, 0, 0, 0, 0, 0, 0, 0x40, 0x24, 0, 0, 0, 0, 0, 0}));

    // 0 + 0i and a real zero divide by zero; the item is unchanged.
    EXPECT_EQ(raisedCode([&] { a.genDivide(*make(141)); }), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(raisedCode([&] { a.genDivide(StackItemD(rep(), FloatNumber(0.0))); }), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(re(a), 1.0L);
    EXPECT_EQ(im(a), 2.0L);

    // A real item counts as c + 0i.
    const StackItemD three(rep(), FloatNumber(3.0));
    StackItemComplexD threeAndZero(rep(), FloatNumber(3.0), FloatNumber(0.0), FloatNumber::IEEE);
    StackItemComplexD threeAndOne(rep(), FloatNumber(3.0), FloatNumber(1.0), FloatNumber::IEEE);
    EXPECT_EQ(threeAndZero.genEQ(three), 1);
    EXPECT_EQ(threeAndZero.genNE(three), 0);
    EXPECT_EQ(threeAndOne.genEQ(three), 0);
    EXPECT_EQ(threeAndOne.genNE(three), 1);
    threeAndOne.genAdd(three);
    EXPECT_EQ(re(threeAndOne), 6.0L);
    EXPECT_EQ(im(threeAndOne), 1.0L);
    threeAndOne.genNegate();
    EXPECT_EQ(re(threeAndOne), -6.0L);
    EXPECT_EQ(im(threeAndOne), -1.0L);

    // Conversion takes both parts; an operation forgets the location.
    std::unique_ptr<StackItem> converted = make(140);
    converted->genConvert(b);
    EXPECT_EQ(re(*converted), 3.0L);
    EXPECT_EQ(im(*converted), 4.0L);
}

TEST_F(ComplexItemTest, RefusedOperations)
{
    std::unique_ptr<StackItem> item = make(204);
    const StackItemD one(rep(), FloatNumber(1.0));
    EXPECT_FALSE(item->isQuvHexFloat());
    EXPECT_EQ(item->realPart().getFormat(), FloatNumber::IEEE);
    EXPECT_EQ(raisedCode([&] { item->genLT(one); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { item->genGE(one); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { item->genPow(one, 0); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { item->genTruncateFP(8); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { item->asLongDouble(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { item->asSigned(); }), InvalidOp::RTRC_IncompatTypes);
    // A real item cannot take a complex value's two parts.
    std::unique_ptr<StackItem> real = make(137);
    EXPECT_EQ(raisedCode([&] { real->genConvert(*item); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(ComplexItemTest, HexadecimalPartsAreStoredHexadecimal)
{
    std::unique_ptr<StackItem> item = make(203);
    item->genConvert(StackItemComplexF(rep(), FloatNumber(1.0), FloatNumber(2.0), FloatNumber::IEEE));
    EXPECT_EQ(bufferOf(*item), (std::vector<unsigned char>{0x41, 0x10, 0, 0, 0x41, 0x20, 0, 0}));
}
