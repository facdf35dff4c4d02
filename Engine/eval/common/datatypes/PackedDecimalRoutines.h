#ifndef NORVEXA_DATATYPES_PACKEDDECIMALROUTINES_H
#define NORVEXA_DATATYPES_PACKEDDECIMALROUTINES_H

// The packed decimal routine library: plain C-callable routines over packed
// decimal numbers held as raw bytes together with a precision p, a scale s
// (digits after the point, 0 <= s <= p) and a signed flag.
//
// Encoding: two BCD digits a byte, most significant first; the low nibble of
// the last byte is the sign. A number of precision p occupies p/2+1 bytes.
// For an even p the high nibble of byte 0 is a pad nibble: writers set it to
// 0; readers that walk every digit nibble take it as a leading digit. Sign
// nibbles read: A, C, E, F plus; B, D minus; a digit is no valid sign.
// Written: C plus, D minus, F unsigned.
//
// Result areas: a routine that returns bytes writes them into an area of its
// own and returns a pointer to it. The area belongs to the calling thread and
// keeps its content until the same routine runs again on that thread; callers
// copy the result (p/2+1 bytes) at once. The largest precision the routines
// accept is 72 digits (37 bytes): a routine asked for a result outside
// 1 to 72 digits, or for a scale outside 0 to p, writes nothing and returns
// null. Value classes refuse or clamp such precisions before they call.
//
// Texts: decimal texts are EBCDIC (digits 0xF0-0xF9, point 0x4B, minus 0x60)
// where a routine says so; the text readers accept ASCII and EBCDIC alike.

#include <cstdint>

#include "NorvexaExport.h"

// The largest precision, and the bytes it takes.
constexpr int PackedDecimalMaxDigits = 72;
constexpr int PackedDecimalMaxBytes = PackedDecimalMaxDigits / 2 + 1;

