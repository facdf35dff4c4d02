#include "machine/StackItemAddress.h"

#include <cstring>
#include <vector>

#include "HostRecordAccess.h"
#include "machine/BaseClassLocation.h"
#include "services/DebuggeeAddress.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/TypeDepthGuard.h"

// Conversions to an address type: COBOL pointer kinds, pointers between
// classes of one hierarchy, and the plain retyping of an address.

namespace {

const _TYPE_ENTRY* entryOf(TYPE_INDEX index)
{
    if (index.module == 0)
        return nullptr;
    return SVC::ExprGetTypeEntry(EvaluationEnvironment::currentRep()->context(), index);
}

// The pointer-kind mark of a pointer's host record. A pointer to a
// primitive type is folded into a primitive index: its host record is the
// one it was made from.
bool isCobolKindPointer(const TypeItem& type)
{
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr || e->leaf != TE_POINTER)
        e = entryOf(type.unsimplifiedTypeIndex());
    return e != nullptr && e->leaf == TE_POINTER && pointerIsCobolKind(e->pointer);
}

bool isHostClass(const TypeItem& type)
{
    const _TYPE_ENTRY* e = type.typeEntry();
    return e != nullptr && e->leaf == TE_CLASS;
}

// The base-class records of a class's field list, in declaration order.
// RTRC_Other when the class has no kind-3 field list.
struct BaseEntry {
    TypeItem record;
    TypeItem klass;
    const TNbaseclass* base;
};

std::vector<BaseEntry> baseEntries(const TypeItem& derived, const char* function, unsigned line)
{
    const _TYPE_ENTRY* klass = derived.typeEntry();
    const _TYPE_ENTRY* list = klass != nullptr && isClassLeaf(klass->leaf) ? entryOf(klass->klass.fieldList) : nullptr;
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line);
    std::vector<BaseEntry> bases;
    unsigned steps = 0;
    for (const TNtypeListNode* node = list->list.first.types; node != nullptr; node = node->next) {
        TypeDepthGuard::checkListStep(steps++, function, line);
        const _TYPE_ENTRY* e = entryOf(node->type);
        if (e != nullptr && e->leaf == TE_BASECLASS)
            bases.push_back(BaseEntry{TypeItem(node->type, e, false), TypeItem(e->baseclass.baseType), &e->baseclass});
    }
    return bases;
}

bool sameName(const char* a, const char* b)
{
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

} // namespace

void StackItemAddress::genConvert(const StackItem& source)
{
    const TypeItem& from = source.type();
    // The names are built only for a trace that is written.
    const bool tracing = SVC::traceEnabled()->load(std::memory_order_relaxed);
    if (tracing)
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Converting type %s to type %s", from.shortTypeName(),
                    type_.shortTypeName());
    const bool cobol = isCobolLanguage();
    if (cobol) {
        const bool sourcePointer = from.hasFlag(TypeFlags::pointer);
        const bool sourceString = from.hasFlag(TypeFlags::characterString);
        if (!sourcePointer && !from.hasFlag(TypeFlags::reference) && !sourceString &&
            !from.hasFlag(TypeFlags::integral))
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        if (type_.hasFlag(TypeFlags::pointer) && !sourceString) {
            const bool sourceKind = sourcePointer && isCobolKindPointer(from);
            if (isCobolKindPointer(type_) != sourceKind)
                throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        }
    }

    if (!cobol && from.hasFlag(TypeFlags::integral) && !from.hasFlag(TypeFlags::pointer) &&
        source.size() < addressBytes()) {
        // An integer narrower than an address (an int literal in a program of
        // 8-byte addresses) widens as C widens it: by its sign.
        set(static_cast<std::uint64_t>(source.asSigned()));
        return;
    }
    const DebuggeeLocation where = source.asLocation();
    std::uint64_t value;
    if (where.kind() == DebuggeeLocation::debuggeeMemory) {
        value = where.address().addr();
    } else if (where.kind() == DebuggeeLocation::fatPointer) {
        DebuggeeLocation local(where);
        local.convertToLocal();
        value = local.address().addr();
    } else {
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    }

    if (!cobol && value != 0 && type_ != from && type_.hasFlag(TypeFlags::pointer) &&
        from.hasFlag(TypeFlags::pointer)) {
        // The targets are the environment's types: each is looked up once.
        const TypeItem& target = type_.pointee();
        if (isHostClass(target)) {
            const TypeItem& origin = from.pointee();
            if (isHostClass(origin) &&
                (genConvertToBasePointer(value, origin, type_) || genConvertToDerivedPointer(value, from, target)))
                return;
        }
    }
    if (tracing)
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Default conversion of %s to %s (value = 0x%llx)",
                    from.shortTypeName(), type_.shortTypeName(), static_cast<unsigned long long>(value));
    set(value);
}

