#ifndef NORVEXA_DATATYPES_DECIMALFLOAT_H
#define NORVEXA_DATATYPES_DECIMALFLOAT_H

#include "datatypes/DecNumberBinding.h"

#include <plomkit/ByteString.h>

#include <cstdint>

// The value of a debuggee decimal floating-point item (IEEE 754 decimal32,
// decimal64, decimal128) while the evaluator computes with it: a decimal
// context of the item's size and a number of up to 34 digits. Every
// computation is one operation of the decimal library; conditions such as
// division by zero or an unreadable literal leave the library's special
// values in the number and flags in the context's status word, never an
// exception.
class DecimalFloat {
public:
    // Storage size and context kind.
    enum Size : std::int32_t {
        Size32 = 0, // 4 bytes, 7 digits
        Size64 = 1, // 8 bytes, 16 digits
        Size128 = 2 // 16 bytes, 34 digits
    };

    DecimalFloat(int value, Size size);
    DecimalFloat(unsigned int value, Size size);
    DecimalFloat(long long value, Size size);
    DecimalFloat(unsigned long long value, Size size);
    // The host's 64-bit integers (int64_t, uint64_t) are long and unsigned
    // long: taken like their long long twins.
    DecimalFloat(long value, Size size);
    DecimalFloat(unsigned long value, Size size);
    // The value printed with 20 significant digits.
    DecimalFloat(long double value, Size size);
    // A numeric literal; text the library cannot read gives NaN and the
    // conversion-syntax flag.
    DecimalFloat(char const* text, Size size);
    // Stored big-endian bytes of the size (4, 8 or 16); null gives zero, a
    // size that is not a storage size gives NaN.
    DecimalFloat(Size size, void const* bytes);
    DecimalFloat(DecimalFloat const& other);
    DecimalFloat& operator=(DecimalFloat const& other);

    // The bytes of a storage size: 4, 8 or 16; 0 for any other size.
    static unsigned int storageBytes(Size size);

    // Shared values of size 128, made once.
    static DecimalFloat const& zero();
    static DecimalFloat const& infinity();
    static DecimalFloat const& NaN();

    operator long double() const;
    // The long double value truncated toward zero; NaN gives 0 and values
    // beyond the range the nearest end.
    operator long long() const;
    operator unsigned long long() const;
    // 1 for zero of either sign, 0 otherwise (NaN and infinity included).
    int operator!() const;

    // -1 when this value is less, 0 when equal, 1 when greater; a NaN
    // operand gives 1, or -1 when the NaN is negative.
    int compare(DecimalFloat const& other) const;

    // In this value's context.
    DecimalFloat& operator+=(DecimalFloat const& other);
    DecimalFloat& operator-=(DecimalFloat const& other);
    DecimalFloat& operator*=(DecimalFloat const& other);
    DecimalFloat& operator/=(DecimalFloat const& other);
    // Rounded in the left operand's context; the result carries a 128-size
    // context whose status holds the operation's flags.
    DecimalFloat operator+(DecimalFloat const& other) const;
    DecimalFloat operator-(DecimalFloat const& other) const;
    DecimalFloat operator*(DecimalFloat const& other) const;
    DecimalFloat operator/(DecimalFloat const& other) const;
    DecimalFloat operator-() const;

    // The engineering-notation text as the whole content of text.
    ByteString& format(ByteString& text) const;
    // The value encoded in the given size as big-endian bytes; empty for a
    // size that is not a storage size.
    ByteString& format(ByteString& bytes, Size size) const;

    decContext const& context() const { return ctx; }
    decNumber const& number() const { return num; }

private:
    typedef decNumber* (*BinaryOperation)(decNumber*, decNumber const*, decNumber const*, decContext*);

    void initContext(Size size);
    void fromText(char const* text);
    DecimalFloat& inPlace(BinaryOperation operation, DecimalFloat const& other);
    DecimalFloat byValue(BinaryOperation operation, DecimalFloat const& other) const;

    decContext ctx;
    decNumber num;
};

#endif
