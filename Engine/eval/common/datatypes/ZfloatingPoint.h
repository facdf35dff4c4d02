#ifndef NORVEXA_DATATYPES_ZFLOATINGPOINT_H
#define NORVEXA_DATATYPES_ZFLOATINGPOINT_H

#include <limits>

// The host's long double, in which the evaluator computes with binary and
// hexadecimal floating-point values: the x86 80-bit extended format.
typedef long double ldouble_t;

static_assert(std::numeric_limits<ldouble_t>::is_iec559 && std::numeric_limits<ldouble_t>::radix == 2 &&
                  std::numeric_limits<ldouble_t>::digits == 64 &&
                  std::numeric_limits<ldouble_t>::max_exponent == 16384 &&
                  std::numeric_limits<ldouble_t>::min_exponent == -16381,
              "the host long double must be the x86 80-bit extended format");

// Conversions between a host long double and the debuggee's stored
// floating-point bytes (big-endian): hexadecimal or IEEE binary, 4, 8 or 16
// bytes.
class ZfloatingPoint {
public:
    // Writes size bytes of value at target, hexadecimal when hex is set, IEEE
    // binary otherwise. The 4- and 8-byte hexadecimal forms are made from the
    // value rounded to double. Returns true when the value was stored as it
    // is, false when it had to be saturated or flushed to zero; a size other
    // than 4, 8 or 16 writes nothing and returns false.
    static bool ldToZfp(void* target, unsigned int size, bool hex, ldouble_t value);

    // The value of size stored bytes at source, hexadecimal when hex is set.
    // Sizes other than 4, 8 and 16 are refused with InvalidOp
    // RTRC_NotSupported.
    static ldouble_t ldFromZfp(void const* source, unsigned int size, bool hex);
};

#endif
