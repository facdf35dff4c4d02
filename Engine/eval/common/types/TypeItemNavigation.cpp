// Navigation: pointers, references, arrays, Fortran descriptors, UPC sharing.
#include "types/TypeItem.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>

#include "HostRecordAccess.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/ObjectSize.h"
#include "services/SVC.h"
#include "types/BoundTypeData.h"
#include "types/BoundTypeItem.h"
#include "types/CreatedTypeItem.h"
#include "types/PrimitiveType.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeDepthGuard.h"
#include "types/TypeItemSupport.h"

using namespace TypeItemSupport;

// ===========================================================================
// Navigation: pointers, references, arrays, descriptors, sharing

bool TypeItem::boundObjectAddress(std::uint64_t& address) const
{
    if (boundData == nullptr)
        return false;
    const DebuggeeLocation& where = boundData->symbolLocation();
    if (where.kind() != DebuggeeLocation::debuggeeMemory || !where.isValid())
        return false;
    address = where.address().addr();
    return true;
}

const TypeItem& TypeItem::pointee() const
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    if (isFortranPointer(*this)) {
        const _TYPE_ENTRY* e = typeEntry();
        if (e == nullptr || e->leaf != TE_F90_POINTER)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        if (boundData == nullptr)
            return typeOf(e->f90pointer.targetType);
        // The target named by the run-time descriptor: asking whether the
        // shape changed rebuilds it into the actual type's copy of the entry.
        const TypeItem* actual = boundData->actualType();
        actual->hasTypeStructureChanged();
        const _TYPE_ENTRY* actualEntry = actual->typeEntry();
        if (actualEntry == nullptr || actualEntry->leaf != TE_F90_POINTER)
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        const TypeItem* target = BoundTypeItem::getType(TYPE_INDEX(actualEntry->f90pointer.targetType));
        if (target->boundTypeData() != nullptr)
            target->setSymbolLocation(getSymbolLocation());
        return *target;
    }
    if (hasFlag(TypeFlags::pointerToVoid))
        return typeOf(TYPE_INDEX{0, PrimitiveType::voidType});
    if (hasFlag(TypeFlags::pointer)) {
        const _TYPE_ENTRY* e = typeEntry();
        if (e == nullptr)
            return typeOf(TYPE_INDEX{0, index.index() & ~unsigned(PrimitiveType::pointerBit)});
        if (e->leaf == TE_POINTER)
            return typeOf(e->pointer.target);
    }
    throwOther(__PRETTY_FUNCTION__, __LINE__);
    return *this;
}

const TypeItem& TypeItem::referent() const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (e != nullptr && (e->leaf == TE_REFERENCE || e->leaf == TE_F90_ALLOCATABLE || e->leaf == TE_F90_POINTER))
        return typeOf(typeEntryInnerType(*e));
    throwFixme(__PRETTY_FUNCTION__, __LINE__);
}

const TypeItem& TypeItem::dereference(unsigned int) const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (hasFlag(TypeFlags::pointer)) {
        if (e == nullptr)
            return typeOf(TYPE_INDEX{0, index.index() & ~unsigned(PrimitiveType::pointerBit)});
        if (e->leaf == TE_POINTER)
            return typeOf(e->pointer.target);
        if (e->leaf == TE_F90_POINTER) {
            if (boundData == nullptr)
                return typeOf(e->f90pointer.targetType);
            const _TYPE_ENTRY* actual = boundData->actualType()->typeEntry();
            if (actual == nullptr || actual->leaf != TE_F90_POINTER)
                throwFixme(__PRETTY_FUNCTION__, __LINE__);
            return typeOf(actual->f90pointer.targetType);
        }
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    }
    if (!hasFlag(TypeFlags::array) || e == nullptr)
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    switch (e->leaf) {
    case TE_VUM_ARRAY:
    case TE_F90_DESC_ARRAY:
    case TE_COBOL_TABLE: return typeOf(typeEntryElementType(*e));
    case TE_ARRAY: return *CreatedTypeItem::findArrayElement(*this, nullptr);
    default: throwFixme(__PRETTY_FUNCTION__, __LINE__);
    }
}

