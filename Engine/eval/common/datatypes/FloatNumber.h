#ifndef NORVEXA_DATATYPES_FLOATNUMBER_H
#define NORVEXA_DATATYPES_FLOATNUMBER_H

#include "datatypes/ZfloatingPoint.h"

#include <cstdint>

// The value of a debuggee binary or hexadecimal floating-point item while the
// evaluator computes with it: a host long double together with the storage
// format it came from, so that a result is written back in the right form.
// An invalid value (its bytes could not be read) refuses every arithmetic,
// comparison and conversion with InvalidOp RTRC_IncompatTypes.
class FloatNumber {
public:
    enum Format : std::int32_t {
        IEEE = 0,        // IEEE binary floating point
        Hexadecimal = 1, // hexadecimal floating point
        Invalid = 2      // the value could not be obtained
    };

    FloatNumber();
    FloatNumber(int value);
    FloatNumber(unsigned int value);
    FloatNumber(long long value);
    FloatNumber(unsigned long long value);
    // The host's 64-bit integers (int64_t, uint64_t) are long and unsigned
    // long: taken like their long long twins.
    FloatNumber(long value);
    FloatNumber(unsigned long value);
    FloatNumber(double value);
    FloatNumber(long double value);
    // Decodes size stored big-endian bytes: hexadecimal for format
    // Hexadecimal, IEEE for format IEEE. Any other format reads nothing and
    // gives an invalid value.
    FloatNumber(void const* bytes, int size, Format format);
    // A number and nothing else (no trailing blank); otherwise invalid.
    explicit FloatNumber(char const* text);
    FloatNumber(FloatNumber const& other);

    // A shared 0.0 in IEEE format.
    static FloatNumber const& zero();

    void markQUVhex() { fmt = Hexadecimal; }
    // Makes the value unusable: format Invalid with a placeholder number.
    void invalidate();
    Format getFormat() const { return fmt; }

    // Writes the value into size (4, 8 or 16) bytes at target in the given
    // format; returns true when stored as it is, false when saturated,
    // flushed, or the size is not a storage size. The last flag is not
    // consulted.
    bool format(Format format, void* target, unsigned int size, bool flag) const;
    // Text of the value ("NaN" for an invalid one) into text, which must
    // hold 32 characters; returns the number of characters written.
    int format(char* text) const;

    operator long double() const;
    operator long long() const;
    operator unsigned long long() const;
    int operator!() const;

    FloatNumber& operator=(FloatNumber const& other);
    FloatNumber& operator+=(FloatNumber const& other);
    FloatNumber& operator-=(FloatNumber const& other);
    FloatNumber& operator*=(FloatNumber const& other);
    FloatNumber& operator/=(FloatNumber const& other);
    FloatNumber operator+(FloatNumber const& other) const;
    FloatNumber operator-(FloatNumber const& other) const;
    FloatNumber operator*(FloatNumber const& other) const;
    FloatNumber operator/(FloatNumber const& other) const;
    FloatNumber operator-() const;

    int operator==(FloatNumber const& other) const;
    int operator!=(FloatNumber const& other) const;
    int operator<(FloatNumber const& other) const;
    int operator<=(FloatNumber const& other) const;
    int operator>(FloatNumber const& other) const;
    int operator>=(FloatNumber const& other) const;

private:
    void check(char const* function, unsigned int line) const;
    void check(FloatNumber const& other, char const* function, unsigned int line) const;
    Format combined(FloatNumber const& other) const;

    long double value;
    Format fmt;
};

#endif
