#include "types/BoundDynamicArray.h"

void BoundDynamicArrayData::setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry)
{
    storeAndPassOn(location, TYPE_INDEX(entry.f90descarray.elementType), location);
}

bool BoundDynamicArrayData::hasTypeStructureChanged(TypeItem& type) const
{
    return nameChanged(type);
}

BoundDynamicArray::BoundDynamicArray(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex) : data_(this)
{
    bind(entry, sizeof entry.f90descarray, hostIndex, data_, &record.f90descarray.elementType);
}

BoundDynamicArray::~BoundDynamicArray()
{
    data_.forgetLocation();
}
