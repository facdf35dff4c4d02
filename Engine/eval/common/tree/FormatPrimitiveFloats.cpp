#include "tree/FormatPrimitive.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "datatypes/ZfloatingPoint.h"
#include "services/CLocaleNumbers.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/Extended12.h"

namespace {

const unsigned char* at(const void* bytes, unsigned offset)
{
    return static_cast<const unsigned char*>(bytes) + offset;
}

// The most significant digits a value of each stored format needs to read
// back to itself: 9 for a 4-byte float, 17 for an IEEE double, 18 for a
// hexadecimal double (56 bits), 21 for what a long double holds of the
// 16-byte formats.
int maximumDigits(unsigned size, bool hex)
{
    switch (size) {
    case 4: return 9;
    case 8: return hex ? 18 : 17;
    default: return 21;
    }
}

// Whether text, read back, is the value of the stored format: an IEEE float
// or double reads back as C's strtof or strtod reads it; a hexadecimal one
// when what it reads lies nearer to the value than half a unit of the
// format's last place (or is the value itself).
bool readsBack(const char* text, long double value, unsigned size, bool hex)
{
    if (!hex && size == 4) {
        const float back = clocale_numbers::toFloat(text, nullptr);
        return back == static_cast<float>(value) && std::signbit(back) == std::signbit(value);
    }
    if (!hex && size == 8) {
        const double back = clocale_numbers::toDouble(text, nullptr);
        return back == static_cast<double>(value) && std::signbit(back) == std::signbit(value);
    }
    const long double back = clocale_numbers::toLongDouble(text, nullptr);
    if (back == value)
        return std::signbit(back) == std::signbit(value);
    if (value == 0)
        return false;
    int exponent = 0;
    std::frexp(std::fabs(value), &exponent); // |value| = m * 2^exponent, 1/2 <= m < 1
    // |value| = f * 16^h with 1/16 <= f < 1 and 6 or 14 hexadecimal digits
    // of fraction.
    const int h = exponent >= 0 ? (exponent + 3) / 4 : -((-exponent) / 4);
    const long double unit = std::ldexp(1.0L, 4 * h - 4 * (size == 4 ? 6 : 14));
    return 2 * std::fabs(back - value) < unit;
}

// The value of size stored bytes as the shortest text (as printf's %.Ng
// writes it in the C locale: the point whatever the host's locale) that
// reads back to the same value of that format.
ByteString binary(const void* bytes, unsigned size, bool hex, int)
{
    const long double value = ZfloatingPoint::ldFromZfp(bytes, size, hex);
    const int most = maximumDigits(size, hex);
    char text[64];
    // A 16-byte value is held in a long double: all of its digits.
    if (std::isfinite(value) && size != 16) {
        for (int digits = 1; digits < most; ++digits) {
            clocale_numbers::formatGeneral(text, sizeof text, digits, value);
            if (!readsBack(text, value, size, hex))
                continue;
            // A whole number that the longest text writes without an
            // exponent keeps all of its digits: 100, not 1e+02.
            if (const char* e = std::strstr(text, "e+")) {
                const int exponent = std::atoi(e + 2);
                if (exponent >= digits && exponent < most)
                    clocale_numbers::formatGeneral(text, sizeof text, exponent + 1, value);
            }
            return FormatPrimitive::text(text);
        }
    }
    clocale_numbers::formatGeneral(text, sizeof text, most, value);
    return FormatPrimitive::text(text);
}

// A 12-byte long double: the shortest text that reads back to the value.
ByteString extended(long double value)
{
    char text[64];
    for (int digits = 1; digits < 21; ++digits) {
        clocale_numbers::formatGeneral(text, sizeof text, digits, value);
        if (clocale_numbers::toLongDouble(text, nullptr) == value)
            return FormatPrimitive::text(text);
    }
    clocale_numbers::formatGeneral(text, sizeof text, 21, value);
    return FormatPrimitive::text(text);
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

} // namespace

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
        return extended(Extended12::decode(bytes));
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
    return pair(binary(bytes, 8, false, 16), binary(at(bytes, 8), 8, false, 16), isFortranLanguage());
}

ByteString FormatPrimitive::formatComplexLD(const void* bytes, DBG_REPS rep, unsigned int tindex)
{
    if (rep != 8)
        refuse("static ByteString FormatPrimitive::formatComplexLD(const ComplexLD&, DBG_REPS)", 309);
    if (tindex == 143)
        return pair(extended(Extended12::decode(bytes)), extended(Extended12::decode(at(bytes, Extended12::slotSize))),
                    isFortranLanguage());
    return pair(binary(bytes, 16, false, 19), binary(at(bytes, 16), 16, false, 19), isFortranLanguage());
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
