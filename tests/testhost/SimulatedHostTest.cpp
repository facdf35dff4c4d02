#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostRecordAccess.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "testhost/CodePageConverter.h"
#include "testhost/DwarfExpression.h"
#include "testhost/MemoryImage.h"
#include "testhost/TestHostFixture.h"

namespace {

// ---------------------------------------------------------------------------
// Memory image

TEST(MemoryImage, ReadsStopAtUnmappedOrUnreadableBytesAndWritesAtUnwritableOnes)
{
    MemoryImage m;
    m.storeBigEndian(0x100, 0x01020304, 4);
    m.store(0x104, {5, 6});
    m.markUnreadable(0x102, 1);
    m.markUnwritable(0x200, 2);

    unsigned char buffer[8] = {};
    EXPECT_EQ(m.read(0x100, 2, buffer), 2u);
    EXPECT_EQ(buffer[0], 0x01);
    EXPECT_EQ(buffer[1], 0x02);
    EXPECT_EQ(m.read(0x100, 6, buffer), 2u); // unreadable byte at 0x102
    EXPECT_EQ(m.read(0x103, 4, buffer), 3u); // nothing mapped at 0x106
    EXPECT_EQ(m.read(0x300, 1, buffer), 0u);

    const unsigned char data[4] = {9, 9, 9, 9};
    EXPECT_EQ(m.write(0x1FE, 4, data), 2u); // stops at 0x200
    EXPECT_TRUE(m.isMapped(0x1FF));
    EXPECT_FALSE(m.isMapped(0x200));
    EXPECT_EQ(m.bigEndian(0x100, 4), 0x01020304u); // inspection ignores read permission
    EXPECT_EQ(m.bigEndian(0xFFFFFFFFFFFFFFFFull, 1), 0u);
    m.store(0xFFFFFFFFFFFFFFFFull, {0xAB, 0xCD}); // wraps to address 0
    EXPECT_EQ(m.bigEndian(0, 1), 0xCDu);
}

// Stores that overlap, fill gaps between and run on from what is mapped
// read back as one memory: the blocks they are kept in do not show.
TEST(MemoryImage, OverlappingAndAdjacentStoresReadAsOne)
{
    MemoryImage m;
    m.fill(0x1000, 8, 0x11);
    m.fill(0x1010, 8, 0x22);
    m.store(0x1006, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}); // over both and the gap
    m.store(0x1018, {0x33});                                  // runs on from the second
    std::vector<std::uint8_t> all(26);
    ASSERT_EQ(m.read(0x1000, 26, all.data()), 25u); // 0x1019 is not mapped
    EXPECT_EQ(all, (std::vector<std::uint8_t>{0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 1,    2,    3,    4,    5,    6, 7, 8,
                                              9,    10,   11,   12,   0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x33, 0}));
    EXPECT_EQ(m.bytes(0x0FFE, 4), (std::vector<std::uint8_t>{0, 0, 0x11, 0x11}));
    // A large store is read back whole.
    std::vector<std::uint8_t> large(1u << 20);
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<std::uint8_t>(i * 7);
    m.store(0x200000, large);
    std::vector<std::uint8_t> back(large.size());
    EXPECT_EQ(m.read(0x200000, static_cast<std::uint32_t>(back.size()), back.data()), back.size());
    EXPECT_EQ(back, large);
    unsigned char nine = 9;
    EXPECT_EQ(m.write(0x200000 + 12345, 1, &nine), 1u);
    EXPECT_EQ(m.bigEndian(0x200000 + 12345, 1), 9u);
    EXPECT_EQ(m.bigEndian(0x200000 + 12346, 1), static_cast<std::uint8_t>(12346 * 7));
}

class SimulatedHost : public TestHostFixture {};

TEST_F(SimulatedHost, MemorySlotsAnswerPartialReadsAndWrites)
{
    host.memory().store(0x10, {1, 2, 3});
    host.memory().markUnwritable(0x22, 1);
    unsigned char buffer[4] = {};
    UBYTE4 count = 0;
    DBG2_SERVICE_FUNCTIONS& t = host.table();
    EXPECT_EQ(t.Expr2ReadMemory(nullptr, EE_ADDR{64, 0x10, 0}, 3, buffer, &count), 0);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(t.Expr2ReadMemory(nullptr, EE_ADDR{64, 0x10, 0}, 4, buffer, &count), 6);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(t.Expr2ReadMemory(nullptr, EE_ADDR{17, 0x10, 0}, 1, buffer, &count), 1); // bad width
    EXPECT_EQ(t.Expr2WriteMemory(nullptr, EE_ADDR{32, 0x20, 0}, 4, buffer, &count), 0);
    EXPECT_EQ(count, 2u); // a short write is reported by its count
    EXPECT_EQ(t.Expr2WriteMemory(nullptr, EE_ADDR{32, 0x22, 0}, 4, buffer, &count), 6);
    EXPECT_EQ(count, 0u);
}

