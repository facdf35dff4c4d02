// The simulated host on its own, as a program that loads libnorvexa.so uses
// it: this program links the host-only library and nothing of the
// evaluator, and drives the host's slots through the table it hands out.

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "testhost/TestHost.h"

namespace {

class HostOnly : public ::testing::Test {
protected:
    void SetUp() override { table = host.activate(); }

    TestHost host{false};
    DBG2_SERVICE_FUNCTIONS* table = nullptr;
};

const LCC_Eval_Context_Info* madeUp(std::uintptr_t n)
{
    return reinterpret_cast<const LCC_Eval_Context_Info*>(n);
}

TEST_F(HostOnly, HandlesItDidNotMakeAnswerFromTheUnknownContext)
{
    host.unknownContext().locationType = 4;
    host.unknownContext().codePage = "QUV-273";
    host.unknownContext().kind = CS2_BLOCK;
    for (const LCC_Eval_Context_Info* handle : {madeUp(0), madeUp(0x10), madeUp(0xDEADBEEF0)}) {
        SCOPED_TRACE(reinterpret_cast<std::uintptr_t>(handle));
        UBYTE2 type = 0;
        EXPECT_EQ(table->ExprGetContextLocationType(handle, &type), 0);
        EXPECT_EQ(type, 4);
        EXPECT_EQ(table->ExprGetContextType2(handle), CS2_BLOCK);
        EXPECT_STREQ(table->ExprGetCodepage(handle), "QUV-273");
        SYMBOL_ENTRY* block = reinterpret_cast<SYMBOL_ENTRY*>(1);
        EXPECT_EQ(table->ExprGetBlockSymbol(handle, &block), 0);
        EXPECT_EQ(block, nullptr);
        UBYTE1 name[] = "x";
        SYMBOL_ENTRY* entry = nullptr;
        EXPECT_EQ(table->ExprSearchForSymbolEntry(handle, name, 1, 0, &entry), 8);
    }
    std::vector<TestHost::Call> calls = host.callsTo(HS_ExprGetContextLocationType);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].arguments, "ctx=null");
    EXPECT_EQ(calls[1].arguments, "ctx=unknown");
}

