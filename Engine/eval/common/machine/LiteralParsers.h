#ifndef NORVEXA_MACHINE_LITERALPARSERS_H
#define NORVEXA_MACHINE_LITERALPARSERS_H

#include <cstdint>

// Integer and character literals as the user typed them, turned into
// numbers. None of them reads past the end it is given.

// Digits of one base from position up to end (or a zero byte); position is
// left on the first byte not read. InvalidOp RTRC_ParserError when position
// is at the end or no digit was read. The value wraps at 64 bits.
std::uint64_t readBinValue(const char*& position, const char* end);
std::uint64_t readOctValue(const char*& position, const char* end);
std::uint64_t readDecValue(const char*& position, const char* end);
std::uint64_t readHexValue(const char*& position, const char* end);

// An integer literal: C forms (decimal, 0x hexadecimal, 0 octal; decimal
// only in Fortran), the quoted forms B'', H'', Z'' and O'', a leading minus
// or plus, and U and L suffixes. Returns the value (two's complement for a
// negative literal) and sets isSigned to 1 or 0 and size to 4 or 8.
// InvalidOp RTRC_ParserError for anything else.
std::uint64_t readIntegralValue(const char* text, unsigned length, int& isSigned, int& size);

// One character of a character literal, escapes included, into byte; the
// number of bytes of text used, 0 when the text is no valid character.
int convertChar(const char* text, unsigned length, unsigned char& byte);
// The same for a wide-character literal: UTF-8 input, hexadecimal escapes
// of any length.
int convertChar(const char* text, unsigned length, std::uint64_t& code);
// The code point of the UTF-8 character at text and the bytes it uses; 0
// bytes when no well-formed character of at most length bytes starts there.
unsigned readUtf8(const unsigned char* text, unsigned length, std::uint64_t& code);

#endif
