#ifndef NORVEXA_DATATYPES_NATIONALNUMERICEDITED_H
#define NORVEXA_DATATYPES_NATIONALNUMERICEDITED_H

#include "HostRecords.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class NumericEdited;
class DecimalFloat;

// The value of a national numeric-edited item (leaf 82): the edited numbers
// of NumericEdited held as UTF-16BE text. Every edit is done in EBCDIC by
// NumericEdited and widened; every way back narrows to NumericEdited and so
// is refused like its de-editing.
class NationalNumericEdited {
public:
    NationalNumericEdited();
    explicit NationalNumericEdited(const TypeItem& type);
    NationalNumericEdited(const char* text, const TypeItem& type);
    NationalNumericEdited(const TNnational_numeric_edited& record, char* text);
    NationalNumericEdited(const TNnational_numeric_edited& record, ByteString& text);
    NationalNumericEdited(const void* bytes, const TNnational_numeric_edited& record);
    NationalNumericEdited(const NationalNumericEdited&) = default;
    NationalNumericEdited& operator=(const NationalNumericEdited&) = default;
    ~NationalNumericEdited() = default;

    // Editing constructors: edited in EBCDIC with the narrow twin record.
    NationalNumericEdited(const PackedDecimal& source, const TNnational_numeric_edited& record);
    NationalNumericEdited(const FixedPointBinary& source, const TNnational_numeric_edited& record);
    NationalNumericEdited(const NationalDecimal& source, const TNnational_numeric_edited& record);
    NationalNumericEdited(const ZonedDecimal& source, const TNnational_numeric_edited& record);
    NationalNumericEdited(const ByteString& digits, const TNnational_numeric_edited& record);

    explicit NationalNumericEdited(const PackedDecimal& source);
    explicit NationalNumericEdited(const FixedPointBinary& source);
    NationalNumericEdited(const TNnational_numeric_edited& record, long double value);

    void fill(const void* bytes, const TNnational_numeric_edited& record);
    // De-editing: always refused.
    NationalNumericEdited& convert(const NationalNumericEdited& other);
    operator long double() const;

    operator long long() const { return 0; }
    operator unsigned long long() const { return 0; }
    operator DecimalFloat() const;
    bool operator!() const { return false; }

    int format(char* text) const;
    void format(void* bytes, unsigned int size) const;
    int compare(const NationalNumericEdited& other) const;

    NationalNumericEdited& operator+=(const NationalNumericEdited& other);
    NationalNumericEdited& operator-=(const NationalNumericEdited& other);
    NationalNumericEdited& operator*=(const NationalNumericEdited& other);
    NationalNumericEdited& operator/=(const NationalNumericEdited& other);
    NationalNumericEdited operator+(const NationalNumericEdited& other) const;
    NationalNumericEdited operator-(const NationalNumericEdited& other) const;
    NationalNumericEdited operator*(const NationalNumericEdited& other) const;
    NationalNumericEdited operator/(const NationalNumericEdited& other) const;
    NationalNumericEdited operator-() const { return *this; }

    NumericEdited convertToNumericEdited() const;
    // The record of the EBCDIC twin: leaf 79, half the length.
    TNnumeric_edited narrowRecord() const;

    const ByteString& bytes() const { return text_; }
    const TNnational_numeric_edited& record() const { return record_; }

private:
    void takeOver(const NumericEdited& narrow);

    ByteString text_;
    TNnational_numeric_edited record_;
};

#endif
