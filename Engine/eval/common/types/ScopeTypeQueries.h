#ifndef NORVEXA_TYPES_SCOPETYPEQUERIES_H
#define NORVEXA_TYPES_SCOPETYPEQUERIES_H

#include "HostRecordAccess.h"
#include "types/TypeItem.h"

// The questions the scopes put to a type when they follow a qualified name:
// whether it is an aggregate with a scope of its own, what an array holds,
// and which condition names a COBOL data item carries.
namespace scopetypes {

// Class, structure, union or COBOL group (also through a reference).
inline bool isAggregate(const TypeItem& type)
{
    return type.isClassOrStruct();
}

// The type with every array level taken off (bounded, so a corrupt record
// that names itself as its element ends the walk).
inline TypeItem withoutArrays(const TypeItem& type)
{
    TypeItem current(type);
    for (unsigned depth = 0; depth < 256 && current.hasFlag(TypeFlags::array); ++depth) {
        TypeItem element(current.dereference());
        current = element;
    }
    return current;
}

// The condition record of a COBOL data item's type, or null: the leaf-88
// qualifier over the item's type carries it.
inline const TNcobolCondVar* conditionRecord(const TypeItem& type)
{
    return qualifierConditionRecord(type.firstQualifierEntry());
}

} // namespace scopetypes

#endif
