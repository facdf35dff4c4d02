// Symbols: making them from host entries, names and registers; the imaginary
// unit; constants; function queries; attribute bytes; swallowed address
// failures and cyclic owner chains.

#include <cstring>

#include "SymbolsFixture.h"
#include "api/LocalsRepresentation.h"
#include "services/Register.h"
#include "types/ClassScopeItem.h"
#include "types/ConstSymbolItem.h"
#include "types/LocalSymbolItem.h"
#include "types/TypeKind.h"

namespace {

TEST_F(CSymbolsTest, ImaginaryUnitInTheFileScopeOfTheCLanguages)
{
    ScopeItem* file = ScopeItem::fileScope();
    for (const char* name : {"I", "_Complex_I"}) {
        SymbolItem* unit = file->findVariable(name, 1);
        ASSERT_NE(unit, nullptr) << name;
        EXPECT_TRUE(unit->noStorage());
        EXPECT_TRUE(unit->dataType().typeIndex() == 140u);
        EXPECT_TRUE(traced(std::string(name) + " is sqrt(-1)"));
        EXPECT_EQ(symbolsInvalidOpCode([&] { unit->debuggeeAddress(-1); }), InvalidOp::RTRC_IncompatTypes);
    }
    // Only the file scope knows it, and only by its exact name.
    EXPECT_EQ(scope->findVariable("I", 1), nullptr);
    EXPECT_EQ(file->findVariable("i", 1), nullptr);
}

TEST_F(CobolSymbolsTest, ImaginaryUnitIsAnOrdinaryNameInCobol)
{
    EXPECT_EQ(ScopeItem::fileScope()->findVariable("I", 1), nullptr);
    EXPECT_FALSE(traced("is sqrt(-1)"));
    EXPECT_TRUE(traced("Cannot find symbol I"));
}

TEST_F(SymbolsTest, RegisterNameAndUnknownName)
{
    TestHost::Register r;
    r.name = "R5";
    r.id = 5;
    r.bits = 32;
    host.addRegister(r);
    env->setStaticExpression(true);

    ScopeItem* file = ScopeItem::fileScope();
    SymbolItem* reg = file->findVariable("R5", 1);
    ASSERT_NE(reg, nullptr);
    EXPECT_TRUE(reg->dataType().typeIndex() == 134u);
    EXPECT_EQ(reg->addressState(), SymbolItem::addressCached);
    ASSERT_NE(reg->location().registerTarget(), nullptr);
    EXPECT_EQ(reg->location().registerTarget()->registerId(), 5u);
    EXPECT_FALSE(env->isStaticExpression());
    EXPECT_TRUE(traced("R5 is a register symbol"));

    EXPECT_EQ(file->findVariable("nothing", 1), nullptr);
    EXPECT_TRUE(traced("Cannot find symbol nothing"));
    EXPECT_EQ(file->variables().count(), 1u);
    // Outside the file scope no register is tried.
    EXPECT_EQ(scope->findVariable("R5", 1), nullptr);
}

TEST_F(SymbolsTest, SecondLookupDoesNotAskTheHostAgain)
{
    declare(mainContext, records().staticVariable("count", TYPE_INDEX{0, 130}, 1, 0x20));
    SymbolItem* first = scope->findVariable("count", 1);
    ASSERT_NE(first, nullptr);
    const unsigned asked = searches();
    EXPECT_EQ(asked, 1u);
    EXPECT_EQ(scope->findVariable("count", 1), first);
    EXPECT_EQ(SymbolItem::makeVarSymbol("count", *scope), first);
    EXPECT_EQ(searches(), asked);
    EXPECT_TRUE(searchedWith("caseSensitive=1"));
    EXPECT_TRUE(traced("count is a normal symbol"));
}

TEST_F(FortranSymbolsTest, FortranNamesAreSearchedWithoutRegardToCase)
{
    declare(mainContext, records().staticVariable("counter", TYPE_INDEX{0, 130}, 1, 0x20));
    SymbolItem* s = scope->findVariable("COUNTER", 1);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->name(), "counter");
    EXPECT_TRUE(searchedWith("caseSensitive=0"));
    EXPECT_TRUE(searchedWith("symbolsToSearch=0x" + [] {
        char t[16];
        std::snprintf(t, sizeof t, "%x", 37749466u);
        return std::string(t);
    }()));
}

