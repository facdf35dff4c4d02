#ifndef NORVEXA_COMPILER_TYPETABLE_H
#define NORVEXA_COMPILER_TYPETABLE_H

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_KeyedHashTable.h"
#include "compiler/EE_OstrelTypeDescriptor.h"

class EE_Declaration;
class EE_OstrelServices;
class EE_StorageArena;

// One descriptor per type: each form answers the descriptor already keyed
// by the type, or makes one with the kind and the form's fields and enters
// it. A kind the form does not accept refuses with EE_Exception {2, 0}.
class TypeTable {
public:
    TypeTable(EE_StorageArena& arena, EE_OstrelServices& services) : arena(arena), services(services) {}

    EE_OstrelTypeDescriptor* find(const TypeItem* type) { return table.find(type); }

    // A basic kind; its declaration is the kind's predefined declaration.
    EE_OstrelTypeDescriptor* plain(const TypeItem* type, EE_TypeDescriptor::Kind kind);
    // Pointer, reference, array-like and address-of-reference kinds (0, 1, 2,
    // 3, 8, 9, 63) over a target; declared as "*".
    EE_OstrelTypeDescriptor* pointerLike(const TypeItem* type, EE_TypeDescriptor::Kind kind, EE_TypeDescriptor& target);
    // An array (kinds 0, 1, 2, 3, 8, 9) of a count of elements; declared as "[]".
    EE_OstrelTypeDescriptor* array(const TypeItem* type, EE_TypeDescriptor::Kind kind, EE_TypeDescriptor& element,
                                   long long count);
    // Classes, unions, enumerations and file descriptors (4, 6, 7, 62).
    EE_OstrelTypeDescriptor* named(const TypeItem* type, EE_TypeDescriptor::Kind kind, EE_Declaration& declaration);
    // A function (kind 5): its return type and its parameter chain, which
    // starts at the last parameter.
    EE_OstrelTypeDescriptor* function(const TypeItem* type, const FunctionInfoBlock& info);
    // Packed, binary, zoned and national decimal (43, 44, 49, 50).
    EE_OstrelTypeDescriptor* fixedPoint(const TypeItem* type, EE_TypeDescriptor::Kind kind,
                                        const FixedPointInfoBlock& info);
    // The information forms (strings, index and picture types): kind and key.
    EE_OstrelTypeDescriptor* keyed(const TypeItem* type, EE_TypeDescriptor::Kind kind);

private:
    EE_OstrelTypeDescriptor* make(const TypeItem* type, EE_TypeDescriptor::Kind kind);

    EE_StorageArena& arena;
    EE_OstrelServices& services;
    EE_KeyedHashTable<EE_OstrelTypeDescriptor, const TypeItem*, 97> table;
};

#endif
