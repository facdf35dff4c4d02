#include "tree/FormatTreeNode.h"

#include <string>

#include "services/ByteOrder.h"
#include "services/InvalidOp.h"
#include "tree/FormatByType.h"

using namespace FormatByType;

// COBOL numbers as the program's DISPLAY shows them: the picture's digits
// with their leading zeros, the decimal point where the picture puts it, and
// for a signed item its sign, "+" or "-", in front (behind for a trailing
// separate sign).

namespace {

// A digit of a stored nibble: 0 to 9, or the hexadecimal letter of a nibble
// that is no digit, so that bad data shows as such.
char digitOf(unsigned nibble)
{
    return static_cast<char>(nibble <= 9 ? '0' + nibble : 'A' + (nibble - 10));
}

// The digits placed by the scale: a negative scale is the number of digits
// after the point (more than there are digits: zeros follow the point), a
// positive one the zeros the picture's P positions add behind the digits.
std::string placed(const std::string& digits, int scale)
{
    if (scale > 0)
        return digits + std::string(static_cast<std::size_t>(scale), '0');
    const std::size_t places = static_cast<std::size_t>(-scale);
    if (places == 0)
        return digits;
    if (places >= digits.size())
        return std::string(1, '.').append(places - digits.size(), '0').append(digits);
    return digits.substr(0, digits.size() - places) + "." + digits.substr(digits.size() - places);
}

std::string signed_(const std::string& number, bool isSigned, bool negative, bool trailing)
{
    if (!isSigned)
        return number;
    const char sign = negative ? '-' : '+';
    return trailing ? number + sign : sign + number;
}

bool separateSign(TN_DecimalSign sign)
{
    return sign == TN_SignLeadingSeparate || sign == TN_SignTrailingSeparate;
}

bool hasSign(std::uint32_t flags, TN_DecimalSign sign)
{
    return (flags & TN_DecimalSigned) != 0 && sign != TN_SignNone0 && sign != TN_SignNone;
}

} // namespace

ByteString FormatTreeNode::formatDisplayNumber(DBG_REPS rep) const
{
    ByteString kept;
    const _TYPE_ENTRY* entry = formatEntry(
        *this, formatType_, {TE_PACKED_DECIMAL, TE_ZONED_DECIMAL, TE_FIXED_POINT_BINARY, TE_NATIONAL_DECIMAL}, kept,
        __PRETTY_FUNCTION__, __LINE__);
    if (entry == nullptr)
        return kept;
    const _TYPE_ENTRY& e = *entry;
    if (rep != 1 && rep != 2)
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    switch (e.leaf) {
    case TE_PACKED_DECIMAL: {
        const TNpacked_decimal& r = e.packed;
        const unsigned size = r.byteLength != 0 ? r.byteLength : r.precision / 2u + 1;
        const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
        if (rep == 1)
            return text("X'" + hexDigits(data, size) + "'");
        // The digits are every nibble but the last, which is the sign; an
        // even precision leaves the first nibble over.
        const unsigned nibbles = 2 * size - 1;
        const unsigned precision = r.precision != 0 && r.precision <= nibbles ? r.precision : nibbles;
        std::string digits;
        for (unsigned k = nibbles - precision; k < nibbles; ++k)
            digits += digitOf((k % 2 == 0 ? data[k / 2] >> 4 : data[k / 2]) & 0x0F);
        const unsigned sign = data[size - 1] & 0x0F;
        return text(
            signed_(placed(digits, r.scale), (r.flags & TN_DecimalSigned) != 0, sign == 0x0B || sign == 0x0D, false));
    }
    case TE_ZONED_DECIMAL: {
        const TNzoned_decimal& r = e.zoned;
        const bool isSigned = hasSign(r.flags, r.signKind);
        const bool separate = isSigned && separateSign(r.signKind);
        const unsigned size = r.byteLength != 0 ? r.byteLength : r.precision + (separate ? 1u : 0u);
        const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
        if (rep == 1)
            return text("X'" + hexDigits(data, size) + "'");
        const bool leading = r.signKind == TN_SignLeadingEmbedded || r.signKind == TN_SignLeadingSeparate;
        const unsigned first = separate && leading ? 1 : 0;
        const unsigned count = size - (separate ? 1 : 0);
        std::string digits;
        for (unsigned i = 0; i < count; ++i)
            digits += digitOf(data[first + i] & 0x0F);
        bool negative = false;
        if (separate) {
            negative = data[leading ? 0 : size - 1] == 0x60;
        } else if (isSigned && count != 0) {
            const unsigned zone = data[leading ? 0 : count - 1] >> 4;
            negative = zone == 0x0D || zone == 0x0B;
        }
        return text(signed_(placed(digits, r.scale), isSigned, negative, separate && !leading));
    }
    case TE_NATIONAL_DECIMAL: {
        const TNnational_decimal& r = e.nationalDecimal;
        const bool isSigned = hasSign(r.flags, r.signKind);
        const bool separate = isSigned && separateSign(r.signKind);
        const unsigned size = r.byteLength != 0 ? r.byteLength : 2u * (r.precision + (separate ? 1u : 0u));
        const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
        if (rep == 1)
            return text("NX'" + hexDigits(data, size) + "'");
        const bool leading = r.signKind == TN_SignLeadingEmbedded || r.signKind == TN_SignLeadingSeparate;
        const unsigned characters = size / 2;
        const unsigned first = separate && leading ? 1 : 0;
        const unsigned count = characters - (separate ? 1 : 0);
        std::string digits;
        for (unsigned i = 0; i < count; ++i) {
            const unsigned c = (unsigned(data[2 * (first + i)]) << 8) | data[2 * (first + i) + 1];
            digits += c >= 0x30 && c <= 0x39 ? static_cast<char>(c) : '?';
        }
        bool negative = false;
        if (separate) {
            const unsigned at = leading ? 0 : characters - 1;
            negative = ((unsigned(data[2 * at]) << 8) | data[2 * at + 1]) == 0x2D;
        }
        return text(signed_(placed(digits, r.scale), isSigned, negative, separate && !leading));
    }
    default: {
        const TNfixed_point_binary& r = e.binary;
        const unsigned size = r.byteLength;
        if (size != 1 && size != 2 && size != 4 && size != 8)
            throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
        const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
        if (rep == 1)
            return text("X'" + hexDigits(data, size) + "'");
        const bool isSigned = (r.flags & TN_BinarySigned) != 0;
        std::uint64_t value = byteorder::fromBigEndian(data, size);
        bool negative = false;
        if (isSigned && size < 8 && (value >> (8 * size - 1)) != 0)
            value |= ~std::uint64_t(0) << (8 * size);
        if (isSigned && static_cast<std::int64_t>(value) < 0) {
            negative = true;
            value = ~value + 1;
        }
        std::string digits = std::to_string(value);
        // The picture's digits, with their leading zeros; a value beyond
        // them shows all of its digits.
        if (digits.size() < r.precision)
            digits.insert(0, r.precision - digits.size(), '0');
        return text(signed_(placed(digits, r.scale), isSigned, negative, false));
    }
    }
}
