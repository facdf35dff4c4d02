// The packed decimal routines that check, compare, re-digit, scale,
// compress, convert and format. The arithmetic is in PackedDecimalArithmetic.cpp.
#include "datatypes/PackedDecimalRoutines.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "datatypes/DecNumberBinding.h"
#include "datatypes/PackedDecimalDigits.h"
#include "services/CLocaleNumbers.h"

// ------------------------------------------------------------ tables

namespace {

constexpr unsigned char bcdValue(int byte)
{
    int high = byte >> 4;
    int low = byte & 15;
    if (high > 9)
        return 100;
    return static_cast<unsigned char>(10 * high + (low > 9 ? 0 : low));
}

// EBCDIC characters of the decimal texts.
constexpr unsigned char ebcdicMinus = 0x60;
constexpr unsigned char ebcdicPlus = 0x4E;
constexpr unsigned char ebcdicPoint = 0x4B;
constexpr unsigned char ebcdicSpace = 0x40;
constexpr unsigned char ebcdicZero = 0xF0;
constexpr unsigned char textEnd = 0xC4;

// Bytes of the result areas of the re-digit, scale and compress routines,
// and their filler.
constexpr int areaBytes = PackedDecimalMaxBytes;
constexpr unsigned char areaFiller = 0xEE;

} // namespace

extern "C" {

const uint64_t packedPowersOfTen[20] = {1ULL,
                                        10ULL,
                                        100ULL,
                                        1000ULL,
                                        10000ULL,
                                        100000ULL,
                                        1000000ULL,
                                        10000000ULL,
                                        100000000ULL,
                                        1000000000ULL,
                                        10000000000ULL,
                                        100000000000ULL,
                                        1000000000000ULL,
                                        10000000000000ULL,
                                        100000000000000ULL,
                                        1000000000000000ULL,
                                        10000000000000000ULL,
                                        100000000000000000ULL,
                                        1000000000000000000ULL,
                                        10000000000000000000ULL};
const unsigned char packedNibbleMask[2] = {0x0F, 0xF0};
const unsigned char packedNibbleShift[2] = {0, 4};
const unsigned char packedEbcdicDigits[10] = {0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9};
const unsigned char packedBcdToValue[256] = {
#define ROW(h)                                                                                                         \
    bcdValue(h * 16 + 0), bcdValue(h * 16 + 1), bcdValue(h * 16 + 2), bcdValue(h * 16 + 3), bcdValue(h * 16 + 4),      \
        bcdValue(h * 16 + 5), bcdValue(h * 16 + 6), bcdValue(h * 16 + 7), bcdValue(h * 16 + 8), bcdValue(h * 16 + 9),  \
        bcdValue(h * 16 + 10), bcdValue(h * 16 + 11), bcdValue(h * 16 + 12), bcdValue(h * 16 + 13),                    \
        bcdValue(h * 16 + 14), bcdValue(h * 16 + 15)
    ROW(0), ROW(1),  ROW(2),  ROW(3),  ROW(4),  ROW(5),  ROW(6), ROW(7), ROW(8),
    ROW(9), ROW(10), ROW(11), ROW(12), ROW(13), ROW(14), ROW(15)
#undef ROW
};
const unsigned char packedValueToBcd[200] = {
#define TEN(t)                                                                                                         \
    (t % 10) << 4 | 0, (t % 10) << 4 | 1, (t % 10) << 4 | 2, (t % 10) << 4 | 3, (t % 10) << 4 | 4, (t % 10) << 4 | 5,  \
        (t % 10) << 4 | 6, (t % 10) << 4 | 7, (t % 10) << 4 | 8, (t % 10) << 4 | 9
    TEN(0),  TEN(1),  TEN(2),  TEN(3),  TEN(4),  TEN(5),  TEN(6),  TEN(7),  TEN(8), TEN(9), TEN(10),
    TEN(11), TEN(12), TEN(13), TEN(14), TEN(15), TEN(16), TEN(17), TEN(18), TEN(19)
#undef TEN
};

} // extern "C"

// ------------------------------------------------------------ internal steps

