#include "datatypes/NationalDecimalRoutines.h"

#include "DecimalBytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

using decimaltest::bytes;
using decimaltest::hex;
using decimaltest::national;
using decimaltest::nationalText;

namespace {

TEST(NationalRedigit, AlignsTruncatesAndSigns)
{
    struct Case {
        char const* src;
        int p1, d1, k1, p2, d2, k2;
        char const* expected;
    } const cases[] = {
        {"00-", 2, 0, 5, 3, 0, 5, "000+"},                                         // minus zero becomes plus zero
        {"12345", 5, 2, 0, 3, 1, 0, "234"},                                        // 123.45 -> 23.4, no rounding
        {"123+", 3, 0, 5, 2, 0, 4, "+23"},   {"-123", 3, 0, 4, 5, 2, 5, "12300-"}, // -123 -> -123.00
        {"-123", 3, 1, 4, 4, 3, 5, "2300-"},                                       // -12.3 -> -2.300
        {"123", 3, 0, 0, 3, 0, 5, "123+"},                                         // no sign unit reads as plus
        {"123-", 3, 0, 5, 3, 0, 0, "123"},                                         // no sign unit written
        {"9-", 1, 0, 5, 1, 0, 4, "-9"},
    };
    for (auto const& c : cases) {
        auto src = national(c.src);
        std::size_t units = std::strlen(c.expected);
        unsigned char const* r = dtConvertNationalDecimal(src.data(), c.p1, c.d1, c.k1, c.p2, c.d2, c.k2);
        ASSERT_NE(r, nullptr) << c.src;
        EXPECT_EQ(nationalText(r, units), c.expected) << c.src;
        EXPECT_EQ(r[2 * units], 0xEE) << c.src;
    }
}

TEST(NationalRedigit, HoldsSeventyTwoDigitsAndRefusesMore)
{
    std::string text(72, '9');
    auto src = national(text + "-");
    unsigned char const* r = dtConvertNationalDecimal(src.data(), 72, 0, 5, 72, 0, 4);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(nationalText(r, 73), "-" + text);
    EXPECT_EQ(r[146], 0xEE);
    EXPECT_EQ(dtConvertNationalDecimal(src.data(), 72, 0, 5, 73, 0, 5), nullptr);
    EXPECT_EQ(dtConvertNationalDecimal(src.data(), 73, 0, 5, 3, 0, 5), nullptr);
    EXPECT_EQ(dtConvertNationalDecimal(src.data(), 3, 0, 5, 2, 3, 5), nullptr);

    // Zoned and packed sources of 72 digits convert without overrunning.
    std::vector<unsigned char> zoned(72, 0xF9);
    zoned.back() = 0xD9;
    r = dtConvertZonedDecimal2NationalDecimal(zoned.data(), 72, 0, 1, 5, 1, 3);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(nationalText(r, 73), text + "-");
    std::vector<unsigned char> packed(37, 0x99);
    packed.back() = 0x9D;
    packed.front() = 0x09;
    r = dtConvertPackedDecimal2NationalDecimal(packed.data(), 72, 0, 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(nationalText(r, 73), text + "-");
    EXPECT_EQ(dtConvertPackedDecimal2NationalDecimal(packed.data(), 73, 0, 1), nullptr);
    EXPECT_EQ(dtConvertFixedPointBinary2NationalDecimal(1, 73, 0, 1, 5), nullptr);
}

TEST(NationalZoned, ConvertsBothWays)
{
    struct ToZoned {
        char const* src;
        int p, d, signedFlag, k;
        char const* zoned;
    } const toZoned[] = {
        {"123-", 3, 0, 1, 5, "F1F2D3"}, {"-123", 3, 0, 1, 4, "F1F2D3"}, {"+123", 3, 0, 1, 4, "F1F2C3"},
        {"123-", 3, 0, 0, 5, "F1F2F3"}, {"123", 3, 1, 1, 0, "F1F2C3"},
    };
    for (auto const& c : toZoned) {
        auto src = national(c.src);
        EXPECT_EQ(hex(dtConvertNationalDecimal2ZonedDecimal(src.data(), c.p, c.d, c.signedFlag, c.k), c.p), c.zoned)
            << c.src;
    }
    struct FromZoned {
        char const* zoned;
        int p, targetKind, sourceSigned, sourceKind;
        char const* expected;
    } const fromZoned[] = {
        {"F1F2D3", 3, 5, 1, 3, "123-"}, {"F1F2D3", 3, 4, 1, 3, "-123"}, {"60F1F2", 2, 5, 1, 4, "12-"},
        {"F1F24E", 2, 4, 1, 5, "+12"},  {"D1F2", 2, 5, 1, 2, "12-"},    {"F1F2D3", 3, 5, 0, 3, "123+"},
        {"F1F2", 2, 5, 1, 0, "12+"},    {"F1F2D3", 3, 0, 1, 3, "123"},
    };
    for (auto const& c : fromZoned) {
        auto zoned = bytes(c.zoned);
        unsigned char const* r =
            dtConvertZonedDecimal2NationalDecimal(zoned.data(), c.p, 0, 1, c.targetKind, c.sourceSigned, c.sourceKind);
        EXPECT_EQ(nationalText(r, std::strlen(c.expected)), c.expected) << c.zoned;
    }
}

TEST(NationalPacked, ConvertsBothWays)
{
    struct ToPacked {
        char const* src;
        int p, signedFlag, k;
        char const* packed;
    } const toPacked[] = {
        {"123-", 3, 1, 5, "123D"}, {"+12", 2, 1, 4, "012C"},     {"12-", 2, 0, 5, "012F"},
        {"12", 2, 1, 0, "012C"},   {"1234-", 4, 1, 5, "01234D"},
    };
    for (auto const& c : toPacked) {
        auto src = national(c.src);
        EXPECT_EQ(hex(dtConvertNationalDecimal2PackedDecimal(src.data(), c.p, 0, c.signedFlag, c.k), c.p / 2 + 1),
                  c.packed)
            << c.src;
    }
    struct FromPacked {
        char const* packed;
        int p, signedFlag;
        char const* expected;
    } const fromPacked[] = {
        {"123D", 3, 1, "123-"}, {"012C", 2, 1, "12+"},  {"123D", 3, 0, "123+"},
        {"5B", 1, 1, "5-"},     {"123F", 3, 1, "123+"},
    };
    for (auto const& c : fromPacked) {
        auto packed = bytes(c.packed);
        EXPECT_EQ(nationalText(dtConvertPackedDecimal2NationalDecimal(packed.data(), c.p, 0, c.signedFlag),
                               std::strlen(c.expected)),
                  c.expected)
            << c.packed;
    }
}

TEST(NationalBinary, ConvertsIntegers)
{
    struct Case {
        long long value;
        int p, signedFlag, k;
        char const* expected;
    } const cases[] = {
        {12345, 3, 1, 5, "345+"}, {-7, 2, 1, 4, "-07"}, {-7, 2, 1, 5, "07-"},
        {-1, 3, 0, 5, "615+"},    {42, 2, 0, 0, "42"},  {LLONG_MIN, 19, 1, 5, "9223372036854775808-"},
    };
    for (auto const& c : cases) {
        unsigned char const* r =
            dtConvertFixedPointBinary2NationalDecimal(static_cast<std::uint64_t>(c.value), c.p, 0, c.signedFlag, c.k);
        EXPECT_EQ(nationalText(r, std::strlen(c.expected)), c.expected) << c.value;
    }

    auto minus42 = national("042-");
    std::uint32_t negative = 9;
    EXPECT_EQ(dtConvertNationalDecimal2FixedPointBinary(minus42.data(), 3, 0, &negative, 5), -42);
    EXPECT_EQ(negative, 1u);
    auto plus42 = national("+42");
    EXPECT_EQ(dtConvertNationalDecimal2FixedPointBinary(plus42.data(), 2, 1, &negative, 4), 42);
    EXPECT_EQ(negative, 0u);

    std::uint32_t p = 0, d = 9;
    EXPECT_EQ(nationalText(dtConvertLonglong2NationalDecimal(-45, &p, &d), 3), "45-");
    EXPECT_EQ(p, 2u);
    EXPECT_EQ(d, 0u);
    EXPECT_EQ(nationalText(dtConvertUnLonglong2NationalDecimal(0, &p, &d), 2), "0+");
    EXPECT_EQ(p, 1u);
    EXPECT_EQ(nationalText(dtConvertUnLonglong2NationalDecimal(ULLONG_MAX, &p, &d), 21), "18446744073709551615+");
    EXPECT_EQ(p, 20u);
    EXPECT_EQ(nationalText(dtConvertLonglong2NationalDecimal(LLONG_MIN, &p, &d), 20), "9223372036854775808-");
    EXPECT_EQ(p, 19u);
}

TEST(NationalFormat, WritesEbcdicText)
{
    struct Case {
        char const* src;
        int p, d, k;
        char const* expected;
    } const cases[] = {
        {"0123-", 4, 1, 5, "60F1F24BF3C4"}, {"+0123", 4, 0, 4, "F1F2F34BF0C4"}, {"000+", 3, 2, 5, "F04BF0F0C4"},
        {"007", 3, 0, 0, "F74BF0C4"},       {"05-", 2, 2, 5, "604BF0F5C4"},
    };
    for (auto const& c : cases) {
        auto src = national(c.src);
        unsigned char const* r = dtFormatNationalDecimal(src.data(), c.p, c.d, c.k);
        ASSERT_NE(r, nullptr) << c.src;
        std::size_t len = std::strlen(c.expected) / 2;
        EXPECT_EQ(hex(r, len + 1), std::string(c.expected) + "00") << c.src;
    }
    auto src = national("1234");
    EXPECT_EQ(dtFormatNationalDecimal(src.data(), 0, 0, 0), nullptr);
    EXPECT_EQ(dtFormatNationalDecimal(src.data(), 2, 3, 0), nullptr);
    EXPECT_EQ(dtFormatNationalDecimal(src.data(), 32, 0, 0), nullptr);
    EXPECT_EQ(dtFormatNationalDecimal(src.data(), 31, 32, 0), nullptr);
    std::string max(31, '9');
    auto big = national(max + "-");
    unsigned char const* r = dtFormatNationalDecimal(big.data(), 31, 31, 5);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r[0], 0x60);
    EXPECT_EQ(r[1], 0x4B);
    EXPECT_EQ(r[33], 0xC4);
    EXPECT_EQ(r[34], 0x00);
}

TEST(NationalText, ReadsIntegerParts)
{
    EXPECT_EQ(dtConvertNDstring2LongLong("\x60\xF1\xF2\x4B\xF3\xC4", 0), -12);
    EXPECT_EQ(dtConvertNDstring2LongLong("-45.9", 1), -45);
    EXPECT_EQ(dtConvertNDstring2LongLong("45", 1), 45);
}

TEST(NationalText, RefusesOutOfRangeSizes)
{
    EXPECT_EQ(dtConvertNDstring2NationalDecimal("1", 32, 0, 0, 0), nullptr);
    EXPECT_EQ(dtConvertNDstring2NationalDecimal("1", 31, 32, 0, 0), nullptr);
    EXPECT_EQ(dtConvertNDstring2NationalDecimal("1", 0, 0, 0, 0), nullptr);
    EXPECT_EQ(dtConvertNDstring2NationalDecimal("1", 2, 3, 0, 0), nullptr);
    EXPECT_EQ(dtConvertNDstring2NationalDecimal(nullptr, 2, 0, 0, 0), nullptr);
    EXPECT_EQ(dtConvertLongDouble2NationalDecimal(1.0L, 32, 0), nullptr);
}

TEST(NationalArithmetic, ComparesNegatesAddsAndSubtracts)
{
    auto a = national("123+"), b = national("0120-"), z = national("0-"), zp = national("0+");
    EXPECT_EQ(dtCompareNationalDecimal(a.data(), 3, 0, b.data(), 4, 1), 1);
    EXPECT_EQ(dtCompareNationalDecimal(b.data(), 4, 1, a.data(), 3, 0), -1);
    EXPECT_EQ(dtCompareNationalDecimal(a.data(), 3, 0, a.data(), 3, 0), 0);
    EXPECT_EQ(dtCompareNationalDecimal(z.data(), 1, 0, zp.data(), 1, 0), -1);
    EXPECT_EQ(nationalText(dtNegateNationalDecimal(a.data(), 3), 4), "123-");
    EXPECT_EQ(nationalText(dtNegateNationalDecimal(b.data(), 4), 5), "0120+");

    struct Case {
        bool subtract;
        char const* a;
        int pa, da;
        char const* b;
        int pb, db, pr, dr;
        char const* expected;
    } const cases[] = {
        {false, "99+", 2, 0, "1+", 1, 0, 3, 0, "100+"},
        {false, "123+", 3, 0, "0120-", 4, 1, 5, 1, "01110+"}, // 123 + -12.0 = 111.0
        {false, "5-", 1, 0, "5+", 1, 0, 2, 0, "00-"},
        {false, "5+", 1, 0, "5-", 1, 0, 2, 0, "00+"},
        {true, "5-", 1, 0, "3-", 1, 0, 2, 0, "02-"},
        {true, "3-", 1, 0, "5-", 1, 0, 2, 0, "02+"},
        {true, "3+", 1, 0, "5+", 1, 0, 2, 0, "02-"},
        {true, "5-", 1, 0, "3+", 1, 0, 2, 0, "08-"},
        {true, "10+", 2, 1, "005+", 3, 2, 4, 2, "0095+"}, // 1.0 - 0.05
        {false, "999+", 3, 0, "1+", 1, 0, 2, 0, "00+"},   // high digits cut
    };
    for (auto const& c : cases) {
        auto x = national(c.a), y = national(c.b);
        unsigned char const* r = c.subtract
                                     ? dtSubtractNationalDecimal(x.data(), c.pa, c.da, y.data(), c.pb, c.db, c.pr, c.dr)
                                     : dtAddNationalDecimal(x.data(), c.pa, c.da, y.data(), c.pb, c.db, c.pr, c.dr);
        EXPECT_EQ(nationalText(r, std::strlen(c.expected)), c.expected) << c.a << (c.subtract ? " - " : " + ") << c.b;
    }
    EXPECT_EQ(dtAddNationalDecimal(a.data(), 3, 0, b.data(), 4, 1, 73, 0), nullptr);
}

} // namespace

