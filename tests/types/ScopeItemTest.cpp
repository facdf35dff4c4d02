// Scopes: their type from the host's context kind, member-function scopes
// with and without "this", names, containers, search flags, type names,
// OpenMP blocks and flattened COBOL symbol lists.

#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "SymbolsFixture.h"
#include "types/ClassScopeItem.h"
#include "types/SymbolList.h"
#include "types/SymbolListEntry.h"

namespace {

// "<prefix> Scope (<address in lower-case hex>)-".
std::string formatted(const std::string& prefix, const void* p)
{
    char text[32];
    std::snprintf(text, sizeof text, "%" PRIxPTR, reinterpret_cast<std::uintptr_t>(p));
    return prefix + " Scope (" + text + ")-";
}

TEST_F(SymbolsTest, ScopeTypeFollowsTheContextKind)
{
    EXPECT_EQ(scope->scopeType(), ScopeItem::function);
    EXPECT_EQ(env->blockScope(), scope);
    const struct {
        CONTEXT_SCOPE2 kind;
        ScopeItem::ScopeType type;
    } cases[] = {{CS2_FILE, ScopeItem::file},
                 {CS2_FUNCTION, ScopeItem::function},
                 {CS2_MEMBER_FUNCTION, ScopeItem::memberFunction},
                 {CS2_BLOCK, ScopeItem::block},
                 {CS2_UNKNOWN, ScopeItem::unknownScope},
                 {static_cast<CONTEXT_SCOPE2>(9), ScopeItem::unknownScope}};
    for (const auto& c : cases) {
        LCC_Eval_Context_Info& context = host.addContext("k", c.kind, unit);
        ScopeItem* s = new ScopeItem(&context, ScopeItem::unknownScope);
        EXPECT_EQ(s->scopeType(), c.type) << int(c.kind);
    }
    // A file scope made by kind becomes the environment's file scope.
    EXPECT_NE(env->environmentFileScope(), nullptr);
}

TEST_F(SymbolsTest, NamesOfScopes)
{
    ScopeItem* file = ScopeItem::fileScope();
    EXPECT_EQ(std::string(file->name()), formatted("-File", file));
    EXPECT_EQ(std::string(scope->name()), formatted("-Function main", scope));
    LCC_Eval_Context_Info& inner = host.addContext("inner", CS2_BLOCK, mainContext);
    ScopeItem* block = new ScopeItem(&inner, ScopeItem::unknownScope);
    EXPECT_EQ(std::string(block->name()), formatted("-Block", block));

    EXPECT_STREQ(scope->functionName(), "main");
    EXPECT_STREQ(block->functionName(), "Not a function");
    LCC_Eval_Context_Info& broken = host.addContext("broken", CS2_FUNCTION, unit);
    ScopeItem* failing = new ScopeItem(&broken, ScopeItem::unknownScope);
    host.failSlot(HS_ExprGetBlockSymbol, 3);
    EXPECT_STREQ(failing->functionName(), "Invalid Function");
    // A function context whose block entry is no function.
    _SYMBOL_ENTRY& notFunction = records().newSymbol(SE_BLOCK, "b");
    broken.blockSymbol = &notFunction;
    host.clearProgram();
    EXPECT_STREQ(failing->functionName(), "Not a function");
}

class MemberFunctionTest : public SymbolsTest {
protected:
    void SetUp() override
    {
        SymbolsTest::SetUp();
        HostRecordStore::ClassSpec layout;
        layout.name = "Widget";
        layout.byteSize = 8;
        layout.members = {{"size", TYPE_INDEX{0, 130}, 0}};
        widget = records().classType(layout);
        method = &host.addContext("Widget::draw", CS2_MEMBER_FUNCTION, unit);
    }

    // A member-function entry whose function type is a leaf-21 record.
    _SYMBOL_ENTRY& memberFunction(bool isStatic)
    {
        TYPE_INDEX t{};
        _TYPE_ENTRY& f = records().newType(TE_MEMBERFUNCTION, &t);
        f.memberfunction.flags = isStatic ? 1 : 0;
        f.memberfunction.functionType = records().functionType(TYPE_INDEX{0, 151}, {});
        _SYMBOL_ENTRY& e = records().newSymbol(SE_MEMBER_FUNCTION, "draw");
        e.memberfunction.type = t;
        e.memberfunction.classType = widget;
        e.memberfunction.functionName = records().text("Widget::draw");
        return e;
    }

