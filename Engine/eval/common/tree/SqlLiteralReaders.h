#ifndef NORVEXA_TREE_SQLLITERALREADERS_H
#define NORVEXA_TREE_SQLLITERALREADERS_H

#include <cstddef>
#include <cstdint>

// The readers that turn the user's text into the storage form of an SQL
// host variable. Each has a form over a NUL-terminated text and one over a
// text of explicit length (which may hold NUL bytes, refused as invalid
// characters). Bad input is traced and answered with 0 (readSqlFloat
// throws InvalidOp RTRC_ParserError). Buffers handed out through `out` are
// made with new[] and belong to the caller.

// A signed 64-bit integer: digits with an optional leading '+' or '-'. Text
// whose magnitude does not fit 64 signed bits, empty text and any other
// character are bad input: false (the value is 0).
bool readSqlInt(const char* text, std::size_t length, std::int64_t& value);
// The same; 0 on bad input.
std::int64_t readSqlInt(const char* text);

// Bytes from pairs of hexadecimal digits (high digit first). size 0 means
// one byte per pair. Fewer bytes than pairs: the first size pairs, or the
// last ones when rightAlign is 1. More: with rightAlign 1 a zero-filled
// buffer of size with the pairs at its end, else one byte per pair. The
// buffer length, or 0 with *out null for an odd count of digits or a
// character that is no hexadecimal digit.
std::uint32_t readHex(const char* text, std::size_t length, std::uint32_t size, unsigned char** out, int rightAlign);
std::uint32_t readHex(const char* text, std::uint32_t size, unsigned char** out, int rightAlign);

// A decimal number (an optional leading sign, digits, at most one '.', at
// most 31 digits) as packed decimal of the precision (bits 8 to 15 of
// length) and scale (bits 0 to 7), cut at both ends: precision/2 + 1 bytes,
// sign nibble C or D. 0 on bad input.
std::uint32_t readSqlPackedDecimal(const char* text, std::size_t textLength, std::uint32_t length, unsigned char** out);
std::uint32_t readSqlPackedDecimal(const char* text, std::uint32_t length, unsigned char** out);

// The same number as EBCDIC zoned decimal with a leading separate sign
// (0x4E or 0x60): precision + 1 bytes. 0 on bad input.
std::uint32_t readSqlZonedDecimal(const char* text, std::size_t textLength, std::uint32_t length, unsigned char** out);
std::uint32_t readSqlZonedDecimal(const char* text, std::uint32_t length, unsigned char** out);

// A floating-point number: decimal ("1.5", "1.5e3", Fortran's "1.5d3" and
// "1.5q3") or hexadecimal ("0x1.8p1"). Bad input throws InvalidOp
// RTRC_ParserError.
long double readSqlFloat(const char* text, std::size_t length);
long double readSqlFloat(const char* text);

// A decimal floating-point number of 4, 8 or 16 bytes, big-endian, into out
// (size bytes). Returns size; 0 for another size and for text the decimal
// library cannot read as a number.
unsigned readSqlDecFloat(const char* text, std::size_t length, unsigned size, unsigned char* out);
unsigned readSqlDecFloat(const char* text, unsigned size, unsigned char* out);

#endif
