#include "tree/FormatTreeNode.h"

#include <cstdio>
#include <cstring>

#include "services/ByteOrder.h"
#include "services/EvaluationEnvironment.h"
#include "tree/FormatByType.h"

using namespace FormatByType;

namespace {

// The edited and external floating-point items: hexadecimal digits between
// the prefix and an apostrophe in representation 1, else their characters.
ByteString pictureText(const FormatTreeNode& node, DBG_REPS rep, UBYTE4 kind, const char* prefix, bool national,
                       const char* function, unsigned line)
{
    ByteString kept;
    if (formatEntry(node, node.formatType(), {kind}, kept, function, line) == nullptr)
        return kept;
    const unsigned size = valueSize(node);
    const unsigned char* data = valueBytes(node, size, function, line);
    if (rep == 1)
        return FormatPrimitive::text(prefix + hexDigits(data, size) + "'");
    if (national)
        return node.formatNational(data, size / 2, wholeLength(size / 2), true);
    return node.formatString(reinterpret_cast<const char*>(data), size, size, false);
}

// A quoted text whose quote may be asked to be a double quote: the first
// string-kind flag of the type marks a literal written with double quotes,
// the second one written in hexadecimal (and so without shift codes).
bool doubleQuoted(const TypeItem& type)
{
    return (type.stringKindBits() & 1) != 0;
}

bool writtenInHex(const TypeItem& type)
{
    return (type.stringKindBits() & 2) != 0;
}

// The quoted text with its enclosing apostrophes made double quotes.
ByteString doubleQuotes(ByteString text, bool closed)
{
    if (text.length() != 0 && text[0] == '\'')
        text[0] = '"';
    if (closed && text.length() > 1 && text[text.length() - 1] == '\'')
        text[text.length() - 1] = '"';
    return text;
}

unsigned indexType(unsigned length, const char* function, unsigned line)
{
    switch (length) {
    case 2: return 133;
    case 4: return 134;
    case 8: return 156;
    default: throw InvalidOp(InvalidOp::RTRC_NotSupported, function, line);
    }
}

} // namespace

ByteString FormatTreeNode::formatExternalFloat(DBG_REPS rep) const
{
    return pictureText(*this, rep, TE_EXTERNAL_FLOAT, "X'", false, __PRETTY_FUNCTION__, __LINE__);
}

ByteString FormatTreeNode::formatAlphaNumericEdited(DBG_REPS rep) const
{
    return pictureText(*this, rep, TE_ALPHA_NUMERIC_EDITED, "X'", false, __PRETTY_FUNCTION__, __LINE__);
}

ByteString FormatTreeNode::formatNumericEdited(DBG_REPS rep) const
{
    return pictureText(*this, rep, TE_NUMERIC_EDITED, "X'", false, __PRETTY_FUNCTION__, __LINE__);
}

ByteString FormatTreeNode::formatNationalExternalFloat(DBG_REPS rep) const
{
    return pictureText(*this, rep, TE_NATIONAL_EXTERNAL_FLOAT, "NX'", true, __PRETTY_FUNCTION__, __LINE__);
}

ByteString FormatTreeNode::formatNationalEdited(DBG_REPS rep) const
{
    return pictureText(*this, rep, TE_NATIONAL_EDITED, "NX'", true, __PRETTY_FUNCTION__, __LINE__);
}

ByteString FormatTreeNode::formatNationalNumericEdited(DBG_REPS rep) const
{
    return pictureText(*this, rep, TE_NATIONAL_NUMERIC_EDITED, "NX'", true, __PRETTY_FUNCTION__, __LINE__);
}

ByteString FormatTreeNode::formatNationalString(DBG_REPS rep, unsigned int maxLength) const
{
    ByteString kept;
    if (formatEntry(*this, formatType_, {TE_NATIONAL_STRING}, kept, __PRETTY_FUNCTION__, __LINE__) == nullptr)
        return kept;
    const unsigned size = valueSize(*this);
    const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
    const bool dq = doubleQuoted(formatType_);
    if (rep == 1 || writtenInHex(formatType_)) {
        const std::string quote(1, dq ? '"' : '\'');
        // NX, the quote, the digits, the quote; what does not fit is cut
        // after whole bytes and marked with three full stops before the
        // closing quote, all within maxLength.
        if (2ull * size + 4 <= maxLength)
            return text("NX" + quote + hexDigits(data, size) + quote);
        if (maxLength >= 7)
            return text("NX" + quote + hexDigits(data, (maxLength - 7) / 2) + "..." + quote);
        return text(maxLength > 2 ? "..." : "");
    }
    const bool close = size < maxLength;
    ByteString national = formatNational(data, size / 2, maxLength, close);
    return text("N") + (dq ? doubleQuotes(national, close && maxLength > 7) : national);
}

