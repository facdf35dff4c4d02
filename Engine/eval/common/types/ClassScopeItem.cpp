#include "types/ClassScopeItem.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "HostRecordAccess.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ScopeTypeQueries.h"
#include "types/SymbolItem.h"

namespace {

const char* textOrEmpty(const char* text)
{
    return text != nullptr ? text : "";
}

template <class T>
void deleteAll(List<T*>& list)
{
    for (unsigned i = list.count(); i > 0; --i)
        delete list[i - 1];
    list.deleteItems();
}

} // namespace

ClassScopeItem* ClassScopeItem::getClassScope(const TypeItem& type, ScopeItem* owner, bool allMembers)
{
    TypeItem aggregate(type);
    const _TYPE_ENTRY* e = aggregate.typeEntry();
    if (e == nullptr) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Cannot find type entry for type %s",
                    aggregate.hasValidName() ? reinterpret_cast<const char*>(aggregate.cachedName().data()) : "");
        return nullptr;
    }
    if (e->leaf == TE_REFERENCE) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Found reference type");
        aggregate = TypeItem(e->reference.referent);
    } else if (aggregate.hasFlag(TypeFlags::array)) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Found array type");
        aggregate = scopetypes::withoutArrays(aggregate);
    }
    e = aggregate.typeEntry();
    if (e == nullptr || !scopetypes::isAggregate(aggregate)) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Found invalid type %d", e != nullptr ? int(e->leaf) : -1);
        return nullptr;
    }

    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    const List<ScopeItem*>& scopes = env->scopes();
    for (unsigned i = scopes.count(); i > 0; --i) {
        if (scopes[i - 1]->scopeType() != classScope)
            continue;
        auto* known = static_cast<ClassScopeItem*>(scopes[i - 1]);
        if (isCobolLanguage()) {
            if (known->classType_.typeIndex() == aggregate.typeIndex())
                return known;
        } else if (known->classType_ == aggregate && known->allMembers() == allMembers) {
            return known;
        }
    }

    ScopeItem* home = owner != nullptr ? owner : ScopeItem::fileScope();
    if (home == nullptr)
        return nullptr;
    const bool isClass = e->leaf == TE_CLASS || e->leaf == TE_GROUP;
    return new ClassScopeItem(home->context(), aggregate, *home, isClass, allMembers);
}

ClassScopeItem::ClassScopeItem(const LCC_Eval_Context_Info* context, const TypeItem& type, ScopeItem& owner,
                               bool isClass, bool allMembers)
    : ScopeItem(context, isClass ? classScope : structureScope),
      owner_(owner),
      classType_(type),
      allMembers_(allMembers ? 1 : 0)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__,
                "Here - scope container of scope %lx is scope %lx as Class?=%d and allMembers=%d",
                reinterpret_cast<unsigned long>(this), reinterpret_cast<unsigned long>(&owner), isClass ? 1 : 0,
                allMembers ? 1 : 0);
}

ClassScopeItem::~ClassScopeItem()
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "deleting this = 0x%lx", reinterpret_cast<unsigned long>(this));
    deleteAll(dataMembers_);
    deleteAll(bases_);
    deleteAll(nestedTypes_);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "this = 0x%lx - done", reinterpret_cast<unsigned long>(this));
}

const char* ClassScopeItem::name() const
{
    if (name_.empty()) {
        char address[48];
        std::snprintf(address, sizeof address, "-Class Scope (%lx) = ", reinterpret_cast<unsigned long>(this));
        std::string text = address;
        if (classType_.hasValidName())
            text += reinterpret_cast<const char*>(classType_.cachedName().data());
        text += "-";
        name_ = ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    }
    return reinterpret_cast<const char*>(name_.data());
}

ScopeItem* ClassScopeItem::container() const
{
    if (container_ == nullptr)
        container_ = &owner_;
    return container_;
}

void ClassScopeItem::buildClassMembers()
{
    if (built_)
        return;
    built_ = true;
    const _TYPE_ENTRY* record = classType_.typeEntry();
    if (record == nullptr || !isClassLeaf(record->leaf) || record->klass.memberCount == 0)
        return;
    const _TYPE_ENTRY* list = nullptr;
    if (isCobolLanguage() && record->klass.cobolMembers != nullptr) {
        list = record->klass.cobolMembers;
    } else {
        if (typeIndexEmpty(record->klass.fieldList))
            return;
        TypeItem fieldList(record->klass.fieldList);
        list = fieldList.typeEntry();
    }
    if (list == nullptr || list->leaf != TE_LIST)
        return;
    allMembers_ = 1;
    unsigned guard = 0;
    for (const TNtypeListNode* n = list->list.first.types; n != nullptr && guard < 65536; n = n->next, ++guard) {
        if (typeIndexEmpty(n->type))
            continue;
        TypeItem* member = (isCobolLanguage() && n->cobolEntry != nullptr)
                               ? new TypeItem(n->type, n->cobolEntry, false)
                               : new TypeItem(n->type, nullptr, false);
        const _TYPE_ENTRY* e = member->typeEntry();
        switch (e != nullptr ? e->leaf : TE_NONE) {
        case TE_BASECLASS:
            bases_.append(member);
            break;
        case TE_CLASS:
        case TE_NAMEDTAG:
        case TE_ENUM:
        case TE_ENUM2:
        case TE_GROUP:
            nestedTypes_.append(member);
            break;
        case TE_MEMBER:
            dataMembers_.append(member);
            break;
        default:
            delete member;
            break;
        }
    }
}

