// The packed decimal arithmetic: add and subtract digit by digit, multiply,
// divide and power through the decimal library, and the digit shifts that
// bring a library result to the wanted scale.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "datatypes/DecNumberBinding.h"
#include "datatypes/PackedDecimalDigits.h"
#include "datatypes/PackedDecimalRoutines.h"

using namespace packed;

namespace {

constexpr int areaBytes = PackedDecimalMaxBytes;

// Operands of the library operations hold at most 31 digits (16 bytes).
constexpr int operandDigits = 31;
constexpr int operandBytes = operandDigits / 2 + 1;
// The dividend is widened to 62 digits (32 bytes) so that the quotient has
// the wanted decimals.
constexpr int dividendDigits = 62;
constexpr int dividendBytes = dividendDigits / 2 + 1;
// Library results are written into 37 bytes (73 digits) before the wanted
// digits are taken from them.
constexpr int resultDigits = 2 * areaBytes - 1;
// Quotients are integer quotients, exact in every digit: the context holds
// the largest one (a 62-digit dividend by 1) with room to spare.
constexpr int quotientDigits = PackedDecimalMaxDigits;
// The reciprocal of a power is 10^(sr + places) / P with sr up to 72 and
// places up to 144: an integer quotient of at most 217 digits.
constexpr int reciprocalDigits = 3 * PackedDecimalMaxDigits + 1;

bool validOperand(const unsigned char* bytes, int p, int s) {
    return bytes != nullptr && validPrecision(p) && s >= 0 && s <= PackedDecimalMaxDigits;
}

// A zero result of the library operations is never negative.
void positiveZero(unsigned char* bytes, int p) {
    if (signNibble(bytes, p) == 0x0D && allDigitsZero(bytes, p))
        packedSetSign(bytes, p, 1);
}

// A context of the given precision whose rounding is the library's default
// for 34 digits (half even) and that traps nothing.
decContext context(int digits) {
    decContext c;
    decimalContext(c, DEC_INIT_DECIMAL128);
    c.digits = digits;
    c.traps = 0;
    return c;
}

bool failed(const decContext& c, const decNumber* result) {
    return result == nullptr || (result->bits & DECSPECIAL) != 0 ||
           (c.status & DEC_Errors) != 0;
}

// The library result n as pr digits: its coefficient, shifted right by its
// own scale plus shiftRight digits (truncating; a negative count shifts
// left), the higher digits dropped.
bool fromLibrary(const decNumber* n, int pr, int shiftRight, unsigned char* out) {
    unsigned char work[areaBytes] = {};
    int32_t scale = 0;
    if (decPackedFromNumber(work, areaBytes, &scale, n) == nullptr)
        return false;
    shift(work, resultDigits, out, pr, shiftRight + scale, false);
    return true;
}

} // namespace

namespace packed {

bool divide(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
            int fb, int pr, int sr, unsigned char* out) {
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validShape(pr, sr) ||
        sb > operandDigits)
        return false;
    // The dividend's scale is raised so that the integer quotient has sr
    // decimals, as far as 62 digits allow.
    const int raised = sr + sb;
    const int excess = std::max(0, raised + std::max(pa - sa, 0) - dividendDigits);
    const int dividendScale = raised - excess;
    if (dividendScale < 0 || dividendScale > dividendDigits)
        return false;
    unsigned char dividend[dividendBytes];
    unsigned char divisor[operandBytes];
    int divisorZero = 0;
    redigit(a, pa, sa, dividendDigits, dividendScale, fa, nullptr, dividend);
    redigit(b, pb, sb, operandDigits, sb, fb, &divisorZero, divisor);
    if (divisorZero)
        return false;

