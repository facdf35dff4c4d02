// The services object: literal values and figurative constants. A value
// holds the bytes the debuggee will hold: numbers as spelled, character data
// converted to the environment's EBCDIC code page, national data as UTF-16
// big-endian.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <plomkit/CharString.h>

#include "compiler/CLiteralEscapes.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelFigConstant.h"
#include "compiler/EE_OstrelLiteralValue.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Token.h"
#include "services/CurrentEnvironmentQueries.h"
#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"

namespace {

// Token kinds of the literal forms.
enum : unsigned {
    tokenLiteral = 0,
    tokenHex = 102,         // X'..'
    tokenDbcs = 114,        // G'..'
    tokenAddress = 115,     // H'..'
    tokenNational = 116,    // N'..'
    tokenHexNational = 117, // NX'..'
    tokenTerminated = 118,  // Z'..'
};

// The text in the environment's EBCDIC code page. When the host needs more
// room than offered it is asked again with the room it reported.
std::string toCodePage(const char* source, std::size_t length, std::size_t room)
{
    if (length > 0xFFFF)
        servicesRefuse();
    std::string out(room, '\0');
    BYTE4 answer = SVC::ExprEbcdicConvert(source, static_cast<UBYTE2>(length), out.data(), static_cast<UBYTE2>(room),
                                          nullptr, Conv_ToCodePage);
    if (answer < 0)
        servicesRefuse();
    if (static_cast<std::size_t>(answer) > room) {
        if (answer > 0xFFFF)
            servicesRefuse();
        room = static_cast<std::size_t>(answer);
        out.assign(room, '\0');
        answer = SVC::ExprEbcdicConvert(source, static_cast<UBYTE2>(length), out.data(), static_cast<UBYTE2>(room),
                                        nullptr, Conv_ToCodePage);
        if (answer < 0 || static_cast<std::size_t>(answer) > room)
            servicesRefuse();
    }
    out.resize(static_cast<std::size_t>(answer));
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

// UTF-8 text as UTF-16 big-endian; a character above U+FFFF takes a
// surrogate pair.
std::string toUtf16BigEndian(const std::string& text)
{
    CharString wide;
    wide.loadFrom(text.data(), static_cast<unsigned>(text.size()), Encoding_UTF8);
    std::string out;
    auto unit = [&out](unsigned u) {
        out.push_back(static_cast<char>((u >> 8) & 0xFF));
        out.push_back(static_cast<char>(u & 0xFF));
    };
    for (unsigned i = 0; i < wide.length(); ++i) {
        const unsigned long code = static_cast<unsigned long>(wide[i]);
        if (code > 0xFFFF && code <= 0x10FFFF) {
            const unsigned long v = code - 0x10000;
            unit(static_cast<unsigned>(0xD800 + (v >> 10)));
            unit(static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
        } else {
            unit(static_cast<unsigned>(code));
        }
    }
    return out;
}

} // namespace

EE_OstrelLiteralValue* EE_OstrelServices::newLiteral(EE_LiteralValue::Kind kind, EE_TypeDescriptor* type,
                                                     const char* bytes, std::size_t length)
{
    return new (arena) EE_OstrelLiteralValue(kind, type, bytes, length, arena);
}

unsigned char EE_OstrelServices::compilationSetting(unsigned setting)
{
    COMPILATION_SETTING_VALUE value{};
    if (!SVC::ExprGetCompilationSettingValue(CurrentEnvironment::currentContext(), setting, &value))
        return 0;
    return value.value;
}

// The string types of COBOL literals are sized by the scanner from the
// spelling; a value whose conversion changed its length gets a type of the
// value's length, of the same kind and flags.
EE_TypeDescriptor* EE_OstrelServices::sizedToValue(EE_TypeDescriptor& type, std::size_t length)
{
    const TypeItem* key = EE_OstrelTypeDescriptor::typeOf(type);
    if (key == nullptr || sizeOfType(key) == length)
        return &type;
    if (length > 0xFFFFFFFFu)
        servicesRefuse();
    const auto n = static_cast<std::uint32_t>(length);
    switch (type.kind) {
    case EE_TypeDescriptor::NationalString:
        return descriptors.findOrCreateNationalStringTypeDescriptor(
            type.kind, {n, static_cast<std::uint8_t>(present(typeNationalStringInfo(key)).flags & 7)});
    case EE_TypeDescriptor::DbcsString:
        return descriptors.findOrCreateDbcsStringTypeDescriptor(
            type.kind, {n, static_cast<std::uint8_t>(present(typeDbcsStringInfo(key)).flags & 7)});
    default:
        return descriptors.findOrCreateCharstringTypeDescriptor(
            type.kind, {n, static_cast<std::uint8_t>(present(typeCharstringInfo(key)).flags & 7)});
    }
}

EE_LiteralValue* EE_OstrelServices::cobolStringLiteral(const EE_Token& token, EE_TypeDescriptor& type)
{
    const char* spelling = token.spelling;
    const unsigned length = token.length;
    std::string value;
    if (token.kind == tokenHex || token.kind == tokenHexNational) {
        const unsigned prefix = token.kind == tokenHex ? 1 : 2;
        if (length < prefix + 2)
            servicesRefuse();
        const char* digits = spelling + prefix + 1;
        const unsigned count = (length - prefix - 2) / 2;
        for (unsigned i = 0; i < count; ++i)
            value.push_back(static_cast<char>(hexDigit(digits[2 * i]) << 4 | hexDigit(digits[2 * i + 1])));
    } else {
        std::string source;
        if (token.kind == tokenDbcs) {
            // G, delimiter, shift-out ... shift-in, delimiter.
            if (length < 5)
                servicesRefuse();
            source.assign(spelling + 3, length - 5);
        } else {
            const unsigned start = token.kind == tokenNational || token.kind == tokenTerminated ? 2 : 1;
            if (length < start + 1)
                servicesRefuse();
            const char delimiter = spelling[start - 1];
            const char* end = spelling + length - 1;
            for (const char* p = spelling + start; p < end; ++p) {
                source.push_back(*p);
                if (*p == delimiter && p + 1 < end && p[1] == delimiter)
                    ++p;
            }
        }
        if (token.kind == tokenNational) {
            value = toUtf16BigEndian(source);
        } else {
            value = toCodePage(source.data(), source.size(), source.size());
            if (token.kind == tokenTerminated)
                value.push_back('\0');
        }
    }
    EE_LiteralValue::Kind kind = EE_LiteralValue::Alphanumeric;
    if (type.kind == EE_TypeDescriptor::NationalString)
        kind = EE_LiteralValue::National;
    else if (type.kind == EE_TypeDescriptor::DbcsString)
        kind = EE_LiteralValue::Dbcs;
    return newLiteral(kind, sizedToValue(type, value.size()), value.data(), value.size());
}

// A character literal is a char in C++ and Fortran; in C and UPC it is an
// int holding the character's code.
EE_LiteralValue* EE_OstrelServices::characterLiteral(const EE_Token& token, EE_TypeDescriptor& type)
{
    if (token.length < 2)
        servicesRefuse();
    const int language = EE_currentLanguage();
    EE_TypeDescriptor* literalType = &type;
    if (language != EE_LanguageCPP && language != EE_LanguageFortran && !isCobol())
        literalType = signedIntTypeDescriptor();
    if (alternateCharacterSet() != 0)
        return newLiteral(EE_LiteralValue::Character, literalType, token.spelling + 1, token.length - 2);
    // One character, an escape decoded; the scanner has counted it.
    const std::string value = narrowText(token, 1);
    if (value.size() != 1)
        badLiteral(token);
    return newLiteral(EE_LiteralValue::Character, literalType, value.data(), value.size());
}

// The text between the quotes of a C literal (after a prefix of the given
// length), its escapes decoded, in the target's code page.
std::string EE_OstrelServices::narrowText(const EE_Token& token, unsigned prefix)
{
    if (token.length < prefix + 1)
        servicesRefuse();
    std::string value;
    const auto convert = [](const std::string& run) { return toCodePage(run.data(), run.size(), run.size()); };
    if (!CLiteralEscapes::narrow(token.spelling + prefix, token.length - prefix - 1, convert, value))
        badLiteral(token);
    return value;
}

// A literal whose text holds no value of its type (an escape beyond the
// character's range): refused with the literal as written.
void EE_OstrelServices::badLiteral(const EE_Token& token)
{
    throw EE_ParseException(EE_ParseException::BadLiteral, arenaText(EE_String(token.spelling, token.length, nullptr)));
}

EE_LiteralValue* EE_OstrelServices::stringLiteral(const EE_Token& token, EE_TypeDescriptor& type)
{
    if (token.kind == tokenAddress)
        return newLiteral(EE_LiteralValue::Hexadecimal, &type, token.spelling, token.length);
    const EE_TypeDescriptor& target = present(type.next);
    switch (target.kind) {
    case EE_TypeDescriptor::WcharT: {
        // Units of the program's wchar_t, big-endian.
        if (token.length < 3)
            servicesRefuse();
        const TypeItem* wchar = typeWcharT();
        if (wchar == nullptr)
            servicesRefuse();
        std::string value;
        if (!CLiteralEscapes::wide(token.spelling + 2, token.length - 3, static_cast<unsigned>(wchar->typeSize()),
                                   value))
            badLiteral(token);
        return newLiteral(EE_LiteralValue::WideString, &type, value.data(), value.size());
    }
    case EE_TypeDescriptor::Char:
    case EE_TypeDescriptor::UnsignedChar: {
        const std::string value = narrowText(token, 1);
        return newLiteral(EE_LiteralValue::String, &type, value.data(), value.size());
    }
    default: servicesRefuse();
    }
}

EE_LiteralValue* EE_OstrelServices::findOrCreateLiteralValue(EE_Token& token)
{
    switch (token.kind) {
    case tokenLiteral:
    case tokenHex:
    case tokenDbcs:
    case tokenAddress:
    case tokenNational:
    case tokenHexNational:
    case tokenTerminated: break;
    default: servicesRefuse();
    }
    EE_TypeDescriptor& type = present(token.type);
    if (token.spelling == nullptr)
        servicesRefuse();
    EE_LiteralValue* value = literalOfToken(token, type);
    // Messages show the literal as the user wrote it.
    static_cast<EE_OstrelLiteralValue*>(value)->keepSpelling(token.spelling, token.length, arena);
    return value;
}

EE_LiteralValue* EE_OstrelServices::literalOfToken(const EE_Token& token, EE_TypeDescriptor& type)
{
    auto spelled = [&](EE_LiteralValue::Kind kind) { return newLiteral(kind, &type, token.spelling, token.length); };
    switch (type.kind) {
    case EE_TypeDescriptor::Int:
    case EE_TypeDescriptor::UnsignedInt:
    case EE_TypeDescriptor::Long:
    case EE_TypeDescriptor::UnsignedLong:
    case EE_TypeDescriptor::LongLong:
    case EE_TypeDescriptor::UnsignedLongLong: return spelled(EE_LiteralValue::Integral);
    case EE_TypeDescriptor::Float:
    case EE_TypeDescriptor::Double:
    case EE_TypeDescriptor::LongDouble:
    case EE_TypeDescriptor::HexFloat:
    case EE_TypeDescriptor::HexDouble:
    case EE_TypeDescriptor::HexLongDouble: return spelled(EE_LiteralValue::Real);
    case EE_TypeDescriptor::Decimal32:
    case EE_TypeDescriptor::Decimal64:
    case EE_TypeDescriptor::Decimal128: return spelled(EE_LiteralValue::DecimalReal);
    case EE_TypeDescriptor::PackedDecimal: return spelled(EE_LiteralValue::PackedDecimal);
    case EE_TypeDescriptor::FixedPointBinary: return spelled(EE_LiteralValue::FixedPointBinary);
    case EE_TypeDescriptor::ZonedDecimal: return spelled(EE_LiteralValue::ZonedDecimal);
    case EE_TypeDescriptor::WcharT:
        if (token.length < 3)
            servicesRefuse();
        return newLiteral(EE_LiteralValue::WideCharacter, &type, token.spelling + 2, token.length - 3);
    case EE_TypeDescriptor::Char: return characterLiteral(token, type);
    case EE_TypeDescriptor::AlphanumericString:
    case EE_TypeDescriptor::NationalString:
    case EE_TypeDescriptor::DbcsString: return cobolStringLiteral(token, type);
    case EE_TypeDescriptor::Pointer: return stringLiteral(token, type);
    default: servicesRefuse();
    }
}

EE_LiteralValue* EE_OstrelServices::findOrCreateTrueLiteralValue()
{
    if (trueLiteral == nullptr)
        trueLiteral = newLiteral(EE_LiteralValue::Integral, boolTypeDescriptor(), "1", 1);
    return trueLiteral;
}

EE_LiteralValue* EE_OstrelServices::findOrCreateFalseLiteralValue()
{
    if (falseLiteral == nullptr)
        falseLiteral = newLiteral(EE_LiteralValue::Integral, boolTypeDescriptor(), "0", 1);
    return falseLiteral;
}

EE_LiteralValue* EE_OstrelServices::findOrCreateDefaultSectionLiteralValue()
{
    if (defaultSectionLiteral == nullptr)
        defaultSectionLiteral = newLiteral(EE_LiteralValue::Integral, signedIntTypeDescriptor(), "1", 1);
    return defaultSectionLiteral;
}

// Typed unsigned long long whatever the sign; the text keeps the sign.
EE_LiteralValue* EE_OstrelServices::createIntegerLiteralValue(long long value)
{
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%lld", value);
    return newLiteral(EE_LiteralValue::Integral, unsignedLongLongIntTypeDescriptor(), text,
                      static_cast<std::size_t>(n));
}

// A folded constant as fixed-point binary while it has fewer than 19 digits,
// else as packed decimal.
EE_LiteralValue* EE_OstrelServices::createFixedPointLiteralValue(long long value)
{
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%lld", value);
    const unsigned digits = static_cast<unsigned>(value < 0 ? n - 1 : n);
    const bool binary = digits < 19;
    EE_TypeDescriptor* type = findOrCreateFixedPointTypeDescriptor(binary ? EE_TypeDescriptor::FixedPointBinary
                                                                          : EE_TypeDescriptor::PackedDecimal,
                                                                   digits, 0, value < 0, EE_DecimalSignNone);
    return newLiteral(binary ? EE_LiteralValue::FixedPointBinary : EE_LiteralValue::PackedDecimal, type, text,
                      static_cast<std::size_t>(n));
}

// The leading decimal number of the text ("12ab" is 12); no digit refuses.
long long EE_OstrelServices::integerValue(const EE_LiteralValue& value)
{
    const char* text = static_cast<const EE_OstrelLiteralValue&>(value).text.data();
    if (text == nullptr)
        servicesRefuse();
    char* end = nullptr;
    errno = 0;
    const long long answer = std::strtoll(text, &end, 10);
    if (end == text)
        servicesRefuse();
    return answer;
}

EE_FigConstant* EE_OstrelServices::findOrCreateFigConstantValue(EE_Token& token)
{
    unsigned char byte = 0;
    switch (token.kind) {
    case 103:
    case 120: byte = 0xFF; break;
    case 105:
    case 121:
    case 106:
    case 122: byte = 0x00; break;
    case 108:
    case 123: byte = compilationSetting(1) != 0 ? 0x7D : 0x7F; break;
    case 109:
    case 124: byte = 0x40; break;
    case 110:
    case 125: byte = 0xF0; break;
    default: servicesRefuse();
    }
    EE_TypeDescriptor* type = findOrCreateTypeDescriptor(&present(createCharstringType(39, 1, 0)));
    return new (arena) EE_OstrelFigConstant(token.kind, type, static_cast<char>(byte), arena);
}