TypeItem ClassScopeItem::findClassMemberVar(const char* name) const
{
    if (type_ != classScope)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const_cast<ClassScopeItem*>(this)->buildClassMembers();
    for (unsigned i = dataMembers_.count(); i > 0; --i) {
        const _TYPE_ENTRY* e = dataMembers_[i - 1]->typeEntry();
        if (e != nullptr && std::strcmp(textOrEmpty(e->member.name), name) == 0)
            return *dataMembers_[i - 1];
    }
    return TypeItem();
}

TypeItem ClassScopeItem::findClassMemberType(const char* name) const
{
    if (type_ != classScope)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const_cast<ClassScopeItem*>(this)->buildClassMembers();
    for (unsigned i = nestedTypes_.count(); i > 0; --i) {
        const _TYPE_ENTRY* e = nestedTypes_[i - 1]->typeEntry();
        if (e == nullptr)
            continue;
        const char* nested = nullptr;
        if (isClassLeaf(e->leaf))
            nested = e->klass.name;
        else if (isEnumLeaf(e->leaf) || isTypedefLeaf(e->leaf))
            nested = typeEntryName(*e);
        if (nested != nullptr && std::strcmp(nested, name) == 0)
            return *nestedTypes_[i - 1];
    }
    return TypeItem();
}

TypeItem ClassScopeItem::findStructMember(const char* name, std::int64_t& offset) const
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope.type=%d for this=%08lx and name=%s", int(type_),
                reinterpret_cast<unsigned long>(this), name);
    if (type_ != structureScope) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope.type.is.NOT.struct");
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    const _TYPE_ENTRY* record = classType_.typeEntry();
    if (record == nullptr || record->leaf != TE_STRUCT)
        return TypeItem();
    TypeItem typesIndex(record->structure.memberTypes);
    TypeItem namesIndex(record->structure.memberNames);
    const _TYPE_ENTRY* typesList = typesIndex.typeEntry();
    const _TYPE_ENTRY* namesList = namesIndex.typeEntry();
    if (typesList == nullptr || namesList == nullptr || typesList->leaf != TE_LIST || namesList->leaf != TE_LIST)
        return TypeItem();
    const TNtypeListNode* t = typesList->list.first.types;
    unsigned guard = 0;
    for (const TNnameListNode* n = namesList->list.first.names; n != nullptr && t != nullptr && guard < 65536;
         n = n->next, t = t->next, ++guard) {
        if (n->name != nullptr && std::strcmp(n->name, name) == 0) {
            offset = nameListOffset(*n);
            return TypeItem(t->type);
        }
    }
    return TypeItem();
}

SymbolItem* ClassScopeItem::makeVarSymbol(const char* name)
{
    if (type_ == classScope) {
        TypeItem member = findClassMemberVar(name);
        if (member.typeEntry() != nullptr)
            return makeClassVarSymbol(member);
        return nullptr;
    }
    std::int64_t offset = 0;
    TypeItem memberType = findStructMember(name, offset);
    if (memberType.typeIndex().module() == 0 && memberType.typeIndex().index() == 0)
        return nullptr;
    SymbolItem* symbol = new SymbolItem(memberType, *this, name, false);
    symbol->memberLayout().size = memberType.typeSize();
    symbol->memberLayout().offset = static_cast<std::uint64_t>(offset);
    addSymbol(*symbol);
    return symbol;
}

SymbolItem* ClassScopeItem::makeTypeSymbol(const char* name)
{
    if (type_ != classScope)
        return nullptr;
    TypeItem nested = findClassMemberType(name);
    if (nested.typeEntry() == nullptr)
        return nullptr;
    SymbolItem* symbol = new SymbolItem(nested, *this, name, true);
    addSymbol(*symbol);
    return symbol;
}

SymbolItem* ClassScopeItem::makeClassVarSymbol(const TypeItem& member)
{
    const _TYPE_ENTRY* e = member.typeEntry();
    if (e == nullptr || e->leaf != TE_MEMBER)
        return nullptr;
    return makeClassVarSymbol(member, TypeItem(e->member.memberType));
}

SymbolItem* ClassScopeItem::makeClassVarSymbol(const TypeItem& member, const TypeItem& memberType)
{
    const _TYPE_ENTRY* e = member.typeEntry();
    if (e == nullptr || e->leaf != TE_MEMBER)
        return nullptr;
    if (memberType.typeIndex().module() == 0 && memberType.typeIndex().index() == 0)
        return nullptr;
    const bool isStatic = memberIsStatic(e->member);
    if (allMembers_ == 0 && !isStatic)
        return nullptr;
    SymbolItem* symbol = new SymbolItem(memberType, *this, member);
    symbol->setAttributeB(true);
    SymbolItem::MemberLayout& layout = symbol->memberLayout();
    const bool descriptor = memberType.hasFlag(TypeFlags::fortranDescriptor);
    layout.size = descriptor ? 0 : memberType.typeSize();
    if (memberLocationIsExpression(e->member)) {
        layout.offset = reinterpret_cast<std::uintptr_t>(e->member.location.expression);
        layout.expressionLength = e->member.expressionLength;
    } else {
        layout.offset = e->member.location.offset;
        layout.expressionLength = 0;
    }
    layout.flags = static_cast<std::uint16_t>((isStatic ? SymbolItem::MemberLayout::staticMember : 0)
                                              | (descriptor ? SymbolItem::MemberLayout::fortranDescriptor : 0));
    addSymbol(*symbol);
    return symbol;
}
