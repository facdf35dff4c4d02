#include "datatypes/ZonedDecimalRoutines.h"

#include "DecimalBytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>

using decimaltest::bytes;
using decimaltest::hex;

namespace {

// The sign each kind reads, seen through the binary converter's sign output.
TEST(ZonedSignKinds, ReadsTheSignOfEveryKind)
{
    struct Case {
        char const* item;
        int n;
        int kind;
        int sign;
    } const cases[] = {
        {"F1F2D3", 3, 3, -1}, {"F1F2D3", 3, 2, 1},  {"F1F2D3", 3, 0, 0}, {"F1F2D3", 3, 1, 0},  {"F1F2B3", 3, 3, -1},
        {"F1F2A3", 3, 3, 1},  {"F1F2E3", 3, 3, 1},  {"F1F233", 3, 3, 0}, {"D1F2F3", 3, 2, -1}, {"C1F2F3", 3, 2, 1},
        {"41F2F3", 3, 2, 0},  {"60F1F2", 2, 4, -1}, {"4EF1F2", 2, 4, 1}, {"F0F1F2", 2, 4, 1},  {"F1F260", 2, 5, -1},
        {"F1F24E", 2, 5, 1},  {"F1F240", 2, 5, 1},  {"F1F2D3", 3, 6, 0},
    };
    for (auto const& c : cases) {
        auto item = bytes(c.item);
        std::uint32_t sign = 99;
        dtConvertZonedDecimal2FixedPointBinary(item.data(), c.n, 0, 1, c.kind, &sign, 0);
        EXPECT_EQ(static_cast<int>(sign), c.sign) << c.item << " kind " << c.kind;
    }
}

TEST(ZonedSignKinds, WritesTheSignOfEveryKind)
{
    struct Case {
        long long value;
        int signedFlag;
        int kind;
        char const* expected;
    } const cases[] = {
        {-12, 1, 0, "F1F2"},   {-12, 1, 1, "F1F2"},  {-12, 1, 2, "D1F2"}, {-12, 1, 3, "F1D2"},  {-12, 1, 4, "60F1F2"},
        {-12, 1, 5, "F1F260"}, {12, 1, 2, "C1F2"},   {12, 1, 3, "F1C2"},  {12, 1, 4, "4EF1F2"}, {12, 1, 5, "F1F24E"},
        {12, 0, 3, "F1C2"},    {12, 0, 5, "F1F24E"}, {12, 0, 0, "F1F2"},  {-1, 0, 0, "F1F5"},   {12345, 1, 3, "F4C5"},
    };
    for (auto const& c : cases) {
        unsigned char const* r =
            dtConvertFixedPointBinary2ZonedDecimal(static_cast<std::uint64_t>(c.value), 2, 0, c.signedFlag, c.kind);
        std::size_t len = std::strlen(c.expected) / 2;
        EXPECT_EQ(hex(r, len), c.expected) << c.value << " kind " << c.kind;
    }
}

TEST(ZonedRedigit, AlignsTruncatesAndRewritesTheSign)
{
    struct Case {
        char const* src;
        int ps, ss, ks, pd, sd, kd;
        char const* expected;
    } const cases[] = {
        {"F0D0", 2, 0, 3, 2, 0, 5, "F0F04E"},                                                   // no negative zero
        {"F0D0", 2, 0, 3, 2, 0, 3, "F0C0"},         {"F1F2F3F4F5", 5, 2, 0, 3, 1, 3, "F2F3C4"}, // 123.45 -> 23.4
        {"60F1F2", 2, 0, 4, 4, 1, 5, "F0F1F2F060"},                                             // -12 -> -012.0
        {"F1F2F3D4", 4, 2, 3, 3, 0, 4, "60F0F1F2"},                                             // -12.34 -> -012
        {"D1F2F3", 3, 1, 2, 5, 3, 2, "D1F2F3F0F0"},                                             // -12.3 -> -12.300
        {"F1F2F360", 3, 0, 5, 2, 0, 0, "F2F3"}, // unsigned target drops the sign
        {"F1F2F3", 3, 0, 0, 3, 0, 3, "F1F2C3"}, // no sign reads as plus
    };
    for (auto const& c : cases) {
        auto src = bytes(c.src);
        unsigned char const* r = dtConvertZonedDecimal(src.data(), c.ps, c.ss, c.ks, c.pd, c.sd, c.kd);
        std::size_t len = std::strlen(c.expected) / 2;
        ASSERT_NE(r, nullptr) << c.src;
        EXPECT_EQ(hex(r, len), c.expected) << c.src;
        EXPECT_EQ(r[len], 0xEE) << "bytes past the result are filled with EE";
    }
}

TEST(ZonedRedigit, HoldsSeventyTwoDigitsWithASeparateSignAndRefusesMore)
{
    std::string digits(72, '\xF9');
    std::vector<unsigned char> src(digits.begin(), digits.end());
    src.push_back(0x60);
    unsigned char const* r = dtConvertZonedDecimal(src.data(), 72, 0, 5, 72, 0, 4);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r[0], 0x60);
    EXPECT_EQ(r[72], 0xF9);
    EXPECT_EQ(r[73], 0xEE);
    r = dtConvertZonedDecimal(src.data(), 72, 0, 5, 72, 0, 5);
    EXPECT_EQ(r[72], 0x60);