TEST_F(SymbolsTest, IntegralConstantsByPrimitiveCode)
{
    struct Case {
        unsigned code;
        std::uint64_t stored;
        std::uint64_t expected; // 0 with fails set: the code is refused
        bool fails;
    };
    const Case cases[] = {
        {128, 0xFE, 0xFFFFFFFFFFFFFFFEull, false},
        {129, 0xFFFE, 0xFFFFFFFFFFFFFFFEull, false},
        {130, 0xFFFFFFFE, 0xFFFFFFFFFFFFFFFEull, false},
        {132, 0xFE, 0xFE, false},
        {133, 0xFFFE, 0xFFFE, false},
        {145, 0x8001, 0x8001, false},
        {134, 0xFFFFFFFE, 0xFFFFFFFE, false},
        {156, 0x8000000000000001ull, 0x8000000000000001ull, false},
        {131, 1, 0, true},
        {136, 1, 0, true},
    };
    for (const Case& c : cases) {
        // The value lies in the host's memory in its own byte order.
        auto* value = new std::uint64_t(c.stored);
        std::unique_ptr<std::uint64_t> keep(value);
        _SYMBOL_ENTRY& e = records().constant("k" + std::to_string(c.code), TYPE_INDEX{0, c.code}, value);
        SymbolItem* s = SymbolItem::makeVarSymbol(&e, *scope);
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(s->dataType().symbolFlagSet());
        if (c.fails)
            EXPECT_EQ(symbolsInvalidOpCode([&] { s->constantValue(); }), InvalidOp::RTRC_Other) << c.code;
        else
            EXPECT_EQ(s->constantValue(), c.expected) << c.code;
    }
}

