#ifndef NORVEXA_DATATYPES_EXTERNALFLOAT_H
#define NORVEXA_DATATYPES_EXTERNALFLOAT_H

#include "HostRecords.h"
#include "datatypes/DataError.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class NationalExternalFloat;
class DecimalFloat;

// The value of an external floating-point item (leaf 77): a number written
// in EBCDIC characters after a picture such as +9(5).9(3)E+99, and a copy
// of its record. Numbers go in and out through long double.
class ExternalFloat {
public:
    ExternalFloat();
    explicit ExternalFloat(const TypeItem& type);
    ExternalFloat(const TNexternal_float& record, ByteString& bytes);
    ExternalFloat(const TNexternal_float& record, char* text);
    ExternalFloat(const char* text, const TypeItem& type);
    ExternalFloat(const void* bytes, const TNexternal_float& record);
    ExternalFloat(const TNexternal_float& record, long double value);
    ExternalFloat(const ZonedDecimal& source, const TNexternal_float& record);
    ExternalFloat(const PackedDecimal& source, const TNexternal_float& record);
    ExternalFloat(const NationalDecimal& source, const TNexternal_float& record);
    ExternalFloat(const FixedPointBinary& source, const TNexternal_float& record);
    ExternalFloat(const ByteString& digits, const TNexternal_float& record);
    ExternalFloat(const NationalExternalFloat& source, const TNexternal_float& record);
    ExternalFloat(const ExternalFloat&) = default;
    ExternalFloat& operator=(const ExternalFloat&) = default;
    ~ExternalFloat() = default;

    void fill(const void* bytes, const TNexternal_float& record);

    // Picture attributes: integer digits, fraction digits, point character
    // (0x4B '.', 0x6B ',', 0xE6 implied), mantissa and exponent sign symbols
    // (0x4E '+', 0x60 '-'). Every pointer may be null.
    void getPicAttributes(int* integerDigits, int* fractionDigits, char* point, char* mantissaSign,
                          char* exponentSign) const;
    // The value edited into this picture.
    ByteString getValueFromLongDouble(long double value) const;

    // This item becomes the other's value edited into this picture.
    ExternalFloat& convert(const ExternalFloat& other);
    // Byte-wise over the shorter length, then the shorter text is less.
    int compare(const ExternalFloat& other) const;
    ExternalFloat operator-() const;

    operator long double() const;
    operator long long() const;
    operator unsigned long long() const;
    operator DecimalFloat() const;
    bool operator!() const;

    void format(void* bytes, unsigned int size) const;
    int format(char* text) const;

    bool isValidExternalFloat(DataError* error) const;
    NationalExternalFloat convertToNationalExternalFloat() const;

    const ByteString& bytes() const { return bytes_; }
    const TNexternal_float& record() const { return record_; }

private:
    ByteString bytes_;
    TNexternal_float record_;
};

#endif
