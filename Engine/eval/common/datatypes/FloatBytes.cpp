#include "datatypes/FloatBytes.h"

#include <cmath>
#include <cstring>

namespace floatbytes {

bool encodeHexFloat(double value, unsigned int fractionBits, std::uint64_t& word)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::uint64_t const sign = bits >> 63;
    int const biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t const mantissa = bits & ((std::uint64_t{1} << 52) - 1);

    std::uint64_t const signBit = sign << (fractionBits + 7);
    // Every characteristic and fraction bit set: the largest magnitude.
    std::uint64_t const largest = (std::uint64_t{1} << (fractionBits + 7)) - 1;

    if (biased == 2047) { // infinity or NaN
        word = signBit | largest;
        return false;
    }
    if (biased == 0) { // zero or subnormal
        word = signBit;
        return mantissa == 0;
    }

    // value = m * 2^e with m in [0.5, 1); hexadecimal exponent k = ceil(e / 4).
    int const e = biased - 1022;
    int const k = e >= 0 ? (e + 3) / 4 : -((-e) / 4);
    int const characteristic = k + 64;
    if (characteristic < 0) {
        word = signBit;
        return false;
    }
    if (characteristic > 127) {
        word = signBit | largest;
        return false;
    }

    std::uint64_t significand = (std::uint64_t{1} << 52) | mantissa; // 53 bits
    std::uint64_t fraction =
        fractionBits >= 53 ? significand << (fractionBits - 53) : significand >> (53 - fractionBits);
    // Align to the hexadecimal exponent: 0 to 3 bits, leading digit nonzero.
    fraction >>= (4 * k - e);

    word = signBit | (static_cast<std::uint64_t>(characteristic) << fractionBits) | fraction;
    return true;
}

long double decodeHexFloat(std::uint64_t word, unsigned int fractionBits)
{
    bool const negative = (word >> (fractionBits + 7)) & 1;
    int const characteristic = static_cast<int>((word >> fractionBits) & 0x7F);
    std::uint64_t const fraction = word & ((std::uint64_t{1} << fractionBits) - 1);
    if (fraction == 0)
        return negative ? -0.0L : 0.0L;
    // Exact: the fraction has at most 56 bits and the exponent stays well
    // inside the extended range.
    long double const magnitude =
        std::ldexp(static_cast<long double>(fraction), 4 * (characteristic - 64) - static_cast<int>(fractionBits));
    return negative ? -magnitude : magnitude;
}

} // namespace floatbytes