    // COBOL division truncates: the quotient's digits are those of the
    // integer quotient of the scaled dividend by the divisor, exactly. A
    // quotient rounded to fewer digits first could carry into a kept digit.
    decContext c = context(quotientDigits);
    const int32_t noScale = 0;
    WideNumber<dividendDigits + 1> x;
    WideNumber<operandDigits> y;
    WideNumber<quotientDigits> q;
    if (decPackedToNumber(dividend, dividendBytes, &noScale, &x.number) == nullptr ||
        decPackedToNumber(divisor, operandBytes, &noScale, &y.number) == nullptr)
        return false;
    decNumber* quotient = decNumberDivideInteger(&q.number, &x.number, &y.number, &c);
    if (failed(c, quotient))
        return false;
    // The integer quotient has sr - e decimals: the decimals lost to the
    // excess e are put back as zeros by a left shift.
    if (!fromLibrary(quotient, pr, -excess, out))
        return false;
    positiveZero(out, pr);
    return true;
}

} // namespace packed

extern "C" {

unsigned char* packedAddSub(int addFlag, const unsigned char* a, int pa, int sa,
                            const unsigned char* b, int pb, int sb, int pr, int sr) {
    static thread_local unsigned char area[areaBytes];
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validShape(pr, sr))
        return nullptr;
    // Digits aligned at the point: index i has the power 10^(i - scale).
    const int scale = std::max({sa, sb, sr});
    const int na = nibbles(pa);
    const int nb = nibbles(pb);
    const int top = std::max(na - sa, nb - sb) + scale + 1;
    int digits[3 * PackedDecimalMaxDigits + 4];
    int carry = 0;
    for (int i = 0; i < top; ++i) {
        int da = digitFromRight(a, na, i - (scale - sa) + 1);
        int db = digitFromRight(b, nb, i - (scale - sb) + 1);
        int value = addFlag ? da + db + carry : da - db - carry;
        carry = 0;
        if (value > 9) {
            value -= 10;
            carry = 1;
        } else if (value < 0) {
            value += 10;
            carry = 1;
        }
        digits[i] = value;
    }
    std::memset(area, 0, sizeof area);
    const int total = nibbles(pr);
    for (int r = 1; r <= pr; ++r) {
        int i = r - 1 + (scale - sr);
        setNibble(area, total - r + 1, i < top ? digits[i] : 0);
    }
    return area;
}

namespace {

enum class Magnitudes { Sum, Difference, ReverseDifference };

unsigned char* signedResult(unsigned char* area, Magnitudes how, int sign, const unsigned char* a,
                            int pa, int sa, const unsigned char* b, int pb, int sb, int pr,
                            int sr) {
    if (!validShape(pr, sr))
        return nullptr;
    const unsigned char* digits =
        how == Magnitudes::Sum          ? packedAddSub(1, a, pa, sa, b, pb, sb, pr, sr)
        : how == Magnitudes::Difference ? packedAddSub(0, a, pa, sa, b, pb, sb, pr, sr)
                                        : packedAddSub(0, b, pb, sb, a, pa, sa, pr, sr);
    if (digits == nullptr)
        return nullptr;
    std::memcpy(area, digits, static_cast<size_t>(byteLength(pr)));
    packedSetSign(area, pr, sign);
    return area;
}

} // namespace

unsigned char* dtAddPackedDecimal(const unsigned char* a, int pa, int sa, int fa,
                                  const unsigned char* b, int pb, int sb, int fb, int pr, int sr) {
    static thread_local unsigned char area[areaBytes];
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb))
        return nullptr;
    const bool negativeA = fa && packedSign(a, pa) < 0;
    const bool negativeB = fb && packedSign(b, pb) < 0;
    if (negativeA == negativeB)
        return signedResult(area, Magnitudes::Sum, negativeA ? -1 : 1, a, pa, sa, b, pb, sb, pr, sr);
    const bool aAtLeastB = packedAbsCmp(a, pa, sa, b, pb, sb) >= 0;
    // The larger magnitude gives the sign; equal ones keep the left's.
    if (aAtLeastB)
        return signedResult(area, Magnitudes::Difference, negativeA ? -1 : 1, a, pa, sa, b, pb, sb,
                            pr, sr);
    return signedResult(area, Magnitudes::ReverseDifference, negativeB ? -1 : 1, a, pa, sa, b, pb,
                        sb, pr, sr);
}

