#include "tree/FormatTreeNode.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/SqlHostVariable.h"
#include "tree/UpdateTreeNode.h"
#include "types/SqlTypeCodes.h"
#include "types/SqlTypeEntry.h"

namespace {

const char formatName[] = "ByteString FormatTreeNode::format(DBG_REPS, UBYTE4) const";

[[noreturn]] void cannotFormat(std::uint32_t code, unsigned line)
{
    SVC::fTrace(formatName, line, "Cannot format type %d", static_cast<int>(code));
    throw InvalidOp(InvalidOp::RTRC_InvalidFormat, formatName, line);
}

[[noreturn]] void invalidSize(std::uint64_t length, std::uint32_t code, unsigned line)
{
    SVC::fTrace(formatName, line, "Invalid size of %d for type %d", static_cast<int>(length), static_cast<int>(code));
    throw InvalidOp(InvalidOp::RTRC_InvalidFormat, formatName, line);
}

std::uint32_t bigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

std::uint32_t bigEndian16(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 8) | p[1];
}

// Reads count bytes: a read that gives fewer is a failure to read the
// value (the missing bytes are never taken as zeros).
void readAll(const DebuggeeLocation& location, unsigned char* bytes, unsigned count)
{
    if (location.read(bytes, count) != count)
        throw InvalidOp(InvalidOp::RTRC_InvalidReference, formatName, __LINE__);
}

// Host reads take 32-bit counts; a larger value cannot be read at once.
unsigned readableCount(std::uint64_t count, std::uint32_t code, unsigned line)
{
    if (count > std::numeric_limits<std::uint32_t>::max())
        invalidSize(count, code, line);
    return static_cast<unsigned>(count);
}

} // namespace

const ByteString& FormatTreeNode::openText()
{
    static const ByteString text(reinterpret_cast<const unsigned char*>("{ "), 2);
    return text;
}

const ByteString& FormatTreeNode::closeText()
{
    static const ByteString text(reinterpret_cast<const unsigned char*>(" }"), 2);
    return text;
}

const ByteString& FormatTreeNode::separatorText()
{
    static const ByteString text(reinterpret_cast<const unsigned char*>(", "), 2);
    return text;
}

const ByteString& FormatTreeNode::dotsText()
{
    static const ByteString text(reinterpret_cast<const unsigned char*>("..."), 3);
    return text;
}

const ByteString& FormatTreeNode::emptyText()
{
    static const ByteString text;
    return text;
}

SqlTypeEntry FormatTreeNode::sqlEntry() const
{
    const _TYPE_ENTRY* e = formatType_.typeIndex().module() == 0 ? nullptr : formatType_.typeEntry();
    if (e == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, formatName, __LINE__);
    if (!SqlTypeEntry::isSqlEntry(e))
        cannotFormat(e->leaf, __LINE__);
    return SqlTypeEntry(*e);
}

unsigned char* FormatTreeNode::replaceEvaluationBuffer(std::uint64_t size) const
{
    freeBuffer();
    const_cast<FormatTreeNode*>(this)->ensureBuffer(size);
    return const_cast<unsigned char*>(ownBuffer());
}

std::uint16_t FormatTreeNode::FormatValue(DBG_REPS rep, StackItem&, const char*& text, unsigned int maxLength) const
{
    representation_ = rep;
    ByteString value = format(shownRepresentation(rep), maxLength);
    formattedValue_ = std::move(value);
    text = reinterpret_cast<const char*>(formattedValue_.data());
    return isAggregate() ? 1012 : 0;
}

DBG_REPS FormatTreeNode::shownRepresentation(DBG_REPS rep) const
{
    // 0 stands for the default of the node's data type; a representation
    // its data type does not offer is refused rather than shown wrongly.
    // An SQL host variable's formatters take the representation as they
    // always did; only 0 is made its default.
    const _TYPE_ENTRY* e = formatType_.typeIndex().module() == 0 ? nullptr : formatType_.typeEntry();
    if (rep != 0 && SqlTypeEntry::isSqlEntry(e))
        return rep;
    const DebugType::FormatInfo* row = DebugType::instance().resultTypes(formatType_, rank());
    if (rep == 0)
        return DebugType::defaultRepresentation(*row);
    if (!DebugType::offers(*row, rep))
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, formatName, __LINE__);
    return rep;
}

