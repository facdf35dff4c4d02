// Declarations, declaration stores and names over the symbol model.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/BaseListIterator.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_ImplicitMemberName.h"

namespace {

class DeclarationTest : public ServicesTest {
protected:
    const SymbolItem* variable(const std::string& name, TYPE_INDEX type = TYPE_INDEX{0, 130})
    {
        host.declare(*mainContext, records().staticVariable(name, type, 1, 0x20));
        return symFindVar(name.c_str(), scope);
    }

    EE_OstrelDeclarationStore* store(const ScopeItem* s) { return services->findOrCreateDeclarationStore(s); }

    static std::string text(const EE_Declaration* d)
    {
        return d != nullptr && d->name != nullptr && d->name->data() != nullptr ? d->name->data() : "<null>";
    }
};

TEST_F(DeclarationTest, OneStorePerScopeAndTheGlobalStoreForAnyFileScope)
{
    const NestedClasses n = nestedClasses();
    const ScopeItem* inner = typeScope(hostType(n.inner));
    EE_OstrelDeclarationStore* classStore = store(inner);
    EXPECT_EQ(store(inner), classStore);
    ASSERT_NE(classStore->name, nullptr);
    EXPECT_TRUE(classStore->name->declaration->isType());
    EXPECT_EQ(classStore->name->declaration->store, nullptr);
    EXPECT_EQ(classStore->isGlobal, 0);
    EXPECT_NE(store(typeScope(hostType(n.outer))), classStore);

    EXPECT_EQ(store(scopeFilescope()), services->globalStore());
    ScopeItem otherFile(unit, ScopeItem::file);
    EXPECT_EQ(store(&otherFile), services->globalStore()) << "whatever object stands for the file";
    EXPECT_EQ(store(scope), services->currentStore());
    EXPECT_EQ(store(scope)->name, nullptr);
}

TEST_F(DeclarationTest, EnclosingStoresAreCachedAndAScopeWithoutContainerRefuses)
{
    EE_DeclarationStore* mainStore = services->currentStore();
    EXPECT_EQ(mainStore->enclosingDeclarationStore(), services->globalStore());
    EXPECT_EQ(static_cast<EE_OstrelDeclarationStore*>(mainStore)->enclosing, services->globalStore());
    EXPECT_EQ(mainStore->owningClass(), nullptr);
    EXPECT_EQ(eeExceptionCode([&] { services->globalStore()->enclosingDeclarationStore(); }), 2);
    EE_OstrelServices noScope(nullptr, scopeFilescope());
    EXPECT_EQ(eeExceptionCode([&] { noScope.currentStore()->enclosingDeclarationStore(); }), 2);
    EXPECT_EQ(noScope.currentStore()->owningClass(), nullptr);
}

TEST_F(DeclarationTest, DeclarationsOfOneSymbolAreTwoObjectsWithTheStaticMark)
{
    const SymbolItem* counter = variable("counter");
    ASSERT_NE(counter, nullptr);
    EE_OstrelDeclaration* first = services->findOrCreateDeclaration(counter, "counter", nullptr);
    EE_OstrelDeclaration* second = services->findOrCreateDeclaration(counter, "counter", nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->symbol(), second->symbol());
    EXPECT_TRUE(first->isSymbol());
    EXPECT_FALSE(first->isType() || first->isTemplate());
    EXPECT_FALSE(first->isStaticMember());
    EXPECT_FALSE(first->isProcedure());
    EXPECT_FALSE(first->isConditionName());
    EXPECT_EQ(text(first), "counter");

    // The symbol's store, found once and kept.
    EE_DeclarationStore* enclosing = first->enclosingDeclarationStore();
    EXPECT_EQ(enclosing, services->findOrCreateDeclarationStore(symScope(counter)));
    EXPECT_EQ(first->store, enclosing);
    // Its type descriptor, and no class store.
    EXPECT_EQ(first->setTypeDescriptor(), services->findOrCreateTypeDescriptor(symType(counter)));
    EXPECT_EQ(first->typeDescriptor, first->setTypeDescriptor());
    EXPECT_EQ(first->declarationStore(), nullptr);

    // Bit 0 of the symbol's flag byte marks a static member.
    const_cast<SymbolItem*>(counter)->memberLayout().flags |= 1;
    EXPECT_TRUE(services->findOrCreateDeclaration(counter, "counter", nullptr)->isStaticMember());
    EXPECT_EQ(services->findOrCreateDeclaration(counter, "counter", nullptr)->staticMember, -1);
    EXPECT_FALSE(first->isStaticMember()) << "taken when made";
    const TypeItem* type = intType();
    EXPECT_FALSE(services->findOrCreateDeclaration(type, "int", nullptr)->isStaticMember());
}

TEST_F(DeclarationTest, TypeAndTemplateDeclarations)
{
    EE_OstrelDeclaration* type = services->findOrCreateDeclaration(intType(), "int", nullptr);
    EXPECT_TRUE(type->isType());
    EXPECT_FALSE(type->isProcedure() || type->isBuiltinProcedure() || type->isConditionName());
    EXPECT_EQ(eeExceptionCode([&] { type->declarationStore(); }), 2) << "no descriptor yet";
    EXPECT_EQ(eeExceptionCode([&] { type->analyze(); }), 2) << "no store to look in";
    EXPECT_EQ(type->setTypeDescriptor(), services->signedIntTypeDescriptor());
    EXPECT_EQ(type->analyze(), type->typeDescriptor);
    EXPECT_EQ(type->declarationStore(), nullptr) << "no class";
    EXPECT_EQ(type->enclosingDeclarationStore(), services->globalStore());

    EE_OstrelDeclaration* templated =
        services->findOrCreateDeclaration(static_cast<TemplateItem*>(nullptr), "Pair", services->globalStore());
    EXPECT_TRUE(templated->isTemplate());
    EXPECT_EQ(templated->setTypeDescriptor(), nullptr);
    EXPECT_EQ(templated->declarationStore(), nullptr);
    EXPECT_EQ(templated->enclosingDeclarationStore(), services->globalStore()) << "its owning store";
    templated->store = nullptr;
    EXPECT_EQ(eeExceptionCode([&] { templated->enclosingDeclarationStore(); }), 2);
    // Looking a type up in the store comes with name lookup.
    templated->store = services->globalStore();
    EXPECT_EQ(eeExceptionCode([&] { templated->analyze(); }), 2);
}

TEST_F(DeclarationTest, PredefinedDeclarationsAreNamedByKind)
{
    std::vector<std::string> names(64, "<null>");
    const std::pair<unsigned, const char*> named[] = {
        {11, "bool"},
        {12, "logical*2"},
        {13, "logical*4"},
        {14, "logical*8"},
        {15, "char"},
        {16, "signed char"},
        {17, "unsigned char"},
        {18, "signed short int"},
        {19, "unsigned short int"},
        {20, "signed int"},
        {21, "unsigned int"},
        {22, "signed long int"},
        {23, "unsigned long int"},
        {24, "signed long long int"},
        {25, "unsigned long long int"},
        {26, "float"},
        {27, "double"},
        {28, "long double"},
        {32, "complex float"},
        {33, "complex double"},
        {34, "complex long double"},
        {38, "void"},
        {39, "wchar_t"},
        {40, "_Decimal32"},
        {41, "_Decimal64"},
        {42, "_Decimal128"},
        {43, "decimal(m,n)"},
        {44, "fixed point binary"},
        {45, "array section(l:u:s)"},
    };
    for (auto [kind, name] : named)
        names[kind] = name;
    for (unsigned kind = 11; kind <= 63; ++kind) {
        SCOPED_TRACE(kind);
        EE_OstrelTypeDescriptor descriptor(static_cast<EE_TypeDescriptor::Kind>(kind), intType());
        EE_OstrelDeclaration* d = services->findOrCreatePredefinedDeclaration(intType(), descriptor);
        // A kind without a name gets a null name, which the declaration
        // holds as an empty text.
        const char* name = EE_OstrelServices::predefinedName(kind);
        EXPECT_EQ(name != nullptr ? std::string(name) : "<null>", names[kind]);
        EXPECT_EQ(text(d), name != nullptr ? name : "");
        EXPECT_EQ(d->typeDescriptor, &descriptor);
        EXPECT_EQ(d->store, services->globalStore());
        EXPECT_TRUE(d->isType());
    }
    for (unsigned kind : {0u, 9u, 10u, 64u, 200u}) {
        SCOPED_TRACE(kind);
        EE_OstrelTypeDescriptor descriptor(static_cast<EE_TypeDescriptor::Kind>(kind), intType());
        EXPECT_EQ(eeExceptionCode([&] { services->findOrCreatePredefinedDeclaration(intType(), descriptor); }), 2);
    }
}

TEST_F(DeclarationTest, NamesAndBaseLookupChains)
{
    EE_OstrelDeclaration* member = services->findOrCreateDeclaration(intType(), "m", nullptr);
    EE_Name* plain = services->createName(*member);
    EXPECT_EQ(plain->declaration, member);
    EXPECT_EQ(plain->arena, &services->storageArena());
    EXPECT_EQ(plain->asBaseMemberName(), nullptr);

    EE_DeclarationStore* first = services->currentStore();
    EE_DeclarationStore* second = services->globalStore();
    EE_BaseMemberName* typeOnly = services->createBaseMemberName(*member, 1, *first);
    EXPECT_EQ(typeOnly->chainHead, nullptr);
    EE_BaseMemberName* reached = services->createBaseMemberName(*member, 0, *first);
    ASSERT_NE(reached->chainHead, nullptr);
    EXPECT_EQ(reached->chainHead->store, first);
    EXPECT_EQ(reached->chainTail, reached->chainHead);
    EE_BaseNameLookupChain* link = services->createBaseNameLookupChainComponent(*second);
    EXPECT_EQ(link->next, nullptr);
    reached->prependComponent(*link);
    EXPECT_EQ(reached->chainHead, link);
    EXPECT_EQ(link->next->store, first);
    EXPECT_EQ(reached->chainTail->store, first);
    // A component that already leads somewhere is refused.
    EE_BaseNameLookupChain* linked = services->createBaseNameLookupChainComponent(*second);
    linked->next = link;
    EXPECT_EQ(eeExceptionCode([&] { typeOnly->prependComponent(*linked); }), 2);

    EE_ImaginaryExpression object;
    EE_ImplicitMemberName* implicit = services->createImplicitMemberName(&object, *member);
    EXPECT_EQ(implicit->asImplicitMemberName(), implicit);
    EXPECT_EQ(implicit->object, &object);
    EXPECT_EQ(implicit->declaration, member);
}

TEST_F(DeclarationTest, BaseListIteratorCopiesTheDirectBasesInOrder)
{
    HostRecordStore::ClassSpec a;
    a.name = "A";
    a.byteSize = 4;
    a.members = {{"a", TYPE_INDEX{0, 130}, 0}};
    HostRecordStore::ClassSpec b = a;
    b.name = "B";
    TYPE_INDEX baseA = records().classType(a), baseB = records().classType(b);
    HostRecordStore::ClassSpec derived;
    derived.name = "D";
    derived.byteSize = 8;
    derived.bases = {{baseA, 0, 0}, {baseB, 4, 0}};
    const ClassInfoBlock* info = typeClassInfo(hostType(records().classType(derived)));
    ASSERT_NE(info, nullptr);
    std::vector<const TypeItem*> expected;
    for (const BaseClassDescriptor* d = info->firstBase; d != nullptr; d = d->next)
        expected.push_back(d->baseType);
    ASSERT_EQ(expected.size(), 2u);

    BaseListIterator bases(info, services->storageArena());
    std::vector<const TypeItem*> walked;
    for (; !bases.atEnd(); bases.advance())
        walked.push_back(bases.base());
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(bases.base(), nullptr);

    BaseListIterator none(nullptr, services->storageArena());
    EXPECT_TRUE(none.atEnd());
    BaseListIterator noBases(typeClassInfo(hostType(baseA)), services->storageArena());
    EXPECT_TRUE(noBases.atEnd());
}

} // namespace
