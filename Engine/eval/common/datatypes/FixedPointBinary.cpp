#include "datatypes/FixedPointBinary.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/IndexValueSupport.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalDecimalRoutines.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimal.h"
#include "datatypes/ZonedDecimalRoutines.h"
#include "services/SVC.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

using dataitem::atLeast;
using dataitem::refuse;

namespace {

// x * 10^n modulo 2^64 (no overflow check, as all binary arithmetic).
std::uint64_t timesPower(std::uint64_t x, int n)
{
    for (; n > 19; n -= 19)
        x *= packedPowersOfTen[19];
    return n > 0 ? x * packedPowersOfTen[n] : x;
}

// x / 10^n, truncated; 0 once 10^n exceeds every 64-bit value.
std::uint64_t overPower(std::uint64_t x, int n)
{
    if (n <= 0)
        return x;
    return n > 19 ? 0 : x / packedPowersOfTen[n];
}

// x mod 10^n; x itself once 10^n exceeds every 64-bit value, 0 for n <= 0.
std::uint64_t modPower(std::uint64_t x, int n)
{
    if (n <= 0)
        return 0;
    return n > 19 ? x : x % packedPowersOfTen[n];
}

long double powerAsLongDouble(int n)
{
    return n <= 19 ? static_cast<long double>(packedPowersOfTen[n]) : powl(10.0L, static_cast<long double>(n));
}

// |value| / 10^scale.
long double magnitudeAtScale(long double value, int scale)
{
    const long double m = fabsl(value);
    if (scale > 0)
        return m / powerAsLongDouble(scale);
    return scale < 0 ? m * powerAsLongDouble(-scale) : m;
}

int upOf(int scale)
{
    return scale > 0 ? scale : 0;
}
int downOf(int scale)
{
    return scale < 0 ? -scale : 0;
}
int integerDigitsOf(int scale, int precision)
{
    return std::max(upOf(scale) + precision - downOf(scale), 0) & 0xFF;
}

} // namespace

std::uint64_t FixedPointBinary::powerOfTen(unsigned n)
{
    return n <= 19 ? packedPowersOfTen[n] : 0;
}

unsigned FixedPointBinary::countDecimalDigits(std::uint64_t x)
{
    unsigned count = 0;
    while (x > 9) {
        x /= 10;
        ++count;
    }
    return count;
}

namespace {

TNfixed_point_binary resultRecord(int precision, int scale, bool isSigned)
{
    TNfixed_point_binary r{};
    r.leaf = TE_FIXED_POINT_BINARY;
    r.flags = isSigned ? TN_BinarySigned : 0;
    r.precision = static_cast<UBYTE1>(precision);
    r.scale = static_cast<signed char>(scale);
    r.byteLength = dataitem::binaryLengthForDigits(static_cast<UBYTE1>(precision));
    r.picture = nullptr;
    return r;
}

} // namespace

FixedPointBinary::FixedPointBinary() : value_(0), record_(resultRecord(1, 0, false)) {}

