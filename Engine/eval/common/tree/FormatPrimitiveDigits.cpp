#include "tree/FormatPrimitive.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "services/CLocaleNumbers.h"
#include "services/EvaluationEnvironment.h"

ByteString FormatPrimitive::formatHexadecimal(unsigned long long value, unsigned int width)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    if (width > 0) {
        if (width > 16)
            width = 16;
        for (unsigned i = width; i > 0; --i)
            text += digits[(value >> (4 * (i - 1))) & 0xF];
    } else {
        do {
            text.insert(text.begin(), digits[value & 0xF]);
            value >>= 4;
        } while (value != 0);
    }
    if (isFortranLanguage())
        return FormatPrimitive::text("Z'" + text + "'");
    return FormatPrimitive::text("0x" + text);
}

ByteString FormatPrimitive::formatOctal(unsigned long long value)
{
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + (value & 7)));
        value >>= 3;
    } while (value != 0);
    if (isFortranLanguage())
        return FormatPrimitive::text("O'" + text + "'");
    if (text[0] != '0')
        text.insert(text.begin(), '0');
    return FormatPrimitive::text(text);
}

ByteString FormatPrimitive::formatBinary(unsigned long long value, unsigned int width)
{
    if (width > 64)
        width = 64;
    std::string text;
    for (unsigned i = width; i > 0; --i)
        text += ((value >> (i - 1)) & 1) != 0 ? '1' : '0';
    if (isFortranLanguage())
        return FormatPrimitive::text("B'" + text + "'");
    return FormatPrimitive::text(text);
}

ByteString FormatPrimitive::formatDecimal(long long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", value);
    return FormatPrimitive::text(buffer);
}

ByteString FormatPrimitive::formatDecimal(unsigned long long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llu", value);
    return FormatPrimitive::text(buffer);
}

ByteString FormatPrimitive::formatBoolean(int value)
{
    const bool fortran = isFortranLanguage();
    if (value == 0)
        return FormatPrimitive::text(fortran ? ".false." : "FALSE");
    if (value == 1)
        return FormatPrimitive::text(fortran ? ".true." : "TRUE");
    return FormatPrimitive::text("?? /* ") +
           formatDecimal(static_cast<unsigned long long>(static_cast<long long>(value))) + FormatPrimitive::text("*/");
}

ByteString FormatPrimitive::formatFloatAsHex(int count, const void* bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    const auto* b = static_cast<const unsigned char*>(bytes);
    std::string text = "X'";
    for (int i = 0; i < count; ++i) {
        text += digits[b[i] >> 4];
        text += digits[b[i] & 0xF];
    }
    text += "'";
    return FormatPrimitive::text(text);
}

ByteString FormatPrimitive::formatFloatAsFloat(int digits, long double value)
{
    char buffer[128];
    clocale_numbers::formatLongDouble(buffer, sizeof buffer, 'E', digits, value);
    return FormatPrimitive::text(formatFloatToComp(buffer));
}

std::string FormatPrimitive::formatFloatToComp(const char* text)
{
    std::string in(text != nullptr ? text : "");
    std::size_t e = in.find('E');
    std::size_t pos = 0;
    char sign = '+';
    if (!in.empty() && (in[0] == '+' || in[0] == '-')) {
        sign = in[0];
        pos = 1;
    }
    // Anything not of the form d.dddE±xx (infinities, NaNs) stays as it is.
    if (e == std::string::npos || e + 2 >= in.size() + 1 || pos >= e ||
        !std::isdigit(static_cast<unsigned char>(in[pos])))
        return in.substr(0, 59);
    std::string mantissa;
    for (std::size_t i = pos; i < e; ++i)
        if (std::isdigit(static_cast<unsigned char>(in[i])))
            mantissa += in[i];
    std::size_t expStart = e + 1;
    bool expNegative = false;
    if (expStart < in.size() && (in[expStart] == '+' || in[expStart] == '-')) {
        expNegative = in[expStart] == '-';
        ++expStart;
    }
    std::string expDigits = in.substr(expStart);
    if (expDigits.empty() || expDigits.find_first_not_of("0123456789") != std::string::npos)
        return in.substr(0, 59);
    long long exponent = std::strtoll(expDigits.c_str(), nullptr, 10);
    if (expNegative)
        exponent = -exponent;
    if (mantissa.find_first_not_of('0') != std::string::npos)
        ++exponent;
    char expSign = exponent < 0 ? '-' : '+';
    unsigned long long magnitude = static_cast<unsigned long long>(exponent < 0 ? -exponent : exponent);
    char expText[32];
    std::snprintf(expText, sizeof expText, "%0*llu", static_cast<int>(expDigits.size()), magnitude);
    std::string out;
    out += sign;
    out += '.';
    out += mantissa;
    out += 'E';
    out += expSign;
    out += expText;
    return out.substr(0, 59);
}
