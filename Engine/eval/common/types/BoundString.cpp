#include "types/BoundString.h"

void BoundStringData::setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry)
{
    storeAndPassOn(location, TYPE_INDEX(entry.cobolTable.elementType), location);
}

bool BoundStringData::hasTypeStructureChanged(TypeItem& type) const
{
    return nameChanged(type);
}

BoundString::BoundString(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex) : data_(this)
{
    bind(entry, sizeof entry.cobolTable, hostIndex, data_, &record.cobolTable.elementType);
}

BoundString::~BoundString()
{
    data_.forgetLocation();
}
