#ifndef NORVEXA_TYPES_BOUNDPOINTER_H
#define NORVEXA_TYPES_BOUNDPOINTER_H

#include "types/BoundTypeItem.h"

// The data of a pointer bound to its symbol: the symbol's location; the target
// type is given the location of the object pointed to.
class BoundPointerData : public BoundTypeItem::Data {
public:
    explicit BoundPointerData(TypeItem* owner) : BoundTypeItem::Data(owner) {}
    void setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry) override;
};

// The bound type of a pointer, whose target may be a bound type itself.
class BoundPointer : public BoundTypeItem {
public:
    BoundPointer(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex);
    ~BoundPointer() override;

private:
    BoundPointerData data_;
};

#endif
