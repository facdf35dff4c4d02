// Sameness of types built apart.
#include "types/TypeItem.h"

#include <new>

#include "HostRecordAccess.h"
#include "types/CreatedTypeItem.h"
#include "types/TypeDepthGuard.h"

namespace {

bool isIntegralOrFloating(TypeKind kind)
{
    return (kind >= t_signedChar && kind <= t_complexLongDouble) || kind == t_bool || kind == t_shortBool ||
           kind == t_longBool || kind == t_longLongBool || (kind >= t_decimal32 && kind <= t_decimal128) ||
           (kind >= t_complexFloat_quvhex && kind <= t_complexLongDouble_quvhex);
}

// A bit field is a type of its own, whatever its storage unit.
bool fillsItsBytes(const TypeItem& type)
{
    const _TYPE_ENTRY* e = type.typeEntry();
    return e == nullptr || e->leaf != TE_INTEGER ||
           (e->integer.bitOffset == 0 && e->integer.bitLength == 8u * type.typeSize());
}

// A pointer the evaluator made to an int and the program's own pointer to
// that int are one type: what they lead to decides.
bool sameStructure(const TypeItem& first, const TypeItem& second)
{
    if (first == second)
        return true;
    const TypeDepthGuard depth(__PRETTY_FUNCTION__, __LINE__);
    const TypeKind kind = first.kind();
    if (second.kind() != kind)
        return false;
    switch (kind) {
    case t_pointer: {
        if (first.typeSize() != second.typeSize())
            return false;
        const TypeItem* a = CreatedTypeItem::findDereferencedType(first);
        const TypeItem* b = CreatedTypeItem::findDereferencedType(second);
        return a != nullptr && b != nullptr && sameStructure(*a, *b);
    }
    case t_reference:
    case t_addressOfReference: return sameStructure(first.referent(), second.referent());
    case t_array: {
        if (first.typeSize() != second.typeSize())
            return false;
        const TypeItem* a = CreatedTypeItem::findArrayElement(first);
        const TypeItem* b = CreatedTypeItem::findArrayElement(second);
        return a != nullptr && b != nullptr && sameStructure(*a, *b);
    }
    default:
        return isIntegralOrFloating(kind) && first.typeSize() == second.typeSize() && fillsItsBytes(first) &&
               fillsItsBytes(second);
    }
}

} // namespace

bool TypeItem::isSameType(const TypeItem& other) const
{
    if (*this == other)
        return true;
    try {
        return sameStructure(*this, other);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        // A type the model cannot classify is the same only as itself.
        return false;
    }
}