FixedPointBinary::FixedPointBinary(const TypeItem& type)
    : value_(0),
      record_(dataitem::recordOf<TNfixed_point_binary>(type, TE_FIXED_POINT_BINARY, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.byteLength == 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

FixedPointBinary::FixedPointBinary(const TNfixed_point_binary& record, unsigned long long value)
    : value_(value), record_(record)
{}

FixedPointBinary::FixedPointBinary(const void* bytes, const TNfixed_point_binary& record) : value_(0), record_(record)
{
    fill(bytes, record);
}

FixedPointBinary::FixedPointBinary(const char* text, const TypeItem& type) : FixedPointBinary(type)
{
    std::uint64_t v = 0;
    for (const char* c = text; c != nullptr && *c != '\0'; ++c)
        if (*c >= '0' && *c <= '9')
            v = v * 10 + static_cast<std::uint64_t>(*c - '0');
    if (text != nullptr && text[0] == '-')
        v = 0 - v;
    value_ = v;
}

FixedPointBinary::FixedPointBinary(const TNfixed_point_binary& record, long double value) : value_(0), record_(record)
{
    store(value < 0, truncl(magnitudeAtScale(value, record_.scale) + 0.5L));
}

FixedPointBinary::FixedPointBinary(const TNfixed_point_binary& record, long double value, int digits)
    : value_(0), record_(record)
{
    if (!std::isfinite(value)) {
        *this = FixedPointBinary(record, value);
        return;
    }
    if (digits < 1 || digits > 18) {
        store(value < 0, truncl(magnitudeAtScale(value, record_.scale)));
        return;
    }
    const bool negative = value < 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*Le", digits - 1, fabsl(value));
    // d.ddd...e+x: the digits as one integer and the power of ten of its last.
    std::uint64_t mantissa = 0;
    const char* c = text;
    for (; *c != '\0' && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9')
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*c - '0');
    const int exponent = *c == 'e' ? std::atoi(c + 1) : 0;
    const int shift = exponent - (digits - 1) - record_.scale;
    long double m = 0;
    if (shift >= 0)
        m = shift > 19 ? static_cast<long double>(mantissa) * powerAsLongDouble(shift)
                       : static_cast<long double>(mantissa) * static_cast<long double>(packedPowersOfTen[shift]);
    else
        m = static_cast<long double>(overPower(mantissa, -shift));
    store(negative, truncl(m));
}

void FixedPointBinary::store(bool negative, long double m)
{
    std::uint64_t v = 0;
    if (isSigned()) {
        constexpr long double limit = 9223372036854775807.0L;
        std::int64_t s = 0;
        if (m >= limit)
            s = std::numeric_limits<std::int64_t>::max();
        else if (m > 0)
            s = static_cast<std::int64_t>(m);
        v = static_cast<std::uint64_t>(negative ? -s : s);
    } else {
        constexpr long double limit = 18446744073709551615.0L;
        if (m >= limit)
            v = std::numeric_limits<std::uint64_t>::max();
        else if (m > 0)
            v = static_cast<std::uint64_t>(m);
    }
    const bool extendOnes = isSigned() && negative;
    switch (record_.byteLength) {
    case 8: break;
    case 4: v = (v & 0xFFFFFFFFULL) | (extendOnes ? 0xFFFFFFFF00000000ULL : 0); break;
    case 2: v = (v & 0xFFFFULL) | (extendOnes ? 0xFFFFFFFFFFFF0000ULL : 0); break;
    case 1: v = (v & 0xFFULL) | (extendOnes ? 0xFFFFFFFFFFFFFF00ULL : 0); break;
    default: v = 0; break;
    }
    value_ = v;
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " val=%016llx", static_cast<unsigned long long>(value_));
}

FixedPointBinary::FixedPointBinary(const PackedDecimal& source)
{
    const TNpacked_decimal& r = source.record();
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(r.precision / 2 + 1));
    std::uint32_t negative = 0;
    value_ = static_cast<std::uint64_t>(
        dtConvertPackedDecimal2FixedPointBinary(in.data(), r.precision, r.decimalPlaces, &negative));
    record_ = resultRecord(r.precision, r.scale, negative != 0);
}

FixedPointBinary::FixedPointBinary(const ZonedDecimal& source)
{
    const TNzoned_decimal& r = source.record();
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(r.precision + 1));
    std::uint32_t sign = 0;
    value_ = static_cast<std::uint64_t>(dtConvertZonedDecimal2FixedPointBinary(
        in.data(), r.precision, 0, source.isSigned(), source.signKind(), &sign, 1));
    record_ = resultRecord(r.precision, r.scale, sign != 0);
}

FixedPointBinary::FixedPointBinary(const NationalDecimal& source)
{
    const TNnational_decimal& r = source.record();
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(2 * r.precision + 2));
    std::uint32_t negative = 0;
    value_ = static_cast<std::uint64_t>(dtConvertNationalDecimal2FixedPointBinary(
        in.data(), r.precision, r.decimalPlaces, &negative, source.routineSignKind()));
    record_ = resultRecord(r.precision, r.scale, negative != 0);
}

FixedPointBinary::FixedPointBinary(const PackedDecimal& source, const TNfixed_point_binary& record)
    : value_(0), record_(record)
{
    PackedDecimal::Effective e = source.effective();
    value_ = static_cast<std::uint64_t>(dtConvertPackedDecimal2FixedPointBinary2(
        e.bytes.data(), e.precision, e.decimals, isSigned(), e.isSigned, 0, record_.scale));
}

