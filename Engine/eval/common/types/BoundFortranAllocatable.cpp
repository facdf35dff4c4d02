#include "types/BoundFortranAllocatable.h"

void BoundFortranAllocatableData::setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry)
{
    storeAndPassOn(location, TYPE_INDEX(entry.f90allocatable.objectType), location);
}

BoundFortranAllocatable::BoundFortranAllocatable(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex) : data_(this)
{
    bind(entry, sizeof entry.f90allocatable, hostIndex, data_, &record.f90allocatable.objectType);
}

BoundFortranAllocatable::~BoundFortranAllocatable()
{
    data_.forgetLocation();
}
