#include "machine/TextBytes.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "machine/StackItem.h"
#include "services/InvalidOp.h"

namespace textbytes {

namespace {

// The blank's byte at a position of the padding (national and DBCS blanks
// are two bytes; the padding starts on a whole blank).
unsigned char blankByte(Blank blank, unsigned i)
{
    switch (blank) {
    case Blank::national: return i % 2 == 0 ? 0x00 : 0x20;
    case Blank::dbcs:
    case Blank::ebcdic: break;
    }
    return 0x40;
}

} // namespace

ByteString blanks(unsigned n, Blank blank)
{
    ByteString result;
    unsigned char* out = result.makeBuffer(n);
    for (unsigned i = 0; i < n; ++i)
        out[i] = blankByte(blank, i);
    return result;
}

ByteString fitEnd(const ByteString& text, unsigned n, Blank blank)
{
    ByteString result;
    unsigned char* out = result.makeBuffer(n);
    const unsigned kept = std::min(n, text.length());
    if (kept != 0)
        std::memcpy(out, text.data(), kept);
    for (unsigned i = kept; i < n; ++i)
        out[i] = blankByte(blank, i - kept);
    return result;
}

ByteString fitStart(const ByteString& text, unsigned n, Blank blank)
{
    const unsigned length = text.length();
    if (n <= length)
        return ByteString(text.data() + (length - n), n);
    ByteString result;
    unsigned char* out = result.makeBuffer(n);
    const unsigned pad = n - length;
    for (unsigned i = 0; i < pad; ++i)
        out[i] = blankByte(blank, i);
    if (length != 0)
        std::memcpy(out + pad, text.data(), length);
    return result;
}

ByteString fromText(const char* text, std::uint64_t length, unsigned n, Blank blank)
{
    if (text == nullptr || length == 0 || n == 0)
        return blanks(n, blank);
    const unsigned kept = static_cast<unsigned>(std::min<std::uint64_t>(length, n));
    return fitEnd(ByteString(reinterpret_cast<const unsigned char*>(text), kept), n, blank);
}

int compare(const ByteString& left, const ByteString& right, Blank blank)
{
    const unsigned n = std::max(left.length(), right.length());
    const ByteString a = fitEnd(left, n, blank);
    const ByteString b = fitEnd(right, n, blank);
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int holds(int comparison, Relation relation)
{
    switch (relation) {
    case Relation::eq: return comparison == 0;
    case Relation::ne: return comparison != 0;
    case Relation::lt: return comparison < 0;
    case Relation::le: return comparison <= 0;
    case Relation::gt: return comparison > 0;
    case Relation::ge: return comparison >= 0;
    }
    return 0;
}

Relation mirrored(Relation relation)
{
    switch (relation) {
    case Relation::lt: return Relation::gt;
    case Relation::le: return Relation::ge;
    case Relation::gt: return Relation::lt;
    case Relation::ge: return Relation::le;
    case Relation::eq:
    case Relation::ne: break;
    }
    return relation;
}

ByteString readText(StackItem& item, const DebuggeeLocation& where, std::uint64_t n, bool emptyAllowed)
{
    item.setHasValue(where.kind() != DebuggeeLocation::none);
    if (!item.hasValue())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (n == 0) {
        if (!emptyAllowed)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        return ByteString();
    }
    if (n > std::numeric_limits<unsigned>::max())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    std::vector<unsigned char> buffer(n, 0xFF);
    item.ReadDebuggeeData(buffer.data(), n, where);
    return ByteString(buffer.data(), static_cast<unsigned>(n));
}

bool isDisplayDigits(const ByteString& text)
{
    for (unsigned i = 0; i < text.length(); ++i) {
        const unsigned char c = text[i];
        if (c != 0x40 && (c < 0xF0 || c > 0xF9))
            return false;
    }
    return true;
}

} // namespace textbytes
