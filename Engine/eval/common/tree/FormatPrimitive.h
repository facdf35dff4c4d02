#ifndef NORVEXA_TREE_FORMATPRIMITIVE_H
#define NORVEXA_TREE_FORMATPRIMITIVE_H

#include <cstdint>
#include <string>

#include <plomkit/ByteString.h>

#include "datatypes/DecimalFloat.h"
#include "tree/DebugType.h"

// Display text of one primitive value of the debuggee in a representation.
// Static members only. Values come in as the debuggee stores them
// (big-endian); format reads them into host numbers before the formatters
// see them. Texts that depend on the language ask the current evaluation
// environment (11 Fortran, 6 COBOL), which must exist. The character routines return their
// text (32-bit characters) rather than keeping it in shared buffers, so
// formatting may run on several threads at once.
class FormatPrimitive {
public:
    // The value of primitive type tindex (128 to 205) in length stored bytes
    // at data. Representation 21 hands out the bytes as they are. An unknown
    // type raises InvalidOp RTRC_NotSupported; a length below the type's
    // width, or a representation the type does not offer, RTRC_InvalidFormat.
    static ByteString format(DBG_REPS rep, unsigned int tindex, const void* data, unsigned int length);
    // The number of stored bytes a primitive type reads (0 for the
    // aggregates, which read none); 0 also for a type format refuses.
    static unsigned storedWidth(unsigned int tindex);

    // Integers (host values).
    static ByteString formatU1(std::uint8_t value, DBG_REPS rep);
    static ByteString formatU2(std::uint16_t value, DBG_REPS rep);
    static ByteString formatU4(std::uint32_t value, DBG_REPS rep);
    static ByteString formatU8(std::uint64_t value, DBG_REPS rep);
    static ByteString formatS1(std::int8_t value, DBG_REPS rep);
    static ByteString formatS2(std::int16_t value, DBG_REPS rep);
    static ByteString formatS4(std::int32_t value, DBG_REPS rep);
    static ByteString formatS8(std::int64_t value, DBG_REPS rep);

    // Floating point (stored bytes).
    static ByteString formatF(const void* bytes, DBG_REPS rep);
    static ByteString formatD(const void* bytes, DBG_REPS rep);
    static ByteString formatLD(const void* bytes, DBG_REPS rep);
    static ByteString formatLD12(const void* bytes, DBG_REPS rep);
    static ByteString formatFhexQUV(const void* bytes, DBG_REPS rep);
    static ByteString formatDhexQUV(const void* bytes, DBG_REPS rep);
    static ByteString formatLDhexQUV(const void* bytes, DBG_REPS rep);
    static ByteString formatComplexF(const void* bytes, DBG_REPS rep);
    static ByteString formatComplexD(const void* bytes, DBG_REPS rep);
    // 142: two 16-byte binary floats at 0 and 16; 143: two 12-byte slots of
    // the evaluator's extended form at 0 and 12.
    static ByteString formatComplexLD(const void* bytes, DBG_REPS rep, unsigned int tindex);
    static ByteString formatComplexFhexQUV(const void* bytes, DBG_REPS rep);
    static ByteString formatComplexDhexQUV(const void* bytes, DBG_REPS rep);
    static ByteString formatComplexLDhexQUV(const void* bytes, DBG_REPS rep);
    static ByteString formatDecimalFloat(const DecimalFloat& value, DBG_REPS rep, DecimalFloat::Size size);

    // Digits.
    static ByteString formatHexadecimal(unsigned long long value, unsigned int width);
    static ByteString formatOctal(unsigned long long value);
    static ByteString formatBinary(unsigned long long value, unsigned int width);
    static ByteString formatDecimal(long long value);
    static ByteString formatDecimal(unsigned long long value);
    static ByteString formatBoolean(int value);
    static ByteString formatFloatAsHex(int count, const void* bytes);
    static ByteString formatFloatAsFloat(int digits, long double value);
    // Rewrites [sign]d.dddE±xx as sign "." digits "E" sign exponent; at most
    // 59 characters are kept.
    static std::string formatFloatToComp(const char* text);

    // Characters.
    static std::wstring formatSBCScharOther(unsigned char c);
    static std::wstring formatSBCSchar(unsigned char c);
    static std::wstring formatDBCSchar(unsigned long long c);
    static std::wstring formatDBCScharOther(unsigned long long c);

    // The text of a string of 8-bit characters.
    static ByteString text(const std::string& s);
    // The UTF-8 text of wide characters.
    static ByteString utf8(const std::wstring& s);
};

#endif