    TYPE_INDEX widget{};
    LCC_Eval_Context_Info* method = nullptr; // the host's own record
};

TEST_F(MemberFunctionTest, ThisIsFoundInTheParent)
{
    _SYMBOL_ENTRY& self = declare(unit, records().staticVariable("this", records().pointerType(widget), 1, 0x10));
    ScopeItem* s = new ScopeItem(method, memberFunction(false), *scope);
    EXPECT_EQ(s->scopeType(), ScopeItem::memberFunction);
    ASSERT_NE(s->thisSymbol(), nullptr);
    EXPECT_EQ(s->thisSymbol()->entry(), &self);
    EXPECT_EQ(s->findVariable("this", 0), s->thisSymbol());
    EXPECT_EQ(s->nestingLevel(), scope->nestingLevel());
}

TEST_F(MemberFunctionTest, StaticMemberFunctionHasNoThis)
{
    declare(unit, records().staticVariable("this", records().pointerType(widget), 1, 0x10));
    const unsigned before = searches();
    ScopeItem* s = new ScopeItem(method, memberFunction(true), *scope);
    EXPECT_EQ(s->scopeType(), ScopeItem::staticMemberFunction);
    EXPECT_EQ(s->thisSymbol(), nullptr);
    EXPECT_EQ(searches(), before);
}

TEST_F(MemberFunctionTest, MissingThisLeavesOnlyATrace)
{
    ScopeItem* s = new ScopeItem(method, memberFunction(false), *scope);
    EXPECT_EQ(s->scopeType(), ScopeItem::memberFunction);
    EXPECT_EQ(s->thisSymbol(), nullptr);
    EXPECT_TRUE(traced("failed to find the \"this\" pointer for scope"));
}

TEST_F(MemberFunctionTest, MethodRecordsTellStaticFunctions)
{
    // Leaf 15: the class's method list holds the function type; bit 0 of
    // its flags marks it static.
    for (bool isStatic : {false, true}) {
        TYPE_INDEX fn{};
        _TYPE_ENTRY& f = records().newType(TE_METHOD, &fn);
        f.function.flags = isStatic ? 1 : 0;
        f.function.classType = widget;
        _TYPE_ENTRY& klass = *records().type(widget);
        klass.klass.fieldList = records().typeList({TYPE_INDEX{0, 130}, fn});
        _SYMBOL_ENTRY& e = records().newSymbol(SE_MEMBER_FUNCTION, "m");
        e.memberfunction.type = fn;
        ScopeItem* s = new ScopeItem(method, e, *scope);
        EXPECT_EQ(s->scopeType(), isStatic ? ScopeItem::staticMemberFunction : ScopeItem::memberFunction);
    }
    // A method of a type that is no class, and a function type of another leaf.
    TYPE_INDEX bad{};
    records().newType(TE_METHOD, &bad).function.classType = TYPE_INDEX{0, 130};
    _SYMBOL_ENTRY& e = records().newSymbol(SE_MEMBER_FUNCTION, "m");
    e.memberfunction.type = bad;
    EXPECT_EQ(symbolsInvalidOpCode([&] { new ScopeItem(method, e, *scope); }), InvalidOp::RTRC_Other);
    e.memberfunction.type = TYPE_INDEX{0, 130};
    EXPECT_EQ(symbolsInvalidOpCode([&] { new ScopeItem(method, e, *scope); }), InvalidOp::RTRC_Other);
}

TEST_F(MemberFunctionTest, ContainerOfAMemberFunctionIsItsClassScope)
{
    _SYMBOL_ENTRY& entry = memberFunction(false);
    method->blockSymbol = &entry;
    ScopeItem* s = new ScopeItem(method, entry, *scope);
    ScopeItem* c = s->container();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->scopeType(), ScopeItem::classScope);
    EXPECT_TRUE(static_cast<ClassScopeItem*>(c)->classType() == TypeItem(widget));
    EXPECT_EQ(s->container(), c);
    EXPECT_TRUE(traced("is a member function of class Widget"));
    // Its members are found there.
    ASSERT_NE(c->findVariable("size", 1), nullptr);
    EXPECT_EQ(c->container(), ScopeItem::fileScope());
}

