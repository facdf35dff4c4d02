// Kinds, byte sizes and the small queries of a type.
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

#include <plomkit/ThreadOwned.h>

using namespace TypeItemSupport;

// ---------------------------------------------------------------------------
// Kinds

TypeKind TypeItem::kind() const
{
    char text[96];
    auto answer = [&](TypeKind k) {
        if (*SVC::traceEnabled())
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Returns %s for type %s", typeKindName(k),
                        traceText(*this, text));
        return k;
    };
    auto unknown = [&](unsigned code) -> TypeKind {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Unknown type %u for type %s   %" PRIx32 "(%" PRIu32 ")", code,
                    traceText(*this, text), index.module(), index.index());
        throwOther(__PRETTY_FUNCTION__, __LINE__);
        return t_void;
    };

    const _TYPE_ENTRY* e = index.module() == 0 ? nullptr : typeEntry();
    if (e == nullptr) {
        unsigned code = index.index();
        if (index.module() == 0 && isPointerFormCode(code))
            return answer(t_pointer);
        const PrimitiveType* p = PrimitiveType::find(code);
        if (p == nullptr || p->kind < 0)
            return unknown(code);
        return answer(static_cast<TypeKind>(p->kind));
    }

    switch (e->leaf) {
    case TE_ARRAY:
    case TE_F90_DESC_ARRAY: return answer(t_array);
    case TE_VUM_ARRAY:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Returns t_array for TE_VUM_ARRAY");
        return answer(t_array);
    case TE_ENUM:
    case TE_ENUM2: return answer(t_enum);
    case TE_REFERENCE: return answer((e->reference.flags & TNreference_AddressOf) ? t_addressOfReference : t_reference);
    case TE_F90_ALLOCATABLE: return answer(t_reference);
    case TE_CLASS:
    case TE_STRUCT:
    case TE_GROUP:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66: return answer(t_namedType);
    case TE_FUNCTION:
    case TE_METHOD:
    case TE_PROCEDURE:
    case TE_BUILTIN_PROCEDURE: return answer(t_function);
    case TE_POINTER: return answer(t_pointer);
    case TE_F90_POINTER: return answer(t_f90Pointer);
    case TE_PACKED_DECIMAL: return answer(t_packedDecimal);
    case TE_FIXED_POINT_BINARY: return answer(t_fixedPointBinary);
    case TE_CHARSTRING:
    case TE_COBOL_TABLE: return answer(t_characterString);
    case TE_ZONED_DECIMAL: return answer(t_zonedDecimal);
    case TE_NATIONAL_DECIMAL: return answer(t_nationalDecimal);
    case TE_NATIONAL_STRING: return answer(t_nationalString);
    case TE_INDEX_NAME: return answer(t_indexName);
    case TE_INDEX_DATA_ITEM: return answer(t_indexDataItem);
    case TE_EXTERNAL_FLOAT: return answer(t_externalFloat);
    case TE_ALPHA_NUMERIC_EDITED: return answer(t_alphaNumericEdited);
    case TE_NUMERIC_EDITED: return answer(t_numericEdited);
    case TE_NATIONAL_EXTERNAL_FLOAT: return answer(t_nationalExternalFloat);
    case TE_NATIONAL_EDITED: return answer(t_nationalEdited);
    case TE_NATIONAL_NUMERIC_EDITED: return answer(t_nationalNumericEdited);
    case TE_FILE_DESCRIPTOR: return answer(t_filedesc);
    case TE_DBCS_STRING: return answer(t_dbcsString);
    case TE_DBCS_EDITED: return answer(t_dbcsEdited);
    case TE_TYPEDEF:
    case TE_TYPEDEF2:
    case TE_QUALIFIER: {
        // The kind of what the typedef names (or the qualifier of a
        // conditional variable qualifies, as met in a table's element): a
        // copy over the same entry, which simplification strips to that
        // type.
        TypeItem aliased(index.typeIndex(), e, true);
        const _TYPE_ENTRY* inner = aliased.entry;
        if (inner != nullptr && isTypedefLeaf(inner->leaf))
            return unknown(inner->leaf);
        return aliased.kind();
    }
    case TE_INTEGER: {
        unsigned size = typeSize();
        bool isUnsigned = (e->integer.flags & TNinteger_Unsigned) != 0;
        // A bit field whose bits end in a third byte, or past the fourth,
        // is read from a storage unit of 4 or 8 bytes: it is an integer of
        // that unit's size.
        const unsigned width = e->integer.bitLength;
        if (width >= 1 && width <= 64 && width + e->integer.bitOffset <= 64 && (size == 3 || (size > 4 && size < 8)))
            size = bitFieldUnit(e->integer.bitOffset, width);
        if (size == 1)
            return answer((e->integer.bitLength == 1 || isUnsigned) ? t_unsignedChar : t_signedChar);
        if (size == 2)
            return answer(isUnsigned ? t_unsignedShortInt : t_signedShortInt);
        if (size == 4)
            return answer(isUnsigned ? t_unsignedLongInt : t_signedLongInt);
        // The 8-byte integer of the program ("long" with 8-byte addresses,
        // "long long" in either model).
        if (size == 8)
            return answer(isUnsigned ? t_unsignedLongLongInt : t_signedLongLongInt);
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Incorrect size (%u) for type %s   %" PRIx32 "(%" PRIu32 ")", size,
                    traceText(*this, text), index.module(), index.index());
        throwOther(__PRETTY_FUNCTION__, __LINE__);
        return t_void;
    }
    default: return unknown(e->leaf);
    }
}

