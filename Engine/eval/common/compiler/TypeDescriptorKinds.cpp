#include "compiler/TypeDescriptorKinds.h"

#include "compiler/CxxevalInterface.h"
#include "compiler/ServicesRefusal.h"
#include "types/TypeItem.h"

namespace {

constexpr int none = -1;

// The descriptor kind of each TypeKind, 0 to 61.
constexpr int kindOfTypeKind[TypeKindCount] = {
    11,   12, 13, 14,         // the booleans
    15,   16, 17,             // char, signed char, unsigned char
    18,   19, 20, 21, 22, 23, // short, int, long, signed then unsigned
    24,   25,                 // long long
    26,   29, 27, 30, 28, 31, // float, double, long double, each binary then hexadecimal
    32,   33, 34,             // complex
    1,    8,  0,  3,  7,  2,  // pointer, Fortran pointer, pointee, array, enumeration, reference
    none,                     // named
    38,   39, 5,              // void, wchar_t, function
    40,   41, 42,             // decimal floating point
    43,   44, 9,  45,         // packed decimal, fixed-point binary, character string, array section
    46,   47, 48,             // the generic kinds
    49,   50, 51, 52, 53,     // zoned and national decimal, national string, index name, index data item
    54,   55, 56, 57, 58, 59, // external float and the edited kinds
    none,                     // file descriptor
    63,   60, 61,             // address of a reference, DBCS string and edited
    35,   36, 37,             // hexadecimal complex
};

} // namespace

EE_TypeDescriptor::Kind typeDescriptorKindOf(int typeKind)
{
    if (typeKind < 0 || typeKind >= TypeKindCount || kindOfTypeKind[typeKind] == none)
        servicesRefuse();
    return static_cast<EE_TypeDescriptor::Kind>(kindOfTypeKind[typeKind]);
}

EE_TypeDescriptor::Kind typeDescriptorKind(const TypeItem* type)
{
    trace(".handle=%p", static_cast<const void*>(type));
    const int modelKind = typeKind(type);
    if (modelKind < 0 || modelKind >= TypeKindCount || kindOfTypeKind[modelKind] == none) {
        trace(".no kind");
        servicesRefuse();
    }
    // The model's long of 4 bytes is C's long only where long has 4 bytes;
    // where long is wider (8-byte addresses) it is int, so that the usual
    // conversions keep unsigned int rather than widen it to unsigned long.
    if ((modelKind == t_signedLongInt || modelKind == t_unsignedLongInt) &&
        type->typeSize() < TypeItem::simpleType(static_cast<TypeKind>(modelKind))->typeSize()) {
        const EE_TypeDescriptor::Kind narrow =
            modelKind == t_signedLongInt ? EE_TypeDescriptor::Int : EE_TypeDescriptor::UnsignedInt;
        trace(".kind=%d", static_cast<int>(narrow));
        return narrow;
    }
    trace(".kind=%d", kindOfTypeKind[modelKind]);
    return static_cast<EE_TypeDescriptor::Kind>(kindOfTypeKind[modelKind]);
}

TypeKind ostrelTypeKind(unsigned kind)
{
    struct Inverse {
        int typeKinds[EE_TypeDescriptor::LastKind + 1];
    };
    static const Inverse inverse = [] {
        Inverse t{};
        for (int& v : t.typeKinds)
            v = none;
        for (int k = 0; k < TypeKindCount; ++k)
            if (kindOfTypeKind[k] != none)
                t.typeKinds[kindOfTypeKind[k]] = k;
        return t;
    }();
    if (kind > EE_TypeDescriptor::LastKind || inverse.typeKinds[kind] == none)
        servicesRefuse();
    return static_cast<TypeKind>(inverse.typeKinds[kind]);
}

namespace {

// The predefined scalar descriptor kind of a type, or -1.
int scalarKind(const TypeItem& type)
{
    const int modelKind = typeKind(&type);
    if (modelKind < 0 || modelKind >= TypeKindCount || kindOfTypeKind[modelKind] == none)
        return -1;
    const EE_TypeDescriptor::Kind kind = typeDescriptorKind(&type);
    const bool scalar = (kind >= EE_TypeDescriptor::Bool && kind <= EE_TypeDescriptor::HexComplexLongDouble) ||
                        kind == EE_TypeDescriptor::WcharT ||
                        (kind >= EE_TypeDescriptor::Decimal32 && kind <= EE_TypeDescriptor::Decimal128);
    return scalar ? static_cast<int>(kind) : -1;
}

} // namespace

bool bitField(const TypeItem& type)
{
    const _TYPE_ENTRY* entry = type.typeEntry();
    if (entry == nullptr || entry->leaf != TE_INTEGER)
        return false;
    const unsigned bits = entry->integer.bitLength;
    return entry->integer.bitOffset != 0 || (bits != 8 && bits != 16 && bits != 32 && bits != 64);
}

bool describedAlike(const TypeItem& type, const TypeItem& described)
{
    // A typedef or qualified type is described as the type it names.
    const TypeItem first = type.reduce();
    const TypeItem second = described.reduce();
    const int kind = scalarKind(first);
    return kind >= 0 && kind == scalarKind(second) && first.typeSize() == second.typeSize() && !bitField(first) &&
           !bitField(second);
}
