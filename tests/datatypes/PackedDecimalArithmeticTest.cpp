// Packed decimal arithmetic: add, subtract, the digit shifts, multiply,
// divide and power.
#include <gtest/gtest.h>

#include <string>

#include "PackedDecimalTestSupport.h"
#include "datatypes/PackedDecimalRoutines.h"

namespace {

struct Operand {
    const char* hex;
    int p, s, f;
};

std::string add(Operand a, Operand b, int pr, int sr)
{
    auto x = bytesOf(a.hex);
    auto y = bytesOf(b.hex);
    return packedHex(dtAddPackedDecimal(x.data(), a.p, a.s, a.f, y.data(), b.p, b.s, b.f, pr, sr), pr);
}

std::string subtract(Operand a, Operand b, int pr, int sr)
{
    auto x = bytesOf(a.hex);
    auto y = bytesOf(b.hex);
    return packedHex(dtSubtractPackedDecimal(x.data(), a.p, a.s, a.f, y.data(), b.p, b.s, b.f, pr, sr), pr);
}

TEST(PackedDecimalAdd, SignTableAndCarries)
{
    struct Case {
        Operand a, b;
        int pr, sr;
        const char* expected;
    };
    const Case cases[] = {
        {{"999C", 3, 0, 1}, {"1C", 1, 0, 1}, 4, 0, "01000C"}, // carry into a new digit
        {{"5D", 1, 0, 1}, {"5C", 1, 0, 1}, 2, 0, "000D"},     // -5 + 5: negative zero
        {{"5C", 1, 0, 1}, {"5D", 1, 0, 1}, 2, 0, "000C"},     // 5 + -5: positive zero
        {{"7C", 1, 0, 1}, {"3C", 1, 0, 1}, 2, 0, "010C"},
        {{"7C", 1, 0, 1}, {"3D", 1, 0, 1}, 2, 0, "004C"},           // + -, |a| >= |b|
        {{"3C", 1, 0, 1}, {"7D", 1, 0, 1}, 2, 0, "004D"},           // + -, |a| < |b|
        {{"7D", 1, 0, 1}, {"3D", 1, 0, 1}, 2, 0, "010D"},           // - -
        {{"3D", 1, 0, 1}, {"7C", 1, 0, 1}, 2, 0, "004C"},           // - +, |a| < |b|
        {{"7D", 1, 0, 1}, {"3C", 1, 0, 1}, 2, 0, "004D"},           // - +, |a| >= |b|
        {{"7D", 1, 0, 0}, {"3D", 1, 0, 0}, 2, 0, "010C"},           // unsigned operands count +
        {{"77", 1, 0, 1}, {"3D", 1, 0, 1}, 2, 0, "004C"},           // an invalid sign is not negative
        {{"09999C", 4, 1, 1}, {"001C", 3, 2, 1}, 6, 2, "0099991C"}, // 999.9 + 0.01
        {{"09999C", 4, 1, 1}, {"011C", 3, 2, 1}, 6, 2, "0100001C"}, // 999.9 + 0.11
        {{"00125C", 4, 2, 1}, {"005D", 2, 1, 1}, 4, 2, "00075C"},   // 1.25 + -0.5
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.a.hex) + " + " + k.b.hex);
        EXPECT_EQ(add(k.a, k.b, k.pr, k.sr), k.expected);
    }
}

