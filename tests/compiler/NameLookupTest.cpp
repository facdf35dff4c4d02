// Name lookup of the services in C and C++: scopes outward from the current
// store, member functions and their classes, base classes in their order,
// base-class paths, the global qualifier, template-ids and return types.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_TemplateArgument.h"

namespace {

class NameLookupTest : public ServicesTest {
protected:
    EE_OstrelDeclarationStore* classStore(TYPE_INDEX type)
    {
        return services->findOrCreateDeclarationStore(typeScope(hostType(type)));
    }

    TYPE_INDEX makeClass(const std::string& name, std::vector<HostRecordStore::Base> bases,
                         std::vector<HostRecordStore::Member> members)
    {
        HostRecordStore::ClassSpec c;
        c.name = name;
        c.byteSize = 16;
        c.bases = std::move(bases);
        c.members = std::move(members);
        return records().classType(c);
    }

    static HostRecordStore::Member intMember(const std::string& name) { return {name, TYPE_INDEX{0, 130}, 0}; }

    EE_Name* find(const std::string& text, EE_DeclarationStore* store = nullptr, int typeOnly = 0)
    {
        EE_String name(text.c_str());
        return services->lookup(name, store, typeOnly);
    }

    // The stores on a name's base chain, first to last.
    static std::vector<const EE_DeclarationStore*> chainOf(const EE_Name* name)
    {
        std::vector<const EE_DeclarationStore*> out;
        for (const EE_BaseNameLookupChain* link = name->baseLookupChain(); link != nullptr; link = link->next)
            out.push_back(link->store);
        return out;
    }

    std::vector<const EE_DeclarationStore*> stores(std::initializer_list<TYPE_INDEX> classes)
    {
        std::vector<const EE_DeclarationStore*> out;
        for (TYPE_INDEX c : classes)
            out.push_back(classStore(c));
        return out;
    }

    static const SymbolItem* symbolOf(const EE_Name* name)
    {
        return static_cast<const EE_OstrelDeclaration*>(name->declaration)->symbol();
    }
};

TEST_F(NameLookupTest, MemberFunctionFindsItsClassAndItsBasesBeforeEnclosingScopes)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the trace writes addresses as the runtime's %p does, without 0x here";
#endif
    // The member function's scope lies in main's; main also has a "value".
    host.declare(*mainContext, records().staticVariable("value", TYPE_INDEX{0, 131}, 1, 0x10));
    const NestedClasses n = nestedClasses();
    EE_OstrelServices inMethod(n.method, scopeFilescope());
    auto lookup = [&](const char* text) {
        EE_String name(text);
        return inMethod.lookup(name, nullptr, 0);
    };
    EE_Name* value = lookup("value");
    ASSERT_NE(value, nullptr);
    ASSERT_NE(value->asBaseMemberName(), nullptr) << "Inner's member, not main's variable";
    EXPECT_EQ(chainOf(value), (std::vector<const EE_DeclarationStore*>{
                                  inMethod.findOrCreateDeclarationStore(typeScope(hostType(n.inner)))}));

    EXPECT_EQ(lookup("nowhere"), nullptr);
    EXPECT_TRUE(traced("unqualified look up 'nowhere'"));
    EXPECT_TRUE(traced("go to next scope"));
    EXPECT_TRUE(traced("at global scope"));
    EXPECT_TRUE(traced("lookup: <0x" + hex(n.method) + "> find 'nowhere'"));
}

