// Raising a packed decimal to a power. The result is the power's value
// truncated to sr decimals, T; of T's digits the low pr are kept. A T of
// more than max(pr, 31) digits has no result: below 31 digits the result
// keeps the low digits of a 31-digit power area (high-order truncation, as
// a product does), above it every digit must fit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "datatypes/DecNumberBinding.h"
#include "datatypes/PackedDecimalDigits.h"
#include "datatypes/PackedDecimalRoutines.h"

using namespace packed;

namespace {

// Base and exponent hold at most 31 digits (16 bytes).
constexpr int operandDigits = 31;
constexpr int operandBytes = operandDigits / 2 + 1;
// Integer powers of up to this many digits are computed exactly.
constexpr int exactDigits = 1000;
// Digits carried beyond T's own by a power too long to compute exactly.
constexpr int guardDigits = 40;
// The exponent range the library's general power accepts.
constexpr int mathExponent = 999999;

#if defined(__SIZEOF_INT128__)
using Wide = __int128;
// The exponent n is read whole.
constexpr bool capExponent = false;
#else
using Wide = std::int64_t;
// The exponent n is read up to this value, then keeps only its parity: e * n
// stays exact within 64 bits, and a power of a larger n is as much too long,
// or as truly zero, as one of this n (c^n of a coefficient c above 1 has far
// more digits than the exact limit; 1^n is 1 for any n).
constexpr bool capExponent = true;
#endif
constexpr Wide exponentCap = Wide{1} << 40;

bool isZero(const decNumber& n)
{
    return n.digits == 1 && n.lsu[0] == 0;
}

void writeZero(int pr, bool negative, unsigned char* out)
{
    std::memset(out, 0, static_cast<size_t>(byteLength(pr)));
    packedSetSign(out, pr, negative ? -1 : 1);
}

// The integer T (exponent 0 or above) into out, or false when it has more
// than limit digits.
bool keep(const decNumber& t, int limit, int pr, bool negative, unsigned char* out)
{
    if (isZero(t)) {
        writeZero(pr, negative, out);
        return true;
    }
    if (t.digits + std::max(t.exponent, 0) > limit || !fromLibrary(&t, pr, 0, out))
        return false;
    packedSetSign(out, pr, negative ? -1 : 1);
    return true;
}

// An exponent with decimals: through long double, the sign of a zero kept.
bool powerThroughLongDouble(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
                            int fb, int pr, int sr, int limit, unsigned char* out)
{
    long double base = 0;
    long double exponent = 0;
    if (!toLongDouble(a, pa, sa, fa != 0, &base) || !toLongDouble(b, pb, sb, fb != 0, &exponent))
        return false;
    const long double value = powl(base, exponent);
    if (!std::isfinite(value) || fabsl(value) >= powl(10.0L, static_cast<long double>(limit - sr)))
        return false;
    if (!fromLongDouble(value, pr, sr, out))
        return false;
    if (std::signbit(value))
        packedSetSign(out, pr, -1);
    return true;
}

// T from W = c^n computed exactly, V = c * 10^e: for a positive exponent
// T = W * 10^(e*n + sr), truncated; for a negative one T = 10^(sr - e*n) / W,
// truncated.
bool exactPower(const decNumber& w, int e, Wide n, bool negativeExponent, int sr, int limit, int pr, bool negative,
                unsigned char* out)
{
    const Wide wDigits = w.digits;
    if (!negativeExponent) {
        const Wide k = static_cast<Wide>(e) * n + sr;
        if (k <= -wDigits) {
            writeZero(pr, negative, out);
            return true;
        }
        if (wDigits + k > limit)
            return false;
        WideNumber<exactDigits> t;
        decNumberCopy(&t.number, &w);
        t.number.exponent = static_cast<int32_t>(k);
        if (k < 0) {
            decContext c = context(exactDigits);
            c.round = DEC_ROUND_DOWN;
            if (failed(c, decNumberToIntegralValue(&t.number, &t.number, &c)))
                return false;
        }
        return keep(t.number, limit, pr, negative, out);
    }
    const Wide q = static_cast<Wide>(sr) - static_cast<Wide>(e) * n;
    if (q < 0) {
        writeZero(pr, negative, out);
        return true;
    }
    // W < 10^wDigits, so T >= 10^(q - wDigits).
    if (q - wDigits + 1 > limit)
        return false;
    decNumber scaledOne;
    decNumberZero(&scaledOne);
    scaledOne.lsu[0] = 1;
    scaledOne.exponent = static_cast<int32_t>(q);
    decContext c = context(limit + 2);
    WideNumber<PackedDecimalMaxDigits + 2> t;
    decNumber* quotient = decNumberDivideInteger(&t.number, &scaledOne, &w, &c);
    return !failed(c, quotient) && keep(t.number, limit, pr, negative, out);
}

// T from V^n computed to limit + 40 significant digits: for powers whose
// exact value is too long to compute. A power beyond the library's exponent
// range is too long for any result, or truncates to zero.
bool approximatePower(const decNumber& v, const decNumber& n, bool negativeExponent, int sr, int limit, int pr,
                      bool negative, unsigned char* out)
{
    constexpr int digits = PackedDecimalMaxDigits + guardDigits;
    decContext c = context(limit + guardDigits);
    c.emax = mathExponent;
    c.emin = -mathExponent;
    WideNumber<operandDigits> exponent;
    decNumberCopy(&exponent.number, &n);
    if (negativeExponent)
        exponent.number.bits |= DECNEG;
    WideNumber<digits> r;
    decNumber* result = decNumberPower(&r.number, &v, &exponent.number, &c);
    if ((c.status & DEC_Overflow) != 0)
        return false;
    if ((c.status & DEC_Underflow) != 0 || (result != nullptr && isZero(*result) && (c.status & DEC_Errors) == 0)) {
        writeZero(pr, negative, out);
        return true;
    }
    if (failed(c, result))
        return false;
    const long long integerDigits = static_cast<long long>(r.number.digits) + r.number.exponent + sr;
    if (integerDigits > limit)
        return false;
    if (integerDigits <= 0) {
        writeZero(pr, negative, out);
        return true;
    }
    r.number.exponent += sr;
    decContext d = context(digits);
    d.round = DEC_ROUND_DOWN;
    if (failed(d, decNumberToIntegralValue(&r.number, &r.number, &d)))
        return false;
    return keep(r.number, limit, pr, negative, out);
}

} // namespace

