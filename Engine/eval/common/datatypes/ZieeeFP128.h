#ifndef NORVEXA_DATATYPES_ZIEEEFP128_H
#define NORVEXA_DATATYPES_ZIEEEFP128_H

#include "datatypes/ZfloatingPoint.h"

#include <cstdint>

// IEEE 754 binary128, stored big-endian in 16 bytes: sign bit, 15-bit
// exponent (bias 16383), 112-bit fraction. The object holds the stored bytes
// reversed (host byte order), so the low-order word comes first.
class ZieeeFP128 {
public:
    // From 16 big-endian bytes as they lie in debuggee memory.
    explicit ZieeeFP128(void const* bigEndianBytes);

    // Writes the 16 big-endian bytes of value at target; the extended
    // significand fits the fraction exactly. Values whose exponent falls
    // below the normal range are refused with InvalidOp RTRC_NotSupported.
    // Returns true.
    static bool ldToZfp(void* target, ldouble_t value);

    // The extended value; fraction bits beyond the 63 the host keeps are
    // dropped.
    long double value() const;
    std::uint64_t highWord() const { return high; }
    std::uint64_t lowWord() const { return low; }

private:
    std::uint64_t low;
    std::uint64_t high;
};

#endif
