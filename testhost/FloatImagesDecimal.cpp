// Decimal text to IEEE binary128, correctly rounded: the value is worked out
// in exact integers, so no bit depends on the precision of the machine's own
// long double.

#include "testhost/FloatImages.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

namespace floatimage {

namespace {

// An unsigned integer of any size, least significant 32-bit limb first,
// without leading zero limbs.
class Natural {
public:
    explicit Natural(std::uint32_t v = 0)
    {
        if (v != 0)
            limbs_.push_back(v);
    }

    bool isZero() const { return limbs_.empty(); }

    unsigned bitLength() const
    {
        if (limbs_.empty())
            return 0;
        unsigned top = 0;
        for (std::uint32_t v = limbs_.back(); v != 0; v >>= 1)
            ++top;
        return static_cast<unsigned>(32 * (limbs_.size() - 1)) + top;
    }

    bool bit(unsigned i) const { return i / 32 < limbs_.size() && ((limbs_[i / 32] >> (i % 32)) & 1) != 0; }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t v = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(v);
            carry = v >> 32;
        }
        if (carry != 0)
            limbs_.push_back(static_cast<std::uint32_t>(carry));
        trim();
    }

    void shiftLeft(unsigned n)
    {
        if (limbs_.empty())
            return;
        limbs_.insert(limbs_.begin(), n / 32, 0);
        if (n % 32 != 0) {
            std::uint32_t carry = 0;
            for (std::uint32_t& limb : limbs_) {
                const std::uint32_t next = limb >> (32 - n % 32);
                limb = (limb << (n % 32)) | carry;
                carry = next;
            }
            if (carry != 0)
                limbs_.push_back(carry);
        }
    }

    int compare(const Natural& other) const
    {
        if (limbs_.size() != other.limbs_.size())
            return limbs_.size() < other.limbs_.size() ? -1 : 1;
        for (size_t i = limbs_.size(); i-- > 0;)
            if (limbs_[i] != other.limbs_[i])
                return limbs_[i] < other.limbs_[i] ? -1 : 1;
        return 0;
    }

    // this -= other, other not greater.
    void subtract(const Natural& other)
    {
        std::int64_t borrow = 0;
        for (size_t i = 0; i < limbs_.size(); ++i) {
            std::int64_t v =
                std::int64_t{limbs_[i]} - borrow - (i < other.limbs_.size() ? std::int64_t{other.limbs_[i]} : 0);
            borrow = v < 0 ? 1 : 0;
            if (v < 0)
                v += std::int64_t{1} << 32;
            limbs_[i] = static_cast<std::uint32_t>(v);
        }
        trim();
    }

    // The quotient of this by divisor; remainder receives what is left.
    Natural divide(const Natural& divisor, Natural& remainder) const
    {
        Natural quotient;
        quotient.limbs_.assign(limbs_.size(), 0);
        remainder = Natural();
        for (unsigned i = bitLength(); i-- > 0;) {
            remainder.shiftLeft(1);
            if (bit(i)) {
                if (remainder.limbs_.empty())
                    remainder.limbs_.push_back(0);
                remainder.limbs_[0] |= 1;
            }
            if (remainder.compare(divisor) >= 0) {
                remainder.subtract(divisor);
                quotient.limbs_[i / 32] |= std::uint32_t{1} << (i % 32);
            }
        }
        quotient.trim();
        return quotient;
    }

    // Bits [from, from + 64) as an integer.
    std::uint64_t bits(unsigned from) const
    {
        std::uint64_t v = 0;
        for (unsigned k = 0; k < 64; ++k)
            if (bit(from + k))
                v |= std::uint64_t{1} << k;
        return v;
    }

private:
    void trim()
    {
        while (!limbs_.empty() && limbs_.back() == 0)
            limbs_.pop_back();
    }

    std::vector<std::uint32_t> limbs_;
};

// Decimal exponents beyond these leave binary128's range whatever the digits.
constexpr long kExponentLimit = 5200;
constexpr size_t kDigitLimit = 200;

} // namespace