    EXPECT_EQ(dtConvertZonedDecimal(src.data(), 72, 0, 5, 73, 0, 5), nullptr);
    EXPECT_EQ(dtConvertZonedDecimal(src.data(), 73, 0, 5, 3, 0, 5), nullptr);
    EXPECT_EQ(dtConvertZonedDecimal(src.data(), 3, 0, 5, 2, 3, 5), nullptr);
    EXPECT_EQ(dtConvertZonedDecimal(src.data(), 3, 0, 5, 0, 0, 5), nullptr);
    EXPECT_EQ(dtConvertZonedDecimal(src.data(), 3, -1, 5, 3, 0, 5), nullptr);
}

TEST(ZonedCompare, ComparesAcrossSignKindsAndScales)
{
    struct Case {
        char const* a;
        int pa, sa, ka;
        char const* b;
        int pb, sb, kb;
        int expected;
    } const cases[] = {
        {"60F5", 1, 0, 4, "F3", 1, 0, 0, -1},
        {"F3", 1, 0, 0, "60F5", 1, 0, 4, 1},
        {"F1F2D3", 3, 0, 3, "F1F2F360", 3, 0, 5, 0},
        {"D1F2F3", 3, 0, 2, "60F1F2F3", 3, 0, 4, 0},
        {"F1F5F0", 3, 2, 0, "F1C5", 2, 1, 3, 0},      // 1.50 = 1.5
        {"F1C2", 2, 0, 3, "F1C2", 2, 1, 3, 1},        // 12 > 1.2
        {"F1D2", 2, 0, 3, "F1D2", 2, 1, 3, -1},       // -12 < -1.2
        {"F0D0", 2, 0, 3, "F0F0", 2, 0, 0, -1},       // negative zero below zero
        {"F0F0F0F1C2", 5, 0, 3, "F1F3", 2, 0, 0, -1}, // leading zeros
        {"F1F2F3F4F5F6", 6, 3, 0, "F1F2F3F4F5F7", 6, 3, 0, -1},
        {"F1F24E", 2, 0, 5, "F1F2F0F0F1", 5, 3, 1, -1}, // 12 < 12.001
        {"F1F2F3", 3, 0, 0, "F1F2F3", 3, 0, 6, 0},
    };
    for (auto const& c : cases) {
        auto a = bytes(c.a), b = bytes(c.b);
        EXPECT_EQ(dtCompareZonedDecimal(a.data(), c.pa, c.sa, c.ka, b.data(), c.pb, c.sb, c.kb, 0), c.expected)
            << c.a << " vs " << c.b;
    }
}

TEST(ZonedCompare, ComparesNationalOperands)
{
    auto minus12 = decimaltest::national("12-");
    auto leadingMinus12 = decimaltest::national("-12");
    auto plus12 = decimaltest::national("+12");
    auto plus120 = decimaltest::national("120+");
    EXPECT_EQ(dtCompareZonedDecimal(minus12.data(), 2, 0, 5, leadingMinus12.data(), 2, 0, 4, 1), 0);
    EXPECT_EQ(dtCompareZonedDecimal(minus12.data(), 2, 0, 5, plus12.data(), 2, 0, 4, 1), -1);
    EXPECT_EQ(dtCompareZonedDecimal(plus12.data(), 2, 0, 4, plus120.data(), 3, 1, 5, 1), 0);
    EXPECT_EQ(dtCompareZonedDecimal(plus12.data(), 2, 0, 4, plus120.data(), 3, 0, 5, 1), -1);
}

