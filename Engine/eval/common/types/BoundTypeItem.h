#ifndef NORVEXA_TYPES_BOUNDTYPEITEM_H
#define NORVEXA_TYPES_BOUNDTYPEITEM_H

#include "types/BoundTypeData.h"
#include "types/CreatedTypeItem.h"

// A created type that stands for a host type whose shape the program fixes
// at run time (pointers, references, dynamic strings and arrays, Fortran
// pointers and allocatables): it keeps a copy of the host entry and a data
// object (TypeItem::BoundTypeData) that remembers the location of the
// symbol the type belongs to. Its type index is the host's index; its
// unsimplified index is its created index {-1, n}.
class BoundTypeItem : public CreatedTypeItem {
public:
    // The bound form of a type, or the type itself when it needs none.
    static const TypeItem* getType(const TypeItem& type);
    // The created-or-found type of an index; in Fortran its bound form.
    static const TypeItem* getType(const TYPE_INDEX& index);

    ~BoundTypeItem() override = default;

protected:
    BoundTypeItem() = default;
};

#endif
