#include "tree/FormatPrimitive.h"

#include <plomkit/EncodedString.h>

#include "services/ByteOrder.h"
#include "services/InvalidOp.h"
#include "types/Extended12.h"
#include "types/PrimitiveType.h"

namespace {

const char formatName[] = "static ByteString FormatPrimitive::format(DBG_REPS, TINDEX, const void*, unsigned int)";

// The text of an integer of width bytes in a representation; signedValue is
// the value sign-extended (what decimal and the character forms show),
// pattern its bit pattern at the width.
ByteString integerText(unsigned width, bool isSigned, std::int64_t signedValue, std::uint64_t pattern, DBG_REPS rep,
                       const char* function, unsigned line)
{
    switch (rep) {
    case 1: return FormatPrimitive::formatHexadecimal(pattern, 2 * width);
    case 2:
        return isSigned ? FormatPrimitive::formatDecimal(static_cast<long long>(signedValue))
                        : FormatPrimitive::formatDecimal(static_cast<unsigned long long>(pattern));
    case 3: return FormatPrimitive::formatOctal(pattern);
    case 4: return FormatPrimitive::formatBinary(pattern, 8 * width);
    case 5: {
        std::uint64_t code = isSigned ? static_cast<std::uint64_t>(signedValue) : pattern;
        if (width == 1)
            return FormatPrimitive::text("'") +
                   FormatPrimitive::utf8(FormatPrimitive::formatSBCScharOther(static_cast<unsigned char>(pattern))) +
                   FormatPrimitive::text("'");
        return FormatPrimitive::text("L'") + FormatPrimitive::utf8(FormatPrimitive::formatDBCScharOther(code)) +
               FormatPrimitive::text("'");
    }
    case 17: return FormatPrimitive::formatBoolean(static_cast<std::int32_t>(static_cast<std::uint32_t>(pattern)));
    case 22: {
        std::uint64_t code = isSigned ? static_cast<std::uint64_t>(signedValue) : pattern;
        if (width == 1)
            return FormatPrimitive::text("'") +
                   FormatPrimitive::utf8(FormatPrimitive::formatSBCSchar(static_cast<unsigned char>(pattern))) +
                   FormatPrimitive::text("'");
        return FormatPrimitive::text("L'") + FormatPrimitive::utf8(FormatPrimitive::formatDBCSchar(code)) +
               FormatPrimitive::text("'");
    }
    default: throw InvalidOp(InvalidOp::RTRC_InvalidFormat, function, line);
    }
}

} // namespace

ByteString FormatPrimitive::text(const std::string& s)
{
    return ByteString(reinterpret_cast<const unsigned char*>(s.data()), static_cast<unsigned>(s.size()));
}

ByteString FormatPrimitive::utf8(const std::wstring& s)
{
    return EncodedString(s.c_str()).asUTF8();
}

unsigned FormatPrimitive::storedWidth(unsigned int tindex)
{
    if (const unsigned bytes = PrimitiveType::integerBytes(tindex))
        return bytes;
    switch (tindex) {
    case 136:
    case 159:
    case 196: return 4;
    case 137:
    case 140:
    case 192:
    case 197:
    case 203: return 8;
    case 139: return Extended12::slotSize;
    case 138:
    case 141:
    case 193:
    case 198:
    case 204: return 16;
    case 143: return 2 * Extended12::slotSize;
    case 142:
    case 205: return 32;
    default: return 0;
    }
}

