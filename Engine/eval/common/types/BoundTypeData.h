#ifndef NORVEXA_TYPES_BOUNDTYPEDATA_H
#define NORVEXA_TYPES_BOUNDTYPEDATA_H

#include "services/DebuggeeLocation.h"
#include "types/TypeItem.h"

// What a bound type (a type whose shape the program fixes at run time)
// remembers of the symbol it belongs to: the symbol's location and the bound
// type that owns this data. Each kind of bound type has its own data class.
// The owning type holds the data object and clears its location when it is
// destroyed; nobody deletes the data through this base.
class TypeItem::BoundTypeData {
public:
    explicit BoundTypeData(TypeItem* owner) : owner_(owner) {}
    BoundTypeData(const BoundTypeData&) = delete;
    BoundTypeData& operator=(const BoundTypeData&) = delete;

    // Takes the location of the symbol whose type the owner is (and passes
    // it on to the bound target type, where the kind has one).
    virtual void setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry) = 0;
    // Whether the run-time shape of type changed since it was last shown.
    virtual bool hasTypeStructureChanged(TypeItem& type) const
    {
        (void)type;
        return false;
    }
    // The type that the data stands for.
    virtual const TypeItem* actualType() const { return owner_; }

    const DebuggeeLocation& symbolLocation() const { return location_; }
    TypeItem* owner() const { return owner_; }

protected:
    ~BoundTypeData() = default;

    DebuggeeLocation location_;
    TypeItem* owner_;
};

#endif
