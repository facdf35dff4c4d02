// The packed decimal arithmetic: add, subtract, multiply and divide in
// binary where the operands allow (PackedDecimalFastPath.cpp); add and
// subtract digit by digit otherwise, multiply and divide through the
// decimal library, and the digit shifts that bring a
// library result to the wanted scale. The power is in PackedDecimalPower.cpp.
#include <algorithm>
#include <cstring>

#include "datatypes/DecNumberBinding.h"
#include "datatypes/PackedDecimalDigits.h"
#include "datatypes/PackedDecimalFastPath.h"
#include "datatypes/PackedDecimalRoutines.h"

using namespace packed;

namespace {

constexpr int areaBytes = PackedDecimalMaxBytes;

// Operands of the library operations hold at most 31 digits (16 bytes).
constexpr int operandDigits = 31;
constexpr int operandBytes = operandDigits / 2 + 1;
// The widest dividend: 72 integer digits raised by 72 + 31 decimals.
constexpr int dividendDigits = 2 * PackedDecimalMaxDigits + operandDigits;

} // namespace

namespace packed {

bool negativeOperand(const unsigned char* bytes, int p, int signedFlag)
{
    if (!signedFlag || packedSign(bytes, p) >= 0)
        return false;
    for (int k = nibbles(p) - p + 1; k <= nibbles(p); ++k)
        if (nibble(bytes, k) != 0)
            return true;
    return false;
}

void workCopy(const unsigned char* src, int ps, int ss, int pd, int sd, int signedFlag, int* allZero,
              unsigned char* out)
{
    redigit(src, ps, ss, pd, sd, 0, allZero, out);
    packedSetSign(out, pd, negativeOperand(src, ps, signedFlag) ? -1 : 1);
}

decContext context(int digits)
{
    decContext c;
    decimalContext(c, DEC_INIT_DECIMAL128);
    c.digits = digits;
    c.traps = 0;
    return c;
}

bool failed(const decContext& c, const decNumber* result)
{
    return result == nullptr || (result->bits & DECSPECIAL) != 0 || (c.status & DEC_Errors) != 0;
}

bool fromLibrary(const decNumber* n, int pr, int shiftRight, unsigned char* out)
{
    unsigned char work[libraryBytes] = {};
    int32_t scale = 0;
    if (decPackedFromNumber(work, libraryBytes, &scale, n) == nullptr)
        return false;
    shift(work, 2 * libraryBytes - 1, out, pr, shiftRight + scale, false);
    return true;
}

bool divideThroughLibrary(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
                          int fb, int pr, int sr, unsigned char* out)
{
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validShape(pr, sr) || sb > operandDigits)
        return false;
    // The dividend's scale is raised so that the integer quotient has sr
    // decimals; it keeps every integer digit, so each digit of the quotient
    // is the exact quotient's.
    const int scale = sr + sb;
    const int digits = std::max(1, std::max(pa - sa, 0) + scale);
    unsigned char dividend[dividendDigits / 2 + 1];
    unsigned char divisor[operandBytes];
    int divisorZero = 0;
    workCopy(a, pa, sa, digits, scale, fa, nullptr, dividend);
    workCopy(b, pb, sb, operandDigits, sb, fb, &divisorZero, divisor);
    if (divisorZero)
        return false;

    // COBOL division truncates: the quotient's digits are those of the
    // integer quotient of the scaled dividend by the divisor, exactly. A
    // quotient rounded to fewer digits first could carry into a kept digit.
    // The quotient has no more digits than the dividend; the digits above
    // pr are dropped, and its sign is the library's (a zero one included).
    decContext c = context(digits + 1);
    const int32_t noScale = 0;
    WideNumber<dividendDigits + 1> x;
    WideNumber<operandDigits> y;
    WideNumber<dividendDigits + 1> q;
    if (decPackedToNumber(dividend, byteLength(digits), &noScale, &x.number) == nullptr ||
        decPackedToNumber(divisor, operandBytes, &noScale, &y.number) == nullptr)
        return false;
    decNumber* quotient = decNumberDivideInteger(&q.number, &x.number, &y.number, &c);
    return !failed(c, quotient) && fromLibrary(quotient, pr, 0, out);
}