ByteString FormatPrimitive::format(DBG_REPS rep, unsigned int tindex, const void* data, unsigned int length)
{
    if (rep == 21)
        return ByteString(static_cast<const unsigned char*>(data), length);
    const unsigned width = storedWidth(tindex);
    const bool aggregate = tindex == 195 || tindex == 202;
    if (width == 0 && !aggregate)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, formatName, 193);
    // A value shorter than its type is never read past its end.
    if (length < width || (width != 0 && data == nullptr))
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, formatName, 190);
    auto be = [&](unsigned size) { return byteorder::fromBigEndian(data, size); };
    switch (tindex) {
    case 128: return formatS1(static_cast<std::int8_t>(be(1)), rep);
    case 129: return formatS2(static_cast<std::int16_t>(be(2)), rep);
    case 130: return formatS4(static_cast<std::int32_t>(be(4)), rep);
    case 155: return formatS8(static_cast<std::int64_t>(be(8)), rep);
    case 132:
    case 144:
    case 148: return formatU1(static_cast<std::uint8_t>(be(1)), rep);
    case 133:
    case 145:
    case 149: return formatU2(static_cast<std::uint16_t>(be(2)), rep);
    case 134:
    case 146:
    case 150: return formatU4(static_cast<std::uint32_t>(be(4)), rep);
    case 156:
    case 157: return formatU8(be(8), rep);
    case 136: return formatF(data, rep);
    case 137: return formatD(data, rep);
    case 138: return formatLD(data, rep);
    case 139: return formatLD12(data, rep);
    case 140: return formatComplexF(data, rep);
    case 141: return formatComplexD(data, rep);
    case 142:
    case 143: return formatComplexLD(data, rep, tindex);
    case 159: return formatDecimalFloat(DecimalFloat(DecimalFloat::Size32, data), rep, DecimalFloat::Size32);
    case 192: return formatDecimalFloat(DecimalFloat(DecimalFloat::Size64, data), rep, DecimalFloat::Size64);
    case 193: return formatDecimalFloat(DecimalFloat(DecimalFloat::Size128, data), rep, DecimalFloat::Size128);
    case 195:
    case 202: return text("{...}");
    case 196: return formatFhexQUV(data, rep);
    case 197: return formatDhexQUV(data, rep);
    case 198: return formatLDhexQUV(data, rep);
    case 203: return formatComplexFhexQUV(data, rep);
    case 204: return formatComplexDhexQUV(data, rep);
    case 205: return formatComplexLDhexQUV(data, rep);
    default: throw InvalidOp(InvalidOp::RTRC_NotSupported, formatName, 193);
    }
}

ByteString FormatPrimitive::formatU1(std::uint8_t value, DBG_REPS rep)
{
    return integerText(1, false, value, value, rep, "static ByteString FormatPrimitive::formatU1(unsigned8, DBG_REPS)",
                       1063);
}

ByteString FormatPrimitive::formatU2(std::uint16_t value, DBG_REPS rep)
{
    return integerText(2, false, value, value, rep, "static ByteString FormatPrimitive::formatU2(unsigned16, DBG_REPS)",
                       1088);
}

ByteString FormatPrimitive::formatU4(std::uint32_t value, DBG_REPS rep)
{
    return integerText(4, false, value, value, rep, "static ByteString FormatPrimitive::formatU4(unsigned32, DBG_REPS)",
                       1113);
}

ByteString FormatPrimitive::formatU8(std::uint64_t value, DBG_REPS rep)
{
    return integerText(8, false, static_cast<std::int64_t>(value), value, rep,
                       "static ByteString FormatPrimitive::formatU8(unsigned64, DBG_REPS)", 1138);
}

ByteString FormatPrimitive::formatS1(std::int8_t value, DBG_REPS rep)
{
    return integerText(1, true, value, static_cast<std::uint8_t>(value), rep,
                       "static ByteString FormatPrimitive::formatS1(signed8, DBG_REPS)", 963);
}

ByteString FormatPrimitive::formatS2(std::int16_t value, DBG_REPS rep)
{
    return integerText(2, true, value, static_cast<std::uint16_t>(value), rep,
                       "static ByteString FormatPrimitive::formatS2(signed16, DBG_REPS)", 988);
}

ByteString FormatPrimitive::formatS4(std::int32_t value, DBG_REPS rep)
{
    return integerText(4, true, value, static_cast<std::uint32_t>(value), rep,
                       "static ByteString FormatPrimitive::formatS4(signed32, DBG_REPS)", 1013);
}

ByteString FormatPrimitive::formatS8(std::int64_t value, DBG_REPS rep)
{
    return integerText(8, true, value, static_cast<std::uint64_t>(value), rep,
                       "static ByteString FormatPrimitive::formatS8(signed64, DBG_REPS)", 1038);
}
