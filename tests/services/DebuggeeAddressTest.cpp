// Debuggee addresses, registers and the evaluator's type index.

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "testhost/inprocess/ContextFixtures.h"
#include "services/DebuggeeAddress.h"
#include "services/EvaluatorTypeIndex.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/Register.h"

namespace {

template <class F>
InvalidOp::InvalidOperation thrownCode(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    ADD_FAILURE() << "no InvalidOp was thrown";
    return InvalidOp::InvalidOperation(0);
}

using AddressTest = CurrentContextTest;

} // namespace

TEST(DebuggeeAddress, ArithmeticWrapsAtTheWidth)
{
    struct Case {
        DebuggeeAddress start;
        bool add;
        std::uint64_t n;
        std::uint64_t expected;
        unsigned bits;
    } cases[] = {
        {DebuggeeAddress(std::uint32_t(0xFFFFFFF0u)), true, 32, 16, 32},
        {DebuggeeAddress(std::uint32_t(5)), false, 10, 0xFFFFFFFBu, 32},
        {DebuggeeAddress(std::uint32_t(0x1000)), true, 0x100000010ull, 0x1010, 32},
        {DebuggeeAddress(std::uint64_t(0xFFFFFFFFFFFFFFFFull)), true, 2, 1, 64},
        {DebuggeeAddress(std::uint64_t(0xFFFFFFF0u)), true, 32, 0x100000010ull, 64},
        {DebuggeeAddress(std::uint64_t(3)), false, 4, 0xFFFFFFFFFFFFFFFFull, 64},
        {DebuggeeAddress(), true, 5, 0, 0},
    };
    for (const Case& c : cases) {
        DebuggeeAddress a = c.add ? c.start + c.n : c.start - c.n;
        EXPECT_EQ(a.addr(), c.expected);
        EXPECT_EQ(a.bits(), c.bits);
        DebuggeeAddress b = c.start;
        if (c.add)
            b += c.n;
        else
            b -= c.n;
        EXPECT_EQ(b.addr(), c.expected);
        EXPECT_EQ(b.isValid(), c.bits != 0);
    }
}

TEST(DebuggeeAddress, Formats)
{
    struct Case {
        DebuggeeAddress address;
        const char* full;
        const char* brief;
    } cases[] = {
        {DebuggeeAddress(std::uint32_t(26)), "0x0000001a", "0x1a"},
        {DebuggeeAddress(std::uint32_t(0xFFFFFFFFu)), "0xffffffff", "0xffffffff"},
        {DebuggeeAddress(std::uint64_t(26)), "0x000000000000001a", "0x1a"},
        {DebuggeeAddress(std::uint64_t(0x123456789abcdef0ull)), "0x123456789abcdef0", "0x123456789abcdef0"},
        {DebuggeeAddress(), "Invalid", "Invalid"},
    };
    for (const Case& c : cases) {
        char buffer[32];
        EXPECT_STREQ(c.address.format(buffer), c.full);
        EXPECT_EQ(c.address.format(buffer), buffer);
        EXPECT_STREQ(c.address.format(buffer, true), c.brief);
        EXPECT_STREQ(c.address.format(nullptr, false), c.full);
    }
}