namespace packed {

void redigit(const unsigned char* src, int ps, int ss, int pd, int sd, int signedFlag, int* allZero, unsigned char* out)
{
    const int srcNibbles = nibbles(ps);
    const int dstNibbles = nibbles(pd);
    bool zero = true;
    // Target digit r from the right has the power 10^(r-1-sd); the source
    // digit of that power is ss - sd + r from the right, when it exists.
    for (int r = 1; r <= pd; ++r) {
        int from = ss - sd + r;
        int digit = 0;
        if (from >= 1 && from <= ps) {
            digit = nibble(src, srcNibbles - from + 1);
            if (digit != 0)
                zero = false;
        }
        setNibble(out, dstNibbles - r + 1, digit);
    }
    if (dstNibbles > pd)
        setNibble(out, 1, 0);
    int sign = 0;
    if (signedFlag) {
        sign = packedSign(src, ps);
        if (sign < 0 && zero)
            sign = 1;
    }
    out[pd / 2] = static_cast<unsigned char>(out[pd / 2] & 0xF0);
    packedSetSign(out, pd, sign);
    if (allZero != nullptr)
        *allZero = zero ? 1 : 0;
}

void shift(const unsigned char* src, int ps, unsigned char* dst, int pd, int n, bool roundFlag)
{
    const int length = byteLength(pd);
    const int dstNibbles = nibbles(pd);
    const int srcNibbles = nibbles(ps);
    const int sign = signNibble(src, ps);
    const bool nothingLeft = n >= 0 ? (roundFlag ? n > ps : n >= ps) : pd <= -n;
    if (nothingLeft) {
        std::memset(dst, 0, static_cast<size_t>(length));
        dst[length - 1] = 0x0C;
        return;
    }
    // Digit r from the right of dst is digit r+n from the right of src.
    int digits[PackedDecimalMaxDigits + 1];
    for (int r = 1; r <= dstNibbles; ++r)
        digits[r - 1] = digitFromRight(src, srcNibbles, r + n);
    if (roundFlag && n > 0 && digitFromRight(src, srcNibbles, n) >= 5) {
        int carry = 1;
        for (int r = 1; r <= dstNibbles && carry; ++r) {
            int value = digits[r - 1] + carry;
            digits[r - 1] = value % 10;
            carry = value / 10;
        }
        // A carry out of the top is lost.
    }
    std::memset(dst, 0, static_cast<size_t>(length));
    for (int r = 1; r <= dstNibbles; ++r)
        setNibble(dst, dstNibbles - r + 1, digits[r - 1]);
    if (dstNibbles > pd)
        setNibble(dst, 1, 0);
    setSignNibble(dst, pd, sign);
}

namespace {

bool isBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == ebcdicSpace;
}
// The digit value of an ASCII or EBCDIC digit, or -1.
int digitValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= ebcdicZero && c <= ebcdicZero + 9)
        return c - ebcdicZero;
    return -1;
}

} // namespace

bool scan(const char* text, int p, int s, unsigned char* out)
{
    if (text == nullptr || !validShape(p, s))
        return false;
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
    while (isBlank(*t))
        ++t;
    bool minus = false;
    if (*t == '-' || *t == ebcdicMinus) {
        minus = true;
        ++t;
    } else if (*t == '+' || *t == ebcdicPlus) {
        ++t;
    }
    const unsigned char* integer = t;
    while (digitValue(*t) >= 0)
        ++t;
    const int integerDigits = static_cast<int>(t - integer);
    const unsigned char* fraction = t;
    int fractionDigits = 0;
    if (*t == '.' || *t == ebcdicPoint) {
        fraction = ++t;
        while (digitValue(*t) >= 0)
            ++t;
        fractionDigits = static_cast<int>(t - fraction);
    }
    if (integerDigits == 0 && fractionDigits == 0)
        return false;

    // The last p - s integer digits and the first s decimals are kept.
    const int length = byteLength(p);
    const int total = nibbles(p);
    std::memset(out, 0, static_cast<size_t>(length));
    bool zero = true;
    for (int r = 1; r <= p; ++r) {
        int power = r - 1 - s; // the digit's power of ten
        int digit = 0;
        if (power >= 0) {
            if (power < integerDigits)
                digit = digitValue(integer[integerDigits - 1 - power]);
        } else if (-power <= fractionDigits) {
            digit = digitValue(fraction[-power - 1]);
        }
        if (digit != 0)
            zero = false;
        setNibble(out, total - r + 1, digit);
    }
    packedSetSign(out, p, minus && !zero ? -1 : 1);
    return true;
}

