#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testseam/EnvironmentTestSeam.h"
#include "HostRecordAccess.h"
#include "services/CurrentEnvironmentQueries.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "testhost/DwarfExpression.h"
#include "testhost/TestHostFixture.h"

namespace {

// The InvalidOp code a call throws (0 when it returns).
int codeOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    return 0;
}

std::string textOf(const InvalidOp& e)
{
    ByteString utf8 = e.text().asUTF8();
    return std::string(reinterpret_cast<const char*>(utf8.data()), utf8.length());
}

EE_ADDR address64(UBYTE8 value)
{
    return EE_ADDR{64, static_cast<UBYTE4>(value), static_cast<UBYTE4>(value >> 32)};
}

class HostServiceTable : public TestHostFixture {
protected:
    void SetUp() override
    {
        TestHostFixture::SetUp();
        file = &host.addContext("prog", CS2_FILE);
        function = &host.addContext("main", CS2_FUNCTION, file);
        env() = CurrentEnvironment::State{};
        env().context = function;
    }
    void TearDown() override
    {
        env() = CurrentEnvironment::State{};
        TestHostFixture::TearDown();
    }
    static CurrentEnvironment::State& env() { return CurrentEnvironment::currentEnvironmentState(); }

    LCC_Eval_Context_Info* file = nullptr;
    LCC_Eval_Context_Info* function = nullptr;
};

// ---------------------------------------------------------------------------
// The table copy

TEST_F(HostServiceTable, ShortTableFillsOnlyItsSlotsAndTheCopyKeepsItsOwnSize)
{
    host.shortenTable(9);
    ASSERT_EQ(host.table().size, 10 * sizeof(void*));
    ASSERT_TRUE(host.install());
    EXPECT_EQ(SVC::callBacks()->size, sizeof(DBG2_SERVICE_FUNCTIONS));
    EXPECT_NE(SVC::callBacks()->Expr2MapSection, nullptr);   // slot 7
    EXPECT_EQ(SVC::callBacks()->Expr2ReadMemory, nullptr);   // slot 10
    EXPECT_EQ(SVC::callBacks()->Expr2TraceEnabled, nullptr); // slot 33

    host.addSection(3, 0x4000);
    EXPECT_EQ(SVC::Expr2MapSection(function, 3).addrLow, 0x4000u);
    unsigned char buffer[4];
    EXPECT_EQ(codeOf([&] { SVC::Expr2ReadMemory(function, address64(0x4000), 4, buffer); }),
              InvalidOp::RTRC_IntfRoutineFailed);
}

TEST_F(HostServiceTable, LongerTableIsCutAfterTheLastSlot)
{
    struct Longer {
        DBG2_SERVICE_FUNCTIONS table;
        void* extra[8];
    } longer{};
    longer.table = host.table();
    longer.table.size = sizeof longer;
    for (void*& p : longer.extra)
        p = reinterpret_cast<void*>(0x1);
    ASSERT_TRUE(SVC::InitializeServiceFunctions(&longer.table));
    EXPECT_EQ(SVC::callBacks()->size, sizeof(DBG2_SERVICE_FUNCTIONS));
    EXPECT_EQ(SVC::callBacks()->ExprGetFileInfo, host.table().ExprGetFileInfo);
}

TEST_F(HostServiceTable, SizeWordEndingInsideASlotCopiesNoHalfPointer)
{
    DBG2_SERVICE_FUNCTIONS table = host.table();
    table.size = 10 * sizeof(void*) + sizeof(void*) / 2; // slots 1-9 and half of slot 10
    ASSERT_TRUE(SVC::InitializeServiceFunctions(&table));
    EXPECT_NE(SVC::callBacks()->Expr2MapSection, nullptr);
    EXPECT_EQ(SVC::callBacks()->Expr2ReadMemory, nullptr);
}

