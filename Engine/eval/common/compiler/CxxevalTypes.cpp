// The query interface: type questions and derived types.

#include <new>
#include <string>

#include "HostRecordAccess.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ClassScopeItem.h"
#include "types/CreatedTypeItem.h"
#include "types/TypeItem.h"

using opcodehandlers::typeText;

namespace {

bool hasTypeIndex(const TypeItem& type)
{
    return type.typeIndex().module() != 0 || type.typeIndex().index() != 0;
}

// Checks a type argument and traces it under the caller: "For type %s", or
// "type = %s" for the functions that make or derive a type.
void checkedType(const TypeItem* type, const char* signature, unsigned line, bool maker)
{
    validateType(type, signature, line);
    if (maker)
        NORVEXA_HANDLER_TRACE(signature, "type = %s", typeText(type));
    else
        NORVEXA_HANDLER_TRACE(signature, "For type %s", typeText(type));
}

} // namespace

const TypeItem* findPredefinedType(int kind)
{
    static const char signature[] = "const TypeItem* findPredefinedType(TypeKind)";
    const TypeItem* type = TypeItem::simpleType(static_cast<TypeKind>(kind));
    if (type != nullptr)
        NORVEXA_HANDLER_TRACE(signature, "Type = %s", typeText(type));
    else
        NORVEXA_HANDLER_TRACE(signature, "Failed , type = %d", kind);
    return type;
}

// size_t and ptrdiff_t follow the program's address size: int-sized for
// 4-byte addresses, long-sized (8 bytes) for 8-byte addresses.
const TypeItem* typeSizeT()
{
    NORVEXA_HANDLER_TRACE("const TypeItem* typeSizeT()", "Entry");
    const bool wide = EvaluationEnvironment::currentRep()->addressSize() == 8;
    return TypeItem::simpleType(wide ? t_unsignedLongInt : t_unsignedInt);
}

const TypeItem* typePtrdiffT()
{
    NORVEXA_HANDLER_TRACE("const TypeItem* typePtrdiffT()", "Entry");
    const bool wide = EvaluationEnvironment::currentRep()->addressSize() == 8;
    return TypeItem::simpleType(wide ? t_signedLongInt : t_signedInt);
}

const ScopeItem* typeScope(const TypeItem* type)
{
    checkedType(type, "const ScopeItem* typeScope(const TypeItem*)", __LINE__, false);
    try {
        return ClassScopeItem::getClassScope(*type, nullptr, true);
    } catch (const InvalidOp&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return nullptr;
    }
}

const TypeItem* typeReferredTo(const TypeItem* type)
{
    checkedType(type, "const TypeItem* typeReferredTo(const TypeItem*)", __LINE__, false);
    return &type->referent();
}

const TypeItem* typePointedTo(const TypeItem* type)
{
    checkedType(type, "const TypeItem* typePointedTo(const TypeItem*)", __LINE__, false);
    type->typeFlags();
    if (type->kind() == t_f90Pointer)
        return CreatedTypeItem::findF90PointeeType(*type);
    return CreatedTypeItem::findDereferencedType(*type);
}

const TypeItem* typeOfPointee(const TypeItem* type)
{
    checkedType(type, "const TypeItem* typeOfPointee(const TypeItem*)", __LINE__, false);
    return CreatedTypeItem::findDecoratedType(*type);
}

const char* typeName(const TypeItem* type)
{
    checkedType(type, "const char* typeName(const TypeItem*)", __LINE__, false);
    return type->demangledTypeName();
}

TypeKind typeKind(const TypeItem* type)
{
    checkedType(type, "TypeKind typeKind(const TypeItem*)", __LINE__, false);
    return type->kind();
}

const TypeItem* typeOfArrayElement(const TypeItem* type)
{
    checkedType(type, "const TypeItem* typeOfArrayElement(const TypeItem*)", __LINE__, false);
    if (type->kind() == t_pointer)
        return CreatedTypeItem::findDereferencedType(*type);
    return CreatedTypeItem::findArrayElement(*type);
}

// The model answers the reduced type by value; a type other than the one
// asked about is handed out as the environment's type of that index.
const TypeItem* reduceType(const TypeItem* type)
{
    static const char signature[] = "const TypeItem* reduceType(const TypeItem*)";
    if (type == nullptr)
        return nullptr;
    NORVEXA_HANDLER_TRACE(signature, "Reducing type %s", typeText(type));
    const TypeItem reduced = type->reduce();
    const TypeItem* answer = type;
    if (!(reduced.typeIndex() == type->typeIndex()))
        answer = CreatedTypeItem::findOrCreateType(reduced.typeIndex().typeIndex());
    NORVEXA_HANDLER_TRACE(signature, "Reduced type is %s", typeText(answer));
    return answer;
}

