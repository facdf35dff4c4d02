#include "machine/LiteralParsers.h"

#include "machine/DigitConvert.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"

namespace {

using Append = bool (*)(unsigned char, std::uint64_t&);

[[noreturn]] void parserError(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_ParserError, function, line);
}

std::uint64_t readValue(const char*& position, const char* end, Append append)
{
    if (position >= end)
        parserError(__PRETTY_FUNCTION__, __LINE__);
    std::uint64_t value = 0;
    const char* start = position;
    while (position < end && *position != '\0' && append(static_cast<unsigned char>(*position), value))
        ++position;
    if (position == start)
        parserError(__PRETTY_FUNCTION__, __LINE__);
    return value;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The quoted forms: the letter and the opening quote are skipped, the
// digits read up to the last byte of the text at most, and the closing
// quote skipped without being looked at.
std::uint64_t readQuoted(const char*& position, const char* end, Append append)
{
    if (end - position < 2)
        parserError(__PRETTY_FUNCTION__, __LINE__);
    position += 2;
    const std::uint64_t value = readValue(position, end - 1, append);
    ++position;
    return value;
}

} // namespace

std::uint64_t readBinValue(const char*& position, const char* end)
{
    return readValue(position, end, DigitConvert::appendBin);
}

std::uint64_t readOctValue(const char*& position, const char* end)
{
    return readValue(position, end, DigitConvert::appendOct);
}

std::uint64_t readDecValue(const char*& position, const char* end)
{
    return readValue(position, end, DigitConvert::appendDec);
}

std::uint64_t readHexValue(const char*& position, const char* end)
{
    return readValue(position, end, DigitConvert::appendHex);
}

std::uint64_t readIntegralValue(const char* text, unsigned length, int& isSigned, int& size)
{
    if (text == nullptr)
        parserError(__PRETTY_FUNCTION__, __LINE__);
    const char* p = text;
    const char* const end = text + length;
    while (p < end && isSpace(*p))
        ++p;
    if (p >= end)
        parserError(__PRETTY_FUNCTION__, __LINE__);
    const bool negative = *p == '-';
    if (negative)
        ++p;
    if (p < end && *p == '+')
        ++p;
    while (p < end && isSpace(*p))
        ++p;
    if (p >= end)
        parserError(__PRETTY_FUNCTION__, __LINE__);

    isSigned = 1;
    size = 0;
    std::uint64_t value = 0;
    switch (*p) {
    case '0':
        if (isFortranLanguage())
            value = readDecValue(p, end);
        else if (end - p >= 2 && (p[1] == 'x' || p[1] == 'X')) {
            p += 2;
            value = readHexValue(p, end);
        } else
            value = readOctValue(p, end);
        break;
    case 'B':
    case 'b': value = readQuoted(p, end, DigitConvert::appendBin); break;
    case 'H':
    case 'h':
    case 'Z':
    case 'z': value = readQuoted(p, end, DigitConvert::appendHex); break;
    case 'O':
    case 'o': value = readQuoted(p, end, DigitConvert::appendOct); break;
    default: value = readDecValue(p, end); break;
    }

    bool sized = false;
    for (; p < end; ++p) {
        if (*p == 'U' || *p == 'u')
            isSigned = 0;
        else if (*p == 'L' || *p == 'l') {
            sized = true;
            if (EvaluationEnvironment::currentRep()->addressSize() == 8)
                size = 8;
            else
                size = size + 4 > 8 ? 8 : size + 4;
        } else
            parserError(__PRETTY_FUNCTION__, __LINE__);
    }

    if (!sized) {
        if (isSigned)
            size = value >= 0x7FFFFFFFull ? 8 : 4;
        else
            size = value >= 0xFFFFFFFFull ? 8 : 4;
    } else if (size == 4) {
        if ((isSigned && value >= 0x80000000ull) || (!isSigned && value > 0xFFFFFFFFull))
            parserError(__PRETTY_FUNCTION__, __LINE__);
    }
    return negative ? ~value + 1 : value;
}

int convertChar(const char* text, unsigned length, unsigned char& byte)
{
    if (text == nullptr || length == 0)
        return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (MBlen(bytes, length) > 1)
        return 0;
    if (bytes[0] != '\\') {
        byte = bytes[0];
        return 1;
    }
    if (length < 2)
        return 0;
    switch (bytes[1]) {
    case 'n': byte = 10; return 2;
    case 't': byte = 9; return 2;
    case 'v': byte = 11; return 2;
    case 'b': byte = 8; return 2;
    case 'r': byte = 13; return 2;
    case 'f': byte = 12; return 2;
    case 'a': byte = 7; return 2;
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7': {
        std::uint64_t value = 0;
        unsigned used = 1;
        while (used < length && used < 4 && DigitConvert::appendOct(bytes[used], value))
            ++used;
        byte = static_cast<unsigned char>(value);
        return static_cast<int>(used);
    }
    case 'x': {
        if (length < 3)
            return 0;
        std::uint64_t value = 0;
        unsigned used = 2;
        while (used < length && DigitConvert::appendHex(bytes[used], value))
            ++used;
        byte = static_cast<unsigned char>(value);
        return static_cast<int>(used);
    }
    default:
        // \\, \?, the quotes and every other escaped byte stand for themselves.
        byte = bytes[1];
        return 2;
    }
}

unsigned readUtf8(const unsigned char* text, unsigned length, std::uint64_t& code)
{
    const unsigned char first = text[0];
    unsigned n;
    std::uint32_t value;
    if (first < 0x80)
        return code = first, 1;
    if ((first & 0xE0) == 0xC0)
        n = 2, value = first & 0x1F;
    else if ((first & 0xF0) == 0xE0)
        n = 3, value = first & 0x0F;
    else if ((first & 0xF8) == 0xF0)
        n = 4, value = first & 0x07;
    else
        return 0;
    if (n > length)
        return 0;
    for (unsigned i = 1; i < n; ++i) {
        if ((text[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (text[i] & 0x3F);
    }
    static const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < least[n] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    code = value;
    return n;
}

int convertChar(const char* text, unsigned length, std::uint64_t& code)
{
    if (text == nullptr || length == 0)
        return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (MBlen(bytes, length) > 1)
        return static_cast<int>(readUtf8(bytes, length, code));
    if (bytes[0] == '\\' && length >= 2 && bytes[1] == 'x') {
        std::uint64_t value = 0;
        unsigned used = 2;
        while (used < length && DigitConvert::appendHex(bytes[used], value))
            ++used;
        if (used == 2)
            return 0;
        code = value;
        return static_cast<int>(used);
    }
    unsigned char byte = 0;
    const int used = convertChar(text, length, byte);
    if (used == 0)
        return 0;
    if (bytes[0] == '\\') {
        code = byte;
        return used;
    }
    std::uint64_t single = 0;
    if (readUtf8(&byte, 1, single) != 1)
        return 0;
    code = single;
    return used;
}