TEST_F(HostServiceTable, NullSlotFailsBeforeAnythingElse)
{
    unsigned char buffer[8] = {};
    UBYTE2 type = 0, bits = 0;
    UBYTE4 word = 0;
    CALLSTACK_ITEM2 item{};
    _SYMBOL_ENTRY& symbol = host.records().staticVariable("x", TYPE_INDEX{0, 130}, 1, 0);
    UBYTE1 name[] = "x";
    const UBYTE1 loc[] = {dwarf::DW_OP_lit0};
    const LCC_Eval_Context_Info* out = nullptr;
    EE_ADDR addr = address64(0x10);
    List<ExprCallFunctionParm> parms;
    COMPILATION_SETTING_VALUE setting{};
    const struct {
        int slot;
        std::function<void()> call;
    } cases[] = {
        {HS_ExprGetTypeEntry,
         [&] {
             SVC::ExprGetTypeEntry(function, TYPE_INDEX{7, 1});
         }},
        {HS_ExprQueryRegisterId, [&] { SVC::ExprQueryRegisterId(function, name); }},
        {HS_ExprQueryRegisterInfo, [&] { SVC::ExprQueryRegisterInfo(function, 1, &type, &bits); }},
        {HS_ExprGetRegisterValue, [&] { SVC::ExprGetRegisterValue(function, 1, buffer); }},
        {HS_ExprSetRegisterValue, [&] { SVC::ExprSetRegisterValue(function, 1, buffer); }},
        {HS_Expr2MapSection, [&] { SVC::Expr2MapSection(function, 1); }},
        {HS_Expr2ReadMemory, [&] { SVC::Expr2ReadMemory(function, addr, 8, buffer); }},
        {HS_Expr2WriteMemory, [&] { SVC::Expr2WriteMemory(function, addr, 8, buffer); }},
        {HS_ExprGetContextLocationType, [&] { SVC::ExprGetContextLocationType(function); }},
        {HS_ExprGetContainingContextInfo, [&] { SVC::ExprGetContainingContextInfo(function, out); }},
        {HS_ExprGetNumCallStackItems, [&] { SVC::ExprGetNumCallStackItems(function); }},
        {HS_Expr2GetCallStackEntry, [&] { SVC::Expr2GetCallStackEntry(function, 0, &item); }},
        {HS_ExprSearchForSymbolEntry, [&] { SVC::ExprSearchForSymbolEntry(function, name, 1, 0); }},
        {HS_ExprGetBlockSymbol, [&] { SVC::ExprGetBlockSymbol(function); }},
        {HS_ExprSymbolEntryWithinContext, [&] { SVC::ExprSymbolEntryWithinContext(symbol, function); }},
        {HS_Expr2SearchForSymbolEntries, [&] { SVC::Expr2SearchForSymbolEntries(function, name, 1, 0); }},
        {HS_Expr2ComputeThreadStaticBase, [&] { SVC::Expr2ComputeThreadStaticBase(function); }},
        {HS_Expr2ComputeDWARFaddress, [&] { SVC::Expr2ComputeDWARFaddress(function, loc, 1); }},
        {HS_Expr2ComputeAbsDWARFaddress, [&] { SVC::Expr2ComputeAbsDWARFaddress(function, loc, 1); }},
        {HS_ExprGetSymbolEntries, [&] { SVC::ExprGetSymbolEntries(function, nullptr, 0); }},
        {HS_Expr2GetLinkAddress, [&] { SVC::Expr2GetLinkAddress(function, name, 1); }},
        {HS_ExprCallFunction, [&] { SVC::ExprCallFunction(function, "f", 0, 0, nullptr, parms); }},
        {HS_ExprGetContextType2, [&] { SVC::ExprGetContextType2(function); }},
        {HS_Expr2GetKeyAddress, [&] { SVC::Expr2GetKeyAddress(function, buffer, &addr); }},
        {HS_Expr2NativeStackIndex, [&] { SVC::Expr2NativeStackIndex(function, 0, &word); }},
        {HS_ExprGetContainedContexts, [&] { SVC::ExprGetContainedContexts(function, 0); }},
        {HS_ExprGetLinkName, [&] { SVC::ExprGetLinkName(function, addr, nullptr, nullptr, nullptr); }},
        {HS_Expr2GetTypeByName, [&] { SVC::Expr2GetTypeByName(function, "T", 0); }},
        {HS_ExprGetCompilationSettingValue, [&] { SVC::ExprGetCompilationSettingValue(function, 1, &setting); }},
        {HS_ExprGetPlaybackMode, [&] { SVC::ExprGetPlaybackMode(); }},
        {HS_ExprGetPathPoint, [&] { SVC::ExprGetPathPoint(&word); }},
        {HS_Expr2GetSessionId, [&] { SVC::Expr2GetSessionId(function, &word); }},
        {HS_ExprEbcdicConvert, [&] { SVC::ExprEbcdicConvert("A", 1, buffer, 8, nullptr, Conv_ToCodePage); }},
        {HS_ExprGetFileInfo, [&] { SVC::ExprGetFileInfo(function, addr, buffer, 8); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        TestHost fresh;
        fresh.clearSlot(c.slot);
        ASSERT_TRUE(fresh.install());
        std::memset(buffer, 0xAA, sizeof buffer);
        EXPECT_EQ(codeOf(c.call), InvalidOp::RTRC_IntfRoutineFailed);
        EXPECT_TRUE(fresh.calls().empty()) << fresh.calls().front().name;
        EXPECT_EQ(buffer[0], 0xAA);
    }
    host.install();
}

TEST_F(HostServiceTable, SlotsThatAnswerWithoutTheHost)
{
    for (int slot : {HS_debuggerVersion, HS_Expr2GetTopStackEntry, HS_ExprGetCodepage, HS_ExprGetRawDbgData})
        host.clearSlot(slot);
    ASSERT_TRUE(host.install());
    EXPECT_EQ(SVC::debuggerVersion()->version, 5);
    host.clearLines();
    EXPECT_TRUE(SVC::Expr2GetTopStackEntry(function));
    EXPECT_TRUE(host.traced("No test function - assuming isTOS = 1"));
    EXPECT_STREQ(SVC::ExprGetCodepage(function), "");
    UBYTE4 size = 99;
    EXPECT_EQ(SVC::ExprGetRawDbgData(function, &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(host.calls().empty());
}

// ---------------------------------------------------------------------------
// Return codes

TEST_F(HostServiceTable, ReturnCodeMapping)
{
    const struct {
        int rc;
        int code;
    } rows[] = {
        {2, InvalidOp::RTRC_BadContext},
        {16, InvalidOp::RTRC_CallFunctionInvalid},
        {17, InvalidOp::RTRC_CallFunctionInvalid},
        {18, InvalidOp::RTRC_CallBadParm},
        {20, InvalidOp::RTRC_CallFunctionTrap},
        {21, InvalidOp::RTRC_CallFunctionTimeout},
        {22, InvalidOp::RTRC_CallCatastrophe},
        {23, InvalidOp::RTRC_CallCatastrophe},
        {25, InvalidOp::RTRC_CallFunctionUserAbort},
        {26, InvalidOp::RTRC_SubscriptOutOfBounds},
        {1, InvalidOp::RTRC_IntfRoutineFailed},
        {3, InvalidOp::RTRC_IntfRoutineFailed},
        {19, InvalidOp::RTRC_IntfRoutineFailed},
        {24, InvalidOp::RTRC_IntfRoutineFailed},
        {27, InvalidOp::RTRC_IntfRoutineFailed},
        {-1, InvalidOp::RTRC_IntfRoutineFailed},
        {-2, InvalidOp::RTRC_IntfRoutineFailed},
        {-26, InvalidOp::RTRC_IntfRoutineFailed},
        {1000, InvalidOp::RTRC_IntfRoutineFailed},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rc);
        EXPECT_EQ(codeOf([&] { SVC::throwError(row.rc); }), row.code);
        // The same through a wrapper whose host answers the code.
        host.failSlot(HS_Expr2MapSection, row.rc);
        EXPECT_EQ(codeOf([&] { SVC::Expr2MapSection(function, 1); }), row.code);
    }
    EXPECT_EQ(codeOf([] { SVC::throwError(0); }), 0);
    EXPECT_EQ(codeOf([] { SVC::throwError(0, "f()", 1, "never %s", "traced"); }), 0);
    // Only the low 16 bits of the host's word are its return code.
    host.failSlot(HS_Expr2MapSection, 0x10000);
    EXPECT_EQ(codeOf([&] { SVC::Expr2MapSection(function, 1); }), 0);
}

TEST_F(HostServiceTable, ThrowErrorTraceLines)
{
    host.clearLines();
    try {
        SVC::throwError(18, "int Scope::find(int)", 77, "Symbol = \"%s\"", "abc");
        FAIL();
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_CallBadParm);
        EXPECT_STREQ(e.function(), "static void SVC::throwError(int)");
    }
    EXPECT_EQ(host.texts().front(), " int Scope::find(77): rc = 18; Symbol = \"abc\"");
    host.clearLines();
    EXPECT_THROW(SVC::throwError(-3, "g", 5), InvalidOp);
    EXPECT_EQ(host.texts().front(), " g(5): rc = -3");
}

TEST_F(HostServiceTable, Rc26IsSubscriptOutOfBoundsFromAnyWrapperButBadOdoFromAbsDwarfWithTextInCobol)
{
    const UBYTE1 loc[] = {dwarf::DW_OP_lit0 + 1};
    unsigned char buffer[4];
    UBYTE1 name[] = "r1";
    const struct {
        int slot;
        std::function<void()> call;
    } wrappers[] = {
        {HS_Expr2MapSection, [&] { SVC::Expr2MapSection(function, 1); }},
        {HS_Expr2ReadMemory, [&] { SVC::Expr2ReadMemory(function, address64(0), 4, buffer); }},
        {HS_ExprQueryRegisterId, [&] { SVC::ExprQueryRegisterId(function, name); }},
        {HS_ExprGetRegisterValue, [&] { SVC::ExprGetRegisterValue(function, 1, buffer); }},
        {HS_Expr2GetCallStackEntry, [&] { SVC::Expr2GetCallStackEntry(function, 0, nullptr); }},
        {HS_Expr2ComputeDWARFaddress, [&] { SVC::Expr2ComputeDWARFaddress(function, loc, 1); }},
        {HS_Expr2ComputeAbsDWARFaddress, [&] { SVC::Expr2ComputeAbsDWARFaddress(function, loc, 1); }},
        {HS_Expr2GetTypeByName, [&] { SVC::Expr2GetTypeByName(function, "T", 0); }},
    };
    for (bool cobol : {false, true}) {
        env().cobol = cobol;
        for (const auto& w : wrappers) {
            SCOPED_TRACE(w.slot);
            host.failSlot(w.slot, 26);
            EXPECT_EQ(codeOf(w.call), InvalidOp::RTRC_SubscriptOutOfBounds);
        }
    }

    env().cobol = false;
    host.failSlot(HS_Expr2ComputeAbsDWARFaddress, 26);
    EXPECT_EQ(codeOf([&] { SVC::Expr2ComputeAbsDWARFaddress(function, "ODO of X", loc, 1, nullptr); }),
              InvalidOp::RTRC_SubscriptOutOfBounds);

    env().cobol = true;
    host.failSlot(HS_Expr2ComputeAbsDWARFaddress, 26);
    try {
        SVC::Expr2ComputeAbsDWARFaddress(function, "ODO of X", loc, 1, nullptr);
        FAIL();
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_BadODOObjectValue);
        EXPECT_EQ(textOf(e), "ODO of X");
    }
    // Other codes with a text: the text is the trace message, written as it
    // stands (a percent sign in it is not a format).
    host.clearLines();
    host.failSlot(HS_Expr2ComputeAbsDWARFaddress, 9);
    EXPECT_EQ(codeOf([&] { SVC::Expr2ComputeAbsDWARFaddress(function, "100%s sure", loc, 1, nullptr); }),
              InvalidOp::RTRC_IntfRoutineFailed);
    EXPECT_TRUE(host.traced("rc = 9; 100%s sure"));
}

TEST_F(HostServiceTable, CallbackExceptionsPassThroughUnchanged)
{
    unsigned char buffer[4];
    host.throwFromSlot(HS_Expr2ReadMemory);
    EXPECT_THROW(SVC::Expr2ReadMemory(function, address64(0), 4, buffer), SimulatedHostError);
    host.throwFromSlot(HS_ExprGetTypeEntry);
    EXPECT_THROW(SVC::ExprGetTypeEntry(function, TYPE_INDEX{7, 1}), SimulatedHostError);
    host.throwFromSlot(HS_ExprGetCodepage);
    EXPECT_THROW(SVC::ExprGetCodepage(function), SimulatedHostError);
    // The version record is the one wrapper that never lets anything out.
    host.setVersion(DBG_VERSION_RECORD{9, 0, 1, {}});
    EXPECT_EQ(SVC::debuggerVersion()->addressForms, 1);
    host.throwFromSlot(HS_debuggerVersion);
    DBG_VERSION_RECORD* v = SVC::debuggerVersion();
    EXPECT_EQ(v->version, 5);
    EXPECT_EQ(v->addressForms, 0);
}

// ---------------------------------------------------------------------------
// Wrappers with their own rules

TEST_F(HostServiceTable, RegisterValueReturnsRc10And12)
{
    host.addRegister({"r1", 1, 1, 32, {0x78, 0x56, 0x34, 0x12}});
    UBYTE1 buffer[4] = {};
    EXPECT_EQ(SVC::ExprGetRegisterValue(function, 1, buffer), 0);
    EXPECT_EQ(buffer[3], 0x12);
    for (int rc : {10, 12}) {
        host.failSlot(HS_ExprGetRegisterValue, rc);
        EXPECT_EQ(SVC::ExprGetRegisterValue(function, 1, buffer), rc);
    }
    host.clearLines();
    host.failSlot(HS_ExprGetRegisterValue, 11);
    EXPECT_EQ(codeOf([&] { SVC::ExprGetRegisterValue(function, 1, buffer); }), InvalidOp::RTRC_IntfRoutineFailed);
    EXPECT_TRUE(host.traced("rc = 11; Register id = 1"));
}

TEST_F(HostServiceTable, TypeByNameAndTypeEntry)
{
    TYPE_INDEX t = host.records().typedefType("T", TYPE_INDEX{0, 130});
    ASSERT_NE(SVC::Expr2GetTypeByName(function, "T", 0), nullptr);
    EXPECT_EQ(SVC::Expr2GetTypeByName(function, "Missing", 0), nullptr); // host rc 3
    host.failSlot(HS_Expr2GetTypeByName, 8);
    EXPECT_EQ(codeOf([&] { SVC::Expr2GetTypeByName(function, "T", 0); }), InvalidOp::RTRC_IntfRoutineFailed);

    EXPECT_EQ(SVC::ExprGetTypeEntry(function, TYPE_INDEX{0, 130}), nullptr);
    EXPECT_EQ(host.callCount(HS_ExprGetTypeEntry), 0u);
    const _TYPE_ENTRY* e = SVC::ExprGetTypeEntry(function, t);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(typeEntryName(*e), "T");

    // A host that cannot resolve an index, or fails, yields the placeholder.
    const _TYPE_ENTRY* placeholder = SVC::placeholderTypeEntry();
    EXPECT_EQ(SVC::ExprGetTypeEntry(function, TYPE_INDEX{HostRecordStore::kModule, 9999}), placeholder);
    host.failSlot(HS_ExprGetTypeEntry, 2);
    EXPECT_EQ(SVC::ExprGetTypeEntry(function, t), placeholder);
    EXPECT_EQ(placeholder->leaf, TE_TYPEDEF);
    EXPECT_TRUE(typeIndexEqual(placeholder->typedef_.aliasedType, TYPE_INDEX{0, 151}));
    EXPECT_STREQ(placeholder->typedef_.name, "");
    EXPECT_TRUE(host.traced("after ExprGetTypeEntry: "));
}

TEST_F(HostServiceTable, TopOfStackAnswers)
{
    host.addFrame(function, 0x8000);
    CALLSTACK_ITEM2 top{};
    host.clearLines();
    EXPECT_TRUE(SVC::Expr2GetTopStackEntry(function, &top));
    EXPECT_EQ(top.context, function);
    EXPECT_TRUE(host.traced("rc = 0; isTOS = 1"));
    EXPECT_FALSE(SVC::Expr2GetTopStackEntry(file));
    host.failSlot(HS_Expr2GetTopStackEntry, 5);
    EXPECT_FALSE(SVC::Expr2GetTopStackEntry(function));
    EXPECT_TRUE(host.traced("rc = 5; isTOS = 0"));
}

TEST_F(HostServiceTable, CodepageAnswers)
{
    EXPECT_STREQ(SVC::ExprGetCodepage(function), "");
    function->codePage = "QUV-0037";
    EXPECT_STREQ(SVC::ExprGetCodepage(function), "QUV-0037");
    EXPECT_STREQ(SVC::ExprGetCodepage(nullptr), ""); // the host answers null
}

TEST_F(HostServiceTable, FileInformationResults)
{
    FILE_INFORMATION info{};
    std::memcpy(info.marker, kFileInformationMarker, sizeof info.marker);
    info.openState = 1;
    host.setFileInformation(0x500, info);
    FILE_INFORMATION out{};
    SVC::ExprGetFileInfo(function, address64(0x500), &out, sizeof out);
    EXPECT_EQ(out.openState, 1);

    const struct {
        int result;
        const char* message;
    } rows[] = {
        {-1, "rc = -1; Invalid FIB"},
        {-2, "rc = -2; Invalid FCB at address = 0x0000000000000500"},
        {-3, "rc = -3; Buffer size 64 is too small"},
        {-9, "rc = -9; Error getting file info"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.result);
        host.clearLines();
        host.failSlot(HS_ExprGetFileInfo, row.result);
        EXPECT_EQ(codeOf([&] { SVC::ExprGetFileInfo(function, address64(0x500), &out, sizeof out); }),
                  InvalidOp::RTRC_IntfRoutineFailed);
        EXPECT_TRUE(host.traced(row.message));
    }
    host.failSlot(HS_ExprGetFileInfo, 12); // a positive answer is a success
    EXPECT_NO_THROW(SVC::ExprGetFileInfo(function, address64(0x500), &out, sizeof out));
}

TEST_F(HostServiceTable, WriteMemoryTraceAndFailureText)
{
    const unsigned char data[4] = {1, 2, 3, 4};
    host.clearLines();
    EXPECT_EQ(SVC::Expr2WriteMemory(function, address64(0x1000), 4, data), 4u);
    EXPECT_TRUE(host.traced("Write 4 bytes to location 0x0000000000001000; rc = 0"));
    EXPECT_EQ(host.memory().bigEndian(0x1000, 4), 0x01020304u);

    host.memory().markUnwritable(0x2000, 16);
    host.clearLines();
    EXPECT_EQ(codeOf([&] {
                  SVC::Expr2WriteMemory(function, EE_ADDR{32, 0x2000, 0}, 4, data);
              }),
              InvalidOp::RTRC_WriteMemoryFailed);
    EXPECT_TRUE(host.traced("Write 4 bytes to location 0x00002000; rc = 6"));
    EXPECT_TRUE(host.traced("rc = 6; Address = 0x00002000, Bytecount = 4.  Written = 0"));
}

TEST_F(HostServiceTable, SearchForSymbolEntry)
{
    _SYMBOL_ENTRY& x = host.declare(*file, host.records().staticVariable("x", TYPE_INDEX{0, 130}, 1, 0));
    UBYTE1 name[] = "x";
    UBYTE1 missing[] = "nothere";
    host.clearLines();
    EXPECT_EQ(SVC::ExprSearchForSymbolEntry(function, name, 1, 0x10), &x);
    EXPECT_EQ(SVC::ExprSearchForSymbolEntry(function, missing, 1, 0x10), nullptr);
    EXPECT_TRUE(host.traced("rc = 8"));
    SYMBOL_LIST* list = SVC::Expr2SearchForSymbolEntries(function, name, 1, 0);
    ASSERT_EQ(symbolListLength(list), 1u);
    EXPECT_EQ(symbolListEntry(list, 0), &x);
    EXPECT_EQ(SVC::Expr2SearchForSymbolEntries(function, missing, 1, 0), nullptr);
    host.clearLines();
    host.failSlot(HS_ExprSearchForSymbolEntry, 4);
    EXPECT_EQ(codeOf([&] { SVC::ExprSearchForSymbolEntry(function, name, 1, 0x10); }),
              InvalidOp::RTRC_IntfRoutineFailed);
    EXPECT_TRUE(host.traced("rc = 4; Symbol = \"x\".  Symbols to Search = 0x10"));

    EXPECT_FALSE(SVC::ExprSymbolEntryWithinContext(x, function)); // rc 8
    EXPECT_TRUE(SVC::ExprSymbolEntryWithinContext(x, file));
    host.failSlot(HS_ExprSymbolEntryWithinContext, 2);
    EXPECT_EQ(codeOf([&] { SVC::ExprSymbolEntryWithinContext(x, file); }), InvalidOp::RTRC_BadContext);
}

TEST_F(HostServiceTable, ContextQueries)
{
    const LCC_Eval_Context_Info* out = function;
    EXPECT_EQ(SVC::ExprGetContainingContextInfo(file, out), 0u);
    EXPECT_EQ(out, nullptr); // no containing context: null with rc 0
    EXPECT_EQ(SVC::ExprGetContainingContextInfo(function, out), UBYTE4(CS2_FILE));
    EXPECT_EQ(out, file);
    EXPECT_EQ(SVC::ExprGetContextType2(function), CS2_FUNCTION);

    function->locationType = 4;
    EXPECT_EQ(SVC::ExprGetContextLocationType(function), 4);
    // A failing host leaves a defined answer of 0; its code is ignored.
    host.failSlot(HS_ExprGetContextLocationType, 1);
    EXPECT_EQ(SVC::ExprGetContextLocationType(function), 0);
}

TEST_F(HostServiceTable, ContainedContextsRegrowPastFifty)
{
    for (int i = 0; i < 63; ++i)
        host.addContext("block" + std::to_string(i), CS2_BLOCK, function);
    host.addContext("other", CS2_FUNCTION, function);
    List<const LCC_Eval_Context_Info*> blocks = SVC::ExprGetContainedContexts(function, CS2_BLOCK);
    ASSERT_EQ(blocks.count(), 63u);
    EXPECT_EQ(blocks[0]->name, "block0");
    EXPECT_EQ(blocks[62]->name, "block62");
    std::vector<TestHost::Call> calls = host.callsTo(HS_ExprGetContainedContexts);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[0].arguments.find("capacity=50"), std::string::npos);
    EXPECT_NE(calls[1].arguments.find("capacity=63"), std::string::npos);
    EXPECT_EQ(SVC::ExprGetContainedContexts(file, CS2_BLOCK).count(), 0u);
}