TEST(ZonedCopyNegate, RewritesTheSignInItsWrittenForm)
{
    struct Case {
        char const* src;
        int n, kind;
        char const* copied;
        char const* negated;
    } const cases[] = {
        {"F1F2B3", 3, 3, "F1F2D3", "F1F2C3"}, {"F1F2A3", 3, 3, "F1F2C3", "F1F2D3"},
        {"F1F233", 3, 3, "F1F2C3", "F1F2C3"}, {"B1F2", 2, 2, "D1F2", "C1F2"},
        {"60F1F2", 2, 4, "60F1F2", "4EF1F2"}, {"F1F240", 2, 5, "F1F24E", "F1F260"},
        {"F1F2", 2, 0, "F1F2", "F1F2"},       {"F1C2", 2, 1, "F1F2", "F1D2"},
    };
    for (auto const& c : cases) {
        auto src = bytes(c.src);
        std::size_t len = std::strlen(c.copied) / 2;
        EXPECT_EQ(hex(dtCopyZonedDecimal(src.data(), c.n, 0, c.kind), len), c.copied) << c.src;
        dtNegateZonedDecimal(src.data(), c.n, c.kind);
        EXPECT_EQ(hex(src.data(), len), c.negated) << c.src;
    }
}

TEST(ZonedScale, ScaleAndCompressAreInverse)
{
    struct Case {
        char const* src;
        int n, kind, k;
        char const* scaled;
    } const cases[] = {
        {"F1F2C3", 3, 3, 2, "F1F2F3F0C0"},  {"F1F2C3", 3, 3, -2, "F0F0F1F2C3"}, {"D1F2F3", 3, 2, 2, "D1F2F3F0F0"},
        {"D1F2F3", 3, 2, -2, "D0F0F1F2F3"}, {"60F1F2", 2, 4, 1, "60F1F2F0"},    {"60F1F2", 2, 4, -1, "60F0F1F2"},
        {"F1F260", 2, 5, 1, "F1F2F060"},    {"F1F260", 2, 5, -1, "F0F1F260"},   {"F1F2", 2, 0, 1, "F1F2F0"},
        {"F1C2", 2, 1, 1, "F1F2F0"},
    };
    for (auto const& c : cases) {
        auto src = bytes(c.src);
        std::size_t len = std::strlen(c.scaled) / 2;
        unsigned char const* scaled = dtScaleZonedDecimal1(src.data(), c.n, c.kind, c.k);
        ASSERT_EQ(hex(scaled, len), c.scaled) << c.src << " k " << c.k;
        EXPECT_EQ(scaled[len], 0xEE);
        auto copy = bytes(c.scaled);
        int m = c.k < 0 ? -c.k : c.k;
        unsigned char const* back = dtCompressZonedDecimal1(copy.data(), c.n + m, c.kind, c.k);
        std::string expected = hex(src.data(), src.size());
        if (c.kind == 1)
            expected = "F1F2"; // kind 1 keeps no sign
        EXPECT_EQ(hex(back, src.size()), expected) << c.src << " k " << c.k;
    }
}

TEST(ZonedScale, ZeroShiftCopiesAndOversizeIsRefused)
{
    auto src = bytes("F1F2D3");
    EXPECT_EQ(hex(dtScaleZonedDecimal1(src.data(), 3, 3, 0), 3), "F1F2D3");
    EXPECT_EQ(hex(dtCompressZonedDecimal1(src.data(), 3, 3, 0), 3), "F1F2D3");
    EXPECT_EQ(dtScaleZonedDecimal1(src.data(), 3, 3, 70), nullptr);
    EXPECT_EQ(dtCompressZonedDecimal1(src.data(), 3, 3, 3), nullptr);
    EXPECT_EQ(dtCompressZonedDecimal1(src.data(), 3, 3, -4), nullptr);
}