FixedPointBinary::FixedPointBinary(const ZonedDecimal& source, const TNfixed_point_binary& record)
    : value_(0), record_(record)
{
    ZonedDecimal::Effective e = source.effective();
    value_ = static_cast<std::uint64_t>(dtConvertZonedDecimal2FixedPointBinary2(
        e.bytes.data(), e.precision, e.decimals, isSigned(), e.kind, e.isSigned, 0, record_.scale));
}

int FixedPointBinary::compare(const FixedPointBinary& other) const
{
    const int signA = isNegative() ? -1 : 1;
    const int signB = other.isNegative() ? -1 : 1;
    if (signA != signB)
        return signA > signB ? 1 : -1;
    std::uint64_t a = signA < 0 ? 0 - value_ : value_;
    std::uint64_t b = signB < 0 ? 0 - other.value_ : other.value_;
    const int s1 = scale();
    const int s2 = other.scale();
    const int up1 = upOf(s1), down1 = downOf(s1), up2 = upOf(s2), down2 = downOf(s2);
    const int int1 = integerDigitsOf(s1, precision());
    const int int2 = integerDigitsOf(s2, other.precision());
    // No more than 31 digits take part.
    const int limit = 31 - std::max(down1, down2);
    if (int1 > limit)
        a = modPower(a, limit + down1 - up1);
    if (int2 > limit)
        b = modPower(b, limit + down2 - up2);
    int result = 0;
    if (s1 > s2) {
        const int d = s1 - s2;
        if (d > 18) {
            // The larger scale wins unless its integer is zero.
            result = a != 0 ? 1 : (b != 0 ? -1 : 0);
        } else {
            const std::uint64_t q = b / packedPowersOfTen[d];
            const bool remainder = b % packedPowersOfTen[d] != 0;
            result = a > q ? 1 : a < q ? -1 : remainder ? -1 : 0;
        }
    } else if (s1 < s2) {
        const int d = s2 - s1;
        if (d > 18) {
            result = b != 0 ? -1 : (a != 0 ? 1 : 0);
        } else {
            const std::uint64_t q = a / packedPowersOfTen[d];
            const bool remainder = a % packedPowersOfTen[d] != 0;
            result = q > b ? 1 : q < b ? -1 : remainder ? 1 : 0;
        }
    } else {
        result = a > b ? 1 : a < b ? -1 : 0;
    }
    return signA < 0 ? -result : result;
}

FixedPointBinary::operator long double() const
{
    long double v =
        isSigned() ? static_cast<long double>(static_cast<std::int64_t>(value_)) : static_cast<long double>(value_);
    const int s = scale();
    if (s > 0)
        v *= powerAsLongDouble(s);
    else if (s < 0)
        v /= powerAsLongDouble(-s);
    return v;
}

FixedPointBinary::operator long long() const
{
    return static_cast<long long>(static_cast<unsigned long long>(*this));
}

FixedPointBinary::operator unsigned long long() const
{
    const int s = scale();
    if (s > 0)
        return timesPower(value_, s);
    if (s == 0)
        return value_;
    if (!isSigned())
        return overPower(value_, -s);
    // Signed division truncates toward zero; 10^19 and above exceed every
    // signed 64-bit magnitude.
    const std::int64_t v = static_cast<std::int64_t>(value_);
    if (-s > 18)
        return 0;
    return static_cast<std::uint64_t>(v / static_cast<std::int64_t>(packedPowersOfTen[-s]));
}

FixedPointBinary::operator DecimalFloat() const
{
    DecimalFloat result = isSigned() ? DecimalFloat(static_cast<long long>(value_), DecimalFloat::Size128)
                                     : DecimalFloat(static_cast<unsigned long long>(value_), DecimalFloat::Size128);
    const int s = scale();
    if (s != 0) {
        char text[16];
        std::snprintf(text, sizeof text, "1E%d", s > 0 ? s : -s);
        DecimalFloat power(text, DecimalFloat::Size128);
        if (s > 0)
            result *= power;
        else
            result /= power;
    }
    return result;
}

