#ifndef NORVEXA_DATATYPES_INDEXVALUESUPPORT_H
#define NORVEXA_DATATYPES_INDEXVALUESUPPORT_H

// What the two index value classes share: host-order bytes in and out (which
// binary items read and write too), the value of a text or a long double,
// and the integer of a decimal source.

#include <cstdint>

class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;

namespace indexvalue {

// length (1, 2, 4 or 8) host-order bytes, zero-extended; any other length
// is refused with RTRC_Other.
std::uint64_t read(const void* bytes, unsigned length, const char* function, unsigned line);
// The low `size` (1, 2, 4 or 8) bytes of value; any other size RTRC_Other.
void write(std::uint64_t value, void* bytes, unsigned size, const char* function, unsigned line);
// Truncated toward zero; a negative value gives the two's complement of its
// magnitude, values beyond 64 bits the nearest end, NaN 0.
std::uint64_t truncated(long double value);
// The digits of text in order (others skipped), two's complement negated
// when text begins with '-'.
std::uint64_t fromText(const char* text);
// The source's digits as an integer: decimal places are not removed.
std::uint64_t integerOf(const PackedDecimal& source);
std::uint64_t integerOf(const ZonedDecimal& source);
std::uint64_t integerOf(const NationalDecimal& source);
// The magnitude of the packed source's digits as an unsigned integer.
std::uint64_t integerInto(const PackedDecimal& source);

} // namespace indexvalue

#endif