bool FormatTreeNode::isAggregate() const
{
    const _TYPE_ENTRY* e = formatType_.typeIndex().module() == 0 ? nullptr : formatType_.typeEntry();
    if (SqlTypeEntry::isSqlEntry(e)) {
        const SqlTypeEntry entry(*e);
        if (entry.elementCount() > 0)
            return true;
        switch (entry.sqlType()) {
        case sqlBlobFile:
        case sqlNullable(sqlBlobFile):
        case sqlClobFile:
        case sqlNullable(sqlClobFile):
        case sqlDbclobFile:
        case sqlNullable(sqlDbclobFile): return true;
        default: return false;
        }
    }
    switch (DebugType::programDataType(formatType_)) {
    case 6:
    case 7:
    case 15:
    case 21:
    case 23: return true;
    default: return false;
    }
}

ByteString FormatTreeNode::format(DBG_REPS rep, unsigned int maxLength) const
{
    if (SVC::tracing()) {
        ByteString id = debugNodeIdentifier();
        SVC::fTrace(formatName, __LINE__, "Formatting of node %s with representation %d",
                    reinterpret_cast<const char*>(id.data()), rep);
    }
    const _TYPE_ENTRY* typeEntry = formatType_.typeIndex().module() == 0 ? nullptr : formatType_.typeEntry();
    if (!SqlTypeEntry::isSqlEntry(typeEntry))
        return formatProgramValue(rep, maxLength);
    const SqlTypeEntry entry = sqlEntry();
    const std::uint32_t code = entry.sqlType();
    if (code == 0)
        cannotFormat(code, __LINE__);

    DebuggeeLocation location(DebuggeeAddress(entry.address() + static_cast<std::uint64_t>(offset()),
                                              static_cast<int>(entry.addressBytes())));

    if (entry.elementCount() > 0) {
        UpdateTreeNode* first = nullptr;
        if (QueryArrayElementInfo(1, first) == 0 && first != nullptr)
            return formatAddressAsArray(location, first->typeOfDataItem(), maxLength);
        return emptyText();
    }

    const std::uint32_t declared = entry.length();
    std::uint64_t size = sqlByteSize(static_cast<int>(code), declared);
    if (code == sqlFileName) {
        location.increment(-12);
        size += 10;
    }
    const unsigned count = readableCount(size, code, __LINE__);
    unsigned char* bytes = replaceEvaluationBuffer(count);
    if (count != 0)
        readAll(location, bytes, count);

    // Keeps n bytes from an offset of the buffer read as the whole buffer.
    auto keep = [this, &bytes](unsigned from, std::uint64_t n) {
        std::vector<unsigned char> part(bytes + from, bytes + from + n);
        bytes = replaceEvaluationBuffer(n);
        if (n != 0)
            std::memcpy(bytes, part.data(), n);
    };
    // Reads n bytes afresh from the location plus 4 as the whole buffer.
    auto reread = [this, &bytes, &location, code](std::uint64_t n) {
        const unsigned c = readableCount(n, code, __LINE__);
        DebuggeeLocation from(location);
        from.increment(4);
        bytes = replaceEvaluationBuffer(c);
        if (c != 0)
            readAll(from, bytes, c);
    };

    switch (code) {
    case sqlBlob:
    case sqlNullable(sqlBlob):
    case sqlClob:
    case sqlNullable(sqlClob): {
        const std::uint32_t l = bigEndian32(bytes);
        std::uint64_t n = 0;
        if (declared != 0) {
            n = std::min(l, declared);
            keep(4, n);
        } else if (l != 0) {
            n = std::min(l, entry.maxLength());
            reread(n);
        } else {
            keep(4, 0);
        }
        return formatBinaryAsHex(rep, static_cast<unsigned>(n), maxLength);
    }
    case sqlDbclob:
    case sqlNullable(sqlDbclob): {
        const std::uint64_t l = bigEndian32(bytes);
        std::uint64_t n;
        if (declared != 0) {
            if (declared <= l) {
                n = 2 * std::uint64_t(declared);
            } else {
                n = 2 * l + 1;
                if (bytes[4 + n - 1] == 0)
                    --n;
            }
            keep(4, n);
        } else {
            const std::uint64_t m = std::min<std::uint64_t>(l, entry.maxLength());
            n = 2 * m + 1;
            reread(n);
            if (bytes[n - 1] == 0)
                --n;
        }
        return formatBinaryAsHex(rep, static_cast<unsigned>(n), maxLength);
    }
    case sqlVarchar:
    case sqlNullable(sqlVarchar):
    case sqlLongVarchar:
    case sqlNullable(sqlLongVarchar): {
        const std::uint32_t l = bigEndian16(bytes);
        const std::uint32_t n = declared < l ? (declared & 0xFFFFu) : l;
        keep(2, n);
        return formatText(bytes, n, n);
    }
    case sqlChar:
    case sqlNullable(sqlChar):
    case sqlGraphic:
    case sqlNullable(sqlGraphic): return formatCharString(rep, maxLength);
    case sqlVargraphic:
    case sqlNullable(sqlVargraphic):
    case sqlLongVargraphic:
    case sqlNullable(sqlLongVargraphic): {
        const std::uint64_t l = bigEndian16(bytes);
        if (l < declared) {
            // The copy ends one byte into the character after the last
            // whole one: that byte counts as a character of its own unless
            // it is 0.
            const std::uint64_t n = 2 * l + 1;
            keep(2, n);
            const unsigned characters = static_cast<unsigned>(bytes[n - 1] == 0 ? l : l + 1);
            return formatText(bytes, n, characters);
        }
        keep(2, 2 * std::uint64_t(declared));
        return formatText(bytes, 2 * std::uint64_t(declared), declared);
    }
    case sqlFloat:
    case sqlNullable(sqlFloat):
        if (declared != 4 && declared != 8)
            invalidSize(declared, code, __LINE__);
        return FormatPrimitive::format(rep, declared == 4 ? 196u : 197u, bytes, declared);
    case sqlDecimal:
    case sqlNullable(sqlDecimal): return formatPackedDecimal(rep);
    case sqlBigint:
    case sqlNullable(sqlBigint):
    case sqlInteger:
    case sqlNullable(sqlInteger):
    case sqlSmallint:
    case sqlNullable(sqlSmallint): return formatFixedPointBinary(rep);
    case sqlNumeric:
    case sqlNullable(sqlNumeric): return formatZonedDecimal(rep);
    case sqlVarbinaryLong:
    case sqlNullable(sqlVarbinaryLong): {
        const std::uint32_t n = std::min(bigEndian32(bytes), declared);
        keep(4, n);
        return formatBinaryAsHex(rep, n, maxLength);
    }
    case sqlVarbinary:
    case sqlNullable(sqlVarbinary): {
        const std::uint32_t l = bigEndian16(bytes);
        const std::uint32_t n = declared < l ? (declared & 0xFFFFu) : l;
        keep(2, n);
        return formatBinaryAsHex(rep, n, maxLength);
    }
    case sqlBinary:
    case sqlNullable(sqlBinary):
    case sqlBlobLocator:
    case sqlNullable(sqlBlobLocator):
    case sqlClobLocator:
    case sqlNullable(sqlClobLocator):
    case sqlDbclobLocator:
    case sqlNullable(sqlDbclobLocator):
    case sqlResultSetLocator:
    case sqlNullable(sqlResultSetLocator):
    case sqlTableLocator:
    case sqlNullable(sqlTableLocator): return formatBinaryAsHex(rep, declared, maxLength);
    case sqlBlobFile:
    case sqlNullable(sqlBlobFile):
    case sqlClobFile:
    case sqlNullable(sqlClobFile):
    case sqlDbclobFile:
    case sqlNullable(sqlDbclobFile):
    case sqlSqlca: return formatClassOrStructure(rep, maxLength);
    case sqlDecfloat:
    case sqlNullable(sqlDecfloat): {
        unsigned primitive;
        switch (declared) {
        case 4: primitive = 159; break;
        case 8: primitive = 192; break;
        case 16: primitive = 193; break;
        default: invalidSize(declared, code, __LINE__);
        }
        return FormatPrimitive::format(rep, primitive, bytes, declared);
    }
    case sqlFileName: {
        const std::uint32_t n = std::min(bigEndian32(bytes), declared);
        keep(12, n);
        return formatText(bytes, n, n);
    }
    default: cannotFormat(code, __LINE__);
    }
}
