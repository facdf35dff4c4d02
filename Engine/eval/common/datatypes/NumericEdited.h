#ifndef NORVEXA_DATATYPES_NUMERICEDITED_H
#define NORVEXA_DATATYPES_NUMERICEDITED_H

#include "HostRecords.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class ExternalFloat;
class NationalExternalFloat;
class NationalNumericEdited;
class DecimalFloat;

// A numeric-edited picture after analysis: the expanded picture and the
// form of its sign and currency symbols.
struct PICSTRUC2 {
    // Room of the expanded picture; a longer picture is refused.
    static constexpr int capacity = 256;

    short count;            // characters of the expanded picture
    char decimalPoint;      // '.'
    char currency;          // the currency byte written: 0x5B
    unsigned char editKind; // sign and currency form, see below
    char chars[capacity];   // the expanded picture, not terminated
};

// editKind values:
//  1 no sign or currency symbol decides the form
//  2 a single '+'        3 a single '-'
//  4 CR                  5 DB
//  6 floating '+'        7 floating '-'
// 10 '$' first, '+' later; 11 '$' first, '-', CR or DB later; 12 '$' alone.
// The engine also takes two forms analysis never makes: a negative count
// (its magnitude the length) when every digit position suppresses, and an
// editKind above 12 (its two's complement the kind) for BLANK WHEN ZERO.

// The value of a numeric-edited item (leaf 79): its EBCDIC text and a copy
// of its record. Numbers are edited into the picture through a zoned
// working item; reading a number back out of edited text is refused.
class NumericEdited {
public:
    NumericEdited();
    explicit NumericEdited(const TypeItem& type);
    NumericEdited(const char* text, const TypeItem& type);
    NumericEdited(const TNnumeric_edited& record, char* text);
    NumericEdited(const TNnumeric_edited& record, ByteString& text);
    NumericEdited(const void* bytes, const TNnumeric_edited& record);
    NumericEdited(const NumericEdited&) = default;
    NumericEdited& operator=(const NumericEdited&) = default;
    ~NumericEdited() = default;

    // Editing constructors: the number edited into the record's picture.
    NumericEdited(const TNnumeric_edited& record, long double value);
    NumericEdited(const ExternalFloat& source, const TNnumeric_edited& record);
    NumericEdited(const NationalExternalFloat& source, const TNnumeric_edited& record);
    NumericEdited(const ZonedDecimal& source, const TNnumeric_edited& record);
    NumericEdited(const NationalDecimal& source, const TNnumeric_edited& record);
    NumericEdited(const PackedDecimal& source, const TNnumeric_edited& record);
    NumericEdited(const FixedPointBinary& source, const TNnumeric_edited& record);
    NumericEdited(const ByteString& digits, const TNnumeric_edited& record);

    explicit NumericEdited(const PackedDecimal& source);
    NumericEdited(const NationalNumericEdited& source, const TNnumeric_edited& record);

    void fill(const void* bytes, const TNnumeric_edited& record);

    // De-editing: always refused.
    NumericEdited& convert(const NumericEdited& source);
    operator long double() const;

    operator long long() const { return 0; }
    operator unsigned long long() const { return 0; }
    operator DecimalFloat() const;
    bool operator!() const { return false; }

    int format(char* text) const;
    void format(void* bytes, unsigned int size) const;
    int compare(const NumericEdited& other) const;

    // Arithmetic does not compute: this text becomes the other's.
    NumericEdited& operator+=(const NumericEdited& other);
    NumericEdited& operator-=(const NumericEdited& other);
    NumericEdited& operator*=(const NumericEdited& other);
    NumericEdited& operator/=(const NumericEdited& other);
    NumericEdited operator+(const NumericEdited& other) const;
    NumericEdited operator-(const NumericEdited& other) const;
    NumericEdited operator*(const NumericEdited& other) const;
    NumericEdited operator/(const NumericEdited& other) const;
    NumericEdited operator-() const { return *this; }

    NationalNumericEdited convertToNationalNumericEdited() const;

    // Picture machinery.
    int getPicCount(char** cursor) const;
    // Expands this picture into out (room for capacity characters) and
    // answers its length; a picture longer than capacity is refused.
    int expandNumEditPic(char* out) const;
    void getNumEditPicInfo(PICSTRUC2& info) const;
    // Edits the working item's bytes (sign byte, then digits; length bytes in
    // all) into this text from its first byte; never writes past the text.
    void moveNumToNumEdit(const PICSTRUC2& info, const char* source, unsigned length);
    void convertNumEditPicInfo(PICSTRUC2& info) const;
    void moveNumEditToNum(PICSTRUC2* info, char* out) const;

    const ByteString& bytes() const { return text_; }
    const TNnumeric_edited& record() const { return record_; }

private:
    void edit(const ZonedDecimal& working);
    void deEdit() const;

    ByteString text_;
    TNnumeric_edited record_;
};

#endif
