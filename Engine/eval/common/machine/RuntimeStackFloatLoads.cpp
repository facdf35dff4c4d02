#include "machine/RuntimeStack.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemComplexFloat.h"
#include "machine/StackItemDecimalFloat.h"
#include "machine/StackItemFloat.h"
#include "services/CLocaleNumbers.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"

// The loads of real, complex and decimal floating-point constants and
// literals.

namespace {

// The size code of a long double constant (not a byte count).
constexpr std::int16_t longDoubleCode = 12;

using dataitem::refuse;

// The fields a scan of "<number>%c%c" fills: 0 when no number is there,
// else 1 plus the characters behind it (at most 2).
int scanFields(const char* rest)
{
    if (rest[0] == '\0')
        return 1;
    return rest[1] == '\0' ? 2 : 3;
}

int hexDigit(char c)
{
    static const char digits[] = "0123456789ABCDEFabcdef";
    const char* at = c != '\0' ? std::strchr(digits, c) : nullptr;
    if (at == nullptr)
        return -1;
    const int position = static_cast<int>(at - digits);
    return position < 16 ? position : position - 6;
}

// A decimal literal: the value and the characters behind it.
int scanDecimal(const char* text, long double& value, const char*& rest)
{
    char* end = nullptr;
    value = clocale_numbers::toLongDouble(text, &end);
    if (end == text)
        return 0;
    rest = end;
    return scanFields(rest);
}

// A hexadecimal literal from its first digit; the sign is applied by the
// caller.
int scanHexadecimal(const char* digits, long double& value, const char*& rest, const char* function)
{
    const char* p = digits;
    if (*p == '\0')
        refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
    value = 0;
    for (int d; (d = hexDigit(*p)) >= 0; ++p)
        value = value * 16 + d;
    if (*p == '.') {
        long double scale = 16;
        for (int d; (d = hexDigit(*++p)) >= 0; scale *= 16)
            value += d / scale;
    }
    if (*p != 'p' && *p != 'P')
        refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
    ++p;
    // The exponent as a C int: an optional sign and decimal digits.
    char* end = nullptr;
    const long exponent = std::strtol(p, &end, 10);
    if (end == p)
        return 0;
    const int n = exponent > INT_MAX ? INT_MAX : exponent < INT_MIN ? INT_MIN : static_cast<int>(exponent);
    value = ldexpl(value, n);
    rest = end;
    return scanFields(rest);
}

// The width of a decimal floating-point literal from its suffix, which is
// removed from text.
DecimalFloat::Size decimalSuffix(std::string& text, const char* function)
{
    for (const char* letters : {"DFDL", "dfdl"}) {
        const std::string::size_type at = text.find(letters[0]);
        if (at == std::string::npos)
            continue;
        if (at + 2 != text.size())
            refuse(InvalidOp::RTRC_Other, function, __LINE__);
        const char last = text[at + 1];
        DecimalFloat::Size size;
        if (last == letters[1])
            size = DecimalFloat::Size32;
        else if (last == letters[2])
            size = DecimalFloat::Size64;
        else if (last == letters[3])
            size = DecimalFloat::Size128;
        else
            refuse(InvalidOp::RTRC_Other, function, __LINE__);
        text.erase(at);
        return size;
    }
    return DecimalFloat::Size64;
}

} // namespace

