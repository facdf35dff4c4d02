#ifndef NORVEXA_TYPES_BOUNDFORTRANALLOCATABLE_H
#define NORVEXA_TYPES_BOUNDFORTRANALLOCATABLE_H

#include "types/BoundTypeItem.h"

// The data of a Fortran allocatable object: the symbol's location, which the target type shares.
class BoundFortranAllocatableData : public BoundTypeItem::Data {
public:
    explicit BoundFortranAllocatableData(TypeItem* owner) : BoundTypeItem::Data(owner) {}
    void setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry) override;
};

// The bound type of a Fortran allocatable object.
class BoundFortranAllocatable : public BoundTypeItem {
public:
    BoundFortranAllocatable(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex);
    ~BoundFortranAllocatable() override;

private:
    BoundFortranAllocatableData data_;
};

#endif