bool divide(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb, int fb, int pr,
            int sr, unsigned char* out)
{
    if (validOperand(a, pa, sa) && validOperand(b, pb, sb) && validShape(pr, sr) && sb <= operandDigits &&
        fastDivide(a, pa, sa, negativeOperand(a, pa, fa), b, pb, sb, negativeOperand(b, pb, fb), pr, sr, out))
        return true;
    return divideThroughLibrary(a, pa, sa, fa, b, pb, sb, fb, pr, sr, out);
}

bool multiplyThroughLibrary(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
                            int fb, int pr, unsigned char* out)
{
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validPrecision(pr) || sa > operandDigits ||
        sb > operandDigits)
        return false;
    // Each operand's own bytes, at most 31 digits at its own scale, with its
    // sign; an operand without a flag is positive.
    unsigned char x[operandBytes];
    unsigned char y[operandBytes];
    workCopy(a, pa, sa, operandDigits, sa, fa, nullptr, x);
    workCopy(b, pb, sb, operandDigits, sb, fb, nullptr, y);

    // The coefficients are multiplied as integers; the product of two
    // 31-digit numbers has at most 62 digits, and the context holds them
    // all, so the product is exact. Its sign is the library's: a zero
    // product of operands of different signs is negative (-5 x 0 is -0).
    decContext c = context(2 * operandDigits);
    const int32_t noScale = 0;
    WideNumber<operandDigits> u;
    WideNumber<operandDigits> v;
    WideNumber<2 * operandDigits> product;
    if (decPackedToNumber(x, operandBytes, &noScale, &u.number) == nullptr ||
        decPackedToNumber(y, operandBytes, &noScale, &v.number) == nullptr)
        return false;
    decNumber* result = decNumberMultiply(&product.number, &u.number, &v.number, &c);
    return !failed(c, result) && fromLibrary(result, pr, 0, out);
}

} // namespace packed

extern "C" {

unsigned char* packedAddSub(int addFlag, const unsigned char* a, int pa, int sa, const unsigned char* b, int pb, int sb,
                            int pr, int sr)
{
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

} // extern "C"

namespace {

enum class Magnitudes {
    Sum,
    Difference,
    ReverseDifference
};

bool signedResult(unsigned char* out, Magnitudes how, int sign, const unsigned char* a, int pa, int sa,
                  const unsigned char* b, int pb, int sb, int pr, int sr)
{
    if (!validShape(pr, sr))
        return false;
    const unsigned char* digits = how == Magnitudes::Sum          ? packedAddSub(1, a, pa, sa, b, pb, sb, pr, sr)
                                  : how == Magnitudes::Difference ? packedAddSub(0, a, pa, sa, b, pb, sb, pr, sr)
                                                                  : packedAddSub(0, b, pb, sb, a, pa, sa, pr, sr);
    if (digits == nullptr)
        return false;
    std::memcpy(out, digits, static_cast<size_t>(byteLength(pr)));
    packedSetSign(out, pr, sign);
    return true;
}

} // namespace

namespace packed {

bool addThroughDigits(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb, int fb,
                      int pr, int sr, unsigned char* out)
{
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb))
        return false;
    const bool negativeA = fa && packedSign(a, pa) < 0;
    const bool negativeB = fb && packedSign(b, pb) < 0;
    if (negativeA == negativeB)
        return signedResult(out, Magnitudes::Sum, negativeA ? -1 : 1, a, pa, sa, b, pb, sb, pr, sr);
    const bool aAtLeastB = packedAbsCmp(a, pa, sa, b, pb, sb) >= 0;
    // The larger magnitude gives the sign; equal ones keep the left's.
    if (aAtLeastB)
        return signedResult(out, Magnitudes::Difference, negativeA ? -1 : 1, a, pa, sa, b, pb, sb, pr, sr);
    return signedResult(out, Magnitudes::ReverseDifference, negativeB ? -1 : 1, a, pa, sa, b, pb, sb, pr, sr);
}