namespace {

TEST(NationalText, ConvertsDecimalTextWithRounding)
{
    struct Case {
        char const* text;
        int p, d, round;
        char const* expected;
    } const cases[] = {
        {"12.345", 5, 2, 1, "01235+"},
        {"12.345", 5, 2, 0, "01234+"},
        {"-12.345", 5, 2, 1, "01235-"},
        {"12.344", 5, 2, 1, "01234+"},
        {"\x60\xF1\xF2\x4B\xF3\xF4\xF6", 4, 2, 1, "1235-"},
        {"99.99", 3, 1, 1, "000+"}, // the carry out of the top digit is lost
        {"7", 2, 0, 1, "07+"},
        {"-0.004", 2, 2, 1, "00+"},
        {"-0.005", 2, 2, 1, "01-"},
        {"  -1.25", 2, 1, 1, "13-"},
    };
    for (auto const& c : cases) {
        unsigned char const* r = dtConvertNDstring2NationalDecimal(c.text, c.p, c.d, 0, c.round);
        EXPECT_EQ(nationalText(r, std::strlen(c.expected)), c.expected) << c.text;
    }
    EXPECT_EQ(nationalText(dtConvertLongDouble2NationalDecimal(-3.75L, 3, 2), 4), "375-");
    EXPECT_EQ(nationalText(dtConvertLongDouble2NationalDecimal(42.0L, 2, 0), 3), "42+");
    EXPECT_EQ(nationalText(dtConvertLongDouble2NationalDecimal(std::ldexp(1.0L, 240), 4, 1), 5), "7760+");
    EXPECT_EQ(dtConvertLongDouble2NationalDecimal(__builtin_infl(), 3, 0), nullptr);
}

TEST(NationalLiteral, ReportsDigitsAndDecimals)
{
    struct Case {
        char const* text;
        unsigned p, d;
        char const* tail; // the last packed bytes of the 31-byte area
    } const cases[] = {
        {"-12.50", 4, 2, "01250D"}, {"0.05", 2, 2, "00005C"},
        {"7", 1, 0, "00007C"},      {"12345678901234567890", 20, 0, "012345678901234567890C"},
        {"1E3", 4, 0, "01000C"},
    };
    for (auto const& c : cases) {
        unsigned char area[65];
        std::memset(area, 0xAA, sizeof area);
        std::uint32_t p = 0, d = 99;
        ASSERT_EQ(dtGetNationalDecimalWithPropertries(c.text, area, &p, &d, 0), area) << c.text;
        EXPECT_EQ(p, c.p) << c.text;
        EXPECT_EQ(d, c.d) << c.text;
        std::size_t n = std::strlen(c.tail) / 2;
        EXPECT_EQ(hex(area + 31 - n, n), c.tail) << c.text;
        EXPECT_EQ(area[31], 0x00) << "the rest of the area is cleared";
    }
    unsigned char area[65];
    std::uint32_t p = 0, d = 0;
    EXPECT_EQ(dtGetNationalDecimalWithPropertries("12x", area, &p, &d, 0), nullptr);
    EXPECT_EQ(dtGetNationalDecimalWithPropertries(std::string(62, '9').c_str(), area, &p, &d, 0), nullptr);
}

TEST(NationalArithmetic, MultipliesDividesAndRaisesThroughPacked)
{
    auto twelve = national("12+"), half = national("05+"), three = national("3-"), zero = national("00-");
    EXPECT_EQ(nationalText(dtMultiplyNationalDecimal(twelve.data(), 2, 0, half.data(), 2, 1, 4, 1), 5), "0060+");
    EXPECT_EQ(nationalText(dtDivideNationalDecimal(twelve.data(), 2, 0, three.data(), 1, 0, 4, 2), 5), "0400-");
    EXPECT_EQ(dtDivideNationalDecimal(twelve.data(), 2, 0, zero.data(), 2, 0, 4, 2), nullptr);
    auto exponent = national("3+");
    EXPECT_EQ(nationalText(dtPowerNationalDecimal(twelve.data(), 2, 0, exponent.data(), 1, 0, 5, 0), 6), "01728+");
}

} // namespace