bool format(const unsigned char* bytes, int p, int s, bool minusFlag, char* out)
{
    if (bytes == nullptr || p < 1 || p > PackedDecimalMaxDigits || s < 0 || s > 31 || s > p)
        return false;
    const int sign = packedSign(bytes, p);
    if (sign == 0)
        return false;
    unsigned char* o = reinterpret_cast<unsigned char*>(out);
    int at = 0;
    if (sign < 0 && minusFlag)
        o[at++] = ebcdicMinus;
    const int total = nibbles(p);
    const int firstDigit = at;
    for (int k = 1; k <= total - s; ++k)
        o[at++] = static_cast<unsigned char>(ebcdicZero + nibble(bytes, k));
    // Leading zeros go, down to one before the point.
    int keep = firstDigit;
    while (keep < at - 1 && o[keep] == ebcdicZero)
        ++keep;
    if (keep > firstDigit) {
        std::memmove(o + firstDigit, o + keep, static_cast<size_t>(at - keep));
        at -= keep - firstDigit;
    }
    o[at++] = ebcdicPoint;
    if (s == 0)
        o[at++] = ebcdicZero;
    for (int k = total - s + 1; k <= total; ++k)
        o[at++] = static_cast<unsigned char>(ebcdicZero + nibble(bytes, k));
    o[at++] = textEnd;
    o[at] = 0;
    return true;
}

bool fromLongDouble(long double x, int p, int s, unsigned char* out)
{
    if (!validShape(p, s) || !std::isfinite(x))
        return false;
    char text[512];
    int length = clocale_numbers::formatFixed(text, sizeof text, s, x);
    if (length < 0 || length >= static_cast<int>(sizeof text))
        return false;
    return scan(text, p, s, out);
}

bool toLongDouble(const unsigned char* bytes, int p, int s, bool minusFlag, long double* out)
{
    char ebcdic[160];
    if (out == nullptr || !format(bytes, p, s, minusFlag, ebcdic))
        return false;
    char text[160];
    int at = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(ebcdic); *c != 0 && *c != textEnd; ++c) {
        if (*c == ebcdicMinus)
            text[at++] = '-';
        else if (*c == ebcdicPoint)
            text[at++] = '.';
        else
            text[at++] = static_cast<char>('0' + (*c - ebcdicZero));
    }
    text[at] = 0;
    char* end = nullptr;
    long double value = clocale_numbers::toLongDouble(text, &end);
    if (end == text)
        return false;
    *out = value;
    return true;
}

} // namespace packed

using namespace packed;

namespace {

// The digit count of an unsigned 64-bit value (0 has one digit).
int decimalMagnitude(unsigned long long value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

void writeInteger(unsigned long long magnitude, int sign, int p, unsigned char* out)
{
    std::memset(out, 0, static_cast<size_t>(byteLength(p)));
    for (int k = nibbles(p); k >= 1; --k) {
        setNibble(out, k, static_cast<int>(magnitude % 10));
        magnitude /= 10;
    }
    packedSetSign(out, p, sign);
}

} // namespace

extern "C" {

// ------------------------------------------------------------ signs and comparison

int packedSign(const unsigned char* bytes, int p)
{
    switch (signNibble(bytes, p)) {
    case 0x0A:
    case 0x0C:
    case 0x0E:
    case 0x0F: return 1;
    case 0x0B:
    case 0x0D: return -1;
    default: return 0;
    }
}

void packedSetSign(unsigned char* bytes, int p, int s)
{
    setSignNibble(bytes, p, s >= 1 ? 0x0C : s == 0 ? 0x0F : 0x0D);
}

int packedAbsCmp(const unsigned char* a, int pa, int sa, const unsigned char* b, int pb, int sb)
{
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb))
        return 0;
    const int na = nibbles(pa);
    const int nb = nibbles(pb);
    const int top = std::max(na - sa, nb - sb); // integer positions
    const int bottom = std::max(sa, sb);        // fraction positions
    // Walk the powers of ten from the highest down.
    for (int power = top - 1; power >= -bottom; --power) {
        int da = digitFromRight(a, na, power + sa + 1);
        int db = digitFromRight(b, nb, power + sb + 1);
        if (da != db)
            return da > db ? 1 : -1;
    }
    return 0;
}

// The compare has no error channel: an operand that cannot be read (no
// bytes, a precision outside 1-72, a scale outside 0-72, as a corrupt type
// record may give) compares equal, 0, and nothing outside the operands'
// p/2+1 bytes is read.
int dtComparePackedDecimal(const unsigned char* a, int pa, int sa, int signedA, const unsigned char* b, int pb, int sb,
                           int signedB)
{
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb))
        return 0;
    const int signA = signedA ? packedSign(a, pa) : 1;
    const int signB = signedB ? packedSign(b, pb) : 1;
    if (signA != signB)
        return signA;
    return signA * packedAbsCmp(a, pa, sa, b, pb, sb);
}

void dtNegatePackedDecimal(unsigned char* bytes, int p)
{
    packedSetSign(bytes, p, -packedSign(bytes, p));
}

// ------------------------------------------------------------ re-digit, scale, compress

