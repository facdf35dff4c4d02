#ifndef NORVEXA_DATATYPES_ZONEDDECIMALROUTINES_H
#define NORVEXA_DATATYPES_ZONEDDECIMALROUTINES_H

// Routines on zoned decimal numbers held as raw EBCDIC bytes: one digit a
// byte, zone F on plain digits, the sign placed by the item's sign kind:
//
//   0, 1  no sign position              n bytes
//   2     embedded leading (zone C/D)   n bytes
//   3     embedded trailing (zone C/D)  n bytes
//   4     separate leading 0x4E / 0x60  n + 1 bytes, sign first
//   5     separate trailing 0x4E / 0x60 n + 1 bytes, sign last
//
// Routines that hand back bytes write them into a result area of their own
// and return a pointer to it. The area is per thread and keeps its content
// until the same routine runs again on that thread: callers copy at once.
// Areas hold up to 72 digits; a routine asked for more, or given counts that
// make no sense (decimals above the digits, negative counts), returns null.

#include "NorvexaExport.h"

#include <cstdint>

// Largest digit count the zoned routines accept.
inline constexpr int kZonedMaxDigits = 72;

extern "C" {

// -1, 0 or 1. With nationalFlag set both operands are national (UTF-16BE)
// digit strings with a separate sign unit, and the counts are in characters.
NORVEXA_API int dtCompareZonedDecimal(unsigned char const* a, int pa, int sa, int kindA, unsigned char const* b, int pb,
                                      int sb, int kindB, int nationalFlag);

// Re-digits src (ps digits, ss decimals, kind kindS) to pd digits, sd
// decimals and sign kind kindD: aligned at the point, digits that do not fit
// dropped at both ends, missing ones 0, no negative zero.
NORVEXA_API unsigned char* dtConvertZonedDecimal(unsigned char const* src, int ps, int ss, int kindS, int pd, int sd,
                                                 int kindD);

// A copy of n digits with the sign rewritten in its written form.
NORVEXA_API unsigned char* dtCopyZonedDecimal(unsigned char const* src, int n, int unused, int kind);

// Turns the sign in place; kind 1 is handled as kind 3, kind 0 stays unsigned.
NORVEXA_API void dtNegateZonedDecimal(unsigned char* bytes, int n, int kind);

// k > 0 appends k zero digits (value times 10^k); k < 0 puts -k zero digits
// in front. The result has n + |k| digits.
NORVEXA_API unsigned char* dtScaleZonedDecimal1(unsigned char const* src, int n, int kind, int k);

// Inverse of the scale routine: k > 0 drops the last k digits, k < 0 the
// first -k. The result has n - |k| digits.
NORVEXA_API unsigned char* dtCompressZonedDecimal1(unsigned char const* src, int n, int kind, int k);

NORVEXA_API unsigned char* dtConvertFixedPointBinary2ZonedDecimal(std::uint64_t value, int n, int unused,
                                                                  int signedFlag, int kind);
NORVEXA_API std::int64_t dtConvertZonedDecimal2FixedPointBinary(unsigned char const* bytes, int n, int unused,
                                                                int signedFlag, int kind, std::uint32_t* sign,
                                                                int negateFlag);
// The value of n digits with s decimals in units of 10^targetScale
// (targetScale < 0: decimal places, > 0: a power-of-ten multiplier).
NORVEXA_API std::int64_t dtConvertZonedDecimal2FixedPointBinary2(unsigned char const* bytes, int n, int s,
                                                                 int signedResult, int kind, int signedSource,
                                                                 int unused, int targetScale);

NORVEXA_API unsigned char* dtConvertLonglong2ZonedDecimal(long long x, std::uint32_t* digits, std::uint32_t* decimals);
NORVEXA_API unsigned char* dtConvertUnLonglong2ZonedDecimal(unsigned long long x, std::uint32_t* digits,
                                                            std::uint32_t* decimals);

// EBCDIC text (NUL-terminated): optional 0x4E or 0x60, digits 0xF0-0xF9, at
// most one point 0x4B. Anything else gives the single digit 0xF0.
NORVEXA_API unsigned char* dtConvertCharstring2ZonedDecimal(unsigned char const* text, std::uint32_t* digits,
                                                            std::uint32_t* decimals);

NORVEXA_API unsigned char* dtConvertPackedDecimal2ZonedDecimal(unsigned char const* packed, int p, int unused,
                                                               int signedFlag);
NORVEXA_API unsigned char* dtConvertZonedDecimal2PackedDecimal(unsigned char const* zoned, int p, int unused,
                                                               int signedFlag, int kind);

// Arithmetic on kind 3 operands (sign in the zone of the last digit byte);
// results are pr digits (up to 72) with sr decimals, kind 3. Multiply,
// divide and power are the packed routines' (digits, sign, a negative zero
// included, and null where they give none).
NORVEXA_API unsigned char* dtAddZonedDecimal(unsigned char const* a, int pa, int sa, unsigned char const* b, int pb,
                                             int sb, int pr, int sr);
NORVEXA_API unsigned char* dtSubtractZonedDecimal(unsigned char const* a, int pa, int sa, unsigned char const* b,
                                                  int pb, int sb, int pr, int sr);
NORVEXA_API unsigned char* dtMultiplyZonedDecimal(unsigned char const* a, int pa, int sa, unsigned char const* b,
                                                  int pb, int sb, int pr, int sr);
NORVEXA_API unsigned char* dtDivideZonedDecimal(unsigned char const* a, int pa, int sa, unsigned char const* b, int pb,
                                                int sb, int pr, int sr);
NORVEXA_API unsigned char* dtPowerZonedDecimal(unsigned char const* a, int pa, int sa, unsigned char const* b, int pb,
                                               int sb, int pr, int sr);

// ASCII text such as "-12.5D" (NUL-terminated), or null.
NORVEXA_API char* dtFormatZonedDecimal(unsigned char const* bytes, int p, int s, int kind);

// Integer part of a decimal text; asciiFlag picks '.' and '-' over 0x4B, 0x60.
NORVEXA_API long long dtConvertZDstring2LongLong(char const* text, int asciiFlag);

NORVEXA_API unsigned char* dtConvertZDstring2ZonedDecimal(char const* text, int p, int s);
NORVEXA_API unsigned char* dtConvertLongDouble2ZonedDecimal(long double x, int p, int s);

// Packed bytes of a numeric literal with its digit count and scale.
NORVEXA_API unsigned char* dtGetZonedDecimalWithPropertries(char const* text, unsigned char* out, std::uint32_t* digits,
                                                            std::uint32_t* scale);

} // extern "C"

#endif