const TypeItem* TypeItem::simpleType(TypeKind kind)
{
    static const unsigned codes[TypeKindCount] = {
        144, 145, 146, 157, 148, 128, 132, 129, 133, 130, 134, 130, 134, 155, 156, 136, 196, 137, 197, 138, 198,
        140, 141, 142, 0,   0,   0,   0,   0,   0,   0,   151, 0,   0,   159, 192, 193, 0,   0,   0,   195, 199,
        200, 201, 0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   203, 204, 205,
    };
    int k = static_cast<int>(kind);
    if (k < 0 || k >= TypeKindCount)
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    switch (kind) {
    case t_signedLongInt:
        return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, addressSize() == 8 ? 155u : 130u}, nullptr);
    case t_unsignedLongInt:
        return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, addressSize() == 8 ? 156u : 134u}, nullptr);
    case t_wchar_t: return wcharType();
    case t_longDouble:
    case t_complexLongDouble: {
        // Without an environment there is no program: the 16-byte type.
        EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
        const unsigned bytes = env != nullptr ? env->addressSize() : 8;
        return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, kind == t_longDouble
                                                                   ? PrimitiveType::longDoubleFor(bytes)
                                                                   : PrimitiveType::complexLongDoubleFor(bytes)},
                                                 nullptr);
    }
    case t_decimal32:
    case t_decimal64:
    case t_decimal128:
        if (!(debuggerEnvironment() & 8))
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        break;
    case t_packedDecimal:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:PackedDecimal?");
        if (!(debuggerEnvironment() & 4)) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:PackedDecimal.NOT.Supported!");
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        }
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:PackedDecimal.Supported.");
        return CreatedTypeItem::makePackedDecimalType(0, 0);
    case t_zonedDecimal:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:ZonedDecimal?");
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:ZonedDecimal.Supported.");
        return CreatedTypeItem::makeZonedDecimalType(0, 0);
    case t_nationalDecimal:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:NationalDecimal?");
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:NationalDecimal.Supported.");
        return CreatedTypeItem::makeNationalDecimalType(0, 0);
    default: break;
    }
    unsigned code = codes[k];
    if (code == 0)
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, code}, nullptr);
}

