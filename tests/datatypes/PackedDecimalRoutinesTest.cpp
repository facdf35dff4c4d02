// Packed decimal encoding and conversion routines.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <cstring>
#include <string>

#include "PackedDecimalTestSupport.h"
#include "datatypes/PackedDecimalRoutines.h"

namespace {

TEST(PackedDecimalTables, HoldTheirValues)
{
    EXPECT_EQ(packedPowersOfTen[0], 1u);
    EXPECT_EQ(packedPowersOfTen[17], 100000000000000000ULL);
    EXPECT_EQ(packedBcdToValue[0x99], 99);
    EXPECT_EQ(packedBcdToValue[0x4C], 40);  // a sign nibble counts 0
    EXPECT_EQ(packedBcdToValue[0xA1], 100); // invalid high nibble
    EXPECT_EQ(packedValueToBcd[199], 0x99);
    EXPECT_EQ(packedValueToBcd[105], 0x05);
    EXPECT_EQ(packedEbcdicDigits[9], 0xF9);
}

TEST(PackedDecimalSigns, ReadWriteAndNegate)
{
    struct Case {
        unsigned char nibble;
        int sign;
        unsigned char negated;
    };
    const Case cases[] = {{0xA, 1, 0xD}, {0xB, -1, 0xC}, {0xC, 1, 0xD}, {0xD, -1, 0xC},
                          {0xE, 1, 0xD}, {0xF, 1, 0xD},  {0x7, 0, 0xF}};
    for (const Case& k : cases) {
        unsigned char bytes[2] = {0x12, static_cast<unsigned char>(0x30 | k.nibble)};
        EXPECT_EQ(packedSign(bytes, 3), k.sign) << int(k.nibble);
        dtNegatePackedDecimal(bytes, 3);
        EXPECT_EQ(bytes[1], 0x30 | k.negated) << int(k.nibble);
        EXPECT_EQ(bytes[0], 0x12);
    }
    unsigned char bytes[1] = {0x5A};
    packedSetSign(bytes, 1, 7);
    EXPECT_EQ(bytes[0], 0x5C);
    packedSetSign(bytes, 1, 0);
    EXPECT_EQ(bytes[0], 0x5F);
    packedSetSign(bytes, 1, -3);
    EXPECT_EQ(bytes[0], 0x5D);
}

TEST(PackedDecimalCompare, AlignsAtThePointAndOrdersSigns)
{
    struct Case {
        const char* a;
        int pa, sa, fa;
        const char* b;
        int pb, sb, fb;
        int expected;
    };
    const Case cases[] = {
        {"0D", 1, 0, 1, "0C", 1, 0, 1, -1},                                         // -0 below +0
        {"0C", 1, 0, 1, "0D", 1, 0, 1, 1},       {"5D", 1, 0, 0, "5C", 1, 0, 0, 0}, // unsigned: sign nibbles ignored
        {"12345C", 5, 2, 1, "123C", 3, 0, 1, 1},                                    // 123.45 > 123
        {"12300C", 5, 2, 1, "123C", 3, 0, 1, 0},                                    // 123.00 == 123
        {"01230C", 4, 1, 1, "123C", 3, 0, 1, 0},                                    // even precision, 123.0
        {"10230C", 4, 1, 1, "123C", 3, 0, 1, 1},                                    // a non-zero pad nibble is a digit
        {"5D", 1, 0, 1, "7D", 1, 0, 1, 1},                                          // -5 > -7
        {"001C", 3, 3, 1, "001C", 2, 2, 1, -1},                                     // 0.001 < 0.01
        {"5C", 1, 0, 1, "4B", 1, 0, 1, 1},       {"57", 1, 0, 1, "4C", 1, 0, 1, 0}, // an invalid left sign gives 0
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.a) + " vs " + k.b);
        auto a = bytesOf(k.a);
        auto b = bytesOf(k.b);
        EXPECT_EQ(dtComparePackedDecimal(a.data(), k.pa, k.sa, k.fa, b.data(), k.pb, k.sb, k.fb), k.expected);
    }
}

