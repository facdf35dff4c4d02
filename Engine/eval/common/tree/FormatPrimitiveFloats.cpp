#include "tree/FormatPrimitive.h"

#include "datatypes/ZfloatingPoint.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/Extended12.h"

namespace {

const unsigned char* at(const void* bytes, unsigned offset)
{
    return static_cast<const unsigned char*>(bytes) + offset;
}

ByteString binary(const void* bytes, unsigned size, bool hex, int digits)
{
    return FormatPrimitive::formatFloatAsFloat(digits, ZfloatingPoint::ldFromZfp(bytes, size, hex));
}

ByteString pair(const ByteString& real, const ByteString& imaginary, bool fortranForm)
{
    if (fortranForm)
        return FormatPrimitive::text("( ") + real + FormatPrimitive::text(" , ") + imaginary +
               FormatPrimitive::text(" )");
    return real + FormatPrimitive::text(" + ") + imaginary + FormatPrimitive::text(" * __I");
}

// Hexadecimal text of a 16-byte value: two groups of 8 bytes.
ByteString hex16(const void* bytes)
{
    return FormatPrimitive::formatFloatAsHex(8, bytes) + FormatPrimitive::text(" ") +
           FormatPrimitive::formatFloatAsHex(8, at(bytes, 8));
}

[[noreturn]] void refuse(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_InvalidFormat, function, line);
}

}  // namespace

ByteString FormatPrimitive::formatF(const void* bytes, DBG_REPS rep)
{
    if (rep == 1)
        return formatFloatAsHex(4, bytes);
    if (rep == 8)
        return binary(bytes, 4, false, 7);
    refuse("static ByteString FormatPrimitive::formatF(const float&, DBG_REPS)", 615);
}

ByteString FormatPrimitive::formatD(const void* bytes, DBG_REPS rep)
{
    if (rep == 1)
        return formatFloatAsHex(8, bytes);
    if (rep == 8)
        return binary(bytes, 8, false, 16);
    refuse("static ByteString FormatPrimitive::formatD(const double&, DBG_REPS)", 492);
}

ByteString FormatPrimitive::formatLD(const void* bytes, DBG_REPS rep)
{
    if (rep == 1)
        return hex16(bytes);
    if (rep == 8)
        return binary(bytes, 16, false, 19);
    refuse("static ByteString FormatPrimitive::formatLD(const long double&, DBG_REPS)", 854);
}

ByteString FormatPrimitive::formatLD12(const void* bytes, DBG_REPS rep)
{
    if (rep == 1)
        return formatFloatAsHex(Extended12::slotSize, bytes);
    if (rep == 8)
        return formatFloatAsFloat(19, Extended12::decode(bytes));
    refuse("static ByteString FormatPrimitive::formatLD12(const LongDouble12&, DBG_REPS)", 874);
}

ByteString FormatPrimitive::formatFhexQUV(const void* bytes, DBG_REPS rep)
{
    if (rep == 1)
        return formatFloatAsHex(4, bytes);
    if (rep == 8)
        return binary(bytes, 4, true, 7);
    refuse("static ByteString FormatPrimitive::formatFhexQUV(const float&, DBG_REPS)", 739);
}

ByteString FormatPrimitive::formatDhexQUV(const void* bytes, DBG_REPS rep)
{
    if (rep == 1)
        return formatFloatAsHex(8, bytes);
    if (rep == 8)
        return binary(bytes, 8, true, 16);
    refuse("static ByteString FormatPrimitive::formatDhexQUV(const double&, DBG_REPS)", 579);
}

ByteString FormatPrimitive::formatLDhexQUV(const void* bytes, DBG_REPS rep)
{
    if (rep == 1)
        return hex16(bytes);
    if (rep == 8)
        return binary(bytes, 16, true, 19);
    refuse("static ByteString FormatPrimitive::formatLDhexQUV(const long double&, DBG_REPS)", 915);
}

ByteString FormatPrimitive::formatComplexF(const void* bytes, DBG_REPS rep)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatComplexF(const ComplexF&, DBG_REPS)", 287);
    return pair(binary(bytes, 4, false, 7), binary(at(bytes, 4), 4, false, 7), isFortranLanguage());
}

ByteString FormatPrimitive::formatComplexD(const void* bytes, DBG_REPS rep)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatComplexD(const ComplexD&, DBG_REPS)", 265);
    return pair(binary(bytes, 8, false, 16), binary(at(bytes, 8), 8, false, 16),
                isFortranLanguage());
}

ByteString FormatPrimitive::formatComplexLD(const void* bytes, DBG_REPS rep, unsigned int tindex)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatComplexLD(const ComplexLD&, DBG_REPS)", 309);
    if (tindex == 143)
        return pair(formatFloatAsFloat(19, Extended12::decode(bytes)),
                    formatFloatAsFloat(19, Extended12::decode(at(bytes, Extended12::slotSize))),
                    isFortranLanguage());
    return pair(binary(bytes, 16, false, 19), binary(at(bytes, 16), 16, false, 19),
                isFortranLanguage());
}

ByteString FormatPrimitive::formatComplexFhexQUV(const void* bytes, DBG_REPS rep)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatComplexFhexQUV(const ComplexF&, DBG_REPS)", 380);
    return pair(binary(bytes, 4, true, 7), binary(at(bytes, 4), 4, true, 7), false);
}

ByteString FormatPrimitive::formatComplexDhexQUV(const void* bytes, DBG_REPS rep)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatComplexDhexQUV(const ComplexD&, DBG_REPS)", 331);
    return pair(binary(bytes, 8, true, 16), binary(at(bytes, 8), 8, true, 16), false);
}

ByteString FormatPrimitive::formatComplexLDhexQUV(const void* bytes, DBG_REPS rep)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatComplexLDhexQUV(const ComplexLD&, DBG_REPS)", 426);
    return pair(binary(bytes, 16, true, 19), binary(at(bytes, 16), 16, true, 19), false);
}

ByteString FormatPrimitive::formatDecimalFloat(const DecimalFloat& value, DBG_REPS rep, DecimalFloat::Size)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatDecimalFloat(const DecimalFloat&, DBG_REPS, "
               "DecimalFloat::Size)",
               588);
    ByteString text;
    value.format(text);
    return text;
}
