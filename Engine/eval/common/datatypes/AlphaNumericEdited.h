#ifndef NORVEXA_DATATYPES_ALPHANUMERICEDITED_H
#define NORVEXA_DATATYPES_ALPHANUMERICEDITED_H

#include "HostRecords.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class DecimalFloat;

// An expanded alphanumeric-edited picture handed to the edit.
struct LITDATA {
    short count;        // expanded picture characters
    unsigned char flag; // 0
    char* chars;        // the expanded characters
};

// The value of an alphanumeric-edited item (leaf 78): EBCDIC text shaped by
// a picture of data positions (A, X, 9) and insertion characters (B, 0, /),
// and a copy of its record. Numbers are kept as ASCII E notation; arithmetic
// copies the right operand's text.
class AlphaNumericEdited {
public:
    // The longest expanded picture the edit takes.
    static constexpr unsigned maxExpandedLength = 32767;

    AlphaNumericEdited();
    explicit AlphaNumericEdited(const TypeItem& type);
    AlphaNumericEdited(const char* text, const TypeItem& type);
    AlphaNumericEdited(const TNalpha_numeric_edited& record, char* text);
    AlphaNumericEdited(const TNalpha_numeric_edited& record, ByteString& text);
    AlphaNumericEdited(const void* bytes, const TNalpha_numeric_edited& record);
    AlphaNumericEdited(const AlphaNumericEdited&) = default;
    AlphaNumericEdited& operator=(const AlphaNumericEdited&) = default;
    ~AlphaNumericEdited() = default;

    AlphaNumericEdited(const ByteString& source, const TNalpha_numeric_edited& record);
    AlphaNumericEdited(const ZonedDecimal& source, const TNalpha_numeric_edited& record);
    AlphaNumericEdited(const TNalpha_numeric_edited& record, long double value);
    explicit AlphaNumericEdited(const ZonedDecimal& source);
    explicit AlphaNumericEdited(const FixedPointBinary& source);
    explicit AlphaNumericEdited(const NationalDecimal& source);
    explicit AlphaNumericEdited(const PackedDecimal& source);
    AlphaNumericEdited(const PackedDecimal& source, const TNalpha_numeric_edited& record);

    void fill(const void* bytes, const TNalpha_numeric_edited& record);
    AlphaNumericEdited& convert(const AlphaNumericEdited& other);

    operator long long() const { return 0; }
    operator unsigned long long() const { return 0; }
    operator long double() const { return 0; }
    operator DecimalFloat() const;
    bool operator!() const { return false; }

    int format(char* text) const;
    void format(void* bytes, unsigned int size) const;
    int compare(const AlphaNumericEdited& other) const;

    AlphaNumericEdited& operator+=(const AlphaNumericEdited& other);
    AlphaNumericEdited& operator-=(const AlphaNumericEdited& other);
    AlphaNumericEdited& operator*=(const AlphaNumericEdited& other);
    AlphaNumericEdited& operator/=(const AlphaNumericEdited& other);
    AlphaNumericEdited operator+(const AlphaNumericEdited& other) const;
    AlphaNumericEdited operator-(const AlphaNumericEdited& other) const;
    AlphaNumericEdited operator*(const AlphaNumericEdited& other) const;
    AlphaNumericEdited operator/(const AlphaNumericEdited& other) const;
    AlphaNumericEdited operator-() const { return *this; }

    int getPicCount(char** cursor) const;
    // The length of the expanded picture; above maxExpandedLength refused.
    unsigned getExpandedPicLength() const;
    // Writes the expanded picture (getExpandedPicLength() characters).
    void expandAlphaNumEditPic(char* out) const;
    // Edits source (sourceLength bytes) into out, which holds this record's
    // length; never writes more than that.
    void moveToAlphaNumEdit(LITDATA& picture, const char* source, long long sourceLength, char* out);

    const ByteString& bytes() const { return text_; }
    const TNalpha_numeric_edited& record() const { return record_; }

private:
    void edit(const ByteString& source);

    ByteString text_;
    TNalpha_numeric_edited record_;
};

#endif
