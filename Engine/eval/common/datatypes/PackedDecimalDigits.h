#ifndef NORVEXA_DATATYPES_PACKEDDECIMALDIGITS_H
#define NORVEXA_DATATYPES_PACKEDDECIMALDIGITS_H

// Nibble access and the internal steps shared by the packed decimal routines
// (conversion and arithmetic). Each step writes into a buffer of the
// caller's, so one routine can use another's step without disturbing that
// routine's result area.

#include <cstdint>

#include "datatypes/DecNumberBinding.h"
#include "datatypes/PackedDecimalRoutines.h"

namespace packed {

// Digit nibbles of a precision, the pad nibble of an even p included.
inline int nibbles(int p)
{
    return p | 1;
}
inline int byteLength(int p)
{
    return p / 2 + 1;
}

inline bool validPrecision(int p)
{
    return p >= 1 && p <= PackedDecimalMaxDigits;
}
inline bool validShape(int p, int s)
{
    return validPrecision(p) && s >= 0 && s <= p;
}
// An operand the routines can read: p/2+1 bytes, its scale 0 to 72 (a scale
// above p puts zeros between the point and the digits).
inline bool validOperand(const unsigned char* bytes, int p, int s)
{
    return bytes != nullptr && validPrecision(p) && s >= 0 && s <= PackedDecimalMaxDigits;
}

// Nibble k, numbered from 1 at the high nibble of byte 0.
inline int nibble(const unsigned char* bytes, int k)
{
    return (bytes[(k - 1) / 2] & packedNibbleMask[k & 1]) >> packedNibbleShift[k & 1];
}
inline void setNibble(unsigned char* bytes, int k, int value)
{
    unsigned char& byte = bytes[(k - 1) / 2];
    byte = static_cast<unsigned char>((byte & ~packedNibbleMask[k & 1]) |
                                      ((value << packedNibbleShift[k & 1]) & packedNibbleMask[k & 1]));
}
// Digit r counted from the right (1 = last digit) of a value whose digit
// nibbles number n; 0 outside them.
inline int digitFromRight(const unsigned char* bytes, int n, int r)
{
    return r >= 1 && r <= n ? nibble(bytes, n - r + 1) : 0;
}
inline int signNibble(const unsigned char* bytes, int p)
{
    return bytes[p / 2] & 0x0F;
}
inline void setSignNibble(unsigned char* bytes, int p, int sign)
{
    bytes[p / 2] = static_cast<unsigned char>((bytes[p / 2] & 0xF0) | (sign & 0x0F));
}

// Re-digit into out (pd/2+1 bytes); see dtConvertPackedDecimal. Shapes are
// the caller's to check.
void redigit(const unsigned char* src, int ps, int ss, int pd, int sd, int signedFlag, int* allZero,
             unsigned char* out);
// Shift by n digits into dst (pd/2+1 bytes): n > 0 divides by 10^n (with
// optional rounding), n < 0 multiplies by 10^-n.
void shift(const unsigned char* src, int ps, unsigned char* dst, int pd, int n, bool roundFlag);
// Text to packed into out (p/2+1 bytes); see scanPackedDecimal.
bool scan(const char* text, int p, int s, unsigned char* out);
// The value as EBCDIC text into out (at least 160 bytes); see
// dtFormatPackedDecimal. False when refused.
bool format(const unsigned char* bytes, int p, int s, bool minusFlag, char* out);
// Long double to packed into out (p/2+1 bytes).
bool fromLongDouble(long double x, int p, int s, unsigned char* out);
// Packed to long double.
bool toLongDouble(const unsigned char* bytes, int p, int s, bool minusFlag, long double* out);
// Divide into out (pr/2+1 bytes); see dtDividePackedDecimal.
bool divide(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb, int fb, int pr,
            int sr, unsigned char* out);
// Power into out (pr/2+1 bytes); see dtPowerPackedDecimal.
bool power(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb, int fb, int pr,
           int sr, unsigned char* out);

// Whether an operand of multiply, divide or power counts as negative: its
// flag set, its sign reading minus and a digit not zero. Re-digited with its
// signed flag, a negative zero becomes a positive one, so -0 x 5 is +0.
bool negativeOperand(const unsigned char* bytes, int p, int signedFlag);

// The work copy of an arithmetic operand: src re-digited to pd digits and
// sd decimals, with the operand's sign (C, or D when the operand is negative,
// see negativeOperand), so that the library's sign rules give the result's
// sign.
void workCopy(const unsigned char* src, int ps, int ss, int pd, int sd, int signedFlag, int* allZero,
              unsigned char* out);
// A context of the given precision whose rounding is the library's default
// for 34 digits (half even) and that traps nothing.
decContext context(int digits);
// True when an operation gave no number, a special value or an error.
bool failed(const decContext& c, const decNumber* result);
// Bytes of the packed work area of library results (255 digits).
constexpr int libraryBytes = 128;
// The library result n as pr digits into out (pr/2+1 bytes): its
// coefficient, shifted right by its own scale plus shiftRight digits
// (truncating; a negative count shifts left), the higher digits dropped;
// the sign nibble the library writes (D for a negative zero). False when n
// has more than 255 digits.
bool fromLibrary(const decNumber* n, int pr, int shiftRight, unsigned char* out);

// A decNumber with room for Digits digits, for the library's operations
// (which write as many units as a number's digits need). Pass &number.
template <int Digits>
struct WideNumber {
    decNumber number;
    decNumberUnit
        more[(Digits + DECDPUN - 1) / DECDPUN > DECNUMUNITS ? (Digits + DECDPUN - 1) / DECDPUN - DECNUMUNITS : 1];
};

} // namespace packed

#endif
