// Aggregates, function information and result trees.
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
// Classes, functions, result trees

namespace {

// The node list of a kind-3 list entry; null when the index leads elsewhere.
const TNtypeListNode* typeListOf(TYPE_INDEX listIndex)
{
    const _TYPE_ENTRY* list = entryOf(listIndex);
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
        return nullptr;
    return list->list.first.types;
}

const TNnameListNode* nameListOf(TYPE_INDEX listIndex)
{
    const _TYPE_ENTRY* list = entryOf(listIndex);
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_NAMES)
        return nullptr;
    return list->list.first.names;
}

} // namespace

bool TypeItem::isClassOrStruct() const
{
    if (index.module() == 0)
        return false;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return false;
    if (e->leaf == TE_REFERENCE) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Is Reference Type %i", int(e->leaf));
        const _TYPE_ENTRY* r = entryOf(e->reference.referent);
        if (r != nullptr && (r->leaf == TE_CLASS || r->leaf == TE_STRUCT)) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Reference Type Is Structure");
            return true;
        }
        return false;
    }
    switch (e->leaf) {
    case TE_CLASS:
    case TE_GROUP:
    case TE_STRUCT:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66: return true;
    default: return false;
    }
}

bool TypeItem::isEmptyClassOrStruct() const
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    if (!isClassOrStruct())
        return true;
    const _TYPE_ENTRY* e = typeEntry();
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "dt4yat:TE=%08" PRIxPTR, reinterpret_cast<std::uintptr_t>(e));
    if (isClassLeaf(e->leaf)) {
        unsigned steps = 0;
        for (const TNtypeListNode* node = typeListOf(e->klass.fieldList); node != nullptr; node = node->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            const _TYPE_ENTRY* m = entryOf(node->type);
            if (m == nullptr)
                continue;
            if (m->leaf == TE_MEMBER)
                return false;
            if (m->leaf == TE_BASECLASS && !typeOf(m->baseclass.baseType).isEmptyClassOrStruct())
                return false;
        }
        return true;
    }
    if (e->leaf == TE_STRUCT)
        return nameListOf(e->structure.memberNames) == nullptr;
    if (e->leaf == TE_REFERENCE)
        return referent().isEmptyClassOrStruct();
    return true;
}

List<TypeItem::StructMember> TypeItem::visibleMembers(int named) const
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    List<StructMember> members;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return members;
    auto wanted = [named](const char* text) { return named == 0 || (text != nullptr && *text != '\0'); };
    if (isClassLeaf(e->leaf)) {
        const TNtypeListNode* node = typeListOf(e->klass.fieldList);
        for (unsigned steps = 0; node != nullptr; node = node->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            const _TYPE_ENTRY* m = entryOf(node->type);
            if (m == nullptr)
                continue;
            if (m->leaf == TE_MEMBER) {
                if (wanted(m->member.name))
                    members.append(
                        StructMember{m->member.name, memberOffset(m->member), &typeOf(m->member.memberType)});
            } else if (m->leaf == TE_BASECLASS) {
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "dt4yat:TE=%08" PRIxPTR,
                            reinterpret_cast<std::uintptr_t>(m));
                // The members a base class brings, where the object holds
                // them: a base placed by an expression (a virtual base) has
                // no fixed offset, so its members are not listed.
                if (baseLocationIsExpression(m->baseclass))
                    continue;
                const std::uint32_t at = baseOffset(m->baseclass);
                List<StructMember> inherited = typeOf(m->baseclass.baseType).visibleMembers(1);
                for (unsigned i = 0; i < inherited.count(); ++i) {
                    StructMember member = inherited[i];
                    member.offset += at;
                    members.append(member);
                }
            }
        }
    } else if (e->leaf == TE_STRUCT) {
        const TNnameListNode* n = nameListOf(e->structure.memberNames);
        const TNtypeListNode* t = typeListOf(e->structure.memberTypes);
        for (unsigned steps = 0; n != nullptr && t != nullptr; n = n->next, t = t->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            if (wanted(n->name))
                members.append(StructMember{n->name, static_cast<std::uint32_t>(nameListOffset(*n)), &typeOf(t->type)});
        }
    }
    return members;
}

