#include "types/ClassScopeItem.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "HostRecordAccess.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ConstSymbolItem.h"
#include "types/CreatedTypeItem.h"
#include "types/ScopeTypeQueries.h"
#include "types/SymbolItem.h"
#include "types/TypeDepthGuard.h"

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
                    textOrEmpty(aggregate.format()));
        return nullptr;
    }
    if (e->leaf == TE_REFERENCE) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Found reference type");
        aggregate = TypeItem(TYPE_INDEX(TYPE_INDEX(e->reference.referent)));
    } else if (aggregate.hasFlag(TypeFlags::array)) {
        // The element by the rule of the array's own leaf (C arrays, COBOL
        // tables, Fortran descriptor arrays and the rest each keep it in
        // their own place).
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Found array type");
        try {
            aggregate = TypeItem(aggregate.dereference());
        } catch (const InvalidOp&) {
            aggregate = TypeItem();
        }
    }
    e = aggregate.typeEntry();
    if (e == nullptr || !aggregate.isClassOrStruct()) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Found invalid type %d", e != nullptr ? int(e->leaf) : -1);
        return nullptr;
    }
    if (e->leaf == TE_REFERENCE) {
        // A reference to a reference to a class: the class.
        aggregate = TypeItem(TYPE_INDEX(e->reference.referent));
        e = aggregate.typeEntry();
        if (e == nullptr || !aggregate.isClassOrStruct() || e->leaf == TE_REFERENCE)
            return nullptr;
    }

    if (ClassScopeItem* known = findScopeByType(aggregate, allMembers))
        return known;

    ScopeItem* home = owner != nullptr ? owner : ScopeItem::fileScope();
    if (home == nullptr)
        return nullptr;
    const bool isClass = isClassLeaf(e->leaf);
    return new ClassScopeItem(home->context(), aggregate, *home, isClass, allMembers);
}

namespace {

std::uint64_t typeKey(const EvaluatorTypeIndex& index)
{
    return static_cast<std::uint64_t>(index.module()) << 32 | index.index();
}

} // namespace

// The class scopes of the environment are indexed by their type's index
// (simplified when the scope was made): a scope whose type equals the one
// looked for has that key, so reading the scopes of one key, newest first,
// answers as the walk of the whole scope list from the newest.
ClassScopeItem* ClassScopeItem::findScopeByType(const TYPE_INDEX& index)
{
    const std::vector<ScopeItem*>& same =
        EvaluationEnvironment::currentRep()->classScopes(typeKey(EvaluatorTypeIndex(index)));
    for (std::size_t i = same.size(); i > 0; --i) {
        if (same[i - 1]->scopeType() != classScope)
            continue;
        auto* known = static_cast<ClassScopeItem*>(same[i - 1]);
        if (known->classType_.typeIndex() == index)
            return known;
    }
    return nullptr;
}

ClassScopeItem* ClassScopeItem::findScopeByType(const TypeItem& type, bool allMembers)
{
    if (isCobolLanguage())
        return findScopeByType(type.typeIndex().typeIndex());
    // Equality compares the simplified indices: the key is the type's own.
    const_cast<TypeItem&>(type).simplify();
    const std::vector<ScopeItem*>& same = EvaluationEnvironment::currentRep()->classScopes(typeKey(type.typeIndex()));
    for (std::size_t i = same.size(); i > 0; --i) {
        if (same[i - 1]->scopeType() != classScope)
            continue;
        auto* known = static_cast<ClassScopeItem*>(same[i - 1]);
        if (known->classType_ == type && known->allMembers() == allMembers)
            return known;
    }
    return nullptr;
}

ClassScopeItem::ClassScopeItem(const LCC_Eval_Context_Info* context, const TypeItem& type, ScopeItem& owner,
                               bool isClass, bool allMembers)
    : ScopeItem(context, isClass ? classScope : structureScope),
      owner_(owner),
      classType_(type),
      allMembers_(allMembers ? 1 : 0)
{
    if (EvaluationEnvironment* env = environment())
        env->addClassScope(typeKey(classType_.typeIndex()), *this);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__,
                "Here - scope container of scope %" PRIxPTR " is scope %" PRIxPTR " as Class?=%d and allMembers=%d",
                reinterpret_cast<std::uintptr_t>(this), reinterpret_cast<std::uintptr_t>(&owner), isClass ? 1 : 0,
                allMembers ? 1 : 0);
}

