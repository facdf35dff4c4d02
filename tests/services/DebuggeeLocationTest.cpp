// Locations of values: copies, comparisons, texts, access and dereferencing
// for every kind, and the refused fat pointers.

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testhost/inprocess/ContextFixtures.h"
#include "services/DebuggeeLocation.h"
#include "services/ExpressionRepresentation.h"
#include "services/FatPtr.h"
#include "services/InvalidOp.h"
#include "services/Register.h"
#include "types/TypeItem.h"

namespace {

using LocationTest = CurrentContextTest;

} // namespace

TEST_F(LocationTest, CopiesShareBuffersAndDuplicateOwnedTargets)
{
    unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    DebuggeeLocation buffer;
    buffer = static_cast<void*>(bytes);
    {
        DebuggeeLocation copy(buffer);
        EXPECT_EQ(copy.kind(), DebuggeeLocation::debuggerBuffer);
        EXPECT_EQ(copy.buffer(), bytes);
        copy.clear();
        EXPECT_EQ(copy.kind(), DebuggeeLocation::none);
    }
    EXPECT_EQ(buffer.buffer(), bytes);
    unsigned char out[4];
    EXPECT_EQ(buffer.read(out, 4), 4u);
    EXPECT_EQ(out[3], 4);

    DebuggeeLocation memory(DebuggeeAddress(std::uint32_t(0x1000)));
    DebuggeeLocation stepped(memory);
    stepped.increment(8);
    EXPECT_EQ(memory.address().addr(), 0x1000u);
    EXPECT_EQ(stepped.address().addr(), 0x1008u);
    stepped = memory;
    EXPECT_FALSE(stepped != memory);
    const DebuggeeLocation& itself = stepped;
    stepped = itself; // self-assignment keeps the target
    EXPECT_EQ(stepped.address().addr(), 0x1000u);

    DebuggeeLocation reg(5ul);
    DebuggeeLocation regCopy;
    regCopy = reg;
    reg.clear();
    ASSERT_NE(regCopy.registerTarget(), nullptr);
    EXPECT_EQ(regCopy.registerTarget()->registerId(), 5u);

    // An invalid address makes no memory location.
    DebuggeeLocation invalid(DebuggeeAddress{});
    EXPECT_EQ(invalid.kind(), DebuggeeLocation::none);
    memory = DebuggeeAddress{};
    EXPECT_EQ(memory.kind(), DebuggeeLocation::none);
}

