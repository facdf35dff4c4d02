#include "testhost/DebuggeeLayout.h"

#include <stdexcept>

#include "testhost/CodePageConverter.h"
#include "testhost/TestHost.h"

DebuggeeLayout::DebuggeeLayout(TestHost& host, unsigned bits, std::string codePage, UBYTE4 sectionNumber)
    : _host(host), _bits(bits), _codePage(std::move(codePage)), _section(sectionNumber),
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
    if (text.size() > 0xFFFF)
        throw std::invalid_argument("text too long");
    const std::string page = _codePage.empty() ? _host.defaultCodePage() : _codePage;
    std::vector<std::uint8_t> out(text.size() * 4 + 4);
    const std::int32_t n = codepage::convert(page.c_str(), 0, text.data(), static_cast<std::uint16_t>(text.size()),
                                             out.data(), static_cast<std::uint16_t>(out.size()));
    if (n < 0 || static_cast<size_t>(n) > out.size())
        throw std::invalid_argument("\"" + text + "\" has no form in code page " + (page.empty() ? "1047" : page));
    out.resize(static_cast<size_t>(n));
    return out;
}

std::uint8_t DebuggeeLayout::blank() const
{
    return ebcdic(" ").at(0);
}