TEST(PackedDecimalRedigit, AlignsTruncatesAndSigns)
{
    struct Case {
        const char* src;
        int ps, ss, pd, sd, signedFlag;
        const char* expected;
        int allZero;
    };
    const Case cases[] = {
        {"0D", 1, 0, 1, 0, 1, "0C", 1},                                                 // -0 becomes +0
        {"0D", 1, 0, 3, 1, 0, "000F", 1},                                               // unsigned target: F
        {"5D", 1, 0, 1, 0, 0, "5F", 0},           {"12345C", 5, 2, 3, 1, 1, "234C", 0}, // 123.45 -> 23.4
        {"12345D", 5, 2, 6, 3, 1, "0123450D", 0},                                       // even target: pad nibble 0
        {"100D", 3, 0, 2, 0, 1, "000C", 1},                                             // only zero digits copied: +
        {"12345B", 5, 0, 5, 0, 1, "12345D", 0},                                         // the sign is written C/D/F
        {"123457", 5, 0, 5, 0, 1, "12345F", 0},                                         // an invalid sign becomes F
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.src);
        auto src = bytesOf(k.src);
        int allZero = -1;
        const unsigned char* r = dtConvertPackedDecimal(src.data(), k.ps, k.ss, k.pd, k.sd, k.signedFlag, &allZero);
        EXPECT_EQ(packedHex(r, k.pd), k.expected);
        EXPECT_EQ(allZero, k.allZero);
        // The rest of the area holds the filler.
        if (r != nullptr) {
            EXPECT_EQ(r[k.pd / 2 + 1], 0xEE);
        }
    }
    auto src = bytesOf("1C");
    EXPECT_EQ(dtConvertPackedDecimal(src.data(), 1, 0, 73, 0, 1, nullptr), nullptr);
    EXPECT_EQ(dtConvertPackedDecimal(src.data(), 1, 0, 0, 0, 1, nullptr), nullptr);
    EXPECT_EQ(dtConvertPackedDecimal(src.data(), 1, 0, 3, 4, 1, nullptr), nullptr);
    EXPECT_NE(dtConvertPackedDecimal(src.data(), 1, 0, 72, 31, 1, nullptr), nullptr);
}

TEST(PackedDecimalScale, ScaleAndCompressAreInverse)
{
    struct Case {
        const char* src;
        int p, n, signedFlag;
        const char* scaled;
    };
    const Case cases[] = {
        {"123C", 3, 2, 1, "12300C"},  {"123C", 3, -2, 1, "00123C"},    {"123D", 3, 1, 1, "01230D"},
        {"123D", 3, -1, 0, "00123F"}, {"00123D", 4, 3, 1, "0123000D"}, {"123C", 3, 0, 1, "123C"}, // no change is a copy
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.src) + " by " + std::to_string(k.n));
        auto src = bytesOf(k.src);
        const int scaledDigits = k.p + (k.n < 0 ? -k.n : k.n);
        const unsigned char* s = dtScalePackedDecimal1(src.data(), k.p, k.signedFlag, k.n);
        ASSERT_EQ(packedHex(s, scaledDigits), k.scaled);
        EXPECT_EQ(s[scaledDigits / 2 + 1], 0xEE);
        std::string copy = k.scaled;
        auto scaled = bytesOf(copy);
        const unsigned char* c = dtCompressPackedDecimal1(scaled.data(), scaledDigits, 1, k.n);
        std::string back = packedHex(c, k.p);
        if (k.signedFlag)
            EXPECT_EQ(back, k.src);
        else
            EXPECT_EQ(back.substr(0, back.size() - 1), std::string(k.src).substr(0, back.size() - 1));
    }
    auto src = bytesOf("123C");
    EXPECT_EQ(dtCompressPackedDecimal1(src.data(), 3, 1, 3), nullptr); // nothing left
    EXPECT_EQ(dtScalePackedDecimal1(src.data(), 3, 1, 70), nullptr);   // 73 digits
    EXPECT_NE(dtScalePackedDecimal1(src.data(), 3, 1, 69), nullptr);
}