std::vector<std::uint8_t> ieee128FromDecimal(const std::string& text)
{
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    // The value is digits * 10^exponent.
    std::string digits;
    long exponent = 0;
    bool seenPoint = false, seenDigit = false, tailNonzero = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            seenDigit = true;
            if (digits.empty() && c == '0') {
                if (seenPoint)
                    --exponent;
                continue;
            }
            // Digits past the limit only decide whether the value lies above
            // the digits kept.
            if (digits.size() < kDigitLimit) {
                digits += c;
                if (seenPoint)
                    --exponent;
            } else {
                tailNonzero = tailNonzero || c != '0';
                if (!seenPoint)
                    ++exponent;
            }
        } else {
            break;
        }
    }
    if (!seenDigit)
        throw std::invalid_argument("not a decimal number");
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        if (i == text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
            throw std::invalid_argument("not a decimal number");
        long written = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            written = std::min(written * 10 + (text[i] - '0'), 10 * kExponentLimit);
        exponent += negativeExponent ? -written : written;
    }
    if (i != text.size())
        throw std::invalid_argument("not a decimal number");
    if (tailNonzero) {
        // A digit 1 after those kept lies strictly between the kept value
        // and the next, as the dropped digits do: it rounds as they would.
        digits += '1';
        --exponent;
    }

    std::vector<std::uint8_t> out(16, 0);
    if (digits.empty()) {
        out[0] = negative ? 0x80 : 0;
        return out;
    }
    if (exponent + static_cast<long>(digits.size()) > kExponentLimit ||
        exponent + static_cast<long>(digits.size()) < -kExponentLimit)
        throw std::invalid_argument("outside the range of binary128");

    Natural numerator;
    for (char c : digits)
        numerator.multiplyAdd(10, static_cast<std::uint32_t>(c - '0'));
    Natural denominator(1);
    for (long k = 0; k < exponent; ++k)
        numerator.multiplyAdd(10, 0);
    for (long k = 0; k < -exponent; ++k)
        denominator.multiplyAdd(10, 0);
    // Scale by 2^scale so that the quotient has at least 116 bits: 113 for
    // the significand, then the rounding bits.
    const long scale = 116 + static_cast<long>(denominator.bitLength()) - static_cast<long>(numerator.bitLength());
    if (scale > 0)
        numerator.shiftLeft(static_cast<unsigned>(scale));
    else
        denominator.shiftLeft(static_cast<unsigned>(-scale));
    Natural remainder;
    const Natural quotient = numerator.divide(denominator, remainder);
    const unsigned length = quotient.bitLength(); // 116 or 117
    const unsigned dropped = length - 113;
    // The significand, its 113 bits in high (49) and low (64).
    std::uint64_t low = quotient.bits(dropped);
    std::uint64_t high = quotient.bits(dropped + 64) & ((std::uint64_t{1} << 49) - 1);
    bool above = !remainder.isZero();
    for (unsigned k = 0; k + 1 < dropped; ++k)
        above = above || quotient.bit(k);
    const bool half = quotient.bit(dropped - 1);
    long binaryExponent = static_cast<long>(length) - 1 - scale;
    if (half && (above || (low & 1) != 0)) {
        if (++low == 0)
            ++high;
        if (high >> 49 != 0) { // rounded up to the next power of two
            high >>= 1;
            ++binaryExponent;
        }
    }
    const long biased = binaryExponent + 16383;
    if (biased <= 0 || biased >= 0x7FFF)
        throw std::invalid_argument("outside the range of binary128");
    high = (high & ((std::uint64_t{1} << 48) - 1)) | static_cast<std::uint64_t>(biased) << 48 |
           (negative ? std::uint64_t{1} << 63 : 0);
    for (unsigned k = 0; k < 8; ++k) {
        out[k] = static_cast<std::uint8_t>(high >> (56 - 8 * k));
        out[8 + k] = static_cast<std::uint8_t>(low >> (56 - 8 * k));
    }
    return out;
}

} // namespace floatimage