TEST(PackedDecimalSubtract, SignTableAndBorrows)
{
    struct Case {
        Operand a, b;
        int pr, sr;
        const char* expected;
    };
    const Case cases[] = {
        {{"5D", 1, 0, 1}, {"3D", 1, 0, 1}, 2, 0, "002D"}, // -5 - -3 = -2
        {{"3D", 1, 0, 1}, {"5D", 1, 0, 1}, 2, 0, "002C"}, // -3 - -5 = 2
        {{"3C", 1, 0, 1}, {"5C", 1, 0, 1}, 2, 0, "002D"}, // 3 - 5 = -2
        {{"5C", 1, 0, 1}, {"3C", 1, 0, 1}, 2, 0, "002C"},
        {{"5C", 1, 0, 1}, {"3D", 1, 0, 1}, 2, 0, "008C"}, // + - -
        {{"5D", 1, 0, 1}, {"3C", 1, 0, 1}, 2, 0, "008D"}, // - - +
        {{"5C", 1, 0, 1}, {"5C", 1, 0, 1}, 2, 0, "000C"},
        {{"5D", 1, 0, 1}, {"5D", 1, 0, 1}, 2, 0, "000D"},       // not positive, equal: -
        {{"57", 1, 0, 1}, {"3C", 1, 0, 1}, 2, 0, "008D"},       // sign 0 is not positive
        {{"010C", 2, 1, 1}, {"005C", 3, 2, 1}, 4, 2, "00095C"}, // 1.0 - 0.05 borrows
        {{"01000C", 4, 0, 1}, {"1C", 1, 0, 1}, 5, 0, "00999C"},
        {{"1C", 1, 0, 1}, {"00001D", 4, 4, 1}, 6, 4, "0010001C"}, // 1 - -0.0001
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.a.hex) + " - " + k.b.hex);
        EXPECT_EQ(subtract(k.a, k.b, k.pr, k.sr), k.expected);
    }
}

TEST(PackedDecimalAddSub, RefusesPrecisionsBeyondTheArea)
{
    EXPECT_EQ(add({"1C", 1, 0, 1}, {"1C", 1, 0, 1}, 73, 0), "null");
    EXPECT_EQ(subtract({"1C", 1, 0, 1}, {"1C", 1, 0, 1}, 0, 0), "null");
    EXPECT_EQ(add({"1C", 1, 0, 1}, {"1C", 1, 0, 1}, 3, 4), "null");
    std::string wide = add({"1C", 1, 0, 1}, {"1C", 1, 0, 1}, 72, 0);
    EXPECT_EQ(wide, "0" + std::string(71, '0') + "2C"); // pad nibble and 72 digits
}

TEST(PackedDecimalShift, RightAndLeft)
{
    struct Case {
        const char* src;
        int ps, pd, n, roundFlag;
        const char* expected;
    };
    const Case cases[] = {
        {"12345C", 5, 3, 2, 0, "123C"},   {"12345C", 5, 3, 2, 1, "123C"}, // first dropped digit 4
        {"355C", 3, 3, 1, 1, "036C"},     {"099D", 2, 2, 1, 1, "010D"},   // 9.9 rounds to 10
        {"999C", 3, 3, 1, 1, "100C"},     {"999C", 3, 1, 1, 1, "0C"},     // the carry out of the top is lost
        {"999C", 3, 2, 1, 1, "000C"},                                     // lost into the pad nibble, which is cleared
        {"12345D", 5, 5, 5, 0, "00000C"},                                 // every digit dropped
        {"52345D", 5, 1, 5, 1, "1D"},                                     // ... but rounding keeps one
        {"12345D", 5, 1, 6, 1, "0C"},     {"12345D", 5, 7, 0, 0, "0012345D"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.src) + " >> " + std::to_string(k.n));
        auto src = bytesOf(k.src);
        unsigned char dst[40];
        std::fill(std::begin(dst), std::end(dst), 0xAA);
        _Shift_Right_Pckd_BCD(src.data(), k.ps, dst, k.pd, k.n, k.roundFlag);
        EXPECT_EQ(packedHex(dst, k.pd), k.expected);
        EXPECT_EQ(dst[k.pd / 2 + 1], 0xAA); // nothing written beyond
    }
    const Case left[] = {
        {"123D", 3, 5, 2, 0, "12300D"},
        {"123C", 3, 4, 2, 0, "02300C"}, // digits beyond pd dropped from the top
        {"123C", 3, 2, 2, 0, "000C"},   // pd <= n
        {"123C", 3, 3, -1, 0, "012C"},  // a negative count shifts the other way
    };
    for (const Case& k : left) {
        SCOPED_TRACE(std::string(k.src) + " << " + std::to_string(k.n));
        auto src = bytesOf(k.src);
        unsigned char dst[40];
        std::fill(std::begin(dst), std::end(dst), 0xAA);
        _Shift_Left_Pckd_BCD(src.data(), k.ps, dst, k.pd, k.n);
        EXPECT_EQ(packedHex(dst, k.pd), k.expected);
        EXPECT_EQ(dst[k.pd / 2 + 1], 0xAA);
    }
}