TEST(PackedDecimalIntegers, ToPacked)
{
    uint32_t p = 0, s = 9;
    const unsigned char* r = dtConvertLonglong2PackedDecimal(-12, &p, &s);
    EXPECT_EQ(p, 2u);
    EXPECT_EQ(s, 0u);
    EXPECT_EQ(packedHex(r, 2), "012D");
    r = dtConvertLonglong2PackedDecimal(LLONG_MIN, &p, &s);
    EXPECT_EQ(p, 19u);
    EXPECT_EQ(packedHex(r, 19), "9223372036854775808D");
    r = dtConvertLonglong2PackedDecimal(0, &p, &s);
    EXPECT_EQ(packedHex(r, 1), "0C");
    r = dtConvertUnLonglong2PackedDecimal(0, &p, &s);
    EXPECT_EQ(p, 1u);
    EXPECT_EQ(packedHex(r, 1), "0F");
    r = dtConvertUnLonglong2PackedDecimal(ULLONG_MAX, &p, &s);
    EXPECT_EQ(p, 20u);
    EXPECT_EQ(packedHex(r, 20), "018446744073709551615F");

    struct Case {
        long long value;
        int p, signedFlag;
        const char* expected;
    };
    const Case cases[] = {
        {123, 5, 1, "00123C"}, {-123, 5, 1, "00123D"}, {123456, 3, 1, "456C"}, // higher digits dropped
        {123, 2, 1, "123C"},                                                   // the pad nibble takes the next digit
        {0, 4, 0, "00000F"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.value);
        EXPECT_EQ(packedHex(dtConvertFixedPointBinary2PackedDecimal(k.value, k.p, 0, k.signedFlag), k.p), k.expected);
    }
    // Unsigned: the 64 bits are the magnitude.
    EXPECT_EQ(packedHex(dtConvertFixedPointBinary2PackedDecimal(-1, 19, 0, 0), 19), "8446744073709551615F");
}

TEST(PackedDecimalIntegers, FromPacked)
{
    uint32_t negative = 9;
    auto v = bytesOf("12345D");
    EXPECT_EQ(dtConvertPackedDecimal2FixedPointBinary(v.data(), 5, 2, &negative), -12345);
    EXPECT_EQ(negative, 1u);
    v = bytesOf("10230C"); // even precision: the pad nibble is read
    EXPECT_EQ(dtConvertPackedDecimal2FixedPointBinary(v.data(), 4, 0, &negative), 10230);
    EXPECT_EQ(negative, 0u);

    struct Case {
        const char* bytes;
        int p, s, signedResult, signedSource, targetScale;
        long long expected;
    };
    const Case cases[] = {
        {"12345D", 5, 2, 1, 1, 0, -123},                                       // 123.45 -> 123
        {"12345D", 5, 2, 0, 1, 0, 123},                                        // magnitude
        {"12345D", 5, 2, 1, 0, 0, 123},                                        // source unsigned
        {"12345D", 5, 2, 1, 1, 1, -12},                                        // units of 10: 12
        {"12345C", 5, 2, 1, 1, -2, 12345},                                     // two decimals kept
        {"12345C", 5, 2, 1, 1, -4, 1234500}, {"12345C", 5, 3, 1, 1, -2, 1234}, // 12.345 in hundredths
        {"0012345C", 6, 2, 1, 1, 0, 123},                                      // even precision
        {"12345C", 5, 0, 1, 1, -20, 0},                                        // a multiplier beyond the powers table
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.bytes) + " t=" + std::to_string(k.targetScale));
        auto b = bytesOf(k.bytes);
        long long r = dtConvertPackedDecimal2FixedPointBinary2(b.data(), k.p, k.s, k.signedResult, k.signedSource, 0,
                                                               k.targetScale);
        if (k.targetScale == -20)
            EXPECT_EQ(static_cast<unsigned long long>(r),
                      12345ULL * 10000000000000000000ULL * 10ULL); // wraps, no overflow check
        else
            EXPECT_EQ(r, k.expected);
    }
}