namespace {

// The data-location block of a Fortran descriptor entry (null for others).
const DwarfBlock* dataLocationBlock(const _TYPE_ENTRY* e)
{
    if (e == nullptr)
        return nullptr;
    switch (e->leaf) {
    case TE_F90_ALLOCATABLE: return e->f90allocatable.dataLocation;
    case TE_F90_DESC_ARRAY: return e->f90descarray.dataLocation;
    case TE_F90_POINTER: return e->f90pointer.dataLocation;
    default: return nullptr;
    }
}

DebuggeeAddress computeDataAddress(const DwarfBlock* block, std::uint64_t objectAddress)
{
    const UBYTE8 base = objectAddress;
    EE_ADDR a = SVC::Expr2ComputeDWARFaddress(currentContext(), dwarfBlockBytes(block), dwarfBlockLength(block), &base);
    return DebuggeeAddress(a);
}

} // namespace

bool TypeItem::dereference(DebuggeeLocation& location) const
{
    try {
        const DwarfBlock* block = dataLocationBlock(typeEntry());
        if (block == nullptr)
            return false;
        DebuggeeAddress data = computeDataAddress(block, location.address().addr());
        if (!data.isValid())
            return false;
        location = data;
        return true;
    } catch (...) {
        return false;
    }
}

DebuggeeAddress TypeItem::getDataAddress(const DebuggeeLocation& location) const
{
    const bool fortranPointer = isFortranPointer(*this);
    const bool descriptorArray = hasFlag(TypeFlags::fortranDescriptor) && hasFlag(TypeFlags::array);
    if (fortranPointer || descriptorArray) {
        const DwarfBlock* block = dataLocationBlock(typeEntry());
        std::uint64_t object = 0;
        if (block != nullptr && boundObjectAddress(object)) {
            DebuggeeAddress data = computeDataAddress(block, object);
            if (data.bits() == 32)
                data.setAddr(static_cast<std::uint32_t>(data.addr()));
            return data;
        }
        return DebuggeeAddress();
    }
    if (hasFlag(TypeFlags::pointer) || hasFlag(TypeFlags::reference)) {
        DebuggeeLocation target(location);
        target.dereference(this);
        return target.address();
    }
    return DebuggeeAddress();
}

namespace {

// The association (or allocation) block of a Fortran entry; null when the
// entry has none or is of another leaf.
const DwarfBlock* associationBlock(const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_F90_DESC_ARRAY: return e.f90descarray.association;
    case TE_F90_POINTER: return e.f90pointer.association;
    default: return nullptr;
    }
}

const DwarfBlock* allocationBlock(const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_F90_DESC_ARRAY: return e.f90descarray.allocation;
    case TE_F90_POINTER: return e.f90pointer.allocation;
    case TE_F90_ALLOCATABLE: return e.f90allocatable.allocation;
    default: return nullptr;
    }
}

} // namespace

bool TypeItem::descriptorStateHolds(bool association) const
{
    if (index.module() == 0)
        return true;
    const _TYPE_ENTRY* e = typeEntry();
    const DwarfBlock* block = nullptr;
    if (e != nullptr)
        block = association ? associationBlock(*e) : allocationBlock(*e);
    if (block == nullptr)
        return true;
    std::uint64_t object = 0;
    const bool hasObject = boundObjectAddress(object);
    return blockValue(block, hasObject ? &object : nullptr) != 0;
}

bool TypeItem::isAssociated() const
{
    return descriptorStateHolds(true);
}

bool TypeItem::isAllocated() const
{
    return descriptorStateHolds(false);
}

unsigned TypeItem::rankOf() const
{
    const TypeItem* t = this;
    for (unsigned steps = 0;; ++steps) {
        if (steps >= TypeDepthGuard::limit)
            throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
        if (t->hasFlag(TypeFlags::reference))
            t = &t->referent();
        else if (isFortranPointer(*t))
            t = &t->pointee();
        else
            break;
    }
    if (!t->hasFlag(TypeFlags::array))
        return 0;
    const _TYPE_ENTRY* e = t->typeEntry();
    if (e == nullptr)
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    switch (e->leaf) {
    case TE_ARRAY:
    case TE_VUM_ARRAY: return 1;
    case TE_F90_DESC_ARRAY: return e->f90descarray.rank;
    case TE_COBOL_TABLE: return 0;
    default: throwFixme(__PRETTY_FUNCTION__, __LINE__);
    }
}