// ---------------------------------------------------------------------------
// DWARF subset

TEST(DwarfSubset, Operations)
{
    MemoryImage m;
    m.storeBigEndian(0x1000, 0x0000000000002000ull, 8);
    m.storeBigEndian(0x2000, 0xFFFE, 2);
    m.storeBigEndian(0x3000, 0x00004000, 4);
    dwarf::Inputs in;
    in.memory = &m;
    in.frameBase = 0x8000;
    in.objectAddress = 0x9000;
    using dwarf::Builder;
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::uint64_t value;
    } rows[] = {
        {"addr", Builder().addr(0x123456789A).bytes(), 0x123456789Aull},
        {"const1u", Builder().const1u(200).bytes(), 200},
        {"const2s", Builder().const2s(-2).bytes(), std::uint64_t(-2)},
        {"const4s", Builder().const4s(-70000).bytes(), std::uint64_t(-70000)},
        {"const8u", Builder().const8u(0x8000000000000001ull).bytes(), 0x8000000000000001ull},
        {"constu", Builder().constU(300).bytes(), 300},
        {"consts", Builder().constS(-129).bytes(), std::uint64_t(-129)},
        {"lit", Builder().lit(0).lit(31).plus().bytes(), 31},
        {"fbreg", Builder().fbreg(-16).bytes(), 0x7FF0},
        {"object", Builder().pushObjectAddress().plusUconst(0x24).bytes(), 0x9024},
        {"deref", Builder().addr(0x1000).deref().bytes(), 0x2000},
        {"deref chain", Builder().addr(0x1000).deref().derefSize(2).bytes(), 0xFFFE},
        {"deref_size 4", Builder().constU(0x3000).derefSize(4).lit(4).plus().bytes(), 0x4004},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        dwarf::Result r = dwarf::evaluate(row.bytes.data(), std::uint32_t(row.bytes.size()), in);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.value, row.value);
    }

    in.addressSize = 4;
    std::vector<std::uint8_t> addr4 = Builder().addr(0x1234, 4).bytes();
    EXPECT_EQ(dwarf::evaluate(addr4.data(), 5, in).value, 0x1234u);

    dwarf::Inputs bare;
    bare.memory = &m;
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } failures[] = {
        {"underflow", Builder().lit(1).plus().bytes()},
        {"unsupported", Builder().op(0x96).bytes()},
        {"no frame base", Builder().fbreg(8).bytes()},
        {"no object", Builder().pushObjectAddress().bytes()},
        {"unreadable", Builder().addr(0x5000).deref().bytes()},
        {"truncated", {dwarf::DW_OP_const4u, 0, 1}},
        {"empty", {}},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        EXPECT_FALSE(dwarf::evaluate(f.bytes.data(), std::uint32_t(f.bytes.size()), bare).ok);
    }
}

// ---------------------------------------------------------------------------
// Code pages

TEST(CodePages, NamesAndConversions)
{
    EXPECT_EQ(codepage::iconvName("QUV-1047"), "CP1047");
    EXPECT_EQ(codepage::iconvName("QUV-0037"), "CP037");
    EXPECT_EQ(codepage::iconvName(nullptr), "CP1047");
    EXPECT_EQ(codepage::iconvName("nonsense"), "");
    EXPECT_EQ(codepage::iconvName("QUV-1200"), "UTF-16BE");

    unsigned char ebcdic[8] = {};
    ASSERT_EQ(codepage::convert("QUV-1047", 0, "AB", 2, ebcdic, sizeof ebcdic), 2);
    EXPECT_EQ(ebcdic[0], 0xC1);
    EXPECT_EQ(ebcdic[1], 0xC2);
    char utf8[8] = {};
    ASSERT_EQ(codepage::convert("1047", 2, ebcdic, 2, utf8, sizeof utf8), 2);
    EXPECT_STREQ(utf8, "AB");

    std::uint16_t utf16[4] = {};
    ASSERT_EQ(codepage::convert("1047", 1, ebcdic, 2, utf16, sizeof utf16), 4);
    EXPECT_EQ(utf16[0], u'A');
    EXPECT_EQ(utf16[1], u'B');

    wchar_t wide[4] = {L'x', L'x', L'x', L'x'};
    ASSERT_EQ(codepage::convert("1047", 3, ebcdic, 2, wide, 4), 3); // a terminator counted
    EXPECT_EQ(std::wcscmp(wide, L"AB"), 0);

    // Less room than needed: only the room is written, the whole need is answered.
    unsigned char small[1] = {0};
    EXPECT_EQ(codepage::convert("1047", 0, "ABC", 3, small, 1), 3);
    EXPECT_EQ(small[0], 0xC1);

    // Page 1200: big-endian UTF-16, a surrogate pair as one character.
    const unsigned char pair[4] = {0xD8, 0x3D, 0xDE, 0x00};
    ASSERT_EQ(codepage::convert("QUV-1200", 2, pair, 4, utf8, sizeof utf8), 4);
    EXPECT_EQ(std::string(utf8, 4), "\xF0\x9F\x98\x80");

    EXPECT_EQ(codepage::convert("QUV-99999", 0, "A", 1, small, 1), -1);
    EXPECT_EQ(codepage::convert("1047", 7, "A", 1, small, 1), -1);
}