TEST_F(SymbolsTest, ContainerChainUpToTheFile)
{
    LCC_Eval_Context_Info& inner = host.addContext("inner", CS2_BLOCK, mainContext);
    _SYMBOL_ENTRY& block = records().newSymbol(SE_BLOCK, "");
    inner.blockSymbol = &block;
    ScopeItem* b = new ScopeItem(&inner, ScopeItem::unknownScope);
    ScopeItem* f = b->container();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->scopeType(), ScopeItem::function);
    EXPECT_EQ(f->context(), mainContext);
    EXPECT_EQ(f->nestingLevel(), 1u);
    ScopeItem* file = f->container();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file, ScopeItem::fileScope());
    EXPECT_EQ(file->context(), unit);
    EXPECT_EQ(file->container(), nullptr);
    EXPECT_TRUE(traced("is not contained by any scope"));
    EXPECT_EQ(b->container(), f);

    // A block context without a block entry above it cannot be entered.
    LCC_Eval_Context_Info& bare = host.addContext("bare", CS2_BLOCK, unit);
    LCC_Eval_Context_Info& below = host.addContext("below", CS2_BLOCK, &bare);
    ScopeItem* lost = new ScopeItem(&below, ScopeItem::block);
    EXPECT_EQ(symbolsInvalidOpCode([&] { lost->container(); }), InvalidOp::RTRC_Other);
}

TEST_F(SymbolsTest, FileScopeIsMadeOnceAndKept)
{
    EXPECT_EQ(env->environmentFileScope(), nullptr);
    ScopeItem* file = fileScope();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->scopeType(), ScopeItem::file);
    EXPECT_EQ(file->context(), unit);
    EXPECT_EQ(ScopeItem::fileScope(), file);
    EXPECT_TRUE(ScopeItem::isCUcontext(unit));
    EXPECT_FALSE(ScopeItem::isCUcontext(mainContext));
}

TEST_F(SymbolsTest, SearchFlagsByScopeTypeAndLanguage)
{
    struct Case {
        int language;
        ScopeItem::ScopeType type;
        unsigned flags;
    };
    const Case cases[] = {
        {1, ScopeItem::file, 4719318u},       {2, ScopeItem::file, 4719318u},
        {11, ScopeItem::file, 4719318u},      {6, ScopeItem::file, 4719312u},
        {2, ScopeItem::classScope, 4259920u}, {6, ScopeItem::classScope, 4259920u},
        {11, ScopeItem::block, 37749466u},    {11, ScopeItem::function, 37749466u},
        {2, ScopeItem::block, 37748952u},     {6, ScopeItem::structureScope, 37748952u},
    };
    for (const Case& c : cases) {
        ExpressionRepresentation other(c.language, nullptr);
        other.makeCurrent(mainContext);
        ScopeItem s(mainContext, c.type);
        EXPECT_EQ(s.getSymbolsToSearch(), c.flags) << c.language << " " << c.type;
    }
    env->makeCurrent(mainContext);
}

TEST_F(SymbolsTest, NameKnownOnlyAsATypeName)
{
    declare(mainContext, records().typeName("node_t", TYPE_INDEX{0, 130}));
    EXPECT_EQ(scope->findVariable("node_t", 1), nullptr);
    EXPECT_TRUE(traced("Name node_t exists in scope"));
    ASSERT_EQ(scope->types().count(), 1u);
    const unsigned asked = searches();
    SymbolItem* type = scope->findType("node_t", 0);
    ASSERT_NE(type, nullptr);
    EXPECT_TRUE(type->isType());
    EXPECT_EQ(searches(), asked);
    EXPECT_TRUE(scope->definesType(type->dataType()));
    EXPECT_FALSE(scope->definesType(TypeItem(TYPE_INDEX{0, 130})));
    EXPECT_EQ(ScopeItem::findDefiningScope(type->dataType()), scope);
    EXPECT_EQ(symbolsInvalidOpCode([&] { scope->findVariable(nullptr, 1); }), InvalidOp::RTRC_Other);
}

