#ifndef NORVEXA_DATATYPES_FIXEDPOINTBINARY_H
#define NORVEXA_DATATYPES_FIXEDPOINTBINARY_H

#include "HostRecords.h"

#include <cstdint>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class ExternalFloat;
class NationalExternalFloat;
class NumericEdited;
class DecimalFloat;

// The value of a COBOL binary item (leaf 68): a 1, 2, 4 or 8-byte integer,
// held in host order extended to 64 bits (two's complement when signed),
// whose numeric value is the integer times 10^scale. Arithmetic is done in
// 64 bits without overflow checks; each operation rebuilds the record so it
// states the digits and decimal places of its result. The stack item does
// the byte-order work of the debuggee's storage around fill and format.
class FixedPointBinary {
public:
    FixedPointBinary();
    explicit FixedPointBinary(const TypeItem& type);
    FixedPointBinary(const TNfixed_point_binary& record, unsigned long long value);
    FixedPointBinary(const FixedPointBinary&) = default;
    FixedPointBinary& operator=(const FixedPointBinary&) = default;
    ~FixedPointBinary() = default;
    FixedPointBinary(const void* bytes, const TNfixed_point_binary& record);
    // The digits of text as an integer already scaled to the type; negated
    // when text begins with '-'.
    FixedPointBinary(const char* text, const TypeItem& type);
    // Rounded half away from zero into the record's scale.
    FixedPointBinary(const TNfixed_point_binary& record, long double value);
    // Cut toward zero into the record's scale, as a MOVE does. With digits
    // from 1 to 18 the value is first read as its nearest decimal of that
    // many significant digits (a long double holds 18 faithfully), so the
    // digits a picture held come out exactly; with 0 its exact value is cut.
    FixedPointBinary(const TNfixed_point_binary& record, long double value, int digits);

    // Keeping the source's digits and scale.
    explicit FixedPointBinary(const PackedDecimal& source);
    explicit FixedPointBinary(const ZonedDecimal& source);
    explicit FixedPointBinary(const NationalDecimal& source);
    // Into the given record's signedness and scale.
    FixedPointBinary(const PackedDecimal& source, const TNfixed_point_binary& record);
    FixedPointBinary(const ZonedDecimal& source, const TNfixed_point_binary& record);
    // Defined with the edited and external floating-point classes.
    FixedPointBinary(const ExternalFloat& source, const TNfixed_point_binary& record);
    FixedPointBinary(const NationalExternalFloat& source, const TNfixed_point_binary& record);
    FixedPointBinary(const NumericEdited& source, const TNfixed_point_binary& record);

    // 10^n for n from 0 to 19; 0 for any larger n (not representable).
    static std::uint64_t powerOfTen(unsigned n);
    // The number of decimal digits of x less one (0 for 0 to 9).
    static unsigned countDecimalDigits(std::uint64_t x);

    int compare(const FixedPointBinary& other) const;
    bool operator!() const { return value_ == 0; }

    operator long double() const;
    operator long long() const;
    operator unsigned long long() const;
    operator DecimalFloat() const;

    // COBOL MOVE into this item's scale and precision; this record is kept.
    FixedPointBinary& convert(const FixedPointBinary& source);

    FixedPointBinary& operator+=(const FixedPointBinary& other);
    FixedPointBinary& operator-=(const FixedPointBinary& other);
    FixedPointBinary& operator*=(const FixedPointBinary& other);
    FixedPointBinary& operator/=(const FixedPointBinary& other);
    FixedPointBinary operator+(const FixedPointBinary& other) const;
    FixedPointBinary operator-(const FixedPointBinary& other) const;
    FixedPointBinary operator*(const FixedPointBinary& other) const;
    FixedPointBinary operator/(const FixedPointBinary& other) const;
    FixedPointBinary operator-() const;
    // This value to the power of exponent through 31-digit packed decimal,
    // with `places` decimal places.
    FixedPointBinary& power(const FixedPointBinary& exponent, unsigned int places);

    // Reads the record's byteLength (1, 2, 4 or 8) host-order bytes.
    void fill(const void* bytes, const TNfixed_point_binary& record);
    // Writes the low `size` (1, 2, 4 or 8) bytes of the value in host order.
    void format(void* bytes, unsigned int size, unsigned char isSigned) const;
    // No text form: writes nothing, returns -1.
    int format(char* text) const;

    std::uint64_t value() const { return value_; }
    const TNfixed_point_binary& record() const { return record_; }
    bool isSigned() const { return (record_.flags & TN_BinarySigned) != 0; }
    int scale() const { return record_.scale; }
    int precision() const { return record_.precision; }
    // Signed and holding a negative integer.
    bool isNegative() const { return isSigned() && (value_ >> 63) != 0; }

private:
    // Stores the integral magnitude m with its sign, cut to the record's
    // width; beyond 64 bits the nearest end is kept, NaN gives 0.
    void store(bool negative, long double m);

    std::uint64_t value_;
    TNfixed_point_binary record_;
};

#endif