unsigned char* dtConvertPackedDecimal(const unsigned char* src, int ps, int ss, int pd, int sd, int signedFlag,
                                      int* allZero)
{
    static thread_local unsigned char area[areaBytes];
    if (src == nullptr || !validShape(ps, ss) || !validShape(pd, sd))
        return nullptr;
    std::memset(area, areaFiller, sizeof area);
    redigit(src, ps, ss, pd, sd, signedFlag, allZero, area);
    return area;
}

namespace {

// The p digits of src (pad excluded) with zeros in front (lead) and behind
// (trail), or with digits dropped at the front (dropFront) and back
// (dropBack), into area as a number of the resulting precision.
unsigned char* redigits(unsigned char* area, const unsigned char* src, int p, int signedFlag, int lead, int trail,
                        int dropFront, int dropBack)
{
    const int result = p + lead + trail - dropFront - dropBack;
    if (src == nullptr || !validPrecision(p) || !validPrecision(result))
        return nullptr;
    std::memset(area, areaFiller, static_cast<size_t>(areaBytes));
    const int srcNibbles = nibbles(p);
    const int dstNibbles = nibbles(result);
    // Digit r from the right of the result is digit r - trail + dropBack of src.
    for (int r = 1; r <= result; ++r) {
        int from = r - trail + dropBack;
        int digit = from >= 1 && from <= p - dropFront ? nibble(src, srcNibbles - from + 1) : 0;
        setNibble(area, dstNibbles - r + 1, digit);
    }
    if (dstNibbles > result)
        setNibble(area, 1, 0);
    setSignNibble(area, result, signedFlag ? signNibble(src, p) : 0x0F);
    return area;
}

} // namespace

unsigned char* dtScalePackedDecimal1(const unsigned char* src, int p, int signedFlag, int n)
{
    static thread_local unsigned char area[areaBytes];
    if (n < -PackedDecimalMaxDigits || n > PackedDecimalMaxDigits)
        return nullptr;
    return n >= 0 ? redigits(area, src, p, signedFlag, 0, n, 0, 0) : redigits(area, src, p, signedFlag, -n, 0, 0, 0);
}

unsigned char* dtCompressPackedDecimal1(const unsigned char* src, int p, int signedFlag, int n)
{
    static thread_local unsigned char area[areaBytes];
    if (n < -PackedDecimalMaxDigits || n > PackedDecimalMaxDigits)
        return nullptr;
    return n >= 0 ? redigits(area, src, p, signedFlag, 0, 0, 0, n) : redigits(area, src, p, signedFlag, 0, 0, -n, 0);
}

// ------------------------------------------------------------ integers

unsigned char* dtConvertFixedPointBinary2PackedDecimal(long long value, int p, int /*s*/, int signedFlag)
{
    static thread_local unsigned char area[areaBytes];
    if (!validPrecision(p))
        return nullptr;
    unsigned long long magnitude = static_cast<unsigned long long>(value);
    int sign = 0;
    if (signedFlag) {
        sign = value < 0 ? -1 : 1;
        if (value < 0)
            magnitude = 0ULL - magnitude;
    }
    writeInteger(magnitude, sign, p, area);
    return area;
}

long long dtConvertPackedDecimal2FixedPointBinary(const unsigned char* bytes, int p, int /*s*/, uint32_t* negative)
{
    unsigned long long value = 0;
    for (int k = 1; k <= nibbles(p); ++k)
        value = value * 10 + static_cast<unsigned>(nibble(bytes, k));
    const bool minus = packedSign(bytes, p) < 0;
    if (negative != nullptr)
        *negative = minus ? 1 : 0;
    return static_cast<long long>(minus ? 0ULL - value : value);
}

long long dtConvertPackedDecimal2FixedPointBinary2(const unsigned char* bytes, int p, int s, int signedResult,
                                                   int signedSource, int /*unused*/, int targetScale)
{
    const int t = targetScale;
    int used;
    int multiplier = 0;
    if (t == 0) {
        used = p - s;
    } else if (t > 0) {
        used = p - s - t;
    } else if (s <= -t) {
        used = p;
        multiplier = -t - s;
    } else {
        used = p - (s + t);
    }
    if (p % 2 == 0)
        ++used;
    used = std::clamp(used, 0, nibbles(p));
    unsigned long long value = 0;
    for (int k = 1; k <= used; ++k)
        value = value * 10 + static_cast<unsigned>(nibble(bytes, k));
    for (; multiplier > 0; multiplier -= 17) {
        int step = multiplier > 17 ? 17 : multiplier;
        value *= packedPowersOfTen[step];
    }
    if (signedResult && signedSource && packedSign(bytes, p) < 0)
        value = 0ULL - value;
    return static_cast<long long>(value);
}