TEST_F(HostServiceTable, CallFunctionInCobolRc17NamesTheFunction)
{
    List<ExprCallFunctionParm> parms;
    host.failSlot(HS_ExprCallFunction, 17);
    EXPECT_EQ(codeOf([&] { SVC::ExprCallFunction(function, "PROG1", 0, 0, nullptr, parms); }),
              InvalidOp::RTRC_CallFunctionInvalid);
    env().cobol = true;
    host.failSlot(HS_ExprCallFunction, 17);
    try {
        SVC::ExprCallFunction(function, "PROG1", 0, 0, nullptr, parms);
        FAIL();
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_CallFunctionInvalid);
        EXPECT_EQ(textOf(e), "PROG1");
    }
    host.failSlot(HS_ExprCallFunction, 21);
    EXPECT_EQ(codeOf([&] { SVC::ExprCallFunction(function, "PROG1", 0, 0, nullptr, parms); }),
              InvalidOp::RTRC_CallFunctionTimeout);
    // A null pointer as the runtime's "%p" writes it.
#if defined(_WIN32)
    const char* const nullText = "parms=0 at 00000000";
#else
    const char* const nullText = "parms=0 at (nil)";
#endif
    EXPECT_NE(host.callsTo(HS_ExprCallFunction).back().arguments.find(nullText), std::string::npos);
}

