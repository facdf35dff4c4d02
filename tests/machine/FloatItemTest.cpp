#include <clocale>
#include <cmath>
#include <cstring>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "datatypes/DecimalFloat.h"
#include "types/Extended12.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemComplexFloat.h"
#include "machine/StackItemDecimalFloat.h"
#include "machine/StackItemFloat.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "services/EvaluationEnvironment.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class FloatItemTest : public MachineFixture {
protected:
    std::unique_ptr<StackItem> make(unsigned index)
    {
        return std::unique_ptr<StackItem>(RuntimeStack::makeStackItem(TypeItem(index), nullptr));
    }
    // A variable of the type loaded from debuggee memory holding bytes.
    std::unique_ptr<StackItem> variable(unsigned index, const std::vector<unsigned char>& bytes,
                                        std::uint32_t address = 0x400)
    {
        host.memory().store(address, bytes);
        std::unique_ptr<StackItem> item = make(index);
        item->load(DebuggeeLocation(DebuggeeAddress(address)));
        item->setLoadedFromVariable(true);
        return item;
    }
};

std::vector<unsigned char> bufferOf(const StackItem& item)
{
    const auto* b = static_cast<const unsigned char*>(item.resultBuffer());
    return std::vector<unsigned char>(b, b + item.size());
}

std::vector<unsigned char> bytesOf(const ByteString& text)
{
    return std::vector<unsigned char>(text.data(), text.data() + text.length());
}

long double valueOf(const StackItem& item)
{
    return static_cast<long double>(item.asLongDouble());
}

// 0.1 as an 8-byte hexadecimal float (the double 0.1, fraction truncated).
const std::vector<unsigned char> hexTenth = {0x40, 0x19, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A};

} // namespace

TEST_F(FloatItemTest, FactoryRows)
{
    const struct {
        unsigned index;
        std::type_index itemClass;
        std::uint64_t size;
        FloatNumber::Format format;
        bool hex;
    } rows[] = {
        {136, typeid(StackItemF), 4, FloatNumber::IEEE, false},
        {137, typeid(StackItemD), 8, FloatNumber::IEEE, false},
        {138, typeid(StackItemLD), 16, FloatNumber::IEEE, false},
        {139, typeid(StackItemLD), 12, FloatNumber::IEEE, false},
        {196, typeid(StackItemF), 4, FloatNumber::Hexadecimal, true},
        {197, typeid(StackItemD), 8, FloatNumber::Hexadecimal, true},
        {198, typeid(StackItemLD), 16, FloatNumber::Hexadecimal, true},
        // Complex parts are IEEE zeros and a complex item never answers
        // hexadecimal, even of a hexadecimal type.
        {140, typeid(StackItemComplexF), 8, FloatNumber::IEEE, false},
        {141, typeid(StackItemComplexD), 16, FloatNumber::IEEE, false},
        {142, typeid(StackItemComplexLD), 32, FloatNumber::IEEE, false},
        {143, typeid(StackItemComplexLD), 24, FloatNumber::IEEE, false},
        {203, typeid(StackItemComplexF), 8, FloatNumber::IEEE, false},
        {204, typeid(StackItemComplexD), 16, FloatNumber::IEEE, false},
        {205, typeid(StackItemComplexLD), 32, FloatNumber::IEEE, false},
        {159, typeid(StackItemDecimalFloat32), 4, FloatNumber::IEEE, false},
        {192, typeid(StackItemDecimalFloat64), 8, FloatNumber::IEEE, false},
        {193, typeid(StackItemDecimalFloat128), 16, FloatNumber::IEEE, false},
    };
    for (const auto& row : rows) {
        std::unique_ptr<StackItem> item = make(row.index);
        const StackItem& made = *item;
        EXPECT_EQ(std::type_index(typeid(made)), row.itemClass) << row.index;
        EXPECT_EQ(item->size(), row.size) << row.index;
        EXPECT_EQ(item->realPart().getFormat(), row.format) << row.index;
        EXPECT_EQ(item->isQuvHexFloat(), row.hex) << row.index;
        EXPECT_TRUE(item->isZero()) << row.index;
        EXPECT_TRUE(item->type().typeIndex() == row.index) << row.index;
        // The primitive is as long as the item stores.
        EXPECT_EQ(TypeItem::primitiveTypeSize(row.index), row.size) << row.index;
        // A zero of a binary float type is all zero bytes in either format.
        if (row.index != 159 && row.index != 192 && row.index != 193) {
            EXPECT_EQ(bufferOf(*item), std::vector<unsigned char>(row.size, 0)) << row.index;
        }
    }
}