FixedPointBinary& FixedPointBinary::convert(const FixedPointBinary& source)
{
    const bool negative = source.isNegative();
    std::uint64_t b = negative ? 0 - source.value_ : source.value_;
    // The scale steps (positive scales, then decimal places) come to one
    // power of ten: scaling up multiplies, scaling down divides (truncated).
    // Digits that the target's precision drops are dropped before scaling
    // up, so a scaled value that would not fit 64 bits still moves its kept
    // digits exactly.
    const int e = source.scale() - scale();
    const int p = precision();
    if (e > 0)
        b = e >= p ? 0 : timesPower(modPower(b, p - e), e);
    else
        b = overPower(b, -e);
    const std::uint64_t kept = modPower(b, precision());
    value_ = (negative && isSigned()) ? 0 - kept : kept;
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "rv=%016llx (%d.%d)", static_cast<unsigned long long>(value_),
                    precision(), scale());
    return *this;
}

FixedPointBinary& FixedPointBinary::operator+=(const FixedPointBinary& other)
{
    std::uint64_t a = value_;
    std::uint64_t b = other.value_;
    const int s1 = scale(), s2 = other.scale();
    const int up1 = upOf(s1), down1 = downOf(s1), up2 = upOf(s2), down2 = downOf(s2);
    int int1 = integerDigitsOf(s1, precision());
    int int2 = integerDigitsOf(s2, other.precision());
    int working = up1;
    if (up1 > up2) {
        a = timesPower(a, up1 - up2);
        int1 = (int1 + up1 - up2) & 0xFF;
        working = up2;
    } else if (up1 < up2) {
        b = timesPower(b, up2 - up1);
        int2 = (int2 + up2 - up1) & 0xFF;
        working = up1;
    }
    int resultScale;
    if (down1 > down2) {
        b = timesPower(b, down1 - down2);
        resultScale = -down1;
    } else if (down1 < down2) {
        a = timesPower(a, down2 - down1);
        resultScale = -down2;
    } else {
        resultScale = working != 0 ? working : -down1;
    }
    const int p = std::max(int1, int2) + 1 + std::max(down1, down2);
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "v1=%016llx (%d.%d)", static_cast<unsigned long long>(a),
                    precision(), s1);
    value_ = a + b;
    record_ = resultRecord(p, resultScale, isSigned() || other.isSigned());
    return *this;
}

FixedPointBinary& FixedPointBinary::operator-=(const FixedPointBinary& other)
{
    std::uint64_t a = value_;
    std::uint64_t b = other.value_;
    const int s1 = scale(), s2 = other.scale();
    const int up1 = upOf(s1), down1 = downOf(s1), up2 = upOf(s2), down2 = downOf(s2);
    const int int1 = integerDigitsOf(s1, precision());
    const int int2 = integerDigitsOf(s2, other.precision());
    int working = up1;
    if (up1 > up2) {
        a = timesPower(a, up1 - up2);
        working = up2;
    } else if (up1 < up2) {
        b = timesPower(b, up2 - up1);
        working = up1;
    }
    int resultScale;
    if (down1 > down2) {
        b = timesPower(b, down1 - down2);
        resultScale = -down1;
    } else if (down1 < down2) {
        a = timesPower(a, down2 - down1);
        resultScale = -down2;
    } else {
        resultScale = working != 0 ? working : -down1;
    }
    const int p = std::max(int1, int2) + 1 + std::max(down1, down2);
    value_ = a - b;
    const bool isSignedResult = isSigned() || other.isSigned() || (value_ >> 63) != 0;
    record_ = resultRecord(p, resultScale, isSignedResult);
    return *this;
}

FixedPointBinary& FixedPointBinary::operator*=(const FixedPointBinary& other)
{
    value_ = value_ * other.value_;
    const int p = (precision() + other.precision()) & 0xFF;
    const int s = static_cast<signed char>(scale() + other.scale());
    record_ = resultRecord(p, s, isSigned() || other.isSigned());
    return *this;
}

