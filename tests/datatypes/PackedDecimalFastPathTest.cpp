// The binary add, subtract, multiply and divide against the digit loop's and
// the decimal library's paths: every operand pair gives the same bytes
// (digits, sign nibble, pad nibble, null) through the routines as through
// the reference path alone, and the binary path, called on its own, either
// declines or gives those bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PackedDecimalTestSupport.h"
#include "datatypes/PackedDecimalDigits.h"
#include "datatypes/PackedDecimalFastPath.h"
#include "datatypes/PackedDecimalRoutines.h"

namespace {

// The share of sums and differences the binary path answers, in tenths.
// Without 128-bit integers (32-bit builds) it leaves those wider than 64
// bits to the digit loop: there it answers 58% of the boundary cases and 25%
// of the random ones.
#if defined(__SIZEOF_INT128__)
constexpr int addBoundaryShareTenths = 8;
constexpr int addRandomShareTenths = 5;
#else
constexpr int addBoundaryShareTenths = 5;
constexpr int addRandomShareTenths = 2;
#endif

struct Operand {
    std::vector<unsigned char> bytes;
    int p = 1, s = 0, f = 1;
};

// An operand from its digits (most significant first, p of them, no pad)
// and its sign nibble.
Operand operand(const std::string& digits, int s, int sign, int f = 1)
{
    Operand o;
    o.p = static_cast<int>(digits.size());
    o.s = s;
    o.f = f;
    std::string nibbles = (o.p % 2 == 0 ? "0" : "") + digits;
    for (size_t i = 0; i < nibbles.size(); i += 2) {
        int high = nibbles[i] - '0';
        int low = i + 1 < nibbles.size() ? nibbles[i + 1] - '0' : sign;
        o.bytes.push_back(static_cast<unsigned char>(high << 4 | low));
    }
    return o;
}

std::string describe(const char* op, const Operand& a, const Operand& b, int pr, int sr)
{
    return std::string(op) + " " + hexOf(a.bytes.data(), a.bytes.size()) + " (" + std::to_string(a.p) + "," +
           std::to_string(a.s) + "," + std::to_string(a.f) + ") by " + hexOf(b.bytes.data(), b.bytes.size()) + " (" +
           std::to_string(b.p) + "," + std::to_string(b.s) + "," + std::to_string(b.f) + ") into " +
           std::to_string(pr) + "," + std::to_string(sr);
}

bool negative(const Operand& o)
{
    return packed::negativeOperand(o.bytes.data(), o.p, o.f);
}

// Compares both paths on one pair; counts the pairs the binary path took.
struct Comparison {
    int fast = 0;
    int total = 0;

    void multiply(const Operand& a, const Operand& b, int pr)
    {
        ++total;
        const std::string what = describe("multiply", a, b, pr, a.s + b.s);
        unsigned char library[PackedDecimalMaxBytes];
        const bool made =
            packed::multiplyThroughLibrary(a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr, library);
        const std::string expected = made ? packedHex(library, pr) : "null";
        EXPECT_EQ(
            packedHex(dtMultiplyPackedDecimal(a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr), pr),
            expected)
            << what;
        unsigned char binary[PackedDecimalMaxBytes];
        if (a.s <= 31 && b.s <= 31 &&
            packed::fastMultiply(a.bytes.data(), a.p, negative(a), b.bytes.data(), b.p, negative(b), pr, binary)) {
            ++fast;
            EXPECT_EQ(packedHex(binary, pr), expected) << what;
        }
    }