std::string multiply(Operand a, Operand b, int pr)
{
    auto x = bytesOf(a.hex);
    auto y = bytesOf(b.hex);
    return packedHex(dtMultiplyPackedDecimal(x.data(), a.p, a.s, a.f, y.data(), b.p, b.s, b.f, pr), pr);
}

std::string divide(Operand a, Operand b, int pr, int sr)
{
    auto x = bytesOf(a.hex);
    auto y = bytesOf(b.hex);
    return packedHex(dtDividePackedDecimal(x.data(), a.p, a.s, a.f, y.data(), b.p, b.s, b.f, pr, sr), pr);
}

std::string power(Operand a, Operand b, int pr, int sr)
{
    auto x = bytesOf(a.hex);
    auto y = bytesOf(b.hex);
    return packedHex(dtPowerPackedDecimal(x.data(), a.p, a.s, a.f, y.data(), b.p, b.s, b.f, pr, sr), pr);
}

TEST(PackedDecimalMultiply, UsesOnlyTheOperandsOwnBytesAndKeepsEveryDigit)
{
    // 12 * 0.5 = 6.0 (one decimal).
    EXPECT_EQ(multiply({"012C", 2, 0, 1}, {"005C", 2, 1, 1}, 4), "00060C");
    EXPECT_EQ(multiply({"012D", 2, 0, 1}, {"005C", 2, 1, 1}, 4), "00060D");
    EXPECT_EQ(multiply({"012D", 2, 0, 0}, {"005D", 2, 1, 1}, 4), "00060D");
    EXPECT_EQ(multiply({"5D", 1, 0, 1}, {"0C", 1, 0, 1}, 2), "000D");     // -5 x 0: negative zero
    EXPECT_EQ(multiply({"999C", 3, 0, 1}, {"999C", 3, 0, 1}, 3), "001C"); // high digits dropped

    // A one-byte operand: bytes after it must not be read as digits.
    auto x = bytesOf("7C99999999999999999999999999");
    auto y = bytesOf("3C");
    EXPECT_EQ(packedHex(dtMultiplyPackedDecimal(x.data(), 1, 0, 1, y.data(), 1, 0, 1, 3), 3), "021C");

    // Two 31-digit operands: a 62-digit product, exact in every digit.
    std::string nines = std::string(31, '9') + "C";
    std::string product = multiply({nines.c_str(), 31, 0, 1}, {nines.c_str(), 31, 0, 1}, 63);
    EXPECT_EQ(product, "0" + std::string(30, '9') + "8" + std::string(30, '0') + "1C");
    EXPECT_EQ(multiply({nines.c_str(), 31, 0, 1}, {nines.c_str(), 31, 0, 1}, 72),
              "0" + std::string(10, '0') + std::string(30, '9') + "8" + std::string(30, '0') + "1C");

    // Operands are capped at 31 digits: excess high integer digits drop.
    std::string wide = "1" + std::string(31, '0') + "2C"; // 33 digits: 10...02
    EXPECT_EQ(multiply({wide.c_str(), 33, 0, 1}, {"3C", 1, 0, 1}, 3), "006C");
    EXPECT_EQ(multiply({"1C", 1, 0, 1}, {"1C", 1, 0, 1}, 73), "null");
}

