#include "compiler/CLiteralEscapes.h"

#include "compiler/CxxevalInterface.h"
#include "machine/DigitConvert.h"
#include "machine/LiteralParsers.h"

namespace CLiteralEscapes {

namespace {

void appendUnit(std::string& out, std::uint64_t unit, unsigned size)
{
    for (unsigned i = size; i-- > 0;)
        out.push_back(static_cast<char>((unit >> (8 * i)) & 0xFF));
}

} // namespace

bool decode(const char* text, std::size_t length, std::vector<Character>& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + length;
    while (p < end) {
        if (*p != '\\') {
            std::uint64_t code = 0;
            const std::size_t used = readUtf8(p, static_cast<unsigned>(end - p), code);
            if (used == 0)
                return false;
            out.push_back({code, false});
            p += used;
            continue;
        }
        if (++p == end)
            return false;
        const unsigned char letter = *p++;
        switch (letter) {
        case 'n': out.push_back({'\n', false}); continue;
        case 't': out.push_back({'\t', false}); continue;
        case 'v': out.push_back({'\v', false}); continue;
        case 'b': out.push_back({'\b', false}); continue;
        case 'r': out.push_back({'\r', false}); continue;
        case 'f': out.push_back({'\f', false}); continue;
        case 'a': out.push_back({'\a', false}); continue;
        case '\\':
        case '\'':
        case '"':
        case '?': out.push_back({letter, false}); continue;
        case 'x': {
            std::uint64_t value = 0;
            int digits = 0;
            for (; p < end; ++p, ++digits) {
                const std::uint64_t before = value;
                if (!DigitConvert::appendHex(*p, value))
                    break;
                if (before >> 60 != 0)
                    return false; // beyond 64 bits
            }
            if (digits == 0)
                return false;
            out.push_back({value, true});
            continue;
        }
        default:
            if (letter >= '0' && letter <= '7') {
                std::uint64_t value = letter - '0';
                for (int k = 0; k < 2 && p < end && *p >= '0' && *p <= '7'; ++k, ++p)
                    value = value * 8 + (*p - '0');
                out.push_back({value, true});
                continue;
            }
            // Universal character names were made UTF-8 by the scanner;
            // any other escape is not C.
            return false;
        }
    }
    return true;
}

bool narrow(const char* text, std::size_t length, const std::function<std::string(const std::string&)>& convert,
            std::string& out)
{
    std::vector<Character> characters;
    if (!decode(text, length, characters))
        return false;
    std::string run;
    for (const Character& c : characters) {
        if (!c.numeric) {
            // The code point of a character read as UTF-8: it fits again.
            unsigned char bytes[6];
            const int n = utf8Encode(static_cast<unsigned long>(c.value), bytes);
            run.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
            continue;
        }
        if (c.value > 0xFF)
            return false;
        if (!run.empty()) {
            out += convert(run);
            run.clear();
        }
        out.push_back(static_cast<char>(c.value));
    }
    if (!run.empty())
        out += convert(run);
    return true;
}

bool wide(const char* text, std::size_t length, unsigned unitSize, std::string& out)
{
    if (unitSize != 2 && unitSize != 4)
        return false;
    std::vector<Character> characters;
    if (!decode(text, length, characters))
        return false;
    const std::uint64_t largest = unitSize == 2 ? 0xFFFFu : 0xFFFFFFFFu;
    for (const Character& c : characters) {
        if (c.numeric) {
            if (c.value > largest)
                return false;
            appendUnit(out, c.value, unitSize);
        } else if (unitSize == 2 && c.value > 0xFFFF) {
            const std::uint64_t v = c.value - 0x10000;
            appendUnit(out, 0xD800 + (v >> 10), 2);
            appendUnit(out, 0xDC00 + (v & 0x3FF), 2);
        } else {
            appendUnit(out, c.value, unitSize);
        }
    }
    return true;
}

} // namespace CLiteralEscapes
