#include "DataItemValues.h"

#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/TypeItem.h"

#include <cstdint>
#include <cstring>

using namespace dataitemtest;

namespace {

class FixedPointBinaryTest : public DataItemTest {};

FixedPointBinary bin(long long value, int precision, int scale, bool isSigned = true)
{
    return FixedPointBinary(binaryRec(2, precision, scale, isSigned), static_cast<unsigned long long>(value));
}

void expectRecord(const FixedPointBinary& v, long long value, int precision, int scale, int length, bool isSigned)
{
    EXPECT_EQ(static_cast<long long>(v.value()), value);
    EXPECT_EQ(v.precision(), precision);
    EXPECT_EQ(v.scale(), scale);
    EXPECT_EQ(v.record().byteLength, length);
    EXPECT_EQ(v.isSigned(), isSigned);
    EXPECT_EQ(v.record().leaf, 68u);
}

} // namespace

TEST_F(FixedPointBinaryTest, AddAndSubtractAlignScales)
{
    // 0.5 + 1.25: value 175 at scale -2, integer digits 1 plus carry plus 2.
    expectRecord(bin(5, 1, -1) + bin(125, 3, -2), 175, 4, -2, 2, true);
    // A multiplier: 5 x 10^2 + 3 is 503; the multiplied operand's integer
    // digits count its multiplier twice, so the record claims 6 digits.
    expectRecord(bin(5, 1, 2) + bin(3, 1, 0), 503, 6, 0, 4, true);
    // Two unsigned items whose difference is negative give a signed one.
    expectRecord(bin(3, 1, 0, false) - bin(5, 1, 0, false), -2, 2, 0, 2, true);
    expectRecord(bin(5, 1, 0, false) - bin(3, 1, 0, false), 2, 2, 0, 2, false);
    expectRecord(bin(-15, 2, -1) - bin(125, 3, -2), -275, 4, -2, 2, true);
}

TEST_F(FixedPointBinaryTest, MultiplyAndDivide)
{
    expectRecord(bin(15, 2, -1) * bin(225, 3, -2), 3375, 5, -3, 4, true);
    // 1 / 3: one integer digit, seventeen decimals.
    expectRecord(bin(1, 1, 0) / bin(3, 1, 0), 33333333333333333LL, 18, -17, 8, true);
    // -7 / 2 is -3.5 held at scale -17.
    expectRecord(bin(-7, 1, 0) / bin(2, 1, 0), -350000000000000000LL, 18, -17, 8, true);
    // A large dividend keeps its scaled value within 64 bits.
    FixedPointBinary big(binaryRec(8, 18, 0, false), 900000000000000000ULL);
    FixedPointBinary q = big / bin(3, 1, 0, false);
    EXPECT_EQ(q.compare(FixedPointBinary(binaryRec(8, 18, 0, false), 300000000000000000ULL)), 0);

    FixedPointBinary zero = bin(0, 1, 0);
    EXPECT_EQ(codeOf([&] { zero /= bin(0, 1, 0); }), InvalidOp::RTRC_DivideByZero);
    FixedPointBinary five = bin(5, 1, 0);
    EXPECT_EQ(codeOf([&] { five /= bin(0, 1, -2); }), InvalidOp::RTRC_DivideByZero);
    expectRecord(five, 5, 1, 0, 2, true);
}

