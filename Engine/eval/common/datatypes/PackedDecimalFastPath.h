#ifndef NORVEXA_DATATYPES_PACKEDDECIMALFASTPATH_H
#define NORVEXA_DATATYPES_PACKEDDECIMALFASTPATH_H

// Packed add, subtract, multiply and divide over binary integers, for the operands whose
// values fit machine words: the digits are read eight at a time into
// base-10^8 limbs, multiplied or divided in binary, and written back as
// BCD. They give the same bytes as the decimal library's path (digits,
// truncation, sign nibbles, a negative zero included). Each returns false,
// writing nothing, when it does not take the operands (a nibble that is no
// digit, a zero divisor, a dividend of more than 32 digits, or one raised
// beyond 38 digits over a divisor of 2^64 or more): the caller then goes
// through the decimal library, which also gives those cases' errors. Shapes
// are the caller's to check.

namespace packed {

// Whether fastDivide takes any operands: its quotients need 128-bit
// integers, which 32-bit targets (the Windows build) lack. There it
// declines every division, and each goes through the decimal library.
#if defined(__SIZEOF_INT128__)
inline constexpr bool fastDivideAvailable = true;
#else
inline constexpr bool fastDivideAvailable = false;
#endif

// The low pr digits of the product of the last 31 digits of a and of b
// (pad nibbles excluded), sign D when exactly one of them is negative,
// else C; into out (pr/2+1 bytes).
bool fastMultiply(const unsigned char* a, int pa, bool negativeA, const unsigned char* b, int pb, bool negativeB,
                  int pr, unsigned char* out);

// The low pr digits of the integer quotient of a raised to sr + sb decimals
// by the last 31 digits of b, signs as fastMultiply; into out (pr/2+1 bytes).
bool fastDivide(const unsigned char* a, int pa, int sa, bool negativeA, const unsigned char* b, int pb, int sb,
                bool negativeB, int pr, int sr, unsigned char* out);

// a + b, or a - b when subtract is set, with the sign rules of
// dtAddPackedDecimal and dtSubtractPackedDecimal: the digits of the exact
// sum or difference at the larger scale, cut to sr decimals and pr digits,
// into out (pr/2+1 bytes). Takes operands whose every nibble before the sign
// (an even precision's pad included, as the digit loop reads it) is a digit,
// whose aligned values hold at most 38 digits (18 without 128-bit integers)
// and whose counted sign nibbles are signs; declines the rest.
bool fastAddSubtract(bool subtract, const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb,
                     int sb, int fb, int pr, int sr, unsigned char* out);

// The same results digit by digit, for every operand shape the routines
// take (the reference the binary path is tested against); false when the
// shapes are refused.
bool addThroughDigits(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb, int fb,
                      int pr, int sr, unsigned char* out);
bool subtractThroughDigits(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
                           int fb, int pr, int sr, unsigned char* out);

// The same results through the decimal library, for every operand shape
// the routines take (the reference the fast path is tested against).
bool multiplyThroughLibrary(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
                            int fb, int pr, unsigned char* out);
bool divideThroughLibrary(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b, int pb, int sb,
                          int fb, int pr, int sr, unsigned char* out);

} // namespace packed

#endif