TEST_F(SymbolsTest, RealComplexAndTextConstants)
{
    const float f = 1.5f;
    const double d[2] = {2.25, -4.0};
    const float cf[2] = {0.5f, 3.0f};
    const char text[] = "HELLO";
    SymbolItem* sf = SymbolItem::makeVarSymbol(&records().constant("f", TYPE_INDEX{0, 136}, &f), *scope);
    SymbolItem* sd = SymbolItem::makeVarSymbol(&records().constant("d", TYPE_INDEX{0, 137}, d), *scope);
    SymbolItem* sc = SymbolItem::makeVarSymbol(&records().constant("c", TYPE_INDEX{0, 140}, cf), *scope);
    SymbolItem* scd = SymbolItem::makeVarSymbol(&records().constant("cd", TYPE_INDEX{0, 141}, d), *scope);
    SymbolItem* st = SymbolItem::makeVarSymbol(&records().constant("t", TYPE_INDEX{0, 5}, text), *scope);

    long double v = -1, re = -1, im = -1;
    EXPECT_EQ(sf->constantValue(v), 4);
    EXPECT_EQ(v, 1.5L);
    EXPECT_EQ(sd->constantValue(v), 8);
    EXPECT_EQ(v, 2.25L);
    EXPECT_EQ(sc->constantValue(re, im), 8);
    EXPECT_EQ(re, 0.5L);
    EXPECT_EQ(im, 3.0L);
    EXPECT_EQ(scd->constantValue(re, im), 16);
    EXPECT_EQ(im, -4.0L);
    EXPECT_EQ(symbolsInvalidOpCode([&] { sc->constantValue(v); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(symbolsInvalidOpCode([&] { sf->constantValue(re, im); }), InvalidOp::RTRC_Other);
    char* back = nullptr;
    EXPECT_EQ(st->constantValue(back), 5);
    EXPECT_STREQ(back, "HELLO");
}

TEST_F(CobolSymbolsTest, ConstantsAreMarkedInCobol)
{
    const std::uint16_t value = 7;
    SymbolItem* s = SymbolItem::makeVarSymbol(&records().constant("SEVEN", TYPE_INDEX{0, 133}, &value), *scope);
    EXPECT_TRUE(s->isConstant());
    EXPECT_EQ(s->constantValue(), 7u);
}

TEST_F(SymbolsTest, FunctionQueries)
{
    const TYPE_INDEX noReturn = records().functionType(TYPE_INDEX{0, 0}, {});
    const TYPE_INDEX returnsInt = records().functionType(TYPE_INDEX{0, 130}, {});
    _SYMBOL_ENTRY& plain = records().function("f", noReturn, 1, 0x200);
    _SYMBOL_ENTRY& member = records().function("g", returnsInt, 1, 0x300);
    member.function.plainName = records().text("S::g(int)");
    member.function.mangledName = records().text("_ZN1S1gEi");
    static int descriptor;
    member.function.procedureDescriptor = &descriptor;
    _SYMBOL_ENTRY& method = records().newSymbol(SE_MEMBER_FUNCTION, "h");
    method.memberfunction.mangledName = records().text("_ZN1S1hEv");
    _SYMBOL_ENTRY& variable = records().staticVariable("v", TYPE_INDEX{0, 130}, 1, 0x40);
    variable.statics.mangledName = records().text("_Zv");
    _SYMBOL_ENTRY& notAFunction = records().function("n", TYPE_INDEX{0, 130}, 1, 0x400);

    SymbolItem* sPlain = SymbolItem::makeVarSymbol(&plain, *scope);
    SymbolItem* sMember = SymbolItem::makeVarSymbol(&member, *scope);
    SymbolItem* sMethod = SymbolItem::makeVarSymbol(&method, *scope);
    SymbolItem* sVariable = SymbolItem::makeVarSymbol(&variable, *scope);
    SymbolItem* sNot = SymbolItem::makeVarSymbol(&notAFunction, *scope);
    SymbolItem bare("bare", *scope);

    EXPECT_EQ(sPlain->functionType(), 1);
    EXPECT_EQ(sMember->functionType(), 2);
    EXPECT_EQ(sMethod->functionType(), 3);
    EXPECT_EQ(sVariable->functionType(), 0);
    EXPECT_EQ(bare.functionType(), 0);

    EXPECT_STREQ(sMember->mangledName(), "_ZN1S1gEi");
    EXPECT_STREQ(sMethod->mangledName(), "_ZN1S1hEv");
    EXPECT_STREQ(sVariable->mangledName(), "_Zv");
    EXPECT_STREQ(bare.mangledName(), "bare");
    EXPECT_EQ(sMember->descriptor(), &descriptor);
    EXPECT_EQ(sVariable->descriptor(), nullptr);

    // An empty return type is void; a present one is the function's.
    EXPECT_EQ(sPlain->functionReturnType(), TypeItem::simpleType(t_void));
    ASSERT_NE(sMember->functionReturnType(), nullptr);
    EXPECT_TRUE(sMember->functionReturnType()->typeIndex() == 130u);
    // No function type, no function entry, no entry at all.
    EXPECT_EQ(symbolsInvalidOpCode([&] { sNot->functionReturnType(); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(symbolsInvalidOpCode([&] { sVariable->functionReturnType(); }), InvalidOp::RTRC_InvalidSymbol);
    EXPECT_EQ(symbolsInvalidOpCode([&] { bare.functionReturnType(); }), InvalidOp::RTRC_InvalidSymbol);
    EXPECT_STREQ(SymbolItem(nullptr, *scope).name(), "<unknown>");
}

TEST_F(SymbolsTest, AttributeBytesOfAutomaticAndStaticEntries)
{
    _SYMBOL_ENTRY& automatic = records().automaticVariable("a", TYPE_INDEX{0, 130}, -8);
    automatic.automatic.classChar = 'L';
    automatic.automatic.attributeA = 3;
    automatic.automatic.attributeD = 0;
    _SYMBOL_ENTRY& statics = records().staticVariable("s", TYPE_INDEX{0, 130}, 1, 0x40);
    statics.statics.classChar = 'W';
    statics.statics.attributeA = 0;
    statics.statics.attributeD = 1;
    statics.statics.attribute44 = 0;
    statics.statics.attribute45 = 0;
    statics.statics.attributeC = 9;
    _SYMBOL_ENTRY& other = records().staticVariable("o", TYPE_INDEX{0, 130}, 1, 0x44);
    other.statics.attribute45 = 1;

    SymbolItem* a = SymbolItem::makeVarSymbol(&automatic, *scope);
    SymbolItem* s = SymbolItem::makeVarSymbol(&statics, *scope);
    SymbolItem* o = SymbolItem::makeVarSymbol(&other, *scope);
    EXPECT_EQ(a->classChar(), 'L');
    EXPECT_TRUE(a->attributeA());
    EXPECT_TRUE(a->attributeB());
    EXPECT_FALSE(a->attributeC());
    EXPECT_FALSE(a->attributeD());
    EXPECT_EQ(s->classChar(), 'W');
    EXPECT_FALSE(s->attributeA());
    EXPECT_TRUE(s->attributeB());
    EXPECT_TRUE(s->attributeC());
    EXPECT_TRUE(s->attributeD());
    EXPECT_FALSE(o->attributeB());
    EXPECT_FALSE(o->attributeD());
}

TEST_F(SymbolsTest, AutomaticAddressFromTheHostOrSwallowedFailure)
{
    _SYMBOL_ENTRY& good = records().automaticVariable("good", TYPE_INDEX{0, 130}, 16);
    good.automatic.location = records().bytes({0x03, 0, 0, 0, 0, 0, 0, 0x80, 0x10}); // DW_OP_addr 0x8010
    good.automatic.locationLength = 9;
    _SYMBOL_ENTRY& bad = records().automaticVariable("bad", TYPE_INDEX{0, 130}, 8);

    env->setStaticExpression(true);
    SymbolItem* g = SymbolItem::makeVarSymbol(&good, *scope);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->addressState(), SymbolItem::addressCached);
    EXPECT_EQ(g->location().address().addr(), 0x8010u);
    EXPECT_TRUE(env->isStaticExpression());

    host.failSlot(HS_Expr2ComputeAbsDWARFaddress, 1);
    SymbolItem* b = SymbolItem::makeVarSymbol(&bad, *scope);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->addressState(), SymbolItem::addressNotComputed);
    EXPECT_FALSE(env->isStaticExpression());
    EXPECT_EQ(scope->variables().count(), 2u);
}

TEST_F(SymbolsTest, OwnerEntriesBecomeOwnerSymbolsAndCyclesAreRefused)
{
    _SYMBOL_ENTRY& file = records().staticVariable("FD", TYPE_INDEX{0, 130}, 1, 0x40);
    _SYMBOL_ENTRY& record = records().staticVariable("REC", TYPE_INDEX{0, 130}, 1, 0x80);
    record.statics.owner = &file;
    SymbolItem* r = SymbolItem::makeVarSymbol(&record, *scope);
    ASSERT_NE(r->ownerSymbol(), nullptr);
    EXPECT_STREQ(r->ownerSymbol()->name(), "FD");

    _SYMBOL_ENTRY& first = records().automaticVariable("x", TYPE_INDEX{0, 130}, 8);
    _SYMBOL_ENTRY& second = records().staticVariable("y", TYPE_INDEX{0, 130}, 1, 0x90);
    first.automatic.owner = &second;
    second.statics.owner = &first;
    const unsigned before = scope->variables().count();
    EXPECT_EQ(symbolsInvalidOpCode([&] { SymbolItem::makeVarSymbol(&first, *scope); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(scope->variables().count(), before);
    // An entry that owns itself.
    second.statics.owner = &second;
    EXPECT_EQ(symbolsInvalidOpCode([&] { SymbolItem::makeVarSymbol(&second, *scope); }), InvalidOp::RTRC_Other);
}

TEST_F(SymbolsTest, StorageCodesThatClearTheStaticExpressionFlag)
{
    struct Case {
        UBYTE4 kind;
        bool staysStatic;
    };
    const Case cases[] = {{SE_BLOCK, true},           {SE_FUNCTION, true},      {SE_SECTION_DATA, true},
                          {SE_NAMED35, true},         {SE_REGISTER, false},     {5, false},
                          {SE_QUALIFIED_NAME, false}, {SE_THREAD_STATIC, false}};
    for (const Case& c : cases) {
        env->setStaticExpression(true);
        _SYMBOL_ENTRY& e = records().newSymbol(c.kind, "e" + std::to_string(c.kind));
        SymbolItem* s = SymbolItem::makeVarSymbol(&e, *scope);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(env->isStaticExpression(), c.staysStatic) << c.kind;
        EXPECT_EQ(s->isRegister(), c.kind == SE_REGISTER);
    }
}

TEST_F(SymbolsTest, TypeSymbolsFromTypeNameEntries)
{
    const TYPE_INDEX color = records().enumType("color", TYPE_INDEX{0, 130}, {{"red", 0}});
    HostRecordStore::ClassSpec layout;
    layout.name = "point";
    layout.byteSize = 8;
    layout.members = {{"x", TYPE_INDEX{0, 130}, 0}, {"y", TYPE_INDEX{0, 130}, 4}};
    const TYPE_INDEX point = records().classType(layout);
    declare(unit, records().typeName("color_t", color));
    declare(unit, records().typeName("point_t", point));
    declare(unit, records().typeName("word", TYPE_INDEX{0, 134}));
    declare(unit, records().typeName("fn", records().functionType(TYPE_INDEX{0, 130}, {})));

    SymbolItem* c = scope->findType("color_t", 1);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->isType());
    EXPECT_EQ(&c->scope(), scope);
    SymbolItem* p = SymbolItem::makeTypeSymbol("point_t", *scope);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->scope().scopeType(), ScopeItem::classScope);
    EXPECT_EQ(scope->findType("point_t", 0), p);
    SymbolItem* w = scope->findType("word", 1);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->dataType().typeIndex() == 134u);
    EXPECT_EQ(symbolsInvalidOpCode([&] { scope->findType("fn", 1); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(scope->findType("missing", 1), nullptr);
    EXPECT_TRUE(traced("Type missing does not exist in scope"));
    EXPECT_EQ(symbolsInvalidOpCode([&] { scope->findType(nullptr, 1); }), InvalidOp::RTRC_Other);
}

TEST_F(SymbolsTest, MemberSymbolsAreNamedByTheirRecord)
{
    _TYPE_ENTRY* member = nullptr;
    TYPE_INDEX memberIndex{};
    member = &records().newType(TE_MEMBER, &memberIndex);
    member->member.name = records().text("width");
    member->member.classChar = 'Q';
    TYPE_INDEX tagIndex{}, baseIndex{}, otherIndex{};
    records().newType(TE_NAMEDTAG, &tagIndex);
    records().newType(TE_BASECLASS, &baseIndex);
    records().newType(TE_POINTER, &otherIndex);
    const TypeItem type(TYPE_INDEX{0, 130});

    SymbolItem m(type, *scope, TypeItem(memberIndex, nullptr, false));
    EXPECT_STREQ(m.name(), "width");
    EXPECT_EQ(m.classChar(), 'Q');
    EXPECT_TRUE(m.isMember());
    ASSERT_NE(m.memberType(), nullptr);
    EXPECT_STREQ(SymbolItem(type, *scope, TypeItem(tagIndex, nullptr, false)).name(), "<classdef>");
    EXPECT_STREQ(SymbolItem(type, *scope, TypeItem(baseIndex, nullptr, false)).name(), "<baseclass>");
    EXPECT_EQ(symbolsInvalidOpCode([&] { SymbolItem(type, *scope, TypeItem(otherIndex, nullptr, false)); }),
              InvalidOp::RTRC_Other);
    EXPECT_EQ(symbolsInvalidOpCode([&] {
                  SymbolItem(type, *scope, TypeItem(TYPE_INDEX{0, 130}));
              }),
              InvalidOp::RTRC_Other);
}

TEST_F(SymbolsTest, EnumerationConstantsCarryTheirOwnEntry)
{
    const TYPE_INDEX color = records().enumType("color", TYPE_INDEX{0, 130}, {{"green", 2}});
    const char* name = records().text("green");
    auto* green = new ConstSymbolItem(name, TypeItem(color), *scope, 0x1234, 4);
    scope->addSymbol(*green);
    EXPECT_STREQ(green->name(), "green");
    EXPECT_TRUE(green->isConstant());
    EXPECT_EQ(green->addressState(), SymbolItem::addressCached);
    ASSERT_NE(green->entry(), nullptr);
    EXPECT_EQ(green->entry()->kind, SE_CONSTANT);
    const char* entryName = green->entry()->typed.name;
    EXPECT_EQ(entryName, name);
    const TYPE_INDEX recorded = green->entry()->typed.type;
    EXPECT_EQ(recorded.module, color.module);
    EXPECT_EQ(recorded.index, color.index);
    EXPECT_EQ(*static_cast<const std::uint64_t*>(green->entry()->typed.u.value), 0x1234u);
    EXPECT_EQ(green->memberLayout().size, 4u);
    EXPECT_EQ(green->memberLayout().flags, SymbolItem::MemberLayout::staticMember);
    EXPECT_EQ(scope->findVariable("green", 0), green);
}

TEST_F(SymbolsTest, LocalSymbolsOfTheLocalsView)
{
    _SYMBOL_ENTRY& automatic = declare(mainContext, records().automaticVariable("n", TYPE_INDEX{0, 130}, -8));
    _SYMBOL_ENTRY& statics = records().staticVariable("s", TYPE_INDEX{0, 130}, 1, 0x40);
    statics.statics.displayName = records().text("s (static)");
    host.addFrame(mainContext, 0x9000);

    // Only the locals view may ask.
    LocalSymbolItem outside(automatic, *scope, 0);
    EXPECT_EQ(symbolsInvalidOpCode([&] { outside.debuggeeAddress(0); }), InvalidOp::RTRC_NotSupported);

    LocalsRepresentation view(2, mainContext, 1);
    view.makeCurrent(mainContext);
    view.setEvaluationStackFrame(0, nullptr);
    {
        ScopeItem viewScope(mainContext, ScopeItem::function);
        LocalSymbolItem n(automatic, viewScope, 0);
        LocalSymbolItem s(statics, viewScope, 0);
        EXPECT_STREQ(s.name(), "s (static)");
        EXPECT_TRUE(s.dataType().typeIndex() == 130u);
        EXPECT_EQ(n.debuggeeAddress(0).address().addr(), 0x9000u - 8u);
        EXPECT_EQ(n.addressKind(), LocalSymbolItem::frameOffset);
        EXPECT_EQ(s.debuggeeAddress(0).address().addr(), 0x10040u);
        EXPECT_EQ(s.addressKind(), LocalSymbolItem::general);
    }
    env->makeCurrent(mainContext);
}

TEST_F(SymbolsTest, BoundStaticTypesLearnTheSymbolsAddress)
{
    // A pointer's shape is bound to the symbol: the static address is
    // computed when the symbol is made and handed to the type.
    HostRecordStore::ClassSpec layout;
    layout.name = "node";
    layout.byteSize = 4;
    layout.members = {{"v", TYPE_INDEX{0, 130}, 0}};
    const TYPE_INDEX pointer = records().pointerType(records().classType(layout));
    _SYMBOL_ENTRY& p = records().staticVariable("p", pointer, 1, 0x48);
    SymbolItem* s = SymbolItem::makeVarSymbol(&p, *scope);
    ASSERT_NE(s->dataType().boundTypeData(), nullptr);
    EXPECT_EQ(s->addressState(), SymbolItem::addressCached);
    EXPECT_EQ(s->location().address().addr(), 0x10048u);
    EXPECT_EQ(s->dataType().getSymbolLocation().address().addr(), 0x10048u);
    // A plain static has its address computed only when asked.
    _SYMBOL_ENTRY& v = records().staticVariable("v", TYPE_INDEX{0, 130}, 1, 0x50);
    SymbolItem* plain = SymbolItem::makeVarSymbol(&v, *scope);
    EXPECT_EQ(plain->addressState(), SymbolItem::addressNotComputed);
}

} // namespace
