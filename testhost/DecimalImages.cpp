#include "testhost/DecimalImages.h"

#include <stdexcept>

namespace decimalimage {

namespace {

struct Number {
    bool negative = false;
    std::string digits; // exactly precision digits
};

Number parse(const std::string& text, unsigned precision)
{
    Number n;
    std::string digits = text;
    if (!digits.empty() && digits[0] == '-') {
        n.negative = true;
        digits.erase(0, 1);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        throw std::invalid_argument("not a scaled integer: " + text);
    while (digits.size() > precision && digits[0] == '0')
        digits.erase(0, 1);
    if (digits.size() > precision)
        throw std::invalid_argument("more digits than " + std::to_string(precision) + ": " + text);
    n.digits = std::string(precision - digits.size(), '0') + digits;
    return n;
}

bool separate(TN_DecimalSign sign)
{
    return sign == TN_SignLeadingSeparate || sign == TN_SignTrailingSeparate;
}

bool leading(TN_DecimalSign sign)
{
    return sign == TN_SignLeadingEmbedded || sign == TN_SignLeadingSeparate;
}

bool hasSign(bool isSigned, TN_DecimalSign sign)
{
    return isSigned && sign != TN_SignNone0 && sign != TN_SignNone;
}

} // namespace

std::vector<std::uint8_t> packed(const std::string& number, unsigned precision, bool isSigned)
{
    // An even digit count gets a leading zero nibble.
    const unsigned nibbles = precision | 1u;
    const Number n = parse(number, nibbles);
    std::vector<std::uint8_t> out(nibbles / 2 + 1, 0);
    for (unsigned i = 0; i < nibbles; ++i) {
        const std::uint8_t d = static_cast<std::uint8_t>(n.digits[i] - '0');
        out[i / 2] = static_cast<std::uint8_t>(out[i / 2] | (i % 2 == 0 ? d << 4 : d));
    }
    out.back() = static_cast<std::uint8_t>(out.back() | (!isSigned ? 0xF : n.negative ? 0xD : 0xC));
    return out;
}

std::vector<std::uint8_t> zoned(const std::string& number, unsigned precision, bool isSigned, TN_DecimalSign sign)
{
    const Number n = parse(number, precision);
    std::vector<std::uint8_t> out;
    for (char c : n.digits)
        out.push_back(static_cast<std::uint8_t>(0xF0 | (c - '0')));
    if (!hasSign(isSigned, sign) || out.empty())
        return out;
    if (separate(sign)) {
        const std::uint8_t mark = n.negative ? 0x60 : 0x4E;
        out.insert(leading(sign) ? out.begin() : out.end(), mark);
        return out;
    }
    std::uint8_t& carrier = leading(sign) ? out.front() : out.back();
    carrier = static_cast<std::uint8_t>((n.negative ? 0xD0 : 0xC0) | (carrier & 0x0F));
    return out;
}

std::vector<std::uint8_t> national(const std::string& number, unsigned precision, bool isSigned, TN_DecimalSign sign)
{
    const Number n = parse(number, precision);
    std::vector<std::uint8_t> out;
    for (char c : n.digits) {
        out.push_back(0x00);
        out.push_back(static_cast<std::uint8_t>(c));
    }
    if (!hasSign(isSigned, sign))
        return out;
    if (!separate(sign))
        throw std::invalid_argument("national decimal signs are separate");
    const std::uint8_t mark = n.negative ? 0x2D : 0x2B;
    out.insert(leading(sign) ? out.begin() : out.end(), {0x00, mark});
    return out;
}

std::vector<std::uint8_t> binary(std::int64_t value, unsigned length)
{
    std::vector<std::uint8_t> out(length);
    std::uint64_t v = static_cast<std::uint64_t>(value);
    for (unsigned i = length; i > 0; --i) {
        out[i - 1] = static_cast<std::uint8_t>(v);
        v >>= 8;
    }
    return out;
}

} // namespace decimalimage
