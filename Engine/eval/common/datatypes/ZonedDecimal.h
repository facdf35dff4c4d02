#ifndef NORVEXA_DATATYPES_ZONEDDECIMAL_H
#define NORVEXA_DATATYPES_ZONEDDECIMAL_H

#include "HostRecords.h"
#include "datatypes/DataError.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class NationalDecimal;
class FixedPointBinary;
class ExternalFloat;
class NationalExternalFloat;
class NumericEdited;
class NationalNumericEdited;
class DecimalFloat;

// The value of a zoned decimal item (leaf 69): the item's EBCDIC bytes (one
// digit a byte, the sign placed by the record's sign kind) and a copy of its
// record. It computes through the zoned routines; results are zoned values
// of sign kind 3 (embedded trailing). Operands of any other sign kind are
// brought to kind 3 before the arithmetic routines see them, so every sign
// position counts.
class ZonedDecimal {
public:
    explicit ZonedDecimal(const TypeItem& type);
    ZonedDecimal(const TNzoned_decimal& record, const ByteString& bytes);
    ZonedDecimal(const void* bytes, const TNzoned_decimal& record);
    ZonedDecimal(const ZonedDecimal&) = default;
    ZonedDecimal& operator=(const ZonedDecimal&) = default;
    ~ZonedDecimal() = default;

    explicit ZonedDecimal(const char* literal);
    // The digits of text from the first digit position on, zone F; the rest
    // of the digits 0. A signed type gets the sign of its kind: minus when
    // text begins with '-', else plus.
    ZonedDecimal(const char* text, const TypeItem& type);
    explicit ZonedDecimal(long long value);
    explicit ZonedDecimal(unsigned long long value);
    // EBCDIC characters (an alphanumeric source): optional sign character,
    // digits, at most one point.
    explicit ZonedDecimal(const ByteString& characters);
    ZonedDecimal(const TNzoned_decimal& record, long double value);

    explicit ZonedDecimal(const PackedDecimal& source);
    explicit ZonedDecimal(const NationalDecimal& source);
    explicit ZonedDecimal(const FixedPointBinary& source);
    ZonedDecimal(const FixedPointBinary& source, int digits);
    // Defined with the edited and external floating-point classes.
    ZonedDecimal(const ExternalFloat& source, const TNzoned_decimal& record);
    ZonedDecimal(const NationalExternalFloat& source, const TNzoned_decimal& record);
    explicit ZonedDecimal(const NumericEdited& source);
    explicit ZonedDecimal(const NationalNumericEdited& source);

    // The record of a computed value of p digits and s decimals (kind 3).
    static TNzoned_decimal resultRecord(int p, int s);

    bool isValidZoned(bool zoneF, bool skipDigits, DataError* error) const;
    int compare(const ZonedDecimal& other) const;

    operator long long() const;
    operator unsigned long long() const;
    operator long double() const;
    operator DecimalFloat() const;
    // Appends the value's text (such as "-12.5D") to out.
    ByteString& format(ByteString& out) const;
    // The digits as EBCDIC characters for a move to alphanumeric data.
    ByteString toCharstring() const;

    bool operator!() const;
    ZonedDecimal operator-() const;
    ZonedDecimal operator+(const ZonedDecimal& other) const;
    ZonedDecimal operator-(const ZonedDecimal& other) const;
    ZonedDecimal operator*(const ZonedDecimal& other) const;
    ZonedDecimal operator/(const ZonedDecimal& other) const;
    ZonedDecimal& operator+=(const ZonedDecimal& other);
    ZonedDecimal& operator-=(const ZonedDecimal& other);
    ZonedDecimal& operator*=(const ZonedDecimal& other);
    ZonedDecimal& operator/=(const ZonedDecimal& other);
    ZonedDecimal& power(const ZonedDecimal& exponent, unsigned int places);

    // COBOL MOVE of source into this item's picture; this record is kept.
    ZonedDecimal& convert(const ZonedDecimal& source);

    const ByteString& bytes() const { return bytes_; }
    const TNzoned_decimal& record() const { return record_; }
    bool isSigned() const { return (record_.flags & TN_DecimalSigned) != 0; }
    int signKind() const { return static_cast<int>(record_.signKind); }

    // The value with every digit spelt out, in the record's sign kind.
    struct Effective {
        ByteString bytes;
        int precision;
        int decimals;
        int kind;
        int isSigned;
    };
    Effective effective() const;

private:
    ByteString bytes_;
    TNzoned_decimal record_;
};

#endif