TEST(DebuggeeAddress, ConstructorsFromBytesAndSizes)
{
    const unsigned char be4[] = {0x00, 0x00, 0x20, 0x00};
    EXPECT_EQ(DebuggeeAddress(be4, 4, true).addr(), 8192u);
    EXPECT_EQ(DebuggeeAddress(be4, 4, true).bits(), 32u);
    EXPECT_EQ(DebuggeeAddress(be4, 4, false).addr(), 2097152u);
    EXPECT_EQ(DebuggeeAddress(be4, 4).addr(), 2097152u);

    const unsigned char be8[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    EXPECT_EQ(DebuggeeAddress(be8, 8, true).addr(), 0x0102030405060708ull);
    EXPECT_EQ(DebuggeeAddress(be8, 8, true).bits(), 64u);
    EXPECT_EQ(DebuggeeAddress(be8, 8, false).addr(), 0x0807060504030201ull);

    EXPECT_EQ(DebuggeeAddress(std::uint64_t(0x1234567890ull), 4).addr(), 0x34567890u);
    EXPECT_EQ(DebuggeeAddress(std::uint64_t(0x1234567890ull), 4).bits(), 32u);
    EXPECT_EQ(DebuggeeAddress(std::uint64_t(0x1234567890ull), 8).bits(), 64u);

    const unsigned char bytes[16] = {};
    for (int size : {0, 2, 3, 16}) {
        EXPECT_EQ(thrownCode([&] { DebuggeeAddress(std::uint64_t(1), size); }), InvalidOp::RTRC_Other);
        EXPECT_EQ(thrownCode([&] { DebuggeeAddress(bytes, size); }), InvalidOp::RTRC_Other);
        EXPECT_EQ(thrownCode([&] { DebuggeeAddress(bytes, size, true); }), InvalidOp::RTRC_Other);
        DebuggeeAddress a(std::uint32_t(7));
        EXPECT_EQ(thrownCode([&] { a.setAddr(bytes, size, false); }), InvalidOp::RTRC_Other);
        EXPECT_FALSE(a.isValid());
    }
}

TEST(DebuggeeAddress, HostRecordRoundTrip)
{
    EE_ADDR host{64, 0x89abcdefu, 0x01234567u};
    DebuggeeAddress a(host);
    EXPECT_EQ(a.addr(), 0x0123456789abcdefull);
    EE_ADDR back = a.toEE_ADDR();
    EXPECT_EQ(back.width, 64u);
    EXPECT_EQ(back.addrLow, 0x89abcdefu);
    EXPECT_EQ(back.addrHigh, 0x01234567u);

    EE_ADDR odd{48, 1, 0};
    EXPECT_FALSE(DebuggeeAddress(odd).isValid());
    EXPECT_EQ(DebuggeeAddress(odd).addr(), 0u);
    EXPECT_STREQ(DebuggeeAddress(odd).format(), "Invalid");
}

TEST_F(AddressTest, ReadAndWrite)
{
    fake.poke(0x100, {1, 2, 3, 4, 5, 6, 7, 8});
    DebuggeeAddress a(std::uint32_t(0x100));
    unsigned char buffer[8] = {};
    EXPECT_EQ(a.read(buffer, 2), 2u);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[1], 2);

    // Only 8 bytes exist: the rest of a 16-byte read is zero-filled.
    unsigned char wide[16];
    std::memset(wide, 0xEE, sizeof wide);
    EXPECT_EQ(a.read(wide, 16), 8u);
    EXPECT_EQ(wide[7], 8);
    for (int i = 8; i < 16; ++i)
        EXPECT_EQ(wide[i], 0) << i;

    EXPECT_EQ(thrownCode([&] { a.read(nullptr, 4); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(thrownCode([&] { a.read(buffer, 0); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(thrownCode([&] { a.write(nullptr, 4); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(thrownCode([&] { a.write(buffer, 0); }), InvalidOp::RTRC_Other);

    // Nothing readable at all: a memory read failure.
    DebuggeeAddress nowhere(std::uint32_t(0x9000));
    EXPECT_EQ(thrownCode([&] { nowhere.read(buffer, 4); }), InvalidOp::RTRC_ReadMemoryFailed);

    const unsigned char data[16] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(a.write(data, 2), 2u);
    EXPECT_EQ(a.write(data, 16), 16u);
    EXPECT_EQ(fake.byte(0x10f), 9);

    // The host stores 7 of 8 bytes: a failed write, not a success.
    host.memory().markUnwritable(0x107, 1);
    EXPECT_EQ(thrownCode([&] { a.write(data, 8); }), InvalidOp::RTRC_WriteMemoryFailed);
}

TEST_F(AddressTest, DereferenceFollowsOneStepAtTheAddressSize)
{
    fake.poke(0x100, {0x00, 0x00, 0x20, 0x00});
    fake.poke(0x2000, {0x00, 0x00, 0x30, 0x04});
    DebuggeeAddress a(std::uint32_t(0x100));
    EXPECT_EQ(a.dereference().addr(), 0x2000u);
    EXPECT_EQ(a.dereference().addr(), 0x3004u);
    EXPECT_EQ(a.bits(), 32u);

    env.setAddressSize(8);
    fake.poke(0x200, {0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x10});
    DebuggeeAddress b(std::uint64_t(0x200));
    EXPECT_EQ(b.dereference().addr(), 0x100000010ull);
    EXPECT_EQ(b.bits(), 64u);
}

namespace {
int mapSection(EXPR_CTX, UBYTE4 section, EE_ADDR* address)
{
    if (section != 3)
        return 1;
    *address = EE_ADDR{32, 0x4000, 0};
    return 0;
}
} // namespace

TEST_F(AddressTest, AddressOfASymbolEntry)
{
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2MapSection, &mapSection);
    ASSERT_TRUE(host.install());

    SYMBOL_ENTRY entry{};
    entry.statics.kind = SE_SECTION_DATA;
    entry.statics.section = 3;
    entry.statics.offsetLow = 0x24;
    entry.statics.offsetHigh = 0;
    DebuggeeAddress a(entry, nullptr);
    EXPECT_EQ(a.addr(), 0x4024u);

    entry.statics.section = 5;
    EXPECT_EQ(thrownCode([&] { DebuggeeAddress(entry, nullptr); }), InvalidOp::RTRC_IntfRoutineFailed);

    entry.kind = SE_STATIC;
    EXPECT_EQ(thrownCode([&] { DebuggeeAddress(entry, nullptr); }), InvalidOp::RTRC_IncompleteSymbol);
    entry.kind = SE_AUTOMATIC;
    EXPECT_EQ(thrownCode([&] { DebuggeeAddress(entry, nullptr); }), InvalidOp::RTRC_Other);
}

// ---------------------------------------------------------------------------
// Registers

namespace {

FakeRegister integerRegister(unsigned bits, std::uint64_t value)
{
    FakeRegister r;
    r.type = 1;
    r.bits = static_cast<UBYTE2>(bits);
    std::memcpy(r.value, &value, sizeof value);
    return r;
}

std::string hex(const unsigned char* bytes, unsigned n)
{
    std::string s;
    char b[4];
    for (unsigned i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02x", bytes[i]);
        s += b;
    }
    return s;
}

} // namespace

TEST_F(AddressTest, RegisterTypeAndSizeAreAskedOnce)
{
    fake.registers[7] = integerRegister(64, 0);
    fake.registers[7].type = 2;
    Register r(7);
    UBYTE2 type = 0;
    EXPECT_EQ(r.typeAndSize(type), 8u);
    EXPECT_EQ(type, 2);
    type = 0;
    EXPECT_EQ(r.typeAndSize(type), 8u);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(static_cast<int>(host.callCount(HS_ExprQueryRegisterInfo)), 1);

    // A register the host describes with an unusable size is not cached.
    for (unsigned bits : {0u, 12u, 128u}) {
        fake.registers[9] = integerRegister(bits, 0);
        Register odd(9);
        const int before = static_cast<int>(host.callCount(HS_ExprQueryRegisterInfo));
        EXPECT_EQ(odd.typeAndSize(type), 0u) << bits;
        EXPECT_EQ(odd.typeAndSize(type), 0u) << bits;
        EXPECT_EQ(static_cast<int>(host.callCount(HS_ExprQueryRegisterInfo)), before + 2) << bits;
    }
    fake.registers[9] = integerRegister(5, 0);
    EXPECT_EQ(Register(9).typeAndSize(type), 1u);
}

TEST_F(AddressTest, IntegerRegisterReadsAreBigEndianImages)
{
    fake.registers[1] = integerRegister(64, 0x1122334455667788ull);
    fake.registers[2] = integerRegister(32, 0xA1B2C3D4u);
    fake.registers[3] = integerRegister(16, 0xBEEF);
    struct Case {
        unsigned long id;
        unsigned count;
        const char* image;
    } cases[] = {
        {1, 8, "1122334455667788"},
        {1, 4, "55667788"},
        {1, 2, "7788"},
        {1, 1, "88"},
        {2, 4, "a1b2c3d4"},
        {2, 2, "c3d4"},
        {2, 1, "d4"},
        {3, 2, "beef"},
        {3, 1, "ef"},
    };
    for (const Case& c : cases) {
        unsigned char buffer[8] = {};
        EXPECT_EQ(Register(c.id).read(buffer, c.count), c.count);
        EXPECT_EQ(hex(buffer, c.count), c.image) << c.id << "/" << c.count;
    }

    unsigned char buffer[16];
    EXPECT_EQ(thrownCode([&] { Register(1).read(buffer, 3); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(thrownCode([&] { Register(2).read(buffer, 8); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(thrownCode([&] { Register(2).read(buffer, 0); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(thrownCode([&] { Register(2).read(nullptr, 4); }), InvalidOp::RTRC_Other);
}

TEST_F(AddressTest, FloatingRegisterReads)
{
    FakeRegister d;
    d.type = 2;
    d.bits = 64;
    const double dv = 1.0 / 3.0;
    std::memcpy(d.value, &dv, sizeof dv);
    fake.registers[4] = d;

    FakeRegister x;
    x.type = 2;
    x.bits = 96;
    const long double xv = 1.0L / 3.0L;
    std::memcpy(x.value, &xv, 10);
    fake.registers[5] = x;

    unsigned char image[8];
    // 8-byte register: the exact read is the double's big-endian image.
    ASSERT_EQ(Register(4).read(image, 8), 8u);
    unsigned char expect8[8];
    std::memcpy(expect8, &dv, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(image[i], expect8[7 - i]);

    // Narrowed to a float.
    ASSERT_EQ(Register(4).read(image, 4), 4u);
    const float fv = static_cast<float>(dv);
    unsigned char expect4[4];
    std::memcpy(expect4, &fv, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(image[i], expect4[3 - i]);

    // 12-byte extended register read as 8 bytes: the nearest double.
    ASSERT_EQ(Register(5).read(image, 8), 8u);
    unsigned char host[8];
    for (int i = 0; i < 8; ++i)
        host[i] = image[7 - i];
    double got;
    std::memcpy(&got, host, 8);
    EXPECT_EQ(got, static_cast<double>(xv));
    ASSERT_EQ(Register(5).read(image, 4), 4u);

    // The whole 12 bytes cannot be turned around.
    unsigned char twelve[12];
    EXPECT_EQ(thrownCode([&] { Register(5).read(twelve, 12); }), InvalidOp::RTRC_Other);
    // No narrowing of an 8-byte float to 2 bytes.
    EXPECT_EQ(thrownCode([&] { Register(4).read(image, 2); }), InvalidOp::RTRC_NotSupported);
}

TEST_F(AddressTest, RegisterWritesReverseTheImage)
{
    fake.registers[1] = integerRegister(32, 0);
    const unsigned char image[] = {0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(Register(1).write(image, 4), 4u);
    EXPECT_EQ(host.callCount(HS_ExprSetRegisterValue), 1u);
    EXPECT_EQ(hex(fake.registers[1].value, 4), "44332211");
    // Reading it back gives the same image.
    unsigned char back[4];
    Register(1).read(back, 4);
    EXPECT_EQ(hex(back, 4), "11223344");

    EXPECT_EQ(thrownCode([&] { Register(1).write(image, 2); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(thrownCode([&] { Register(1).write(image, 8); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(thrownCode([&] { Register(1).write(nullptr, 4); }), InvalidOp::RTRC_Other);
}

TEST_F(AddressTest, RegisterFormatAndDataType)
{
    EXPECT_STREQ(Register().format(), "Invalid Register");
    char buffer[40];
#if defined(_WIN32) // the runtime's "%p": every digit of a pointer
    EXPECT_STREQ(Register(0x1f).format(buffer), sizeof(void*) == 8 ? "register 000000000000001f" : "register 0000001f");
#else
    EXPECT_STREQ(Register(0x1f).format(buffer), "register 0x1f");
#endif

    struct Case {
        UBYTE2 type;
        unsigned bits;
        unsigned code;
    } cases[] = {
        {1, 8, 132},  {1, 16, 133}, {1, 32, 134}, {1, 64, 156}, {1, 96, 0},
        {2, 32, 136}, {2, 64, 137}, {2, 96, 138}, {2, 16, 0},   {3, 32, 0},
    };
    for (const Case& c : cases) {
        fake.registers[11] = integerRegister(c.bits, 0);
        fake.registers[11].type = c.type;
        TYPE_INDEX t = Register(11).datatype();
        EXPECT_EQ(t.module, 0u);
        EXPECT_EQ(t.index, c.code) << c.type << "/" << c.bits;
    }
}

TEST(EvaluatorTypeIndex, Equality)
{
    TYPE_INDEX host{0x5000, 12};
    EvaluatorTypeIndex a(host);
    EXPECT_TRUE(a == host);
    EXPECT_TRUE(a == EvaluatorTypeIndex(host));
    EXPECT_FALSE(a == 12u);
    EvaluatorTypeIndex p(130u);
    EXPECT_TRUE(p == 130u);
    EXPECT_FALSE(p == 131u);
    EXPECT_FALSE(p == a);
    p = host;
    EXPECT_TRUE(p == a);
    EXPECT_EQ(EvaluatorTypeIndex().module(), 0u);
    EXPECT_EQ(EvaluatorTypeIndex().index(), 0u);
}
