#ifndef NORVEXA_TESTHOST_DECIMALIMAGES_H
#define NORVEXA_TESTHOST_DECIMALIMAGES_H

#include <cstdint>
#include <string>
#include <vector>

#include "HostRecords.h"

// The debuggee's storage images of COBOL numbers, as a big-endian EBCDIC
// program holds them, for the simulated memory. A number is given as the
// text of its scaled integer: an optional '-' and decimal digits ("-12345"
// for -123.45 with two decimal places); it is right-aligned in the digit
// count and padded with zeros. More digits than the count is
// std::invalid_argument.
namespace decimalimage {

// Two digits a byte, the sign in the last low nibble: C positive, D
// negative, F unsigned.
std::vector<std::uint8_t> packed(const std::string& number, unsigned precision, bool isSigned);
// One EBCDIC digit a byte (F0 to F9). Embedded signs change the zone of the
// first or last digit (C positive, D negative); separate signs add a byte
// 4E ('+') or 60 ('-'). Unsigned or a sign kind of none: every zone F.
std::vector<std::uint8_t> zoned(const std::string& number, unsigned precision, bool isSigned, TN_DecimalSign sign);
// One UTF-16 big-endian digit a character (0030 to 0039); a separate sign
// is 002B or 002D. Embedded signs are std::invalid_argument.
std::vector<std::uint8_t> national(const std::string& number, unsigned precision, bool isSigned, TN_DecimalSign sign);
// The low length bytes of a two's-complement number, most significant first.
std::vector<std::uint8_t> binary(std::int64_t value, unsigned length);

} // namespace decimalimage

#endif