extern "C" {

// ------------------------------------------------------------ tables

// 10^0 to 10^19, every power of ten a 64-bit word holds.
NORVEXA_API extern const uint64_t packedPowersOfTen[20];
// Nibble k (numbered from 1 at the high nibble of byte 0) lies in byte
// (k-1)/2 under mask packedNibbleMask[k & 1], shifted by packedNibbleShift[k & 1].
NORVEXA_API extern const unsigned char packedNibbleMask[2];
NORVEXA_API extern const unsigned char packedNibbleShift[2];
// EBCDIC digits 0xF0 to 0xF9.
NORVEXA_API extern const unsigned char packedEbcdicDigits[10];
// BCD byte 0xHL to 10*H+L (L above 9 counts 0; H above 9 gives 100, invalid).
NORVEXA_API extern const unsigned char packedBcdToValue[256];
// Value v (0-199) to the BCD byte of v mod 100.
NORVEXA_API extern const unsigned char packedValueToBcd[200];

// ------------------------------------------------------------ signs and comparison

// +1 for a sign nibble A, C, E, F; -1 for B, D; 0 for a digit.
NORVEXA_API int packedSign(const unsigned char* bytes, int p);
// Writes the sign nibble: s >= 1 C, s == 0 F, s < 0 D; keeps the high nibble.
NORVEXA_API void packedSetSign(unsigned char* bytes, int p, int s);
// 1, 0 or -1: magnitude of a against b, aligned at the point (pad nibbles
// count); 0 for an operand that cannot be read, as dtComparePackedDecimal.
NORVEXA_API int packedAbsCmp(const unsigned char* a, int pa, int sa, const unsigned char* b, int pb, int sb);
// -1, 0 or 1. An operand whose flag is clear counts as positive. A negative
// zero compares below a positive zero. An operand that cannot be read
// (precision outside 1-72, scale outside 0-72, no bytes) gives 0.
NORVEXA_API int dtComparePackedDecimal(const unsigned char* a, int pa, int sa, int signedA, const unsigned char* b,
                                       int pb, int sb, int signedB);
// Turns the sign in place: plus becomes D, minus C, an invalid sign F.
NORVEXA_API void dtNegatePackedDecimal(unsigned char* bytes, int p);

// ------------------------------------------------------------ re-digit, scale, compress

// src re-digited to pd digits and sd decimals: aligned at the point, excess
// high integer digits and low decimals dropped (truncation), missing
// positions 0. *allZero (when given) tells whether every copied digit was 0.
// With signedFlag the source's sign is kept (C, D, F; a zero result is never
// negative), else F. Bytes of the area beyond the result hold 0xEE.
NORVEXA_API unsigned char* dtConvertPackedDecimal(const unsigned char* src, int ps, int ss, int pd, int sd,
                                                  int signedFlag, int* allZero);
// p+|n| digits: n > 0 appends n zero digits (times 10^n), n < 0 puts |n|
// zeros in front. n == 0 copies the value. Sign: the source's with
// signedFlag, else F. Bytes beyond the result hold 0xEE.
NORVEXA_API unsigned char* dtScalePackedDecimal1(const unsigned char* src, int p, int signedFlag, int n);
// p-|n| digits: n > 0 drops the last n digits, n < 0 the first |n|. n == 0
// copies the value. Sign as dtScalePackedDecimal1.
NORVEXA_API unsigned char* dtCompressPackedDecimal1(const unsigned char* src, int p, int signedFlag, int n);

// ------------------------------------------------------------ integers

// value in p digits (higher digits dropped; an even p's pad nibble takes the
// next digit). signedFlag clear: value is unsigned and the sign F.
NORVEXA_API unsigned char* dtConvertFixedPointBinary2PackedDecimal(long long value, int p, int s, int signedFlag);
// All digit nibbles as an integer, scale ignored; negated for a minus sign.
// *negative (when given) is 1 for a minus sign, else 0.
NORVEXA_API long long dtConvertPackedDecimal2FixedPointBinary(const unsigned char* bytes, int p, int s,
                                                              uint32_t* negative);
// The value in units of 10^targetScale (negative: decimal places; positive:
// a multiplier); dropped digits truncate toward zero. signedResult clear
// gives the magnitude; else a minus sign negates when signedSource is set.
NORVEXA_API long long dtConvertPackedDecimal2FixedPointBinary2(const unsigned char* bytes, int p, int s,
                                                               int signedResult, int signedSource, int unused,
                                                               int targetScale);
// x in its own digit count (*p), scale 0 (*s); sign C or D.
NORVEXA_API unsigned char* dtConvertLonglong2PackedDecimal(long long x, uint32_t* p, uint32_t* s);
// x in its own digit count (*p), scale 0 (*s); sign F.
NORVEXA_API unsigned char* dtConvertUnLonglong2PackedDecimal(unsigned long long x, uint32_t* p, uint32_t* s);

// ------------------------------------------------------------ texts

// EBCDIC text [minus] integer digits, point, s decimals (one 0xF0 when s is
// 0), end character 0xC4, NUL; leading zeros removed down to one before the
// point. The minus (for a sign B or D) only when minusFlag is set. Null for
// p outside 1-72, s outside 0-31, s > p, or a digit in the sign nibble.
NORVEXA_API char* dtFormatPackedDecimal(const unsigned char* bytes, int p, int s, int minusFlag);
// Integer part of a decimal text: optional minus ('-' or 0x60), digits
// (ASCII with asciiFlag, else EBCDIC), up to the first other character.
NORVEXA_API long long dtConvertPDstring2LongLong(const char* text, int asciiFlag);
// Reads a decimal text into p digits and s decimals: optional blanks, an
// optional sign, digits with an optional point (ASCII or EBCDIC). Excess
// high integer digits and excess decimals are dropped. The result is p/2+1
// bytes at out (sign C or D; a zero is never negative). Returns 0 and
// writes nothing when the text holds no number or p, s are out of range.
NORVEXA_API int scanPackedDecimal(const char* text, int p, int s, unsigned char* out);
// The text (at most 64 characters used) as packed decimal of p digits and s
// decimals in a 40-byte area. Null for p outside 1-72, s outside 0-31, s > p,
// or a text that holds no number.
NORVEXA_API unsigned char* dtConvertPDstring2PackedDecimal(const char* text, int p, int s);
// x with s decimals, as dtConvertPDstring2PackedDecimal. Null also for an
// infinity, a NaN, or a value too long to format.
NORVEXA_API unsigned char* dtConvertLongDouble2PackedDecimal(long double x, int p, int s);
// The value as a long double into *out; returns 1, or 0 (nothing written)
// when the value cannot be formatted or read.
NORVEXA_API int makeMeLongDouble(const unsigned char* bytes, int p, int s, long double* out);
// A numeric literal parsed by the decimal library: its packed bytes
// (digits/2+1 of them, at most 31) at the start of out, its digit count and
// scale. Returns out, or null for a text that is no number, has more than 61
// digits, or is a special value.
NORVEXA_API unsigned char* dtGetPackedDecimalWithPropertries(const char* text, unsigned char* out, uint32_t* digits,
                                                             uint32_t* scale);

// ------------------------------------------------------------ arithmetic

// Digits of |a|+|b| (addFlag) or |a|-|b| (|a| >= |b| required) in pr digits
// and sr decimals; the sign nibble is not set.
NORVEXA_API unsigned char* packedAddSub(int addFlag, const unsigned char* a, int pa, int sa, const unsigned char* b,
                                        int pb, int sb, int pr, int sr);
// a + b and a - b in pr digits, sr decimals, sign C or D. An operand whose
// flag is clear counts as positive. A zero result keeps the sign the
// operands give (-5 + 5 is a negative zero).
NORVEXA_API unsigned char* dtAddPackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b,
                                              int pb, int sb, int fb, int pr, int sr);
