#ifndef NORVEXA_DATATYPES_DECIMALDIGITARITH_H
#define NORVEXA_DATATYPES_DECIMALDIGITARITH_H

// Digit-string helpers shared by the zoned and national decimal routines.
// A digit string is an array of digit values (0-9, most significant first)
// with a count n and s digits after the point. Digit values above 9 (bad
// data) are carried as they are; callers check validity separately.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace norvexa::decimal {

// Enough for two 72-digit operands aligned at the point, plus a carry.
inline constexpr int kWorkDigits = 2 * 72 + 2;

using DigitBuffer = std::array<std::uint8_t, kWorkDigits>;

// The digit at target position j when a string of n digits with s decimals
// is aligned at the point with a target of tn digits and ts decimals; 0 for
// positions the source lacks.
inline int alignedDigit(std::uint8_t const* d, int n, int s, int tn, int ts, int j)
{
    int i = j - ((tn - ts) - (n - s));
    return (i >= 0 && i < n) ? d[i] : 0;
}

// Magnitude comparison of two digit strings aligned at the point: 1, 0, -1.
inline int absCompare(std::uint8_t const* a, int na, int sa, std::uint8_t const* b, int nb, int sb)
{
    int ints = (na - sa > nb - sb) ? na - sa : nb - sb;
    int fracs = sa > sb ? sa : sb;
    int width = ints + fracs;
    for (int j = 0; j < width; ++j) {
        int da = alignedDigit(a, na, sa, width, fracs, j);
        int db = alignedDigit(b, nb, sb, width, fracs, j);
        if (da != db)
            return da > db ? 1 : -1;
    }
    return 0;
}

// abs(a) + abs(b) (addFlag set) or abs(a) - abs(b) (abs(a) >= abs(b)) into
// out, which receives *outN digits with *outS decimals: one more integer
// digit than the longer operand for the carry, the larger scale.
inline void addSubMagnitudes(bool addFlag, std::uint8_t const* a, int na, int sa, std::uint8_t const* b, int nb, int sb,
                             std::uint8_t* out, int* outN, int* outS)
{
    int ints = ((na - sa > nb - sb) ? na - sa : nb - sb) + 1;
    int fracs = sa > sb ? sa : sb;
    int width = ints + fracs;
    int carry = 0;
    for (int j = width - 1; j >= 0; --j) {
        int da = alignedDigit(a, na, sa, width, fracs, j);
        int db = alignedDigit(b, nb, sb, width, fracs, j);
        int v = addFlag ? da + db + carry : da - db - carry;
        if (addFlag) {
            carry = v > 9 ? 1 : 0;
            if (carry)
                v -= 10;
        } else {
            carry = v < 0 ? 1 : 0;
            if (carry)
                v += 10;
        }
        out[j] = static_cast<std::uint8_t>(v);
    }
    *outN = width;
    *outS = fracs;
}

// Signed add and subtract on sign values (+1, -1, 0) and magnitudes: the
// digits of the result and its sign (+1 or -1). A zero result keeps the sign
// its case gives, as the packed routines do (-5 + 5 is a negative zero).
// For an add an operand is negative when its sign is -1; for a subtract an
// operand is positive only when its sign is exactly +1.
inline int signedAddSub(bool subtract, int signA, int signB, std::uint8_t const* a, int na, int sa,
                        std::uint8_t const* b, int nb, int sb, std::uint8_t* out, int* outN, int* outS)
{
    int cmp = absCompare(a, na, sa, b, nb, sb);
    auto sum = [&] { addSubMagnitudes(true, a, na, sa, b, nb, sb, out, outN, outS); };
    auto aMinusB = [&] { addSubMagnitudes(false, a, na, sa, b, nb, sb, out, outN, outS); };
    auto bMinusA = [&] { addSubMagnitudes(false, b, nb, sb, a, na, sa, out, outN, outS); };
    if (!subtract) {
        bool negA = signA == -1, negB = signB == -1;
        if (negA == negB) {
            sum();
            return negA ? -1 : 1;
        }
        if (!negA) { // a positive, b negative
            if (cmp >= 0) {
                aMinusB();
                return 1;
            }
            bMinusA();
            return -1;
        }
        if (cmp < 0) {
            bMinusA();
            return 1;
        } // a negative, b positive
        aMinusB();
        return -1;
    }
    bool posA = signA == 1, posB = signB == 1;
    if (posA && posB) {
        if (cmp >= 0) {
            aMinusB();
            return 1;
        }
        bMinusA();
        return -1;
    }
    if (posA) {
        sum();
        return 1;
    }
    if (posB) {
        sum();
        return -1;
    }
    if (cmp < 0) {
        bMinusA();
        return 1;
    }
    aMinusB();
    return -1;
}

// Number of decimal digits of x (0 has one).
inline int decimalMagnitude(std::uint64_t x)
{
    int n = 1;
    while (x >= 10) {
        x /= 10;
        ++n;
    }
    return n;
}

// Integer part of a decimal text: the optional minus ('-' or 0x60 with
// asciiFlag clear) first, then digits up to the point or any other character.
inline long long textToLongLong(char const* text, bool ascii)
{
    if (!text)
        return 0;
    unsigned char const* t = reinterpret_cast<unsigned char const*>(text);
    unsigned char minus = ascii ? '-' : 0x60;
    unsigned char zero = ascii ? '0' : 0xF0;
    bool negative = false;
    if (*t == minus) {
        negative = true;
        ++t;
    }
    std::uint64_t v = 0;
    for (; *t >= zero && *t <= zero + 9; ++t)
        v = v * 10 + (*t - zero);
    return negative ? static_cast<long long>(0 - v) : static_cast<long long>(v);
}

// x as ASCII decimal text with s decimals ("%.*Lf"), cut down to the digits
// a number of p digits and s decimals can hold: the sign, the last p - s
// integer digits, the point and the decimals. Cutting here keeps the text
// short whatever the size of x, and drops high-order digits as a move into p
// digits does. Empty for an infinity or a NaN.
inline std::string fixedPointText(long double x, int p, int s)
{
    if (!std::isfinite(x) || s < 0 || p < s)
        return {};
    int length = std::snprintf(nullptr, 0, "%.*Lf", s, x);
    if (length < 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), "%.*Lf", s, x);
    std::string text(buffer.data());
    std::string sign;
    if (!text.empty() && text[0] == '-') {
        sign = "-";
        text.erase(0, 1);
    }
    std::size_t point = text.find('.');
    std::string integer = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point);
    std::size_t keep = static_cast<std::size_t>(p - s);
    if (integer.size() > keep)
        integer.erase(0, integer.size() - keep);
    if (integer.empty())
        integer = "0";
    return sign + integer + fraction;
}

} // namespace norvexa::decimal

#endif
