#include "types/BoundPointer.h"

#include "services/InvalidOp.h"

void BoundPointerData::setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry)
{
    // The object pointed to is where the pointer held at the location leads;
    // when it cannot be read the target learns no location.
    DebuggeeLocation pointed(location);
    try {
        pointed.dereference(owner_);
    } catch (const InvalidOp&) {
        pointed.clear();
    }
    storeAndPassOn(location, TYPE_INDEX(entry.pointer.target), pointed);
}

BoundPointer::BoundPointer(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex) : data_(this)
{
    bind(entry, sizeof entry.pointer, hostIndex, data_, &record.pointer.target);
}

BoundPointer::~BoundPointer()
{
    data_.forgetLocation();
}