TEST_F(FloatItemTest, ResultBufferFollowsTheItemsStorageFormat)
{
    // A double item made from a hexadecimal number keeps index 137 but is
    // hexadecimal.
    FloatNumber hexOne(1.0L);
    hexOne.markQUVhex();
    StackItemD fromHex(rep(), hexOne);
    EXPECT_TRUE(fromHex.type().typeIndex() == 137u);
    EXPECT_TRUE(fromHex.isQuvHexFloat());
    EXPECT_EQ(bufferOf(fromHex), (std::vector<unsigned char>{0x41, 0x10, 0, 0, 0, 0, 0, 0}));

    // A hexadecimal variable given an IEEE literal stores hexadecimal bytes.
    std::unique_ptr<StackItem> hexVariable = make(197);
    hexVariable->genConvert(StackItemLD(rep(), FloatNumber(0.1L)));
    EXPECT_EQ(hexVariable->asLongDouble().getFormat(), FloatNumber::IEEE);
    EXPECT_EQ(bufferOf(*hexVariable), hexTenth);

    // An IEEE item after + with a hexadecimal operand: the value's format
    // word is hexadecimal, the stored bytes stay IEEE.
    StackItemD ieee(rep(), FloatNumber(1.0));
    ieee.genAdd(fromHex);
    EXPECT_EQ(ieee.asLongDouble().getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ(bufferOf(ieee), (std::vector<unsigned char>{0x40, 0, 0, 0, 0, 0, 0, 0}));

    // A power leaves format word 0; a hexadecimal item still stores
    // hexadecimal bytes and holds the value its bytes hold (sqrt 8 and the
    // NaN of a negative base).
    std::unique_ptr<StackItem> hex = make(197);
    hex->genConvert(StackItemD(rep(), FloatNumber(8.0)));
    hex->genPow(StackItemD(rep(), FloatNumber(0.5)), 0);
    // The root at the precision of the 8-byte hexadecimal item.
    unsigned char root[8] = {};
    FloatNumber(sqrtl(8.0L)).format(FloatNumber::Hexadecimal, root, sizeof root, false);
    EXPECT_EQ(valueOf(*hex), static_cast<long double>(FloatNumber(root, sizeof root, FloatNumber::Hexadecimal)));
    EXPECT_EQ(hex->asLongDouble().getFormat(), FloatNumber::IEEE);
    EXPECT_EQ(bufferOf(*hex)[0], 0x41); // 2.83: characteristic 65
    hex->genConvert(StackItemD(rep(), FloatNumber(-8.0)));
    hex->genPow(StackItemD(rep(), FloatNumber(0.5)), 0);
    EXPECT_TRUE(std::isnan(valueOf(*hex)));
}

TEST_F(FloatItemTest, DivisionByZeroAndNaN)
{
    StackItemD one(rep(), FloatNumber(1.0));
    EXPECT_EQ(raisedCode([&] { one.genDivide(*make(137)); }), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(valueOf(one), 1.0L);
    one.genDivide(StackItemD(rep(), FloatNumber(std::nan(""))));
    EXPECT_TRUE(std::isnan(valueOf(one)));
    // A negative zero is zero too.
    StackItemD two(rep(), FloatNumber(2.0));
    EXPECT_EQ(raisedCode([&] { two.genDivide(StackItemD(rep(), FloatNumber(-0.0))); }), InvalidOp::RTRC_DivideByZero);
}

TEST_F(FloatItemTest, CobolRoundsTheSideNotLoadedFromAVariable)
{
    useRepresentation(EvaluationEnvironment::languageCOBOL, 4);
    // X is an 8-byte hexadecimal variable holding 0.1 at its precision.
    std::unique_ptr<StackItem> x = variable(197, hexTenth);
    ASSERT_TRUE(x->isQuvHexFloat());
    const StackItemLD literal(rep(), FloatNumber(0.1L));
    ASSERT_NE(valueOf(*x), valueOf(literal));

    // Both orders: X = 0.1 and 0.1 = X hold, and every relation agrees
    // with equality (NOT = is the negation of =).
    for (bool variableLeft : {true, false}) {
        std::unique_ptr<StackItem> left(variableLeft ? x->clone() : literal.clone());
        std::unique_ptr<StackItem> right(variableLeft ? literal.clone() : x->clone());
        if (variableLeft)
            left->setLoadedFromVariable(true);
        else
            right->setLoadedFromVariable(true);
        EXPECT_EQ(left->genEQ(*right), 1) << variableLeft;
        EXPECT_EQ(left->genNE(*right), 0) << variableLeft;
        EXPECT_EQ(left->genLT(*right), 0) << variableLeft;
        EXPECT_EQ(left->genLE(*right), 1) << variableLeft;
        EXPECT_EQ(left->genGT(*right), 0) << variableLeft;
        EXPECT_EQ(left->genGE(*right), 1) << variableLeft;
    }
    // Neither item changed.
    EXPECT_NE(valueOf(*x), valueOf(literal));

    // Two variables are compared as they are.
    std::unique_ptr<StackItem> y = variable(
        198, {0x40, 0x19, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A, 0x33, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99}, 0x500);
    EXPECT_EQ(x->genEQ(*y), 0);
    EXPECT_EQ(x->genNE(*y), 1);

    // Outside COBOL, every comparison is made in full precision.
    useRepresentation(MachineFixture::languageC, 4);
    std::unique_ptr<StackItem> cx = variable(197, hexTenth);
    StackItemLD cLiteral(rep(), FloatNumber(0.1L));
    EXPECT_EQ(cx->genEQ(cLiteral), 0);
    EXPECT_EQ(cx->genNE(cLiteral), 1);
    EXPECT_EQ(cLiteral.genLT(*cx), 1); // the double 0.1 lies above 0.1L
}

TEST_F(FloatItemTest, BytesForAlphanumericMoves)
{
    // The hexadecimal encoding of the value, whatever the item's format.
    StackItemF one(rep(), FloatNumber(1.0f));
    EXPECT_EQ(bytesOf(one.asAlphaNumericGroup(TNclass{})), (std::vector<unsigned char>{0x41, 0x10, 0, 0}));
    TNcharstring text{};
    text.size.length = 20;
    std::vector<unsigned char> expected = {0x41, 0x10, 0, 0, 0, 0, 0, 0, 0x33, 0, 0, 0, 0, 0, 0, 0};
    expected.insert(expected.end(), 4, 0x40);
    EXPECT_EQ(bytesOf(one.asCharstring(text)), expected);
    text.size.length = 2;
    EXPECT_EQ(bytesOf(one.asCharstring(text)), (std::vector<unsigned char>{0x41, 0x10}));
    // A 12-byte slot item gives 12 bytes.
    EXPECT_EQ(make(139)->asAlphaNumericGroup(TNclass{}).length(), 12u);
}

TEST_F(FloatItemTest, TruncationToHexadecimalPrecision)
{
    // 0.1 in a 4-byte hexadecimal float: 0x199999 * 16^-6.
    std::unique_ptr<StackItem> f = make(196);
    f->genConvert(StackItemLD(rep(), FloatNumber(0.1L)));
    f->genTruncateFP(4);
    EXPECT_EQ(valueOf(*f), 0x199999p-24L);
    EXPECT_EQ(f->asLongDouble().getFormat(), FloatNumber::Hexadecimal);

    std::unique_ptr<StackItem> d = make(198);
    d->genConvert(StackItemLD(rep(), FloatNumber(0.1L)));
    d->genTruncateFP(16);
    // 0.1L lies below its double: the 16-byte form keeps the double alone.
    EXPECT_EQ(valueOf(*d), static_cast<long double>(0.1));
    for (unsigned n : {0u, 3u, 12u, 32u, 33u})
        EXPECT_EQ(raisedCode([&] { d->genTruncateFP(n); }), InvalidOp::RTRC_IncompatTypes) << n;
    EXPECT_EQ(raisedCode([&] { make(137)->genTruncateFP(8); }), InvalidOp::RTRC_IncompatTypes);

    // The value stack truncates by the hexadecimal type, leaves others.
    stack().genLoadRealConstant(0.1L, 12);
    stack().genConvert(TypeItem(196u));
    stack().genTruncateFP(TypeItem(196u));
    EXPECT_EQ(valueOf(*stack().top()), 0x199999p-24L);
    stack().genTruncateFP(TypeItem(137u));
    EXPECT_EQ(valueOf(*stack().top()), 0x199999p-24L);
    stack().popAll();
}

TEST_F(FloatItemTest, SecondLongDoubleIsATwelveByteSlot)
{
    // 10 bytes of the extended value, in the host's order, and two pad bytes.
    const long double pi = 3.14159265358979323846264338327950288L;
    unsigned char slot[12];
    Extended12::encode(slot, pi);
    std::vector<unsigned char> image(slot, slot + 12);
    EXPECT_EQ(image[10], 0);
    EXPECT_EQ(image[11], 0);
    image[10] = 0xEE; // pad bytes as the debuggee left them
    image[11] = 0xEE;
    std::unique_ptr<StackItem> item = variable(139, image);
    EXPECT_EQ(valueOf(*item), pi);
    std::vector<unsigned char> back = bufferOf(*item);
    ASSERT_EQ(back.size(), 12u);
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + 10, image.begin()));
    EXPECT_EQ(back[10], 0);
    EXPECT_EQ(back[11], 0);
    // Arithmetic keeps the layout.
    item->genNegate();
    EXPECT_EQ(Extended12::decode(item->resultBuffer()), -pi);
}

