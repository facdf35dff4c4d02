// Symbol addresses: section, thread-static, common-block, register, automatic
// and DWARF symbols; frame selection; caching states; COBOL file records;
// based variables; symbols made from types found by name; the locals view.

#include <cstring>
#include <memory>
#include <vector>

#include "HostRecordAccess.h"
#include "SymbolsFixture.h"
#include "api/LocalsRepresentation.h"
#include "services/Register.h"
#include "testhost/DwarfExpression.h"
#include "types/ClassScopeItem.h"
#include "types/LocalSymbolItem.h"

namespace {

const TYPE_INDEX intType{0, 130};

std::uint64_t at(const DebuggeeLocation& location)
{
    return location.address().addr();
}

class SymbolAddressTest : public SymbolsTest {
protected:
    void SetUp() override
    {
        SymbolsTest::SetUp();
        leaf = &host.addContext("leaf", CS2_FUNCTION, unit);
        leaf->blockSymbol = &records().function("leaf", records().functionType(intType, {}), 1, 0x200);
        other = &host.addContext("other", CS2_FUNCTION, unit);
        other->blockSymbol = &records().function("other", records().functionType(intType, {}), 1, 0x300);
    }

    _SYMBOL_ENTRY& inMain(_SYMBOL_ENTRY& entry) { return declare(mainContext, entry); }

    // A pointer type with a run-time binding (its target is no primitive,
    // so the pointer is not folded into a primitive index).
    TYPE_INDEX boundPointer()
    {
        HostRecordStore::ClassSpec node;
        node.name = "node";
        node.byteSize = 4;
        node.members = {{"v", intType, 0}};
        return records().pointerType(records().classType(node));
    }