TEST(ZonedBinary, ConvertsToIntegers)
{
    auto neg = bytes("F1F2F3F4D5"); // -123.45
    std::uint32_t sign = 0;
    EXPECT_EQ(dtConvertZonedDecimal2FixedPointBinary(neg.data(), 5, 0, 1, 3, &sign, 1), -12345);
    EXPECT_EQ(static_cast<int>(sign), -1);
    EXPECT_EQ(dtConvertZonedDecimal2FixedPointBinary(neg.data(), 5, 0, 1, 3, &sign, 0), 12345);
    EXPECT_EQ(dtConvertZonedDecimal2FixedPointBinary(neg.data(), 5, 0, 0, 3, nullptr, 1), 12345);
    // A signed item without a sign position is not negative.
    auto plain = bytes("F4F2");
    EXPECT_EQ(dtConvertZonedDecimal2FixedPointBinary(plain.data(), 2, 0, 1, 0, &sign, 1), 42);

    struct Case {
        int targetScale;
        int signedResult;
        long long expected;
    } const cases[] = {
        {0, 1, -123}, {-2, 1, -12345}, {-4, 1, -1234500}, {-1, 1, -1234},   {1, 1, -12},
        {2, 1, -1},   {3, 1, 0},       {0, 0, 123},       {-4, 0, 1234500},
    };
    for (auto const& c : cases)
        EXPECT_EQ(dtConvertZonedDecimal2FixedPointBinary2(neg.data(), 5, 2, c.signedResult, 3, 1, 0, c.targetScale),
                  c.expected)
            << "target scale " << c.targetScale;
    auto sep = bytes("60F1F2F3F4F5"); // kind 4: -123.45
    EXPECT_EQ(dtConvertZonedDecimal2FixedPointBinary2(sep.data(), 5, 2, 1, 4, 1, 0, -2), -12345);
    EXPECT_EQ(dtConvertZonedDecimal2FixedPointBinary2(sep.data(), 5, 2, 1, 4, 0, 0, -2), 12345);
}

TEST(ZonedBinary, ConvertsFromIntegers)
{
    std::uint32_t digits = 0, decimals = 9;
    EXPECT_EQ(hex(dtConvertLonglong2ZonedDecimal(7, &digits, &decimals), 1), "C7");
    EXPECT_EQ(digits, 1u);
    EXPECT_EQ(decimals, 0u);
    EXPECT_EQ(hex(dtConvertLonglong2ZonedDecimal(-12, &digits, &decimals), 2), "F1D2");
    EXPECT_EQ(hex(dtConvertLonglong2ZonedDecimal(0, &digits, &decimals), 1), "C0");
    EXPECT_EQ(hex(dtConvertLonglong2ZonedDecimal(LLONG_MIN, &digits, &decimals), 19),
              "F9F2F2F3F3F7F2F0F3F6F8F5F4F7F7F5F8F0D8");
    EXPECT_EQ(digits, 19u);
    EXPECT_EQ(hex(dtConvertUnLonglong2ZonedDecimal(ULLONG_MAX, &digits, &decimals), 20),
              "F1F8F4F4F6F7F4F4F0F7F3F7F0F9F5F5F1F6F1C5");
    EXPECT_EQ(digits, 20u);
    EXPECT_EQ(hex(dtConvertUnLonglong2ZonedDecimal(0, &digits, &decimals), 1), "C0");
}

TEST(ZonedCharstring, ReadsEbcdicNumbers)
{
    struct Case {
        char const* text;
        char const* expected;
        unsigned digits, decimals;
    } const cases[] = {
        {"60F1F24BF5", "F1F2D5", 3, 1}, {"F1C1", "F0", 1, 0},     {"4EF4F2", "F4C2", 2, 0}, {"F4F2", "F4F2", 2, 0},
        {"4BF5", "F5", 1, 1},           {"F1F24B", "F1F2", 2, 0}, {"", "F0", 1, 0},         {"60", "F0", 1, 0},
        {"F14BF24BF3", "F0", 1, 0},     {"60F1C1", "F0", 1, 0},
    };
    for (auto const& c : cases) {
        auto text = bytes(c.text);
        text.push_back(0);
        std::uint32_t digits = 0, decimals = 0;
        unsigned char const* r = dtConvertCharstring2ZonedDecimal(text.data(), &digits, &decimals);
        std::size_t len = std::strlen(c.expected) / 2;
        EXPECT_EQ(hex(r, len), c.expected) << c.text;
        EXPECT_EQ(r[len], 0) << "NUL-terminated";
        EXPECT_EQ(digits, c.digits) << c.text;
        EXPECT_EQ(decimals, c.decimals) << c.text;
    }
    std::vector<unsigned char> longText(80, 0xF1);
    longText.push_back(0);
    std::uint32_t digits = 0, decimals = 0;
    dtConvertCharstring2ZonedDecimal(longText.data(), &digits, &decimals);
    EXPECT_EQ(digits, 72u);
}

