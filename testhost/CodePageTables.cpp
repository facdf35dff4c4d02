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
        int n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3
              : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0 || i + static_cast<size_t>(n) > length)
            return false;
        char32_t point = n == 1 ? c : static_cast<char32_t>(c & (0x7F >> n));
        for (int k = 1; k < n; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (p[i + k] & 0x3F);
        }
        if ((n == 3 && point < 0x800) || (n == 4 && point < 0x10000) ||
            (point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF)
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
    } else {
        out.push_back(static_cast<char>(0xE0 | (point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

}  // namespace

std::int32_t convert(const char* codePage, int conversion, const void* source, std::uint16_t sourceLength,
                     void* target, std::uint16_t targetRoom)
{
    const std::uint16_t* page = table(iconvName(codePage));
    if (page == nullptr || (source == nullptr && sourceLength != 0) || conversion < 0 ||
        conversion > 3)
        return -1;
    const auto* in = static_cast<const unsigned char*>(source);
    std::vector<char> out;
    if (conversion == 0) {
        std::vector<char32_t> points;
        if (!decodeUTF8(in, sourceLength, points))
            return -1;
        for (char32_t point : points) {
            unsigned char byte = 0;
            if (!byteOf(page, point, byte))
                return -1;
            out.push_back(static_cast<char>(byte));
        }
    } else if (conversion == 3) {
        // Every point of these pages lies in the first plane: one wchar_t
        // each, and a terminator.
        std::vector<wchar_t> wide;
        for (std::uint16_t i = 0; i < sourceLength; ++i)
            wide.push_back(static_cast<wchar_t>(page[in[i]]));
        wide.push_back(0);
        size_t n = wide.size() < targetRoom ? wide.size() : targetRoom;
        if (target != nullptr && n != 0)
            std::memcpy(target, wide.data(), n * sizeof(wchar_t));
        return static_cast<std::int32_t>(wide.size());
    } else {
        for (std::uint16_t i = 0; i < sourceLength; ++i) {
            std::uint16_t point = page[in[i]];
            if (conversion == 1) {
                // UTF-16 in host byte order (little-endian).
                out.push_back(static_cast<char>(point & 0xFF));
                out.push_back(static_cast<char>(point >> 8));
            } else {
                appendUTF8(point, out);
            }
        }
    }
    size_t n = out.size() < targetRoom ? out.size() : targetRoom;
    if (target != nullptr && n != 0)
        std::memcpy(target, out.data(), n);
    return static_cast<std::int32_t>(out.size());
}

}  // namespace codepage

#endif
