#include "machine/StackItem.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "services/SVC.h"

// The conversions between EBCDIC character text and national text (UTF-16
// big-endian) that the character, national, DBCS, edited, external-float and
// figurative-constant items share. The host converts at most 65,535 bytes
// a call (its counts are 16-bit), so longer texts go over in pieces.

namespace {

// EBCDIC bytes per call: their UTF-16 form (two bytes each) must fit a
// 16-bit count.
constexpr unsigned ebcdicPiece = 0x7FFF;
// UTF-8 bytes and EBCDIC bytes per call.
constexpr unsigned hostPiece = 0xFFFF;

constexpr unsigned char shiftOut = 0x0E;
constexpr unsigned char shiftIn = 0x0F;

// The length of the next piece of EBCDIC text from `from`: at most
// ebcdicPiece bytes, and when the text goes on after it, not ending inside a
// double-byte run (the host would see the run cut off): such a piece ends
// before the run's shift-out byte.
unsigned ebcdicPieceLength(const unsigned char* text, unsigned from, unsigned end)
{
    const unsigned length = std::min(end - from, ebcdicPiece);
    if (from + length == end)
        return length;
    for (unsigned i = length; i > 0; --i) {
        const unsigned char c = text[from + i - 1];
        if (c == shiftIn)
            return length;
        if (c == shiftOut)
            return i - 1 > 0 ? i - 1 : length;
    }
    return length;
}

void appendUtf8(std::vector<unsigned char>& out, std::uint32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<unsigned char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<unsigned char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<unsigned char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<unsigned char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
    }
}

// The characters of national text (16-bit big-endian units; an odd last
// byte is ignored): a surrogate pair is one character, a lone surrogate the
// replacement character.
std::vector<std::uint32_t> nationalCharacters(const ByteString& text)
{
    const unsigned units = text.length() / 2;
    std::vector<std::uint32_t> characters;
    characters.reserve(units);
    for (unsigned i = 0; i < units; ++i) {
        std::uint32_t u = (std::uint32_t(text[2 * i]) << 8) | text[2 * i + 1];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = (std::uint32_t(text[2 * i + 2]) << 8) | text[2 * i + 3];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                characters.push_back(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF)
            u = 0xFFFD;
        characters.push_back(u);
    }
    return characters;
}

} // namespace

ByteString StackItem::convertToNational(const ByteString& text) const
{
    const unsigned n = text.length();
    ByteString result;
    unsigned char* out = result.makeBuffer(2 * n);
    for (unsigned i = 0; i < n; ++i) {
        out[2 * i] = 0x00;
        out[2 * i + 1] = 0x20;
    }
    // An EBCDIC NUL becomes a zero character, where the converted text ends.
    const unsigned char* source = text.data();
    const void* nul = n != 0 ? std::memchr(source, 0, n) : nullptr;
    const unsigned end = nul != nullptr ? static_cast<unsigned>(static_cast<const unsigned char*>(nul) - source) : n;

    std::vector<unsigned char> scratch;
    unsigned written = 0;
    for (unsigned from = 0; from < end;) {
        const unsigned length = ebcdicPieceLength(source, from, end);
        scratch.assign(2 * std::size_t(length) + 2, 0);
        SVC::ExprEbcdicConvert(source + from, static_cast<UBYTE2>(length), scratch.data(),
                               static_cast<UBYTE2>(2 * length), nullptr, Conv_ToUtf16);
        // The host writes 16-bit units in the evaluator's byte order.
        for (unsigned i = 0; i < length && written < n; ++i) {
            std::uint16_t unit;
            std::memcpy(&unit, scratch.data() + 2 * i, sizeof unit);
            if (unit == 0)
                break;
            out[2 * written] = static_cast<unsigned char>(unit >> 8);
            out[2 * written + 1] = static_cast<unsigned char>(unit & 0xFF);
            ++written;
        }
        from += length;
    }
    return result;
}

ByteString StackItem::convertToCharacter(const ByteString& text) const
{
    const unsigned n = text.length() / 2;
    ByteString result;
    unsigned char* out = result.makeBuffer(n);
    std::memset(out, 0x40, n);

    const std::vector<std::uint32_t> characters = nationalCharacters(text);
    std::vector<unsigned char> utf8;
    unsigned written = 0;
    for (std::size_t next = 0; next < characters.size() && written < n;) {
        const unsigned room = std::min(n - written, hostPiece);
        utf8.clear();
        std::size_t taken = 0;
        while (next + taken < characters.size() && taken < room) {
            const std::size_t before = utf8.size();
            appendUtf8(utf8, characters[next + taken]);
            if (utf8.size() > hostPiece) {
                utf8.resize(before);
                break;
            }
            ++taken;
        }
        const BYTE4 answer = SVC::ExprEbcdicConvert(utf8.data(), static_cast<UBYTE2>(utf8.size()), out + written,
                                                    static_cast<UBYTE2>(room), nullptr, Conv_ToCodePage);
        // Where the host says how many bytes it wrote, the next piece goes
        // on from there (a double-byte page writes more than one byte a
        // character); otherwise one byte a character.
        written += answer > 0 && static_cast<unsigned>(answer) <= room ? static_cast<unsigned>(answer)
                                                                       : static_cast<unsigned>(taken);
        next += taken;
    }
    return result;
}