unsigned rankOfType(const TypeItem* type)
{
    static const char signature[] = "unsigned int rankOfType(const TypeItem*)";
    if (type == nullptr)
        return 0;
    NORVEXA_HANDLER_TRACE(signature, "rankOf type %s", typeText(type));
    const unsigned rank = type->rankOf();
    NORVEXA_HANDLER_TRACE(signature, "rankOf type is %u", rank);
    return rank;
}

long long boundOfType(const TypeItem* type, bool upper, unsigned dimension)
{
    static const char signature[] = "long long boundOfType(const TypeItem*, bool, unsigned int)";
    if (type == nullptr)
        return 0;
    const char* which = upper ? "upper" : "lower";
    NORVEXA_HANDLER_TRACE(signature, "%sBoundOf type %s dimension %u", which, typeText(type), dimension);
    TypeItem::Dimension d;
    type->getDimension(dimension, d);
    const long long bound = upper ? d.lower + d.count - 1 : d.lower;
    NORVEXA_HANDLER_TRACE(signature, "%sBoundOf type is %lld", which, bound);
    return bound;
}

unsigned sizeOfType(const TypeItem* type)
{
    NORVEXA_HANDLER_TRACE("unsigned int sizeOfType(const TypeItem*)", "Entry");
    if (type == nullptr || !hasTypeIndex(*type))
        return 0;
    return static_cast<unsigned>(type->typeSize());
}

bool isSameType(const TypeItem* first, const TypeItem* second)
{
    if (*SVC::traceEnabled()) {
        // A type's trace text lasts until the next one is asked for.
        const std::string firstText = typeText(first);
        SVC::fTrace("bool isSameType(const TypeItem*, const TypeItem*)", __LINE__, "Type 1(%p) = %s Type 2(%p) = %s",
                    static_cast<const void*>(first), firstText.c_str(), static_cast<const void*>(second),
                    typeText(second));
    }
    if (first == second)
        return first != nullptr;
    if (first == nullptr || second == nullptr || !hasTypeIndex(*first))
        return false;
    return first->isSameType(*second);
}

const TypeItem* enumType(const TypeItem* type)
{
    checkedType(type, "const TypeItem* enumType(const TypeItem*)", __LINE__, true);
    return type->enumType();
}

const TypeItem* createPointerTo(const TypeItem* type)
{
    checkedType(type, "const TypeItem* createPointerTo(const TypeItem*)", __LINE__, true);
    return CreatedTypeItem::findPointerType(*type);
}

const TypeItem* createReferenceTo(const TypeItem* type)
{
    checkedType(type, "const TypeItem* createReferenceTo(const TypeItem*)", __LINE__, true);
    return CreatedTypeItem::findReferenceType(*type);
}

const TypeItem* createAddressOfReferenceTo(const TypeItem* type)
{
    checkedType(type, "const TypeItem* createAddressOfReferenceTo(const TypeItem*)", __LINE__, true);
    return CreatedTypeItem::findAddressOfReferenceType(*type);
}

const TypeItem* createArrayOf(const TypeItem* type, unsigned long long count)
{
    static const char signature[] = "const TypeItem* createArrayOf(const TypeItem*, unsigned long long)";
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "Size = %llu, type = %s", count, typeText(type));
    return CreatedTypeItem::findArrayType(*type, count);
}

const ClassInfoBlock* typeClassInfo(const TypeItem* type)
{
    if (type == nullptr)
        return nullptr;
    NORVEXA_HANDLER_TRACE("const ClassInfoBlock* typeClassInfo(const TypeItem*)", "Entry - type = %s", typeText(type));
    const ClassScopeItem* scope = ClassScopeItem::getClassScope(*type, nullptr, true);
    return scope != nullptr ? scope->classInfo() : nullptr;
}

const FunctionInfoBlock* typeFunctionInfo(const TypeItem* type)
{
    if (type == nullptr)
        return nullptr;
    NORVEXA_HANDLER_TRACE("const FunctionInfoBlock* typeFunctionInfo(const TypeItem*)", "Entry - type = %s",
                          typeText(type));
    return type->functionInfoBlock();
}

// Bit 0: the enumeration lists no enumerators; bit 1 always.
const EnumInfoBlock* typeEnumInfo(const TypeItem* type)
{
    static const char signature[] = "EnumInfoBlock* typeEnumInfo(const TypeItem*)";
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "For type %s", typeText(type));
    const _TYPE_ENTRY* entry = type->typeEntry();
    if (entry == nullptr || !isEnumLeaf(typeEntryLeaf(*entry))) {
        traceInterfaceError("type not enum", signature, __LINE__);
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    }
    thread_local EnumInfoBlock record;
    record = EnumInfoBlock{};
    record.size = static_cast<std::uint16_t>(type->typeSize());
    record.flags = 2;
    if (typeIndexEmpty(entry->enumeration.enumeratorList))
        record.flags |= 1;
    return &record;
}