    LCC_Eval_Context_Info* leaf = nullptr;
    LCC_Eval_Context_Info* other = nullptr;
};

TEST_F(SymbolAddressTest, StaticVariableAsksForItsSectionBaseOnce)
{
    inMain(records().staticVariable("s", intType, 1, 0x40));
    SymbolItem* s = scope->findVariable("s", 1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(host.callCount(HS_Expr2MapSection), 0u);
    EXPECT_EQ(at(s->debuggeeAddress(-1)), 0x10040u);
    EXPECT_EQ(at(s->debuggeeAddress(-1)), 0x10040u);
    EXPECT_EQ(host.callCount(HS_Expr2MapSection), 1u);
    EXPECT_EQ(s->addressState(), SymbolItem::addressCached);
}

TEST_F(SymbolAddressTest, SectionThreadStaticAndCommonBlockCodes)
{
    host.addSection(2, 0x200000000ull);
    mainContext->threadStaticBase = EE_ADDR{64, 0x9000, 0};
    const UBYTE8 wide = 0x100000010ull; // the high word counts

    _SYMBOL_ENTRY& data4 = inMain(records().newSymbol(SE_SECTION_DATA, "d4"));
    data4.statics.section = 2;
    data4.statics.offsetLow = 0x10;
    data4.statics.offsetHigh = 1;
    data4.statics.type = intType;
    _SYMBOL_ENTRY& data36 = inMain(records().newSymbol(SE_SECTION_DATA36, "d36"));
    data36.sectiondata36.section = 2;
    data36.sectiondata36.offsetLow = 0x10;
    data36.sectiondata36.offsetHigh = 1;
    inMain(records().commonBlockMember("c43", intType, 2, wide));
    inMain(records().threadStaticVariable("t23", intType, 0x20));

    struct Case {
        const char* name;
        std::uint64_t address;
        SymbolItem::AddressState state;
        unsigned hostCallsForTwo; // section or thread-static base requests
        int slot;
    } cases[] = {
        {"d4", 0x300000010ull, SymbolItem::addressCached, 1, HS_Expr2MapSection},
        {"d36", 0x300000010ull, SymbolItem::addressCached, 1, HS_Expr2MapSection},
        {"c43", 0x300000010ull, SymbolItem::addressCached, 1, HS_Expr2MapSection},
        {"t23", 0x9020, SymbolItem::addressRecomputed, 2, HS_Expr2ComputeThreadStaticBase},
    };
    for (const Case& c : cases) {
        host.clearCalls();
        SymbolItem* s = scope->findVariable(c.name, 1);
        ASSERT_NE(s, nullptr) << c.name;
        EXPECT_EQ(at(s->debuggeeAddress(-1)), c.address) << c.name;
        EXPECT_EQ(at(s->debuggeeAddress(-1)), c.address) << c.name;
        EXPECT_EQ(s->addressState(), c.state) << c.name;
        EXPECT_EQ(host.callCount(c.slot), c.hostCallsForTwo) << c.name;
    }
}

TEST_F(SymbolAddressTest, RegisterVariableOnlyInTheTopFrameOfAnExpression)
{
    TestHost::Register r;
    r.name = "R5";
    r.id = 5;
    r.bits = 32;
    host.addRegister(r);
    inMain(records().registerVariable("r", intType, "R5"));
    host.addFrame(mainContext, 0x8000);

    SymbolItem* reg = scope->findVariable("r", 1);
    ASSERT_NE(reg, nullptr);
    ASSERT_NE(reg->debuggeeAddress(-1).registerTarget(), nullptr);
    EXPECT_EQ(reg->debuggeeAddress(-1).registerTarget()->registerId(), 5u);
    // Never cached: the top of the stack is asked each time.
    EXPECT_EQ(host.callCount(HS_Expr2GetTopStackEntry), 2u);

    // Another function is now on top of the stack.
    host.callStack().insert(host.callStack().begin(), host.callStack().front());
    host.callStack().front().context = leaf;
    EXPECT_EQ(symbolsInvalidOpCode([&] { reg->debuggeeAddress(1); }), InvalidOp::RTRC_NotSupported);

    // Outside an expression request a register is no place.
    host.callStack().erase(host.callStack().begin());
    LocalsRepresentation locals(EvaluationEnvironment::languageCPP, mainContext, 0);
    locals.makeCurrent(mainContext);
    EXPECT_EQ(symbolsInvalidOpCode([&] { reg->debuggeeAddress(-1); }), InvalidOp::RTRC_NotSupported);
    env->makeCurrent(mainContext);
}

TEST_F(SymbolAddressTest, BoundAutomaticVariableSelectsTheInnermostFrameThatHoldsIt)
{
    host.addFrame(leaf, 0x7000);
    host.addFrame(mainContext, 0x8000);
    env->clearStackBase();
    ASSERT_EQ(env->frameIndex(), -1);

    // A negative frame offset whose high word the host left 0.
    _SYMBOL_ENTRY& p = inMain(records().automaticVariable("p", boundPointer(), -16));
    p.automatic.frameOffsetHigh = 0;
    SymbolItem* s = scope->findVariable("p", 1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(env->frameIndex(), 1);
    EXPECT_EQ(at(s->dataType().getSymbolLocation()), 0x7FF0u);
    EXPECT_EQ(at(s->debuggeeAddress(-1)), 0x7FF0u);
    EXPECT_NE(s->addressState(), SymbolItem::addressCached);
    EXPECT_FALSE(env->isStaticExpression());

    // A variable of a function that is on no frame has no address.
    env->clearStackBase();
    declare(other, records().automaticVariable("q", boundPointer(), 8));
    ScopeItem otherScope(other, ScopeItem::function);
    SymbolItem* q = otherScope.findVariable("q", 1);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(symbolsInvalidOpCode([&] { q->debuggeeAddress(-1); }), InvalidOp::RTRC_NotAllocated);
}

TEST_F(SymbolAddressTest, DwarfLocationStates)
{
    const TYPE_INDEX pointer = boundPointer();
    host.addFrame(mainContext, 0x8000);

    // An absolute location: found once and cached.
    inMain(records().dwarfVariable("abs", pointer, dwarf::Builder().addr(0x5000).bytes()));
    SymbolItem* a = scope->findVariable("abs", 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->addressState(), SymbolItem::addressCached);
    host.clearCalls();
    EXPECT_EQ(at(a->debuggeeAddress(-1)), 0x5000u);
    EXPECT_EQ(at(a->debuggeeAddress(-1)), 0x5000u);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeAbsDWARFaddress), 1u);

    // A frame-relative location that the top frame's context resolves:
    // recomputed against the top frame each time.
    mainContext->frameBase = 0x6000;
    inMain(records().dwarfVariable("top", pointer, dwarf::Builder().fbreg(-8).bytes()));
    SymbolItem* t = scope->findVariable("top", 1);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->addressState(), SymbolItem::addressRecomputed);
    EXPECT_EQ(at(t->dataType().getSymbolLocation()), 0x5FF8u);
    EXPECT_EQ(env->frameIndex(), -2);
    host.clearCalls();
    EXPECT_EQ(at(t->debuggeeAddress(-1)), 0x5FF8u);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeDWARFaddress), 1u);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeAbsDWARFaddress), 0u);

    // Neither absolute nor from the top frame's context: evaluated in the
    // selected frame, every time.
    mainContext->frameBase.reset();
    env->setEvaluationStackFrame(0, nullptr);
    inMain(records().dwarfVariable("frame", pointer, dwarf::Builder().fbreg(-8).bytes()));
    SymbolItem* f = scope->findVariable("frame", 1);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->addressState(), SymbolItem::addressFileRecord);
    EXPECT_EQ(env->frameIndex(), 0);
    host.clearCalls();
    EXPECT_EQ(at(f->debuggeeAddress(-1)), 0x7FF8u);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeAbsDWARFaddress), 0u);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeDWARFaddress), 1u);
}