const TypeItem* TypeItem::wcharType()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    if (env == nullptr) {
        // Nothing to search and nowhere to keep a created type: the 4-byte
        // wide character of this thread stands in.
        return &threadOwned<const TypeItem>([] {}, static_cast<unsigned>(PrimitiveType::wchar4));
    }
    auto primitive = [](unsigned code) { return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, code}, nullptr); };
    // Without a context there is no file whose "wchar_t" could be asked for.
    if (env->context() == nullptr)
        return primitive(PrimitiveType::wchar4);
    ScopeItem* file = ScopeItem::fileScope();
    SymbolItem* symbol = file != nullptr ? file->findType("wchar_t", 1) : nullptr;
    if (symbol == nullptr)
        return primitive(PrimitiveType::wchar4);
    // The program's own "wchar_t": a host type stands for itself; an integer
    // of 2 or 4 bytes is the wide character of that size.
    const TypeItem& named = symbol->dataType();
    if (named.typeEntry() != nullptr)
        return &named;
    switch (named.index.index()) {
    case 129:
    case 133: return primitive(PrimitiveType::wchar2);
    case 130:
    case 134: return primitive(PrimitiveType::wchar4);
    default: break;
    }
    return &named;
}

TypeItem TypeItem::reduce() const
{
    if (kind() == t_enum)
        return TypeItem(TYPE_INDEX(typeEntry()->enumeration.underlyingType));
    return *this;
}

const TypeItem* TypeItem::enumType() const
{
    if (hasFlag(TypeFlags::enumeration)) {
        const _TYPE_ENTRY* e = typeEntry();
        if (e != nullptr && isEnumLeaf(e->leaf)) {
            TypeItem underlying(TYPE_INDEX(e->enumeration.underlyingType));
            TypeKind k = underlying.kind();
            if (k < t_float) {
                // The predefined type of the kind, unless that has another
                // size (a 4-byte int is a long, which is 8 bytes where the
                // address is): then the enumeration's own integer type.
                const TypeItem* simple = simpleType(k);
                if (simple->typeSize() != underlying.typeSize())
                    return CreatedTypeItem::findOrCreateType(TYPE_INDEX(e->enumeration.underlyingType), nullptr);
                return simple;
            }
        }
    }
    throwOther(__PRETTY_FUNCTION__, __LINE__);
    return nullptr;
}

unsigned TypeItem::equivalentPrimitiveType() const
{
    try {
        if (index.module() == 0 || typeEntry() == nullptr)
            return index.index();
        if (hasFlag(TypeFlags::pointerToShared) || hasFlag(TypeFlags::pointer) || hasFlag(TypeFlags::reference))
            return PrimitiveType::pointerToVoid;
        if (hasFlag(TypeFlags::enumeration)) {
            const TypeItem* e = enumType();
            if (e != nullptr && e->typeEntry() == nullptr)
                return e->index.index();
        }
    } catch (...) {
    }
    return PrimitiveType::noPrimitive;
}

// ---------------------------------------------------------------------------
// Sizes

unsigned TypeItem::primitiveTypeSize(unsigned int code)
{
    if (isSizedPointerCode(code))
        return addressSize();
    const PrimitiveType* p = PrimitiveType::find(code);
    return p != nullptr ? p->size : 0;
}

namespace {

// A size the host computes as a DWARF address: the whole value, 64 bits
// unless the host says the address is 32 bits wide.
std::uint64_t computedSize(const DwarfLocation& expression)
{
    const EE_ADDR a = SVC::Expr2ComputeAbsDWARFaddress(currentContext(), expression);
    if (a.width == 32)
        return a.addrLow;
    return (std::uint64_t(a.addrHigh) << 32) | a.addrLow;
}

} // namespace

std::uint64_t TypeItem::typeSize(unsigned int) const
{
    if (hasFlag(TypeFlags::pointerToShared))
        return 0;
    if (hasFlag(TypeFlags::reference) || hasFlag(TypeFlags::descriptorObject))
        return addressSize();
    if (hasFlag(TypeFlags::pointer) && hasFlag(TypeFlags::fortranDescriptor))
        return addressSize();
    const _TYPE_ENTRY* e = typeEntry();
    if (hasFlag(TypeFlags::pointer)) {
        if (e != nullptr && e->leaf == TE_POINTER) {
            if (e->pointer.flags & TNpointer_Bytes8)
                return 8;
            if (e->pointer.flags & TNpointer_Bytes4)
                return 4;
        }
        return addressSize();
    }
    if (e == nullptr)
        return primitiveTypeSize(index.index());
    if (e->leaf > TE_DBCS_EDITED)
        return 0;
    return ObjectSize::checked(recordSize(*e), __PRETTY_FUNCTION__, __LINE__);
}

