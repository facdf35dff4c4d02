#include "tree/FormatTreeNode.h"

#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/FormatByType.h"
#include "types/PrimitiveType.h"

using namespace FormatByType;

namespace {

const char programName[] = "ByteString FormatTreeNode::formatProgramValue(DBG_REPS, UBYTE4) const";

[[noreturn]] void cannotFormat(unsigned kind, unsigned line)
{
    SVC::fTrace(programName, line, "Cannot format type %d", static_cast<int>(kind));
    throw InvalidOp(InvalidOp::RTRC_InvalidFormat, programName, line);
}

} // namespace

ByteString FormatTreeNode::formatProgramValue(DBG_REPS rep, unsigned int maxLength) const
{
    FormatTreeNode* self = const_cast<FormatTreeNode*>(this);
    // A member or element is loaded on first use; bytes that could not be
    // read (all of them) are no value.
    if (parent() != nullptr && !isLoaded())
        self->loadThisNode(loadNode);
    if (parent() != nullptr && !isLoaded() && (flags2() & flag2LoadError) == 0)
        throw InvalidOp(InvalidOp::RTRC_InvalidReference, programName, __LINE__);

    const TypeItem& type = formatType_;
    if (type.typeIndex().module() == 0) {
        const unsigned code = type.typeIndex().index();
        if (code == 195 || code == 202)
            return text("{...}");
        if (!PrimitiveType::isPointerForm(code)) {
            const PrimitiveType* primitive = PrimitiveType::find(code);
            if (primitive == nullptr || primitive->size == 0)
                cannotFormat(code, __LINE__);
            ByteString kept;
            if (keptLoadError(*this, kept))
                return kept;
            valueBytes(*this, primitive->size, programName, __LINE__);
        }
        return formatPrimitive(rep, code, maxLength);
    }
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, programName, __LINE__);
    switch (e->leaf) {
    case TE_PACKED_DECIMAL:
    case TE_ZONED_DECIMAL:
    case TE_FIXED_POINT_BINARY: return formatDisplayNumber(rep);
    case TE_NATIONAL_DECIMAL: return formatNationalDecimal(rep);
    case TE_NATIONAL_STRING: return formatNationalString(rep, maxLength);
    case TE_INDEX_NAME: return formatIndexName(rep);
    case TE_INDEX_DATA_ITEM: return formatIndexDataItem(rep);
    case TE_EXTERNAL_FLOAT: return formatExternalFloat(rep);
    case TE_ALPHA_NUMERIC_EDITED: return formatAlphaNumericEdited(rep);
    case TE_NUMERIC_EDITED: return formatNumericEdited(rep);
    case TE_NATIONAL_EXTERNAL_FLOAT: return formatNationalExternalFloat(rep);
    case TE_NATIONAL_EDITED: return formatNationalEdited(rep);
    case TE_NATIONAL_NUMERIC_EDITED: return formatNationalNumericEdited(rep);
    case TE_FILE_DESCRIPTOR: return formatFileDesc(rep);
    case TE_DBCS_STRING: return formatDbcsString(rep, maxLength);
    case TE_DBCS_EDITED: return formatDbcsEdited(rep);
    case TE_ENUM:
    case TE_ENUM2: return formatEnum(rep, maxLength);
    case TE_INTEGER: return formatBitstring(rep);
    case TE_CHARSTRING: return formatCharacters(rep);
    case TE_CLASS:
    case TE_GROUP:
    case TE_STRUCT:
    case TE_F90_ALLOCATABLE: {
        // The members are the node's children, made here when the host has
        // not asked for them yet.
        unsigned count = 0;
        if (firstChild() == nullptr && QueryStructInfo(count) != 0 && firstChild() == nullptr) {
            unsigned members = 0, bases = 0;
            TYPE_INDEX index{};
            QueryClassInfo(members, bases, index);
        }
        return formatClassOrStructure(rep, maxLength);
    }
    default: break;
    }
    if (type.hasFlag(TypeFlags::pointer)) {
        ByteString kept;
        if (keptLoadError(*this, kept))
            return kept;
        return languageAddress(formatAddress(getLocation(), rep, type.pointee(), maxLength));
    }
    if (type.hasFlag(TypeFlags::array))
        return formatArray(rep, maxLength);
    cannotFormat(e->leaf, __LINE__);
}

ByteString FormatTreeNode::formatCharacters(DBG_REPS rep) const
{
    ByteString kept;
    if (formatEntry(*this, formatType_, {TE_CHARSTRING}, kept, __PRETTY_FUNCTION__, __LINE__) == nullptr)
        return kept;
    const unsigned size = valueSize(*this);
    const unsigned char* data = valueBytes(*this, size, __PRETTY_FUNCTION__, __LINE__);
    if (rep == 1)
        return text("X'" + hexDigits(data, size) + "'");
    if (rep != 22)
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    return formatString(reinterpret_cast<const char*>(data), size, size, false);
}

ByteString FormatTreeNode::formatArray(DBG_REPS rep, unsigned int maxLength) const
{
    const DebuggeeLocation location = debuggeeAddress();
    const TypeItem& element = formatType_.dereference();
    switch (rep) {
    case 6:
    case 23: {
        // The text of a character array never runs past the array (one
        // whose bounds cannot be had is read as a pointer's text is).
        TypeItem::Dimension dimension;
        bool known = false;
        try {
            formatType_.getDimension(dimension);
            known = !dimension.countUnknown && dimension.count >= 0;
        } catch (const InvalidOp&) {
        }
        if (known && dimension.count == 0)
            return rep == 23 ? formatString("", 0, maxLength, false) : formatStringOther("", 0, maxLength, true);
        return formatAddressAsString(location, rep, element, maxLength,
                                     known ? static_cast<std::uint64_t>(dimension.count) : 0);
    }
    case 9: return languageAddress(formatAddressAsHex(location));
    case 10: return formatAddressAsDecimal(location);
    case 11: return formatAddressAsArray(location, element, maxLength);
    default: throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    }
}
