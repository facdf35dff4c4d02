#include "DataItemValues.h"

#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/PackedDecimal.h"
#include "types/TypeItem.h"

using namespace dataitemtest;

namespace {

class PackedDecimalTest : public DataItemTest {};

struct Shape {
    int precision;
    int decimals;
    int byteLength;
};

void expectValue(const PackedDecimal& v, const std::string& bytes, Shape shape)
{
    EXPECT_EQ(hex(v.bytes()), bytes);
    EXPECT_EQ(v.record().leaf, 50u);
    EXPECT_EQ(v.record().precision, shape.precision);
    EXPECT_EQ(v.record().decimalPlaces, shape.decimals);
    EXPECT_EQ(v.record().byteLength, shape.byteLength);
    EXPECT_EQ(v.record().scale, -shape.decimals);
    EXPECT_EQ(v.record().flags, 2u);
    EXPECT_EQ(v.record().picture, nullptr);
}

} // namespace

TEST_F(PackedDecimalTest, ValueFromTypeIsZeroFilledAndRefusesOtherLeaves)
{
    _TYPE_ENTRY entry = entryOf(packedRec(5, 2));
    PackedDecimal v{TypeItem(TYPE_INDEX{7, 1}, &entry, false)};
    EXPECT_EQ(hex(v.bytes()), "000000");
    DataError error = DataErrorNone;
    EXPECT_FALSE(v.isValidPacked(&error));
    EXPECT_EQ(error, DataErrorBadSign);

    _TYPE_ENTRY zoned = entryOf(zonedRec(3, 0));
    EXPECT_EQ(codeOf([&] { PackedDecimal{TypeItem(TYPE_INDEX{7, 2}, &zoned, false)}; }), InvalidOp::RTRC_Other);

    PackedDecimal same(packedRec(3, 0), bs("123C"));
    same = *&same;
    EXPECT_EQ(hex(same.bytes()), "123C");
    EXPECT_EQ(same.record().precision, 3);
}

TEST_F(PackedDecimalTest, ValidityReportsSignAndDigitFaults)
{
    struct Case {
        const char* bytes;
        bool valid;
        DataError error;
    } cases[] = {
        {"123C", true, DataErrorNone},      {"0F", true, DataErrorNone},        {"1234", false, DataErrorBadSign},
        {"12A3", false, DataErrorBadDigit}, {"1A3C", false, DataErrorBadDigit}, {"F23D", false, DataErrorBadDigit},
    };
    for (const Case& c : cases) {
        DataError error = DataErrorNone;
        PackedDecimal v(packedRec(3, 0), bs(c.bytes));
        EXPECT_EQ(v.isValidPacked(&error), c.valid) << c.bytes;
        EXPECT_EQ(error, c.error) << c.bytes;
        EXPECT_EQ(v.isValidPacked(nullptr), c.valid);
    }
}

TEST_F(PackedDecimalTest, AdditionWidensTheResultRecord)
{
    // 999.9 + 0.01 is 999.91: three integer digits, one for the carry, two
    // decimals.
    PackedDecimal a("999.9");
    a += PackedDecimal("0.01");
    expectValue(a, "0099991C", {6, 2, 4});

    PackedDecimal b("-5");
    expectValue(b - PackedDecimal("7.25"), "01225D", {4, 2, 3});
    expectValue(PackedDecimal("99") + PackedDecimal("1"), "100C", {3, 0, 2});
}

