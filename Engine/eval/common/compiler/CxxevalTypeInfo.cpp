// The query interface: information records of a type's layout. Each function
// keeps one record per thread, clears it and fills it from the type's entry
// when the entry is of the function's kind (a record of another kind stays
// clear).

#include "HostRecordAccess.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "services/SVC.h"
#include "types/TypeItem.h"

namespace {

// The type's entry when it is of leaf; null otherwise. Checks and traces
// the type first.
const _TYPE_ENTRY* entryOfLeaf(const TypeItem* type, UBYTE4 leaf, const char* signature, unsigned line)
{
    validateType(type, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "For type %s", opcodehandlers::typeText(type));
    const _TYPE_ENTRY* entry = type->typeEntry();
    return entry != nullptr && typeEntryLeaf(*entry) == leaf ? entry : nullptr;
}

template <class Record>
const PictureInfoBlock* pictureInfo(const TypeItem* type, UBYTE4 leaf, const Record _TYPE_ENTRY::*member,
                                    PictureInfoBlock& record, const char* signature, unsigned line)
{
    const _TYPE_ENTRY* entry = entryOfLeaf(type, leaf, signature, line);
    record = PictureInfoBlock{};
    if (entry != nullptr) {
        record.picture = (entry->*member).picture;
        record.length = (entry->*member).length;
    }
    return &record;
}

template <class Record>
const NumericEditedInfoBlock* numericEditedInfo(const TypeItem* type, UBYTE4 leaf, const Record _TYPE_ENTRY::*member,
                                                NumericEditedInfoBlock& record, const char* signature, unsigned line)
{
    const _TYPE_ENTRY* entry = entryOfLeaf(type, leaf, signature, line);
    record = NumericEditedInfoBlock{};
    if (entry != nullptr) {
        record.picture = (entry->*member).picture;
        record.length = (entry->*member).length;
        record.digits = (entry->*member).precision;
        record.scale = (entry->*member).scale;
    }
    return &record;
}

} // namespace

// Bit 3: the host entry leaves bit 5 of its flags clear.
const CharstringInfoBlock* typeCharstringInfo(const TypeItem* type)
{
    thread_local CharstringInfoBlock record;
    const _TYPE_ENTRY* entry =
        entryOfLeaf(type, TE_CHARSTRING, "CharstringInfoBlock* typeCharstringInfo(const TypeItem*)", __LINE__);
    record = CharstringInfoBlock{};
    record.length = type->typeSize();
    record.flags = type->stringKindBits() & 7;
    if (entry != nullptr && (entry->charstring.flags & 0x20) == 0)
        record.flags |= 8;
    return &record;
}

const NationalStringInfoBlock* typeNationalStringInfo(const TypeItem* type)
{
    static const char signature[] = "NationalStringInfoBlock* typeNationalStringInfo(const TypeItem*)";
    thread_local NationalStringInfoBlock record;
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "For type %s", opcodehandlers::typeText(type));
    record = NationalStringInfoBlock{};
    record.length = type->typeSize();
    record.flags = type->stringKindBits() & 7;
    return &record;
}

const DbcsStringInfoBlock* typeDbcsStringInfo(const TypeItem* type)
{
    thread_local DbcsStringInfoBlock record;
    const _TYPE_ENTRY* entry =
        entryOfLeaf(type, TE_DBCS_STRING, "DbcsStringInfoBlock* typeDbcsStringInfo(const TypeItem*)", __LINE__);
    record = DbcsStringInfoBlock{};
    if (entry != nullptr)
        record.length = entry->dbcsString.length;
    record.flags = type->stringKindBits() & 7;
    return &record;
}

const ExternalFloatInfoBlock* typeExternalFloatInfo(const TypeItem* type)
{
    thread_local ExternalFloatInfoBlock record;
    return pictureInfo(type, TE_EXTERNAL_FLOAT, &_TYPE_ENTRY::externalFloat, record,
                       "ExternalFloatInfoBlock* typeExternalFloatInfo(const TypeItem*)", __LINE__);
}

const NationalExternalFloatInfoBlock* typeNationalExternalFloatInfo(const TypeItem* type)
{
    thread_local NationalExternalFloatInfoBlock record;
    return pictureInfo(type, TE_NATIONAL_EXTERNAL_FLOAT, &_TYPE_ENTRY::nationalExternalFloat, record,
                       "NationalExternalFloatInfoBlock* typeNationalExternalFloatInfo(const TypeItem*)", __LINE__);
}

const AlphaNumericEditedInfoBlock* typeAlphaNumericEditedInfo(const TypeItem* type)
{
    thread_local AlphaNumericEditedInfoBlock record;
    return pictureInfo(type, TE_ALPHA_NUMERIC_EDITED, &_TYPE_ENTRY::alphaNumericEdited, record,
                       "AlphaNumericEditedInfoBlock* typeAlphaNumericEditedInfo(const TypeItem*)", __LINE__);
}