ClassScopeItem::~ClassScopeItem()
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "deleting this = 0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(this));
    deleteAll(dataMembers_);
    deleteAll(bases_);
    deleteAll(nestedTypes_);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "deleting _infoBlock = 0x%" PRIxPTR,
                reinterpret_cast<std::uintptr_t>(infoBlock_));
    delete infoBlock_;
    infoBlock_ = nullptr;
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "this = 0x%" PRIxPTR " - done", reinterpret_cast<std::uintptr_t>(this));
}

const char* ClassScopeItem::name() const
{
    if (name_.empty()) {
        char address[48];
        std::snprintf(address, sizeof address,
                      "-Class Scope (%" PRIxPTR ") = ", reinterpret_cast<std::uintptr_t>(this));
        std::string text = address;
        text += textOrEmpty(classType_.format());
        text += "-";
        name_ = ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    }
    return reinterpret_cast<const char*>(name_.data());
}

ScopeItem* ClassScopeItem::container() const
{
    if (container_ != nullptr)
        return container_;
    const _TYPE_ENTRY* e = classType_.typeEntry();
    if (e == nullptr || e->leaf == TE_STRUCT) {
        container_ = &owner_;
        return container_;
    }
    if (!isClassLeaf(e->leaf))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if ((e->klass.flags & TNclass_Nested) == 0) {
        container_ = &owner_;
        return container_;
    }
    // A nested class lives in the scope of its enclosing class, where only
    // the enclosing class's static members are visible.
    TypeItem enclosing(TYPE_INDEX(e->klass.enclosingClass));
    // The type's trace text lives until the next one is made: keep copies.
    const std::string scopeName = name();
    const std::string enclosingName = textOrEmpty(enclosing.format());
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope %s is a member function of class %s", scopeName.c_str(),
                enclosingName.c_str());
    if (enclosing.typeEntry() != nullptr && !enclosing.isClassOrStruct())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    ClassScopeItem* outer = getClassScope(enclosing, &owner_, false);
    if (outer == nullptr) {
        container_ = &owner_;
        return container_;
    }
    // The members are read first: reading them makes every member visible,
    // which would undo the restriction if it came later.
    outer->buildClassMembers();
    outer->allMembers_ = 0;
    container_ = outer;
    return container_;
}

void ClassScopeItem::buildClassMembers()
{
    // A class reached again while its members are read (through a base or
    // a nested type) sees the list as it stands.
    if (built_ || building_)
        return;
    building_ = true;
    const std::uint8_t allMembersBefore = allMembers_;
    try {
        readClassMembers();
    } catch (...) {
        // A host failure half-way leaves no partial list behind: the next
        // request reads the members again.
        building_ = false;
        deleteAll(dataMembers_);
        deleteAll(bases_);
        deleteAll(nestedTypes_);
        allMembers_ = allMembersBefore;
        throw;
    }
    building_ = false;
    built_ = true;
}