// ---------------------------------------------------------------------------
// Memory reads

TEST_F(HostServiceTable, ShortReadsAreZeroFilled)
{
    host.memory().store(0x100, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88});
    host.memory().markUnreadable(0x103, 5);
    unsigned char buffer[8];
    std::memset(buffer, 0xAA, sizeof buffer);
    host.clearLines();
    EXPECT_EQ(SVC::Expr2ReadMemory(function, address64(0x100), 8, buffer), 3u);
    const unsigned char expected[8] = {0x11, 0x22, 0x33, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(buffer, expected, 8), 0);
    EXPECT_TRUE(host.traced("Read 8 bytes from location 0x0000000000000100; rc = 6"));

    host.clearLines();
    EXPECT_EQ(codeOf([&] { SVC::Expr2ReadMemory(function, address64(0x103), 8, buffer); }),
              InvalidOp::RTRC_ReadMemoryFailed);
    EXPECT_TRUE(host.traced("Failed ERROR_InvalidNumBytes.  Address = 0x0000000000000103, Bytecount = 8"));

    host.failSlot(HS_Expr2ReadMemory, 5);
    host.clearLines();
    EXPECT_EQ(codeOf([&] {
                  SVC::Expr2ReadMemory(function, EE_ADDR{32, 0x100, 0}, 2, buffer);
              }),
              InvalidOp::RTRC_ReadMemoryFailed);
    EXPECT_TRUE(host.traced("rc = 5; Address = 0x00000100, Bytecount = 2"));
}

