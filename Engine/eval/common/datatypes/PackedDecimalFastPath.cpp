// Packed add, subtract, multiply and divide in binary: digits are read
// sixteen at a time from the packed bytes and turned into base-10^8 limbs
// with a few word-wide steps, added as one or two words, multiplied limb by
// limb or divided as 128-bit integers (a longer dividend limb by limb over a
// divisor of one word), and the limbs written back as BCD with the sign
// nibble in one pass.
#include "datatypes/PackedDecimalFastPath.h"

#include "datatypes/PackedDecimalRoutines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "datatypes/PackedDecimalDigits.h"
#include "datatypes/PackedDecimalRoutines.h"

namespace packed {
namespace {

constexpr uint64_t limbBase = 100000000ULL; // 10^8

#if defined(__SIZEOF_INT128__)
using u128 = unsigned __int128;

constexpr uint64_t wordBase = limbBase * limbBase; // 10^16
// A quotient's dividend holds at most 38 digits (below 2^127).
constexpr int widestDividend = 38;

struct PowersOfTen {
    u128 value[widestDividend + 1];
    constexpr PowersOfTen() : value{}
    {
        u128 p = 1;
        for (int k = 0; k <= widestDividend; ++k, p *= 10)
            value[k] = p;
    }
};
constexpr PowersOfTen powers;
#endif

uint64_t loadBigEndian(const unsigned char* bytes)
{
    uint64_t v;
    std::memcpy(&v, bytes, sizeof v);
    return __builtin_bswap64(v);
}

void storeBigEndian(unsigned char* bytes, uint64_t v)
{
    v = __builtin_bswap64(v);
    std::memcpy(bytes, &v, sizeof v);
}

// True when each of the word's sixteen nibbles is 0-9.
bool digitsOnly(uint64_t bcd)
{
    return ((bcd >> 3) & ((bcd >> 2) | (bcd >> 1)) & 0x1111111111111111ULL) == 0;
}

// The last `count` digit nibbles (1-32; fewer when p has fewer, the pad
// nibble never) as two BCD words: low holds the last sixteen. Reads only
// the number's own p/2+1 bytes. False when a kept nibble is no digit.
bool loadDigits(const unsigned char* bytes, int p, int count, uint64_t& low, uint64_t& high)
{
    const int length = byteLength(p);
    const int taken = std::min(length, 17); // 32 digits and the sign
    unsigned char buffer[24] = {};
    std::memcpy(buffer + sizeof buffer - taken, bytes + length - taken, static_cast<size_t>(taken));
    const uint64_t w2 = loadBigEndian(buffer);
    const uint64_t w1 = loadBigEndian(buffer + 8);
    const uint64_t w0 = loadBigEndian(buffer + 16);
    low = (w0 >> 4) | (w1 << 60);
    high = (w1 >> 4) | (w2 << 60);
    const int kept = std::min(p, count);
    if (kept < 16) {
        low &= (1ULL << (4 * kept)) - 1;
        high = 0;
    } else if (kept < 32) {
        high &= (1ULL << (4 * (kept - 16))) - 1;
    }
    return digitsOnly(low) && digitsOnly(high);
}

// Sixteen BCD digits as two base-10^8 limbs: pairs of digits, then of
// pairs, then of those, each step over every lane of the word at once.
void limbsOf(uint64_t bcd, uint32_t* limbs)
{
    bcd = ((bcd >> 4) & 0x0F0F0F0F0F0F0F0FULL) * 10 + (bcd & 0x0F0F0F0F0F0F0F0FULL);
    bcd = ((bcd >> 8) & 0x00FF00FF00FF00FFULL) * 100 + (bcd & 0x00FF00FF00FF00FFULL);
    bcd = ((bcd >> 16) & 0x0000FFFF0000FFFFULL) * 10000 + (bcd & 0x0000FFFF0000FFFFULL);
    limbs[0] = static_cast<uint32_t>(bcd);
    limbs[1] = static_cast<uint32_t>(bcd >> 32);
}

// A limb (below 10^8) as eight BCD digits.
uint64_t bcdOf(uint32_t limb)
{
    const uint32_t high = limb / 10000;
    const uint32_t low = limb - high * 10000;
    const uint32_t h1 = high / 100;
    const uint32_t l1 = low / 100;
    return static_cast<uint64_t>(packedValueToBcd[h1]) << 24 |
           static_cast<uint64_t>(packedValueToBcd[high - h1 * 100]) << 16 |
           static_cast<uint64_t>(packedValueToBcd[l1]) << 8 | packedValueToBcd[low - l1 * 100];
}

// The low pr digits of the value whose base-10^8 limbs (least significant
// first) are limbs[0..count), sign nibble D or C, pad nibble 0, into out.
void storeDigits(const uint32_t* limbs, int count, int pr, bool negative, unsigned char* out)
{
    // Sixteen digits a word; the sign takes the last nibble, so the digits
    // move up by one nibble across the words.
    const int length = byteLength(pr);
    const int words = (2 * length + 15) / 16;
    unsigned char buffer[48];
    uint64_t below = negative ? 0x0D : 0x0C;
    for (int k = 0; k < words; ++k) {
        const uint64_t low = 2 * k < count ? bcdOf(limbs[2 * k]) : 0;
        const uint64_t high = 2 * k + 1 < count ? bcdOf(limbs[2 * k + 1]) : 0;
        const uint64_t bcd = high << 32 | low;
        storeBigEndian(buffer + sizeof buffer - 8 * (k + 1), bcd << 4 | below);
        below = bcd >> 60;
    }
    std::memcpy(out, buffer + sizeof buffer - length, static_cast<size_t>(length));
    if (pr % 2 == 0)
        out[0] &= 0x0F;
}

#if defined(__SIZEOF_INT128__)
// The value of at most 32 BCD digits.
u128 valueOf(uint64_t low, uint64_t high)
{
    uint32_t limbs[4];
    limbsOf(low, limbs);
    limbsOf(high, limbs + 2);
    const uint64_t lowWord = limbs[1] * limbBase + limbs[0];
    const uint64_t highWord = limbs[3] * limbBase + limbs[2];
    return static_cast<u128>(highWord) * wordBase + lowWord;
}

// A value below 10^38 as five base-10^8 limbs.
void limbsOfValue(u128 value, uint32_t* limbs)
{
    uint64_t words[3] = {};
    for (int k = 0; k < 3 && value != 0; ++k) {
        if (value >> 64 == 0) {
            const uint64_t v = static_cast<uint64_t>(value);
            words[k] = v % wordBase;
            value = v / wordBase;
        } else {
            const u128 rest = value / wordBase;
            words[k] = static_cast<uint64_t>(value - rest * wordBase);
            value = rest;
        }
    }
    for (int k = 0; k < 3; ++k) {
        const uint64_t high = words[k] / limbBase;
        limbs[2 * k] = static_cast<uint32_t>(words[k] - high * limbBase);
        if (2 * k + 1 < 5)
            limbs[2 * k + 1] = static_cast<uint32_t>(high);
    }
}

// The low pr digits of value * 10^raise divided by a divisor below 2^64,
// limb by limb from the top: each partial remainder stays below the divisor,
// so every quotient limb is below 10^8.
bool longDivide(u128 value, int raise, uint64_t divisor, int pr, bool negative, unsigned char* out)
{
    // The value's 32 digits raised by at most 72 + 31 decimals; the last
    // limb's carry lands in the value's fifth, zero limb.
    constexpr int most = (32 + PackedDecimalMaxDigits + 31) / 8 + 1;
    uint32_t limbs[most] = {};
    uint32_t own[5];
    limbsOfValue(value, own);
    const int whole = raise / 8;
    const int count = whole + 5;
    if (count > most)
        return false;
    const uint64_t scale = static_cast<uint64_t>(powers.value[raise % 8]);
    uint64_t carry = 0;
    for (int k = 0; k < 5; ++k) {
        const uint64_t t = own[k] * scale + carry;
        carry = t / limbBase;
        limbs[whole + k] = static_cast<uint32_t>(t - carry * limbBase);
    }
    uint32_t quotient[most];
    uint64_t remainder = 0;
    for (int k = count - 1; k >= 0; --k) {
        const u128 current = static_cast<u128>(remainder) * limbBase + limbs[k];
        const uint64_t q =
            current >> 64 == 0 ? static_cast<uint64_t>(current) / divisor : static_cast<uint64_t>(current / divisor);
        quotient[k] = static_cast<uint32_t>(q);
        remainder = static_cast<uint64_t>(current - static_cast<u128>(q) * divisor);
    }
    storeDigits(quotient, count, pr, negative, out);
    return true;
}
#endif

} // namespace

bool fastMultiply(const unsigned char* a, int pa, bool negativeA, const unsigned char* b, int pb, bool negativeB,
                  int pr, unsigned char* out)
{
    uint64_t xLow, xHigh, yLow, yHigh;
    if (!loadDigits(a, pa, 31, xLow, xHigh) || !loadDigits(b, pb, 31, yLow, yHigh))
        return false;
    uint32_t x[4];
    uint32_t y[4];
    limbsOf(xLow, x);
    limbsOf(xHigh, x + 2);
    limbsOf(yLow, y);
    limbsOf(yHigh, y + 2);
    int nx = 4;
    while (nx > 1 && x[nx - 1] == 0)
        --nx;
    int ny = 4;
    while (ny > 1 && y[ny - 1] == 0)
        --ny;
    // Each partial product is below 10^16; a column sums at most four of
    // them, well inside 64 bits.
    uint64_t columns[8] = {};
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            columns[i + j] += static_cast<uint64_t>(x[i]) * y[j];
    uint32_t product[8];
    uint64_t carry = 0;
    for (int k = 0; k < 8; ++k) {
        const uint64_t t = columns[k] + carry;
        carry = t / limbBase;
        product[k] = static_cast<uint32_t>(t - carry * limbBase);
    }
    storeDigits(product, 8, pr, negativeA != negativeB, out);
    return true;
}

#if defined(__SIZEOF_INT128__)
bool fastDivide(const unsigned char* a, int pa, int sa, bool negativeA, const unsigned char* b, int pb, int sb,
                bool negativeB, int pr, int sr, unsigned char* out)
{
    if (pa > 32)
        return false;
    uint64_t aLow, aHigh, bLow, bHigh;
    if (!loadDigits(a, pa, 32, aLow, aHigh) || !loadDigits(b, pb, 31, bLow, bHigh))
        return false;
    const u128 divisor = valueOf(bLow, bHigh);
    if (divisor == 0)
        return false;
    // The dividend at sr + sb decimals, so that the integer quotient has sr.
    const u128 value = valueOf(aLow, aHigh);
    const int raise = sr + sb - sa;
    const bool negative = negativeA != negativeB;
    if (raise < 0 || (raise <= widestDividend && value < powers.value[widestDividend - raise])) {
        const u128 dividend = raise >= 0                ? value * powers.value[raise]
                              : -raise > widestDividend ? 0
                                                        : value / powers.value[-raise];
        u128 quotient;
        if (dividend >> 64 == 0 && divisor >> 64 == 0)
            quotient = static_cast<uint64_t>(dividend) / static_cast<uint64_t>(divisor);
        else
            quotient = dividend / divisor;
        uint32_t limbs[5];
        limbsOfValue(quotient, limbs);
        storeDigits(limbs, 5, pr, negative, out);
        return true;
    }
    if (divisor >> 64 != 0)
        return false;
    return longDivide(value, raise, static_cast<uint64_t>(divisor), pr, negative, out);
}
#else
bool fastDivide(const unsigned char*, int, int, bool, const unsigned char*, int, int, bool, int, int, unsigned char*)
{
    return false;
}
#endif

namespace {

// Every nibble before the sign, the pad nibble of an even precision
// included, as two BCD words (at most 31 of them: the caller checks p).
bool loadAllNibbles(const unsigned char* bytes, int p, uint64_t& low, uint64_t& high)
{
    return loadDigits(bytes, nibbles(p), 32, low, high);
}

// The value of at most 16 BCD digits.
uint64_t wordValueOf(uint64_t bcd)
{
    uint32_t limbs[2];
    limbsOf(bcd, limbs);
    return limbs[1] * limbBase + limbs[0];
}

// The value of at most 18 BCD digits (two of them in the high word).
uint64_t wideWordValueOf(uint64_t low, uint64_t high)
{
    const uint64_t value = wordValueOf(low);
    return high == 0 ? value : wordValueOf(high) * packedPowersOfTen[16] + value;
}

// The sign rules of both routines as one: a - b is a + (-b). Outcome: the
// magnitudes x and y (aligned), each operand's minus, the result's digits
// |x + y| or |x - y| by the larger magnitude, and its sign.
template <typename Word>
Word signedSum(Word x, bool minusX, Word y, bool minusY, bool& minus)
{
    if (minusX == minusY) {
        minus = minusX;
        return x + y;
    }
    // The larger magnitude gives the sign; equal ones keep the left's.
    if (x >= y) {
        minus = minusX;
        return x - y;
    }
    minus = minusY;
    return y - x;
}

} // namespace

bool fastAddSubtract(bool subtract, const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb,
                     int sb, int fb, int pr, int sr, unsigned char* out)
{
    if (pa > 31 || pb > 31)
        return false;
    // A counted sign nibble that is no sign reads differently in the add
    // and the subtract: the digit routines answer those.
    const int signA = fa ? packedSign(a, pa) : 1;
    const int signB = fb ? packedSign(b, pb) : 1;
    if (signA == 0 || signB == 0)
        return false;
    uint64_t aLow, aHigh, bLow, bHigh;
    if (!loadAllNibbles(a, pa, aLow, aHigh) || !loadAllNibbles(b, pb, bLow, bHigh))
        return false;
    const bool minusA = signA < 0;
    const bool minusB = (signB < 0) != subtract;
    // Both values aligned at the larger scale; the result keeps sr decimals
    // of it (the lower digits are dropped) and its last pr digits.
    const int scale = std::max({sa, sb, sr});
    const int raiseA = scale - sa;
    const int raiseB = scale - sb;
    const int cut = scale - sr;
    const int widthA = nibbles(pa) + raiseA;
    const int widthB = nibbles(pb) + raiseB;
    bool minus = false;
    if (widthA <= 18 && widthB <= 18) {
        // Both below 10^18: the sum stays inside one word.
        const uint64_t x = wideWordValueOf(aLow, aHigh) * packedPowersOfTen[raiseA];
        const uint64_t y = wideWordValueOf(bLow, bHigh) * packedPowersOfTen[raiseB];
        uint64_t r = signedSum(x, minusA, y, minusB, minus);
        r = cut > 18 ? 0 : r / packedPowersOfTen[cut];
        const uint32_t limbs[3] = {static_cast<uint32_t>(r % limbBase), static_cast<uint32_t>(r / limbBase % limbBase),
                                   static_cast<uint32_t>(r / packedPowersOfTen[16])};
        storeDigits(limbs, 3, pr, minus, out);
        return true;
    }
#if defined(__SIZEOF_INT128__)
    if (widthA > widestDividend || widthB > widestDividend)
        return false;
    // Both below 10^38, the sum below 2 * 10^38 < 2^128.
    const u128 x = valueOf(aLow, aHigh) * powers.value[raiseA];
    const u128 y = valueOf(bLow, bHigh) * powers.value[raiseB];
    u128 r = signedSum(x, minusA, y, minusB, minus);
    r = cut > widestDividend ? 0 : cut == 0 ? r : r / powers.value[cut];
    uint32_t limbs[5];
    limbsOfValue(r, limbs);
    storeDigits(limbs, 5, pr, minus, out);
    return true;
#else
    return false;
#endif
}

} // namespace packed