FixedPointBinary& FixedPointBinary::operator/=(const FixedPointBinary& other)
{
    const bool negA = isNegative();
    const bool negB = other.isNegative();
    std::uint64_t a = negA ? 0 - value_ : value_;
    std::uint64_t b = negB ? 0 - other.value_ : other.value_;
    const int s1 = scale(), s2 = other.scale();
    const int q = (std::max(precision() + s1, 0) + downOf(s2)) & 0xFF;
    int f = std::max(18 - q, 0);
    if (s1 > s2)
        a = timesPower(a, s1 - s2);
    else if (s1 < s2)
        b = timesPower(b, s2 - s1);
    if (a != 0) {
        f = std::min(f, static_cast<int>(countDecimalDigits(std::numeric_limits<std::uint64_t>::max() / a)));
        a = timesPower(a, f);
    }
    if (b == 0)
        refuse(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    std::uint64_t v = a / b;
    if (negA != negB)
        v = 0 - v;
    const bool isSignedResult = isSigned() || other.isSigned();
    value_ = v;
    record_ = resultRecord((q + f) & 0xFF, -f, isSignedResult);
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "rv=%016llx (%d.%d)", static_cast<unsigned long long>(value_),
                    precision(), scale());
    return *this;
}

FixedPointBinary FixedPointBinary::operator+(const FixedPointBinary& other) const
{
    FixedPointBinary r(*this);
    return r += other;
}

FixedPointBinary FixedPointBinary::operator-(const FixedPointBinary& other) const
{
    FixedPointBinary r(*this);
    return r -= other;
}

FixedPointBinary FixedPointBinary::operator*(const FixedPointBinary& other) const
{
    FixedPointBinary r(*this);
    return r *= other;
}

FixedPointBinary FixedPointBinary::operator/(const FixedPointBinary& other) const
{
    FixedPointBinary r(*this);
    return r /= other;
}

FixedPointBinary FixedPointBinary::operator-() const
{
    TNfixed_point_binary r{};
    r.leaf = TE_FIXED_POINT_BINARY;
    r.flags = TN_BinarySigned;
    r.byteLength = record_.byteLength;
    r.precision = record_.precision;
    r.scale = record_.scale;
    r.picture = nullptr;
    if (r.byteLength == 0)
        r.byteLength = dataitem::binaryLengthForDigits(r.precision);
    else if (r.precision == 0)
        r.precision = static_cast<UBYTE1>(r.byteLength == 2 ? 5 : r.byteLength == 4 ? 10 : r.byteLength == 8 ? 19 : 0);
    return FixedPointBinary(r, static_cast<unsigned long long>(0 - value_));
}

FixedPointBinary& FixedPointBinary::power(const FixedPointBinary& exponent, unsigned int places)
{
    PackedDecimal a(*this);
    PackedDecimal b(exponent);
    const TNpacked_decimal& ra = a.record();
    const TNpacked_decimal& rb = b.record();
    const int sr = static_cast<int>(std::min(places, 31u));
    const unsigned char* r = dtPowerPackedDecimal(a.bytes().data(), ra.precision, ra.decimalPlaces, 1, b.bytes().data(),
                                                  rb.precision, rb.decimalPlaces, 1, 31, sr);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    PackedDecimal result(PackedDecimal::resultRecord(31, sr), dataitem::copyOf(r, 16));
    const bool isSignedResult = isSigned() || exponent.isSigned();
    value_ = FixedPointBinary(result).value_;
    record_ = resultRecord(31, -sr, isSignedResult);
    record_.byteLength = 8;
    return *this;
}

void FixedPointBinary::fill(const void* bytes, const TNfixed_point_binary& record)
{
    record_ = record;
    const bool sgn = isSigned();
    value_ = indexvalue::read(bytes, record_.byteLength, __PRETTY_FUNCTION__, __LINE__);
    // A signed item's shorter forms are sign-extended to the 64-bit value.
    const unsigned bits = 8 * record_.byteLength;
    if (sgn && bits < 64 && (value_ >> (bits - 1)) != 0)
        value_ |= ~std::uint64_t{0} << bits;
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d.pre=%d._scal=%d._sign=%d<", record_.byteLength,
                    record_.precision, record_.scale, sgn ? 1 : 0);
}

void FixedPointBinary::format(void* bytes, unsigned int size, unsigned char) const
{
    indexvalue::write(value_, bytes, size, __PRETTY_FUNCTION__, __LINE__);
}

int FixedPointBinary::format(char*) const
{
    return -1;
}