bool StackItemAddress::genConvertToBasePointer(std::uint64_t value, const TypeItem& derived,
                                               const TypeItem& targetPointer)
{
    // A cyclic list of bases ends here instead of recursing for ever.
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    const _TYPE_ENTRY* klass = derived.typeEntry();
    if (klass == nullptr || !isClassLeaf(klass->leaf) || klass->klass.memberCount == 0 || derived.listsNoBaseClasses())
        return false;
    const std::vector<BaseEntry> bases = baseEntries(derived, __PRETTY_FUNCTION__, __LINE__);
    if (bases.empty()) {
        derived.markNoBaseClasses();
        return false;
    }
    const TypeItem& wanted = targetPointer.pointee();
    const DebuggeeAddress object(value, static_cast<int>(addressBytes()));
    for (const BaseEntry& b : bases) {
        if (b.klass == wanted) {
            set(baseClassLocation(object, b.record, derived).addr());
            return true;
        }
    }
    // Not a direct base: look through the bases, last declared first.
    for (auto b = bases.rbegin(); b != bases.rend(); ++b) {
        const DebuggeeAddress part = baseClassLocation(object, b->record, derived);
        if (genConvertToBasePointer(part.addr(), b->klass, targetPointer))
            return true;
    }
    return false;
}

bool StackItemAddress::genConvertToDerivedPointer(std::uint64_t value, const TypeItem& sourcePointer,
                                                  const TypeItem& derived)
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    // A class found before to list no base classes has none to go back
    // from. The source's name is taken all the same: a source whose name
    // cannot be made fails here either way.
    const bool noBases = derived.typeEntry() != nullptr && derived.listsNoBaseClasses();
    const std::vector<BaseEntry> bases =
        noBases ? std::vector<BaseEntry>() : baseEntries(derived, __PRETTY_FUNCTION__, __LINE__);
    const char* wanted = sourcePointer.pointee().demangledTypeName();
    if (bases.empty()) {
        derived.markNoBaseClasses();
        return false;
    }
    bool virtualMet = false;
    bool converted = false;
    for (auto b = bases.rbegin(); b != bases.rend() && !converted; ++b) {
        const std::uint64_t offset = baseOffset(*b->base);
        if (baseIsVirtual(*b->base)) {
            // A virtual base's place is not a fixed offset: no way back from it.
            virtualMet = true;
            const TypeItem* pointerToBase = CreatedTypeItem::findPointerType(b->klass);
            if (pointerToBase != nullptr && *pointerToBase == sourcePointer)
                break;
            continue;
        }
        if (sameName(b->klass.demangledTypeName(), wanted)) {
            set(value - offset);
            converted = true;
        } else {
            converted = genConvertToDerivedPointer(value - offset, sourcePointer, b->klass);
        }
    }
    if (virtualMet && !converted)
        throw InvalidOp(InvalidOp::RTRC_ParserError, __PRETTY_FUNCTION__, __LINE__);
    return converted;
}
