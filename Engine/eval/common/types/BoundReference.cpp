#include "types/BoundReference.h"

#include "services/InvalidOp.h"

void BoundReferenceData::setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry)
{
    // The object pointed to is where the pointer held at the location leads;
    // when it cannot be read the target learns no location.
    DebuggeeLocation pointed(location);
    try {
        pointed.dereference(owner_);
    } catch (const InvalidOp&) {
        pointed.clear();
    }
    storeAndPassOn(location, TYPE_INDEX(entry.reference.referent), pointed);
}

BoundReference::BoundReference(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex) : data_(this)
{
    bind(entry, sizeof entry.reference, hostIndex, data_, &record.reference.referent);
}

BoundReference::~BoundReference()
{
    data_.forgetLocation();
}
