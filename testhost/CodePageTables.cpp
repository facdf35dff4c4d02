#if defined(_WIN32)

#include "testhost/CodePageConverter.h"

#include <cstring>
#include <vector>

namespace codepage {

namespace {

#include "testhost/codepages/cp037.inc"
#include "testhost/codepages/cp1047.inc"
#include "testhost/codepages/cp1140.inc"

const std::uint16_t* table(const std::string& page)
{
    if (page == "CP1047")
        return cp1047;
    if (page == "CP037")
        return cp037;
    if (page == "CP1140")
        return cp1140;
    return nullptr;
}

// The byte of the page for a code point; false when the page has none.
bool byteOf(const std::uint16_t* page, char32_t point, unsigned char& byte)
{
    for (int b = 0; b < 256; ++b)
        if (page[b] == point) {
            byte = static_cast<unsigned char>(b);
            return true;
        }
    return false;
}

// The code points of UTF-8 text; false when it is not valid UTF-8.
bool decodeUTF8(const unsigned char* p, size_t length, std::vector<char32_t>& out)
{
    for (size_t i = 0; i < length;) {
        unsigned char c = p[i];
        int n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0 || i + static_cast<size_t>(n) > length)
            return false;
        char32_t point = n == 1 ? c : static_cast<char32_t>(c & (0x7F >> n));
        for (int k = 1; k < n; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (p[i + k] & 0x3F);
        }
        if ((n == 3 && point < 0x800) || (n == 4 && point < 0x10000) || (point >= 0xD800 && point <= 0xDFFF) ||
            point > 0x10FFFF)
            return false;
        out.push_back(point);
        i += static_cast<size_t>(n);
    }
    return true;
}

void appendUTF8(char32_t point, std::vector<char>& out)
{
    if (point < 0x80) {
        out.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (point >> 6)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

// The UTF-16 units of a code point.
void appendUTF16(char32_t point, std::vector<std::uint16_t>& out)
{
    if (point < 0x10000) {
        out.push_back(static_cast<std::uint16_t>(point));
    } else {
        point -= 0x10000;
        out.push_back(static_cast<std::uint16_t>(0xD800 + (point >> 10)));
        out.push_back(static_cast<std::uint16_t>(0xDC00 + (point & 0x3FF)));
    }
}

// The code points of big-endian UTF-16; false for an odd length or a lone
// surrogate.
bool decodeUTF16BE(const unsigned char* p, size_t length, std::vector<char32_t>& out)
{
    if (length % 2 != 0)
        return false;
    for (size_t i = 0; i < length; i += 2) {
        char32_t unit = static_cast<char32_t>((p[i] << 8) | p[i + 1]);
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= length)
                return false;
            char32_t low = static_cast<char32_t>((p[i + 2] << 8) | p[i + 3]);
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        out.push_back(unit);
    }
    return true;
}

std::int32_t deliver(const std::vector<char>& out, void* target, std::uint16_t targetRoom)
{
    size_t n = out.size() < targetRoom ? out.size() : targetRoom;
    if (target != nullptr && n != 0)
        std::memcpy(target, out.data(), n);
    return static_cast<std::int32_t>(out.size());
}

} // namespace

std::int32_t convert(const char* codePage, int conversion, const void* source, std::uint16_t sourceLength, void* target,
                     std::uint16_t targetRoom)
{
    const std::string name = iconvName(codePage);
    const bool utf16 = name == "UTF-16BE";
    const std::uint16_t* page = table(name);
    if ((page == nullptr && !utf16) || (source == nullptr && sourceLength != 0) || conversion < 0 || conversion > 3)
        return -1;
    const auto* in = static_cast<const unsigned char*>(source);

    // The characters, as code points.
    std::vector<char32_t> points;
    if (conversion == 0) {
        if (!decodeUTF8(in, sourceLength, points))
            return -1;
    } else if (utf16) {
        if (!decodeUTF16BE(in, sourceLength, points))
            return -1;
    } else {
        for (std::uint16_t i = 0; i < sourceLength; ++i)
            points.push_back(page[in[i]]);
    }

    std::vector<char> out;
    std::vector<std::uint16_t> units;
    switch (conversion) {
    case 0:
        for (char32_t point : points) {
            if (utf16) {
                appendUTF16(point, units);
                continue;
            }
            unsigned char byte = 0;
            if (!byteOf(page, point, byte))
                return -1;
            out.push_back(static_cast<char>(byte));
        }
        for (std::uint16_t unit : units) {
            out.push_back(static_cast<char>(unit >> 8));
            out.push_back(static_cast<char>(unit & 0xFF));
        }
        return deliver(out, target, targetRoom);
    case 1:
        // UTF-16 in host byte order (little-endian).
        for (char32_t point : points)
            appendUTF16(point, units);
        for (std::uint16_t unit : units) {
            out.push_back(static_cast<char>(unit & 0xFF));
            out.push_back(static_cast<char>(unit >> 8));
        }
        return deliver(out, target, targetRoom);
    case 2:
        for (char32_t point : points)
            appendUTF8(point, out);
        return deliver(out, target, targetRoom);
    default: {
        // wchar_t is UTF-16 here; a terminator follows.
        for (char32_t point : points)
            appendUTF16(point, units);
        units.push_back(0);
        size_t n = units.size() < targetRoom ? units.size() : targetRoom;
        if (target != nullptr && n != 0)
            std::memcpy(target, units.data(), n * sizeof(wchar_t));
        return static_cast<std::int32_t>(units.size());
    }
    }
}

} // namespace codepage

#endif
