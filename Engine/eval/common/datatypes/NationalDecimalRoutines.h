#ifndef NORVEXA_DATATYPES_NATIONALDECIMALROUTINES_H
#define NORVEXA_DATATYPES_NATIONALDECIMALROUTINES_H

// Routines on national decimal numbers: UTF-16BE digit strings, one 2-byte
// unit per digit (0x00, 0x30 + digit), with a separate sign unit 0x00 '+' or
// 0x00 '-' in front (sign kind 4) or behind the digits (sign kind 5); any
// other sign kind has no sign unit. A digit is read from the low 4 bits of
// its unit's second byte.
//
// Routines that hand back bytes write them into a result area of their own
// (per thread, sized for 72 digits and a sign unit) and return a pointer to
// it, valid until the same routine runs again on the thread. Digit counts
// above 72, or decimals above the digits, give null. The text and format
// routines keep to 31 digits and 31 decimals.
//
// The exported arithmetic (compare, negate, add, subtract, multiply, divide,
// power) works on national digit strings of the standard form, with a
// separate trailing sign unit (kind 5), and gives results in that form.

#include "NorvexaExport.h"

#include <cstdint>

inline constexpr int kNationalMaxDigits = 72;
inline constexpr int kNationalMaxTextDigits = 31;

extern "C" {

NORVEXA_API unsigned char* dtConvertNationalDecimal(unsigned char const* bytes, int p1, int d1, int k1, int p2, int d2,
                                                    int k2);
NORVEXA_API unsigned char* dtConvertNationalDecimal2ZonedDecimal(unsigned char const* bytes, int p, int d,
                                                                 int signedFlag, int k);
NORVEXA_API unsigned char* dtConvertZonedDecimal2NationalDecimal(unsigned char const* zoned, int p, int d,
                                                                 int targetSigned, int targetKind, int sourceSigned,
                                                                 int sourceKind);
NORVEXA_API unsigned char* dtConvertNationalDecimal2PackedDecimal(unsigned char const* bytes, int p, int d,
                                                                  int signedFlag, int k);
NORVEXA_API unsigned char* dtConvertPackedDecimal2NationalDecimal(unsigned char const* packed, int p, int d,
                                                                  int signedFlag);
NORVEXA_API std::int64_t dtConvertNationalDecimal2FixedPointBinary(unsigned char const* bytes, int p, int d,
                                                                   std::uint32_t* negative, int k);
NORVEXA_API unsigned char* dtConvertFixedPointBinary2NationalDecimal(std::uint64_t value, int p, int d, int signedFlag,
                                                                     int k);
NORVEXA_API unsigned char* dtConvertLonglong2NationalDecimal(long long x, std::uint32_t* p, std::uint32_t* d);
NORVEXA_API unsigned char* dtConvertUnLonglong2NationalDecimal(unsigned long long x, std::uint32_t* p,
                                                               std::uint32_t* d);
NORVEXA_API unsigned char* dtConvertLongDouble2NationalDecimal(long double x, int p, int d);

// Decimal text (EBCDIC or ASCII) to p digits and d decimals with a trailing
// sign unit; roundFlag rounds half away from zero at the last kept place.
NORVEXA_API unsigned char* dtConvertNDstring2NationalDecimal(char const* text, int p, int d, int unused, int roundFlag);
NORVEXA_API long long dtConvertNDstring2LongLong(char const* text, int asciiFlag);

// EBCDIC text: optional minus 0x60, digits, point 0x4B, decimals (one 0xF0
// when there are none), end character 0xC4, NUL; or null.
NORVEXA_API unsigned char* dtFormatNationalDecimal(unsigned char const* bytes, int p, int d, int k);

// Parses a numeric literal into area (65 bytes) as 31 packed bytes, and
// reports its digit count and decimal places. Returns area, or null when the
// text is not a number.
NORVEXA_API unsigned char* dtGetNationalDecimalWithPropertries(char const* text, unsigned char* area, std::uint32_t* p,
                                                               std::uint32_t* d, int flag);

NORVEXA_API int dtCompareNationalDecimal(unsigned char const* a, int pa, int da, unsigned char const* b, int pb,
                                         int db);
NORVEXA_API unsigned char* dtNegateNationalDecimal(unsigned char const* a, int pa);
NORVEXA_API unsigned char* dtAddNationalDecimal(unsigned char const* a, int pa, int da, unsigned char const* b, int pb,
                                                int db, int pr, int dr);
NORVEXA_API unsigned char* dtSubtractNationalDecimal(unsigned char const* a, int pa, int da, unsigned char const* b,
                                                     int pb, int db, int pr, int dr);
// Multiply, divide and power: pr digits (up to 72) and dr decimals, kind 5,
// the packed routines' digits and sign (a negative zero included), null
// where they give none.
NORVEXA_API unsigned char* dtMultiplyNationalDecimal(unsigned char const* a, int pa, int da, unsigned char const* b,
                                                     int pb, int db, int pr, int dr);
NORVEXA_API unsigned char* dtDivideNationalDecimal(unsigned char const* a, int pa, int da, unsigned char const* b,
                                                   int pb, int db, int pr, int dr);
NORVEXA_API unsigned char* dtPowerNationalDecimal(unsigned char const* a, int pa, int da, unsigned char const* b,
                                                  int pb, int db, int pr, int dr);

} // extern "C"

#endif