void ClassScopeItem::readClassMembers()
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Begin.    this = %" PRIxPTR ".  class name = %s",
                reinterpret_cast<std::uintptr_t>(this), textOrEmpty(classType_.format()));
    const _TYPE_ENTRY* record = classType_.typeEntry();
    if (record != nullptr && record->leaf == TE_REFERENCE) {
        TypeItem referent(TYPE_INDEX(record->reference.referent));
        record = referent.typeEntry();
    }
    if (record == nullptr || !isClassLeaf(record->leaf) || record->klass.memberCount == 0)
        return;
    const _TYPE_ENTRY* list = nullptr;
    if (isCobolLanguage() && record->klass.cobolMembers != nullptr) {
        list = record->klass.cobolMembers;
    } else {
        if (typeIndexEmpty(record->klass.fieldList))
            return;
        TypeItem fieldList(TYPE_INDEX(record->klass.fieldList));
        list = fieldList.typeEntry();
    }
    if (list == nullptr || list->leaf != TE_LIST)
        return;
    allMembers_ = 1;
    unsigned guard = 0;
    for (const TNtypeListNode* n = list->list.first.types; n != nullptr && guard < 65536; n = n->next, ++guard) {
        if (typeIndexEmpty(TYPE_INDEX(n->type)))
            continue;
        auto member = std::make_unique<TypeItem>(TYPE_INDEX(TYPE_INDEX(n->type)),
                                                 isCobolLanguage() ? n->cobolEntry : nullptr, false);
        const _TYPE_ENTRY* e = member->typeEntry();
        switch (e != nullptr ? e->leaf : TE_NONE) {
        case TE_BASECLASS: {
            TypeItem& base = *member;
            bases_.append(member.get());
            member.release();
            if (isFortranLanguage())
                fortranAddBaseMember(base);
            break;
        }
        case TE_CLASS:
        case TE_NAMEDTAG:
        case TE_ENUM:
        case TE_ENUM2:
        case TE_GROUP:
            nestedTypes_.append(member.get());
            member.release();
            break;
        case TE_MEMBER:
            dataMembers_.append(member.get());
            member.release();
            break;
        default: break;
        }
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__,
                "Done.   this = %" PRIxPTR "  %d data members, %d types, %d bases, and _allMembers %d",
                reinterpret_cast<std::uintptr_t>(this), int(dataMembers_.count()), int(nestedTypes_.count()),
                int(bases_.count()), int(allMembers_));
}

void ClassScopeItem::fortranAddBaseMember(TypeItem& base)
{
    const _TYPE_ENTRY* b = base.typeEntry();
    if (b == nullptr || b->leaf != TE_BASECLASS)
        return;
    TypeItem parent(TYPE_INDEX(b->baseclass.baseType));
    const _TYPE_ENTRY* p = parent.typeEntry();
    if (p == nullptr || p->leaf != TE_CLASS || p->klass.name == nullptr || p->klass.name[0] == '\0')
        return;
    TNclassmember member{};
    member.leaf = TE_MEMBER;
    if (baseLocationIsExpression(b->baseclass))
        member.flags |= TNclassmember_LocationIsExpression;
    member.attributes = b->baseclass.attributes;
    member.memberType = TYPE_INDEX(b->baseclass.baseType);
    if (baseLocationIsExpression(b->baseclass))
        member.location.expression = b->baseclass.location.expression;
    else
        member.location.offset = b->baseclass.location.offset;
    member.expressionLength = b->baseclass.expressionLength;
    member.name = p->klass.name;
    member.name2 = "";
    const TypeItem* created = CreatedTypeItem::findOrCreateType(member);
    if (created != nullptr) {
        auto copy = std::make_unique<TypeItem>(*created);
        dataMembers_.append(copy.get());
        copy.release();
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
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope.type=%d for this=%08" PRIxPTR " and name=%s", int(type_),
                reinterpret_cast<std::uintptr_t>(this), name);
    if (type_ != structureScope) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope.type.is.NOT.struct");
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    const _TYPE_ENTRY* record = classType_.typeEntry();
    if (record == nullptr || record->leaf != TE_STRUCT)
        return TypeItem();
    TypeItem typesIndex(TYPE_INDEX(record->structure.memberTypes));
    TypeItem namesIndex(TYPE_INDEX(TYPE_INDEX(record->structure.memberNames)));
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
            return TypeItem(TYPE_INDEX(t->type));
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
        return makeEnumConstant(name);
    }
    std::int64_t offset = 0;
    TypeItem memberType = findStructMember(name, offset);
    if (memberType.typeIndex().module() == 0 && memberType.typeIndex().index() == 0)
        return nullptr;
    auto symbol = std::make_unique<SymbolItem>(memberType, *this, name, false);
    symbol->memberLayout().size = memberType.typeSize();
    symbol->memberLayout().offset = static_cast<std::uint64_t>(offset);
    symbol->memberLayout().expressionLength = 0;
    symbol->memberLayout().flags = 0;
    addSymbol(*symbol);
    return symbol.release();
}

