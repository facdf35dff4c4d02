#ifndef NORVEXA_TYPES_BOUNDTYPEITEM_H
#define NORVEXA_TYPES_BOUNDTYPEITEM_H

#include <cstddef>

#include "types/BoundTypeData.h"
#include "types/CreatedTypeItem.h"

// A type whose shape needs the storage of the object that has it: a pointer
// or reference (its target may be such a type), a COBOL table of run-time
// length, a Fortran descriptor array, allocatable or pointer. The bound type
// is a created type that keeps a copy of the host entry (so it stays valid
// whatever the host's cache does) and a data object that remembers the
// location of the symbol the type belongs to. It stands for the host type
// under the host's own index; its unsimplified index is its own {-1, n}.
class BoundTypeItem : public CreatedTypeItem {
public:
    // The common part of the data objects of the bound types.
    class Data : public TypeItem::BoundTypeData {
    public:
        explicit Data(TypeItem* owner) : TypeItem::BoundTypeData(owner) {}
        void forgetLocation() { location_.clear(); }

    protected:
        ~Data() = default;
        // Stores the location and hands loc to the created type of target
        // (a host or primitive target is left alone).
        void storeAndPassOn(const DebuggeeLocation& location, TYPE_INDEX target, const DebuggeeLocation& loc);
        // Forgets the display name of type and makes it again: whether the
        // text changed (not when no name had been made).
        static bool nameChanged(TypeItem& type);
    };

    // The bound form of a type (a new bound type for the leaves that have
    // one), or the type itself.
    static const TypeItem* getType(const TypeItem& type);
    // The created-or-found type of an index; in Fortran its bound form.
    static const TypeItem* getType(const TYPE_INDEX& index);

    ~BoundTypeItem() override = default;

    // The copy of the host entry this type holds.
    _TYPE_ENTRY& entryCopy() { return record; }
    const _TYPE_ENTRY& entryCopy() const { return record; }

protected:
    BoundTypeItem() = default;
    // Completes a bound type: copies size bytes of the host entry, stands
    // for hostIndex, attaches the data, makes the target in the copy a
    // created type of this environment (bound in Fortran) and computes the
    // flags. targetField is where the copy holds the target index (it
    // lies unaligned, so it is read and written bytewise).
    void bind(const _TYPE_ENTRY& source, std::size_t size, const TYPE_INDEX& hostIndex, Data& data, void* targetField);
};

#endif
