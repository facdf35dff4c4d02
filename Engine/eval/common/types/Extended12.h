#ifndef NORVEXA_DATATYPES_EXTENDED12_H
#define NORVEXA_DATATYPES_EXTENDED12_H

// The 12-byte long double slot of the second long double primitive (and of
// each part of the second complex long double primitive): the evaluator's
// own 80-bit extended value in its first 10 bytes, in the host's byte order
// (little-endian here), and two pad bytes written as zero. Never laid out
// as sizeof(long double), which is 16 on this host.
class Extended12 {
public:
    static constexpr unsigned int slotSize = 12;
    static constexpr unsigned int valueBytes = 10;

    // The value of the slot at source; the pad bytes are not read.
    static long double decode(void const* source);
    // Writes the value and two zero pad bytes into the slot at target.
    static void encode(void* target, long double value);
};

#endif
