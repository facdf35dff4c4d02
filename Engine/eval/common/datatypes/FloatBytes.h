#ifndef NORVEXA_DATATYPES_FLOATBYTES_H
#define NORVEXA_DATATYPES_FLOATBYTES_H

#include <cstdint>

// Big-endian byte images of the debuggee's floating-point words, read into
// and written from host integers. Shared by the storage-format classes.
namespace floatbytes {

inline std::uint64_t loadBigEndian(void const* source, unsigned int size)
{
    auto const* bytes = static_cast<unsigned char const*>(source);
    std::uint64_t word = 0;
    for (unsigned int i = 0; i < size; ++i)
        word = (word << 8) | bytes[i];
    return word;
}

inline void storeBigEndian(void* target, unsigned int size, std::uint64_t word)
{
    auto* bytes = static_cast<unsigned char*>(target);
    for (unsigned int i = size; i > 0; --i) {
        bytes[i - 1] = static_cast<unsigned char>(word & 0xFF);
        word >>= 8;
    }
}

// Encodes a double as a hexadecimal float of fractionBits (24 or 56) fraction
// bits into the low fractionBits + 8 bits of word: sign, 7-bit characteristic
// (excess 64), fraction. Extra significand bits are dropped, never rounded
// up. Returns false when the value had to be saturated (infinity, NaN, too
// large) or flushed to zero (subnormal, too small).
bool encodeHexFloat(double value, unsigned int fractionBits, std::uint64_t& word);

// Value of a hexadecimal float word of fractionBits (24 or 56) fraction bits;
// a zero fraction is a signed zero whatever the characteristic holds.
long double decodeHexFloat(std::uint64_t word, unsigned int fractionBits);

} // namespace floatbytes

#endif