TypeItem::FunctionInfoBlock_t* TypeItem::functionInfoBlock() const
{
    if (functionInfo != nullptr)
        return functionInfo;
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return nullptr;
    if (e->leaf == TE_PROCEDURE || e->leaf == TE_BUILTIN_PROCEDURE) {
        // Owned here until complete: a failure part way frees it.
        auto owned = std::make_unique<FunctionInfoBlock_t>();
        FunctionInfoBlock_t* block = owned.get();
        block->returnType = &typeOf(e->function.returnType);
        if (e->leaf == TE_BUILTIN_PROCEDURE)
            block->flags = std::uint8_t(block->flags | FunctionInfoBlock_t::builtinProcedure);
        unsigned steps = 0;
        for (const TNtypeListNode* node = typeListOf(e->function.parameterList); node != nullptr; node = node->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            const TypeItem& parameter = typeOf(node->type);
            if (parameter.hasFlag(TypeFlags::ellipsis)) {
                block->flags = std::uint8_t(block->flags | FunctionInfoBlock_t::endsInEllipsis);
                break;
            }
            block->addType(&parameter);
        }
        functionInfo = owned.release();
        return functionInfo;
    }
    if (e->leaf == TE_MEMBERFUNCTION) {
        const FunctionInfoBlock_t* of = typeOf(e->memberfunction.functionType).functionInfoBlock();
        if (of == nullptr)
            return nullptr;
        auto block = std::make_unique<FunctionInfoBlock_t>();
        *block = *of;
        functionInfo = block.release();
        return functionInfo;
    }
    return nullptr;
}

bool TypeItem::assumeTreeNodeChanges() const
{
    if (treeChangesKnown)
        return treeChanges;
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    static const TypeFlags::Flag fixed[] = {
        TypeFlags::boolean,       TypeFlags::character, TypeFlags::wchar,        TypeFlags::floating,
        TypeFlags::packedDecimal, TypeFlags::binary,    TypeFlags::enumeration,  TypeFlags::pointerToVoid,
        TypeFlags::voidType,      TypeFlags::complex,   TypeFlags::zonedDecimal, TypeFlags::nationalDecimal,
    };
    bool answer = true;
    bool decided = false;
    for (TypeFlags::Flag f : fixed) {
        if (hasFlag(f)) {
            answer = false;
            decided = true;
            break;
        }
    }
    if (!decided && (hasFlag(TypeFlags::pointer) || hasFlag(TypeFlags::array) || hasFlag(TypeFlags::reference))) {
        answer = true;
        decided = true;
    }
    const _TYPE_ENTRY* e = decided ? nullptr : typeEntry();
    if (!decided && e == nullptr) {
        answer = false;
        decided = true;
    }
    if (!decided) {
        auto memberChanges = [](TYPE_INDEX memberIndex) {
            const _TYPE_ENTRY* m = entryOf(memberIndex);
            if (m == nullptr)
                return false;
            if (m->leaf == TE_MEMBER)
                return typeOf(m->member.memberType).assumeTreeNodeChanges();
            if (m->leaf == TE_BASECLASS)
                return typeOf(m->baseclass.baseType).assumeTreeNodeChanges();
            return false;
        };
        const TNtypeListNode* node = nullptr;
        if (e->leaf == TE_STRUCT)
            node = typeListOf(e->structure.memberTypes);
        else if (isClassLeaf(e->leaf))
            node = typeListOf(e->klass.fieldList);
        if (e->leaf == TE_STRUCT || isClassLeaf(e->leaf)) {
            answer = false;
            for (unsigned steps = 0; node != nullptr; node = node->next) {
                TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
                if (e->leaf == TE_STRUCT ? typeOf(node->type).assumeTreeNodeChanges() : memberChanges(node->type)) {
                    answer = true;
                    break;
                }
            }
        } else {
            answer = true;
        }
    }
    treeChanges = answer;
    treeChangesKnown = true;
    return answer;
}