SymbolItem* ClassScopeItem::makeTypeSymbol(const char* name)
{
    if (type_ != classScope)
        return nullptr;
    TypeItem nested = findClassMemberType(name);
    if (nested.typeEntry() == nullptr)
        return nullptr;
    auto symbol = std::make_unique<SymbolItem>(nested, *this, name, true);
    addSymbol(*symbol);
    return symbol.release();
}

SymbolItem* ClassScopeItem::makeClassVarSymbol(const TypeItem& member)
{
    const _TYPE_ENTRY* e = member.typeEntry();
    if (e == nullptr || e->leaf != TE_MEMBER)
        return nullptr;
    return makeClassVarSymbol(member, TypeItem(TYPE_INDEX(e->member.memberType)));
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
    auto symbol = std::make_unique<SymbolItem>(memberType, *this, member);
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
    layout.flags = static_cast<std::uint16_t>((isStatic ? SymbolItem::MemberLayout::staticMember : 0) |
                                              (descriptor ? SymbolItem::MemberLayout::fortranDescriptor : 0));
    addSymbol(*symbol);
    return symbol.release();
}

SymbolItem* ClassScopeItem::makeEnumConstant(const char* name)
{
    if (name == nullptr)
        return nullptr;
    buildClassMembers();
    for (unsigned i = nestedTypes_.count(); i > 0; --i) {
        const TypeItem& enumeration = *nestedTypes_[i - 1];
        const _TYPE_ENTRY* e = enumeration.typeEntry();
        if (e == nullptr || !isEnumLeaf(e->leaf) || typeIndexEmpty(TYPE_INDEX(e->enumeration.underlyingType)))
            continue;
        TypeItem listType(TYPE_INDEX(e->enumeration.enumeratorList));
        const _TYPE_ENTRY* list = listType.typeEntry();
        if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_ENUMERATORS)
            continue;
        unsigned steps = 0;
        for (const TNenumeratorNode* n = list->list.first.enumerators; n != nullptr; n = n->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            if (n->name == nullptr || n->name[0] == '\0' || std::strcmp(n->name, name) != 0)
                continue;
            TypeItem underlying(TYPE_INDEX(e->enumeration.underlyingType));
            auto symbol = std::make_unique<ConstSymbolItem>(n->name, enumeration, *this, enumeratorValue(*n),
                                                            underlying.typeSize());
            addSymbol(*symbol);
            return symbol.release();
        }
    }
    return nullptr;
}

