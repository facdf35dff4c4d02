#include <string>

#include "LocalsFixture.h"
#include "api/LocalVariableStdSym.h"
#include "services/InvalidOp.h"
#include "tree/RootTreeNode.h"
#include "types/LocalSymbolItem.h"
#include "types/ScopeItem.h"
#include "testhost/DwarfExpression.h"

// What the host learns from a refresh: changed, unchanged, rebuild; the
// value items it holds stay the same objects until the view is freed.

namespace {

class LocalsChangeTest : public LocalsFixture {};

} // namespace

TEST_F(LocalsChangeTest, ChangeStatesAcrossRefreshes)
{
    staticInt(*block, "n", 0x10);
    staticInt(*block, "m", 0x14);
    storeInt(0x10, 5);
    storeInt(0x14, 6);
    LocalsRepresentation* view = build(block);
    ASSERT_NE(view, nullptr);

    // Built, not yet read: every variable reports a change.
    StackItem* n = nullptr;
    EXPECT_EQ(status(view, "n", &n), statusLocalChanged);
    EXPECT_EQ(status(view, "m"), statusLocalChanged);
    // The first refresh reads them: changed again.
    DbgRefreshLocalVariableFrame(view, block, 0);
    StackItem* held = nullptr;
    EXPECT_EQ(status(view, "n", &held), statusLocalChanged);
    EXPECT_EQ(held, n);
    EXPECT_EQ(number(n), 5u);
    // Nothing changed: unchanged.
    DbgRefreshLocalVariables(view, block);
    EXPECT_EQ(status(view, "n"), statusLocalUnchanged);
    EXPECT_EQ(status(view, "m"), statusLocalUnchanged);
    // n's bytes change: changed once, then unchanged; the item is the same.
    storeInt(0x10, 50);
    DbgRefreshLocalVariableFrame(view, block, 0);
    EXPECT_EQ(status(view, "n", &held), statusLocalChanged);
    EXPECT_EQ(status(view, "m"), statusLocalUnchanged);
    EXPECT_EQ(held, n);
    EXPECT_EQ(number(n), 50u);
    DbgRefreshLocalVariableFrame(view, block, 0);
    EXPECT_EQ(status(view, "n"), statusLocalUnchanged);

    // A variable that cannot be read reports a change, and so does its
    // first good read after.
    host.failSlot(HS_Expr2ReadMemory, 1, TestHost::Always);
    DbgRefreshLocalVariableFrame(view, block, 0);
    EXPECT_EQ(status(view, "n"), statusLocalChanged);
    EXPECT_EQ(status(view, "m"), statusLocalChanged);
    host.clearProgram();
    DbgRefreshLocalVariableFrame(view, block, 0);
    EXPECT_EQ(status(view, "n"), statusLocalChanged);
    DbgRefreshLocalVariableFrame(view, block, 0);
    EXPECT_EQ(status(view, "n"), statusLocalUnchanged);
}

TEST_F(LocalsChangeTest, ArgumentsAndIndexes)
{
    staticInt(*block, "n", 0x10);
    LocalsRepresentation* view = build(block);
    StackItem* value = nullptr;
    const UBYTE1* name = nullptr;
    EXPECT_EQ(DbgGetLocalValue(view, 1, &value), statusFailure);
    EXPECT_EQ(DbgGetLocalValue(view, 0, nullptr), statusFailure);
    EXPECT_EQ(DbgGetLocalValue(nullptr, 0, &value), statusFailure);
    EXPECT_EQ(DbgGetLocalVariable(view, 1, &name, &value), 0u);
    EXPECT_EQ(DbgGetLocalVariable(view, 0, nullptr, &value), 0u);
    EXPECT_EQ(DbgGetLocalVariable(view, 0, &name, nullptr), 0u);
    // The handle is the host's own symbol entry.
    const UBYTEP handle = DbgGetLocalVariable(view, 0, &name, &value);
    ASSERT_NE(handle, 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(reinterpret_cast<_SYMBOL_ENTRY*>(handle)->header.name), "n");

    // A null context stores a null view; a null out answers 0.
    LocalsRepresentation* none = view;
    EXPECT_EQ(DbgBuildLocalVariables(nullptr, 2, &none, 0), 0u);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(DbgBuildLocalVariables(block, 2, nullptr, 0), 0u);
    // Null views are ignored by the void entry points.
    DbgRefreshLocalVariableFrame(nullptr, block, 0);
    DbgRefreshLocalVariables(nullptr, block);
    DbgFreeLocalVariables(nullptr);

    // A build that fails keeps the view it stored.
    host.failSlot(HS_ExprGetSymbolEntries, 1, TestHost::Always);
    host.throwFromSlot(HS_ExprGetSymbolEntries);
    LocalsRepresentation* failed = nullptr;
    EXPECT_EQ(DbgBuildLocalVariables(block, 2, &failed, 0), 0u);
    EXPECT_NE(failed, nullptr);
    DbgFreeLocalVariables(failed);
}