TEST_F(SymbolAddressTest, BasedVariableLivesWherePointerPoints)
{
    host.addFrame(mainContext, 0x8000);
    inMain(records().staticVariable("ptr", records().pointerType(intType), 1, 0x300));
    host.memory().storeBigEndian(0x10300, 0xABC00, 8);
    inMain(records().automaticVariable("b", records().basedType("ptr"), 0));
    inMain(records().automaticVariable("lost", records().basedType("nowhere"), 0));

    SymbolItem* b = scope->findVariable("b", 1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(at(b->debuggeeAddress(-1)), 0xABC00u);
    // The pointer moved: the based variable follows.
    host.memory().storeBigEndian(0x10300, 0xDEF00, 8);
    EXPECT_EQ(at(b->debuggeeAddress(-1)), 0xDEF00u);

    SymbolItem* lost = scope->findVariable("lost", 1);
    ASSERT_NE(lost, nullptr);
    EXPECT_EQ(symbolsInvalidOpCode([&] { lost->debuggeeAddress(-1); }), InvalidOp::RTRC_NotAllocated);
}

TEST_F(SymbolAddressTest, SymbolMadeFromTypeIsFoundByNameOutward)
{
    // Missed in the function, found in the file with the outer flags.
    declare(unit, records().staticVariable("g", intType, 1, 0x80));
    auto* g = new SymbolItem(TypeItem(intType), *scope, "g", false);
    scope->addSymbol(*g);
    host.failSlot(HS_ExprSearchForSymbolEntry, 8, 1);
    EXPECT_EQ(at(g->debuggeeAddress(-1)), 0x10080u);
    std::vector<TestHost::Call> calls = host.callsTo(HS_ExprSearchForSymbolEntry);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[0].arguments.find("ctx=main name=g caseSensitive=1 symbolsToSearch=0x1025e"), std::string::npos);
    EXPECT_NE(calls[1].arguments.find("ctx=unit name=g caseSensitive=1 symbolsToSearch=0x10216"), std::string::npos);
    const char* entryName = g->entry()->header.name;
    EXPECT_STREQ(entryName, "g");

    // Nowhere: InvalidOp RTRC_InvalidSymbol.
    auto* none = new SymbolItem(TypeItem(intType), *scope, "none", false);
    scope->addSymbol(*none);
    EXPECT_EQ(symbolsInvalidOpCode([&] { none->debuggeeAddress(-1); }), InvalidOp::RTRC_InvalidSymbol);
}

