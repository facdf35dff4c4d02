#include "testhost/HostRecordStore.h"

#include <cstddef>
#include <cstring>

TYPE_INDEX HostRecordStore::baseRecord(TYPE_INDEX base, UBYTE4 offset, UBYTE4 flags)
{
    TYPE_INDEX t;
    TNbaseclass& r = newType(TE_BASECLASS, &t).baseclass;
    r.flags = flags & ~UBYTE4(TNbaseclass_LocationIsExpression);
    r.baseType = base;
    r.location.offset = offset;
    return t;
}

TYPE_INDEX HostRecordStore::baseRecordAt(TYPE_INDEX base, const std::vector<UBYTE1>& expression)
{
    TYPE_INDEX t;
    TNbaseclass& r = newType(TE_BASECLASS, &t).baseclass;
    r.flags = TNbaseclass_LocationIsExpression;
    r.baseType = base;
    r.location.expression = bytes(expression);
    r.expressionLength = static_cast<UBYTE4>(expression.size());
    return t;
}

TYPE_INDEX HostRecordStore::memberRecord(const std::string& name, TYPE_INDEX type, UBYTE4 offset, UBYTE4 flags)
{
    TYPE_INDEX t;
    TNclassmember& r = newType(TE_MEMBER, &t).member;
    r.flags = flags;
    r.memberType = type;
    r.location.offset = offset;
    r.name = text(name);
    r.name2 = text("");
    return t;
}

TYPE_INDEX HostRecordStore::classOfFields(const std::string& name, UBYTE4 byteSize,
                                          const std::vector<TYPE_INDEX>& fields, UBYTE4 flags)
{
    const TYPE_INDEX list = typeList(fields);
    TYPE_INDEX t;
    TNclass& r = newType(TE_CLASS, &t).klass;
    r.flags = flags;
    r.size.byteSize = byteSize;
    r.memberCount = static_cast<UBYTE2>(fields.size());
    r.fieldList = list;
    r.name = text(name);
    r.name2 = text("");
    if (!name.empty())
        nameType(name, t);
    return t;
}

namespace {

// A host DWARF block of the bytes, or null for none.
const DwarfBlock* optionalBlock(HostRecordStore& store, const std::vector<UBYTE1>& bytes)
{
    return bytes.empty() ? nullptr : store.dwarfBlock(bytes);
}

} // namespace

TYPE_INDEX HostRecordStore::fortranPointerType(TYPE_INDEX target, const FortranBlocks& blocks)
{
    TYPE_INDEX t;
    TNf90pointer& r = newType(TE_F90_POINTER, &t).f90pointer;
    r.targetType = target;
    r.dataLocation = optionalBlock(*this, blocks.dataLocation);
    r.allocation = optionalBlock(*this, blocks.allocation);
    r.association = optionalBlock(*this, blocks.association);
    return t;
}

TYPE_INDEX HostRecordStore::fortranDescArrayType(TYPE_INDEX element, const FortranBlocks& blocks, UBYTE2 rank)
{
    TYPE_INDEX t;
    TNf90descarray& r = newType(TE_F90_DESC_ARRAY, &t).f90descarray;
    r.elementType = element;
    r.dataLocation = optionalBlock(*this, blocks.dataLocation);
    r.allocation = optionalBlock(*this, blocks.allocation);
    r.association = optionalBlock(*this, blocks.association);
    r.lowerBound = optionalBlock(*this, blocks.lowerBound);
    r.upperBound = optionalBlock(*this, blocks.upperBound);
    r.stride = optionalBlock(*this, blocks.stride);
    r.dimension = blocks.dimension;
    r.rank = rank;
    return t;
}

TYPE_INDEX HostRecordStore::indexNameType(UBYTE1 byteLength, UBYTE4 elementLength)
{
    TYPE_INDEX t;
    TNindex_name& r = newType(TE_INDEX_NAME, &t).indexName;
    r.byteLength = byteLength;
    r.elementLength = elementLength;
    return t;
}

TYPE_INDEX HostRecordStore::indexDataItemType(UBYTE1 byteLength)
{
    TYPE_INDEX t;
    newType(TE_INDEX_DATA_ITEM, &t).indexDataItem.byteLength = byteLength;
    return t;
}

const _TYPE_ENTRY* HostRecordStore::procedureDescriptor(TYPE_INDEX structure,
                                                        const std::vector<const _SYMBOL_ENTRY*>& elements)
{
    // The record runs on past its fixed fields, one element pointer each.
    const std::size_t size = offsetof(TNprocdescriptor, elements) + elements.size() * sizeof(const _SYMBOL_ENTRY*);
    _blobs.push_back(std::make_unique<Blob>(size > sizeof(_TYPE_ENTRY) ? size : sizeof(_TYPE_ENTRY)));
    unsigned char* data = _blobs.back()->data;
    auto* record = reinterpret_cast<_TYPE_ENTRY*>(data);
    record->procDescriptor.leaf = TE_PROC_DESCRIPTOR;
    record->procDescriptor.structureType = structure;
    for (std::size_t i = 0; i < elements.size(); ++i)
        std::memcpy(data + offsetof(TNprocdescriptor, elements) + i * sizeof elements[i], &elements[i],
                    sizeof elements[i]);
    return record;
}
