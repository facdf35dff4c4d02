#include "datatypes/ZonedDecimalRoutines.h"

#include "datatypes/DecimalDigitArith.h"
#include "datatypes/PackedDecimalRoutines.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

using norvexa::decimal::DigitBuffer;

namespace {

using uc = unsigned char;

// 72 digits, a separate sign byte and a terminating NUL fit with room left.
constexpr std::size_t kArea = 80;
constexpr std::size_t kPackedArea = 40;
constexpr std::size_t kFormatArea = 147;

constexpr uc kPlus = 0x4E;
constexpr uc kMinus = 0x60;
constexpr uc kPoint = 0x4B;

bool countsOk(int n, int s)
{
    return n >= 1 && n <= kZonedMaxDigits && s >= 0 && s <= n;
}

int digitOffset(int kind)
{
    return kind == 4 ? 1 : 0;
}

int storageLength(int n, int kind)
{
    return (kind == 4 || kind == 5) ? n + 1 : n;
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

// The embedded trailing reading: the zone of the last digit byte.
int zonedSign(uc const* bytes, int n)
{
    return zoneSign(bytes[n - 1]);
}

int zonedSepSign(uc const* bytes, int n, int kind)
{
    switch (kind) {
    case 2: return zoneSign(bytes[0]);
    case 3: return zoneSign(bytes[n - 1]);
    case 4: return bytes[0] == kMinus ? -1 : 1;
    case 5: return bytes[n] == kMinus ? -1 : 1;
    default: return 0;
    }
}

// National operands: the sign unit's second byte; n is the byte count of the
// digits (two per character).
int natSepSign(uc const* bytes, int n, int kind)
{
    switch (kind) {
    case 4: return bytes[1] == 0x2D ? -1 : 1;
    case 5: return bytes[n + 1] == 0x2D ? -1 : 1;
    default: return 0;
    }
}

void setZone(uc& byte, uc zone)
{
    byte = static_cast<uc>((byte & 0x0F) | zone);
}

void zonedSetSepSign(uc* bytes, int n, int sign, int kind)
{
    switch (kind) {
    case 4: bytes[0] = sign < 0 ? kMinus : kPlus; break;
    case 5: bytes[n] = sign < 0 ? kMinus : kPlus; break;
    case 2: setZone(bytes[0], sign < 0 ? 0xD0 : 0xC0); break;
    case 3: setZone(bytes[n - 1], sign < 0 ? 0xD0 : 0xC0); break;
    default: setZone(bytes[n - 1], 0xF0); break;
    }
}

void zonedSetTrailingSign(uc* bytes, int n, int sign)
{
    setZone(bytes[n - 1], sign < 0 ? 0xD0 : sign > 0 ? 0xC0 : 0xF0);
}

// A signed item counts as negative only when its sign reads negative; an
// item whose kind has no sign position, or whose sign is unreadable, is not.
int signOfSigned(int read, bool signedFlag)
{
    if (!signedFlag)
        return 0;
    return read == -1 ? -1 : 1;
}

void zonedDigits(uc const* bytes, int n, int kind, std::uint8_t* out)
{
    uc const* d = bytes + digitOffset(kind);
    for (int i = 0; i < n; ++i)
        out[i] = d[i] & 0x0F;
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

// Digit i (0 = most significant) of a packed number of p digits; an even p
// has a pad nibble in front.
int packedDigit(uc const* packed, int p, int i)
{
    int k = i + 1 + (p % 2 == 0 ? 1 : 0); // nibble position from 1
    uc byte = packed[(k - 1) / 2];
    return (k & 1) ? byte >> 4 : byte & 0x0F;
}

// Writes p digits and the sign nibble (C for +1, F for 0, D for -1).
void writePacked(uc* out, int p, std::uint8_t const* digits, int sign)
{
    std::memset(out, 0, static_cast<std::size_t>(p / 2 + 1));
    for (int i = 0; i < p; ++i) {
        int k = i + 1 + (p % 2 == 0 ? 1 : 0);
        uc& byte = out[(k - 1) / 2];
        byte = static_cast<uc>((k & 1) ? (byte & 0x0F) | (digits[i] << 4) : (byte & 0xF0) | (digits[i] & 0x0F));
    }
    uc& last = out[p / 2];
    last = static_cast<uc>((last & 0xF0) | (sign > 0 ? 0x0C : sign < 0 ? 0x0D : 0x0F));
}

} // namespace

extern "C" {

int dtCompareZonedDecimal(uc const* a, int pa, int sa, int kindA, uc const* b, int pb, int sb, int kindB,
                          int nationalFlag)
{
    if (!countsOk(pa, sa) || !countsOk(pb, sb))
        return 0;
    int signA, signB, width;
    if (nationalFlag) {
        width = 2;
        signA = natSepSign(a, 2 * pa, kindA);
        signB = natSepSign(b, 2 * pb, kindB);
    } else {
        width = 1;
        signA = zonedSepSign(a, pa, kindA);
        signB = zonedSepSign(b, pb, kindB);
    }
    if (signA == 0)
        signA = 1;
    if (signB == 0)
        signB = 1;
    if (signA != signB)
        return signA;
    DigitBuffer da{}, db{};
    uc const* ra = a + (kindA == 4 ? width : 0);
    uc const* rb = b + (kindB == 4 ? width : 0);
    for (int i = 0; i < pa; ++i)
        da[i] = ra[width * i + width - 1] & 0x0F;
    for (int i = 0; i < pb; ++i)
        db[i] = rb[width * i + width - 1] & 0x0F;
    return signA * norvexa::decimal::absCompare(da.data(), pa, sa, db.data(), pb, sb);
}

uc* dtConvertZonedDecimal(uc const* src, int ps, int ss, int kindS, int pd, int sd, int kindD)
{
    thread_local uc area[kArea];
    if (!countsOk(ps, ss) || !countsOk(pd, sd))
        return nullptr;
    std::memset(area, 0xEE, sizeof area);
    DigitBuffer digits{};
    zonedDigits(src, ps, kindS, digits.data());
    uc* d = area + digitOffset(kindD);
    bool allZero = true;
    for (int j = 0; j < pd; ++j) {
        int i = j - ((pd - sd) - (ps - ss));
        int digit = 0;
        if (i >= 0 && i < ps) {
            digit = digits[i];
            if (digit != 0)
                allZero = false;
        }
        d[j] = static_cast<uc>(0xF0 | digit);
    }
    int sign = zonedSepSign(src, ps, kindS);
    if (allZero && sign == -1)
        sign = 1;
    zonedSetSepSign(area, pd, sign, kindD);
    return area;
}

uc* dtCopyZonedDecimal(uc const* src, int n, int, int kind)
{
    thread_local uc area[kArea];
    if (!countsOk(n, 0))
        return nullptr;
    std::memset(area, 0xEE, sizeof area);
    std::memcpy(area, src, static_cast<std::size_t>(kind == 4 ? n + 1 : n));
    zonedSetSepSign(area, n, zonedSepSign(src, n, kind), kind);
    return area;
}

void dtNegateZonedDecimal(uc* bytes, int n, int kind)
{
    if (!bytes || n < 1)
        return;
    if (kind == 1)
        kind = 3;
    zonedSetSepSign(bytes, n, -zonedSepSign(bytes, n, kind), kind);
}

uc* dtScaleZonedDecimal1(uc const* src, int n, int kind, int k)
{
    thread_local uc area[kArea];
    int m = k < 0 ? -k : k;
    if (!countsOk(n, 0) || n + m > kZonedMaxDigits)
        return nullptr;
    std::memset(area, 0xEE, sizeof area);
    int off = digitOffset(kind);
    int sign = zonedSepSign(src, n, kind);
    if (k >= 0) {
        std::memcpy(area, src, static_cast<std::size_t>(off + n));
        if (k == 0) {
            if (kind == 5)
                area[n] = src[n];
            return area;
        }
        if (kind == 1 || kind == 3)
            setZone(area[n - 1], 0xF0);
        std::memset(area + off + n, 0xF0, static_cast<std::size_t>(m));
    } else {
        if (kind == 4)
            area[0] = src[0];
        std::memset(area + off, 0xF0, static_cast<std::size_t>(m));
        std::memcpy(area + off + m, src + off, static_cast<std::size_t>(n));
        if (kind == 2)
            setZone(area[off + m], 0xF0);
    }
    zonedSetSepSign(area, n + m, sign, kind);
    return area;
}

uc* dtCompressZonedDecimal1(uc const* src, int n, int kind, int k)
{
    thread_local uc area[kArea];
    int m = k < 0 ? -k : k;
    if (!countsOk(n, 0) || m >= n)
        return nullptr;
    std::memset(area, 0xEE, sizeof area);
    if (k == 0) {
        std::memcpy(area, src, static_cast<std::size_t>(storageLength(n, kind)));
        return area;
    }
    int off = digitOffset(kind);
    if (kind == 4)
        area[0] = src[0];
    std::memcpy(area + off, src + off + (k < 0 ? m : 0), static_cast<std::size_t>(n - m));
    zonedSetSepSign(area, n - m, zonedSepSign(src, n, kind), kind);
    return area;
}

uc* dtConvertFixedPointBinary2ZonedDecimal(std::uint64_t value, int n, int, int signedFlag, int kind)
{
    thread_local uc area[kArea];
    if (!countsOk(n, 0))
        return nullptr;
    std::memset(area, 0, sizeof area);
    int sign = 0;
    std::uint64_t magnitude = value;
    if (signedFlag) {
        if (static_cast<std::int64_t>(value) < 0) {
            magnitude = 0 - value;
            sign = -1;
        } else {
            sign = 1;
        }
    }
    uc* d = area + digitOffset(kind);
    for (int i = n - 1; i >= 0; --i) {
        d[i] = static_cast<uc>(0xF0 + magnitude % 10);
        magnitude /= 10;
    }
    zonedSetSepSign(area, n, sign, kind);
    return area;
}

std::int64_t dtConvertZonedDecimal2FixedPointBinary(uc const* bytes, int n, int, int signedFlag, int kind,
                                                    std::uint32_t* sign, int negateFlag)
{
    if (n < 1) {
        if (sign)
            *sign = 0;
        return 0;
    }
    int read = zonedSepSign(bytes, n, kind);
    int s = signOfSigned(read, signedFlag != 0);
    uc const* d = bytes + digitOffset(kind);
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v * 10 + (d[i] & 0x0F);
    if (negateFlag && s == -1)
        v = 0 - v;
    if (sign)
        *sign = static_cast<std::uint32_t>(read);
    return static_cast<std::int64_t>(v);
}

std::int64_t dtConvertZonedDecimal2FixedPointBinary2(uc const* bytes, int n, int s, int signedResult, int kind,
                                                     int signedSource, int, int targetScale)
{
    if (n < 1)
        return 0;
    int t = targetScale;
    int used;
    int exponent = 0;
    if (t == 0) {
        used = n - s;
    } else if (t > 0) {
        used = n - s - t;
    } else if (s <= -t) {
        used = n;
        exponent = -t - s;
    } else {
        used = n - (s + t);
    }
    if (used > n)
        used = n;
    uc const* d = bytes + digitOffset(kind);
    std::uint64_t v = 0;
    bool overflow = false;
    for (int i = 0; i < used; ++i) {
        if (i > 0 && v >= 0x199999999999999AULL)
            overflow = true;
        v = v * 10 + (d[i] & 0x0F);
    }
    for (int i = 0; i < exponent; ++i)
        v *= 10;
    if (!signedResult)
        return static_cast<std::int64_t>(v);
    if (signedSource && zonedSepSign(bytes, n, kind) == -1 && (kind == 4 || kind == 5 || !overflow))
        v = 0 - v;
    return static_cast<std::int64_t>(v);
}

uc* dtConvertLonglong2ZonedDecimal(long long x, std::uint32_t* digits, std::uint32_t* decimals)
{
    thread_local uc area[kArea];
    std::uint64_t magnitude = x < 0 ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
    int n = norvexa::decimal::decimalMagnitude(magnitude);
    std::memset(area, 0, sizeof area);
    for (int i = n - 1; i >= 0; --i) {
        area[i] = static_cast<uc>(0xF0 + magnitude % 10);
        magnitude /= 10;
    }
    zonedSetSepSign(area, n, x < 0 ? -1 : 1, 3);
    if (digits)
        *digits = static_cast<std::uint32_t>(n);
    if (decimals)
        *decimals = 0;
    return area;
}

uc* dtConvertUnLonglong2ZonedDecimal(unsigned long long x, std::uint32_t* digits, std::uint32_t* decimals)
{
    thread_local uc area[kArea];
    int n = norvexa::decimal::decimalMagnitude(x);
    std::memset(area, 0, sizeof area);
    for (int i = n - 1; i >= 0; --i) {
        area[i] = static_cast<uc>(0xF0 + x % 10);
        x /= 10;
    }
    zonedSetSepSign(area, n, 0, 3);
    if (digits)
        *digits = static_cast<std::uint32_t>(n);
    if (decimals)
        *decimals = 0;
    return area;
}

uc* dtConvertCharstring2ZonedDecimal(uc const* text, std::uint32_t* digits, std::uint32_t* decimals)
{
    thread_local uc area[kArea];
    std::memset(area, 0, sizeof area);
    int sign = 0;
    int n = 0, s = 0;
    bool point = false, bad = (text == nullptr);
    if (!bad) {
        uc const* t = text;
        if (*t == kPlus) {
            sign = 1;
            ++t;
        } else if (*t == kMinus) {
            sign = -1;
            ++t;
        }
        for (; *t && n < kZonedMaxDigits; ++t) {
            if (*t == kPoint && !point) {
                point = true;
                continue;
            }
            if (*t < 0xF0 || *t > 0xF9) {
                bad = true;
                break;
            }
            area[n++] = *t;
            if (point)
                ++s;
        }
    }
    if (bad || n == 0) {
        // Not a number: the single digit 0, unsigned.
        std::memset(area, 0, sizeof area);
        area[0] = 0xF0;
        n = 1;
        s = 0;
        sign = 0;
    }
    zonedSetTrailingSign(area, n, sign);
    if (digits)
        *digits = static_cast<std::uint32_t>(n);
    if (decimals)
        *decimals = static_cast<std::uint32_t>(s);
    return area;
}

uc* dtConvertPackedDecimal2ZonedDecimal(uc const* packed, int p, int, int signedFlag)
{
    thread_local uc area[kArea];
    if (!countsOk(p, 0))
        return nullptr;
    std::memset(area, 0, sizeof area);
    for (int i = 0; i < p; ++i)
        area[i] = static_cast<uc>(0xF0 | packedDigit(packed, p, i));
    zonedSetTrailingSign(area, p, signOfSigned(packedSignNibble(packed, p), signedFlag != 0));
    return area;
}

uc* dtConvertZonedDecimal2PackedDecimal(uc const* zoned, int p, int, int signedFlag, int kind)
{
    thread_local uc area[kPackedArea];
    if (!countsOk(p, 0))
        return nullptr;
    std::memset(area, 0, sizeof area);
    DigitBuffer digits{};
    zonedDigits(zoned, p, kind, digits.data());
    writePacked(area, p, digits.data(), signOfSigned(zonedSepSign(zoned, p, kind), signedFlag != 0));
    return area;
}

namespace {

uc* zonedAddSub(bool subtract, uc const* a, int pa, int sa, uc const* b, int pb, int sb, int pr, int sr, uc* area)
{
    if (!countsOk(pa, sa) || !countsOk(pb, sb) || !countsOk(pr, sr))
        return nullptr;
    DigitBuffer da{}, db{}, result{};
    for (int i = 0; i < pa; ++i)
        da[i] = a[i] & 0x0F;
    for (int i = 0; i < pb; ++i)
        db[i] = b[i] & 0x0F;
    int n = 0, s = 0;
    int sign = norvexa::decimal::signedAddSub(subtract, zonedSign(a, pa), zonedSign(b, pb), da.data(), pa, sa,
                                              db.data(), pb, sb, result.data(), &n, &s);
    std::memset(area, 0, kArea);
    for (int j = 0; j < pr; ++j)
        area[j] = static_cast<uc>(0xF0 | norvexa::decimal::alignedDigit(result.data(), n, s, pr, sr, j));
    zonedSetTrailingSign(area, pr, sign);
    return area;
}

// Multiply, divide and power go through the packed routines: both operands
// (embedded trailing signs) become signed packed numbers, and the packed
// result of pr digits comes back as pr zoned digits.
enum class PackedOp {
    Multiply,
    Divide,
    Power
};

uc* zonedThroughPacked(PackedOp op, uc const* a, int pa, int sa, uc const* b, int pb, int sb, int pr, int sr, uc* area)
{
    // The packed results, as the zoned ones, hold up to 72 digits.
    if (!countsOk(pa, sa) || !countsOk(pb, sb) || !countsOk(pr, sr))
        return nullptr;
    uc pa_bytes[kPackedArea], pb_bytes[kPackedArea];
    std::memcpy(pa_bytes, dtConvertZonedDecimal2PackedDecimal(a, pa, sa, 1, 3), sizeof pa_bytes);
    std::memcpy(pb_bytes, dtConvertZonedDecimal2PackedDecimal(b, pb, sb, 1, 3), sizeof pb_bytes);
    uc const* r = nullptr;
    switch (op) {
    case PackedOp::Multiply: r = dtMultiplyPackedDecimal(pa_bytes, pa, sa, 1, pb_bytes, pb, sb, 1, pr); break;
    case PackedOp::Divide: r = dtDividePackedDecimal(pa_bytes, pa, sa, 1, pb_bytes, pb, sb, 1, pr, sr); break;
    case PackedOp::Power: r = dtPowerPackedDecimal(pa_bytes, pa, sa, 1, pb_bytes, pb, sb, 1, pr, sr); break;
    }
    if (!r)
        return nullptr;
    uc packed[kPackedArea];
    std::memcpy(packed, r, static_cast<std::size_t>(pr / 2 + 1));
    uc const* z = dtConvertPackedDecimal2ZonedDecimal(packed, pr, sr, 1);
    std::memset(area, 0, kArea);
    std::memcpy(area, z, static_cast<std::size_t>(pr));
    return area;
}

} // namespace

uc* dtAddZonedDecimal(uc const* a, int pa, int sa, uc const* b, int pb, int sb, int pr, int sr)
{
    thread_local uc area[kArea];
    return zonedAddSub(false, a, pa, sa, b, pb, sb, pr, sr, area);
}

uc* dtSubtractZonedDecimal(uc const* a, int pa, int sa, uc const* b, int pb, int sb, int pr, int sr)
{
    thread_local uc area[kArea];
    return zonedAddSub(true, a, pa, sa, b, pb, sb, pr, sr, area);
}

uc* dtMultiplyZonedDecimal(uc const* a, int pa, int sa, uc const* b, int pb, int sb, int pr, int sr)
{
    thread_local uc area[kArea];
    return zonedThroughPacked(PackedOp::Multiply, a, pa, sa, b, pb, sb, pr, sr, area);
}

uc* dtDivideZonedDecimal(uc const* a, int pa, int sa, uc const* b, int pb, int sb, int pr, int sr)
{
    thread_local uc area[kArea];
    return zonedThroughPacked(PackedOp::Divide, a, pa, sa, b, pb, sb, pr, sr, area);
}

uc* dtPowerZonedDecimal(uc const* a, int pa, int sa, uc const* b, int pb, int sb, int pr, int sr)
{
    thread_local uc area[kArea];
    return zonedThroughPacked(PackedOp::Power, a, pa, sa, b, pb, sb, pr, sr, area);
}

char* dtFormatZonedDecimal(uc const* bytes, int p, int s, int kind)
{
    thread_local char area[kFormatArea];
    if (p < s || p < 1 || p > kZonedMaxDigits || s < 0 || s > 31)
        return nullptr;
    uc work[kArea];
    uc const* z = bytes;
    if (kind == 2 || kind == 4 || kind == 5) {
        std::memcpy(work, dtConvertZonedDecimal(bytes, p, s, kind, p, s, 3), static_cast<std::size_t>(p));
        z = work;
    }
    std::memset(area, 0, sizeof area);
    int zone = z[p - 1] >> 4;
    if (zone <= 9) {
        // No sign zone: the item's bytes are handed back as they are.
        std::memcpy(area, z, static_cast<std::size_t>(p));
        return area;
    }
    char* t = area;
    if (zone == 0xB || zone == 0xD)
        *t++ = '-';
    char* digitsStart = t;
    for (int i = 0; i < p - s; ++i)
        *t++ = static_cast<char>('0' + (z[i] & 0x0F));
    *t++ = '.';
    if (s == 0) {
        *t++ = '0';
    } else {
        for (int i = p - s; i < p; ++i)
            *t++ = static_cast<char>('0' + (z[i] & 0x0F));
    }
    *t++ = 'D';
    *t = '\0';
    char* q = digitsStart;
    while (q[0] == '0' && q[1] != '.')
        ++q;
    if (q != digitsStart)
        std::memmove(digitsStart, q, std::strlen(q) + 1);
    return area;
}

long long dtConvertZDstring2LongLong(char const* text, int asciiFlag)
{
    return norvexa::decimal::textToLongLong(text, asciiFlag != 0);
}

uc* dtConvertZDstring2ZonedDecimal(char const* text, int p, int s)
{
    thread_local uc area[kArea];
    if (!text || !countsOk(p, s) || s > 31)
        return nullptr;
    uc const* packed = dtConvertPDstring2PackedDecimal(text, p, s);
    if (!packed)
        return nullptr;
    uc copy[kPackedArea];
    std::memcpy(copy, packed, static_cast<std::size_t>(p / 2 + 1));
    std::memset(area, 0, sizeof area);
    std::memcpy(area, dtConvertPackedDecimal2ZonedDecimal(copy, p, s, 1), static_cast<std::size_t>(p));
    return area;
}

uc* dtConvertLongDouble2ZonedDecimal(long double x, int p, int s)
{
    if (!countsOk(p, s) || s > 31)
        return nullptr;
    std::string text = norvexa::decimal::fixedPointText(x, p, s);
    if (text.empty())
        return nullptr;
    return dtConvertZDstring2ZonedDecimal(text.c_str(), p, s);
}

uc* dtGetZonedDecimalWithPropertries(char const* text, uc* out, std::uint32_t* digits, std::uint32_t* scale)
{
    return dtGetPackedDecimalWithPropertries(text, out, digits, scale);
}

} // extern "C"