TEST_F(LocationTest, Comparison)
{
    DebuggeeLocation a32(DebuggeeAddress(std::uint32_t(0x40)));
    DebuggeeLocation b32(DebuggeeAddress(std::uint32_t(0x40)));
    DebuggeeLocation a64(DebuggeeAddress(std::uint64_t(0x40)));
    DebuggeeLocation c32(DebuggeeAddress(std::uint32_t(0x44)));
    DebuggeeLocation r1(1ul), r1b(1ul), r2(2ul);
    unsigned char bytes[4];
    DebuggeeLocation buf, bufSame, bufOther;
    buf = static_cast<void*>(bytes);
    bufSame = static_cast<void*>(bytes);
    bufOther = static_cast<void*>(bytes + 1);
    DebuggeeLocation none, none2;

    struct Case {
        const DebuggeeLocation& a;
        const DebuggeeLocation& b;
        bool different;
    } cases[] = {
        {a32, b32, false},     {a32, a64, true},      {a32, c32, true}, {r1, r1b, false},    {r1, r2, true},
        {buf, bufSame, false}, {buf, bufOther, true}, {a32, buf, true}, {none, none2, true},
    };
    int row = 0;
    for (const Case& c : cases)
        EXPECT_EQ(c.a != c.b, c.different) << "row " << row++;

    EXPECT_EQ(c32 - a32, 4);
    EXPECT_EQ(a32 - c32, -4);
    EXPECT_EQ(bufOther - buf, 1);
    EXPECT_EQ(codeOf([&] { (void)(a32 - buf); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([&] { (void)(r1 - r2); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([&] { (void)(none - none2); }), InvalidOp::RTRC_NotSupported);
}

TEST_F(LocationTest, QueriesByKind)
{
    fake.registers[3] = FakeRegister{};
    fake.registers[3].bits = 16;
    unsigned char bytes[4] = {};
    DebuggeeLocation none;
    DebuggeeLocation reg(3ul);
    DebuggeeLocation mem32(DebuggeeAddress(std::uint32_t(0)));
    DebuggeeLocation mem64(DebuggeeAddress(std::uint64_t(0x100000000ull)));
    DebuggeeLocation buf;
    buf = static_cast<void*>(bytes);
    DebuggeeLocation nullBuf;
    nullBuf = static_cast<void*>(nullptr);

    EXPECT_FALSE(none.isValid());
    EXPECT_TRUE(reg.isValid());
    EXPECT_TRUE(mem32.isValid());
    EXPECT_TRUE(buf.isValid());

    EXPECT_FALSE(none.isNull());
    EXPECT_FALSE(reg.isNull());
    EXPECT_TRUE(mem32.isNull());
    EXPECT_FALSE(mem64.isNull());
    EXPECT_FALSE(buf.isNull());
    EXPECT_TRUE(nullBuf.isNull());

    EXPECT_EQ(reg.size(), 2u);
    EXPECT_EQ(mem32.size(), 4u);
    EXPECT_EQ(mem64.size(), 8u);
    EXPECT_EQ(buf.size(), 4u);
    EXPECT_EQ(codeOf([&] { none.size(); }), InvalidOp::RTRC_NotSupported);

    EXPECT_FALSE(none.address().isValid());
    EXPECT_FALSE(reg.address().isValid());
    EXPECT_FALSE(buf.address().isValid());
    EXPECT_EQ(mem64.address().addr(), 0x100000000ull);

    EXPECT_EQ(&buf.convertToLocal(), &buf);
    EXPECT_EQ(&reg.convertToLocal(), &reg);
    EXPECT_EQ(codeOf([&] { none.convertToLocal(); }), InvalidOp::RTRC_AssertFail);

    unsigned char out[4];
    EXPECT_EQ(codeOf([&] { none.read(out, 4); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([&] { buf.read(nullptr, 4); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(codeOf([&] { buf.read(out, 0); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(codeOf([&] { buf.write(out, 4); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([&] { none.write(out, 4); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([&] { none.increment(1); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([&] { reg.increment(1); }), InvalidOp::RTRC_NotSupported);

    buf.increment(3);
    EXPECT_EQ(buf.buffer(), bytes + 3);
    buf.convertToPointer(-3);
    EXPECT_EQ(buf.buffer(), bytes);
}

TEST_F(LocationTest, ReadAndWriteReachTheHost)
{
    fake.poke(0x500, {0xCA, 0xFE});
    DebuggeeLocation mem(DebuggeeAddress(std::uint32_t(0x500)));
    unsigned char two[2];
    EXPECT_EQ(mem.read(two, 2), 2u);
    EXPECT_EQ(two[0], 0xCA);
    const unsigned char data[2] = {0x12, 0x34};
    EXPECT_EQ(mem.write(data, 2), 2u);
    EXPECT_EQ(fake.byte(0x501), 0x34);

    fake.registers[6] = FakeRegister{};
    fake.registers[6].bits = 16;
    DebuggeeLocation reg(6ul);
    EXPECT_EQ(reg.write(data, 2), 2u);
    EXPECT_EQ(reg.read(two, 2), 2u);
    EXPECT_EQ(two[0], 0x12);
    EXPECT_EQ(two[1], 0x34);
}

TEST_F(LocationTest, Texts)
{
    char text[64];
    EXPECT_STREQ(DebuggeeLocation().format(text), "INVALID");
    EXPECT_STREQ(DebuggeeLocation().format(), "INVALID");
    EXPECT_STREQ(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x1a))).format(text), "0x0000001a");
    EXPECT_STREQ(DebuggeeLocation(DebuggeeAddress(std::uint64_t(0x1a))).format(text), "0x000000000000001a");
#if defined(_WIN32) // the runtime's "%p": every digit of a pointer
    EXPECT_STREQ(DebuggeeLocation(0x2aul).format(text),
                 sizeof(void*) == 8 ? "register 000000000000002a" : "register 0000002a");
#else
    EXPECT_STREQ(DebuggeeLocation(0x2aul).format(text), "register 0x2a");
#endif

    unsigned char bytes[4];
    DebuggeeLocation buf;
    buf = static_cast<void*>(bytes);
    char expect[64];
    std::snprintf(expect, sizeof expect, "0x%" PRIxPTR " (dbgr)", reinterpret_cast<std::uintptr_t>(bytes));
    EXPECT_STREQ(buf.format(text), expect);
}

TEST_F(LocationTest, RawImages)
{
    DebuggeeLocation mem32(DebuggeeAddress(std::uint32_t(0x01020304)));
    const unsigned char* raw = mem32.rawData();
    EXPECT_EQ(std::vector<unsigned char>(raw, raw + 4), (std::vector<unsigned char>{1, 2, 3, 4}));
    DebuggeeLocation mem64(DebuggeeAddress(std::uint64_t(0x0102030405060708ull)));
    raw = mem64.rawData();
    EXPECT_EQ(std::vector<unsigned char>(raw, raw + 8), (std::vector<unsigned char>{1, 2, 3, 4, 5, 6, 7, 8}));

    ByteString digits = mem32.formatRaw();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(digits.data()), digits.length()), "16909060");
    digits = mem64.formatRaw();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(digits.data()), digits.length()), "72623859790382856");

    // An evaluator buffer never shows its own pointer as a debuggee address;
    // its raw form keeps the whole pointer.
    unsigned char bytes[4];
    DebuggeeLocation buf;
    buf = static_cast<void*>(bytes);
    raw = buf.rawData();
    EXPECT_EQ(std::vector<unsigned char>(raw, raw + 4), (std::vector<unsigned char>{0, 0, 0, 0}));
    ByteString pointer = buf.formatRaw();
    ASSERT_EQ(pointer.length(), sizeof(void*));
    void* back = nullptr;
    std::memcpy(&back, pointer.data(), sizeof back);
    EXPECT_EQ(back, bytes);

    DebuggeeLocation none, reg(1ul);
    EXPECT_EQ(codeOf([&] { none.formatRaw(); }), InvalidOp::RTRC_InvalidFormat);
    EXPECT_EQ(codeOf([&] { reg.formatRaw(); }), InvalidOp::RTRC_InvalidFormat);
    EXPECT_EQ(codeOf([&] { none.rawData(); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(codeOf([&] { reg.rawData(); }), InvalidOp::RTRC_NotSupported);
}

TEST_F(LocationTest, DereferenceByKind)
{
    // Memory: the big-endian pointer at the address.
    fake.poke(0x100, {0x00, 0x00, 0x20, 0x00});
    DebuggeeLocation mem(DebuggeeAddress(std::uint32_t(0x100)));
    mem.dereference(nullptr);
    EXPECT_EQ(mem.kind(), DebuggeeLocation::debuggeeMemory);
    EXPECT_EQ(mem.address().addr(), 0x2000u);

    // With an offset: the pointer 4 bytes further on.
    fake.poke(0x104, {0x00, 0x00, 0x30, 0x00});
    DebuggeeLocation base(DebuggeeAddress(std::uint32_t(0x100)));
    base.dereference(4, nullptr);
    EXPECT_EQ(base.address().addr(), 0x3000u);

    // An evaluator buffer holds the pointer in the evaluator's own order: no
    // byte reversal.
    std::uint32_t held = 0x2000;
    DebuggeeLocation buf;
    buf = static_cast<void*>(&held);
    buf.dereference(nullptr);
    EXPECT_EQ(buf.kind(), DebuggeeLocation::debuggeeMemory);
    EXPECT_EQ(buf.address().addr(), 0x2000u);
    EXPECT_EQ(buf.address().bits(), 32u);

    // A register: its value is the pointer.
    FakeRegister r;
    r.bits = 32;
    const std::uint32_t target = 0x4444;
    std::memcpy(r.value, &target, 4);
    fake.registers[8] = r;
    DebuggeeLocation reg(8ul);
    reg.dereference(nullptr);
    EXPECT_EQ(reg.kind(), DebuggeeLocation::debuggeeMemory);
    EXPECT_EQ(reg.address().addr(), 0x4444u);

    // 8-byte pointers of a 64-bit program.
    env.setAddressSize(8);
    fake.poke(0x600, {0, 0, 0, 2, 0, 0, 0, 0x10});
    DebuggeeLocation wide(DebuggeeAddress(std::uint64_t(0x600)));
    wide.dereference(nullptr);
    EXPECT_EQ(wide.address().addr(), 0x200000010ull);
    EXPECT_EQ(wide.address().bits(), 64u);

    DebuggeeLocation none;
    EXPECT_EQ(codeOf([&] { none.dereference(nullptr); }), InvalidOp::RTRC_AssertFail);
}

namespace {

_TYPE_ENTRY pointerEntry{};

int pointerTypeEntry(EXPR_CTX, UBYTE4 module, UBYTE4, TYPE_ENTRY** entry)
{
    if (module != 0x700)
        return 1;
    *entry = &pointerEntry;
    return 0;
}

} // namespace

TEST_F(LocationTest, HostPointerTypesChooseThePointerSize)
{
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetTypeEntry, &pointerTypeEntry);
    ASSERT_TRUE(host.install());
    fake.poke(0x100, {0, 0, 0, 1, 0, 0, 0, 2});
    pointerEntry.pointer.leaf = TE_POINTER;

    struct Case {
        int language;
        unsigned addressSize;
        UBYTE4 flags;
        std::uint64_t target;
    } cases[] = {
        {2, 4, TNpointer_Bytes8, 0x100000002ull},
        {2, 8, TNpointer_Bytes4, 0x1},
        {2, 8, 0, 0x100000002ull},
        {2, 4, 0, 0x1},
        {6, 4, TNpointer_Bytes8, 0x1}, // COBOL keeps the program's size
    };
    for (const Case& c : cases) {
        ExpressionRepresentation rep(c.language, nullptr);
        rep.makeCurrent(nullptr);
        rep.setAddressSize(c.addressSize);
        pointerEntry.pointer.flags = c.flags;
        TypeItem pointerType(TYPE_INDEX{0x700, 1});
        DebuggeeLocation at(DebuggeeAddress(std::uint32_t(0x100)));
        at.dereference(&pointerType);
        EXPECT_EQ(at.address().addr(), c.target) << c.language << "/" << c.flags;
    }
    env.makeCurrent(nullptr);
}

TEST_F(LocationTest, FatPointersAreRefused)
{
    DebuggeeLocation fat;
    fat = FatPtr();
    EXPECT_EQ(fat.kind(), DebuggeeLocation::fatPointer);
    EXPECT_EQ(fat.size(), 16u);
    EXPECT_EQ(fat.formatRaw().length(), 0u);
    DebuggeeLocation copy(fat);
    EXPECT_EQ(copy.kind(), DebuggeeLocation::fatPointer);
    fat.setFatPtr(nullptr);

    unsigned char bytes[16] = {};
    char text[64];
    const std::vector<std::function<void()>> operations = {
        [&] { fat.read(bytes, 4); },      [&] { fat.write(bytes, 4); }, [&] { fat.increment(4); },
        [&] { (void)(fat != copy); },     [&] { (void)(fat - copy); },  [&] { fat.format(text); },
        [&] { fat.isValid(); },           [&] { fat.isNull(); },        [&] { fat.address(); },
        [&] { fat.convertToLocal(); },    [&] { fat.rawData(); },       [&] { fat.dereference(nullptr); },
        [&] { FatPtr().read(bytes, 1); }, [&] { FatPtr().phase(); },    [&] { FatPtr().thread(); },
        [&] { FatPtr().load(); },
    };
    int row = 0;
    for (const auto& operation : operations)
        EXPECT_EQ(codeOf(operation), InvalidOp::RTRC_NotSupported) << "operation " << row++;
}