TEST(CodePages, DbcsPagesShiftOutAndIn)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the Windows test host converts no DBCS page";
#endif
    // "A" then a Japanese character: mixed EBCDIC with SO ... SI around it.
    const char* text = "A\xE6\x97\xA5";
    unsigned char mixed[16] = {};
    std::int32_t n = codepage::convert("QUV-0939", 0, text, 4, mixed, sizeof mixed);
    ASSERT_EQ(n, 5);
    EXPECT_EQ(mixed[0], 0xC1);
    EXPECT_EQ(mixed[1], 0x0E);
    EXPECT_EQ(mixed[4], 0x0F);
    char back[16] = {};
    ASSERT_EQ(codepage::convert("QUV-0939", 2, mixed, 5, back, sizeof back), 4);
    EXPECT_STREQ(back, text);
}

// ---------------------------------------------------------------------------
// Records, contexts and the service slots

TEST_F(SimulatedHost, ClassRecordsReadThroughTheAccessors)
{
    HostRecordStore& r = host.records();
    TYPE_INDEX intType = r.integerType(32, false);
    TYPE_INDEX base = r.classType({.name = "Base", .byteSize = 4, .members = {{.name = "b", .type = intType}}});
    std::vector<UBYTE1> loc = dwarf::Builder().pushObjectAddress().plusUconst(8).bytes();
    TYPE_INDEX klass =
        r.classType({.name = "Derived",
                     .name2 = "ns::Derived",
                     .byteSize = 16,
                     .bases = {{.type = base, .offset = 0}},
                     .members = {{.name = "x", .type = intType, .offset = 4},
                                 {.name = "s", .type = intType, .isStatic = true, .storageName = "Derived::s"},
                                 {.name = "d", .type = intType, .location = loc}}});

    const _TYPE_ENTRY* e = SVC::ExprGetTypeEntry(nullptr, klass);
    ASSERT_EQ(typeEntryLeaf(*e), TE_CLASS);
    EXPECT_STREQ(typeEntryName(*e), "Derived");
    EXPECT_STREQ(classEntrySecondName(*e), "ns::Derived");
    EXPECT_EQ(classByteSize(e->klass), 16u);
    EXPECT_EQ(e->klass.memberCount, 4);
    EXPECT_EQ(SVC::Expr2GetTypeByName(nullptr, "Derived", 0), e);

    const _TYPE_ENTRY* list = SVC::ExprGetTypeEntry(nullptr, e->klass.fieldList);
    ASSERT_EQ(list->list.kind, UBYTE4(TE_LIST_TYPES));
    std::vector<const _TYPE_ENTRY*> fields;
    for (const TNtypeListNode* n = list->list.first.types; n != nullptr; n = n->next)
        fields.push_back(SVC::ExprGetTypeEntry(nullptr, n->type));
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0]->leaf, TE_BASECLASS);
    EXPECT_EQ(baseOffset(fields[0]->baseclass), 0u);
    EXPECT_EQ(memberOffset(fields[1]->member), 4u);
    EXPECT_STREQ(memberStorageName(fields[2]->member), "Derived::s");
    EXPECT_TRUE(memberIsStatic(fields[2]->member));
    DwarfLocation where = memberLocationExpression(fields[3]->member);
    ASSERT_EQ(where.length, loc.size());
    EXPECT_EQ(std::memcmp(where.bytes, loc.data(), loc.size()), 0);
    EXPECT_EQ(memberOffset(fields[3]->member), 0u);

    TYPE_INDEX color = r.enumType("color", intType, {{"red", 0}, {"blue", 7}});
    const _TYPE_ENTRY* en = SVC::ExprGetTypeEntry(nullptr, color);
    EXPECT_TRUE(typeIndexEqual(typeEntryInnerType(*en), intType));
    const _TYPE_ENTRY* enumerators = SVC::ExprGetTypeEntry(nullptr, en->enumeration.enumeratorList);
    const TNenumeratorNode* blue = enumerators->list.first.enumerators->next;
    EXPECT_STREQ(blue->name, "blue");
    EXPECT_EQ(enumeratorValue(*blue), 7u);

    TYPE_INDEX packed = r.packedDecimalType(5, -2, true);
    const _TYPE_ENTRY* p = SVC::ExprGetTypeEntry(nullptr, packed);
    EXPECT_EQ(p->packed.byteLength, 3);
    EXPECT_EQ(p->packed.decimalPlaces, 2);
}

