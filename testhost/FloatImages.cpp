#include "testhost/FloatImages.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace floatimage {

namespace {

std::vector<std::uint8_t> bigEndian(std::uint64_t bits, unsigned bytes)
{
    std::vector<std::uint8_t> out(bytes);
    for (unsigned i = 0; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(bits >> (8 * (bytes - 1 - i)));
    return out;
}

} // namespace

std::vector<std::uint8_t> ieee128(long double value)
{
    const bool negative = std::signbit(value);
    std::uint64_t high = negative ? 0x8000000000000000ull : 0;
    std::uint64_t low = 0;
    if (std::isinf(value)) {
        high |= 0x7FFF000000000000ull;
    } else if (std::isnan(value)) {
        high |= 0x7FFF800000000000ull;
    } else if (value != 0) {
        int exponent = 0;
        const long double mantissa = std::frexp(std::fabs(value), &exponent); // [0.5, 1)
        const int biased = exponent - 1 + 16383;
        if (biased <= 0 || biased >= 0x7FFF)
            throw std::invalid_argument("outside the range of binary128");
        // The 112 fraction bits after the leading 1: the first 64 of them
        // hold every bit a long double has.
        const long double fraction = mantissa * 2 - 1;
        const auto bits = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        high |= static_cast<std::uint64_t>(biased) << 48 | bits >> 16;
        low = bits << 48;
    }
    std::vector<std::uint8_t> out = bigEndian(high, 8);
    const std::vector<std::uint8_t> rest = bigEndian(low, 8);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

std::vector<std::uint8_t> ieee(double value, unsigned bytes)
{
    if (bytes == 4) {
        const float f = static_cast<float>(value);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        return bigEndian(bits, 4);
    }
    if (bytes != 8)
        throw std::invalid_argument("IEEE floating point is 4 or 8 bytes");
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bigEndian(bits, 8);
}

std::vector<std::uint8_t> hexadecimal(double value, unsigned bytes)
{
    if (bytes != 4 && bytes != 8)
        throw std::invalid_argument("hexadecimal floating point is 4 or 8 bytes");
    if (!std::isfinite(value))
        throw std::invalid_argument("hexadecimal floating point has no infinity or NaN");
    if (value == 0)
        return std::vector<std::uint8_t>(bytes, 0);
    const unsigned fractionBits = bytes == 4 ? 24 : 56;
    const bool negative = value < 0;
    // value = fraction * 16^exponent with 1/16 <= fraction < 1.
    int binaryExponent = 0;
    const double mantissa = std::frexp(std::fabs(value), &binaryExponent); // [0.5, 1)
    int exponent = binaryExponent >= 0 ? (binaryExponent + 3) / 4 : -((-binaryExponent) / 4);
    long double fraction = std::ldexp(static_cast<long double>(mantissa), binaryExponent - 4 * exponent);
    std::uint64_t digits =
        static_cast<std::uint64_t>(std::llround(std::ldexp(fraction, static_cast<int>(fractionBits))));
    if (digits >> fractionBits != 0) { // rounded up to 1.0
        digits >>= 4;
        ++exponent;
    }
    if (exponent + 64 > 127 || exponent + 64 < 0)
        throw std::invalid_argument("out of the range of hexadecimal floating point");
    const std::uint64_t bits = (static_cast<std::uint64_t>(negative) << (8 * bytes - 1)) |
                               (static_cast<std::uint64_t>(exponent + 64) << fractionBits) | digits;
    return bigEndian(bits, bytes);
}

} // namespace floatimage