// A host that reports success after reading only part (and one that claims
// more than was asked).
UBYTE4 claimedBytes = 0;
int partialSuccess(EXPR_CTX, EE_ADDR, UBYTE4 count, void* buffer, UBYTE4* bytesRead)
{
    std::memset(buffer, 0x5A, count < 2 ? count : 2);
    *bytesRead = claimedBytes;
    return 0;
}

TEST_F(HostServiceTable, SuccessfulShortReadLeavesNoUndefinedTail)
{
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2ReadMemory, &partialSuccess);
    ASSERT_TRUE(host.install());
    unsigned char buffer[6];
    std::memset(buffer, 0xAA, sizeof buffer);
    claimedBytes = 2;
    EXPECT_EQ(SVC::Expr2ReadMemory(function, address64(0), 6, buffer), 2u);
    const unsigned char expected[6] = {0x5A, 0x5A, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(buffer, expected, 6), 0);
    claimedBytes = 100;
    EXPECT_EQ(SVC::Expr2ReadMemory(function, address64(0), 6, buffer), 6u);
}

// ---------------------------------------------------------------------------
// DWARF values

TEST_F(HostServiceTable, DwarfValueWidths)
{
    env().frame = 0;
    host.addFrame(function, 0x7000);
    std::vector<UBYTE1> minus16 = dwarf::Builder().const4u(0xFFFFFFF0u).bytes();
    function->locationType = 0; // a 32-bit program: 32-bit results, sign-extended
    EXPECT_EQ(SVC::GetDwarfValue(function, minus16.data(), UBYTE4(minus16.size())), -16);

    function->locationType = 4;
    std::vector<UBYTE1> big = dwarf::Builder().const8u(0x123456789ull).bytes();
    EXPECT_EQ(SVC::GetDwarfValue(function, big.data(), UBYTE4(big.size())), 0x123456789ll);
    EXPECT_EQ(SVC::GetDwarfValue(function, minus16.data(), UBYTE4(minus16.size())), 0xFFFFFFF0ll);

    host.setDwarfResultWidth(16);
    EXPECT_EQ(SVC::GetDwarfValue(function, big.data(), UBYTE4(big.size())), 0);
    host.setDwarfResultWidth(0);

    // A selected frame goes to slot 36 with that frame; the base argument is
    // the object address.
    std::vector<UBYTE1> frameRelative = dwarf::Builder().fbreg(-8).bytes();
    EXPECT_EQ(SVC::GetDwarfValue(function, frameRelative.data(), UBYTE4(frameRelative.size())), 0x6FF8);
    std::vector<UBYTE1> member = dwarf::Builder().pushObjectAddress().plusUconst(12).bytes();
    UBYTE8 object = 0x9000;
    EXPECT_EQ(SVC::GetDwarfValue(function, member.data(), UBYTE4(member.size()), &object), 0x900C);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeAbsDWARFaddress), 0u);
    EXPECT_NE(host.callsTo(HS_Expr2ComputeDWARFaddress).back().arguments.find("frame=0 base=0x9000/64"),
              std::string::npos);

    host.failSlot(HS_Expr2ComputeDWARFaddress, 3);
    EXPECT_EQ(codeOf([&] { SVC::GetDwarfValue(function, big.data(), UBYTE4(big.size())); }),
              InvalidOp::RTRC_IntfRoutineFailed);
}

