#include "tree/FormatTreeNode.h"

#include <string>

#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/SqlTypeCodes.h"
#include "types/SqlTypeEntry.h"

namespace {

// The bytes of the node's buffer a formatter needs: RTRC_InvalidFormat when
// the buffer holds fewer.
const unsigned char* needBytes(const unsigned char* buffer, std::uint64_t held, std::uint64_t needed,
                               const char* function, unsigned line)
{
    if (needed != 0 && (buffer == nullptr || held < needed))
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, function, line);
    return buffer;
}

// P digits with S of them after the point. A scale above the precision puts
// S - P zeros between the point and the digits.
std::string placePoint(const std::string& digits, unsigned precision, unsigned scale)
{
    if (scale == 0)
        return digits;
    if (scale >= precision)
        return std::string(1, '.').append(scale - precision, '0').append(digits);
    return digits.substr(0, precision - scale) + "." + digits.substr(precision - scale);
}

// Precision (the high byte) and scale (the low byte) of a declared length's
// low 16 bits.
struct DecimalShape {
    explicit DecimalShape(std::uint32_t length) : precision((length >> 8) & 0xFFu), scale(length & 0xFFu) {}
    unsigned precision;
    unsigned scale;
};

} // namespace

ByteString FormatTreeNode::formatPackedDecimal(DBG_REPS) const
{
    const DecimalShape shape(sqlEntry().length());
    const unsigned precision = shape.precision;
    if (precision == 0)
        return emptyText();
    const unsigned char* bytes =
        needBytes(ownBuffer(), ownBufferLength(), precision / 2 + 1, __PRETTY_FUNCTION__, __LINE__);
    // Nibble k is the high half of byte k/2 when k is even. An even
    // precision skips the first high nibble.
    auto nibble = [bytes](unsigned k) { return (k % 2 == 0 ? bytes[k / 2] >> 4 : bytes[k / 2]) & 0x0F; };
    const unsigned first = precision % 2 == 1 ? 0 : 1;
    std::string digits(precision, ' ');
    for (unsigned i = 0; i < precision; ++i) {
        const unsigned d = nibble(first + i);
        digits[i] = d <= 9 ? static_cast<char>('0' + d) : '0';
    }
    const unsigned sign = nibble(first + precision);
    return FormatPrimitive::text(
        std::string(sign == 0x0B || sign == 0x0D ? "-" : "").append(placePoint(digits, precision, shape.scale)));
}

ByteString FormatTreeNode::formatZonedDecimal(DBG_REPS) const
{
    const DecimalShape shape(sqlEntry().length());
    const unsigned precision = shape.precision;
    if (precision == 0)
        return emptyText();
    const unsigned char* bytes =
        needBytes(ownBuffer(), ownBufferLength(), precision + 1, __PRETTY_FUNCTION__, __LINE__);
    std::string digits(precision, ' ');
    for (unsigned i = 0; i < precision; ++i) {
        const unsigned d = bytes[1 + i] & 0x0F;
        digits[i] = static_cast<char>(d <= 9 ? '0' + d : 'A' + (d - 10));
    }
    const unsigned char sign = bytes[0];
    const bool negative = sign == 0x60 || sign == 0x70 || sign == 0xB0 || sign == 0xD0;
    return FormatPrimitive::text(std::string(negative ? "-" : "").append(placePoint(digits, precision, shape.scale)));
}

ByteString FormatTreeNode::formatFixedPointBinary(DBG_REPS rep) const
{
    const SqlTypeEntry entry = sqlEntry();
    switch (entry.sqlType()) {
    case sqlBigint:
    case sqlNullable(sqlBigint):
    case sqlInteger:
    case sqlNullable(sqlInteger):
    case sqlSmallint:
    case sqlNullable(sqlSmallint): break;
    default:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Cannot format type %d", static_cast<int>(entry.sqlType()));
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    }
    const std::uint32_t length = entry.length();
    unsigned primitive;
    switch (length) {
    case 2: primitive = 133; break;
    case 4: primitive = 134; break;
    case 8: primitive = 156; break;
    default: throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    const unsigned char* bytes = needBytes(ownBuffer(), ownBufferLength(), length, __PRETTY_FUNCTION__, __LINE__);
    if ((bytes[0] & 0x80) == 0)
        return FormatPrimitive::format(rep, primitive, bytes, length);
    // The magnitude of a negative value: its two's complement, big-endian.
    unsigned char magnitude[8];
    unsigned carry = 1;
    for (unsigned i = length; i-- > 0;) {
        const unsigned v = static_cast<unsigned char>(~bytes[i]) + carry;
        magnitude[i] = static_cast<unsigned char>(v);
        carry = v >> 8;
    }
    ByteString text = FormatPrimitive::text("-");
    text += FormatPrimitive::format(rep, primitive, magnitude, length);
    return text;
}

ByteString FormatTreeNode::formatBinaryAsHex(DBG_REPS, unsigned int byteCount, unsigned int) const
{
    if (byteCount == 0)
        return emptyText();
    // The text is twice as long as the bytes and must fit a ByteString.
    if (byteCount > 0x7FFFFFFEu)
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    const unsigned char* bytes = needBytes(ownBuffer(), ownBufferLength(), byteCount, __PRETTY_FUNCTION__, __LINE__);
    static const char digits[] = "0123456789ABCDEF";
    ByteString text;
    unsigned char* out = text.makeBuffer(2 * byteCount);
    for (unsigned i = 0; i < byteCount; ++i) {
        out[2 * i] = static_cast<unsigned char>(digits[bytes[i] >> 4]);
        out[2 * i + 1] = static_cast<unsigned char>(digits[bytes[i] & 0x0F]);
    }
    return text;
}