TEST_F(SymbolAddressTest, StaticMemberIsFoundUnderItsStorageName)
{
    declare(unit, records().staticVariable("K::count", intType, 1, 0x500));
    HostRecordStore::ClassSpec layout;
    layout.name = "K";
    layout.byteSize = 8;
    layout.members = {{"count", intType, 0, true, "K::count"}, {"blank", intType, 0, true, ""}, {"x", intType, 4}};
    TypeItem k(records().classType(layout));
    ClassScopeItem* ks = ClassScopeItem::getClassScope(k, scope, true);
    ASSERT_NE(ks, nullptr);

    SymbolItem* count = ks->findVariable("count", 1);
    ASSERT_NE(count, nullptr);
    host.clearCalls();
    EXPECT_EQ(at(count->debuggeeAddress(-1)), 0x10500u);
    std::vector<TestHost::Call> calls = host.callsTo(HS_ExprSearchForSymbolEntry);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].arguments.find("name=K::count caseSensitive=1 symbolsToSearch=0x210"), std::string::npos);

    SymbolItem* blank = ks->findVariable("blank", 1);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(symbolsInvalidOpCode([&] { blank->debuggeeAddress(-1); }), InvalidOp::RTRC_Other);

    // An ordinary data member has an offset, not an address of its own.
    SymbolItem* x = ks->findVariable("x", 1);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->getMemberOffset(), 4);
}

TEST_F(SymbolAddressTest, MemberPlacedByLocationExpression)
{
    HostRecordStore::ClassSpec layout;
    layout.name = "V";
    layout.members = {{"v", intType, 0, false, "", dwarf::Builder().lit(12).bytes()}};
    ClassScopeItem* vs = ClassScopeItem::getClassScope(TypeItem(records().classType(layout)), scope, true);
    ASSERT_NE(vs, nullptr);
    SymbolItem* v = vs->findVariable("v", 1);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->getMemberOffset(), 12);
    EXPECT_EQ(at(v->debuggeeAddress(-1)), 12u);
}

TEST_F(SymbolAddressTest, IncompleteAndUnsupportedEntries)
{
    _SYMBOL_ENTRY& s = inMain(records().staticVariable("half", intType, 1, 0));
    s.header.flags |= SE_Incomplete;
    SymbolItem* half = scope->findVariable("half", 1);
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(symbolsInvalidOpCode([&] { half->debuggeeAddress(-1); }), InvalidOp::RTRC_IncompleteSymbol);

    inMain(records().constant("k", intType, nullptr));
    SymbolItem* k = scope->findVariable("k", 1);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(symbolsInvalidOpCode([&] { k->debuggeeAddress(-1); }), InvalidOp::RTRC_NotSupported);
}

class CobolSymbolAddressTest : public CobolSymbolsTest {};

TEST_F(CobolSymbolAddressTest, FileRecordIsNeverReused)
{
    struct Case {
        bool marked;
        UBYTE1 openState;
        int first; // InvalidOp code of the first evaluation (0: an address)
    } cases[] = {
        {true, 1, 0},
        {true, 0, InvalidOp::RTRC_ReadMemoryFailed},
        {false, 0, 0},
    };
    unsigned n = 0;
    for (const Case& c : cases) {
        const std::string file = "FILE" + std::to_string(n);
        const std::string record = "REC" + std::to_string(n);
        const UBYTE8 fileOffset = 0x100 + n * 0x100;
        ++n;
        _SYMBOL_ENTRY& fd =
            declare(mainContext, records().staticVariable(file, records().fileDescriptorType(file), 1, fileOffset));
        _SYMBOL_ENTRY& rec = declare(mainContext, records().staticVariable(record, intType, 1, fileOffset + 0x80));
        rec.statics.owner = &fd;
        FILE_INFORMATION info{};
        if (c.marked)
            std::memcpy(info.marker, kFileInformationMarker, sizeof info.marker);
        info.openState = c.openState;
        host.setFileInformation(0x10000 + fileOffset, info);

        SymbolItem* r = scope->findVariable(record.c_str(), 1);
        ASSERT_NE(r, nullptr);
        ASSERT_NE(r->ownerSymbol(), nullptr);
        if (c.first != 0) {
            EXPECT_EQ(symbolsInvalidOpCode([&] { r->debuggeeAddress(-1); }), c.first);
            continue;
        }
        EXPECT_EQ(at(r->debuggeeAddress(-1)), 0x10000 + fileOffset + 0x80);
        EXPECT_EQ(r->addressState(), SymbolItem::addressFileRecord);
        EXPECT_EQ(symbolsInvalidOpCode([&] { r->debuggeeAddress(-1); }), InvalidOp::RTRC_ForceRebuildExpr);
    }
}

