#include "datatypes/FloatNumber.h"

#include "services/CLocaleNumbers.h"
#include "services/InvalidOp.h"

#include <cmath>
#include <cstdio>

namespace {

// The number an unusable value carries in place of its unknown value.
constexpr long double invalidPlaceholder = 1.7147041e38L;

constexpr long double twoTo63 = 9223372036854775808.0L;
constexpr long double twoTo64 = 18446744073709551616.0L;

} // namespace

FloatNumber::FloatNumber() : value(0.0L), fmt(IEEE) {}
FloatNumber::FloatNumber(int v) : value(v), fmt(IEEE) {}
FloatNumber::FloatNumber(unsigned int v) : value(v), fmt(IEEE) {}
FloatNumber::FloatNumber(long long v) : value(static_cast<long double>(v)), fmt(IEEE) {}
// Exact: the extended significand holds all 64 bits.
FloatNumber::FloatNumber(unsigned long long v) : value(static_cast<long double>(v)), fmt(IEEE) {}
FloatNumber::FloatNumber(long v) : FloatNumber(static_cast<long long>(v)) {}
FloatNumber::FloatNumber(unsigned long v) : FloatNumber(static_cast<unsigned long long>(v)) {}
FloatNumber::FloatNumber(double v) : value(v), fmt(IEEE) {}
FloatNumber::FloatNumber(long double v) : value(v), fmt(IEEE) {}

FloatNumber::FloatNumber(void const* bytes, int size, Format format) : value(0.0L), fmt(Invalid)
{
    if (format != IEEE && format != Hexadecimal)
        return;
    if (size < 0)
        size = 0; // refused below as a size that is not a storage size
    value = ZfloatingPoint::ldFromZfp(bytes, static_cast<unsigned int>(size), format == Hexadecimal);
    fmt = format;
}

FloatNumber::FloatNumber(char const* text) : value(0.0L), fmt(Invalid)
{
    if (text == nullptr)
        return;
    long double parsed = 0.0L;
    char extra;
    // Valid only when the number is all there is: one conversion, no
    // character after it.
    if (std::sscanf(text, "%Le%c", &parsed, &extra) == 1) {
        value = parsed;
        fmt = IEEE;
    }
}

FloatNumber::FloatNumber(FloatNumber const& other) : value(other.value), fmt(other.fmt) {}

FloatNumber const& FloatNumber::zero()
{
    static FloatNumber const shared;
    return shared;
}

void FloatNumber::invalidate()
{
    value = invalidPlaceholder;
    fmt = Invalid;
}

void FloatNumber::check(char const* function, unsigned int line) const
{
    if (fmt != IEEE && fmt != Hexadecimal)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, function, line);
}

void FloatNumber::check(FloatNumber const& other, char const* function, unsigned int line) const
{
    check(function, line);
    other.check(function, line);
}

FloatNumber::Format FloatNumber::combined(FloatNumber const& other) const
{
    return (fmt == Hexadecimal || other.fmt == Hexadecimal) ? Hexadecimal : IEEE;
}

bool FloatNumber::format(Format format, void* target, unsigned int size, bool) const
{
    static char const function[] = "void FloatNumber::format(FloatNumber::Format, void*, unsigned int, bool) const";
    if (format != IEEE && format != Hexadecimal)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, function, __LINE__);
    check(function, __LINE__);
    return ZfloatingPoint::ldToZfp(target, size, format == Hexadecimal, value);
}

int FloatNumber::format(char* text) const
{
    if (fmt != IEEE && fmt != Hexadecimal)
        return std::snprintf(text, 32, "NaN");
    // 21 significant digits tell every extended value apart.
    return clocale_numbers::formatGeneral(text, 32, 21, value);
}

FloatNumber::operator long double() const
{
    check("FloatNumber::operator ldouble_t() const", __LINE__);
    return value;
}

FloatNumber::operator long long() const
{
    check("FloatNumber::operator int64_t() const", __LINE__);
    // Truncation toward zero; NaN gives 0 and values beyond the range give
    // the nearest end.
    if (std::isnan(value))
        return 0;
    if (value >= twoTo63)
        return INT64_MAX;
    if (value <= -twoTo63)
        return INT64_MIN;
    return static_cast<long long>(value);
}