TEST_F(HostOnly, EachProgramHasItsOwnCallStack)
{
    LCC_Eval_Context_Info& first = host.addContext("first", CS2_FILE);
    LCC_Eval_Context_Info& main1 = host.addContext("main1", CS2_FUNCTION, &first);
    LCC_Eval_Context_Info& second = host.addContext("second", CS2_FILE);
    LCC_Eval_Context_Info& main2 = host.addContext("main2", CS2_FUNCTION, &second);
    LCC_Eval_Context_Info& leaf2 = host.addContext("leaf2", CS2_FUNCTION, &second);
    host.addFrame(&main1, 0x1000);
    host.addFrame(&leaf2, 0x2000);
    host.addFrame(&main2, 0x2100);

    struct Case {
        const LCC_Eval_Context_Info* ask;
        UBYTE2 frames;
        UBYTE8 topBase;
        UBYTE1 isTop;
    };
    const Case cases[] = {
        {&main1, 1, 0x1000, 1},
        {&first, 1, 0x1000, 0},
        {&leaf2, 2, 0x2000, 1},
        {&main2, 2, 0x2000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ask->name);
        UBYTE2 count = 0;
        EXPECT_EQ(table->ExprGetNumCallStackItems(c.ask, &count), 0);
        EXPECT_EQ(count, c.frames);
        CALLSTACK_ITEM2 top{};
        EXPECT_EQ(table->Expr2GetCallStackEntry(c.ask, 0, &top), 0);
        EXPECT_EQ(top.stackBase.addrLow, c.topBase);
        EXPECT_EQ(table->Expr2GetCallStackEntry(c.ask, c.frames, &top), 1);
        UBYTE1 isTop = 9;
        EXPECT_EQ(table->Expr2GetTopStackEntry(c.ask, &isTop), 0);
        EXPECT_EQ(isTop, c.isTop);
    }
    // Without a program of its own a handle has the unknown context's stack.
    UBYTE2 count = 7;
    EXPECT_EQ(table->ExprGetNumCallStackItems(madeUp(0x10), &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(&host.callStack(), &host.callStack(&main1));
}

TEST_F(HostOnly, SymbolSearchHonoursTheWordsItIsGiven)
{
    LCC_Eval_Context_Info& file = host.addContext("file", CS2_FILE);
    LCC_Eval_Context_Info& fn = host.addContext("fn", CS2_FUNCTION, &file);
    LCC_Eval_Context_Info& fortran = host.addContext("fortran", CS2_FILE);
    LCC_Eval_Context_Info& sub = host.addContext("sub", CS2_FUNCTION, &fortran);
    fortran.caseInsensitive = true;
    TYPE_INDEX t = host.records().integerType(32, false);
    _SYMBOL_ENTRY& global = host.declare(file, host.records().staticVariable("Counter", t, 1, 0), 0x1);
    _SYMBOL_ENTRY& local = host.declare(fn, host.records().automaticVariable("Counter", t, 8), 0x2);
    _SYMBOL_ENTRY& plain = host.declare(fn, host.records().automaticVariable("plain", t, 16));
    _SYMBOL_ENTRY& total = host.declare(sub, host.records().automaticVariable("TOTAL", t, 8));

    struct Case {
        const char* what;
        int slot;
        const LCC_Eval_Context_Info* ctx;
        const char* name;
        UBYTE4 kind, symbolsToSearch;
        _SYMBOL_ENTRY* found; // null: rc 8
    };
    const Case cases[] = {
        {"innermost first", 18, &fn, "Counter", 1, 0, &local},
        {"classes select the outer one", 18, &fn, "Counter", 1, 0x1, &global},
        {"classes select the inner one", 18, &fn, "Counter", 1, 0x2, &local},
        {"no class matches", 18, &fn, "Counter", 1, 0x4, nullptr},
        {"undeclared classes match any", 18, &fn, "plain", 1, 0x4, &plain},
        {"exact case by default", 18, &fn, "counter", 1, 0, nullptr},
        {"the evaluator's case switch", 18, &fn, "counter", 0, 0x1, &global},
        {"a case-blind program", 18, &sub, "total", 1, 0, &total},
        {"slot 29: kind 0 is no case switch", 29, &fn, "counter", 0, 0, nullptr},
        {"slot 29: exact name", 29, &fn, "Counter", 0, 0x1, &global},
        {"slot 29: a case-blind program", 29, &sub, "Total", 0, 0, &total},
        {"slot 29: classes", 29, &fn, "Counter", 1, 0x4, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<UBYTE1> name(c.name, c.name + std::strlen(c.name) + 1);
        SYMBOL_ENTRY* found = nullptr;
        int rc;
        if (c.slot == 18) {
            rc = table->ExprSearchForSymbolEntry(c.ctx, name.data(), c.kind, c.symbolsToSearch, &found);
        } else {
            SYMBOL_LIST* list = nullptr;
            rc = table->Expr2SearchForSymbolEntries(c.ctx, name.data(), c.kind, c.symbolsToSearch, &list);
            if (rc == 0)
                found = list[0];
        }
        EXPECT_EQ(rc, c.found != nullptr ? 0 : 8);
        EXPECT_EQ(found, c.found);
    }
}

TEST_F(HostOnly, SlotsKeepTheModelWholeAcrossThreads)
{
    // Readers and writers of memory, registers and the type and symbol
    // records at once: every slot takes the model lock (ThreadSanitizer
    // shows any that does not).
    LCC_Eval_Context_Info& file = host.addContext("file", CS2_FILE);
    TYPE_INDEX t = host.records().integerType(32, false);
    host.declare(file, host.records().staticVariable("v", t, 1, 0));
    host.addRegister({"r1", 1, 1, 32, {1, 2, 3, 4}});
    host.memory().fill(0x1000, 64, 0);
    std::vector<std::thread> threads;
    for (int n = 0; n < 4; ++n)
        threads.emplace_back([&, n] {
            for (int i = 0; i < 200; ++i) {
                UBYTE1 bytes[4] = {UBYTE1(n), UBYTE1(i), 0, 0};
                UBYTE4 done = 0;
                EE_ADDR at{64, 0x1000u + 4u * unsigned(n), 0};
                EXPECT_EQ(table->Expr2WriteMemory(&file, at, 4, bytes, &done), 0);
                EXPECT_EQ(table->Expr2ReadMemory(&file, at, 4, bytes, &done), 0);
                EXPECT_EQ(table->ExprSetRegisterValue(&file, 1, bytes), 0);
                EXPECT_EQ(table->ExprGetRegisterValue(&file, 1, bytes), 0);
                TYPE_ENTRY* type = nullptr;
                EXPECT_EQ(table->ExprGetTypeEntry(&file, t.module, t.index, &type), 0);
                UBYTE1 name[] = "v";
                SYMBOL_LIST* list = nullptr;
                EXPECT_EQ(table->Expr2SearchForSymbolEntries(&file, name, 0, 0, &list), 0);
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(host.callCount(HS_Expr2WriteMemory), 800u);
}

} // namespace
