#include "datatypes/NationalDecimalRoutines.h"

#include "datatypes/DecNumberBinding.h"
#include "datatypes/DecimalDigitArith.h"
#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimalRoutines.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

using norvexa::decimal::DigitBuffer;

namespace {

using uc = unsigned char;

// 72 digit units and a sign unit, with room left.
constexpr std::size_t kArea = 2 * kNationalMaxDigits + 2 + 6;
constexpr std::size_t kPackedArea = 40;
constexpr std::size_t kFormatArea = 72;

constexpr uc kPlusChar = 0x2B;
constexpr uc kMinusChar = 0x2D;

bool countsOk(int p, int d)
{
    return p >= 1 && p <= kNationalMaxDigits && d >= 0 && d <= p;
}

int digitUnit(int k)
{
    return k == 4 ? 1 : 0;
}

int nationalSepSign(uc const* bytes, int p, int k)
{
    switch (k) {
    case 4: return bytes[1] == kMinusChar ? -1 : 1;
    case 5: return bytes[2 * p + 1] == kMinusChar ? -1 : 1;
    default: return 0;
    }
}

void nationalSetSepSign(uc* buffer, int p, int sign, int k)
{
    uc* unit = nullptr;
    if (k == 4)
        unit = buffer;
    else if (k == 5)
        unit = buffer + 2 * p;
    if (!unit)
        return;
    unit[0] = 0x00;
    unit[1] = sign < 0 ? kMinusChar : kPlusChar;
}

void nationalDigits(uc const* bytes, int p, int k, std::uint8_t* out)
{
    uc const* d = bytes + 2 * digitUnit(k);
    for (int i = 0; i < p; ++i)
        out[i] = d[2 * i + 1] & 0x0F;
}

void putDigit(uc* unit, int digit)
{
    unit[0] = 0x00;
    unit[1] = static_cast<uc>(0x30 + digit);
}

int zoneSign(uc byte)
{
    switch (byte >> 4) {
    case 0xA:
    case 0xC:
    case 0xE:
    case 0xF: return 1;
    case 0xB:
    case 0xD: return -1;
    default: return 0;
    }
}

int zonedSepSign(uc const* bytes, int n, int kind)
{
    switch (kind) {
    case 2: return zoneSign(bytes[0]);
    case 3: return zoneSign(bytes[n - 1]);
    case 4: return bytes[0] == 0x60 ? -1 : 1;
    case 5: return bytes[n] == 0x60 ? -1 : 1;
    default: return 0;
    }
}

int packedSignNibble(uc const* packed, int p)
{
    switch (packed[p / 2] & 0x0F) {
    case 0xA:
    case 0xC:
    case 0xE:
    case 0xF: return 1;
    case 0xB:
    case 0xD: return -1;
    default: return 0;
    }
}

// Writes p digits of a magnitude, most significant first, into the digit
// units of a national string of kind k, then its sign unit.
void writeNational(uc* area, int p, std::uint8_t const* digits, int sign, int k)
{
    uc* d = area + 2 * digitUnit(k);
    for (int i = 0; i < p; ++i)
        putDigit(d + 2 * i, digits[i]);
    nationalSetSepSign(area, p, sign, k);
}

int storageLength(int p, int k)
{
    return (k == 4 || k == 5) ? 2 * p + 2 : 2 * p;
}

} // namespace