TEST_F(LocalsChangeTest, Frame65535IsTheTopFrame)
{
    // Two frames of the block: n lives 8 bytes above each frame's base.
    host.callStack(block).clear();
    host.addFrame(block, 0x80000);
    host.addFrame(block, 0x90000);
    host.declare(*block, records().automaticVariable("n", intType, 8));
    host.memory().storeBigEndian(0x80008, 11, 4);
    host.memory().storeBigEndian(0x90008, 22, 4);
    LocalsRepresentation* view = build(block);
    StackItem* n = nullptr;
    DbgRefreshLocalVariableFrame(view, block, 1);
    ASSERT_EQ(status(view, "n", &n), statusLocalChanged);
    EXPECT_EQ(number(n), 22u);
    DbgRefreshLocalVariableFrame(view, block, 65535);
    ASSERT_EQ(status(view, "n", &n), statusLocalChanged);
    EXPECT_EQ(number(n), 11u);
}

TEST_F(LocalsChangeTest, AFortranPointerThatBecomesAssociatedAsksForARebuild)
{
    using dwarf::Builder;
    // The descriptor at 0x10080: the target's address, then the allocated
    // and associated words.
    HostRecordStore::FortranBlocks blocks;
    blocks.dataLocation = Builder().pushObjectAddress().derefSize(4).bytes();
    blocks.allocation = Builder().pushObjectAddress().plusUconst(4).derefSize(4).bytes();
    blocks.association = Builder().pushObjectAddress().plusUconst(8).derefSize(4).bytes();
    const TYPE_INDEX pointer = records().fortranPointerType(intType, blocks);
    LCC_Eval_Context_Info& sub = host.addContext("sub", CS2_FUNCTION, unit);
    sub.blockSymbol = &records().function("sub", records().functionType(intType, {}), 1, 0x200);
    host.callStack(&sub).clear();
    host.addFrame(&sub, frameBase);
    staticInt(sub, "p", 0x80, pointer);
    storeInt(0x80, 0x10090);
    storeInt(0x84, 1);
    storeInt(0x88, 0);
    storeInt(0x90, 42);

    LocalsRepresentation* view = build(&sub, 0, 11);
    ASSERT_NE(view, nullptr);
    DbgRefreshLocalVariableFrame(view, &sub, 0);
    DbgRefreshLocalVariableFrame(view, &sub, 0);
    // Not associated: read without failing, nothing to show.
    EXPECT_FALSE(view->variables()[0].failed());
    EXPECT_NE(status(view, "p"), statusValidateAgain);
    storeInt(0x88, 1);
    DbgRefreshLocalVariableFrame(view, &sub, 0);
    StackItem* p = nullptr;
    EXPECT_EQ(status(view, "p", &p), statusValidateAgain);
    // The host rebuilds its tree; the value then settles.
    for (int i = 0; i < 3; ++i)
        DbgRefreshLocalVariableFrame(view, &sub, 0);
    EXPECT_EQ(status(view, "p", &p), statusLocalUnchanged);
    EXPECT_EQ(number(p), 42u);
}