TEST_F(FixedPointBinaryTest, CompareSignsScalesAndLargeScaleDifferences)
{
    struct Case {
        FixedPointBinary a;
        FixedPointBinary b;
        int expected;
    } cases[] = {
        {bin(15, 2, -1), bin(150, 3, -2), 0},
        {bin(15, 2, -1), bin(149, 3, -2), 1},
        {bin(-15, 2, -1), bin(-149, 3, -2), -1},
        {bin(-1, 1, 0), bin(0, 1, 0, false), -1},
        {bin(0, 1, 0, false), bin(-1, 1, 0), 1},
        {bin(12, 2, 0), bin(121, 3, -1), -1},
        {bin(121, 3, -1), bin(12, 2, 0), 1},
        {bin(3, 1, 2), bin(300, 3, 0), 0},
        // Scales more than 18 apart answer without dividing.
        {bin(1, 1, 20), bin(9999, 4, 0), 1},
        {bin(9999, 4, 0), bin(1, 1, 20), -1},
        {bin(-1, 1, 20), bin(-9999, 4, 0), -1},
        {bin(0, 1, 20), bin(5, 1, 0), -1},
        {bin(0, 1, 20), bin(0, 1, 0), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.a.compare(c.b), c.expected) << c.a.value() << " vs " << c.b.value();
}

TEST_F(FixedPointBinaryTest, MoveRescalesAndTruncates)
{
    struct Case {
        TNfixed_point_binary target;
        FixedPointBinary source;
        long long expected;
    } cases[] = {
        {binaryRec(2, 2, 0, false), bin(-123, 3, 0), 23},
        {binaryRec(2, 2, 0, true), bin(-123, 3, 0), -23},
        {binaryRec(2, 3, -2, true), bin(1239, 4, -3), 123},
        {binaryRec(2, 4, 0, true), bin(5, 1, 2), 500},
        {binaryRec(2, 2, 1, true), bin(1234, 4, 0), 23},
        {binaryRec(2, 0, 0, true), bin(7, 1, 0), 0},
        // Digits the target drops go before scaling up: the kept digits of
        // an 18-digit value survive a move into three decimal places.
        {binaryRec(4, 9, -3, true), FixedPointBinary(binaryRec(8, 18, 0, true), 999999999999999999ULL), 999999000},
        {binaryRec(4, 9, -3, true),
         FixedPointBinary(binaryRec(8, 18, 0, true), static_cast<unsigned long long>(-123456789012345678LL)),
         -345678000},
        // Precisions beyond the power table keep every digit.
        {binaryRec(8, 31, -2, true), bin(-15, 2, -1), -150},
    };
    for (const Case& c : cases) {
        FixedPointBinary t(c.target, 0ULL);
        t.convert(c.source);
        EXPECT_EQ(static_cast<long long>(t.value()), c.expected);
        EXPECT_EQ(t.record().precision, c.target.precision);
    }
}

TEST_F(FixedPointBinaryTest, LongDoubleRoundsHalfAwayFromZero)
{
    struct Case {
        TNfixed_point_binary record;
        long double x;
        unsigned long long expected;
    } cases[] = {
        {binaryRec(8, 4, 0, true), -2.5L, static_cast<unsigned long long>(-3LL)},
        {binaryRec(8, 4, 0, true), 2.5L, 3},
        {binaryRec(8, 4, 0, false), -2.5L, 3},
        {binaryRec(2, 4, 0, true), -3.0L, 0xFFFFFFFFFFFFFFFDULL},
        {binaryRec(4, 9, -1, true), 1.25L, 13},
        {binaryRec(2, 4, 1, false), 1234.0L, 123},
        {binaryRec(2, 4, 0, false), 70000.0L, 70000 & 0xFFFF},
        {binaryRec(8, 18, 0, true), 1e30L, 0x7FFFFFFFFFFFFFFFULL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixedPointBinary(c.record, c.x).value(), c.expected) << static_cast<double>(c.x);
}

TEST_F(FixedPointBinaryTest, PowerOfTenTableBounds)
{
    EXPECT_EQ(FixedPointBinary::powerOfTen(0), 1u);
    EXPECT_EQ(FixedPointBinary::powerOfTen(19), 10000000000000000000ULL);
    EXPECT_EQ(FixedPointBinary::powerOfTen(20), 0u);
    EXPECT_EQ(FixedPointBinary::countDecimalDigits(0), 0u);
    EXPECT_EQ(FixedPointBinary::countDecimalDigits(9), 0u);
    EXPECT_EQ(FixedPointBinary::countDecimalDigits(10), 1u);
    EXPECT_EQ(FixedPointBinary::countDecimalDigits(UINT64_MAX), 19u);
    // 10^19 lies above the signed range: it converts as unsigned.
    EXPECT_EQ(static_cast<long double>(FixedPointBinary(binaryRec(8, 1, 19, false), 1ULL)), 1e19L);
    EXPECT_EQ(static_cast<unsigned long long>(FixedPointBinary(binaryRec(8, 18, -19, true), 5ULL)), 0u);
    EXPECT_EQ(static_cast<unsigned long long>(FixedPointBinary(binaryRec(8, 20, -21, false), 18446744073709551615ULL)),
              0u);
}

TEST_F(FixedPointBinaryTest, ScaledBytesToHostNumbers)
{
    // The 2-byte item 0xFF85 with scale -2 is -1.23.
    const unsigned char big[2] = {0xFF, 0x85};
    std::uint16_t host = static_cast<std::uint16_t>((big[0] << 8) | big[1]);
    FixedPointBinary v(&host, binaryRec(2, 4, -2, true));
    EXPECT_EQ(static_cast<long long>(v.value()), -123);
    EXPECT_EQ(static_cast<long double>(v), -1.23L);
    EXPECT_EQ(static_cast<long long>(v), -1);
    EXPECT_EQ(static_cast<DecimalFloat>(v).compare(DecimalFloat("-1.23", DecimalFloat::Size128)), 0);
    std::uint16_t back = 0;
    v.format(&back, 2, 1);
    EXPECT_EQ(back, 0xFF85);

    FixedPointBinary u(&host, binaryRec(2, 4, -2, false));
    EXPECT_EQ(u.value(), 0xFF85u);
    EXPECT_EQ(static_cast<long long>(u), 0xFF85 / 100);
    FixedPointBinary times(binaryRec(2, 4, 2, true), 12ULL);
    EXPECT_EQ(static_cast<long long>(times), 1200);
    EXPECT_EQ(static_cast<DecimalFloat>(times).compare(DecimalFloat(1200LL, DecimalFloat::Size128)), 0);
}

TEST_F(FixedPointBinaryTest, FillAndFormatLengths)
{
    const std::uint64_t raw = 0x80402010F0E0D0C0ULL;
    struct Case {
        int length;
        bool isSigned;
        std::uint64_t value;
    } cases[] = {
        {1, true, 0xFFFFFFFFFFFFFFC0ULL},
        {1, false, 0xC0},
        {2, true, 0xFFFFFFFFFFFFD0C0ULL},
        {2, false, 0xD0C0},
        {4, true, 0xFFFFFFFFF0E0D0C0ULL},
        {4, false, 0xF0E0D0C0},
        {8, true, raw},
        {8, false, raw},
    };
    for (const Case& c : cases) {
        FixedPointBinary v(&raw, binaryRec(c.length, 4, 0, c.isSigned));
        EXPECT_EQ(v.value(), c.value) << c.length;
        std::uint64_t out = 0;
        v.format(&out, static_cast<unsigned>(c.length), 0);
        EXPECT_EQ(std::memcmp(&out, &raw, static_cast<std::size_t>(c.length)), 0);
    }
    EXPECT_EQ(codeOf([&] { FixedPointBinary(&raw, binaryRec(3, 4, 0, true)); }), InvalidOp::RTRC_Other);
    std::uint64_t out = 0;
    EXPECT_EQ(codeOf([&] { bin(1, 1, 0).format(&out, 3, 0); }), InvalidOp::RTRC_Other);
    char text[8] = "x";
    EXPECT_EQ(bin(1, 1, 0).format(text), -1);
    EXPECT_EQ(text[0], 'x');

    _TYPE_ENTRY noLength = entryOf(binaryRec(0, 4, 0, true));
    EXPECT_EQ(codeOf([&] { FixedPointBinary{TypeItem(TYPE_INDEX{7, 1}, &noLength, false)}; }), InvalidOp::RTRC_Other);
}

TEST_F(FixedPointBinaryTest, UnaryMinusAndPower)
{
    FixedPointBinary n = -FixedPointBinary(binaryRec(4, 0, -1, false), 5ULL);
    expectRecord(n, -5, 10, -1, 4, true);
    n = -FixedPointBinary(binaryRec(0, 7, 0, false), 5ULL);
    EXPECT_EQ(n.record().byteLength, 4);

    FixedPointBinary p = bin(2, 1, 0);
    p.power(bin(10, 2, 0), 0);
    expectRecord(p, 1024, 31, 0, 8, true);
    FixedPointBinary root = bin(2, 1, 0, false);
    root.power(bin(-1, 1, 0), 2);
    expectRecord(root, 50, 31, -2, 8, true);
    FixedPointBinary zero = bin(0, 1, 0);
    EXPECT_EQ(codeOf([&] { zero.power(bin(-1, 1, 0), 0); }), InvalidOp::RTRC_DivideByZero);
    expectRecord(zero, 0, 1, 0, 2, true);
}

TEST_F(FixedPointBinaryTest, FromDecimalValuesAndText)
{
    expectRecord(FixedPointBinary(PackedDecimal("-12.34")), -1234, 4, -2, 2, true);
    expectRecord(FixedPointBinary(PackedDecimal("12.34")), 1234, 4, -2, 2, false);
    // A zoned value with a sign position is signed, whichever its sign.
    expectRecord(FixedPointBinary(ZonedDecimal("123456")), 123456, 6, 0, 4, true);
    expectRecord(FixedPointBinary(ZonedDecimal(zonedRec(3, 1, 4), bs("60F1F2F3"))), -123, 3, -1, 2, true);
    expectRecord(FixedPointBinary(NationalDecimal(-45LL)), -45, 2, 0, 2, true);

    FixedPointBinary into(PackedDecimal("12.345"), binaryRec(4, 5, -2, true));
    EXPECT_EQ(into.value(), 1234u);
    FixedPointBinary scaled(ZonedDecimal(zonedScaled(2, 2, 3), bs("F2C3")), binaryRec(4, 6, 0, true));
    EXPECT_EQ(scaled.value(), 2300u);
    FixedPointBinary negative(ZonedDecimal("-7.5"), binaryRec(2, 3, -1, true));
    EXPECT_EQ(static_cast<long long>(negative.value()), -75);

    _TYPE_ENTRY entry = entryOf(binaryRec(2, 3, -1, true));
    FixedPointBinary t("-12.5", TypeItem(TYPE_INDEX{7, 1}, &entry, false));
    EXPECT_EQ(static_cast<long long>(t.value()), -125);
    EXPECT_EQ(t.scale(), -1);
}
