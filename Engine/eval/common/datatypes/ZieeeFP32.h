#ifndef NORVEXA_DATATYPES_ZIEEEFP32_H
#define NORVEXA_DATATYPES_ZIEEEFP32_H

#include <cstdint>

// IEEE 754 binary32, stored big-endian in 4 bytes. The object holds the
// stored word in host byte order.
class ZieeeFP32 {
public:
    // From 4 big-endian bytes as they lie in debuggee memory.
    explicit ZieeeFP32(void const* bigEndianBytes);

    // Rounds value to binary32 (to nearest) and writes its big-endian bytes
    // at target. Always true.
    static bool ldToZfp(void* target, long double value);

    long double value() const;
    std::uint32_t word() const { return stored; }

private:
    std::uint32_t stored;
};

#endif
