#ifndef NORVEXA_DATATYPES_ZHEXFP64_H
#define NORVEXA_DATATYPES_ZHEXFP64_H

#include <cstdint>

// Hexadecimal floating point in 8 bytes: sign bit, 7-bit characteristic
// (exponent of 16, excess 64) and a 56-bit fraction. The object holds the
// stored word in host byte order.
class ZhexFP64 {
public:
    // From 8 big-endian bytes as they lie in debuggee memory.
    explicit ZhexFP64(void const* bigEndianBytes);

    // Writes the big-endian bytes of value at target. True when the value was
    // stored as it is (the fraction truncated to 56 bits), false when it was
    // saturated (infinity, NaN, too large) or flushed to zero (too small).
    static bool ldToZfp(void* target, double value);

    long double value() const;
    std::uint64_t word() const { return stored; }

private:
    std::uint64_t stored;
};

#endif