TEST_F(SymbolsTest, OpenMpBlockAddsTheEnvironmentPointer)
{
    LCC_Eval_Context_Info& region = host.addContext("region", CS2_BLOCK, mainContext);
    _SYMBOL_ENTRY& block = records().newSymbol(SE_BLOCK, "");
    block.header.flags = SE_OpenMpBlock;
    region.blockSymbol = &block;
    declare(&region, records().automaticVariable("#ENV", records().pointerType(TYPE_INDEX{0, 151}), -16));

    ScopeItem* s = new ScopeItem(&region, ScopeItem::unknownScope);
    EXPECT_EQ(s->scopeType(), ScopeItem::block);
    EXPECT_EQ(env->openMpEnvCount(), 1u);
    EXPECT_TRUE(traced("Creating block scope with environment pointer"));
    EXPECT_TRUE(searchedWith("name=#ENV caseSensitive=1 symbolsToSearch=0x8"));

    // Without the flag, or without "#ENV", no environment is added.
    block.header.flags = 0;
    new ScopeItem(&region, ScopeItem::block);
    LCC_Eval_Context_Info& plain = host.addContext("plain", CS2_BLOCK, mainContext);
    _SYMBOL_ENTRY& flagged = records().newSymbol(SE_BLOCK, "");
    flagged.header.flags = SE_OpenMpBlock;
    plain.blockSymbol = &flagged;
    EXPECT_FALSE(isOpenMpBlock(flagged, &plain));
    EXPECT_EQ(env->openMpEnvCount(), 1u);
    // A nested block entry read as a scope of its parent.
    block.header.flags = SE_OpenMpBlock;
    ScopeItem* nested = new ScopeItem(&region, block, *scope);
    EXPECT_EQ(nested->scopeType(), ScopeItem::block);
    EXPECT_EQ(env->openMpEnvCount(), 2u);
}

TEST_F(SymbolsTest, OtherBlockEntriesMakeDefaultBlockScopes)
{
    _SYMBOL_ENTRY& odd = records().newSymbol(SE_STATIC, "odd");
    ScopeItem* s = new ScopeItem(mainContext, odd, *scope);
    EXPECT_EQ(s->scopeType(), ScopeItem::block);
    EXPECT_TRUE(traced("Creating default block scope for a symbol of type 3"));
}

// ---------------------------------------------------------------------------
// Flattened COBOL symbol lists

class FlattenedListTest : public CobolSymbolsTest {
protected:
    void SetUp() override
    {
        CobolSymbolsTest::SetUp();
        item = records().packedDecimalType(5, 0, true);
        itemTable = records().arrayType(item, 15);
        HostRecordStore::ClassSpec g;
        g.name = "GRP";
        g.leaf = TE_GROUP;
        g.byteSize = 3;
        g.members = {{"ITEM", item, 0}, {"TAB", itemTable, 3}};
        group = records().classType(g);
        groupTable = records().arrayType(group, 30);
        HostRecordStore::ClassSpec r;
        r.name = "REC";
        r.leaf = TE_GROUP;
        r.byteSize = 40;
        r.members = {{"GRP", group, 0}, {"GRPS", groupTable, 10}};
        record = records().classType(r);
        recordEntry = &declare(unit, records().staticVariable("REC", record, 1, 0x100));
    }

    // A qualified-name entry of name inside parent, visible in the unit.
    _SYMBOL_ENTRY& qualified(const std::string& name, const _SYMBOL_ENTRY* parent, bool visible = true)
    {
        _SYMBOL_ENTRY& e = records().newSymbol(SE_QUALIFIED_NAME, name);
        e.qualified.parent = parent;
        if (visible)
            declare(unit, e);
        return e;
    }

    TYPE_INDEX item{}, itemTable{}, group{}, groupTable{}, record{};
    _SYMBOL_ENTRY* recordEntry = nullptr;
};

TEST_F(FlattenedListTest, ItemInAGroupInARecordHasTwoQualifiers)
{
    _SYMBOL_ENTRY& grp = qualified("GRP", recordEntry, false);
    qualified("ITEM", &grp);
    ScopeItem* file = ScopeItem::fileScope();
    SymbolList* list = file->getFlattenedSymbolList("ITEM");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1u);
    SymbolListEntry* e = list->setIteratorToFront();
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->getSymbol()->name(), "ITEM");
    EXPECT_EQ(e->getSymbol()->scope().scopeType(), ScopeItem::classScope);
    ASSERT_EQ(e->numberOfQualifiers(), 2u);
    EXPECT_STREQ(e->setIteratorToClosestQualifier()->name(), "GRP");
    EXPECT_STREQ(e->advanceIteratorToNextQualifier()->name(), "REC");
    EXPECT_EQ(e->advanceIteratorToNextQualifier(), nullptr);
    EXPECT_STREQ(e->outermostQualifier()->name(), "REC");
    EXPECT_EQ(e->outermostQualifier()->entry(), recordEntry);
    EXPECT_EQ(e->getSymbol()->arrayQualifiers(), 0u);
    EXPECT_TRUE(searchedWith("name=REC"));
    const unsigned bulk = host.callCount(HS_Expr2SearchForSymbolEntries);
    EXPECT_EQ(bulk, 1u);
    const std::string flags = [] {
        char t[32];
        std::snprintf(t, sizeof t, "symbolsToSearch=0x%x", 4719312u | 1024u);
        return std::string(t);
    }();
    EXPECT_NE(host.callsTo(HS_Expr2SearchForSymbolEntries)[0].arguments.find(flags), std::string::npos);

    // Kept per name: asked again, the host is not.
    EXPECT_EQ(file->getFlattenedSymbolList("ITEM"), list);
    EXPECT_EQ(host.callCount(HS_Expr2SearchForSymbolEntries), bulk);
}

