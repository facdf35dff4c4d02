#include "datatypes/ZhexFP128.h"

#include "datatypes/FloatBytes.h"
#include "services/InvalidOp.h"

#include <cmath>

namespace {

constexpr unsigned int fractionBits = 56;
constexpr std::uint64_t fractionMask = (std::uint64_t{1} << fractionBits) - 1;
constexpr std::uint64_t signBit = std::uint64_t{1} << 63;

// The low-order part's characteristic: 14 hexadecimal digits (its fraction
// width) below the high-order one.
constexpr int lowOrderOffset = 14;

} // namespace

ZhexFP128::ZhexFP128(void const* bigEndianBytes)
    : low(floatbytes::loadBigEndian(static_cast<unsigned char const*>(bigEndianBytes) + 8, 8)),
      high(floatbytes::loadBigEndian(bigEndianBytes, 8))
{}

bool ZhexFP128::ldToZfp(void* target, ldouble_t value)
{
    static char const function[] = "static bool ZhexFP128::ldToZfp(void*, ldouble_t)";

    if (value == 0) {
        std::uint64_t const sign = std::signbit(value) ? signBit : 0;
        floatbytes::storeBigEndian(target, 8, sign);
        floatbytes::storeBigEndian(static_cast<unsigned char*>(target) + 8, 8, sign);
        return true;
    }
    if (std::isinf(value) || std::isnan(value))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, function, __LINE__);

    double const rounded = static_cast<double>(value);
    std::uint64_t highPart = 0;
    // A value that rounds to a double zero, or whose double lies outside the
    // hexadecimal range, cannot be stored.
    if (rounded == 0 || !floatbytes::encodeHexFloat(rounded, fractionBits, highPart))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, function, __LINE__);

    bool const negative = std::signbit(value);
    int const characteristic = static_cast<int>((highPart >> fractionBits) & 0x7F);

    // What the extended value adds beyond its double (exact: both share the
    // leading bits). The reader adds the low-order fraction with the
    // high-order sign, so only a remainder of the value's own sign that fits
    // in 56 bits is kept; otherwise the double alone is stored.
    long double const remainder = std::fabs(value) - std::fabs(static_cast<long double>(rounded));
    std::uint64_t lowFraction = 0;
    if (remainder > 0) {
        long double const scaled =
            std::ldexp(remainder, static_cast<int>(2 * fractionBits) - 4 * (characteristic - 64));
        if (scaled < std::ldexp(1.0L, fractionBits))
            lowFraction = static_cast<std::uint64_t>(scaled);
    }
    std::uint64_t const lowPart =
        (negative ? signBit : 0) |
        (static_cast<std::uint64_t>((characteristic - lowOrderOffset) & 0x7F) << fractionBits) | lowFraction;

    floatbytes::storeBigEndian(target, 8, highPart);
    floatbytes::storeBigEndian(static_cast<unsigned char*>(target) + 8, 8, lowPart);
    return true;
}

long double ZhexFP128::value() const
{
    bool const negative = (high & signBit) != 0;
    std::uint64_t const highFraction = high & fractionMask;
    std::uint64_t const lowFraction = low & fractionMask;
    if (highFraction == 0 && lowFraction == 0)
        return negative ? -0.0L : 0.0L;

    // The low-order part is read with the high-order sign and characteristic.
    int const exponent = 4 * (static_cast<int>((high >> fractionBits) & 0x7F) - 64);
    long double const magnitude =
        std::ldexp(static_cast<long double>(highFraction), exponent - static_cast<int>(fractionBits)) +
        std::ldexp(static_cast<long double>(lowFraction), exponent - static_cast<int>(2 * fractionBits));
    return negative ? -magnitude : magnitude;
}
