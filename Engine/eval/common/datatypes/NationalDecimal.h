#ifndef NORVEXA_DATATYPES_NATIONALDECIMAL_H
#define NORVEXA_DATATYPES_NATIONALDECIMAL_H

#include "HostRecords.h"
#include "datatypes/DataError.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class FixedPointBinary;
class ExternalFloat;
class NationalExternalFloat;
class NumericEdited;
class NationalNumericEdited;
class DecimalFloat;

// The value of a national decimal item (leaf 73): UTF-16BE digits with an
// optional separate sign unit, and a copy of its record. It computes through
// ZonedDecimal: operands become zoned values, the zoned class computes, and
// the result comes back with the standard national record (separate
// trailing sign, signed).
class NationalDecimal {
public:
    explicit NationalDecimal(const TypeItem& type);
    NationalDecimal(const TNnational_decimal& record, const ByteString& bytes);
    NationalDecimal(const ByteString& bytes, const TNnational_decimal& record);
    NationalDecimal(const void* bytes, const TNnational_decimal& record);
    NationalDecimal(const NationalDecimal&) = default;
    NationalDecimal& operator=(const NationalDecimal&) = default;
    ~NationalDecimal() = default;

    explicit NationalDecimal(const char* literal);
    NationalDecimal(const char* text, const TypeItem& type);
    explicit NationalDecimal(long long value);
    explicit NationalDecimal(unsigned long long value);
    NationalDecimal(const TNnational_decimal& record, long double value);
    // EBCDIC characters (an alphanumeric source), through the zoned form.
    explicit NationalDecimal(const ByteString& characters);

    explicit NationalDecimal(const PackedDecimal& source);
    explicit NationalDecimal(const ZonedDecimal& source);
    explicit NationalDecimal(const FixedPointBinary& source);
    // Defined with the edited and external floating-point classes.
    NationalDecimal(const ExternalFloat& source, const TNnational_decimal& record);
    NationalDecimal(const NationalExternalFloat& source, const TNnational_decimal& record);
    NationalDecimal(const NumericEdited& source, const TNnational_decimal& record);
    NationalDecimal(const NationalNumericEdited& source, const TNnational_decimal& record);

    // The standard record of a computed value: p digits, s decimals, the
    // given scale, separate trailing sign, signed.
    static TNnational_decimal standardRecord(int p, int s, int scale);

    bool isValidNationalDecimal(bool strict, bool skipDigits, DataError* error) const;
    // A negative zero equals zero here.
    int compare(const NationalDecimal& other) const;

    operator long long() const;
    operator unsigned long long() const;
    operator long double() const;
    operator DecimalFloat() const;
    // National values are not formatted here: always RTRC_NotSupported.
    ByteString& format(ByteString& out) const;

    bool operator!() const;
    NationalDecimal operator-() const;
    NationalDecimal operator+(const NationalDecimal& other) const;
    NationalDecimal operator-(const NationalDecimal& other) const;
    NationalDecimal operator*(const NationalDecimal& other) const;
    NationalDecimal operator/(const NationalDecimal& other) const;
    NationalDecimal& operator+=(const NationalDecimal& other);
    NationalDecimal& operator-=(const NationalDecimal& other);
    NationalDecimal& operator*=(const NationalDecimal& other);
    NationalDecimal& operator/=(const NationalDecimal& other);
    NationalDecimal& power(const NationalDecimal& exponent, unsigned int places);

    // COBOL MOVE of source into this item's picture; this record is kept.
    NationalDecimal& convert(const NationalDecimal& source);

    const ByteString& bytes() const { return bytes_; }
    const TNnational_decimal& record() const { return record_; }
    bool isSigned() const { return (record_.flags & TN_DecimalSigned) != 0; }
    int signKind() const { return static_cast<int>(record_.signKind); }
    // The sign kind as the routines see it: an unsigned item has no sign
    // unit whatever its record's sign kind says.
    int routineSignKind() const { return isSigned() ? signKind() : 0; }
    // Positive scale, or more decimals than digits.
    bool isWidened() const;

private:
    ByteString bytes_;
    TNnational_decimal record_;
};

#endif