TEST_F(FlattenedListTest, PlainEntriesAndClassScopesOnlyTakeQualifiedNames)
{
    declare(unit, records().staticVariable("ITEM", item, 1, 0x400));
    _SYMBOL_ENTRY& grp = qualified("GRP", recordEntry, false);
    qualified("ITEM", &grp);
    SymbolList* list = ScopeItem::fileScope()->getFlattenedSymbolList("ITEM");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2u);
    EXPECT_EQ(list->setIteratorToFront()->numberOfQualifiers(), 0u);
    EXPECT_EQ(list->advanceIterator()->numberOfQualifiers(), 2u);

    ClassScopeItem* groupScope = ClassScopeItem::getClassScope(TypeItem(group), ScopeItem::fileScope(), false);
    ASSERT_NE(groupScope, nullptr);
    SymbolList* inGroup = groupScope->getFlattenedSymbolList("ITEM");
    ASSERT_NE(inGroup, nullptr);
    ASSERT_EQ(inGroup->count(), 1u);
    EXPECT_EQ(inGroup->setIteratorToFront()->numberOfQualifiers(), 2u);
}

TEST_F(FlattenedListTest, ArrayQualifiersAndArrayHits)
{
    // TAB (an array of items) inside GRPS (an array of groups) inside REC.
    _SYMBOL_ENTRY& grps = qualified("GRPS", recordEntry, false);
    qualified("TAB", &grps);
    SymbolList* list = ScopeItem::fileScope()->getFlattenedSymbolList("TAB");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1u);
    SymbolItem* tab = list->setIteratorToFront()->getSymbol();
    EXPECT_EQ(tab->qualifiedArrayHits(), 1u);
    EXPECT_EQ(tab->arrayQualifiers(), 1u);
}

TEST_F(FlattenedListTest, UnresolvedChainsLeaveNoList)
{
    _SYMBOL_ENTRY& ghost = records().staticVariable("GHOST", record, 1, 0x200); // not visible
    qualified("ITEM", &ghost);
    ScopeItem* file = ScopeItem::fileScope();
    EXPECT_EQ(file->getFlattenedSymbolList("ITEM"), nullptr);
    EXPECT_EQ(file->getFlattenedSymbolList("ITEM"), nullptr);
    // The emptied list was removed, so the host was asked again.
    EXPECT_EQ(host.callCount(HS_Expr2SearchForSymbolEntries), 2u);
    EXPECT_EQ(file->getFlattenedSymbolList(""), nullptr);

    // A qualifier whose type leads nowhere abandons the chain as well.
    _SYMBOL_ENTRY& numEntry = declare(unit, records().staticVariable("NUM", item, 1, 0x300));
    qualified("LEAF", &numEntry);
    EXPECT_EQ(file->getFlattenedSymbolList("LEAF"), nullptr);
}

TEST_F(FlattenedListTest, CyclicQualifierChainIsAnError)
{
    _SYMBOL_ENTRY& a = qualified("LOOP", nullptr);
    _SYMBOL_ENTRY& b = qualified("B", &a, false);
    a.qualified.parent = &b;
    ScopeItem* file = ScopeItem::fileScope();
    EXPECT_EQ(symbolsInvalidOpCode([&] { file->getFlattenedSymbolList("LOOP"); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(symbolsInvalidOpCode([&] { file->getFlattenedSymbolList("LOOP"); }), InvalidOp::RTRC_Other);
}

} // namespace
