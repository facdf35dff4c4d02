#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrontendFixtures.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_ImplicitMemberName.h"
#include "frontend/EE_MemberAccessList.h"
#include "frontend/EE_NameExpression.h"

using fixtures::exceptionCode;
using fixtures::text;

namespace {

// A global store, class B at global level with its store, and class C
// nested in B with its store.
class DeclarationTest : public ::testing::Test {
protected:
    fixtures::Declaration* declare(const char* n, EE_DeclarationStore* in)
    {
        return new (arena) fixtures::Declaration(n, in, arena);
    }
    EE_Name* nameOf(EE_Declaration* d) { return new (arena) EE_Name(&arena, d); }
    std::string qualifier(const EE_DeclarationStore& s)
    {
        EE_String out;
        s.qualifierString(out);
        return text(out);
    }
    EE_BaseMemberName* baseMember(const char* n, std::vector<EE_DeclarationStore*> chain)
    {
        auto* member = new (arena) EE_BaseMemberName(&arena, declare(n, nullptr));
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            member->prependComponent(*new (arena) EE_BaseNameLookupChain(*it));
        return member;
    }

    EE_StorageArena arena;
    fixtures::Store global{nullptr, 1, nullptr};
    fixtures::Declaration* classB = declare("B", &global);
    fixtures::Store storeB{nameOf(classB), 0, &global};
    fixtures::Declaration* classC = declare("C", &storeB);
    fixtures::Store storeC{nameOf(classC), 0, &storeB};
};

TEST_F(DeclarationTest, QualifierStrings)
{
    EXPECT_EQ(qualifier(global), "::");
    EXPECT_EQ(qualifier(storeB), "::B::");
    EXPECT_EQ(qualifier(storeC), "::B::C::");
    // A named store with no store around it: its own qualification only.
    fixtures::Store loose(nameOf(declare("L", nullptr)), 0, nullptr);
    EXPECT_EQ(qualifier(loose), "L::");
    // A function scope (global mark, no name) qualifies as "::".
    fixtures::Store function(nullptr, 1, &storeB);
    EXPECT_EQ(qualifier(function), "::");
    // A non-global store must have a name.
    fixtures::Store unnamed(nullptr, 0, &global);
    EXPECT_EQ(exceptionCode([&] { qualifier(unnamed); }), 2);
    fixtures::Store insideUnnamed(nameOf(declare("D", nullptr)), 0, &unnamed);
    EXPECT_EQ(exceptionCode([&] { qualifier(insideUnnamed); }), 2);
}

TEST_F(DeclarationTest, DeclarationsKeepTheirNameInTheArena)
{
    std::string longName(150, 'n');
    fixtures::Declaration* member = declare(longName.c_str(), &storeC);
    EXPECT_EQ(text(*member->name), longName);
    EXPECT_EQ(member->name->arena(), &arena);
    EXPECT_EQ(member->store, &storeC);
    EXPECT_EQ(member->typeDescriptor, nullptr);

    fixtures::Declaration* m = declare("m", &storeC);
    EE_String out("<");
    m->id(out);
    EXPECT_EQ(text(out), "<m");
    EE_String qualified;
    m->fullyQualifiedName(qualified);
    EXPECT_EQ(text(qualified), "::B::C::m");
    EXPECT_EQ(m->classOfEnclosingMemberDeclarationStore(), classC);
    EXPECT_EQ(declare("g", &global)->classOfEnclosingMemberDeclarationStore(), nullptr);
    EXPECT_EQ(declare("free", nullptr)->classOfEnclosingMemberDeclarationStore(), nullptr);
    EE_String bare;
    declare("free", nullptr)->fullyQualifiedName(bare);
    EXPECT_EQ(text(bare), "free");
    EXPECT_EQ(text(*declare(nullptr, &global)->name), "");
}

TEST_F(DeclarationTest, NameSignaturesFollowTheBaseChain)
{
    EE_Name* plain = nameOf(declare("x", &storeC));
    EXPECT_EQ(text(plain->signature()), "x");
    EXPECT_EQ(plain->baseLookupChain(), nullptr);
    EXPECT_EQ(plain->asBaseMemberName(), nullptr);
    EXPECT_EQ(plain->asImplicitMemberName(), nullptr);

    EE_BaseMemberName* empty = baseMember("m", {});
    EXPECT_EQ(text(empty->signature()), "m");
    EXPECT_EQ(empty->asBaseMemberName(), empty);

    EXPECT_EQ(text(baseMember("m", {&storeB})->signature()), "::B::m");
    EXPECT_EQ(text(baseMember("m", {&storeB, &storeC})->signature()), "::B::::B::C::m");

    EE_NameExpression use(baseMember("m", {&storeB}));
    EXPECT_EQ(text(use.signature(1)), "::B::m");

    EE_ImplicitMemberName implicit(&arena, declare("item", &global), &use);
    EXPECT_EQ(implicit.asImplicitMemberName(), &implicit);
    EXPECT_EQ(implicit.asBaseMemberName(), nullptr);
    EXPECT_EQ(implicit.object, &use);
    EXPECT_EQ(text(implicit.signature()), "item");
}

TEST_F(DeclarationTest, PrependComponentBuildsTheChainFrontFirst)
{
    EE_BaseMemberName* member = baseMember("m", {});
    EE_BaseNameLookupChain first(&storeB);
    member->prependComponent(first);
    EXPECT_EQ(member->chainHead, &first);
    EXPECT_EQ(member->chainTail, &first);
    EE_BaseNameLookupChain second(&storeC);
    member->prependComponent(second);
    EXPECT_EQ(member->chainHead, &second);
    EXPECT_EQ(member->chainTail, &first);
    EXPECT_EQ(second.next, &first);
    // A link that already leads somewhere cannot be put in front.
    EXPECT_EQ(exceptionCode([&] { member->prependComponent(second); }), 2);
}

TEST_F(DeclarationTest, PrependChainOnChain)
{
    // Both names have chains: the other's chain goes in front.
    EE_BaseMemberName* inner = baseMember("m", {&storeC});
    EE_BaseMemberName* outer = baseMember("C", {&storeB});
    EE_BaseNameLookupChain* innerFirst = inner->chainHead;
    inner->prependChainOnChain(*outer);
    EXPECT_EQ(inner->chainHead, outer->chainHead);
    EXPECT_EQ(outer->chainTail->next, innerFirst);
    EXPECT_EQ(inner->chainTail, innerFirst);
    EXPECT_EQ(text(inner->signature()), "::B::::B::C::m");

    // Cases that change nothing: a plain name, a name with an empty chain, an
    // empty chain of its own, and the name itself.
    EE_BaseMemberName* unchanged = baseMember("m", {&storeC});
    EE_BaseNameLookupChain* head = unchanged->chainHead;
    unchanged->prependChainOnChain(*nameOf(declare("p", &global)));
    unchanged->prependChainOnChain(*baseMember("e", {}));
    unchanged->prependChainOnChain(*unchanged);
    EXPECT_EQ(unchanged->chainHead, head);
    EXPECT_EQ(head->next, nullptr);
    EXPECT_EQ(text(unchanged->signature()), "::B::C::m");

    EE_BaseMemberName* emptyOwn = baseMember("m", {});
    emptyOwn->prependChainOnChain(*baseMember("C", {&storeB}));
    EXPECT_EQ(emptyOwn->chainHead, nullptr);

    // A plain name ignores the request.
    EE_Name* plain = nameOf(declare("x", &global));
    plain->prependChainOnChain(*outer);
    EXPECT_EQ(text(plain->signature()), "x");
}

TEST_F(DeclarationTest, MemberAccessListKeepsTheAppendOrder)
{
    EE_MemberAccessList list(arena);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
    std::string longQualifier(200, 'G');
    list.append(EE_String("ITEM-GROUP"));
    list.append(EE_String("RECORD-1"));
    list.append(EE_String(longQualifier.c_str()));
    std::vector<std::string> seen;
    for (EE_MemberAccessList::Link* link = list.first; link != nullptr; link = link->next)
        seen.push_back(text(link->qualifier));
    EXPECT_EQ(seen, (std::vector<std::string>{"ITEM-GROUP", "RECORD-1", longQualifier}));
    EXPECT_EQ(text(list.last->qualifier), longQualifier);
    EXPECT_EQ(list.last->qualifier.arena(), &arena);
}

} // namespace