NORVEXA_API unsigned char* dtSubtractPackedDecimal(const unsigned char* a, int pa, int sa, int fa,
                                                   const unsigned char* b, int pb, int sb, int fb, int pr, int sr);
// a times b in pr digits (sa+sb decimals; higher digits dropped). Operands
// count at most 31 digits (excess high integer digits dropped). The sign is
// the product's by the rule of signs, a zero's too (-5 x 0 is a negative
// zero). Null when the library fails.
NORVEXA_API unsigned char* dtMultiplyPackedDecimal(const unsigned char* a, int pa, int sa, int fa,
                                                   const unsigned char* b, int pb, int sb, int fb, int pr);
// a / b in pr digits and sr decimals, truncated: every digit kept is the
// exact quotient's, nothing is rounded; digits above pr are dropped. The
// sign follows the rule of signs, a quotient truncated to zero keeps it
// (-1 / 3 with no decimals is a negative zero). Null for an all-zero
// divisor or when the library fails.
NORVEXA_API unsigned char* dtDividePackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b,
                                                 int pb, int sb, int fb, int pr, int sr);
// a to the power b in pr digits and sr decimals: the power's value
// truncated to sr decimals (T), exact in every digit for an integer
// exponent; an exponent with decimals goes through long double. Below 31
// digits the low pr digits of T are kept (higher digits dropped). The sign
// is negative for a negative base (a negative zero included) and an odd
// exponent, also when T is zero. Null when there is no result: T of more
// than max(pr, 31) digits, 0 to a negative power, 0 to the power 0, a
// failing library call.
NORVEXA_API unsigned char* dtPowerPackedDecimal(const unsigned char* a, int pa, int sa, int fa, const unsigned char* b,
                                                int pb, int sb, int fb, int pr, int sr);

// dst (pd/2+1 bytes) = src / 10^n: the last n digits dropped, rounded up by
// one when roundFlag is set and the first dropped digit is 5 or more (a
// carry out of the top is lost); the sign nibble of src copied. A negative
// n shifts left.
NORVEXA_API void _Shift_Right_Pckd_BCD(const unsigned char* src, int ps, unsigned char* dst, int pd, int n,
                                       int roundFlag);
// dst (pd/2+1 bytes) = src * 10^n, digits beyond pd dropped from the top;
// the sign nibble of src copied. A negative n shifts right.
NORVEXA_API void _Shift_Left_Pckd_BCD(const unsigned char* src, int ps, unsigned char* dst, int pd, int n);

} // extern "C"

#endif