unsigned char* dtConvertLonglong2PackedDecimal(long long x, uint32_t* p, uint32_t* s)
{
    static thread_local unsigned char area[areaBytes];
    unsigned long long magnitude = static_cast<unsigned long long>(x);
    if (x < 0)
        magnitude = 0ULL - magnitude;
    const int digits = decimalMagnitude(magnitude);
    writeInteger(magnitude, x < 0 ? -1 : 1, digits, area);
    if (p != nullptr)
        *p = static_cast<uint32_t>(digits);
    if (s != nullptr)
        *s = 0;
    return area;
}

unsigned char* dtConvertUnLonglong2PackedDecimal(unsigned long long x, uint32_t* p, uint32_t* s)
{
    static thread_local unsigned char area[areaBytes];
    const int digits = decimalMagnitude(x);
    writeInteger(x, 0, digits, area);
    if (p != nullptr)
        *p = static_cast<uint32_t>(digits);
    if (s != nullptr)
        *s = 0;
    return area;
}

// ------------------------------------------------------------ texts

char* dtFormatPackedDecimal(const unsigned char* bytes, int p, int s, int minusFlag)
{
    static thread_local char area[147];
    std::memset(area, 0, sizeof area);
    return format(bytes, p, s, minusFlag != 0, area) ? area : nullptr;
}

long long dtConvertPDstring2LongLong(const char* text, int asciiFlag)
{
    if (text == nullptr)
        return 0;
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
    const unsigned char minus = asciiFlag ? '-' : ebcdicMinus;
    const unsigned char zero = asciiFlag ? '0' : ebcdicZero;
    bool negative = false;
    if (*t == minus) {
        negative = true;
        ++t;
    }
    unsigned long long value = 0;
    for (; *t >= zero && *t <= zero + 9; ++t)
        value = value * 10 + static_cast<unsigned>(*t - zero);
    return static_cast<long long>(negative ? 0ULL - value : value);
}

int scanPackedDecimal(const char* text, int p, int s, unsigned char* out)
{
    if (out == nullptr || s > 31)
        return 0;
    return scan(text, p, s, out) ? 1 : 0;
}

unsigned char* dtConvertPDstring2PackedDecimal(const char* text, int p, int s)
{
    static thread_local unsigned char area[40];
    std::memset(area, 0, sizeof area);
    if (s > 31)
        return nullptr;
    return scan(text, p, s, area) ? area : nullptr;
}

unsigned char* dtConvertLongDouble2PackedDecimal(long double x, int p, int s)
{
    static thread_local unsigned char area[40];
    std::memset(area, 0, sizeof area);
    if (s > 31)
        return nullptr;
    return fromLongDouble(x, p, s, area) ? area : nullptr;
}

int makeMeLongDouble(const unsigned char* bytes, int p, int s, long double* out)
{
    return toLongDouble(bytes, p, s, true, out) ? 1 : 0;
}

unsigned char* dtGetPackedDecimalWithPropertries(const char* text, unsigned char* out, uint32_t* digits,
                                                 uint32_t* scale)
{
    // Wide enough for every COBOL literal: as many digits as the 31 bytes of
    // the output hold.
    constexpr int literalDigits = 61;
    if (text == nullptr || out == nullptr)
        return nullptr;
    decContext context;
    decimalContext(context, DEC_INIT_DECIMAL128);
    context.digits = literalDigits;
    context.traps = 0;
    WideNumber<literalDigits + DECDPUN> number;
    decNumber* n = &number.number;
    decNumberFromString(n, text, &context);
    if ((context.status & (DEC_Errors | DEC_Inexact | DEC_Rounded)) != 0 || (n->bits & DECSPECIAL))
        return nullptr;
    if (n->exponent > 0) {
        // A multiplier written as an exponent: the digits are spelt out.
        decNumber zero;
        decNumberZero(&zero);
        decNumberRescale(n, n, &zero, &context);
        if ((context.status & (DEC_Errors | DEC_Inexact | DEC_Rounded)) != 0 || (n->bits & DECSPECIAL))
            return nullptr;
    }
    int32_t packedScale = 0;
    if (decPackedFromNumber(out, n->digits / 2 + 1, &packedScale, n) == nullptr)
        return nullptr;
    if (digits != nullptr)
        *digits = static_cast<uint32_t>(n->digits);
    if (scale != nullptr)
        *scale = static_cast<uint32_t>(packedScale);
    return out;
}

} // extern "C"
