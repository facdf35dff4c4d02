#ifndef NORVEXA_DATATYPES_PACKEDDECIMAL_H
#define NORVEXA_DATATYPES_PACKEDDECIMAL_H

#include "HostRecords.h"
#include "datatypes/DataError.h"

#include <plomkit/ByteString.h>

class TypeItem;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class ExternalFloat;
class NationalExternalFloat;
class NumericEdited;
class NationalNumericEdited;
class DecimalFloat;

// The value of a packed decimal item (leaf 50): the item's bytes exactly as
// they lie in the debuggee (two BCD digits a byte, the sign in the last low
// nibble) and a copy of its record. Every digit operation goes through the
// packed decimal routines; results carry a record of their own.
//
// A record whose scale puts digits outside the stored ones (P positions: a
// positive scale, or more decimal places than digits) is brought into its
// effective form, with every digit spelt out, before it is compared,
// computed with or moved.
class PackedDecimal {
public:
    explicit PackedDecimal(const TypeItem& type);
    PackedDecimal(const TNpacked_decimal& record, const ByteString& bytes);
    PackedDecimal(const void* bytes, const TNpacked_decimal& record);
    PackedDecimal(const PackedDecimal&) = default;
    PackedDecimal& operator=(const PackedDecimal&) = default;
    ~PackedDecimal() = default;

    // A numeric literal with its own digits and decimals.
    explicit PackedDecimal(const char* literal);
    // The digits of text put into the type's bytes from the first digit
    // position on; a signed type gets D when text begins with '-', else C.
    PackedDecimal(const char* text, const TypeItem& type);
    explicit PackedDecimal(long long value);
    explicit PackedDecimal(unsigned long long value);
    PackedDecimal(const TNpacked_decimal& record, long double value);

    explicit PackedDecimal(const ZonedDecimal& source);
    explicit PackedDecimal(const NationalDecimal& source);
    explicit PackedDecimal(const FixedPointBinary& source);
    // Defined with the edited and external floating-point classes.
    PackedDecimal(const ExternalFloat& source, const TNpacked_decimal& record);
    PackedDecimal(const NationalExternalFloat& source, const TNpacked_decimal& record);
    PackedDecimal(const NumericEdited& source, const TNpacked_decimal& record);
    PackedDecimal(const NationalNumericEdited& source, const TNpacked_decimal& record);

    // The record of a computed value of p digits and s decimals.
    static TNpacked_decimal resultRecord(int p, int s);

    bool isValidPacked(DataError* error) const;
    int compare(const PackedDecimal& other) const;

    operator long long() const;
    operator unsigned long long() const;
    operator long double() const;
    operator DecimalFloat() const;
    ByteString& format(ByteString& out) const;

    bool operator!() const;
    PackedDecimal operator-() const;
    PackedDecimal operator+(const PackedDecimal& other) const;
    PackedDecimal operator-(const PackedDecimal& other) const;
    PackedDecimal operator*(const PackedDecimal& other) const;
    PackedDecimal operator/(const PackedDecimal& other) const;
    PackedDecimal& operator+=(const PackedDecimal& other);
    PackedDecimal& operator-=(const PackedDecimal& other);
    PackedDecimal& operator*=(const PackedDecimal& other);
    PackedDecimal& operator/=(const PackedDecimal& other);
    // This value to the power of exponent, in 31 digits with `places`
    // decimals.
    PackedDecimal& power(const PackedDecimal& exponent, unsigned int places);

    // COBOL MOVE of source into this item's picture; this record is kept.
    PackedDecimal& convert(const PackedDecimal& source);

    const ByteString& bytes() const { return bytes_; }
    const TNpacked_decimal& record() const { return record_; }
    bool isSigned() const { return (record_.flags & TN_DecimalSigned) != 0; }

    // The value with every digit spelt out: its bytes, digits and decimals.
    struct Effective {
        ByteString bytes;
        int precision;
        int decimals;
        int isSigned;
    };
    Effective effective() const;

private:
    ByteString bytes_;
    TNpacked_decimal record_;
};

#endif
