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
    if (type.typeIndex().module() == 0)
        return false;
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr)
        return false;
    if (e->leaf == TE_REFERENCE) {
        TypeItem referent(TYPE_INDEX(e->reference.referent));
        const _TYPE_ENTRY* r = referent.typeEntry();
        return r != nullptr && (r->leaf == TE_CLASS || r->leaf == TE_STRUCT);
    }
    switch (e->leaf) {
    case TE_CLASS:
    case TE_GROUP:
    case TE_STRUCT:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66:
        return true;
    default:
        return false;
    }
}

// The element type of an array type; false for anything else.
inline bool arrayElement(const TypeItem& type, TypeItem& element)
{
    if (!type.hasFlag(TypeFlags::array))
        return false;
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr)
        return false;
    const TYPE_INDEX inner = typeEntryElementType(*e);
    if (typeIndexEmpty(inner))
        return false;
    element = TypeItem(inner);
    return true;
}

// The type with every array level taken off (bounded, so a corrupt record
// that names itself as its element ends the walk).
inline TypeItem withoutArrays(const TypeItem& type)
{
    TypeItem current(type);
    TypeItem element;
    for (unsigned depth = 0; depth < 256 && arrayElement(current, element); ++depth)
        current = element;
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
