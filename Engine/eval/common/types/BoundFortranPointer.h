#ifndef NORVEXA_TYPES_BOUNDFORTRANPOINTER_H
#define NORVEXA_TYPES_BOUNDFORTRANPOINTER_H

#include "types/BoundTypeItem.h"

// The data of a Fortran pointer bound to its symbol: the symbol's location
// (shared with the target type) and the display type, the target's dynamic
// type as the pointer's run-time descriptor names it.
class BoundFortranPointerData : public BoundTypeItem::Data {
public:
    explicit BoundFortranPointerData(TypeItem* owner) : BoundTypeItem::Data(owner) {}
    void setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry) override;
    // Rebuilds the display type: changed when it differs from the one
    // before (not when there was none).
    bool hasTypeStructureChanged(TypeItem& type) const override;

    const TypeItem* displayType() const { return displayType_; }

private:
    void rebuildDisplayType() const;

    mutable const TypeItem* displayType_ = nullptr;
};

// The bound type of a Fortran pointer.
class BoundFortranPointer : public BoundTypeItem {
public:
    BoundFortranPointer(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex);
    ~BoundFortranPointer() override;

    const BoundFortranPointerData& pointerData() const { return data_; }

private:
    BoundFortranPointerData data_;
};

#endif