ByteString FormatTreeNode::formatDbcsString(DBG_REPS rep, unsigned int maxLength) const
{
    ByteString kept;
    if (formatEntry(*this, formatType_, {TE_DBCS_STRING}, kept, __PRETTY_FUNCTION__, __LINE__) == nullptr)
        return kept;
    const unsigned size = valueSize(*this);
    const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
    const bool dq = doubleQuoted(formatType_);
    if (rep == 1 || writtenInHex(formatType_)) {
        const std::string quote(1, dq ? '"' : '\'');
        return text("X" + quote + "0E" + hexDigits(data, size) + "0F" + quote);
    }
    const bool close = size < maxLength;
    ByteString dbcs = formatDbcs(data, size / 2, maxLength, close);
    return text("G") + (dq ? doubleQuotes(dbcs, close) : dbcs);
}

ByteString FormatTreeNode::formatDbcsEdited(DBG_REPS rep) const
{
    ByteString kept;
    if (formatEntry(*this, formatType_, {TE_DBCS_EDITED}, kept, __PRETTY_FUNCTION__, __LINE__) == nullptr)
        return kept;
    const unsigned size = valueSize(*this);
    const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
    if (rep == 1)
        return text("X'0E" + hexDigits(data, size) + "0F'");
    return formatDbcs(data, size / 2, wholeLength(size / 2), true);
}

ByteString FormatTreeNode::formatNationalDecimal(DBG_REPS rep) const
{
    ByteString kept;
    if (formatEntry(*this, formatType_, {TE_NATIONAL_DECIMAL}, kept, __PRETTY_FUNCTION__, __LINE__) == nullptr)
        return kept;
    // NX'...' in representation 1, else the number as DISPLAY shows it.
    return formatDisplayNumber(rep);
}

ByteString FormatTreeNode::formatIndexName(DBG_REPS rep) const
{
    ByteString kept;
    const _TYPE_ENTRY* entry = formatEntry(*this, formatType_, {TE_INDEX_NAME}, kept, __PRETTY_FUNCTION__, __LINE__);
    if (entry == nullptr)
        return kept;
    const _TYPE_ENTRY& e = *entry;
    const unsigned length = e.indexName.byteLength;
    unsigned type = indexType(length, __PRETTY_FUNCTION__, __LINE__);
    const unsigned char* data = valueBytes(*this, length, __PRETTY_FUNCTION__, __LINE__);
    const std::uint64_t element = e.indexName.elementLength;
    if (rep == 1 || rep == 21 || element == 0)
        return FormatPrimitive::format(rep, type, data, length);
    // The occurrence number the index stands for; one that does not fit
    // the stored width is shown at 8 bytes rather than cut.
    std::uint64_t occurrence = byteorder::fromBigEndian(data, length) / element + 1;
    unsigned width = length;
    if (width < 8 && (occurrence >> (8 * width)) != 0) {
        width = 8;
        type = 156;
    }
    unsigned char bytes[8];
    byteorder::toBigEndian(bytes, occurrence, width);
    return FormatPrimitive::format(rep, type, bytes, width);
}

ByteString FormatTreeNode::formatIndexDataItem(DBG_REPS rep) const
{
    ByteString kept;
    const _TYPE_ENTRY* entry =
        formatEntry(*this, formatType_, {TE_INDEX_DATA_ITEM}, kept, __PRETTY_FUNCTION__, __LINE__);
    if (entry == nullptr)
        return kept;
    const _TYPE_ENTRY& e = *entry;
    const unsigned length = e.indexDataItem.byteLength;
    const unsigned type = indexType(length, __PRETTY_FUNCTION__, __LINE__);
    const unsigned char* data = valueBytes(*this, length, __PRETTY_FUNCTION__, __LINE__);
    if (rep == 1)
        return text("X'" + hexDigits(data, length) + "'");
    return FormatPrimitive::format(rep, type, data, length);
}

ByteString FormatTreeNode::formatFileDesc(DBG_REPS rep) const
{
    ByteString kept;
    if (formatEntry(*this, formatType_, {TE_FILE_DESCRIPTOR}, kept, __PRETTY_FUNCTION__, __LINE__) == nullptr)
        return kept;
    const unsigned char* block = evaluationBuffer();
    if (block == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const std::uint64_t held = heldBytes(*this);
    static const unsigned char sortFile[7] = {'S', 'D', 'F', 'I', 'L', 'E', 0};
    if (held >= sizeof sortFile && std::memcmp(block, sortFile, sizeof sortFile) == 0)
        return text("No status available for sort file SD ") + name();
    if (rep == 1)
        return text("X'40'");
    // The marker, the open state at 24, the mode at 25 and the status at 48.
    static const unsigned char marker[8] = {0xC3, 0xC2, 0xD3, 0xC4, 0xC2, 0xC7, 0xC6, 0xC9};
    block = storedBytes(*this, 49, InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (std::memcmp(block, marker, sizeof marker) != 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    std::string state;
    switch (block[24]) {
    case 1: {
        state = "OPEN";
        static const char* const modes[] = {"", " INPUT", " OUTPUT", " I-O", " EXTEND"};
        if (block[25] >= 1 && block[25] <= 4)
            state += modes[block[25]];
        break;
    }
    case 2:
    case 3: state = "CLOSED"; break;
    default: state = "UNKNOWN"; break;
    }
    char status[8];
    std::snprintf(status, sizeof status, "%02x", block[48]);
    return text(state + ", FILE STATUS: " + status);
}
