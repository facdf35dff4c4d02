#ifndef NORVEXA_COMPILER_TYPEDESCRIPTORKINDS_H
#define NORVEXA_COMPILER_TYPEDESCRIPTORKINDS_H

#include "frontend/EE_TypeDescriptor.h"
#include "types/TypeKind.h"

class TypeItem;

// The two classifications of a type, the front end's descriptor kind and the
// symbol model's TypeKind, mapped onto each other. Kinds without a
// counterpart refuse with EE_Exception {2, no node}.

// The descriptor kind of a TypeKind: none for 30 (named), 55 (file
// descriptor) and values outside 0-61.
EE_TypeDescriptor::Kind typeDescriptorKindOf(int typeKind);
// The descriptor kind of a type; traces the handle and the kind.
EE_TypeDescriptor::Kind typeDescriptorKind(const TypeItem* type);
// The TypeKind of a descriptor kind: none for 4, 6, 10, 62 and above 63.
TypeKind ostrelTypeKind(unsigned kind);

// Whether a type is a bit field: an integer of the host's bit-field record
// whose bits do not fill one whole byte, halfword, word or doubleword.
bool bitField(const TypeItem& type);

// Whether the descriptor table describes two types by one descriptor: both
// of the same predefined scalar kind (bool to complex, wchar_t, decimal
// floating point) and size, neither a bit field. A program's own
// type of such a kind (a member's int, a 4-byte INTEGER element) is
// described by the kind's first descriptor, often the model's type, while
// a load makes an item of the program's type: the value is the same.
bool describedAlike(const TypeItem& type, const TypeItem& described);

#endif
