#include "datatypes/ZieeeFP128.h"

#include "datatypes/FloatBytes.h"
#include "services/InvalidOp.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::uint64_t signBit = std::uint64_t{1} << 63;
constexpr int exponentBias = 16383;
constexpr int exponentAllOnes = 0x7FFF;
constexpr std::uint64_t highFractionMask = (std::uint64_t{1} << 48) - 1;

// Whether an extended NaN is signalling: the quiet bit (bit 62 of the
// significand, below the explicit integer bit) is clear.
bool isSignallingNaN(ldouble_t value)
{
    std::uint64_t significand;
    std::memcpy(&significand, &value, sizeof significand);
    return (significand & (std::uint64_t{1} << 62)) == 0;
}

} // namespace

ZieeeFP128::ZieeeFP128(void const* bigEndianBytes)
    : low(floatbytes::loadBigEndian(static_cast<unsigned char const*>(bigEndianBytes) + 8, 8)),
      high(floatbytes::loadBigEndian(bigEndianBytes, 8))
{}

bool ZieeeFP128::ldToZfp(void* target, ldouble_t value)
{
    static char const function[] = "static bool ZieeeFP128::ldToZfp(void*, ldouble_t)";

    std::uint64_t highPart = std::signbit(value) ? signBit : 0;
    std::uint64_t lowPart = 0;

    if (value == 0) {
        // sign only
    } else if (std::isinf(value)) {
        highPart |= std::uint64_t{exponentAllOnes} << 48;
    } else if (std::isnan(value)) {
        // Quiet NaN 7F FF FF, signalling NaN 7F FF 01, the rest zero.
        highPart |= std::uint64_t{exponentAllOnes} << 48;
        highPart |= std::uint64_t{isSignallingNaN(value) ? 0x01u : 0xFFu} << 40;
    } else {
        long double const magnitude = std::fabs(value);
        int const exponent = std::ilogb(magnitude);
        int const biased = exponent + exponentBias;
        // Biased exponent 0 is the subnormal encoding, which cannot carry a
        // normalised significand: the values that would need it (the host's
        // own subnormals) are refused like those further out of range.
        if (biased < 1 || biased > 2 * exponentBias)
            throw InvalidOp(InvalidOp::RTRC_NotSupported, function, __LINE__);
        // (s - 1) * 2^64 for the significand s in [1, 2): exact.
        long double const significand = std::scalbn(magnitude, -exponent);
        std::uint64_t const fraction = static_cast<std::uint64_t>(std::ldexp(significand - 1.0L, 64));
        highPart |= (static_cast<std::uint64_t>(biased) << 48) | (fraction >> 16);
        lowPart = fraction << 48;
    }

    floatbytes::storeBigEndian(target, 8, highPart);
    floatbytes::storeBigEndian(static_cast<unsigned char*>(target) + 8, 8, lowPart);
    return true;
}

long double ZieeeFP128::value() const
{
    bool const negative = (high & signBit) != 0;
    int const biased = static_cast<int>((high >> 48) & exponentAllOnes);
    std::uint64_t const highFraction = high & highFractionMask;
    bool const fractionZero = highFraction == 0 && low == 0;

    long double magnitude;
    if (biased == 0) {
        if (fractionZero) {
            magnitude = 0.0L;
        } else {
            // Subnormal: 0.f * 2^-16382, from the top 64 fraction bits; the
            // host keeps what its own subnormal range allows.
            std::uint64_t const top = (highFraction << 16) | (low >> 48);
            magnitude = std::ldexp(static_cast<long double>(top), 1 - exponentBias - 64);
        }
    } else if (biased == exponentAllOnes) {
        magnitude =
            fractionZero ? std::numeric_limits<long double>::infinity() : std::numeric_limits<long double>::quiet_NaN();
    } else {
        // (2^63 + the top 63 fraction bits) * 2^(E - 16383 - 63).
        std::uint64_t const significand = (std::uint64_t{1} << 63) | (highFraction << 15) | (low >> 49);
        magnitude = std::ldexp(static_cast<long double>(significand), biased - exponentBias - 63);
    }
    return negative ? -magnitude : magnitude;
}
