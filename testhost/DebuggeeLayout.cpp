#include "testhost/DebuggeeLayout.h"

#include <algorithm>
#include <stdexcept>

#include "testhost/CodePageConverter.h"
#include "testhost/TestHost.h"

DebuggeeLayout::DebuggeeLayout(TestHost& host, unsigned bits, std::string codePage, UBYTE4 sectionNumber)
    : _host(host),
      _bits(bits),
      _codePage(std::move(codePage)),
      _section(sectionNumber),
      _base(sectionBase / section * sectionNumber)
{
    _host.addSection(_section, _base, bits);
}

std::uint64_t DebuggeeLayout::place(const std::vector<std::uint8_t>& bytes, unsigned align)
{
    if (align > 1)
        _next = (_next + align - 1) / align * align;
    const std::uint64_t offset = _next;
    if (!bytes.empty())
        _host.memory().store(address(offset), bytes);
    _next += bytes.size();
    return offset;
}

std::vector<std::uint8_t> DebuggeeLayout::ebcdic(const std::string& text) const
{
    if (text.empty())
        return {};
    const std::string page = _codePage.empty() ? _host.defaultCodePage() : _codePage;
    // The host's conversion takes 16-bit lengths: long text goes in pieces
    // that end on a whole UTF-8 character.
    constexpr size_t piece = 4096;
    std::vector<std::uint8_t> all;
    for (size_t from = 0; from < text.size();) {
        size_t end = std::min(text.size(), from + piece);
        while (end < text.size() && end > from && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        if (end == from)
            end = std::min(text.size(), from + piece);
        const std::string part = text.substr(from, end - from);
        std::vector<std::uint8_t> out(part.size() * 4 + 4);
        const std::int32_t n = codepage::convert(page.c_str(), 0, part.data(), static_cast<std::uint16_t>(part.size()),
                                                 out.data(), static_cast<std::uint16_t>(out.size()));
        if (n < 0 || static_cast<size_t>(n) > out.size()) {
            const std::string shown = text.size() > 40 ? text.substr(0, 40) + "..." : text;
            throw std::invalid_argument("\"" + shown + "\" has no form in code page " + (page.empty() ? "1047" : page));
        }
        all.insert(all.end(), out.begin(), out.begin() + n);
        from = end;
    }
    return all;
}

std::uint8_t DebuggeeLayout::blank() const
{
    return ebcdic(" ").at(0);
}