std::uint64_t ClassScopeItem::offset(unsigned index) const
{
    if (type_ != structureScope)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const _TYPE_ENTRY* record = classType_.typeEntry();
    if (record == nullptr || record->leaf != TE_STRUCT)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    TypeItem namesIndex(TYPE_INDEX(record->structure.memberNames));
    const _TYPE_ENTRY* names = namesIndex.typeEntry();
    const TNnameListNode* n = (names != nullptr && names->leaf == TE_LIST) ? names->list.first.names : nullptr;
    for (unsigned i = 0; n != nullptr; ++i, n = n->next) {
        TypeDepthGuard::checkListStep(i, __PRETTY_FUNCTION__, __LINE__);
        if (i == index)
            return n->offset;
    }
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

const List<SymbolItem*>& ClassScopeItem::variables()
{
    buildClassMembers();
    for (unsigned i = dataMembers_.count(); i > 0; --i) {
        const TypeItem& member = *dataMembers_[i - 1];
        const _TYPE_ENTRY* e = member.typeEntry();
        if (e == nullptr || e->leaf != TE_MEMBER)
            continue;
        const char* memberName = textOrEmpty(e->member.name);
        bool known = false;
        for (unsigned j = 0; j < variables_.count() && !known; ++j)
            known = std::strcmp(variables_[j]->name(), memberName) == 0;
        if (!known)
            makeClassVarSymbol(member);
    }
    return variables_;
}

namespace {

// The class block shared by every aggregate that has none of its own.
const ClassDescriptor& emptyClassDescriptor()
{
    static const ClassDescriptor empty;
    return empty;
}

} // namespace

const ClassDescriptor* ClassScopeItem::classInfo() const
{
    if (infoBlock_ != nullptr)
        return infoBlock_;
    const _TYPE_ENTRY* e = classType_.typeEntry();
    if (e == nullptr || !(isClassLeaf(e->leaf) || e->leaf == TE_STRUCT))
        return &emptyClassDescriptor();
    // Kept only once complete: a failure half-way is raised again by the
    // next request instead of leaving a partial description served later.
    auto info = std::make_unique<ClassDescriptor>();
    fillClassInfo(*e, *info);
    infoBlock_ = info.release();
    return infoBlock_;
}

void ClassScopeItem::fillClassInfo(const _TYPE_ENTRY& entry, ClassDescriptor& info) const
{
    const _TYPE_ENTRY* e = &entry;
    info.size = classType_.typeSize();
    if (isCobolLanguage()) {
        info.flags |= ClassDescriptor::classForm;
        return;
    }
    TYPE_INDEX listIndex;
    if (isClassLeaf(e->leaf)) {
        info.flags |= ClassDescriptor::classForm;
        listIndex = TYPE_INDEX(e->klass.fieldList);
    } else {
        info.flags |= ClassDescriptor::structureForm;
        listIndex = TYPE_INDEX(e->structure.memberTypes);
    }
    if (typeIndexEmpty(listIndex))
        return;
    TypeItem listType(listIndex);
    const _TYPE_ENTRY* list = listType.typeEntry();
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
        return;
    unsigned steps = 0;
    for (const TNtypeListNode* n = list->list.first.types; n != nullptr; n = n->next) {
        TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
        if (typeIndexEmpty(TYPE_INDEX(n->type)))
            continue;
        TypeItem node(TYPE_INDEX(n->type));
        if (!node.isBaseClass())
            continue;
        const _TYPE_ENTRY* b = node.typeEntry();
        auto* base = new BaseClassDescriptor(info.firstBase);
        info.firstBase = base;
        base->offset = b->baseclass.location.offset;
        // A base whose type has no scope (no entry, no aggregate) is kept
        // with a null type; the chain stays in the host's order otherwise.
        TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
        ClassScopeItem* scope = getClassScope(TypeItem(TYPE_INDEX(b->baseclass.baseType)), &owner_, false);
        base->baseType = scope != nullptr ? &scope->classType_ : nullptr;
    }
}

List<const char*> ClassScopeItem::namespaceNames() const
{
    List<const char*> names;
    if (type_ != classScope)
        return names;
    // A copy: the type's trace text lives only until the next one is made.
    const std::string classText = textOrEmpty(classType_.format());
    const char* className = classText.c_str();
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Begin.    this = %" PRIxPTR ".  class name = %s",
                reinterpret_cast<std::uintptr_t>(this), className);
    const_cast<ClassScopeItem*>(this)->buildClassMembers();
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Adding %d data members.    this = %" PRIxPTR ".  class name = %s",
                int(dataMembers_.count()), reinterpret_cast<std::uintptr_t>(this), className);
    for (unsigned i = dataMembers_.count(); i > 0; --i) {
        const _TYPE_ENTRY* e = dataMembers_[i - 1]->typeEntry();
        if (e != nullptr && e->leaf == TE_MEMBER)
            names.append(textOrEmpty(e->member.name));
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Adding %d bases.    this = %" PRIxPTR ".  class name = %s",
                int(bases_.count()), reinterpret_cast<std::uintptr_t>(this), className);
    for (unsigned i = bases_.count(); i > 0; --i) {
        const _TYPE_ENTRY* b = bases_[i - 1]->typeEntry();
        if (b == nullptr)
            continue;
        TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
        ClassScopeItem* scope = getClassScope(TypeItem(TYPE_INDEX(b->baseclass.baseType)), &owner_, false);
        if (scope == nullptr)
            continue;
        List<const char*> inherited = scope->namespaceNames();
        for (unsigned j = 0; j < inherited.count(); ++j)
            names.append(inherited[j]);
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Done.    this = %" PRIxPTR ".  class name = %s, There are %d names",
                reinterpret_cast<std::uintptr_t>(this), className, int(names.count()));
    return names;
}

void ClassScopeItem::addMembersToFlattenedSymbolList(SymbolList&, const char*) {}