TEST_F(HostServiceTable, DwarfValueRetriesOnceAgainstTheTopFrameOutsideCobol)
{
    LCC_Eval_Context_Info& callee = host.addContext("callee", CS2_FUNCTION, file);
    callee.frameBase = 0x5000;
    host.addFrame(&callee, 0x5000);
    std::vector<UBYTE1> frameRelative = dwarf::Builder().fbreg(16).bytes();

    env().frame = -1;
    EXPECT_EQ(SVC::GetDwarfValue(function, frameRelative.data(), UBYTE4(frameRelative.size())), 0x5010);
    EXPECT_EQ(env().frame, -2);
    ASSERT_EQ(host.callCount(HS_Expr2ComputeAbsDWARFaddress), 1u);
    std::vector<TestHost::Call> inFrame = host.callsTo(HS_Expr2ComputeDWARFaddress);
    ASSERT_EQ(inFrame.size(), 1u);
    EXPECT_NE(inFrame[0].arguments.find("ctx=callee"), std::string::npos);
    EXPECT_NE(inFrame[0].arguments.find("frame=-2"), std::string::npos);

    // No retry in COBOL: the absolute evaluation's failure is the answer.
    host.clearCalls();
    env().frame = -1;
    env().cobol = true;
    EXPECT_EQ(codeOf([&] { SVC::GetDwarfValue(function, frameRelative.data(), UBYTE4(frameRelative.size())); }),
              InvalidOp::RTRC_IntfRoutineFailed);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeDWARFaddress), 0u);
    EXPECT_EQ(env().frame, -1);

    // An absolute expression needs no retry.
    env().cobol = false;
    host.clearCalls();
    std::vector<UBYTE1> absolute = dwarf::Builder().addr(0x4444).bytes();
    EXPECT_EQ(SVC::GetDwarfValue(function, absolute.data(), UBYTE4(absolute.size())), 0x4444);
    EXPECT_EQ(host.callCount(HS_Expr2ComputeDWARFaddress), 0u);
}

