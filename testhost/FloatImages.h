#ifndef NORVEXA_TESTHOST_FLOATIMAGES_H
#define NORVEXA_TESTHOST_FLOATIMAGES_H

#include <cstdint>
#include <vector>

// The debuggee's storage images of floating-point numbers, most significant
// byte first.
namespace floatimage {

// IEEE binary floating point of 4 or 8 bytes (C float and double).
std::vector<std::uint8_t> ieee(double value, unsigned bytes);
// IEEE binary128 (C long double), exact for every value a long double of
// the machine holds that binary128 holds as a normal number; zeros,
// infinities and NaN too. A value below binary128's normal range is
// std::invalid_argument.
std::vector<std::uint8_t> ieee128(long double value);
// Hexadecimal floating point of 4 or 8 bytes (COBOL COMP-1 and COMP-2): a
// sign bit, a 7-bit exponent of 16 biased by 64, then a fraction of 24 or
// 56 bits, normalised so that its first hexadecimal digit is not zero; the
// fraction is rounded to nearest. Zero is all zero bytes. A magnitude beyond
// the format's range is std::invalid_argument.
std::vector<std::uint8_t> hexadecimal(double value, unsigned bytes);

} // namespace floatimage

#endif