// A negative zero operand is re-digited as a positive zero, as the signed
// re-digit writes no negative zero: -0 x 5, -0 / 3 and -0 ** 3 are +0, on
// the binary path and the library's alike. A zero made from non-zero
// operands, or from a zero and a negative operand, keeps the library's sign.
TEST(PackedDecimalArithmetic, ANegativeZeroOperandCountsAsPositive)
{
    EXPECT_EQ(multiply({"0D", 1, 0, 1}, {"5C", 1, 0, 1}, 2), "000C");
    EXPECT_EQ(multiply({"5C", 1, 0, 1}, {"000D", 3, 2, 1}, 4), "00000C");
    EXPECT_EQ(multiply({"0D", 1, 0, 1}, {"5D", 1, 0, 1}, 2), "000D"); // +0 x -5
    const std::string zero31 = std::string(31, '0') + "D";            // the library's path
    EXPECT_EQ(multiply({zero31.c_str(), 31, 0, 1}, {"5C", 1, 0, 1}, 3), "000C");
    EXPECT_EQ(divide({"0D", 1, 0, 1}, {"3C", 1, 0, 1}, 3, 2), "000C");
    EXPECT_EQ(divide({"000D", 3, 1, 1}, {"3C", 1, 0, 1}, 5, 2), "00000C");
    EXPECT_EQ(divide({"0D", 1, 0, 1}, {"3D", 1, 0, 1}, 3, 2), "000D"); // +0 / -3
    EXPECT_EQ(power({"0D", 1, 0, 1}, {"3C", 1, 0, 1}, 3, 0), "000C");
    EXPECT_EQ(power({"5D", 1, 0, 1}, {"0D", 1, 0, 1}, 3, 0), "001C");    // -5 ** -0 = 1
    EXPECT_EQ(divide({"001D", 2, 2, 1}, {"3C", 1, 0, 1}, 3, 2), "000D"); // from non-zero operands
}

TEST(PackedDecimalDivide, ZeroDivisorsAndScales)
{
    // 1 / 3 with 31 decimals.
    EXPECT_EQ(divide({"1C", 1, 0, 1}, {"3C", 1, 0, 1}, 32, 31), "00" + std::string(31, '3') + "C");
    EXPECT_EQ(divide({"1D", 1, 0, 1}, {"3C", 1, 0, 1}, 3, 2), "033D");
    EXPECT_EQ(divide({"1D", 1, 0, 0}, {"3D", 1, 0, 0}, 3, 2), "033C");   // unsigned operands
    EXPECT_EQ(divide({"001D", 2, 2, 1}, {"3C", 1, 0, 1}, 3, 2), "000D"); // -0.003...: -0.00
    EXPECT_EQ(divide({"7C", 1, 0, 1}, {"025C", 3, 1, 1}, 3, 1), "028C"); // 7 / 2.5 = 2.8

    // Every all-zero divisor, whatever its sign nibble and shape.
    for (const char* zero : {"0C", "0D", "0F", "0A", "0B", "0E"})
        EXPECT_EQ(divide({"1C", 1, 0, 1}, {zero, 1, 0, 1}, 3, 0), "null") << zero;
    EXPECT_EQ(divide({"1C", 1, 0, 1}, {"00000D", 5, 3, 1}, 3, 0), "null");

    // A dividend of many integer digits keeps every decimal of the
    // quotient: 10^54 / 3 with 17 decimals, in full.
    std::string big = "1" + std::string(54, '0') + "C"; // 55 digits
    EXPECT_EQ(divide({big.c_str(), 55, 0, 1}, {"3C", 1, 0, 1}, 72, 17), "00" + std::string(71, '3') + "C");
    EXPECT_EQ(divide({"1C", 1, 0, 1}, {"3C", 1, 0, 1}, 73, 0), "null");
    // More decimals than digits (0.0000000001) with many decimals wanted.
    EXPECT_EQ(divide({"1C", 1, 10, 1}, {"4C", 1, 0, 1}, 60, 60).substr(0, 16), "0000000000025000");
}

