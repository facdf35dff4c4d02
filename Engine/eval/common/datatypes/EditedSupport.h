#ifndef NORVEXA_DATATYPES_EDITEDSUPPORT_H
#define NORVEXA_DATATYPES_EDITEDSUPPORT_H

// Helpers shared by the edited-picture and external floating-point value
// classes: repeat counts of picture symbols, texts of evaluator strings, and
// the plain-number texts that edited items keep when no picture applies.

#include <plomkit/ByteString.h>

#include "services/TextBytes.h"

#include <cstdio>
#include <cstring>

namespace edited {

// The largest repeat count a picture symbol may carry; larger counts are
// read as this, which is beyond every picture capacity and so refused.
constexpr int kMaxRepeat = 1000000;

// The repeat count after the picture symbol at *cursor: when the next
// character is '(', the number up to ')' (digits taken without a check),
// the cursor left on the ')'; no '(' gives 0 and leaves the cursor. A ')'
// missing before the end of the text leaves the cursor on the last
// character, so a caller that steps past it lands on the terminator.
inline int pictureRepeatCount(const char** cursor)
{
    const char* p = *cursor;
    if (p == nullptr || *p == '\0' || p[1] != '(')
        return 0;
    long n = 0;
    const char* q = p + 2;
    for (; *q != '\0' && *q != ')'; ++q) {
        n = n * 10 + (*q - '0');
        if (n > kMaxRepeat || n < -kMaxRepeat)
            n = kMaxRepeat;
    }
    *cursor = *q == ')' ? q : q - 1;
    return n < 0 ? 0 : static_cast<int>(n);
}

// A record of the given leaf with all else zero.
template <class Record>
Record emptyRecord(decltype(Record::leaf) leaf)
{
    Record r{};
    r.leaf = leaf;
    return r;
}

// The record of a text kept without a picture (a number in E notation): the
// text's length and nothing else.
template <class Record>
Record plainRecord(decltype(Record::leaf) leaf, const ByteString& text)
{
    Record r = emptyRecord<Record>(leaf);
    r.length = text.length();
    return r;
}

// Whether two pictures are the same text; two absent pictures are.
inline bool samePicture(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return std::strcmp(a, b) == 0;
}

using ::textOf;

// The bytes of debuggee data held in evaluator memory: exactly length bytes
// (debuggee text has no terminator); none for a null address.
inline ByteString bytesAt(const void* address, unsigned length)
{
    if (address == nullptr)
        return ByteString();
    return ByteString(static_cast<const unsigned char*>(address), length);
}

// A number in E notation ("%.*LE") with the given digits after the point,
// in ASCII: the text that edited items hold for a plain number.
inline ByteString eNotation(long double value, int digits)
{
    if (digits < 0)
        digits = 0;
    char text[128];
    int n = std::snprintf(text, sizeof text, "%.*LE", digits, value);
    if (n < 0)
        n = 0;
    if (n >= static_cast<int>(sizeof text))
        n = sizeof text - 1;
    return ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(n));
}

// Byte-wise comparison over the shorter of two texts: 1 or -1 at the first
// differing byte (bytes unsigned), 0 when none differs.
inline int comparePrefix(const ByteString& a, const ByteString& b)
{
    const unsigned n = a.length() < b.length() ? a.length() : b.length();
    for (unsigned i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return a[i] > b[i] ? 1 : -1;
    }
    return 0;
}

// Copies the first size bytes of a text to out; bytes beyond the text are
// written as zero, so out is always fully defined.
inline void copyOut(const ByteString& text, void* out, unsigned size)
{
    if (out == nullptr)
        return;
    unsigned char* o = static_cast<unsigned char*>(out);
    const unsigned n = text.length() < size ? text.length() : size;
    if (n != 0)
        std::memcpy(o, text.data(), n);
    if (size > n)
        std::memset(o + n, 0, size - n);
}

// The first eight bytes of a text as two big-endian words, for traces.
inline unsigned traceWord(const ByteString& text, unsigned start)
{
    unsigned w = 0;
    for (unsigned i = start; i < start + 4; ++i)
        w = (w << 8) | (i < text.length() ? text[i] : 0u);
    return w;
}

} // namespace edited

#endif