TEST(PackedDecimalFormat, WritesEbcdicText)
{
    struct Case {
        const char* bytes;
        int p, s, minusFlag;
        const char* text; // hex, without the final NUL; "null" when refused
    };
    const Case cases[] = {
        {"123D", 3, 1, 1, "60F1F24BF3C4"},
        {"123D", 3, 1, 0, "F1F24BF3C4"},
        {"005C", 3, 0, 1, "F54BF0C4"},
        {"000C", 3, 0, 1, "F04BF0C4"},
        {"005D", 3, 1, 1, "60F04BF5C4"},
        {"123C", 3, 3, 1, "4BF1F2F3C4"},
        {"10230C", 4, 1, 1, "F1F0F2F34BF0C4"}, // the pad nibble is an integer digit
        {"1237", 3, 0, 1, "null"},             // a digit in the sign nibble
        {"123C", 0, 0, 1, "null"},
        {"123C", 3, 4, 1, "null"},
        {"123C", 73, 0, 1, "null"},
        {"123C", 40, 32, 1, "null"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.bytes);
        auto b = bytesOf(k.bytes);
        b.resize(40, 0x00);
        const char* t = dtFormatPackedDecimal(b.data(), k.p, k.s, k.minusFlag);
        if (std::string(k.text) == "null") {
            EXPECT_EQ(t, nullptr);
            continue;
        }
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(hexOf(t, std::strlen(t)), k.text);
    }
}

TEST(PackedDecimalText, ToLongLong)
{
    EXPECT_EQ(dtConvertPDstring2LongLong("\x60\xF1\xF2\x4B\xF3\xC4", 0), -12);
    EXPECT_EQ(dtConvertPDstring2LongLong("\xF5\x4B\xF0\xC4", 0), 5);
    EXPECT_EQ(dtConvertPDstring2LongLong("-987.65", 1), -987);
    EXPECT_EQ(dtConvertPDstring2LongLong("42", 1), 42);
    EXPECT_EQ(dtConvertPDstring2LongLong(".5", 1), 0);
}