// Division truncates: no digit of the result may be raised by rounding the
// quotient's tail first. Each exact quotient below continues after the last
// kept digit with a run of 9s that reaches past 34 significant digits, so a
// quotient rounded to 34 digits would carry into the kept digits. Expected
// results: Python integer division; the first case and two of the table's
// also checked with GnuCOBOL's COMPUTE.
TEST(PackedDecimalDivide, TruncatesQuotientsWithLongRunsOfNines)
{
    const std::string almost = std::string(30, '9') + "8C"; // 10^31 - 2
    const std::string nines = std::string(31, '9') + "C";   // 10^31 - 1
    EXPECT_EQ(divide({almost.c_str(), 31, 0, 1}, {nines.c_str(), 31, 0, 1}, 31, 31), std::string(30, '9') + "8C");

    struct Case {
        Operand a, b;
        int pr, sr;
        const char* expected;
    };
    const Case cases[] = {
        {{"3839453471800522857100046041916D", 31, 0, 1},
         {"6891856887094817549991107596331C", 31, 0, 1},
         4,
         4,
         "05570D"},
        {{"0778026663054220895035790720791C", 30, 0, 1},
         {"1629682375849313786966738695861D", 31, 1, 1},
         5,
         4,
         "47740D"},
        {{"08414214979124314254303351788D", 28, 0, 1},
         {"9507410709193932444046768739141D", 31, 3, 1},
         9,
         9,
         "885016460C"},
        {{"1520482607435206959604487050925D", 31, 1, 1},
         {"3018215749962777638114149802223C", 31, 3, 1},
         12,
         10,
         "0503768694286D"},
        {{"3404698140711741029746482317852D", 31, 0, 1},
         {"7340652192874481654128573504377C", 31, 0, 1},
         17,
         17,
         "46381412049690312D"},
        {{"1924554561848615196534489805619D", 31, 2, 1},
         {"8028856034317544225570830531647D", 31, 3, 1},
         20,
         19,
         "023970470433428353982C"},
        {{"2151009759077099041773476384969D", 31, 0, 1},
         {"9320878877949234593452646782847D", 31, 0, 1},
         24,
         24,
         "0230773276559341032237182C"},
        {{"1528057482848037512577291465909C", 31, 0, 1},
         {"2566563355006144318721935546013D", 31, 0, 1},
         28,
         27,
         "00595371035695465761520689076D"},
        {{"3041398946327272258632800318032C", 31, 0, 1},
         {"8951485630660343385896424174329D", 31, 0, 1},
         31,
         31,
         "3397647130114323690909733629768D"},
        {{"0305967323858862594671529358498C", 30, 4, 1},
         {"3796261507865971244062952609137D", 31, 6, 1},
         31,
         30,
         "8059700924841158533627042909072D"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(divide(k.a, k.b, k.pr, k.sr), k.expected) << k.a.hex << " / " << k.b.hex;
}

TEST(PackedDecimalPower, IntegerAndFractionalExponents)
{
    EXPECT_EQ(power({"012C", 2, 0, 1}, {"3C", 1, 0, 1}, 31, 0), std::string(27, '0') + "1728C");
    EXPECT_EQ(power({"2D", 1, 0, 1}, {"3C", 1, 0, 1}, 3, 0), "008D");
    EXPECT_EQ(power({"2D", 1, 0, 0}, {"3C", 1, 0, 1}, 3, 0), "008C");
    // The base's digits are raised as an integer: the caller's sr places the point.
    EXPECT_EQ(power({"012C", 2, 1, 1}, {"2C", 1, 0, 1}, 5, 2), "00144C");
    // A negative exponent takes the reciprocal: 2^-2 = 0.25.
    EXPECT_EQ(power({"2C", 1, 0, 1}, {"2D", 1, 0, 1}, 5, 2), "00025C");
    EXPECT_EQ(power({"4C", 1, 0, 1}, {"1D", 1, 0, 1}, 5, 4), "02500C");
    EXPECT_EQ(power({"0C", 1, 0, 1}, {"1D", 1, 0, 1}, 5, 2), "null"); // 1 / 0
    // The reciprocal truncates like a quotient: with P = (10^35 + 1) / 100001
    // and 4 decimals, 1 / (P / 10^4) = 10^35 / P = 100000.99999... (28 nines
    // and more): 31 decimals keep 100000, a 34-digit rounding would give 100001.
    EXPECT_EQ(power({"0999990000099999000009999900001C", 30, 4, 1}, {"1D", 1, 0, 1}, 31, 31),
              std::string(25, '0') + "100000C");
    // High digits that do not fit are dropped: 0.1^-3 = 1000.
    EXPECT_EQ(power({"1C", 1, 1, 1}, {"3D", 1, 0, 1}, 5, 0), "01000C");
    EXPECT_EQ(power({"1D", 1, 1, 1}, {"3D", 1, 0, 1}, 3, 0), "000D");     // -1000: the sign stays
    EXPECT_EQ(power({"1C", 1, 1, 1}, {"100D", 3, 0, 1}, 72, 72), "null"); // 10^100 does not fit
    EXPECT_EQ(power({"0C", 1, 0, 1}, {"0C", 1, 0, 1}, 5, 0), "null");     // 0^0 has no value
    EXPECT_EQ(power({"5C", 1, 0, 1}, {"0C", 1, 0, 1}, 1, 0), "1C");
    // A power of more than 34 digits is exact in every digit; one of more
    // than 31 digits (or pr, when larger) has no result.
    EXPECT_EQ(power({"2C", 1, 0, 1}, {"200C", 3, 0, 1}, 9, 0), "null"); // 2^200: 61 digits
    EXPECT_EQ(power({"010C", 2, 0, 1}, {"071C", 2, 0, 1}, 72, 0), "01" + std::string(71, '0') + "C");
    // Beyond 72 digits there is no result.
    EXPECT_EQ(power({"010C", 2, 0, 1}, {"072C", 2, 0, 1}, 72, 0), "null");
    EXPECT_EQ(power({"2C", 1, 0, 1}, {"999999999C", 9, 0, 1}, 9, 0), "null");
    // An exponent with decimals goes through long double: 4^0.5 = 2, 2^1.5.
    EXPECT_EQ(power({"4C", 1, 0, 1}, {"005C", 2, 1, 1}, 5, 2), "00200C");
    EXPECT_EQ(power({"2C", 1, 0, 1}, {"015C", 2, 1, 1}, 7, 4), "0028284C");
    EXPECT_EQ(power({"4D", 1, 0, 1}, {"005C", 2, 1, 1}, 5, 2), "null"); // no real root
}

} // namespace

namespace {

// An exponent with decimals goes through long double: the same limit of
// max(pr, 31) digits, the same high-order truncation below 31, and the sign
// of a power truncated to zero.
TEST(PackedDecimalPower, DecimalExponentsFitTheResultAsIntegerOnesDo)
{
    struct Case {
        Operand a, b;
        int pr, sr;
        std::string expected;
    };
    const Case cases[] = {
        {{"2C", 1, 0, 1}, {"01020C", 4, 1, 1}, 31, 0, "5070602400912917605986812821504C"}, // 2^102.0
        {{"2C", 1, 0, 1}, {"01030C", 4, 1, 1}, 31, 0, "null"},                             // 2^103.0
        {{"2C", 1, 0, 1}, {"01030C", 4, 1, 1}, 32, 0, "010141204801825835211973625643008C"},
        {{"2C", 1, 0, 1}, {"01020C", 4, 1, 1}, 31, 1, "null"}, // 32 digits with the decimal
        {{"012C", 2, 0, 1}, {"030C", 2, 1, 1}, 2, 0, "028C"},  // 1728: the low digits
        {{"1D", 1, 1, 1}, {"030C", 2, 1, 1}, 1, 0, "0D"},      // -0.001 with no decimals
        {{"1D", 1, 1, 1}, {"030C", 2, 1, 1}, 4, 3, "00001D"},
        {{"4D", 1, 0, 1}, {"005C", 2, 1, 1}, 5, 2, "null"}, // no real root
    };
    for (const Case& k : cases)
        EXPECT_EQ(power(k.a, k.b, k.pr, k.sr), k.expected) << k.a.hex << " ** " << k.b.hex << " pr " << k.pr;
}

} // namespace