TEST(ZonedPacked, ConvertsBothWays)
{
    struct Case {
        char const* packed;
        int p;
        int signedFlag;
        char const* zoned;
    } const toZoned[] = {
        {"123D", 3, 1, "F1F2D3"}, {"012D", 2, 1, "F1D2"},   {"123F", 3, 0, "F1F2F3"},
        {"123C", 3, 1, "F1F2C3"}, {"123F", 3, 1, "F1F2C3"}, {"5B", 1, 1, "D5"},
    };
    for (auto const& c : toZoned) {
        auto packed = bytes(c.packed);
        EXPECT_EQ(hex(dtConvertPackedDecimal2ZonedDecimal(packed.data(), c.p, 0, c.signedFlag), c.p), c.zoned)
            << c.packed;
    }
    struct Back {
        char const* zoned;
        int p, signedFlag, kind;
        char const* packed;
    } const toPacked[] = {
        {"F1F2D3", 3, 1, 3, "123D"}, {"F1F260", 2, 1, 5, "012D"}, {"60F1F2", 2, 1, 4, "012D"},
        {"F1F260", 2, 0, 5, "012F"}, {"F1F2", 2, 1, 0, "012C"},   {"D1F2", 2, 1, 2, "012D"},
    };
    for (auto const& c : toPacked) {
        auto zoned = bytes(c.zoned);
        EXPECT_EQ(hex(dtConvertZonedDecimal2PackedDecimal(zoned.data(), c.p, 0, c.signedFlag, c.kind), c.p / 2 + 1),
                  c.packed)
            << c.zoned;
    }
    auto zoned = bytes("F1");
    EXPECT_EQ(dtConvertZonedDecimal2PackedDecimal(zoned.data(), 73, 0, 1, 3), nullptr);
}

TEST(ZonedFormat, WritesDecimalText)
{
    struct Case {
        char const* item;
        int p, s, kind;
        char const* text;
        long long integer;
    } const cases[] = {
        {"F1F2D5", 3, 1, 3, "-12.5D", -12},     {"F0F7", 2, 0, 0, "7.0D", 7},       {"F1F2C3", 3, 0, 3, "123.0D", 123},
        {"F0F1F2F560", 4, 1, 5, "-12.5D", -12}, {"60F0F0F1", 3, 2, 4, "-0.01D", 0}, {"F0F0C0", 3, 2, 3, "0.00D", 0},
        {"D0F0F5", 3, 3, 2, "-.005D", 0},       {"F0F0D0", 3, 0, 3, "-0.0D", 0},
    };
    for (auto const& c : cases) {
        auto item = bytes(c.item);
        char const* text = dtFormatZonedDecimal(item.data(), c.p, c.s, c.kind);
        ASSERT_NE(text, nullptr) << c.item;
        EXPECT_STREQ(text, c.text) << c.item;
        EXPECT_EQ(dtConvertZDstring2LongLong(text, 1), c.integer) << c.text;
    }
    auto item = bytes("F1F2F3");
    EXPECT_EQ(dtFormatZonedDecimal(item.data(), 2, 3, 3), nullptr);
    EXPECT_EQ(dtFormatZonedDecimal(item.data(), 73, 0, 3), nullptr);
    EXPECT_EQ(dtFormatZonedDecimal(item.data(), 40, 32, 3), nullptr);
    EXPECT_EQ(dtFormatZonedDecimal(item.data(), 0, 0, 3), nullptr);
    // A last byte without a sign zone comes back as it is.
    auto raw = bytes("F1F243");
    EXPECT_EQ(std::string(dtFormatZonedDecimal(raw.data(), 3, 0, 3)), std::string("\xF1\xF2\x43"));
}

TEST(ZonedText, ReadsIntegerParts)
{
    EXPECT_EQ(dtConvertZDstring2LongLong("-12.5D", 1), -12);
    EXPECT_EQ(dtConvertZDstring2LongLong("7.0D", 1), 7);
    EXPECT_EQ(dtConvertZDstring2LongLong("\x60\xF1\xF2\x4B\xF5", 0), -12);
    EXPECT_EQ(dtConvertZDstring2LongLong("\xF9\xF9", 0), 99);
    EXPECT_EQ(dtConvertZDstring2LongLong(nullptr, 1), 0);
}