    // a + b and a - b against the digit loop.
    void addSubtract(const Operand& a, const Operand& b, int pr, int sr)
    {
        for (const bool subtract : {false, true}) {
            ++total;
            const std::string what = describe(subtract ? "subtract" : "add", a, b, pr, sr);
            unsigned char digits[PackedDecimalMaxBytes];
            const bool made = (subtract ? packed::subtractThroughDigits : packed::addThroughDigits)(
                a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr, sr, digits);
            const std::string expected = made ? packedHex(digits, pr) : "null";
            EXPECT_EQ(packedHex((subtract ? dtSubtractPackedDecimal : dtAddPackedDecimal)(
                                    a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr, sr),
                                pr),
                      expected)
                << what;
            unsigned char binary[PackedDecimalMaxBytes];
            if (pr >= 1 && pr <= PackedDecimalMaxDigits && sr >= 0 && sr <= pr &&
                packed::fastAddSubtract(subtract, a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr, sr,
                                        binary)) {
                ++fast;
                EXPECT_EQ(packedHex(binary, pr), expected) << what;
            }
        }
    }

    // Where the binary path divides nothing (32-bit targets) a division
    // only compares the entry point with the library: the figures count
    // the multiplications alone.
    void divide(const Operand& a, const Operand& b, int pr, int sr)
    {
        if (packed::fastDivideAvailable)
            ++total;
        const std::string what = describe("divide", a, b, pr, sr);
        unsigned char library[PackedDecimalMaxBytes];
        const bool made =
            packed::divideThroughLibrary(a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr, sr, library);
        const std::string expected = made ? packedHex(library, pr) : "null";
        EXPECT_EQ(
            packedHex(dtDividePackedDecimal(a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr, sr), pr),
            expected)
            << what;
        unsigned char binary[PackedDecimalMaxBytes];
        if (b.s <= 31 && packed::fastDivide(a.bytes.data(), a.p, a.s, negative(a), b.bytes.data(), b.p, b.s,
                                            negative(b), pr, sr, binary)) {
            ++fast;
            EXPECT_EQ(packedHex(binary, pr), expected) << what;
        }
    }
};

// Boundaries picked by hand: widest operands, the widest dividend the
// binary path takes and the first it declines, zeros of both signs,
// quotients that repeat, results cut by a narrow target.
TEST(PackedDecimalFastPath, BoundariesGiveTheLibrarysBytes)
{
    const std::string nines31(31, '9');
    const std::string nines32(32, '9');
    const std::string nines18(18, '9');
    const std::string one38 = "1" + std::string(37, '0');
    struct Pair {
        Operand a, b;
        int pr, sr;
    };
    const Pair pairs[] = {
        {operand(nines31, 0, 0xC), operand(nines31, 0, 0xD), 72, 0},
        {operand(nines31, 0, 0xC), operand(nines31, 0, 0xD), 62, 0},
        {operand(nines31, 31, 0xD), operand(nines31, 31, 0xD), 31, 0},
        {operand(nines18, 2, 0xC), operand(nines18, 2, 0xC), 36, 2},
        {operand(nines18, 2, 0xC), operand(nines18, 2, 0xC), 1, 0},
        {operand(nines18, 2, 0xC), operand(nines18, 2, 0xC), 2, 0},
        {operand("0000000", 3, 0xD), operand("123", 1, 0xC), 9, 0}, // -0 x 12.3, -0 / 12.3
        {operand("0000000", 3, 0xC), operand("123", 1, 0xD), 9, 0},
        {operand("0000000", 3, 0xD), operand("123", 1, 0xD), 9, 0},
        {operand("1", 0, 0xD), operand("3", 0, 0xC), 1, 0},    // -1 / 3: a negative zero
        {operand("1", 0, 0xC), operand("7", 0, 0xC), 38, 37},  // 1/7, 37 decimals
        {operand("22", 0, 0xC), operand("7", 0, 0xC), 40, 38}, // dividend of 39 digits
        {operand("10", 0, 0xC), operand("3", 0, 0xC), 38, 37}, // dividend of exactly 38 digits
        {operand("9", 0, 0xC), operand("3", 0, 0xC), 38, 37},
        {operand(one38.substr(0, 32), 0, 0xC), operand("3", 0, 0xC), 38, 6},
        {operand(nines32, 0, 0xC), operand("3", 0, 0xC), 38, 6}, // 32 + 6 digits: just fits
        {operand(nines32, 0, 0xC), operand("3", 0, 0xC), 40, 7}, // one more: the library's
        {operand(nines32, 5, 0xB), operand("0000000000000000001", 18, 0xA), 72, 0},
        {operand("123456789", 12, 0xC), operand("7", 0, 0xC), 12, 3}, // scale above precision
        {operand("123456789", 2, 0xC), operand("000000000700", 9, 0xF), 5, 0},
        {operand("9999999999999999999", 0, 0xC), operand("9999999999999999999", 0, 0xC), 20, 1},
        {operand("18446744073709551616", 0, 0xC), operand("4294967296", 0, 0xD), 20, 8}, // 2^64 / 2^32
        {operand("18446744073709551615", 0, 0xC), operand("18446744073709551616", 0, 0xD), 20, 18},
        {operand("0000000000000000000000000000000000000000", 40, 0xC), operand("9", 0, 0xC), 3, 0},
    };
    Comparison compare;
    for (const Pair& k : pairs) {
        compare.multiply(k.a, k.b, k.pr);
        compare.divide(k.a, k.b, k.pr, k.sr);
        // Unsigned operands: their sign nibbles do not count.
        Operand ua = k.a, ub = k.b;
        ua.f = ub.f = 0;
        compare.multiply(ua, ub, k.pr);
        compare.divide(ua, ub, k.pr, k.sr);
    }
    EXPECT_GT(compare.fast, compare.total / 2);
}

// Add and subtract at the edges the binary path must keep: carries across
// 10^15 and 10^31 (and out of a narrow target), sign changes, zero results
// and the sign each row gives them (-5 + 5 is -0, 5 + -5 is +0), the widths
// where one word gives way to two and two to the digit loop, scales that
// differ, and a result cut to fewer decimals.
TEST(PackedDecimalFastPath, AddAndSubtractBoundariesGiveTheDigitLoopsBytes)
{
    const std::string nines15(15, '9');
    const std::string nines16(16, '9');
    const std::string nines18(18, '9');
    const std::string nines31(31, '9');
    const std::string one15 = "1" + std::string(14, '0');
    const std::string one31 = "1" + std::string(30, '0');
    struct Pair {
        Operand a, b;
        int pr, sr;
    };
    const Pair pairs[] = {
        {operand(nines15, 0, 0xC), operand("1", 0, 0xC), 15, 0}, // 10^15 lost in 15 digits
        {operand(nines15, 0, 0xC), operand("1", 0, 0xC), 16, 0}, // and kept in 16
        {operand(nines15, 2, 0xC), operand("001", 2, 0xC), 17, 2},
        {operand(nines31, 0, 0xC), operand("1", 0, 0xC), 31, 0}, // 10^31 lost
        {operand(nines31, 0, 0xC), operand("1", 0, 0xC), 32, 0}, // and kept
        {operand(nines31, 4, 0xD), operand(nines31, 4, 0xD), 33, 4},
        {operand(one15, 0, 0xC), operand("1", 0, 0xD), 15, 0}, // borrow across 10^15
        {operand(one31, 0, 0xC), operand("1", 0, 0xD), 31, 0}, // and across 10^31
        {operand(one31, 4, 0xD), operand("00001", 4, 0xC), 31, 4},
        {operand("5", 0, 0xD), operand("5", 0, 0xC), 1, 0}, // -5 + 5: -0
        {operand("5", 0, 0xC), operand("5", 0, 0xD), 1, 0}, // 5 + -5: +0
        {operand("000", 0, 0xD), operand("000", 0, 0xC), 3, 0},
        {operand("000", 0, 0xD), operand("000", 0, 0xD), 3, 0},
        {operand(nines15, 2, 0xD), operand(nines15, 2, 0xC), 15, 2},
        {operand(nines31, 4, 0xC), operand(nines31, 4, 0xC), 31, 4},
        {operand("3", 0, 0xC), operand("5", 0, 0xC), 1, 0}, // 3 - 5: the sign turns
        {operand("3", 0, 0xD), operand("5", 0, 0xD), 1, 0},
        {operand("123456", 2, 0xD), operand("99", 0, 0xC), 8, 2},
        {operand(nines16, 0, 0xC), operand(nines16, 0, 0xC), 18, 0}, // one word, two words
        {operand(nines18, 0, 0xC), operand("1", 0, 0xC), 19, 0},
        {operand(nines18, 2, 0xC), operand("1", 0, 0xC), 20, 2},
        {operand("1" + std::string(18, '0'), 0, 0xC), operand("1", 0, 0xD), 19, 0},
        {operand(nines31, 7, 0xC), operand("1", 0, 0xC), 40, 7}, // 38 aligned digits
        {operand(nines31, 8, 0xC), operand("1", 0, 0xC), 40, 8}, // 39: the digit loop
        {operand("10", 1, 0xC), operand("005", 2, 0xC), 3, 2},   // 1.0 - 0.05 = 0.95
        {operand("12345", 3, 0xC), operand("6", 0, 0xD), 5, 1},  // cut to one decimal
        {operand("12345", 3, 0xD), operand("6", 0, 0xC), 2, 0},
        {operand("12345", 3, 0xD), operand("6", 0, 0xC), 72, 72},
        {operand("999", 0, 0xC), operand("1", 0, 0xC), 4, 0},
    };
    Comparison compare;
    for (const Pair& k : pairs) {
        compare.addSubtract(k.a, k.b, k.pr, k.sr);
        compare.addSubtract(k.b, k.a, k.pr, k.sr);
        Operand ua = k.a, ub = k.b;
        ua.f = 0;
        compare.addSubtract(ua, ub, k.pr, k.sr);
        ub.f = 0;
        compare.addSubtract(ub, ua, k.pr, k.sr);
    }
    EXPECT_GT(compare.fast, compare.total * addBoundaryShareTenths / 10);

    // The answers themselves, as the routines give them.
    const Operand m5 = operand("5", 0, 0xD), p5 = operand("5", 0, 0xC);
    EXPECT_EQ(packedHex(dtAddPackedDecimal(m5.bytes.data(), 1, 0, 1, p5.bytes.data(), 1, 0, 1, 1, 0), 1), "0D");
    EXPECT_EQ(packedHex(dtAddPackedDecimal(p5.bytes.data(), 1, 0, 1, m5.bytes.data(), 1, 0, 1, 1, 0), 1), "0C");
    EXPECT_EQ(packedHex(dtSubtractPackedDecimal(m5.bytes.data(), 1, 0, 1, m5.bytes.data(), 1, 0, 1, 1, 0), 1), "0D");
    const Operand big = operand(nines31, 0, 0xC), one = operand("1", 0, 0xC);
    EXPECT_EQ(packedHex(dtAddPackedDecimal(big.bytes.data(), 31, 0, 1, one.bytes.data(), 1, 0, 1, 32, 0), 32),
              "01" + std::string(31, '0') + "C");
    EXPECT_EQ(packedHex(dtAddPackedDecimal(big.bytes.data(), 31, 0, 1, one.bytes.data(), 1, 0, 1, 31, 0), 31),
              std::string(31, '0') + "C");
}

// Nibbles that are no digits, a zero divisor, operands of more than 32
// digits: the binary path declines and the routines answer as the library.
// A dividend beyond 38 digits over a one-word divisor it takes.
TEST(PackedDecimalFastPath, DeclinesWhatOnlyTheLibraryAnswers)
{
    Operand bad = operand("12345", 0, 0xC);
    bad.bytes[1] = 0x3A; // 12 3A 5C: a nibble A among the digits
    Operand padded = operand("1234", 0, 0xC);
    padded.bytes[0] = 0xF1; // an even precision's pad nibble is no digit, and not read
    const Operand seven = operand("7", 0, 0xC);
    unsigned char out[PackedDecimalMaxBytes];
    EXPECT_FALSE(packed::fastMultiply(bad.bytes.data(), bad.p, false, seven.bytes.data(), 1, false, 9, out));
    EXPECT_FALSE(packed::fastDivide(seven.bytes.data(), 1, 0, false, bad.bytes.data(), bad.p, 0, false, 9, 0, out));
    EXPECT_TRUE(packed::fastMultiply(padded.bytes.data(), padded.p, false, seven.bytes.data(), 1, false, 9, out));
    EXPECT_EQ(packedHex(out, 9), "000008638C");

    const Operand zero = operand("000", 1, 0xD);
    EXPECT_FALSE(packed::fastDivide(seven.bytes.data(), 1, 0, false, zero.bytes.data(), 3, 1, true, 9, 0, out));
    const Operand wide = operand("1" + std::string(32, '0'), 0, 0xC); // 33 digits
    EXPECT_FALSE(packed::fastDivide(wide.bytes.data(), wide.p, 0, false, seven.bytes.data(), 1, 0, false, 9, 0, out));

    // What the binary path takes beyond 38 digits: a long dividend over a
    // divisor of one word, limb by limb (1/7 with 70 decimals).
    const Operand one = operand("1", 0, 0xC);
    if (packed::fastDivideAvailable) {
        ASSERT_TRUE(packed::fastDivide(one.bytes.data(), 1, 0, false, seven.bytes.data(), 1, 0, false, 72, 70, out));
        EXPECT_EQ(packedHex(out, 72), "000142857142857142857142857142857142857142857142857142857142857142857142"
                                      "8C");
    }

    Comparison compare;
    Operand noSign = operand("42", 0, 0x7); // a sign nibble that is no sign
    unsigned char sum[PackedDecimalMaxBytes];
    EXPECT_FALSE(packed::fastAddSubtract(false, bad.bytes.data(), bad.p, 0, 1, seven.bytes.data(), 1, 0, 1, 9, 0, sum));
    EXPECT_FALSE(packed::fastAddSubtract(false, padded.bytes.data(), padded.p, 0, 1, seven.bytes.data(), 1, 0, 1, 9, 0,
                                         sum)); // the digit loop reads an even precision's pad nibble
    EXPECT_FALSE(
        packed::fastAddSubtract(true, noSign.bytes.data(), noSign.p, 0, 1, seven.bytes.data(), 1, 0, 1, 9, 0, sum));
    EXPECT_FALSE(
        packed::fastAddSubtract(false, wide.bytes.data(), wide.p, 0, 1, seven.bytes.data(), 1, 0, 1, 40, 0, sum));
    const Operand* all[] = {&bad, &padded, &zero, &wide, &seven, &noSign};
    for (const Operand* x : all)
        for (const Operand* y : all) {
            compare.multiply(*x, *y, 40);
            compare.divide(*x, *y, 40, 3);
            compare.addSubtract(*x, *y, 40, 3);
        }
}

// A seeded sweep: precisions around the word and limb boundaries, digits of
// every shape (random, all nines, zeros, a lone one at either end), every
// sign nibble and flag, scales that raise or lower the dividend, divisors
// that give repeating decimals, and targets that cut the result.
TEST(PackedDecimalFastPath, RandomOperandsGiveTheLibrarysBytes)
{
    std::mt19937_64 random(20261210);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<uint64_t>(n)); };
    const int precisions[] = {1, 2, 3, 7, 8, 9, 15, 16, 17, 18, 19, 20, 24, 30, 31, 32, 33, 38, 40, 72};
    const int signs[] = {0xC, 0xD, 0xF, 0xA, 0xB, 0xE, 0xD, 0xC};
    const char* smallDivisors[] = {"3", "7", "9", "11", "13", "17", "81", "97", "999", "1"};
    auto digitsOf = [&](int p) {
        std::string d(static_cast<size_t>(p), '0');
        switch (below(7)) {
        case 0: // all nines
            d.assign(static_cast<size_t>(p), '9');
            break;
        case 1: // zeros
            break;
        case 2: // a one at the top or the bottom
            d[below(2) ? 0 : static_cast<size_t>(p - 1)] = '1';
            break;
        case 3: { // a short value below leading zeros
            int length = 1 + below(std::min(p, 6));
            for (int i = p - length; i < p; ++i)
                d[static_cast<size_t>(i)] = static_cast<char>('0' + below(10));
            break;
        }
        default:
            for (char& c : d)
                c = static_cast<char>('0' + below(10));
        }
        return d;
    };
    auto randomOperand = [&](int maxScale) {
        const int p = precisions[below(std::size(precisions))];
        int s = below(std::min(p, maxScale) + 1);
        if (below(10) == 0)
            s = std::min(maxScale, p + below(5)); // decimals beyond the precision
        Operand o = operand(digitsOf(p), s, signs[below(std::size(signs))], below(5) != 0);
        if (p % 2 == 0 && below(4) == 0)
            o.bytes[0] |= static_cast<unsigned char>((1 + below(15)) << 4); // a pad nibble not cleared
        return o;
    };

    Comparison compare;
    for (int i = 0; i < 20000; ++i) {
        const Operand a = randomOperand(31);
        Operand b = randomOperand(31);
        if (below(4) == 0)
            b = operand(smallDivisors[below(std::size(smallDivisors))], below(3), signs[below(8)]);
        const int pr = 1 + below(below(3) == 0 ? PackedDecimalMaxDigits : 36);
        const int sr = below(pr + 1);
        compare.multiply(a, b, pr);
        compare.divide(a, b, pr, sr);
        if (::testing::Test::HasFailure())
            break;
    }
    // The sweep must reach the binary path often, not only the library.
    EXPECT_GT(compare.fast, compare.total * 6 / 10);
}

