#include "datatypes/DecimalFloat.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "services/CLocaleNumbers.h"

namespace {

// Room for the text of any number of at most 34 digits: digits, sign,
// point, exponent and terminating zero (digit count + 14 at the most).
constexpr std::size_t textRoom = DECNUMDIGITS + 14;

} // namespace

unsigned int DecimalFloat::storageBytes(Size size)
{
    switch (size) {
    case Size32: return 4;
    case Size64: return 8;
    case Size128: return 16;
    }
    return 0;
}

void DecimalFloat::initContext(Size size)
{
    decimalContext(ctx, size == Size32   ? DEC_INIT_DECIMAL32
                        : size == Size64 ? DEC_INIT_DECIMAL64
                                         : DEC_INIT_DECIMAL128);
}

void DecimalFloat::fromText(char const* text)
{
    decNumberFromString(&num, text, &ctx);
}

DecimalFloat::DecimalFloat(int value, Size size)
{
    initContext(size);
    char text[textRoom];
    std::snprintf(text, sizeof text, "%d", value);
    fromText(text);
}

DecimalFloat::DecimalFloat(unsigned int value, Size size)
{
    initContext(size);
    char text[textRoom];
    std::snprintf(text, sizeof text, "%u", value);
    fromText(text);
}

DecimalFloat::DecimalFloat(long long value, Size size)
{
    initContext(size);
    char text[textRoom];
    std::snprintf(text, sizeof text, "%lld", value);
    fromText(text);
}

DecimalFloat::DecimalFloat(unsigned long long value, Size size)
{
    initContext(size);
    char text[textRoom];
    std::snprintf(text, sizeof text, "%llu", value);
    fromText(text);
}

DecimalFloat::DecimalFloat(long value, Size size) : DecimalFloat(static_cast<long long>(value), size) {}

DecimalFloat::DecimalFloat(unsigned long value, Size size) : DecimalFloat(static_cast<unsigned long long>(value), size)
{}

DecimalFloat::DecimalFloat(long double value, Size size)
{
    initContext(size);
    char text[textRoom];
    clocale_numbers::formatLongDouble(text, sizeof text, 'E', 19, value);
    fromText(text);
}

DecimalFloat::DecimalFloat(char const* text, Size size)
{
    initContext(size);
    fromText(text != nullptr ? text : "");
}

DecimalFloat::DecimalFloat(Size size, void const* bytes)
{
    initContext(size);
    if (bytes == nullptr) {
        decNumberZero(&num);
        return;
    }
    unsigned int const length = storageBytes(size);
    if (length == 0) {
        *this = NaN();
        return;
    }
    // The debuggee's big-endian bytes become the library's host order.
    unsigned char scratch[16];
    auto const* source = static_cast<unsigned char const*>(bytes);
    for (unsigned int i = 0; i < length; ++i)
        scratch[i] = source[length - 1 - i];
    switch (size) {
    case Size32: {
        decimal32 d;
        std::memcpy(d.bytes, scratch, 4);
        decimal32ToNumber(&d, &num);
        break;
    }
    case Size64: {
        decimal64 d;
        std::memcpy(d.bytes, scratch, 8);
        decimal64ToNumber(&d, &num);
        break;
    }
    default: {
        decimal128 d;
        std::memcpy(d.bytes, scratch, 16);
        decimal128ToNumber(&d, &num);
        break;
    }
    }
}

DecimalFloat::DecimalFloat(DecimalFloat const& other) : ctx(other.ctx)
{
    decNumberCopy(&num, &other.num);
}

DecimalFloat& DecimalFloat::operator=(DecimalFloat const& other)
{
    ctx = other.ctx;
    decNumberCopy(&num, &other.num);
    return *this;
}

DecimalFloat const& DecimalFloat::zero()
{
    static DecimalFloat const shared(0, Size128);
    return shared;
}

DecimalFloat const& DecimalFloat::infinity()
{
    static DecimalFloat const shared = [] {
        DecimalFloat value(0, Size128);
        value.num.bits |= DECINF;
        return value;
    }();
    return shared;
}

DecimalFloat const& DecimalFloat::NaN()
{
    static DecimalFloat const shared = [] {
        DecimalFloat value(0, Size128);
        value.num.bits |= DECNAN;
        return value;
    }();
    return shared;
}

DecimalFloat::operator long double() const
{
    char text[textRoom];
    decNumberToEngString(&num, text);
    long double value;
    // A signalling NaN's text ("sNaN") is not a number to sscanf: NaN.
    if (std::sscanf(text, "%Lg", &value) != 1)
        return std::numeric_limits<long double>::quiet_NaN();
    return value;
}