TEST(ZonedAddSubtract, AddsDigitsWithCarryAndSign)
{
    auto a = bytes("F9F9"), b = bytes("F1");
    EXPECT_EQ(hex(dtAddZonedDecimal(a.data(), 2, 0, b.data(), 1, 0, 3, 0), 3), "F1F0C0");
    auto c = bytes("F9C9"), d = bytes("C1");
    EXPECT_EQ(hex(dtAddZonedDecimal(c.data(), 2, 0, d.data(), 1, 0, 3, 0), 3), "F1F0C0");
    // -5 + 5 keeps the minus of its row, 5 + -5 the plus.
    auto m5 = bytes("D5"), p5 = bytes("C5");
    EXPECT_EQ(hex(dtAddZonedDecimal(m5.data(), 1, 0, p5.data(), 1, 0, 2, 0), 2), "F0D0");
    EXPECT_EQ(hex(dtAddZonedDecimal(p5.data(), 1, 0, m5.data(), 1, 0, 2, 0), 2), "F0C0");
    // 1.0 - 0.05 borrows through the extra decimal.
    auto one = bytes("F1C0"), twentieth = bytes("F0F0C5");
    EXPECT_EQ(hex(dtSubtractZonedDecimal(one.data(), 2, 1, twentieth.data(), 3, 2, 4, 2), 4), "F0F0F9C5");
    // A result too short for the sum loses its high digits and nothing else.
    unsigned char const* r = dtAddZonedDecimal(a.data(), 2, 0, b.data(), 1, 0, 1, 0);
    EXPECT_EQ(hex(r, 2), "C000");
    EXPECT_EQ(dtAddZonedDecimal(a.data(), 2, 0, b.data(), 1, 0, 73, 0), nullptr);
    EXPECT_EQ(dtSubtractZonedDecimal(a.data(), 2, 0, b.data(), 1, 0, 2, 3), nullptr);
}

} // namespace

