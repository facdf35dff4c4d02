#include "TextCodec.h"

#include <cstdint>

namespace plomkit_detail {

int utf8SequenceLength(unsigned char first)
{
    if (first < 0x80)
        return 1;
    if (first >= 0xC2 && first <= 0xDF)
        return 2;
    if (first >= 0xE0 && first <= 0xEF)
        return 3;
    if (first >= 0xF0 && first <= 0xF4)
        return 4;
    return 0;
}

StringBuffer<wchar_t> decode(const char* text, unsigned length, Encoding)
{
    StringBuffer<wchar_t> out;
    if (text == nullptr)
        return out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    unsigned i = 0;
    while (i < length) {
        int n = utf8SequenceLength(p[i]);
        char32_t cp = p[i];
        bool valid = n != 0 && i + static_cast<unsigned>(n) <= length;
        if (valid && n > 1) {
            cp = p[i] & (0x7F >> n);
            for (int k = 1; k < n; ++k) {
                unsigned char c = p[i + k];
                if ((c & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                cp = (cp << 6) | (c & 0x3F);
            }
            // Reject overlong forms, surrogates and values beyond Unicode.
            if (valid &&
                ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF))
                valid = false;
        }
        if (!valid) {
            out += static_cast<wchar_t>(p[i]);
            ++i;
        } else {
            if constexpr (sizeof(wchar_t) == 2) {
                // UTF-16: a code point beyond the first plane is a surrogate pair.
                if (cp > 0xFFFF) {
                    cp -= 0x10000;
                    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
                    cp = 0xDC00 + (cp & 0x3FF);
                }
            }
            out += static_cast<wchar_t>(cp);
            i += static_cast<unsigned>(n);
        }
    }
    return out;
}

ByteString encodeUTF8(const wchar_t* text, unsigned length)
{
    ByteString out;
    for (unsigned i = 0; i < length; ++i) {
        auto cp = static_cast<std::uint32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            // UTF-16: a high surrogate and the low one after it are one code point.
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length) {
                auto low = static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            cp = 0xFFFD;
        if (cp < 0x80) {
            out += static_cast<unsigned char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<unsigned char>(0xC0 | (cp >> 6));
            out += static_cast<unsigned char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<unsigned char>(0xE0 | (cp >> 12));
            out += static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<unsigned char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<unsigned char>(0xF0 | (cp >> 18));
            out += static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<unsigned char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace plomkit_detail