extern "C" {

uc* dtConvertNationalDecimal(uc const* src, int p1, int d1, int k1, int p2, int d2, int k2)
{
    thread_local uc area[kArea];
    if (!countsOk(p1, d1) || !countsOk(p2, d2))
        return nullptr;
    std::memset(area, 0xEE, sizeof area);
    DigitBuffer digits{};
    nationalDigits(src, p1, k1, digits.data());
    uc* d = area + 2 * digitUnit(k2);
    bool allZero = true;
    for (int j = 0; j < p2; ++j) {
        int i = j - ((p2 - d2) - (p1 - d1));
        int digit = 0;
        if (i >= 0 && i < p1) {
            digit = digits[i];
            if (digit != 0)
                allZero = false;
        }
        putDigit(d + 2 * j, digit);
    }
    int sign = nationalSepSign(src, p1, k1);
    if (sign == 0 || (allZero && sign < 0))
        sign = 1;
    nationalSetSepSign(area, p2, sign, k2);
    return area;
}

uc* dtConvertNationalDecimal2ZonedDecimal(uc const* bytes, int p, int d, int signedFlag, int k)
{
    thread_local uc area[kArea];
    if (!countsOk(p, d))
        return nullptr;
    std::memset(area, 0, sizeof area);
    DigitBuffer digits{};
    nationalDigits(bytes, p, k, digits.data());
    for (int i = 0; i < p; ++i)
        area[i] = static_cast<uc>(0xF0 | digits[i]);
    int sign = signedFlag ? (nationalSepSign(bytes, p, k) == -1 ? -1 : 1) : 0;
    area[p - 1] = static_cast<uc>((area[p - 1] & 0x0F) | (sign > 0 ? 0xC0 : sign < 0 ? 0xD0 : 0xF0));
    return area;
}

uc* dtConvertZonedDecimal2NationalDecimal(uc const* zoned, int p, int d, int, int targetKind, int sourceSigned,
                                          int sourceKind)
{
    thread_local uc area[kArea];
    if (!countsOk(p, d))
        return nullptr;
    std::memset(area, 0, sizeof area);
    DigitBuffer digits{};
    uc const* z = zoned + (sourceKind == 4 ? 1 : 0);
    for (int i = 0; i < p; ++i)
        digits[i] = z[i] & 0x0F;
    int sign = 0;
    if (sourceSigned)
        sign = zonedSepSign(zoned, p, sourceKind) == -1 ? -1 : 1;
    writeNational(area, p, digits.data(), sign, targetKind);
    return area;
}

uc* dtConvertNationalDecimal2PackedDecimal(uc const* bytes, int p, int d, int signedFlag, int k)
{
    thread_local uc area[kPackedArea];
    if (!countsOk(p, d))
        return nullptr;
    std::memset(area, 0, sizeof area);
    DigitBuffer digits{};
    nationalDigits(bytes, p, k, digits.data());
    for (int i = 0; i < p; ++i) {
        int pos = i + 1 + (p % 2 == 0 ? 1 : 0); // nibble position from 1
        uc& byte = area[(pos - 1) / 2];
        byte = static_cast<uc>((pos & 1) ? (byte & 0x0F) | (digits[i] << 4) : (byte & 0xF0) | digits[i]);
    }
    int sign = signedFlag ? (nationalSepSign(bytes, p, k) == -1 ? -1 : 1) : 0;
    uc& last = area[p / 2];
    last = static_cast<uc>((last & 0xF0) | (sign > 0 ? 0x0C : sign < 0 ? 0x0D : 0x0F));
    return area;
}

uc* dtConvertPackedDecimal2NationalDecimal(uc const* packed, int p, int d, int signedFlag)
{
    thread_local uc area[kArea];
    if (!countsOk(p, d))
        return nullptr;
    std::memset(area, 0, sizeof area);
    DigitBuffer digits{};
    for (int i = 0; i < p; ++i) {
        int pos = i + 1 + (p % 2 == 0 ? 1 : 0);
        uc byte = packed[(pos - 1) / 2];
        digits[i] = static_cast<std::uint8_t>((pos & 1) ? byte >> 4 : byte & 0x0F);
    }
    int sign = signedFlag ? (packedSignNibble(packed, p) == -1 ? -1 : 1) : 0;
    writeNational(area, p, digits.data(), sign, 5);
    return area;
}

std::int64_t dtConvertNationalDecimal2FixedPointBinary(uc const* bytes, int p, int, std::uint32_t* negative, int k)
{
    if (p < 1) {
        if (negative)
            *negative = 0;
        return 0;
    }
    uc const* d = bytes + 2 * digitUnit(k);
    std::uint64_t v = 0;
    for (int i = 0; i < p; ++i)
        v = v * 10 + (d[2 * i + 1] & 0x0F);
    bool minus = nationalSepSign(bytes, p, k) == -1;
    if (negative)
        *negative = minus ? 1 : 0;
    return static_cast<std::int64_t>(minus ? 0 - v : v);
}

uc* dtConvertFixedPointBinary2NationalDecimal(std::uint64_t value, int p, int, int signedFlag, int k)
{
    thread_local uc area[kArea];
    if (!countsOk(p, 0))
        return nullptr;
    std::memset(area, 0, sizeof area);
    int sign = 1;
    std::uint64_t magnitude = value;
    if (signedFlag && static_cast<std::int64_t>(value) < 0) {
        magnitude = 0 - value;
        sign = -1;
    }
    DigitBuffer digits{};
    for (int i = p - 1; i >= 0; --i) {
        digits[i] = static_cast<std::uint8_t>(magnitude % 10);
        magnitude /= 10;
    }
    writeNational(area, p, digits.data(), sign, k);
    return area;
}

namespace {

uc* integerToNational(std::uint64_t magnitude, bool negative, std::uint32_t* p, std::uint32_t* d, uc* area)
{
    int n = norvexa::decimal::decimalMagnitude(magnitude);
    DigitBuffer digits{};
    for (int i = n - 1; i >= 0; --i) {
        digits[i] = static_cast<std::uint8_t>(magnitude % 10);
        magnitude /= 10;
    }
    std::memset(area, 0, kArea);
    writeNational(area, n, digits.data(), negative ? -1 : 1, 5);
    if (p)
        *p = static_cast<std::uint32_t>(n);
    if (d)
        *d = 0;
    return area;
}

} // namespace

uc* dtConvertLonglong2NationalDecimal(long long x, std::uint32_t* p, std::uint32_t* d)
{
    thread_local uc area[kArea];
    std::uint64_t magnitude = x < 0 ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
    return integerToNational(magnitude, x < 0, p, d, area);
}

uc* dtConvertUnLonglong2NationalDecimal(unsigned long long x, std::uint32_t* p, std::uint32_t* d)
{
    thread_local uc area[kArea];
    return integerToNational(x, false, p, d, area);
}

uc* dtConvertLongDouble2NationalDecimal(long double x, int p, int d)
{
    if (p < 1 || p > kNationalMaxTextDigits || d < 0 || d > p)
        return nullptr;
    std::string text = norvexa::decimal::fixedPointText(x, p, d);
    if (text.empty())
        return nullptr;
    return dtConvertNDstring2NationalDecimal(text.c_str(), p, d, 0, 1);
}

uc* dtConvertNDstring2NationalDecimal(char const* text, int p, int d, int, int roundFlag)
{
    thread_local uc area[kArea];
    if (!text || p < 1 || p > kNationalMaxTextDigits || d < 0 || d > kNationalMaxTextDigits || d > p)
        return nullptr;
    uc const* scanned = dtConvertPDstring2PackedDecimal(text, p, d);
    if (!scanned)
        return nullptr;
    uc packed[kPackedArea] = {};
    std::memcpy(packed, scanned, static_cast<std::size_t>(p / 2 + 1));
    if (roundFlag) {
        // The fraction follows the last point (EBCDIC 0x4B or ASCII '.'); when
        // the text has more fraction digits than d and the first dropped one is
        // 5 to 9, one unit of the last kept place is added to the magnitude.
        unsigned char const* t = reinterpret_cast<unsigned char const*>(text);
        std::size_t length = std::strlen(text);
        if (length > 64)
            length = 64;
        std::size_t point = length;
        for (std::size_t i = length; i-- > 0;) {
            if (t[i] == 0x4B || t[i] == '.') {
                point = i;
                break;
            }
        }
        if (point < length && length - point - 1 > static_cast<std::size_t>(d)) {
            unsigned char dropped = t[point + 1 + d];
            bool roundUp = (dropped >= 0xF5 && dropped <= 0xF9) || (dropped >= '5' && dropped <= '9');
            if (roundUp) {
                std::size_t first = 0;
                while (first < length && (t[first] == ' ' || t[first] == 0x40))
                    ++first;
                bool minus = first < length && (t[first] == 0x60 || t[first] == '-');
                DigitBuffer digits{};
                for (int i = 0; i < p; ++i) {
                    int pos = i + 1 + (p % 2 == 0 ? 1 : 0);
                    uc byte = packed[(pos - 1) / 2];
                    digits[i] = static_cast<std::uint8_t>((pos & 1) ? byte >> 4 : byte & 0x0F);
                }
                // Carry out of the highest digit is lost, as in a p-digit sum.
                for (int i = p - 1; i >= 0; --i) {
                    if (++digits[i] <= 9)
                        break;
                    digits[i] = 0;
                }
                std::memset(packed, 0, sizeof packed);
                for (int i = 0; i < p; ++i) {
                    int pos = i + 1 + (p % 2 == 0 ? 1 : 0);
                    uc& byte = packed[(pos - 1) / 2];
                    byte = static_cast<uc>((pos & 1) ? (byte & 0x0F) | (digits[i] << 4) : (byte & 0xF0) | digits[i]);
                }
                packed[p / 2] = static_cast<uc>((packed[p / 2] & 0xF0) | (minus ? 0x0D : 0x0C));
            }
        }
    }
    std::memset(area, 0, sizeof area);
    std::memcpy(area, dtConvertPackedDecimal2NationalDecimal(packed, p, d, 1), static_cast<std::size_t>(2 * p + 2));
    return area;
}

long long dtConvertNDstring2LongLong(char const* text, int asciiFlag)
{
    return norvexa::decimal::textToLongLong(text, asciiFlag != 0);
}

uc* dtFormatNationalDecimal(uc const* bytes, int p, int d, int k)
{
    thread_local uc area[kFormatArea];
    if (p < 1 || p < d || p > kNationalMaxTextDigits || d < 0 || d > kNationalMaxTextDigits)
        return nullptr;
    uc zoned[kNationalMaxTextDigits + 1];
    std::memcpy(zoned, dtConvertNationalDecimal2ZonedDecimal(bytes, p, d, k >= 2, k), static_cast<std::size_t>(p));
    int sign = zoneSign(zoned[p - 1]);
    if (sign == 0)
        return nullptr;
    std::memset(area, 0, sizeof area);
    uc* t = area;
    if (sign < 0)
        *t++ = 0x60;
    uc* digitsStart = t;
    for (int i = 0; i < p - d; ++i)
        *t++ = static_cast<uc>(0xF0 | (zoned[i] & 0x0F));
    *t++ = 0x4B;
    if (d == 0) {
        *t++ = 0xF0;
    } else {
        for (int i = p - d; i < p; ++i)
            *t++ = static_cast<uc>(0xF0 | (zoned[i] & 0x0F));
    }
    *t++ = 0xC4;
    *t = 0;
    uc* q = digitsStart;
    while (q[0] == 0xF0 && q[1] != 0x4B)
        ++q;
    if (q != digitsStart)
        std::memmove(digitsStart, q, static_cast<std::size_t>(t - q) + 1);
    return area;
}

uc* dtGetNationalDecimalWithPropertries(char const* text, uc* area, std::uint32_t* p, std::uint32_t* d, int)
{
    if (!text || !area)
        return nullptr;
    // Every digit of the literal is kept: the context holds as many digits as
    // 31 packed bytes do, and a literal longer than that is refused rather
    // than rounded.
    constexpr int kDigits = 61;
    struct WideNumber {
        std::int32_t digits;
        std::int32_t exponent;
        std::uint8_t bits;
        decNumberUnit lsu[(kDigits + DECDPUN - 1) / DECDPUN];
    } wide{};
    static_assert(offsetof(WideNumber, lsu) == offsetof(decNumber, lsu));
    decNumber* number = reinterpret_cast<decNumber*>(&wide);
    decContext context;
    decimalContext(context, DEC_INIT_BASE);
    context.traps = 0;
    context.digits = kDigits;
    decNumberFromString(number, text, &context);
    if ((context.status & (DEC_Errors | DEC_Inexact)) || (number->bits & DECSPECIAL))
        return nullptr;
    if (number->exponent > 0) {
        // Trailing zeros of an exponent become digits of the integer.
        decNumber zero;
        decNumberZero(&zero);
        decNumberRescale(number, number, &zero, &context);
        if ((context.status & (DEC_Errors | DEC_Inexact)) || (number->bits & DECSPECIAL))
            return nullptr;
    }
    std::memset(area, 0, 65);
    std::int32_t scale = 0;
    if (!decPackedFromNumber(area, 31, &scale, number))
        return nullptr;
    // A fraction with leading zeros (0.05) has more places than coefficient
    // digits; the digit count covers every place.
    std::int32_t digits = number->digits > scale ? number->digits : scale;
    if (p)
        *p = static_cast<std::uint32_t>(digits);
    if (d)
        *d = static_cast<std::uint32_t>(scale);
    return area;
}

int dtCompareNationalDecimal(uc const* a, int pa, int da, uc const* b, int pb, int db)
{
    return dtCompareZonedDecimal(a, pa, da, 5, b, pb, db, 5, 1);
}

uc* dtNegateNationalDecimal(uc const* a, int pa)
{
    thread_local uc area[kArea];
    if (!countsOk(pa, 0))
        return nullptr;
    std::memset(area, 0, sizeof area);
    std::memcpy(area, a, static_cast<std::size_t>(storageLength(pa, 5)));
    nationalSetSepSign(area, pa, -nationalSepSign(a, pa, 5), 5);
    return area;
}

namespace {

uc* nationalAddSub(bool subtract, uc const* a, int pa, int da, uc const* b, int pb, int db, int pr, int dr, uc* area)
{
    if (!countsOk(pa, da) || !countsOk(pb, db) || !countsOk(pr, dr))
        return nullptr;
    DigitBuffer ad{}, bd{}, result{};
    nationalDigits(a, pa, 5, ad.data());
    nationalDigits(b, pb, 5, bd.data());
    int n = 0, s = 0;
    int sign = norvexa::decimal::signedAddSub(subtract, nationalSepSign(a, pa, 5), nationalSepSign(b, pb, 5), ad.data(),
                                              pa, da, bd.data(), pb, db, result.data(), &n, &s);
    DigitBuffer placed{};
    for (int j = 0; j < pr; ++j)
        placed[j] = static_cast<std::uint8_t>(norvexa::decimal::alignedDigit(result.data(), n, s, pr, dr, j));
    std::memset(area, 0, kArea);
    writeNational(area, pr, placed.data(), sign, 5);
    return area;
}

enum class PackedOp {
    Multiply,
    Divide,
    Power
};

uc* nationalThroughPacked(PackedOp op, uc const* a, int pa, int da, uc const* b, int pb, int db, int pr, int dr,
                          uc* area)
{
    // The packed results, as the national ones, hold up to 72 digits.
    if (!countsOk(pa, da) || !countsOk(pb, db) || !countsOk(pr, dr))
        return nullptr;
    uc pa_bytes[kPackedArea], pb_bytes[kPackedArea];
    std::memcpy(pa_bytes, dtConvertNationalDecimal2PackedDecimal(a, pa, da, 1, 5), sizeof pa_bytes);
    std::memcpy(pb_bytes, dtConvertNationalDecimal2PackedDecimal(b, pb, db, 1, 5), sizeof pb_bytes);
    uc const* r = nullptr;
    switch (op) {
    case PackedOp::Multiply: r = dtMultiplyPackedDecimal(pa_bytes, pa, da, 1, pb_bytes, pb, db, 1, pr); break;
    case PackedOp::Divide: r = dtDividePackedDecimal(pa_bytes, pa, da, 1, pb_bytes, pb, db, 1, pr, dr); break;
    case PackedOp::Power: r = dtPowerPackedDecimal(pa_bytes, pa, da, 1, pb_bytes, pb, db, 1, pr, dr); break;
    }
    if (!r)
        return nullptr;
    uc packed[kPackedArea];
    std::memcpy(packed, r, static_cast<std::size_t>(pr / 2 + 1));
    std::memset(area, 0, kArea);
    std::memcpy(area, dtConvertPackedDecimal2NationalDecimal(packed, pr, dr, 1), static_cast<std::size_t>(2 * pr + 2));
    return area;
}

} // namespace

uc* dtAddNationalDecimal(uc const* a, int pa, int da, uc const* b, int pb, int db, int pr, int dr)
{
    thread_local uc area[kArea];
    return nationalAddSub(false, a, pa, da, b, pb, db, pr, dr, area);
}

uc* dtSubtractNationalDecimal(uc const* a, int pa, int da, uc const* b, int pb, int db, int pr, int dr)
{
    thread_local uc area[kArea];
    return nationalAddSub(true, a, pa, da, b, pb, db, pr, dr, area);
}

uc* dtMultiplyNationalDecimal(uc const* a, int pa, int da, uc const* b, int pb, int db, int pr, int dr)
{
    thread_local uc area[kArea];
    return nationalThroughPacked(PackedOp::Multiply, a, pa, da, b, pb, db, pr, dr, area);
}

uc* dtDivideNationalDecimal(uc const* a, int pa, int da, uc const* b, int pb, int db, int pr, int dr)
{
    thread_local uc area[kArea];
    return nationalThroughPacked(PackedOp::Divide, a, pa, da, b, pb, db, pr, dr, area);
}

uc* dtPowerNationalDecimal(uc const* a, int pa, int da, uc const* b, int pb, int db, int pr, int dr)
{
    thread_local uc area[kArea];
    return nationalThroughPacked(PackedOp::Power, a, pa, da, b, pb, db, pr, dr, area);
}

} // extern "C"