TEST_F(HostServiceTable, AbsoluteDwarfAddressForms)
{
    std::vector<UBYTE1> bytes = dwarf::Builder().addr(0x1234).bytes();
    const DwarfBlock* block = host.records().dwarfBlock(bytes);
    EXPECT_EQ(SVC::Expr2ComputeAbsDWARFaddress(function, *block).addrLow, 0x1234u);
    DwarfLocation location{bytes.data(), UBYTE4(bytes.size())};
    EXPECT_EQ(SVC::Expr2ComputeAbsDWARFaddress(function, location).addrLow, 0x1234u);
    host.clearLines();
    host.failSlot(HS_Expr2ComputeAbsDWARFaddress, 7);
    EXPECT_EQ(codeOf([&] { SVC::Expr2ComputeAbsDWARFaddress(function, location); }), InvalidOp::RTRC_IntfRoutineFailed);
    EXPECT_TRUE(host.traced("rc = 7"));
}

// ---------------------------------------------------------------------------
// Code-page conversion through the wrapper

TEST_F(HostServiceTable, EbcdicConvertUsesTheRequestsCodePage)
{
    unsigned char ebcdic[4] = {};
    EXPECT_EQ(SVC::ExprEbcdicConvert("AB", 2, ebcdic, sizeof ebcdic, nullptr, Conv_ToCodePage), 2);
    EXPECT_EQ(ebcdic[0], 0xC1);
    EXPECT_EQ(ebcdic[1], 0xC2);
    std::string args = host.callsTo(HS_ExprEbcdicConvert).back().arguments;
    EXPECT_NE(args.find("ctx=main"), std::string::npos);
    EXPECT_NE(args.find("codePage=QUV-1047"), std::string::npos);

    char back[4] = {};
    EXPECT_EQ(SVC::ExprEbcdicConvert(ebcdic, 2, back, sizeof back, "QUV-1047", Conv_ToUtf8), 2);
    EXPECT_STREQ(back, "AB");

    // Page 37 puts '[' elsewhere than page 1047.
    env().codePage = "QUV-0037";
    unsigned char bracket = 0;
    SVC::ExprEbcdicConvert("[", 1, &bracket, 1, nullptr, Conv_ToCodePage);
    EXPECT_EQ(bracket, 0xBA);
    SVC::ExprEbcdicConvert("[", 1, &bracket, 1, "QUV-1047", Conv_ToCodePage);
    EXPECT_EQ(bracket, 0xAD);
}

} // namespace