std::uint64_t TypeItem::recordSize(const _TYPE_ENTRY& entry) const
{
    const _TYPE_ENTRY* e = &entry;
    // A host failure while a dynamic size is computed gives 0; a size out of
    // range is an error of its own and is passed on.
    try {
        switch (e->leaf) {
        case TE_ARRAY:
            if (arraySizeIsDynamic(e->array))
                return computedSize(arraySizeExpression(e->array));
            return arrayByteSize(e->array);
        case TE_INTEGER: return (e->integer.bitLength + 7u + e->integer.bitOffset) / 8u;
        case TE_CHARSTRING:
        case TE_NATIONAL_STRING: {
            const TNcharstring& r = e->charstring;
            if (!stringLengthIsDynamic(r))
                return r.size.length;
            DwarfLocation loc = stringLengthExpression(r);
            std::int64_t value = SVC::GetDwarfValue(currentContext(), loc.bytes, loc.length);
            if (inCobol() && (std::uint64_t(value) >> 32 != 0 || std::uint64_t(value) >= 0x8000000u))
                return 0;
            return ObjectSize::checkedSigned(value, __PRETTY_FUNCTION__, __LINE__);
        }
        case TE_CLASS:
        case TE_GROUP:
            if (classSizeIsDynamic(e->klass))
                return computedSize(classSizeExpression(e->klass));
            return classByteSize(e->klass);
        case TE_ENUM:
        case TE_ENUM2: return TypeItem(TYPE_INDEX(e->enumeration.underlyingType)).typeSize();
        case TE_POINTER: return addressSize();
        case TE_STRUCT: return e->structure.byteSize;
        case TE_F90_DESC_ARRAY: {
            Dimension d;
            getDimension(d);
            // A count below zero is an empty Fortran array (upper bound
            // below the lower one).
            if (d.countUnknown || d.count <= 0)
                return 0;
            return ObjectSize::product(static_cast<std::uint64_t>(d.count), d.length, __PRETTY_FUNCTION__, __LINE__);
        }
        case TE_PACKED_DECIMAL: return e->packed.byteLength;
        case TE_FIXED_POINT_BINARY: return e->binary.byteLength;
        case TE_ZONED_DECIMAL: return e->zoned.byteLength;
        case TE_NATIONAL_DECIMAL: return e->nationalDecimal.byteLength;
        case TE_INDEX_NAME: return e->indexName.byteLength;
        case TE_INDEX_DATA_ITEM: return e->indexDataItem.byteLength;
        case TE_EXTERNAL_FLOAT: return e->externalFloat.length;
        case TE_ALPHA_NUMERIC_EDITED: return e->alphaNumericEdited.length;
        case TE_NUMERIC_EDITED: return e->numericEdited.length;
        case TE_NATIONAL_EXTERNAL_FLOAT: return e->nationalExternalFloat.length;
        case TE_NATIONAL_EDITED: return e->nationalEdited.length;
        case TE_NATIONAL_NUMERIC_EDITED: return e->nationalNumericEdited.length;
        case TE_DBCS_STRING: return e->dbcsString.length;
        case TE_DBCS_EDITED: return e->dbcsEdited.length;
        default: return 0;
        }
    } catch (const ObjectSizeError&) {
        throw;
    } catch (const InvalidOp&) {
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Small queries

bool TypeItem::isWChar() const
{
    return typeEntry() == nullptr &&
           (index == unsigned(PrimitiveType::wchar2) || index == unsigned(PrimitiveType::wchar4));
}

bool TypeItem::isBaseClass() const
{
    if (index.module() == 0 || created)
        return false;
    const _TYPE_ENTRY* e = entry != nullptr ? entry : SVC::ExprGetTypeEntry(currentContext(), index.typeIndex());
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "dt4yat:TE=%08" PRIxPTR, reinterpret_cast<std::uintptr_t>(e));
    if (e == nullptr || e->leaf != TE_BASECLASS)
        return false;
    entry = e;
    return true;
}

bool TypeItem::isNationalGroup() const
{
    const _TYPE_ENTRY* e = typeEntry();
    return e != nullptr && isClassLeaf(e->leaf) && (e->klass.flags & TNclass_NationalGroup) != 0;
}

bool TypeItem::isCommonBlock() const
{
    const _TYPE_ENTRY* e = typeEntry();
    return e != nullptr && e->leaf == TE_LIST && e->list.kind == TE_LIST_TYPES;
}

bool TypeItem::isUnion() const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return false;
    // A bit field that does not start at the first bit places its member
    // after another one: no union.
    auto shiftedBitField = [](TYPE_INDEX memberType) {
        const _TYPE_ENTRY* t = entryOf(memberType);
        return t != nullptr && t->leaf == TE_INTEGER && t->integer.bitOffset != 0;
    };
    if (isClassLeaf(e->leaf)) {
        const _TYPE_ENTRY* list = entryOf(e->klass.fieldList);
        if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
            return false;
        unsigned atZero = 0;
        for (const TNtypeListNode* node = list->list.first.types; node != nullptr; node = node->next) {
            const _TYPE_ENTRY* m = entryOf(node->type);
            if (m == nullptr || m->leaf != TE_MEMBER || memberIsStatic(m->member))
                continue;
            if (memberOffset(m->member) != 0 || shiftedBitField(m->member.memberType))
                return false;
            if (++atZero == 2)
                return true;
        }
        return false;
    }
    if (e->leaf == TE_STRUCT && !inFortran()) {
        const _TYPE_ENTRY* names = entryOf(e->structure.memberNames);
        const _TYPE_ENTRY* types = entryOf(e->structure.memberTypes);
        if (names == nullptr || types == nullptr || names->leaf != TE_LIST || types->leaf != TE_LIST ||
            names->list.kind != TE_LIST_NAMES || types->list.kind != TE_LIST_TYPES)
            return false;
        unsigned atZero = 0;
        const TNnameListNode* n = names->list.first.names;
        const TNtypeListNode* t = types->list.first.types;
        for (; n != nullptr && t != nullptr; n = n->next, t = t->next) {
            if (nameListOffset(*n) != 0 || shiftedBitField(t->type))
                return false;
            if (++atZero == 2)
                return true;
        }
    }
    return false;
}