TEST_F(LocalsChangeTest, ExpressionNamesTheVariableHoldingAValue)
{
    staticInt(*block, "n", 0x10);
    staticInt(*block, "m", 0x14);
    LocalsRepresentation* view = build(block);
    StackItem* m = nullptr;
    status(view, "m", &m);
    view->makeCurrent(block);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->expression(m).data())), "m");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->expression(1).data())), "m");
    EXPECT_NE(view->lookupLocalSymbol("n"), nullptr);
    EXPECT_EQ(view->lookupLocalSymbol("k"), nullptr);
    try {
        view->expression(static_cast<StackItem*>(nullptr));
        ADD_FAILURE() << "no refusal";
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_AssertFail);
    }
}

TEST_F(LocalsChangeTest, AConstantIsReadOnceWhenItsVariableIsMade)
{
    static const std::int64_t seven = 7;
    _SYMBOL_ENTRY& entry = records().constant("SEVEN", intType, &seven);
    LocalsRepresentation view(2, block, 0);
    view.makeCurrent(block);
    ScopeItem* scope = view.initializeAndMakeCurrent(block);
    auto* symbol = new LocalSymbolItem(entry, *scope, 0);
    scope->addSymbol(*symbol);
    LocalVariableStdSym constant(*symbol);
    StackItem* value = constant.value();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->asSigned(), 7);
    view.setEvaluationStackFrame(0, nullptr);
    host.clearCalls();
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(constant.evaluate(0), value);
    EXPECT_EQ(value->asSigned(), 7);
    EXPECT_EQ(host.callCount(HS_Expr2ReadMemory), 0u);
}

TEST_F(LocalsChangeTest, AHeldRootOutlivesItsView)
{
    LocalsRepresentation* view = nullptr;
    StackItem* n = heldValueOfN(view);
    ASSERT_NE(n, nullptr);
    UpdateTreeNode* root = n->getTreeRoot();
    root->addReference(); // the host's
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(root->name().data())), "n");
    DbgFreeLocalVariables(view);
    // The host gives its node back after the view went.
    root->removeReference();
}

TEST_F(LocalsChangeTest, ACobolFrame)
{
    LCC_Eval_Context_Info& program = host.addContext("PROG", CS2_FUNCTION, unit);
    program.blockSymbol = &records().function("PROG", records().functionType(intType, {}), 1, 0x300);
    host.callStack(&program).clear();
    host.addFrame(&program, frameBase);
    staticInt(program, "WS-COUNT", 0xD0, records().packedDecimalType(5, 0, true));
    HostRecordStore::ClassSpec group;
    group.name = "WS-NAME";
    group.leaf = TE_GROUP;
    group.byteSize = 4;
    group.members = {{"WS-PART", records().charstringType(4), 0}};
    staticInt(program, "WS-NAME", 0xD4, records().classType(group));
    host.memory().store(sectionBase + 0xD0, {0x00, 0x12, 0x3C});
    host.memory().store(sectionBase + 0xD4, {0xC1, 0xC2, 0xC3, 0xC4});
    LocalsRepresentation* view = build(&program, 0, 6);
    ASSERT_EQ(names(view), (std::vector<std::string>{"WS-NAME", "WS-COUNT"}));
    DbgRefreshLocalVariableFrame(view, &program, 0);
    StackItem* count = nullptr;
    ASSERT_EQ(status(view, "WS-COUNT", &count), statusLocalChanged);
    EXPECT_EQ(count->size(), 3u);
    EXPECT_EQ(number(count), 0x00123Cu);
    StackItem* text = nullptr;
    ASSERT_EQ(status(view, "WS-NAME", &text), statusLocalChanged);
    EXPECT_EQ(number(text), 0xC1C2C3C4u);
    host.memory().store(sectionBase + 0xD0, {0x00, 0x45, 0x6D});
    DbgRefreshLocalVariableFrame(view, &program, 0);
    EXPECT_EQ(status(view, "WS-COUNT"), statusLocalChanged);
    DbgRefreshLocalVariableFrame(view, &program, 0);
    EXPECT_EQ(status(view, "WS-COUNT"), statusLocalUnchanged);
    // A group's tree may change shape: it is reported changed on every refresh.
    EXPECT_EQ(status(view, "WS-NAME"), statusLocalChanged);
}
