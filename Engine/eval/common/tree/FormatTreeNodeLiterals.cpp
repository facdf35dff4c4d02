#include "tree/FormatTreeNode.h"

#include <cwctype>
#include <string>
#include <vector>

#include "services/ByteOrder.h"
#include "tree/FormatByType.h"
#include "tree/LocaleNest.h"

using namespace FormatByType;

namespace {

bool isHexEscape(const std::wstring& s)
{
    return s.size() > 2 && s[0] == L'\\' && s[1] == L'x';
}

bool isLoneHexDigit(const std::wstring& s)
{
    return s.size() == 1 && s[0] < 0x80 && std::iswxdigit(static_cast<wint_t>(s[0]));
}

// A C-style literal of characters, each shown by the routine given:
// opening (the quote and its prefix), the characters while they have room
// (room units; a break after a hexadecimal escape before a lone hexadecimal
// digit costs 4), three full stops when the room runs out, else the closing
// quote when asked for.
template <class Show>
std::wstring literal(const std::wstring& opening, const std::wstring& breakText, unsigned room, unsigned count,
                     bool close, Show show)
{
    std::wstring out = opening;
    bool afterEscape = false;
    for (unsigned i = 0; i < count; ++i) {
        std::wstring shown = show(i);
        const bool needsBreak = afterEscape && isLoneHexDigit(shown);
        const unsigned cost = static_cast<unsigned>(shown.size()) + (needsBreak ? 4u : 0u);
        if (cost > room)
            return out + L"...";
        room -= cost;
        if (needsBreak)
            out += breakText;
        out += shown;
        afterEscape = isHexEscape(shown);
    }
    if (close)
        out += L'"';
    return out;
}

// L, a double quote, then count big-endian characters of charSize bytes,
// each shown by show.
ByteString wideLiteral(const FormatTreeNode& node, const void* data, unsigned charSize, unsigned count,
                       unsigned maxLength, bool close, std::wstring (*show)(unsigned long long), const char* function,
                       unsigned line)
{
    if (charSize != 2 && charSize != 4 && charSize != 8)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line);
    if (maxLength < 2 * charSize + 9)
        return FormatPrimitive::text(maxLength > 2 ? "..." : "");
    LocaleNest guard(node);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    return FormatPrimitive::utf8(literal(L"L\"", L"\" L\"", maxLength - 5, count, close, [&](unsigned i) {
        return show(byteorder::fromBigEndian(bytes + std::size_t(i) * charSize, charSize));
    }));
}

} // namespace

ByteString FormatTreeNode::formatNational(const unsigned char* data, unsigned int count, unsigned int maxLength,
                                          bool close) const
{
    if (maxLength <= 7)
        return text(maxLength > 2 ? "..." : "");
    LocaleNest guard(*this);
    const wchar_t quote = static_cast<wchar_t>(languageQuote());
    std::wstring out(1, quote);
    unsigned room = maxLength - 4;
    unsigned i = 0;
    for (; i < count && room > 0; --room) {
        unsigned unit = static_cast<unsigned>(byteorder::fromBigEndian(data + 2 * std::size_t(i), 2));
        ++i;
        if (unit >= 0xD800 && unit <= 0xDBFF && i < count) {
            unsigned low = static_cast<unsigned>(byteorder::fromBigEndian(data + 2 * std::size_t(i), 2));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (unit == 0)
            out += L'.';
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            out += wchar_t(0xFFFD);
        else
            out += static_cast<wchar_t>(unit);
    }
    if (i < count)
        out += L"...";
    if (close)
        out += quote;
    return utf8(out);
}

ByteString FormatTreeNode::formatDbcs(const unsigned char* data, unsigned int count, unsigned int maxLength,
                                      bool close) const
{
    // The characters between shift-out and shift-in, as mixed text.
    std::vector<char> mixed;
    mixed.reserve(2 * std::size_t(count) + 2);
    mixed.push_back(0x0E);
    mixed.insert(mixed.end(), data, data + 2 * std::size_t(count));
    mixed.push_back(0x0F);
    const std::string quote(1, languageQuote());
    ByteString shown = formatString(mixed.data(), static_cast<unsigned>(mixed.size()), maxLength, false);
    return text(quote) + shown + (close ? text(quote) : ByteString());
}

ByteString FormatTreeNode::formatStringOther(const char* data, unsigned int count, unsigned int maxLength,
                                             bool close) const
{
    if (maxLength <= 7)
        return text(maxLength > 2 ? "..." : "");
    LocaleNest guard(*this);
    return utf8(literal(L"\"", L"\" \"", maxLength - 4, count, close,
                        [&](unsigned i) { return formatSBCScharOther(static_cast<unsigned char>(data[i])); }));
}

ByteString FormatTreeNode::formatWchar(const void* data, unsigned int charSize, unsigned int count,
                                       unsigned int maxLength, bool close) const
{
    return wideLiteral(*this, data, charSize, count, maxLength, close, &FormatPrimitive::formatDBCSchar,
                       __PRETTY_FUNCTION__, __LINE__);
}

ByteString FormatTreeNode::formatWcharOther(const void* data, unsigned int charSize, unsigned int count,
                                            unsigned int maxLength, bool close) const
{
    return wideLiteral(*this, data, charSize, count, maxLength, close, &FormatPrimitive::formatDBCScharOther,
                       __PRETTY_FUNCTION__, __LINE__);
}