DecimalFloat::operator long long() const
{
    long double const value = static_cast<long double>(*this);
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775808.0L)
        return INT64_MAX;
    if (value <= -9223372036854775808.0L)
        return INT64_MIN;
    return static_cast<long long>(value);
}

DecimalFloat::operator unsigned long long() const
{
    long double const value = static_cast<long double>(*this);
    // A negative value in the signed range wraps modulo 2^64 as an integer
    // cast would.
    if (std::isnan(value))
        return 0;
    if (value >= 18446744073709551616.0L)
        return UINT64_MAX;
    if (value >= 0)
        return static_cast<unsigned long long>(value);
    if (value <= -9223372036854775808.0L)
        return static_cast<unsigned long long>(INT64_MIN);
    return static_cast<unsigned long long>(static_cast<long long>(value));
}

int DecimalFloat::operator!() const
{
    return num.digits == 1 && num.lsu[0] == 0 && (num.bits & DECSPECIAL) == 0;
}

int DecimalFloat::compare(DecimalFloat const& other) const
{
    // A copy of the context: comparing changes neither operand.
    decContext set = ctx;
    decNumber result;
    decNumberCompare(&result, &num, &other.num, &set);
    if (result.bits & DECNEG)
        return -1;
    if ((result.bits & DECSPECIAL) == 0 && result.digits == 1 && result.lsu[0] == 0)
        return 0;
    return 1;
}

DecimalFloat& DecimalFloat::inPlace(BinaryOperation operation, DecimalFloat const& other)
{
    decNumber result;
    operation(&result, &num, &other.num, &ctx);
    decNumberCopy(&num, &result);
    return *this;
}

DecimalFloat DecimalFloat::byValue(BinaryOperation operation, DecimalFloat const& other) const
{
    DecimalFloat result(zero());
    // Rounded to this value's precision in a copy of its context; the
    // operation's flags go to the result's own status word.
    decContext set = ctx;
    set.status = 0;
    operation(&result.num, &num, &other.num, &set);
    result.ctx.status |= set.status;
    return result;
}

DecimalFloat& DecimalFloat::operator+=(DecimalFloat const& other)
{
    return inPlace(decNumberAdd, other);
}
DecimalFloat& DecimalFloat::operator-=(DecimalFloat const& other)
{
    return inPlace(decNumberSubtract, other);
}
DecimalFloat& DecimalFloat::operator*=(DecimalFloat const& other)
{
    return inPlace(decNumberMultiply, other);
}
DecimalFloat& DecimalFloat::operator/=(DecimalFloat const& other)
{
    return inPlace(decNumberDivide, other);
}

DecimalFloat DecimalFloat::operator+(DecimalFloat const& other) const
{
    return byValue(decNumberAdd, other);
}
DecimalFloat DecimalFloat::operator-(DecimalFloat const& other) const
{
    return byValue(decNumberSubtract, other);
}
DecimalFloat DecimalFloat::operator*(DecimalFloat const& other) const
{
    return byValue(decNumberMultiply, other);
}
DecimalFloat DecimalFloat::operator/(DecimalFloat const& other) const
{
    return byValue(decNumberDivide, other);
}

DecimalFloat DecimalFloat::operator-() const
{
    DecimalFloat result(zero());
    decContext set = ctx;
    set.status = 0;
    decNumberMinus(&result.num, &num, &set);
    result.ctx.status |= set.status;
    return result;
}

ByteString& DecimalFloat::format(ByteString& text) const
{
    char buffer[textRoom];
    decNumberToEngString(&num, buffer);
    text = ByteString(reinterpret_cast<unsigned char const*>(buffer), static_cast<unsigned>(std::strlen(buffer)));
    return text;
}

ByteString& DecimalFloat::format(ByteString& bytes, Size size) const
{
    unsigned int const length = storageBytes(size);
    if (length == 0) {
        bytes = ByteString();
        return bytes;
    }
    decContext set = ctx;
    unsigned char encoded[16];
    switch (size) {
    case Size32: {
        decimal32 d;
        decimal32FromNumber(&d, &num, &set);
        std::memcpy(encoded, d.bytes, 4);
        break;
    }
    case Size64: {
        decimal64 d;
        decimal64FromNumber(&d, &num, &set);
        std::memcpy(encoded, d.bytes, 8);
        break;
    }
    default: {
        decimal128 d;
        decimal128FromNumber(&d, &num, &set);
        std::memcpy(encoded, d.bytes, 16);
        break;
    }
    }
    // The library's host-order bytes become the debuggee's big-endian order.
    unsigned char bigEndian[16];
    for (unsigned int i = 0; i < length; ++i)
        bigEndian[i] = encoded[length - 1 - i];
    bytes = ByteString(bigEndian, length);
    return bytes;
}
