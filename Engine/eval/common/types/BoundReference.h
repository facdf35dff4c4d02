#ifndef NORVEXA_TYPES_BOUNDREFERENCE_H
#define NORVEXA_TYPES_BOUNDREFERENCE_H

#include "types/BoundTypeItem.h"

// The data of a reference bound to its symbol: the symbol's location; the target
// type is given the location of the object pointed to.
class BoundReferenceData : public BoundTypeItem::Data {
public:
    explicit BoundReferenceData(TypeItem* owner) : BoundTypeItem::Data(owner) {}
    void setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry) override;
};

// The bound type of a reference, whose target may be a bound type itself.
class BoundReference : public BoundTypeItem {
public:
    BoundReference(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex);
    ~BoundReference() override;

private:
    BoundReferenceData data_;
};

#endif