TEST_F(PackedDecimalTest, MultiplyDivideAndPowerResultSizes)
{
    PackedDecimal m(packedRec(2, 0), bs("012C"));
    m *= PackedDecimal(packedRec(2, 1), bs("005C"));
    expectValue(m, "00060C", {4, 1, 3});

    // 1 / 3 keeps 31 decimals behind one integer digit.
    PackedDecimal q = PackedDecimal("1") / PackedDecimal("3");
    expectValue(q, "00" + std::string(31, '3') + "C", {32, 31, 17});

    PackedDecimal p("2");
    p.power(PackedDecimal("10"), 0);
    expectValue(p, std::string(27, '0') + "1024C", {31, 0, 16});

    EXPECT_EQ(codeOf([] { PackedDecimal("5") / PackedDecimal("0.00"); }), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(codeOf([] { PackedDecimal("0").power(PackedDecimal("-1"), 2); }), InvalidOp::RTRC_DivideByZero);
}

TEST_F(PackedDecimalTest, MoveTruncatesAndSignsForTheTarget)
{
    // High-order and low-order truncation, sign F for an unsigned target.
    PackedDecimal target(packedRec(3, 1, false), bs("000F"));
    target.convert(PackedDecimal("-12.345"));
    EXPECT_EQ(hex(target.bytes()), "123F");
    EXPECT_EQ(target.record().flags, 1u);

    PackedDecimal small(packedRec(2, 0), bs("000C"));
    small.convert(PackedDecimal("-12345"));
    EXPECT_EQ(hex(small.bytes()), "045D");

    // No negative zero after truncation.
    small.convert(PackedDecimal("-100"));
    EXPECT_EQ(hex(small.bytes()), "000C");
}

TEST_F(PackedDecimalTest, ScaledPicturesStoreOnlyTheirDigits)
{
    // 99PP: the stored digits are hundreds and thousands.
    PackedDecimal hundreds(packedScaled(2, 2), bs("000C"));
    hundreds.convert(PackedDecimal("12345"));
    EXPECT_EQ(hex(hundreds.bytes()), "023C");
    EXPECT_EQ(hundreds.compare(PackedDecimal("2300")), 0);
    EXPECT_EQ(static_cast<long long>(hundreds), 2300);
    PackedDecimal::Effective e = hundreds.effective();
    EXPECT_EQ(e.precision, 4);
    EXPECT_EQ(e.decimals, 0);

    // PP99: two zero places between the point and the stored digits.
    PackedDecimal tiny(packedScaled(2, -4), bs("000C"));
    tiny.convert(PackedDecimal("0.001234"));
    EXPECT_EQ(hex(tiny.bytes()), "012C");
    EXPECT_EQ(tiny.compare(PackedDecimal("0.0012")), 0);
    e = tiny.effective();
    EXPECT_EQ(e.precision, 4);
    EXPECT_EQ(e.decimals, 4);

    // Computing with a scaled value uses its effective digits.
    PackedDecimal sum = hundreds + PackedDecimal("1");
    EXPECT_EQ(sum.compare(PackedDecimal("2301")), 0);

    // A long double into 99PP keeps the stored digits only.
    PackedDecimal fromDouble(packedScaled(2, 2), 4567.0L);
    EXPECT_EQ(hex(fromDouble.bytes()), "045C");
}

TEST_F(PackedDecimalTest, NegativeZeroAndNot)
{
    // A negative zero is zero: it equals zero and lies between -0.1 and 0.1.
    const PackedDecimal negativeZero(packedRec(1, 0), bs("0D"));
    EXPECT_TRUE(!negativeZero);
    EXPECT_TRUE(!PackedDecimal(packedRec(1, 0), bs("0C")));
    EXPECT_TRUE(!PackedDecimal(packedRec(1, 0, false), bs("0D")));
    EXPECT_EQ(negativeZero.compare(PackedDecimal(0LL)), 0);
    EXPECT_EQ(PackedDecimal(0LL).compare(negativeZero), 0);
    EXPECT_EQ(negativeZero.compare(PackedDecimal(packedRec(3, 2), bs("00000D"))), 0);
    EXPECT_EQ(negativeZero.compare(PackedDecimal("-0.1")), 1);
    EXPECT_EQ(negativeZero.compare(PackedDecimal("0.1")), -1);
    EXPECT_EQ(PackedDecimal("-0.1").compare(negativeZero), -1);
    EXPECT_FALSE(!PackedDecimal("0.01"));
}

TEST_F(PackedDecimalTest, UnaryMinusMakesUnsignedValuesSigned)
{
    PackedDecimal v(packedRec(3, 1, false), bs("123F"));
    PackedDecimal n = -v;
    EXPECT_EQ(hex(n.bytes()), "123D");
    EXPECT_TRUE(n.isSigned());
    EXPECT_EQ(hex((-n).bytes()), "123C");
    EXPECT_EQ(hex(v.bytes()), "123F");
}

TEST_F(PackedDecimalTest, HostNumbersAndRefusals)
{
    EXPECT_EQ(static_cast<long long>(PackedDecimal("-12.9")), -12);
    EXPECT_EQ(static_cast<long long>(PackedDecimal("123456789012345678")), 123456789012345678LL);
    EXPECT_EQ(static_cast<unsigned long long>(PackedDecimal("42.7")), 42u);

    PackedDecimal big(18446744073709551615ULL);
    EXPECT_EQ(big.record().precision, 20);
    EXPECT_EQ(hex(big.bytes()), "018446744073709551615F");
    PackedDecimal neg(-45LL);
    EXPECT_EQ(hex(neg.bytes()), "045D");
    EXPECT_EQ(neg.record().precision, 2);

    // A packed value gives the nearest long double, as zoned and binary do.
    PackedDecimal v("1.5");
    EXPECT_EQ(static_cast<long double>(v), 1.5L);
    EXPECT_EQ(static_cast<long double>(PackedDecimal("-123.45")), -123.45L);
    EXPECT_EQ(static_cast<long double>(PackedDecimal("0.0000000000000000000000000000001")), 1e-31L);
    EXPECT_EQ(static_cast<long double>(PackedDecimal("9999999999999999999999999999999")),
              9999999999999999999999999999999.0L);
    EXPECT_EQ(codeOf([&] { (void)static_cast<DecimalFloat>(v); }), InvalidOp::RTRC_Other);
    ByteString out;
    EXPECT_EQ(codeOf([&] { v.format(out); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([] { PackedDecimal("twelve"); }), InvalidOp::RTRC_Other);
}

TEST_F(PackedDecimalTest, LiteralsAndTextIntoATypesDigits)
{
    PackedDecimal lit("0.05");
    EXPECT_EQ(lit.record().precision, 2);
    EXPECT_EQ(lit.record().decimalPlaces, 2);
    EXPECT_EQ(lit.compare(PackedDecimal("0.050")), 0);

    struct Case {
        TNpacked_decimal record;
        const char* text;
        const char* bytes;
    } cases[] = {
        {packedRec(4, 1), "-012.5", "00125D"},
        {packedRec(3, 0), "123", "123C"},
        {packedRec(3, 0, false), "-1", "100F"},
        {packedRec(3, 0), "123456", "123C"},
    };
    for (const Case& c : cases) {
        _TYPE_ENTRY entry = entryOf(c.record);
        PackedDecimal v(c.text, TypeItem(TYPE_INDEX{7, 1}, &entry, false));
        EXPECT_EQ(hex(v.bytes()), c.bytes) << c.text;
    }
}

TEST_F(PackedDecimalTest, LongDoubleIntoARecord)
{
    EXPECT_EQ(hex(PackedDecimal(packedRec(5, 2), -2.5L).bytes()), "00250D");
    EXPECT_EQ(hex(PackedDecimal(packedRec(5, 2, false), -2.5L).bytes()), "00250F");
    EXPECT_EQ(hex(PackedDecimal(packedRec(3, 0), 1234.0L).bytes()), "234C");
}

TEST_F(PackedDecimalTest, FromBinaryDigitsFollowTheStorageLength)
{
    struct Case {
        int length;
        bool isSigned;
        int precision;
        int bytes;
    } cases[] = {{2, true, 5, 3}, {4, true, 10, 6}, {8, true, 19, 10}, {8, false, 20, 11}};
    for (const Case& c : cases) {
        FixedPointBinary b(binaryRec(c.length, 4, -2, c.isSigned), 1234ULL);
        PackedDecimal v(b);
        EXPECT_EQ(v.record().precision, c.precision);
        EXPECT_EQ(v.record().byteLength, c.bytes);
        EXPECT_EQ(v.record().decimalPlaces, 2);
        EXPECT_EQ(v.compare(PackedDecimal("12.34")), 0);
    }
}