unsigned TypeItem::sharedBlockElements() const
{
    if (!hasFlag(TypeFlags::upcShared))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__, "Type not shared");
    return static_cast<unsigned>(flags.factor() & 0xFFFFFFFFu);
}

std::uint64_t TypeItem::sharedElementSize() const
{
    if (!hasFlag(TypeFlags::upcShared))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__, "Type not shared");
    TypeItem element(*this);
    element.flags.remove(TypeFlags::upcShared);
    element.flags.setFactor(0);
    for (unsigned depth = 0; depth < simplifyStepLimit && element.hasFlag(TypeFlags::array); ++depth) {
        const _TYPE_ENTRY* e = element.typeEntry();
        if (e == nullptr)
            break;
        TYPE_INDEX inner = typeEntryElementType(*e);
        if (typeIndexEmpty(inner))
            break;
        element = TypeItem(inner);
    }
    return element.typeSize();
}

bool TypeItem::sameBlockFactor(const TypeItem& other) const
{
    return hasFlag(TypeFlags::upcShared) && other.hasFlag(TypeFlags::upcShared) &&
           sharedBlockElements() == other.sharedBlockElements() && sharedElementSize() == other.sharedElementSize();
}

bool TypeItem::hasTypeStructureChanged() const
{
    if (boundData == nullptr)
        return false;
    return boundData->hasTypeStructureChanged(const_cast<TypeItem&>(*this));
}

void TypeItem::setSymbolLocation(const DebuggeeLocation& location) const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (boundData != nullptr && e != nullptr)
        boundData->setSymbolLocation(location, *e);
}

DebuggeeLocation TypeItem::getSymbolLocation() const
{
    if (boundData != nullptr)
        return boundData->symbolLocation();
    return DebuggeeLocation();
}

// ---------------------------------------------------------------------------

TYPE_INDEX typeOfSymbol(const _SYMBOL_ENTRY& symbol)
{
    return symbolEntryType(symbol);
}
