#ifndef NORVEXA_DATATYPES_ZIEEEFP64_H
#define NORVEXA_DATATYPES_ZIEEEFP64_H

#include <cstdint>

// IEEE 754 binary64, stored big-endian in 8 bytes. The object holds the
// stored word in host byte order.
class ZieeeFP64 {
public:
    // From 8 big-endian bytes as they lie in debuggee memory.
    explicit ZieeeFP64(void const* bigEndianBytes);

    // Rounds value to binary64 (to nearest) and writes its big-endian bytes
    // at target. Always true.
    static bool ldToZfp(void* target, long double value);

    long double value() const;
    std::uint64_t word() const { return stored; }

private:
    std::uint64_t stored;
};

#endif
