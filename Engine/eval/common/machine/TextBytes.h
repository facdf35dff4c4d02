#ifndef NORVEXA_MACHINE_TEXTBYTES_H
#define NORVEXA_MACHINE_TEXTBYTES_H

#include <cstdint>

#include <plomkit/ByteString.h>

class DebuggeeLocation;
class StackItem;

// Byte work shared by the text items: blanks of the three text kinds,
// fitting a text to a length, and the padded comparison.
namespace textbytes {

// The blank of a text kind: the EBCDIC space 0x40, the national space
// 00 20 and the DBCS space 40 40.
enum class Blank {
    ebcdic,
    national,
    dbcs
};

// The relations of the comparison operators.
enum class Relation {
    eq,
    ne,
    lt,
    le,
    gt,
    ge
};

// n bytes of blanks.
ByteString blanks(unsigned n, Blank blank);
// text followed by blanks up to n bytes, or its first n bytes.
ByteString fitEnd(const ByteString& text, unsigned n, Blank blank);
// Blanks then text up to n bytes, or its last n bytes (a right-justified
// move).
ByteString fitStart(const ByteString& text, unsigned n, Blank blank);
// The first n bytes of a text of length bytes (null text: none), padded
// with blanks: the value of a text item made from a constant.
ByteString fromText(const char* text, std::uint64_t length, unsigned n, Blank blank);
// -1, 0 or 1: the two texts compared as unsigned bytes after the shorter
// one is padded at its end with blanks.
int compare(const ByteString& left, const ByteString& right, Blank blank);
// Whether a comparison result satisfies the relation (1 or 0).
int holds(int comparison, Relation relation);
// The relation seen from the other operand (a < b is b > a).
Relation mirrored(Relation relation);
// The load of a text item's value: n bytes read at where into a buffer
// pre-filled with 0xFF. hasValue follows the location (none: RTRC_Other);
// n = 0 gives an empty value where emptyAllowed, else RTRC_Other.
ByteString readText(StackItem& item, const DebuggeeLocation& where, std::uint64_t n, bool emptyAllowed);
// Every byte an EBCDIC space or digit.
bool isDisplayDigits(const ByteString& text);

} // namespace textbytes

#endif