// The same sweep for add and subtract against the digit loop, the scales
// of both operands and of the result drawn apart.
TEST(PackedDecimalFastPath, RandomOperandsAddAndSubtractAsTheDigitLoop)
{
    std::mt19937_64 random(20261211);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<uint64_t>(n)); };
    const int precisions[] = {1, 2, 3, 7, 8, 9, 14, 15, 16, 17, 18, 19, 20, 24, 30, 31, 32, 33, 38, 72};
    const int signs[] = {0xC, 0xD, 0xF, 0xA, 0xB, 0xE, 0xD, 0xC, 0x3};
    auto randomOperand = [&]() {
        const int p = precisions[below(std::size(precisions))];
        std::string d(static_cast<size_t>(p), '0');
        const int shape = below(6);
        for (int i = 0; i < p; ++i)
            d[static_cast<size_t>(i)] = shape == 0 ? '9' : shape == 1 ? '0' : static_cast<char>('0' + below(10));
        int s = below(p + 1);
        if (below(10) == 0)
            s = p + below(5);
        Operand o = operand(d, s, signs[below(std::size(signs))], below(5) != 0);
        if (p % 2 == 0 && below(8) == 0)
            o.bytes[0] |= static_cast<unsigned char>((1 + below(15)) << 4);
        return o;
    };
    Comparison compare;
    for (int i = 0; i < 20000; ++i) {
        const Operand a = randomOperand();
        const Operand b = below(3) == 0 ? a : randomOperand(); // equal magnitudes too
        const int pr = 1 + below(below(3) == 0 ? PackedDecimalMaxDigits : 36);
        const int sr = std::min(pr, std::max(a.s, b.s) - below(3));
        compare.addSubtract(a, b, pr, std::max(sr, 0));
        if (::testing::Test::HasFailure())
            break;
    }
    EXPECT_GT(compare.fast, compare.total * addRandomShareTenths / 10);
}

} // namespace