namespace packed {

bool power(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb, int fb, int pr,
           int sr, unsigned char* out)
{
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validShape(pr, sr))
        return false;
    const int limit = std::max(pr, operandDigits);
    if (sb != 0)
        return powerThroughLongDouble(a, pa, sa, fa, b, pb, sb, fb, pr, sr, limit, out);
    if (sa > operandDigits)
        return false;

    // Magnitudes of base and exponent, at most 31 digits each; the signs
    // are the operands' own, a negative zero's taken as positive.
    unsigned char x[operandBytes];
    unsigned char y[operandBytes];
    int baseZero = 0;
    redigit(a, pa, sa, operandDigits, sa, 0, &baseZero, x);
    redigit(b, pb, 0, operandDigits, 0, 0, nullptr, y);
    const bool negativeBase = negativeOperand(a, pa, fa);
    const bool negativeExponent = negativeOperand(b, pb, fb);
    Wide n = 0;
    for (int k = 1; k <= nibbles(operandDigits); ++k) {
        n = n * 10 + nibble(y, k);
        if (capExponent && n >= exponentCap)
            n = exponentCap + (n & 1);
    }
    const bool negative = negativeBase && (n & 1) != 0;
    if (baseZero) {
        // 0 to the power 0 has no value, nor 0 to a negative power.
        if (n == 0 || negativeExponent)
            return false;
        writeZero(pr, negative, out);
        return true;
    }

    // V = c * 10^e with c free of trailing zeros.
    const int32_t baseScale = sa;
    const int32_t noScale = 0;
    WideNumber<operandDigits> v;
    WideNumber<operandDigits> exponent;
    if (decPackedToNumber(x, operandBytes, &baseScale, &v.number) == nullptr ||
        decPackedToNumber(y, operandBytes, &noScale, &exponent.number) == nullptr)
        return false;
    decContext c = context(operandDigits);
    if (failed(c, decNumberNormalize(&v.number, &v.number, &c)))
        return false;
    const int e = v.number.exponent;
    WideNumber<operandDigits> coefficient;
    decNumberCopy(&coefficient.number, &v.number);
    coefficient.number.exponent = 0;
    long double log10c = 0;
    for (int k = 1; k <= nibbles(operandDigits); ++k)
        log10c = log10c * 10 + nibble(x, k);
    log10c = log10l(log10c) - static_cast<long double>(e + sa);

    const bool one = coefficient.number.digits == 1 && coefficient.number.lsu[0] == 1;
    if (one || n == 0 || static_cast<long double>(n) * log10c <= exactDigits - 2) {
        WideNumber<exactDigits> w;
        decNumberZero(&w.number);
        w.number.lsu[0] = 1;
        if (!one && n != 0) {
            decContext exact = context(exactDigits);
            decNumber* result = decNumberPower(&w.number, &coefficient.number, &exponent.number, &exact);
            if (failed(exact, result) || (exact.status & (DEC_Inexact | DEC_Rounded)) != 0)
                return false;
        }
        return exactPower(w.number, e, n, negativeExponent, sr, limit, pr, negative, out);
    }
    return approximatePower(v.number, exponent.number, negativeExponent, sr, limit, pr, negative, out);
}

} // namespace packed