TEST_F(FloatItemTest, LoadsAndViews)
{
    std::unique_ptr<StackItem> d = variable(137, {0xC0, 0x04, 0, 0, 0, 0, 0, 0}); // -2.5
    EXPECT_EQ(valueOf(*d), -2.5L);
    EXPECT_TRUE(d->location().kind() == DebuggeeLocation::debuggeeMemory);
    EXPECT_EQ(d->asSigned(), -2);
    EXPECT_EQ(static_cast<long double>(d->imaginaryPart()), 0.0L);
    ByteString decimal;
    d->asDecimalFloat().format(decimal);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(decimal.data()), decimal.length()), "-2.5000000000000000000");
    // An operation: the value no longer lives in the debuggee.
    d->genNegate();
    EXPECT_TRUE(d->location().kind() == DebuggeeLocation::none);
    EXPECT_EQ(valueOf(*d), 2.5L);
    // clone copies the value.
    std::unique_ptr<StackItem> copy(d->clone());
    EXPECT_EQ(valueOf(*copy), 2.5L);

    // A hexadecimal variable decodes its bytes as hexadecimal.
    EXPECT_EQ(valueOf(*variable(196, {0xC1, 0x28, 0, 0})), -2.5L);

    // No location; an unreadable place.
    std::unique_ptr<StackItem> f = make(136);
    EXPECT_EQ(raisedCode([&] { f->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(f->hasValue());
    host.memory().markUnreadable(0x900, 4);
    // The read's own failure passes on, as for an integer item.
    const DebuggeeLocation unreadable(DebuggeeAddress(std::uint32_t(0x900)));
    StackItemS4 integer(rep(), 0);
    const int readFailure = raisedCode([&] { integer.load(unreadable); });
    EXPECT_NE(readFailure, 0);
    EXPECT_EQ(raisedCode([&] { f->load(unreadable); }), readFailure);
}

TEST_F(FloatItemTest, RefusedOperationsAndValues)
{
    std::unique_ptr<StackItem> d = make(137);
    StackItemNull null(rep());
    EXPECT_EQ(raisedCode([&] { d->genConvert(null); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { d->genModulus(*make(137)); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { d->genBitAnd(*make(137)); }), InvalidOp::RTRC_IncompatTypes);
    // An unusable number makes no item.
    FloatNumber unusable;
    unusable.invalidate();
    EXPECT_EQ(raisedCode([&] { StackItemD item(rep(), unusable); }), InvalidOp::RTRC_IncompatTypes);
    // A value the storage format cannot hold makes an item that computes
    // and refuses only its bytes.
    // (The 16-byte long double of 8-byte addresses.)
    rep().setAddressSize(8);
    StackItemLD subnormal(rep(), FloatNumber(0x1p-16445L));
    EXPECT_EQ(raisedCode([&] { subnormal.resultBuffer(); }), InvalidOp::RTRC_NotSupported);
    subnormal.genMult(StackItemLD(rep(), FloatNumber(0x1p100L)));
    EXPECT_EQ(valueOf(subnormal), 0x1p-16345L);
    EXPECT_EQ(bufferOf(subnormal).size(), 16u);
}

TEST_F(FloatItemTest, RealAndImaginaryPartsOnTheStack)
{
    // A complex constant from a register variable: the real part keeps the
    // register marks, the imaginary part does not.
    for (bool real : {true, false}) {
        stack().genLoadComplexConstant(1.5L, -2.25L, 8);
        stack().top()->setFromRegisterVariable(true);
        if (real)
            stack().genRealPart();
        else
            stack().genImaginaryPart();
        StackItem* part = stack().top();
        EXPECT_EQ(typeid(*part), typeid(StackItemLD));
        EXPECT_EQ(valueOf(*part), real ? 1.5L : -2.25L);
        EXPECT_EQ(part->fromRegisterVariable(), real);
        EXPECT_EQ(stack().count(), 1u);
        stack().popAll();
    }
    // A real item's imaginary part is zero.
    stack().genLoadRealConstant(4.0L, 8);
    stack().genImaginaryPart();
    EXPECT_EQ(valueOf(*stack().top()), 0.0L);
    stack().popAll();
}

TEST_F(FloatItemTest, ConstantLoads)
{
    // A long double constant is the program's long double: the 12-byte
    // slot with 4-byte addresses, 16 bytes with 8-byte addresses.
    const struct {
        unsigned addressSize;
        std::int16_t size;
        std::type_index real;
        std::type_index complex;
        std::uint64_t realBytes;
        std::uint64_t complexBytes;
    } rows[] = {
        {8, 4, typeid(StackItemF), typeid(StackItemComplexF), 4, 8},
        {8, 8, typeid(StackItemD), typeid(StackItemComplexD), 8, 16},
        {8, 12, typeid(StackItemLD), typeid(StackItemComplexLD), 16, 32},
        {4, 4, typeid(StackItemF), typeid(StackItemComplexF), 4, 8},
        {4, 12, typeid(StackItemLD), typeid(StackItemComplexLD), 12, 24},
    };
    for (const auto& row : rows) {
        rep().setAddressSize(row.addressSize);
        stack().genLoadRealConstant(0.1L, row.size);
        const StackItem* realItem = stack().top();
        EXPECT_EQ(std::type_index(typeid(*realItem)), row.real);
        EXPECT_EQ(stack().top()->size(), row.realBytes);
        stack().genLoadComplexConstant(0.1L, 0.2L, row.size);
        const StackItem* complexItem = stack().top();
        EXPECT_EQ(std::type_index(typeid(*complexItem)), row.complex);
        EXPECT_EQ(stack().top()->size(), row.complexBytes);
        stack().genLoadI(row.size);
        EXPECT_EQ(static_cast<long double>(stack().top()->realPart()), 0.0L);
        EXPECT_EQ(static_cast<long double>(stack().top()->imaginaryPart()), 1.0L);
        stack().popAll();
    }
    // The parts of a complex constant have the width of its size.
    stack().genLoadComplexConstant(0.1L, 0.2L, 4);
    EXPECT_EQ(static_cast<long double>(stack().top()->realPart()), static_cast<long double>(0.1f));
    EXPECT_EQ(bufferOf(*stack().top()), (std::vector<unsigned char>{0x3D, 0xCC, 0xCC, 0xCD, 0x3E, 0x4C, 0xCC, 0xCD}));
    stack().popAll();
    // The 12 of genLoadI is the long double size code.
    stack().genLoadI(8);
    EXPECT_EQ(bufferOf(*stack().top()),
              (std::vector<unsigned char>{0, 0, 0, 0, 0, 0, 0, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
    stack().popAll();
    for (std::int16_t size : {0, 1, 2, 16, -4}) {
        EXPECT_EQ(raisedCode([&] { stack().genLoadRealConstant(1.0L, size); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(raisedCode([&] { stack().genLoadComplexConstant(1.0L, 1.0L, size); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(raisedCode([&] { stack().genLoadI(size); }), InvalidOp::RTRC_NotSupported);
    }
    EXPECT_EQ(stack().count(), 0u);
    // Nothing while not running.
    stack().setSkipState(RuntimeStack::dryRun);
    stack().genLoadRealConstant(1.0L, 8);
    stack().genLoadI(8);
    stack().genLoadRealValue("1.5");
    stack().genLoadDecimalRealValue("1.5DD");
    EXPECT_EQ(stack().count(), 0u);
    stack().setSkipState(RuntimeStack::running);
}