namespace {

struct ArithmeticCase {
    char const* op;
    char const* a;
    int pa, sa;
    char const* b;
    int pb, sb, pr, sr;
    char const* expected;
};

// Cases computed by Python's decimal module and, independently, by a GnuCOBOL
// program (COMPUTE with truncation); see gen/gen_zoned_arith.py.
ArithmeticCase const kArithmeticCases[] = {
#include "ZonedArithmeticCases.inc"
};

TEST(ZonedArithmetic, AgreesWithTheOracleTable)
{
    int checked = 0;
    for (auto const& c : kArithmeticCases) {
        auto a = bytes(c.a), b = bytes(c.b);
        std::string op = c.op;
        unsigned char const* r = nullptr;
        if (op == "add")
            r = dtAddZonedDecimal(a.data(), c.pa, c.sa, b.data(), c.pb, c.sb, c.pr, c.sr);
        else if (op == "sub")
            r = dtSubtractZonedDecimal(a.data(), c.pa, c.sa, b.data(), c.pb, c.sb, c.pr, c.sr);
        else if (op == "mul")
            r = dtMultiplyZonedDecimal(a.data(), c.pa, c.sa, b.data(), c.pb, c.sb, c.pr, c.sr);
        else
            r = dtDivideZonedDecimal(a.data(), c.pa, c.sa, b.data(), c.pb, c.sb, c.pr, c.sr);
        EXPECT_EQ(hex(r, static_cast<std::size_t>(c.pr)), c.expected)
            << op << " " << c.a << " (" << c.pa << "," << c.sa << ") " << c.b << " (" << c.pb << "," << c.sb
            << ") into (" << c.pr << "," << c.sr << ")";
        ++checked;
    }
    EXPECT_GE(checked, 300);
}

TEST(ZonedArithmetic, MultipliesDividesAndRaisesThroughPacked)
{
    auto twelve = bytes("F1C2"), three = bytes("C3"), zero = bytes("F0D0"), half = bytes("F0C5");
    std::string power;
    for (int i = 0; i < 27; ++i)
        power += "F0";
    EXPECT_EQ(hex(dtPowerZonedDecimal(twelve.data(), 2, 0, three.data(), 1, 0, 31, 0), 31), power + "F1F7F2C8");
    EXPECT_EQ(dtDivideZonedDecimal(twelve.data(), 2, 0, zero.data(), 2, 0, 4, 2), nullptr);
    EXPECT_EQ(hex(dtMultiplyZonedDecimal(twelve.data(), 2, 0, half.data(), 2, 1, 4, 1), 4), "F0F0F6C0");
    auto minusOne = bytes("D1");
    EXPECT_EQ(hex(dtDivideZonedDecimal(minusOne.data(), 1, 0, three.data(), 1, 0, 4, 3), 4), "F0F3F3D3");
    // Results of up to 72 digits, as the packed routines give them.
    std::string sixtyFour(61 * 2, 'F');
    for (size_t i = 1; i < sixtyFour.size(); i += 2)
        sixtyFour[i] = '0';
    EXPECT_EQ(hex(dtMultiplyZonedDecimal(twelve.data(), 2, 0, half.data(), 2, 1, 64, 1), 64), sixtyFour + "F0F6C0");
    EXPECT_EQ(dtMultiplyZonedDecimal(twelve.data(), 2, 0, half.data(), 2, 1, 73, 1), nullptr);

    // Division truncates every digit exactly: (10^31 - 2) / (10^31 - 1) is
    // 0.(30 nines)8 followed by more nines; 31 decimals keep the 8.
    std::string nines;
    for (int i = 0; i < 30; ++i)
        nines += "F9";
    auto almost = bytes(nines + "C8"), allNines = bytes(nines + "C9");
    EXPECT_EQ(hex(dtDivideZonedDecimal(almost.data(), 31, 0, allNines.data(), 31, 0, 31, 31), 31), nines + "C8");
}

TEST(ZonedText, ConvertsDecimalTextAndLongDoubles)
{
    EXPECT_EQ(hex(dtConvertZDstring2ZonedDecimal("-12.5", 3, 1), 3), "F1F2D5");
    EXPECT_EQ(hex(dtConvertZDstring2ZonedDecimal("\x60\xF1\xF2\x4B\xF5", 3, 1), 3), "F1F2D5");
    EXPECT_EQ(hex(dtConvertZDstring2ZonedDecimal("1234.5", 4, 1), 4), "F2F3F4C5");
    EXPECT_EQ(dtConvertZDstring2ZonedDecimal("1", 73, 0), nullptr);
    EXPECT_EQ(dtConvertZDstring2ZonedDecimal("1", 2, 3), nullptr);
    EXPECT_EQ(dtConvertZDstring2ZonedDecimal("1", 32, 32), nullptr);
    EXPECT_EQ(hex(dtConvertLongDouble2ZonedDecimal(-12.5L, 4, 2), 4), "F1F2F5D0");
    EXPECT_EQ(hex(dtConvertLongDouble2ZonedDecimal(0.25L, 3, 2), 3), "F0F2C5");
    EXPECT_EQ(hex(dtConvertLongDouble2ZonedDecimal(1e20L, 3, 0), 3), "F0F0C0");
    // 2^240 has 73 digits and is exact in a long double: its low digits stay.
    EXPECT_EQ(hex(dtConvertLongDouble2ZonedDecimal(std::ldexp(1.0L, 240), 3, 0), 3), "F7F7C6");
    EXPECT_EQ(hex(dtConvertLongDouble2ZonedDecimal(-std::ldexp(1.0L, 240), 5, 2), 5), "F7F7F6F0D0");
    EXPECT_EQ(dtConvertLongDouble2ZonedDecimal(__builtin_nanl(""), 3, 0), nullptr);
    EXPECT_EQ(dtConvertLongDouble2ZonedDecimal(__builtin_infl(), 3, 0), nullptr);

    unsigned char out[40] = {};
    std::uint32_t digits = 0, scale = 0;
    ASSERT_NE(dtGetZonedDecimalWithPropertries("-12.50", out, &digits, &scale), nullptr);
    EXPECT_EQ(digits, 4u);
    EXPECT_EQ(scale, 2u);
    EXPECT_EQ(hex(out, 3), "01250D");
}

} // namespace

namespace {

// Result areas belong to the calling thread: another thread's call of the
// same routine leaves this thread's result alone.
TEST(ZonedResultAreas, ArePerThread)
{
    std::uint32_t digits = 0, decimals = 0;
    unsigned char const* mine = dtConvertLonglong2ZonedDecimal(123, &digits, &decimals);
    unsigned char const* theirs = nullptr;
    std::thread other([&] {
        std::uint32_t d = 0, s = 0;
        theirs = dtConvertLonglong2ZonedDecimal(-98765, &d, &s);
    });
    other.join();
    EXPECT_NE(mine, theirs);
    EXPECT_EQ(hex(mine, 3), "F1F2C3");
}

} // namespace