TEST_F(NameLookupTest, BasesAreSearchedInOrderWithOneChainLinkPerClass)
{
    const TYPE_INDEX a = makeClass("A", {}, {intMember("x"), intMember("onlyA")});
    const TYPE_INDEX b = makeClass("B", {}, {intMember("x"), intMember("y")});
    const TYPE_INDEX top = makeClass("Top", {}, {intMember("deep")});
    const TYPE_INDEX mid = makeClass("Mid", {{top, 0, 0}}, {});
    const TYPE_INDEX d = makeClass("D", {{a, 0, 0}, {b, 4, 0}, {mid, 8, 0}}, {intMember("own")});
    EE_OstrelDeclarationStore* store = classStore(d);

    struct Case {
        const char* name;
        std::vector<const EE_DeclarationStore*> chain;
    };
    const Case cases[] = {
        {"own", stores({d})},
        // In two direct bases: the first of the class's base list wins, and
        // the model keeps that list in the reverse of the declared order.
        {"x", stores({d, b})},
        {"y", stores({d, b})},
        {"deep", stores({d, mid, top})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EE_Name* found = find(c.name, store);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(chainOf(found), c.chain);
        EXPECT_EQ(found->declaration->store, c.chain.back());
    }
    EXPECT_EQ(find("none", store), nullptr);
    // Types only: found in a base without a chain.
    EXPECT_EQ(find("x", store, 1), nullptr);
    EXPECT_EQ(
        eeExceptionCode([&] { static_cast<EE_OstrelDeclarationStore*>(services->globalStore())->searchBases("x", 0); }),
        2);
}

TEST_F(NameLookupTest, GlobalQualifierFindsTheFileScopesName)
{
    host.declare(*unit, records().staticVariable("x", TYPE_INDEX{0, 130}, 1, 0x10));
    host.declare(*mainContext, records().staticVariable("x", TYPE_INDEX{0, 131}, 1, 0x20));
    EE_Name* local = find("x");
    EE_Name* global = find("x", services->globalStore());
    ASSERT_NE(local, nullptr);
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(symScope(symbolOf(local)), scope);
    EXPECT_NE(symbolOf(local), symbolOf(global));
    EXPECT_EQ(global->declaration->store, services->globalStore());
    EXPECT_EQ(global->asBaseMemberName(), nullptr);
}

TEST_F(NameLookupTest, LookupBaseAnswersThePathToTheBase)
{
    const TYPE_INDEX top = makeClass("Top", {}, {});
    const TYPE_INDEX mid = makeClass("Mid", {{top, 0, 0}}, {});
    const TYPE_INDEX other = makeClass("Other", {}, {});
    const TYPE_INDEX d = makeClass("D", {{other, 0, 0}, {mid, 4, 0}}, {});
    EE_TypeDescriptor* dType = services->findOrCreateTypeDescriptor(hostType(d));
    auto path = [&](TYPE_INDEX base) {
        return services->lookupBase(*dType, *services->findOrCreateTypeDescriptor(hostType(base)));
    };
    EXPECT_EQ(chainOf(path(top)), stores({d, mid, top}));
    EXPECT_EQ(chainOf(path(other)), stores({d, other}));
    EXPECT_EQ(chainOf(path(d)), stores({d}));
    const TYPE_INDEX unrelated = makeClass("Unrelated", {}, {});
    EXPECT_EQ(path(unrelated), nullptr);
    EXPECT_EQ(eeExceptionCode([&] { services->lookupBase(*services->signedIntTypeDescriptor(), *dType); }), 2);
}

TEST_F(NameLookupTest, LookupBaseAnswersNoPathToABaseMetTwice)
{
    const TYPE_INDEX top = makeClass("Top", {}, {});
    const TYPE_INDEX left = makeClass("Left", {{top, 0, 0}}, {});
    const TYPE_INDEX right = makeClass("Right", {{top, 0, 0}}, {});
    const TYPE_INDEX diamond = makeClass("Diamond", {{left, 0, 0}, {right, 4, 0}}, {});
    // Top twice inside Diamond, and once more beside it.
    const TYPE_INDEX outer = makeClass("Outer", {{diamond, 0, 0}, {right, 8, 0}}, {});
    const TYPE_INDEX besideFirst = makeClass("BesideFirst", {{left, 0, 0}, {diamond, 4, 0}}, {});
    auto path = [&](TYPE_INDEX from, TYPE_INDEX base) {
        return services->lookupBase(*services->findOrCreateTypeDescriptor(hostType(from)),
                                    *services->findOrCreateTypeDescriptor(hostType(base)));
    };
    struct Case {
        TYPE_INDEX from, base;
        std::vector<const EE_DeclarationStore*> chain; // empty: no path
    };
    const Case cases[] = {
        {diamond, top, {}},
        {outer, top, {}},
        {besideFirst, top, {}},
        {besideFirst, left, {}},
        {outer, right, {}},
        {diamond, left, stores({diamond, left})},
        {diamond, right, stores({diamond, right})},
        {outer, left, stores({outer, diamond, left})},
        {outer, diamond, stores({outer, diamond})},
    };
    for (const Case& c : cases) {
        EE_BaseMemberName* found = path(c.from, c.base);
        if (c.chain.empty()) {
            EXPECT_EQ(found, nullptr) << c.from.index << " to " << c.base.index;
        } else {
            ASSERT_NE(found, nullptr) << c.from.index << " to " << c.base.index;
            EXPECT_EQ(chainOf(found), c.chain);
        }
    }
}

TEST_F(NameLookupTest, PrependBaseLookupChainFlagsTwoWaysToTheTarget)
{
    const TYPE_INDEX top = makeClass("Top", {}, {intMember("t")});
    const TYPE_INDEX left = makeClass("Left", {{top, 0, 0}}, {});
    const TYPE_INDEX right = makeClass("Right", {{top, 0, 0}}, {});
    const TYPE_INDEX diamond = makeClass("Diamond", {{left, 0, 0}, {right, 4, 0}}, {});
    const TYPE_INDEX line = makeClass("Line", {{left, 0, 0}}, {});
    EE_OstrelDeclarationStore* topStore = classStore(top);
    EE_Name* t = topStore->qualifiedScopeLookup("t", 0);
    ASSERT_NE(t, nullptr);

    struct Case {
        TYPE_INDEX from;
        int answer;
        int flag;
        std::vector<const EE_DeclarationStore*> chain;
    };
    const Case cases[] = {
        {line, 1, 0, stores({line, left, top})},
        // Right, then Left: the second way there flags it and answers at once.
        {diamond, 1, 1, stores({left, right, top})},
        {top, 0, 0, stores({top})},
    };
    for (const Case& c : cases) {
        EE_BaseMemberName* name = services->createBaseMemberName(*t->declaration, 0, *topStore);
        services->setCurrentStore(*classStore(c.from));
        int flag = 0;
        EXPECT_EQ(services->prependBaseLookupChain(*name, *topStore, flag), c.answer);
        EXPECT_EQ(flag, c.flag);
        EXPECT_EQ(chainOf(name), c.chain);
    }
    // A flag already set is kept and answers at the first hit.
    EE_BaseMemberName* again = services->createBaseMemberName(*t->declaration, 0, *topStore);
    services->setCurrentStore(*classStore(line));
    int flag = 1;
    EXPECT_EQ(services->prependBaseLookupChain(*again, *topStore, flag), 1);
    services->setCurrentStore(*services->globalStore());
    EXPECT_EQ(services->prependBaseLookupChain(*again, *topStore, flag), 0) << "not a class store";
}

TEST_F(NameLookupTest, TypesAndTemplateIdsWithTypeArguments)
{
    const TYPE_INDEX pairOfInt = makeClass("Pair<int>", {}, {});
    host.declare(*unit, records().typeName("Pair<int>", pairOfInt));
    // The template's entry answers only the host's search for template names.
    host.declare(*unit, records().newSymbol(38, "Pair"), 0x60800000);
    EE_Name* pair = find("Pair");
    ASSERT_NE(pair, nullptr);
    ASSERT_TRUE(pair->declaration->isTemplate());

    EE_TemplateArgument* argument = services->createTemplateArgument(*services->signedIntTypeDescriptor());
    EXPECT_EQ(argument->kind, EE_TemplateArgument::TypeArgument);
    EXPECT_EQ(argument->next, nullptr);
    EE_Name* instance = services->resolveTemplate(*pair, argument);
    ASSERT_NE(instance, nullptr);
    EXPECT_TRUE(instance->declaration->isType());
    EXPECT_EQ(instance->declaration->typeDescriptor->kind, EE_TypeDescriptor::Class);

    // A type found by name gives its descriptor's declaration.
    host.declare(*unit, records().typeName("Count", TYPE_INDEX{0, 130}));
    EE_String count("Count");
    EE_TypeDescriptor* countType = services->globalStore()->findTypeInScope(count);
    ASSERT_NE(countType, nullptr);
    EXPECT_TRUE(countType->kind >= EE_TypeDescriptor::Int && countType->kind <= EE_TypeDescriptor::UnsignedLong);
    EE_String variable("inMain");
    host.declare(*mainContext, records().staticVariable("inMain", TYPE_INDEX{0, 130}, 1, 0x20));
    EXPECT_EQ(eeExceptionCode([&] { services->currentStore()->findTypeInScope(variable); }), 2) << "no type";

    // Arguments that do not fit answer null; a non-template refuses.
    EE_Name* other = find("Pair");
    EE_TemplateArgument* twice = services->createTemplateArgument(*services->signedIntTypeDescriptor());
    twice->next = services->createTemplateArgument(*services->signedIntTypeDescriptor());
    EXPECT_EQ(services->resolveTemplate(*other, twice), nullptr);
    EE_OstrelDeclaration* notTemplate = services->findOrCreateDeclaration(intType(), "int", nullptr);
    EXPECT_EQ(eeExceptionCode([&] { services->resolveTemplate(*services->createName(*notTemplate), argument); }), 2);
    // An expression argument that is no integral constant is refused as an
    // unsupported node, naming it.
    EE_Name* third = find("Pair");
    EE_Expression& imaginary = *services->createImaginaryExpression();
    EE_TemplateArgument* expression = services->createTemplateArgument(imaginary);
    EXPECT_EQ(expression->kind, EE_TemplateArgument::ExpressionArgument);
    try {
        services->resolveTemplate(*third, expression);
        ADD_FAILURE() << "an imaginary unit resolved a template";
    } catch (const EE_Exception& e) {
        EXPECT_EQ(e.code, 3u);
        EXPECT_EQ(e.node, &imaginary);
    }
}

TEST_F(NameLookupTest, TheCurrentStoreIsWhereUnqualifiedLookupStarts)
{
    host.declare(*mainContext, records().staticVariable("inMain", TYPE_INDEX{0, 130}, 1, 0x20));
    EXPECT_NE(find("inMain"), nullptr);
    EE_DeclarationStore* previous = services->setCurrentStore(*services->globalStore());
    EXPECT_EQ(find("inMain"), nullptr);
    services->setCurrentStore(*previous);
    EXPECT_NE(find("inMain"), nullptr);
}

} // namespace
