#include "tree/FormatTreeNode.h"

#include <cstdio>
#include <string>
#include <vector>

#include <plomkit/EncodedString.h>

#include "services/SVC.h"
#include "types/SqlTypeCodes.h"
#include "types/SqlTypeEntry.h"

namespace {

const char formatStringName[] = "ByteString FormatTreeNode::formatString(const char*, UBYTE4, UBYTE4, bool) const";

const char eyeCatcher[] = "EEStringContainsNullChars";

// One character converted: at most six bytes of display text.
struct Converted {
    unsigned char bytes[6] = {};
    unsigned length = 0;
};

// Target bytes to display text through the host (UTF-8). The host answers
// what the whole conversion needs, which may be more than the room: only
// what the room holds is taken. A failure gives nothing.
Converted convert(const unsigned char* source, unsigned short length, const char* codePage)
{
    Converted out;
    const BYTE4 answer = SVC::ExprEbcdicConvert(source, length, out.bytes, sizeof out.bytes, codePage, Conv_ToUtf8);
    if (answer > 0)
        out.length = answer < static_cast<BYTE4>(sizeof out.bytes) ? static_cast<unsigned>(answer)
                                                                   : static_cast<unsigned>(sizeof out.bytes);
    return out;
}

// One UTF-16 code point as display text.
Converted fromCodePoint(std::uint32_t codePoint)
{
    Converted out;
    if (codePoint == 0) {
        out.bytes[0] = 0;
        out.length = 1;
        return out;
    }
    wchar_t text[3] = {static_cast<wchar_t>(codePoint), 0, 0};
    if constexpr (sizeof(wchar_t) == 2) {
        // UTF-16 wide characters: beyond the first plane, a surrogate pair.
        if (codePoint > 0xFFFF && codePoint <= 0x10FFFF) {
            text[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            text[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        }
    }
    const ByteString utf8 = EncodedString(text).asUTF8();
    out.length = utf8.length() < sizeof out.bytes ? utf8.length() : static_cast<unsigned>(sizeof out.bytes);
    for (unsigned i = 0; i < out.length; ++i)
        out.bytes[i] = utf8[i];
    return out;
}

// The SQL code and CCSID that shape a text: those of a kind-89 entry, 0 for
// any other type (single-byte text in the program's code page).
SqlTypeEntry textShape(const TypeItem& type)
{
    const _TYPE_ENTRY* e = type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
    return SqlTypeEntry::isSqlEntry(e) ? SqlTypeEntry(*e) : SqlTypeEntry();
}

bool doubleByteCode(std::uint32_t code)
{
    switch (code) {
    case sqlVargraphic:
    case sqlNullable(sqlVargraphic):
    case sqlGraphic:
    case sqlNullable(sqlGraphic):
    case sqlLongVargraphic:
    case sqlNullable(sqlLongVargraphic): return true;
    default: return false;
    }
}

bool highSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool lowSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

ByteString FormatTreeNode::formatCharString(DBG_REPS, unsigned int) const
{
    return formatText(ownBuffer(), ownBufferLength(), sqlEntry().length());
}

ByteString FormatTreeNode::formatString(const char* data, unsigned int count, unsigned int, bool) const
{
    const unsigned width = doubleByteCode(textShape(formatType_).sqlType()) ? 2 : 1;
    return formatText(reinterpret_cast<const unsigned char*>(data), std::uint64_t(count) * width, count);
}

ByteString FormatTreeNode::formatText(const unsigned char* data, std::uint64_t byteCount, unsigned int count) const
{
    const SqlTypeEntry entry = textShape(formatType_);
    unsigned width = 1;
    bool doubleByte = false;
    bool shifted = false;
    bool graphic = false;
    switch (entry.sqlType()) {
    case sqlGraphic:
    case sqlNullable(sqlGraphic): graphic = true; [[fallthrough]];
    case sqlVargraphic:
    case sqlNullable(sqlVargraphic):
    case sqlLongVargraphic:
    case sqlNullable(sqlLongVargraphic):
        width = 2;
        doubleByte = true;
        shifted = true;
        break;
    default: break;
    }
    char pageName[16];
    const char* codePage = nullptr;
    if (entry.ccsid() != 0) {
        std::snprintf(pageName, sizeof pageName, "QUV-%03u", static_cast<unsigned>(entry.ccsid()));
        codePage = pageName;
    }
    const bool utf16 = doubleByte && entry.ccsid() == 1200;
    if (count == 0 || data == nullptr)
        return emptyText();

    std::string out;
    std::vector<std::uint32_t> nulls;
    bool restarted = false;
    // The bytes walked: never more than the caller holds.
    std::uint64_t limit = std::min<std::uint64_t>(byteCount, std::uint64_t(count) * width);
    std::uint64_t pos = 0;
    std::uint64_t output = 0;
    while (pos < limit) {
        const unsigned char first = data[pos];
        if (doubleByte && !utf16 && (first == 0x0E || first == 0x0F)) {
            // Mixed text: walk it again byte by byte, with its shifts.
            limit = std::min<std::uint64_t>(byteCount, std::uint64_t(count) * width);
            width = 1;
            doubleByte = false;
            shifted = false;
            restarted = true;
            out.clear();
            nulls.clear();
            pos = 0;
            output = 0;
            continue;
        }
        if (!doubleByte && first == 0x0E) {
            shifted = true;
            ++pos;
            continue;
        }
        if (!doubleByte && first == 0x0F) {
            shifted = false;
            ++pos;
            continue;
        }

        Converted c;
        bool stop = false;
        if (utf16) {
            if (pos + 1 < limit) {
                std::uint32_t unit = (std::uint32_t(data[pos]) << 8) | data[pos + 1];
                pos += 2;
                if (highSurrogate(unit) && pos + 1 < limit) {
                    const std::uint32_t low = (std::uint32_t(data[pos]) << 8) | data[pos + 1];
                    if (lowSurrogate(low)) {
                        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                        pos += 2;
                    }
                }
                c = fromCodePoint(unit);
            } else {
                // Half a code unit converts to nothing.
                ++pos;
            }
        } else if (shifted && pos + 1 < limit) {
            const unsigned char pair[4] = {0x0E, data[pos], data[pos + 1], 0x0F};
            c = convert(pair, sizeof pair, codePage);
            const bool endsShifted = c.length > 0 && c.bytes[c.length - 1] == 0x0F;
            if (c.length > 0 && c.bytes[c.length - 1] == 0x0F)
                --c.length;
            if (c.length > 0 && c.bytes[0] == 0x0E) {
                for (unsigned i = 1; i < c.length; ++i)
                    c.bytes[i - 1] = c.bytes[i];
                --c.length;
            }
            if (graphic && endsShifted && pos >= count)
                stop = true;
            pos += 2;
        } else {
            // A single-byte character, or the one byte left of a
            // double-byte character.
            c = convert(data + pos, 1, codePage);
            if (graphic && shifted)
                stop = true;
            ++pos;
        }

        if (c.length == 0) {
            out += '\x1A';
        } else if (c.bytes[0] == 0) {
            if (SVC::traceEnabled()->load(std::memory_order_relaxed))
                SVC::fTrace(formatStringName, __LINE__,
                            "String contains a NULL character.  Replacing with a dot and recording position");
            nulls.push_back(static_cast<std::uint32_t>(out.size()));
            out += '.';
        } else {
            out.append(reinterpret_cast<const char*>(c.bytes), c.length);
        }
        ++output;
        if (stop || (graphic && restarted && output >= count))
            break;
    }

    if (nulls.empty())
        return FormatPrimitive::text(out);
    std::string text = eyeCatcher;
    char number[16];
    std::snprintf(number, sizeof number, "%08x", static_cast<unsigned>(nulls.size()));
    text += number;
    for (std::uint32_t at : nulls) {
        std::snprintf(number, sizeof number, "%08x", at);
        text += number;
    }
    return FormatPrimitive::text(text + out);
}