TEST(PackedDecimalText, ToPackedAcceptsAsciiAndEbcdic)
{
    struct Case {
        const char* text;
        int p, s;
        const char* expected;
    };
    const Case cases[] = {
        {"123.45", 5, 2, "12345C"},
        {"-123.45", 5, 2, "12345D"},
        {"\x60\xF1\xF2\xF3\x4B\xF4\xF5", 5, 2, "12345D"}, // EBCDIC
        {"\x4E\xF7", 1, 0, "7C"},
        {"-123.456", 5, 2, "12345D"}, // excess decimals dropped
        {"98765.4", 5, 2, "76540C"},  // excess integer digits dropped
        {"-0.001", 3, 2, "000C"},     // a zero is not negative
        {"  +.5", 2, 1, "005C"},
        {"7", 4, 2, "00700C"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        EXPECT_EQ(packedHex(dtConvertPDstring2PackedDecimal(k.text, k.p, k.s), k.p), k.expected);
    }
    // Refusals: precision, scale, and texts without a number.
    EXPECT_EQ(dtConvertPDstring2PackedDecimal("1", 0, 0), nullptr);
    EXPECT_EQ(dtConvertPDstring2PackedDecimal("1", 73, 0), nullptr);
    EXPECT_EQ(dtConvertPDstring2PackedDecimal("1", 40, 32), nullptr);
    EXPECT_EQ(dtConvertPDstring2PackedDecimal("1", 3, 4), nullptr);
    EXPECT_EQ(dtConvertPDstring2PackedDecimal("abc", 3, 0), nullptr);
    EXPECT_EQ(dtConvertPDstring2PackedDecimal("-", 3, 0), nullptr);
    EXPECT_NE(dtConvertPDstring2PackedDecimal("1", 72, 31), nullptr);

    // A long text keeps its low digits and decimals.
    std::string longText(100, '9');
    longText += "12345.678";
    EXPECT_EQ(packedHex(dtConvertPDstring2PackedDecimal(longText.c_str(), 7, 2), 7), "1234567C");
}

TEST(PackedDecimalText, LongDoubleBothWays)
{
    EXPECT_EQ(packedHex(dtConvertLongDouble2PackedDecimal(-12.5L, 5, 2), 5), "01250D");
    // The formatting rounds to s decimals; excess integer digits are dropped.
    EXPECT_EQ(packedHex(dtConvertLongDouble2PackedDecimal(1234.5678L, 5, 2), 5), "23457C");
    EXPECT_EQ(packedHex(dtConvertLongDouble2PackedDecimal(0.0L, 1, 0), 1), "0C");
    EXPECT_EQ(dtConvertLongDouble2PackedDecimal(std::numeric_limits<long double>::infinity(), 5, 0), nullptr);
    EXPECT_EQ(dtConvertLongDouble2PackedDecimal(std::numeric_limits<long double>::quiet_NaN(), 5, 0), nullptr);
    EXPECT_EQ(dtConvertLongDouble2PackedDecimal(1e4000L, 5, 0), nullptr); // too long to format

    long double value = 0;
    auto b = bytesOf("12345D");
    ASSERT_EQ(makeMeLongDouble(b.data(), 5, 2, &value), 1);
    EXPECT_EQ(value, -123.45L);
    b = bytesOf("1234567890123456789012345678901C");
    ASSERT_EQ(makeMeLongDouble(b.data(), 31, 0, &value), 1);
    EXPECT_EQ(value, 1234567890123456789012345678901.0L);
    b = bytesOf("1237");
    value = 99;
    EXPECT_EQ(makeMeLongDouble(b.data(), 3, 0, &value), 0);
    EXPECT_EQ(value, 99);
}

TEST(PackedDecimalLiteral, KeepsEveryDigitOfTheLiteral)
{
    struct Case {
        const char* text;
        uint32_t digits, scale;
        const char* packed;
    };
    const Case cases[] = {
        {"12345678901234567890", 20, 0, "012345678901234567890C"},
        {"-1234567.8901234567890123", 23, 16, "12345678901234567890123D"},
        {"1234567890123456789012345678901", 31, 0, "1234567890123456789012345678901C"},
        {"1.50", 3, 2, "150C"},
        {"0.05", 1, 2, "5C"},
        {"-0", 1, 0, "0D"},
        {"+7", 1, 0, "7C"},
        {"1E3", 4, 0, "01000C"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        unsigned char out[31];
        std::memset(out, 0xAA, sizeof out);
        uint32_t digits = 0, scale = 0;
        ASSERT_EQ(dtGetPackedDecimalWithPropertries(k.text, out, &digits, &scale), out);
        EXPECT_EQ(digits, k.digits);
        EXPECT_EQ(scale, k.scale);
        EXPECT_EQ(packedHex(out, static_cast<int>(digits)), k.packed);
    }
    unsigned char out[31];
    uint32_t digits = 0, scale = 0;
    EXPECT_EQ(dtGetPackedDecimalWithPropertries("12a", out, &digits, &scale), nullptr);
    EXPECT_EQ(dtGetPackedDecimalWithPropertries("Infinity", out, &digits, &scale), nullptr);
    std::string tooLong(62, '7');
    EXPECT_EQ(dtGetPackedDecimalWithPropertries(tooLong.c_str(), out, &digits, &scale), nullptr);
    std::string longest(61, '7');
    EXPECT_EQ(dtGetPackedDecimalWithPropertries(longest.c_str(), out, &digits, &scale), out);
    EXPECT_EQ(digits, 61u);
}

} // namespace
