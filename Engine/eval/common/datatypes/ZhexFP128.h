#ifndef NORVEXA_DATATYPES_ZHEXFP128_H
#define NORVEXA_DATATYPES_ZHEXFP128_H

#include "datatypes/ZfloatingPoint.h"

#include <cstdint>

// Extended hexadecimal floating point in 16 bytes: two 8-byte hexadecimal
// floats, the high-order part in bytes 0-7 and the low-order part in bytes
// 8-15. The low-order fraction continues the high-order one: it counts in
// units of 16^-28 of the high-order characteristic, and its own sign and
// characteristic are not read. The object holds the stored bytes reversed
// (host byte order), so the low-order word comes first.
class ZhexFP128 {
public:
    // From 16 big-endian bytes as they lie in debuggee memory.
    explicit ZhexFP128(void const* bigEndianBytes);

    // Writes the 16 big-endian bytes of value at target. The high-order part
    // holds the value rounded to double; the low-order part carries what the
    // extended value adds beyond it when that has the value's sign and fits.
    // Zero writes zero halves (both signed for -0.0). Infinity, NaN and
    // magnitudes outside the hexadecimal range are refused with InvalidOp
    // RTRC_NotSupported. Returns true.
    static bool ldToZfp(void* target, ldouble_t value);

    long double value() const;
    std::uint64_t highWord() const { return high; }
    std::uint64_t lowWord() const { return low; }

private:
    std::uint64_t low;
    std::uint64_t high;
};

#endif
