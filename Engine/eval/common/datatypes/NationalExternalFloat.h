#ifndef NORVEXA_DATATYPES_NATIONALEXTERNALFLOAT_H
#define NORVEXA_DATATYPES_NATIONALEXTERNALFLOAT_H

#include "HostRecords.h"
#include "datatypes/DataError.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class ExternalFloat;

// The value of a national external floating-point item (leaf 80): the
// layout of an external float, each character a UTF-16BE unit. Every
// conversion narrows to the EBCDIC twin, lets ExternalFloat do the work and
// widens the result.
class NationalExternalFloat {
public:
    NationalExternalFloat();
    explicit NationalExternalFloat(const TypeItem& type);
    NationalExternalFloat(const TNnational_external_float& record, ByteString& bytes);
    NationalExternalFloat(const TNnational_external_float& record, char* text);
    NationalExternalFloat(const char* text, const TypeItem& type);
    NationalExternalFloat(const void* bytes, const TNnational_external_float& record);
    NationalExternalFloat(const TNnational_external_float& record, long double value);
    NationalExternalFloat(const ZonedDecimal& source, const TNnational_external_float& record);
    NationalExternalFloat(const PackedDecimal& source, const TNnational_external_float& record);
    NationalExternalFloat(const NationalDecimal& source, const TNnational_external_float& record);
    NationalExternalFloat(const FixedPointBinary& source, const TNnational_external_float& record);
    NationalExternalFloat(const ByteString& digits, const TNnational_external_float& record);
    NationalExternalFloat(const ExternalFloat& source, const TNnational_external_float& record);
    NationalExternalFloat(const NationalExternalFloat&) = default;
    NationalExternalFloat& operator=(const NationalExternalFloat&) = default;
    ~NationalExternalFloat() = default;

    void fill(const void* bytes, const TNnational_external_float& record);

    NationalExternalFloat& convert(const NationalExternalFloat& other);
    // Byte-wise over the shorter length; a length difference alone gives 0.
    int compare(const NationalExternalFloat& other) const;
    NationalExternalFloat operator-() const;

    operator long double() const;
    operator long long() const;

    void format(void* bytes, unsigned int size) const;

    bool isValidNationalExternalFloat(DataError* error) const;
    ExternalFloat convertToExternalFloat() const;
    // The record of the EBCDIC twin: leaf 77, half the length, the picture.
    TNexternal_float twinRecord() const;

    const ByteString& bytes() const { return bytes_; }
    const TNnational_external_float& record() const { return record_; }

private:
    ByteString bytes_;
    TNnational_external_float record_;
};

#endif
