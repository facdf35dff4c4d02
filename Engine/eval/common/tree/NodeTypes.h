#ifndef NORVEXA_TREE_NODETYPES_H
#define NORVEXA_TREE_NODETYPES_H

#include "HostRecords.h"
#include "types/TypeItem.h"

// Small questions the tree's nodes ask of their types.

// The host entry of a type; null for a primitive or the empty type.
inline const _TYPE_ENTRY* nodeTypeEntry(const TypeItem& type)
{
    return type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
}

// The empty type {0, 0}.
inline bool isEmptyNodeType(const TypeItem& type)
{
    return type.typeIndex().module() == 0 && type.typeIndex().index() == 0;
}

#endif