const NationalEditedInfoBlock* typeNationalEditedInfo(const TypeItem* type)
{
    thread_local NationalEditedInfoBlock record;
    return pictureInfo(type, TE_NATIONAL_EDITED, &_TYPE_ENTRY::nationalEdited, record,
                       "NationalEditedInfoBlock* typeNationalEditedInfo(const TypeItem*)", __LINE__);
}

const DbcsEditedInfoBlock* typeDbcsEditedInfo(const TypeItem* type)
{
    thread_local DbcsEditedInfoBlock record;
    return pictureInfo(type, TE_DBCS_EDITED, &_TYPE_ENTRY::dbcsEdited, record,
                       "DbcsEditedInfoBlock* typeDbcsEditedInfo(const TypeItem*)", __LINE__);
}

const NumericEditedInfoBlock* typeNumericEditedInfo(const TypeItem* type)
{
    thread_local NumericEditedInfoBlock record;
    return numericEditedInfo(type, TE_NUMERIC_EDITED, &_TYPE_ENTRY::numericEdited, record,
                             "NumericEditedInfoBlock* typeNumericEditedInfo(const TypeItem*)", __LINE__);
}

const NationalNumericEditedInfoBlock* typeNationalNumericEditedInfo(const TypeItem* type)
{
    thread_local NationalNumericEditedInfoBlock record;
    return numericEditedInfo(type, TE_NATIONAL_NUMERIC_EDITED, &_TYPE_ENTRY::nationalNumericEdited, record,
                             "NationalNumericEditedInfoBlock* typeNationalNumericEditedInfo(const TypeItem*)",
                             __LINE__);
}

const IndexNameInfoBlock* typeIndexNameInfo(const TypeItem* type)
{
    thread_local IndexNameInfoBlock record;
    const _TYPE_ENTRY* entry =
        entryOfLeaf(type, TE_INDEX_NAME, "IndexNameInfoBlock* typeIndexNameInfo(const TypeItem*)", __LINE__);
    record = IndexNameInfoBlock{};
    if (entry != nullptr) {
        record.byteLength = entry->indexName.byteLength;
        record.elementLength = entry->indexName.elementLength;
    }
    return &record;
}

const IndexDataItemInfoBlock* typeIndexDataItemInfo(const TypeItem* type)
{
    thread_local IndexDataItemInfoBlock record;
    const _TYPE_ENTRY* entry = entryOfLeaf(type, TE_INDEX_DATA_ITEM,
                                           "IndexDataItemInfoBlock* typeIndexDataItemInfo(const TypeItem*)", __LINE__);
    record = IndexDataItemInfoBlock{};
    if (entry != nullptr)
        record.byteLength = entry->indexDataItem.byteLength;
    return &record;
}

const FixedPointInfoBlock* typeFixedPointInfo(const TypeItem* type)
{
    static const char signature[] = "FixedPointInfoBlock* typeFixedPointInfo(const TypeItem*)";
    thread_local FixedPointInfoBlock record;
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "For type %s", opcodehandlers::typeText(type));
    record = FixedPointInfoBlock{};
    const _TYPE_ENTRY* entry = type->typeEntry();
    switch (entry != nullptr ? typeEntryLeaf(*entry) : 0) {
    case TE_PACKED_DECIMAL:
        record.digits = entry->packed.precision;
        record.scale = entry->packed.scale;
        record.flags = (entry->packed.flags & TN_DecimalSigned) != 0 ? 1 : 0;
        break;
    case TE_FIXED_POINT_BINARY:
        record.digits = entry->binary.precision;
        record.scale = entry->binary.scale;
        record.flags = (entry->binary.flags & TN_BinarySigned) != 0 ? 1 : 0;
        break;
    case TE_ZONED_DECIMAL:
        record.digits = entry->zoned.precision;
        record.scale = entry->zoned.scale;
        record.flags = (entry->zoned.flags & TN_DecimalSigned) != 0 ? 1 : 0;
        record.signKind = static_cast<std::uint32_t>(entry->zoned.signKind);
        break;
    case TE_NATIONAL_DECIMAL:
        record.digits = entry->nationalDecimal.precision;
        record.scale = entry->nationalDecimal.scale;
        record.flags = (entry->nationalDecimal.flags & TN_DecimalSigned) != 0 ? 1 : 0;
        record.signKind = static_cast<std::uint32_t>(entry->nationalDecimal.signKind);
        break;
    default: break;
    }
    return &record;
}

// Bits 0-2: bits 4-6 of the host pointer record's flags; clear for a type
// without such a record.
const PointerInfoBlock* typePointerInfo(const TypeItem* type)
{
    thread_local PointerInfoBlock record;
    const _TYPE_ENTRY* entry =
        entryOfLeaf(type, TE_POINTER, "PointerInfoBlock* typePointerInfo(const TypeItem*)", __LINE__);
    record = PointerInfoBlock{};
    if (entry != nullptr)
        record.flags = static_cast<std::uint8_t>((entry->pointer.flags >> 4) & 7);
    return &record;
}