TEST(HostRecordAccess, SymbolEntryFieldsByStorageCode)
{
    HostRecordStore r;
    TYPE_INDEX t{HostRecordStore::kModule, 1};
    _SYMBOL_ENTRY& st = r.staticVariable("s", t, 4, 0x100000010ull);
    EXPECT_EQ(symbolEntrySection(st), 4u);
    EXPECT_EQ(symbolEntryOffset(st), 0x100000010ull);
    EXPECT_TRUE(typeIndexEqual(symbolEntryType(st), t));
    EXPECT_STREQ(symbolEntryDisplayName(st), "s");

    _SYMBOL_ENTRY& fn = r.function("f", t, 2, 0x40);
    EXPECT_EQ(symbolEntryOffset(fn), 0x40u);
    EXPECT_STREQ(symbolEntryFunctionName(fn), "f");

    _SYMBOL_ENTRY& a = r.automaticVariable("a", t, -8);
    EXPECT_EQ(automaticFrameOffset(a), -8);
    a.automatic.frameOffsetHigh = 0; // the sign of the low word still spreads
    EXPECT_EQ(automaticFrameOffset(a), -8);
    EXPECT_TRUE(typeIndexEqual(symbolEntryType(a), t));

    std::vector<UBYTE1> loc = dwarf::Builder().fbreg(24).bytes();
    _SYMBOL_ENTRY& d = r.dwarfVariable("d", t, loc);
    EXPECT_EQ(symbolEntryLocation(d).length, loc.size());
    EXPECT_EQ(symbolEntryLocation(st).bytes, nullptr);

    _SYMBOL_ENTRY& tls = r.newSymbol(SE_THREAD_STATIC, "tls");
    tls.threadstatic.offsetLow = 8;
    tls.threadstatic.offsetHigh = 1;
    tls.threadstatic.type = t;
    EXPECT_EQ(symbolEntryOffset(tls), 0x100000008ull);
    EXPECT_TRUE(typeIndexEqual(symbolEntryType(r.newSymbol(5, "odd")), emptyTypeIndex()));

    _SYMBOL_ENTRY& reg = r.registerVariable("rv", t, "GPR3");
    EXPECT_STREQ(symbolEntryRegisterName(reg), "GPR3");
    EXPECT_EQ(symbolEntryRegisterName(st), nullptr);

    TNnameListNode negative{nullptr, 0xFFFFFFFCu, 0, nullptr};
    EXPECT_EQ(nameListOffset(negative), -4);
    negative.isUnsigned = 1;
    EXPECT_EQ(nameListOffset(negative), 0xFFFFFFFCll);
}