unsigned char* dtSubtractPackedDecimal(const unsigned char* a, int pa, int sa, int fa,
                                       const unsigned char* b, int pb, int sb, int fb, int pr,
                                       int sr) {
    static thread_local unsigned char area[areaBytes];
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb))
        return nullptr;
    // Positive means a sign of exactly +1 (an operand without a flag counts so).
    const bool positiveA = !fa || packedSign(a, pa) == 1;
    const bool positiveB = !fb || packedSign(b, pb) == 1;
    if (positiveA != positiveB)
        return signedResult(area, Magnitudes::Sum, positiveA ? 1 : -1, a, pa, sa, b, pb, sb, pr, sr);
    const bool aAtLeastB = packedAbsCmp(a, pa, sa, b, pb, sb) >= 0;
    if (aAtLeastB)
        return signedResult(area, Magnitudes::Difference, positiveA ? 1 : -1, a, pa, sa, b, pb, sb,
                            pr, sr);
    return signedResult(area, Magnitudes::ReverseDifference, positiveA ? -1 : 1, a, pa, sa, b, pb,
                        sb, pr, sr);
}

unsigned char* dtMultiplyPackedDecimal(const unsigned char* a, int pa, int sa, int fa,
                                       const unsigned char* b, int pb, int sb, int fb, int pr) {
    static thread_local unsigned char area[areaBytes];
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validPrecision(pr) ||
        sa > operandDigits || sb > operandDigits)
        return nullptr;
    // Each operand's own bytes, at most 31 digits at its own scale; an
    // operand without a flag is positive.
    unsigned char x[operandBytes];
    unsigned char y[operandBytes];
    redigit(a, pa, sa, operandDigits, sa, fa, nullptr, x);
    redigit(b, pb, sb, operandDigits, sb, fb, nullptr, y);

    // The coefficients are multiplied as integers; the product of two
    // 31-digit numbers has at most 62 digits, and the context holds them
    // all, so the product is exact.
    decContext c = context(2 * operandDigits);
    const int32_t noScale = 0;
    WideNumber<operandDigits> u;
    WideNumber<operandDigits> v;
    WideNumber<2 * operandDigits> product;
    if (decPackedToNumber(x, operandBytes, &noScale, &u.number) == nullptr ||
        decPackedToNumber(y, operandBytes, &noScale, &v.number) == nullptr)
        return nullptr;
    decNumber* result = decNumberMultiply(&product.number, &u.number, &v.number, &c);
    if (failed(c, result) || !fromLibrary(result, pr, 0, area))
        return nullptr;
    positiveZero(area, pr);
    return area;
}

unsigned char* dtDividePackedDecimal(const unsigned char* a, int pa, int sa, int fa,
                                     const unsigned char* b, int pb, int sb, int fb, int pr,
                                     int sr) {
    static thread_local unsigned char area[areaBytes];
    return divide(a, pa, sa, fa, b, pb, sb, fb, pr, sr, area) ? area : nullptr;
}