bool subtractThroughDigits(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
                           int fb, int pr, int sr, unsigned char* out)
{
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb))
        return false;
    // Positive means a sign of exactly +1 (an operand without a flag counts so).
    const bool positiveA = !fa || packedSign(a, pa) == 1;
    const bool positiveB = !fb || packedSign(b, pb) == 1;
    if (positiveA != positiveB)
        return signedResult(out, Magnitudes::Sum, positiveA ? 1 : -1, a, pa, sa, b, pb, sb, pr, sr);
    const bool aAtLeastB = packedAbsCmp(a, pa, sa, b, pb, sb) >= 0;
    if (aAtLeastB)
        return signedResult(out, Magnitudes::Difference, positiveA ? 1 : -1, a, pa, sa, b, pb, sb, pr, sr);
    return signedResult(out, Magnitudes::ReverseDifference, positiveA ? -1 : 1, a, pa, sa, b, pb, sb, pr, sr);
}

} // namespace packed

extern "C" {

// Operands whose digits fit machine words go through the binary path; the
// digit loop gives the same bytes, and the answers of the rest.
unsigned char* dtAddPackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb,
                                  int sb, int fb, int pr, int sr)
{
    static thread_local unsigned char area[areaBytes];
    if (validOperand(a, pa, sa) && validOperand(b, pb, sb) && validShape(pr, sr) &&
        fastAddSubtract(false, a, pa, sa, fa, b, pb, sb, fb, pr, sr, area))
        return area;
    return addThroughDigits(a, pa, sa, fa, b, pb, sb, fb, pr, sr, area) ? area : nullptr;
}

unsigned char* dtSubtractPackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb,
                                       int sb, int fb, int pr, int sr)
{
    static thread_local unsigned char area[areaBytes];
    if (validOperand(a, pa, sa) && validOperand(b, pb, sb) && validShape(pr, sr) &&
        fastAddSubtract(true, a, pa, sa, fa, b, pb, sb, fb, pr, sr, area))
        return area;
    return subtractThroughDigits(a, pa, sa, fa, b, pb, sb, fb, pr, sr, area) ? area : nullptr;
}

unsigned char* dtMultiplyPackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb,
                                       int sb, int fb, int pr)
{
    static thread_local unsigned char area[areaBytes];
    if (!validOperand(a, pa, sa) || !validOperand(b, pb, sb) || !validPrecision(pr) || sa > operandDigits ||
        sb > operandDigits)
        return nullptr;
    // Operands whose every digit reads go through the binary path; the
    // library's path gives the same bytes, and the errors of the rest.
    if (fastMultiply(a, pa, negativeOperand(a, pa, fa), b, pb, negativeOperand(b, pb, fb), pr, area))
        return area;
    return multiplyThroughLibrary(a, pa, sa, fa, b, pb, sb, fb, pr, area) ? area : nullptr;
}

unsigned char* dtDividePackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb,
                                     int sb, int fb, int pr, int sr)
{
    static thread_local unsigned char area[areaBytes];
    return divide(a, pa, sa, fa, b, pb, sb, fb, pr, sr, area) ? area : nullptr;
}

unsigned char* dtPowerPackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb,
                                    int sb, int fb, int pr, int sr)
{
    static thread_local unsigned char area[areaBytes];
    return power(a, pa, sa, fa, b, pb, sb, fb, pr, sr, area) ? area : nullptr;
}

void _Shift_Right_Pckd_BCD(const unsigned char* src, int ps, unsigned char* dst, int pd, int n, int roundFlag)
{
    if (src == nullptr || dst == nullptr || !validPrecision(pd) || ps < 1)
        return;
    shift(src, ps, dst, pd, n, roundFlag != 0);
}

void _Shift_Left_Pckd_BCD(const unsigned char* src, int ps, unsigned char* dst, int pd, int n)
{
    if (src == nullptr || dst == nullptr || !validPrecision(pd) || ps < 1)
        return;
    shift(src, ps, dst, pd, -n, false);
}

} // extern "C"