void RuntimeStack::genLoadRealConstant(long double value, std::int16_t size)
{
    if (!isRunning())
        return;
    EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
    const FloatNumber number(value);
    std::unique_ptr<StackItem> item;
    switch (size) {
    case 4: item = std::make_unique<StackItemF>(environment, number); break;
    case 8: item = std::make_unique<StackItemD>(environment, number); break;
    case longDoubleCode: item = std::make_unique<StackItemLD>(environment, number); break;
    default: refuse(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    push(item.get());
    item.release();
}

void RuntimeStack::genLoadComplexConstant(long double real, long double imaginary, std::int16_t size)
{
    if (!isRunning())
        return;
    EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
    std::unique_ptr<StackItem> item;
    switch (size) {
    case 4:
        item = std::make_unique<StackItemComplexF>(environment, FloatNumber(static_cast<float>(real)),
                                                   FloatNumber(static_cast<float>(imaginary)), FloatNumber::IEEE);
        break;
    case 8:
        item = std::make_unique<StackItemComplexD>(environment, FloatNumber(static_cast<double>(real)),
                                                   FloatNumber(static_cast<double>(imaginary)), FloatNumber::IEEE);
        break;
    case longDoubleCode:
        item = std::make_unique<StackItemComplexLD>(environment, FloatNumber(real), FloatNumber(imaginary),
                                                    FloatNumber::IEEE);
        break;
    default: refuse(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    push(item.get());
    item.release();
}

void RuntimeStack::genLoadI(std::int16_t size)
{
    if (!isRunning())
        return;
    if (size != 4 && size != 8 && size != longDoubleCode)
        refuse(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    genLoadComplexConstant(0.0L, 1.0L, size);
}

void RuntimeStack::genLoadRealValue(const char* text)
{
    if (!isRunning())
        return;
    static const char* const function = __PRETTY_FUNCTION__;
    if (text == nullptr || text[0] == '\0')
        refuse(InvalidOp::RTRC_Other, function, __LINE__);

    const char* p = text;
    while (*p == ' ')
        ++p;
    const char first = *p;
    while (*p == '+' || *p == '-' || *p == ' ')
        ++p;

    long double value = 0;
    const char* rest = "";
    std::string copy; // a Fortran literal read again; rest may point into it
    int fields;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        fields = scanHexadecimal(p + 2, value, rest, function);
        if (fields == 0 || fields == 3)
            refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
        if (first == '-')
            value = -value;
    } else {
        fields = scanDecimal(text, value, rest);
        if (fields == 3) {
            // A Fortran exponent letter: read again with it as 'e'.
            const char letter = rest[0];
            if (std::strchr("dDqQ", letter) == nullptr)
                refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
            copy = text;
            for (char& c : copy)
                if (c == letter)
                    c = 'e';
            fields = scanDecimal(copy.c_str(), value, rest);
            if (fields == 0 || fields == 3)
                refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
        }
        if (fields == 0)
            refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
    }

    const bool hexadecimal = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
    const char suffix = fields == 2 ? rest[0] : '\0';
    if (suffix != '\0' && suffix != 'f' && suffix != 'F' && suffix != 'l' && suffix != 'L')
        refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
    // A decimal literal is read correctly rounded to its own format (no
    // suffix or Fortran's d exponent double, f float), so that the
    // conversion to that format which follows it is exact: rounded first to
    // long double, a value halfway between two doubles could round twice.
    const bool decimal = !hexadecimal && copy.empty();
    // Fortran's d exponent makes a double precision literal, q a quad one.
    const bool fortranDouble = !copy.empty() && std::strpbrk(text, "dD") != nullptr;
    if (suffix == 'f' || suffix == 'F') {
        // A float literal beyond float's range, or one that rounds to zero,
        // is refused.
        const float narrow = decimal ? clocale_numbers::toFloat(text, nullptr) : static_cast<float>(value);
        if (std::isinf(narrow) || (narrow == 0 && value != 0))
            refuse(InvalidOp::RTRC_ParserError, function, __LINE__);
        value = narrow;
    } else if (suffix == '\0' && (decimal || fortranDouble)) {
        // Beyond double's range the value stays as read: its conversion to
        // double answers for it.
        const double rounded = clocale_numbers::toDouble(decimal ? text : copy.c_str(), nullptr);
        if (!std::isinf(rounded))
            value = rounded;
    }
    genLoadRealConstant(value, longDoubleCode);
}

void RuntimeStack::genLoadDecimalRealValue(const char* text)
{
    if (!isRunning())
        return;
    static const char* const function = __PRETTY_FUNCTION__;
    if (text == nullptr || text[0] == '\0')
        refuse(InvalidOp::RTRC_Other, function, __LINE__);
    std::string literal(text);
    const std::string::size_type begin = literal.find_first_not_of(' ');
    if (begin == std::string::npos)
        refuse(InvalidOp::RTRC_Other, function, __LINE__);
    literal = literal.substr(begin, literal.find_last_not_of(' ') - begin + 1);

    const DecimalFloat::Size size = decimalSuffix(literal, function);
    if (literal.empty())
        refuse(InvalidOp::RTRC_Other, function, __LINE__);
    const DecimalFloat value(literal.c_str(), DecimalFloat::Size128);
    if ((value.context().status & DEC_Conversion_syntax) != 0)
        refuse(InvalidOp::RTRC_Other, function, __LINE__);

    EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
    std::unique_ptr<StackItem> item;
    switch (size) {
    case DecimalFloat::Size32: item = std::make_unique<StackItemDecimalFloat32>(environment, value); break;
    case DecimalFloat::Size64: item = std::make_unique<StackItemDecimalFloat64>(environment, value); break;
    default: item = std::make_unique<StackItemDecimalFloat128>(environment, value); break;
    }
    push(item.get());
    item.release();
}