unsigned char* dtPowerPackedDecimal(const unsigned char* a, int pa, int sa, int fa,
                                    const unsigned char* b, int pb, int sb, int fb, int pr,
                                    int sr) {
    static thread_local unsigned char area[areaBytes];
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validShape(pr, sr))
        return nullptr;
    const int exponentSign = fb ? packedSign(b, pb) : 1;

    if (sb != 0) {
        // An exponent with decimals: through long double.
        long double base = 0;
        long double exponent = 0;
        if (!toLongDouble(a, pa, sa, fa != 0, &base) || !toLongDouble(b, pb, sb, fb != 0, &exponent))
            return nullptr;
        long double value = powl(base, exponent);
        if (!fromLongDouble(value, pr, sr, area))
            return nullptr;
        return area;
    }

    if (sa > operandDigits)
        return nullptr;
    unsigned char x[operandBytes];
    unsigned char y[operandBytes];
    redigit(a, pa, sa, operandDigits, sa, fa, nullptr, x);
    redigit(b, pb, 0, operandDigits, 0, fb, nullptr, y);
    if (exponentSign < 0)
        packedSetSign(y, operandDigits, 1);

    // The base's coefficient raised as an integer, exactly: a power of more
    // than 72 digits (the largest result) has no result.
    decContext c = context(PackedDecimalMaxDigits);
    const int32_t noScale = 0;
    WideNumber<operandDigits> u;
    WideNumber<operandDigits> v;
    WideNumber<PackedDecimalMaxDigits> power;
    if (decPackedToNumber(x, operandBytes, &noScale, &u.number) == nullptr ||
        decPackedToNumber(y, operandBytes, &noScale, &v.number) == nullptr)
        return nullptr;
    decNumber* result = decNumberPower(&power.number, &u.number, &v.number, &c);
    if (failed(c, result) || (c.status & (DEC_Inexact | DEC_Rounded)) != 0)
        return nullptr;
    if (exponentSign >= 0) {
        if (!fromLibrary(result, pr, 0, area))
            return nullptr;
        positiveZero(area, pr);
        return area;
    }

    // A negative exponent: the reciprocal of the power. The power's value is
    // its coefficient with sa * |b| decimals, so 1 / value = 10^(sa*|b|) / P.
    // Beyond 144 such decimals the reciprocal of a power of at most 72
    // digits has more than 72 integer digits: no result.
    unsigned long long places = 0;
    if (sa != 0) {
        unsigned long long magnitude = 0;
        for (int k = 1; k <= nibbles(operandDigits); ++k) {
            magnitude = magnitude * 10 + static_cast<unsigned>(nibble(y, k));
            if (magnitude > 2 * PackedDecimalMaxDigits)
                return nullptr;
        }
        places = magnitude * static_cast<unsigned long long>(sa);
        if (places > 2 * PackedDecimalMaxDigits)
            return nullptr;
    }
    // With sr decimals wanted, the result's digits are the integer quotient
    // 10^(sr + places) / P, truncated as every quotient and exact in every
    // digit; of it the low pr digits are kept (the remainder by 10^pr), as
    // a shift drops the high digits that do not fit.
    decContext d = context(reciprocalDigits);
    decNumber scaledOne;
    decNumberZero(&scaledOne);
    scaledOne.lsu[0] = 1;
    scaledOne.exponent = sr + static_cast<int>(places);
    decNumber resultModulus;
    decNumberZero(&resultModulus);
    resultModulus.lsu[0] = 1;
    resultModulus.exponent = pr;
    WideNumber<reciprocalDigits> reciprocal;
    WideNumber<PackedDecimalMaxDigits> kept;
    decNumber* inverse = decNumberDivideInteger(&reciprocal.number, &scaledOne, result, &d);
    if (failed(d, inverse))
        return nullptr;
    decNumber* low = decNumberRemainder(&kept.number, inverse, &resultModulus, &d);
    if (failed(d, low) || !fromLibrary(low, pr, 0, area))
        return nullptr;
    positiveZero(area, pr);
    return area;
}

void _Shift_Right_Pckd_BCD(const unsigned char* src, int ps, unsigned char* dst, int pd, int n,
                           int roundFlag) {
    if (src == nullptr || dst == nullptr || !validPrecision(pd) || ps < 1)
        return;
    shift(src, ps, dst, pd, n, roundFlag != 0);
}

void _Shift_Left_Pckd_BCD(const unsigned char* src, int ps, unsigned char* dst, int pd, int n) {
    if (src == nullptr || dst == nullptr || !validPrecision(pd) || ps < 1)
        return;
    shift(src, ps, dst, pd, -n, false);
}

} // extern "C"