TEST_F(SimulatedHost, SymbolSearchLooksOutwardAndFortranIgnoresCase)
{
    LCC_Eval_Context_Info& file = host.addContext("file", CS2_FILE);
    LCC_Eval_Context_Info& fn = host.addContext("fn", CS2_FUNCTION, &file);
    TYPE_INDEX t = host.records().integerType(32, false);
    _SYMBOL_ENTRY& global = host.declare(file, host.records().staticVariable("Counter", t, 1, 0));
    _SYMBOL_ENTRY& local = host.declare(fn, host.records().automaticVariable("i", t, 8));
    UBYTE1 counter[] = "counter";
    UBYTE1 exact[] = "Counter";
    UBYTE1 i[] = "i";
    EXPECT_EQ(SVC::ExprSearchForSymbolEntry(&fn, i, 1, 0), &local);
    EXPECT_EQ(SVC::ExprSearchForSymbolEntry(&fn, exact, 1, 0), &global);
    EXPECT_EQ(SVC::ExprSearchForSymbolEntry(&fn, counter, 1, 0), nullptr);
    EXPECT_EQ(SVC::ExprSearchForSymbolEntry(&fn, counter, 0, 0), &global);
    EXPECT_EQ(SVC::ExprSearchForSymbolEntry(&file, i, 1, 0), nullptr);

    std::vector<TestHost::Call> calls = host.callsTo(HS_ExprSearchForSymbolEntry);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3].arguments, "ctx=fn name=counter caseSensitive=0 symbolsToSearch=0x0");

    SYMBOL_ENTRY* all[4] = {};
    EXPECT_EQ(SVC::ExprGetSymbolEntries(&fn, all, 4), 1u);
    EXPECT_EQ(all[0], &local);
}

TEST_F(SimulatedHost, ProgrammedAnswersOnceNTimesAndAlways)
{
    host.addSection(1, 0x100);
    LCC_Eval_Context_Info& c = host.addContext("c", CS2_FILE);
    auto code = [&] {
        try {
            SVC::Expr2MapSection(&c, 1);
        } catch (const InvalidOp& e) {
            return int(e.code());
        }
        return 0;
    };
    host.failSlot(HS_Expr2MapSection, 2);
    EXPECT_EQ(code(), InvalidOp::RTRC_BadContext);
    EXPECT_EQ(code(), 0);
    host.failSlot(HS_Expr2MapSection, -1, 2);
    EXPECT_EQ(code(), InvalidOp::RTRC_IntfRoutineFailed);
    EXPECT_EQ(code(), InvalidOp::RTRC_IntfRoutineFailed);
    EXPECT_EQ(code(), 0);
    host.failSlot(HS_Expr2MapSection, 21, TestHost::Always);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(code(), InvalidOp::RTRC_CallFunctionTimeout);
    host.clearProgram();
    EXPECT_EQ(code(), 0);
    host.throwFromSlot(HS_Expr2MapSection, 1);
    EXPECT_THROW(code(), SimulatedHostError);
    EXPECT_EQ(code(), 0);
    EXPECT_EQ(host.callCount(HS_Expr2MapSection), 12u);
    EXPECT_EQ(host.callsTo(HS_Expr2MapSection).front().arguments, "ctx=c section=1");
}

TEST_F(SimulatedHost, RegistersCallStackAndSettings)
{
    LCC_Eval_Context_Info& c = host.addContext("c", CS2_FUNCTION);
    host.addRegister({"GPR1", 11, 1, 32, {0x04, 0x03, 0x02, 0x01}});
    UBYTE1 name[] = "gpr1";
    UBYTEP id = SVC::ExprQueryRegisterId(&c, name);
    EXPECT_EQ(id, 11u);
    UBYTE2 type = 0, bits = 0;
    SVC::ExprQueryRegisterInfo(&c, id, &type, &bits);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(bits, 32);
    const UBYTE1 value[4] = {0xAA, 0xBB, 0xCC, 0xDD};
    SVC::ExprSetRegisterValue(&c, id, value);
    UBYTE1 back[4] = {};
    EXPECT_EQ(SVC::ExprGetRegisterValue(&c, id, back), 0);
    EXPECT_EQ(std::memcmp(back, value, 4), 0);
    UBYTE1 unknown[] = "NOPE";
    EXPECT_THROW(SVC::ExprQueryRegisterId(&c, unknown), InvalidOp);

    host.addFrame(&c, 0x7FF0);
    EXPECT_EQ(SVC::ExprGetNumCallStackItems(&c), 1);
    CALLSTACK_ITEM2 item{};
    SVC::Expr2GetCallStackEntry(&c, 0, &item);
    EXPECT_EQ(callStackContext(item), &c);
    EXPECT_EQ(callStackBase(item).addrLow, 0x7FF0u);
    EXPECT_THROW(SVC::Expr2GetCallStackEntry(&c, 1, &item), InvalidOp);

    host.setCompilationSetting(3, 1);
    COMPILATION_SETTING_VALUE v{};
    EXPECT_TRUE(SVC::ExprGetCompilationSettingValue(&c, 3, &v));
    EXPECT_EQ(v.value, 1);
    EXPECT_FALSE(SVC::ExprGetCompilationSettingValue(&c, 4, &v));
    host.setPlaybackMode(true);
    EXPECT_TRUE(SVC::ExprGetPlaybackMode());
}

} // namespace
