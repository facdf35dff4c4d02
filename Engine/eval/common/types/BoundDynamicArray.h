#ifndef NORVEXA_TYPES_BOUNDDYNAMICARRAY_H
#define NORVEXA_TYPES_BOUNDDYNAMICARRAY_H

#include "types/BoundTypeItem.h"

// The data of a Fortran descriptor array, whose bounds the descriptor holds: the symbol's location, which the target type shares.
class BoundDynamicArrayData : public BoundTypeItem::Data {
public:
    explicit BoundDynamicArrayData(TypeItem* owner) : BoundTypeItem::Data(owner) {}
    void setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry) override;
    // Whether the display name changed since it was last made.
    bool hasTypeStructureChanged(TypeItem& type) const override;
};

// The bound type of a Fortran descriptor array, whose bounds the descriptor holds.
class BoundDynamicArray : public BoundTypeItem {
public:
    BoundDynamicArray(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex);
    ~BoundDynamicArray() override;

private:
    BoundDynamicArrayData data_;
};

#endif