unsigned TypeItem::getRank() const
{
    if (!hasFlag(TypeFlags::array))
        return 0;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return 0;
    switch (e->leaf) {
    case TE_ARRAY: {
        if (inFortran())
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        unsigned rank = 1;
        const TypeItem* element = &typeOf(e->array.elementType);
        while (element->hasFlag(TypeFlags::array)) {
            if (rank >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            ++rank;
            const _TYPE_ENTRY* inner = element->typeEntry();
            if (inner == nullptr || inner->leaf != TE_ARRAY)
                break;
            element = &typeOf(inner->array.elementType);
        }
        return rank;
    }
    case TE_VUM_ARRAY: SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Need to add support for TE_VUM_ARRAY"); return 1;
    case TE_F90_DESC_ARRAY: return e->f90descarray.rank;
    case TE_COBOL_TABLE: return 1;
    default: return 0;
    }
}

const TypeItem& TypeItem::rankType(unsigned int n) const
{
    const TypeItem* t = this;
    for (unsigned steps = 0; isFortranPointer(*t); ++steps) {
        if (steps >= TypeDepthGuard::limit)
            throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
        t = &t->pointee();
    }
    if (t->hasFlag(TypeFlags::reference))
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    if (t->hasFlag(TypeFlags::array) && n > 1)
        return *t;
    const _TYPE_ENTRY* e = t->typeEntry();
    if (e != nullptr && e->leaf == TE_COBOL_TABLE)
        return typeOf(e->cobolTable.elementType);
    if (e != nullptr && e->leaf == TE_F90_DESC_ARRAY) {
        const TypeItem* element = &typeOf(e->f90descarray.elementType);
        for (unsigned steps = 0;; ++steps) {
            if (steps >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            const _TYPE_ENTRY* inner = element->typeEntry();
            if (inner == nullptr || inner->leaf != TE_F90_DESC_ARRAY)
                break;
            element = &typeOf(inner->f90descarray.elementType);
        }
        return *element;
    }
    throwFixme(__PRETTY_FUNCTION__, __LINE__);
}

int TypeItem::descriptorDimension(unsigned n, Dimension& d, const std::uint64_t* object) const
{
    const TypeItem* t = this;
    const _TYPE_ENTRY* e = typeEntry();
    for (unsigned steps = 0; n > e->f90descarray.dimension; ++steps) {
        if (steps >= TypeDepthGuard::limit)
            throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
        t = &typeOf(e->f90descarray.elementType);
        e = t->typeEntry();
        if (e == nullptr || e->leaf != TE_F90_DESC_ARRAY)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
    }
    const TNf90descarray& r = e->f90descarray;
    if (r.lowerBound == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    d.lower = blockValue(r.lowerBound, object);
    d.allocated = r.allocation == nullptr || blockValue(r.allocation, object) != 0;
    d.associated = r.association == nullptr || blockValue(r.association, object) != 0;
    if (r.extent != nullptr) {
        d.count = blockValue(r.extent, object);
        d.countUnknown = false;
    } else if (r.upperBound != nullptr) {
        // Bounds of a descriptor not yet set up are any 64-bit numbers.
        const std::int64_t upper = blockValue(r.upperBound, object);
        if (__builtin_sub_overflow(upper, d.lower, &d.count) || __builtin_add_overflow(d.count, 1, &d.count))
            ObjectSize::outOfRange(__PRETTY_FUNCTION__, __LINE__);
        d.countUnknown = false;
    } else {
        d.count = 0;
        d.countUnknown = true;
    }
    if (r.stride != nullptr) {
        d.length = static_cast<std::uint64_t>(blockValue(r.stride, object));
    } else {
        TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
        const TypeItem& element = typeOf(r.elementType);
        const _TYPE_ENTRY* ee = element.typeEntry();
        if (ee != nullptr && ee->leaf == TE_F90_DESC_ARRAY) {
            // The element's bounds live in this object's descriptor too.
            Dimension inner;
            element.descriptorDimension(ee->f90descarray.dimension, inner, object);
            d.length = inner.countUnknown || inner.count <= 0
                           ? 0
                           : ObjectSize::product(static_cast<std::uint64_t>(inner.count), inner.length,
                                                 __PRETTY_FUNCTION__, __LINE__);
        } else {
            d.length = element.typeSize();
        }
    }
    if (d.length == 0 && !inFortran())
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    return 0;
}

int TypeItem::getDimension(unsigned int n, Dimension& d) const
{
    d.fresh();
    if (isFortranPointer(*this))
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    if (!hasFlag(TypeFlags::array))
        return 0;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return 0;
    switch (e->leaf) {
    case TE_ARRAY: {
        if (inFortran())
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        const TypeItem* t = this;
        for (unsigned i = 0; i < n; ++i) {
            if (i >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            const _TYPE_ENTRY* te = t->typeEntry();
            if (te == nullptr || te->leaf != TE_ARRAY)
                throwOther(__PRETTY_FUNCTION__, __LINE__);
            t = &typeOf(te->array.elementType);
            if (!t->hasFlag(TypeFlags::array) || t->hasFlag(TypeFlags::fortranDescriptor))
                throwOther(__PRETTY_FUNCTION__, __LINE__);
        }
        const _TYPE_ENTRY* te = t->typeEntry();
        if (te == nullptr || te->leaf != TE_ARRAY)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        const std::uint64_t length = typeOf(te->array.elementType).typeSize();
        if (length == 0)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        d.length = length;
        d.lower = inCobol() ? 1 : 0;
        d.count = static_cast<std::int64_t>(t->typeSize()) / static_cast<std::int64_t>(length);
        d.allocated = true;
        d.associated = false;
        d.countUnknown = false;
        return 0;
    }
    case TE_COBOL_TABLE: {
        const TNcobolTable& r = e->cobolTable;
        d.lower = 1;
        d.length = typeOf(r.elementType).typeSize();
        if (r.countBlock == nullptr)
            return 1;
        d.countUnknown = false;
        unsigned width = 0;
        switch (r.countWidth) {
        case 0: width = 0; break;
        case 1: width = 2; break;
        case 2: width = 4; break;
        case 3: width = 8; break;
        default: throwOther(__PRETTY_FUNCTION__, __LINE__);
        }
        std::uint64_t objectValue = 0;
        const bool hasObject = boundObjectAddress(objectValue);
        const UBYTE8 base = objectValue;
        EE_ADDR at{};
        unsigned char bytes[8] = {};
        try {
            at = SVC::Expr2ComputeDWARFaddress(currentContext(), dwarfBlockBytes(r.countBlock),
                                               dwarfBlockLength(r.countBlock), hasObject ? &base : nullptr);
            if (width != 0 && SVC::Expr2ReadMemory(currentContext(), at, width, bytes) != width)
                throwOther(__PRETTY_FUNCTION__, __LINE__);
        } catch (const InvalidOp&) {
            d.reset();
            return 0;
        }
        if (width == 0)
            d.count = static_cast<std::int64_t>(DebuggeeAddress(at).addr());
        else
            d.count = signedBigEndian(bytes, width);
        return 1;
    }
    case TE_F90_DESC_ARRAY: {
        std::uint64_t objectValue = 0;
        return descriptorDimension(n, d, boundObjectAddress(objectValue) ? &objectValue : nullptr);
    }
    case TE_VUM_ARRAY:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Need to add support for TE_VUM_ARRAY");
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    default: return 0;
    }
}

int TypeItem::getDimension(Dimension& d) const
{
    if (!hasFlag(TypeFlags::array)) {
        d.fresh();
        return 0;
    }
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr) {
        d.fresh();
        return 0;
    }
    switch (e->leaf) {
    case TE_F90_DESC_ARRAY: return getDimension(e->f90descarray.dimension, d);
    case TE_COBOL_TABLE: return getDimension(1, d);
    case TE_ARRAY:
    case TE_VUM_ARRAY:
        if (inFortran())
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        return getDimension(0, d);
    default: return getDimension(0, d);
    }
}

void TypeItem::setBlockSize(unsigned int blockElements)
{
    if (!hasFlag(TypeFlags::upcShared))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__, "Type not shared");
    flags.setFactor(blockElements);
}