FloatNumber::operator unsigned long long() const
{
    check("FloatNumber::operator uint64_t() const", __LINE__);
    // Truncation toward zero. A negative value in the signed range wraps
    // modulo 2^64 as an integer cast would; NaN gives 0 and values beyond the
    // range give the nearest end.
    if (std::isnan(value))
        return 0;
    if (value >= twoTo64)
        return UINT64_MAX;
    if (value >= 0)
        return static_cast<unsigned long long>(value);
    if (value <= -twoTo63)
        return static_cast<unsigned long long>(INT64_MIN);
    return static_cast<unsigned long long>(static_cast<long long>(value));
}

int FloatNumber::operator!() const
{
    check("int FloatNumber::operator!() const", __LINE__);
    return value == 0 ? 1 : 0;
}

FloatNumber& FloatNumber::operator=(FloatNumber const& other)
{
    other.check("FloatNumber& FloatNumber::operator=(const FloatNumber&)", __LINE__);
    value = other.value;
    fmt = other.fmt;
    return *this;
}

FloatNumber& FloatNumber::operator+=(FloatNumber const& other)
{
    check(other, "FloatNumber& FloatNumber::operator+=(const FloatNumber&)", __LINE__);
    value += other.value;
    fmt = combined(other);
    return *this;
}

FloatNumber& FloatNumber::operator-=(FloatNumber const& other)
{
    check(other, "FloatNumber& FloatNumber::operator-=(const FloatNumber&)", __LINE__);
    value -= other.value;
    fmt = combined(other);
    return *this;
}

FloatNumber& FloatNumber::operator*=(FloatNumber const& other)
{
    check(other, "FloatNumber& FloatNumber::operator*=(const FloatNumber&)", __LINE__);
    value *= other.value;
    fmt = combined(other);
    return *this;
}

FloatNumber& FloatNumber::operator/=(FloatNumber const& other)
{
    check(other, "FloatNumber& FloatNumber::operator/=(const FloatNumber&)", __LINE__);
    value /= other.value; // a zero divisor gives an infinity or a NaN
    fmt = combined(other);
    return *this;
}

FloatNumber FloatNumber::operator+(FloatNumber const& other) const
{
    FloatNumber result(*this);
    return result += other;
}

FloatNumber FloatNumber::operator-(FloatNumber const& other) const
{
    FloatNumber result(*this);
    return result -= other;
}

FloatNumber FloatNumber::operator*(FloatNumber const& other) const
{
    FloatNumber result(*this);
    return result *= other;
}

FloatNumber FloatNumber::operator/(FloatNumber const& other) const
{
    FloatNumber result(*this);
    return result /= other;
}

FloatNumber FloatNumber::operator-() const
{
    check("FloatNumber FloatNumber::operator-() const", __LINE__);
    FloatNumber result(*this);
    result.value = -value;
    return result;
}

int FloatNumber::operator==(FloatNumber const& other) const
{
    check(other, "int FloatNumber::operator==(const FloatNumber&) const", __LINE__);
    return value == other.value;
}

int FloatNumber::operator!=(FloatNumber const& other) const
{
    check(other, "int FloatNumber::operator!=(const FloatNumber&) const", __LINE__);
    return value != other.value;
}

int FloatNumber::operator<(FloatNumber const& other) const
{
    check(other, "int FloatNumber::operator<(const FloatNumber&) const", __LINE__);
    return value < other.value;
}

int FloatNumber::operator<=(FloatNumber const& other) const
{
    check(other, "int FloatNumber::operator<=(const FloatNumber&) const", __LINE__);
    return value <= other.value;
}

int FloatNumber::operator>(FloatNumber const& other) const
{
    check(other, "int FloatNumber::operator>(const FloatNumber&) const", __LINE__);
    return value > other.value;
}

int FloatNumber::operator>=(FloatNumber const& other) const
{
    check(other, "int FloatNumber::operator>=(const FloatNumber&) const", __LINE__);
    return value >= other.value;
}