TEST_F(CobolSymbolAddressTest, AutomaticOffsetIsTheAddress)
{
    _SYMBOL_ENTRY& e = declare(mainContext, records().automaticVariable("W", records().pointerType(intType), 0x40));
    (void)e;
    SymbolItem* w = scope->findVariable("W", 1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(at(w->debuggeeAddress(-1)), 0x40u);
    EXPECT_EQ(host.callCount(HS_Expr2GetCallStackEntry), 0u);
}

class LocalSymbolTest : public SymbolAddressTest {};

TEST_F(LocalSymbolTest, KindsOfLocalSymbols)
{
    TestHost::Register r;
    r.name = "R5";
    r.id = 5;
    host.addRegister(r);
    host.addFrame(mainContext, 0x8000);
    host.addFrame(leaf, 0x9000);
    _SYMBOL_ENTRY& a = inMain(records().automaticVariable("a", intType, -8));
    _SYMBOL_ENTRY& z = declare(other, records().automaticVariable("z", intType, 8));
    _SYMBOL_ENTRY& reg = inMain(records().registerVariable("r", intType, "R5"));
    _SYMBOL_ENTRY& s = inMain(records().staticVariable("s", intType, 1, 0x40));
    s.statics.displayName = records().text("shown s");

    // Outside the locals view a locals symbol has no address.
    auto* outside = new LocalSymbolItem(a, *scope, 0);
    scope->addSymbol(*outside);
    EXPECT_EQ(symbolsInvalidOpCode([&] { outside->debuggeeAddress(-1); }), InvalidOp::RTRC_NotSupported);

    LocalsRepresentation locals(EvaluationEnvironment::languageCPP, mainContext, 0);
    ScopeItem* view = locals.initializeAndMakeCurrent(mainContext);
    locals.setEvaluationStackFrame(0, nullptr);
    auto make = [&](_SYMBOL_ENTRY& entry) {
        auto* symbol = new LocalSymbolItem(entry, *view, 0);
        view->addSymbol(*symbol);
        return symbol;
    };
    LocalSymbolItem* la = make(a);
    LocalSymbolItem* lz = make(z);
    LocalSymbolItem* lr = make(reg);
    LocalSymbolItem* ls = make(s);
    EXPECT_STREQ(ls->name(), "shown s");

    EXPECT_EQ(at(la->debuggeeAddress(-1)), 0x7FF8u);
    EXPECT_EQ(la->addressKind(), LocalSymbolItem::frameOffset);
    EXPECT_EQ(symbolsInvalidOpCode([&] { lz->debuggeeAddress(-1); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(lz->addressKind(), LocalSymbolItem::beingClassified);
    ASSERT_NE(lr->debuggeeAddress(-1).registerTarget(), nullptr);
    EXPECT_EQ(lr->addressKind(), LocalSymbolItem::inRegister);
    EXPECT_EQ(at(ls->debuggeeAddress(-1)), 0x10040u);
    EXPECT_EQ(ls->addressKind(), LocalSymbolItem::general);

    // Another frame: no register, and the frame offset follows the frame.
    locals.setEvaluationStackFrame(1, nullptr);
    EXPECT_EQ(symbolsInvalidOpCode([&] { lr->debuggeeAddress(-1); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(at(la->debuggeeAddress(-1)), 0x8FF8u);
    env->makeCurrent(mainContext);
}

} // namespace
