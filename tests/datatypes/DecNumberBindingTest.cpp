// The lazy binding to the decimal library and the library itself: loading on
// first use, failing and retrying when the library is absent, and the
// operations the library puts in the table (DPD encodings, packed decimal).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <plomkit/EncodedString.h>
#include <plomkit/Engine_Loader.h>
#include <plomkit/FileName.h>
#include <plomkit/StdException.h>

#include "datatypes/DecNumberBinding.h"
#include "datatypes/DecimalFloat.h"

namespace {

constexpr uintptr_t tableBytes = (DECNUMBER_SLOT_COUNT + 1) * sizeof(uintptr_t);

// A loader that counts its calls and can pretend the library is absent or
// hand out an entry of its own.
class FakeLoader : public Engine_Loader {
public:
    std::atomic<int> calls{0};
    bool absent = false;
    void* entry = nullptr;
    std::wstring library;
    std::wstring entryName;

    void* loadEntryPoint(const FileName& name, const EncodedString& entryText) override
    {
        ++calls;
        library = name.name().text();
        entryName = entryText.text();
        if (absent)
            return nullptr;
        if (entry != nullptr)
            return entry;
        return Engine_Loader::instance().loadEntryPoint(name, entryText);
    }
};

// Each test starts from the table's state at process start.
class DecNumberBinding : public ::testing::Test {
protected:
    FakeLoader loader;
    void SetUp() override
    {
        std::memset(ep, 0, sizeof ep);
        setDecNumberLoader(&loader);
    }
    void TearDown() override { setDecNumberLoader(nullptr); }

    static bool allSlotsEmpty()
    {
        for (int slot = 1; slot <= DECNUMBER_SLOT_COUNT; ++slot)
            if (ep[slot] != 0)
                return false;
        return true;
    }
};

void expectCannotLoad(void (*operation)())
{
    try {
        operation();
        FAIL() << "no exception";
    } catch (const StdException& e) {
        EXPECT_STREQ(e.what(), "Cannot load tarnelx");
        EXPECT_STREQ(e.function(), "void getDecNumberEntryPoints()");
        EXPECT_EQ(e.line(), 44u);
        EXPECT_EQ(e.code(), -1);
    }
}

// The evaluator's own C++ code makes its contexts through decimalContext,
// which raises a load failure.
void defaultContext()
{
    decContext context;
    decimalContext(context, DEC_INIT_DECIMAL128);
}

void addNumbers()
{
    decNumber a, b, r;
    decNumberZero(&a);
    decNumberZero(&b);
    decContext context{};
    decNumberAdd(&r, &a, &b, &context);
}

TEST_F(DecNumberBinding, FirstOperationLoadsTheLibraryOnce)
{
    decContext context;
    EXPECT_EQ(decContextDefault(&context, DEC_INIT_DECIMAL128), &context);
    EXPECT_EQ(loader.calls, 1);
    EXPECT_EQ(loader.library, L"vosdecn");
    EXPECT_EQ(loader.entryName, L"tarnelxEntry");
    EXPECT_EQ(ep[0], tableBytes);
    for (int slot = 1; slot <= DECNUMBER_SLOT_COUNT; ++slot)
        EXPECT_NE(ep[slot], 0u) << "slot " << slot;

    EXPECT_EQ(context.digits, 34);
    decNumber a, b, sum;
    decNumberFromString(&a, "1.25", &context);
    decNumberFromString(&b, "-0.5", &context);
    decNumberAdd(&sum, &a, &b, &context);
    char text[64];
    EXPECT_STREQ(decNumberToString(&sum, text), "0.75");
    EXPECT_EQ(loader.calls, 1);
}

TEST_F(DecNumberBinding, AbsentLibraryFailsEveryOperationUntilItIsPresent)
{
    loader.absent = true;
    expectCannotLoad(defaultContext);
    EXPECT_EQ(ep[0], tableBytes);
    expectCannotLoad(defaultContext);
    EXPECT_EQ(loader.calls, 2);
    EXPECT_TRUE(allSlotsEmpty());

    // The forwarding functions are C functions: no exception leaves them.
    // They answer null, and a context passed gets an invalid-operation
    // status.
    decNumber a{}, b{}, r{};
    decContext context{};
    EXPECT_NO_THROW(EXPECT_EQ(decNumberAdd(&r, &a, &b, &context), nullptr));
    EXPECT_NE(context.status & DEC_Invalid_operation, 0u);
    decContext other{};
    EXPECT_EQ(decContextDefault(&other, DEC_INIT_DECIMAL64), nullptr);
    EXPECT_NE(other.status & DEC_Invalid_operation, 0u);
    EXPECT_EQ(decNumberVersion(), nullptr);
    EXPECT_EQ(decNumberZero(&r), nullptr);
    char text[64];
    EXPECT_EQ(decNumberToString(&r, text), nullptr);
    EXPECT_EQ(loader.calls, 7);
    EXPECT_TRUE(allSlotsEmpty());
    // A decimal value of the evaluator sees the failure as an exception.
    EXPECT_THROW(DecimalFloat(7, DecimalFloat::Size64), StdException);

    loader.absent = false;
    defaultContext();
    addNumbers();
    EXPECT_EQ(loader.calls, 9);
    EXPECT_FALSE(allSlotsEmpty());
}

TEST_F(DecNumberBinding, ThreadsMakingTheirFirstCallTogetherLoadOnce)
{
    std::vector<std::thread> threads;
    std::atomic<int> digits{0};
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&digits] {
            decContext context;
            decContextDefault(&context, DEC_INIT_DECIMAL64);
            digits += context.digits;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(loader.calls, 1);
    EXPECT_EQ(digits, 8 * 16);
}

// An entry that leaves a slot empty: the load counts as failed, and no call
// ever jumps to an empty slot.
extern "C" void incompleteEntry(uintptr_t* table)
{
    for (int slot = 1; slot < DECNUMBER_SLOT_COUNT; ++slot)
        table[slot] = 0x1000 + slot;
    EXPECT_EQ(table[0], tableBytes);
}

TEST_F(DecNumberBinding, EntryLeavingASlotEmptyIsAFailedLoad)
{
    loader.entry = reinterpret_cast<void*>(&incompleteEntry);
    expectCannotLoad(defaultContext);
    decContext context{};
    EXPECT_EQ(decContextDefault(&context, DEC_INIT_DECIMAL32), nullptr);
    EXPECT_TRUE(allSlotsEmpty());
    EXPECT_EQ(ep[0], tableBytes);
}

// The library's entry, called directly: it fills every slot of a full table
// and writes nothing beyond the size that word 0 gives.
TEST(VosdecnLibrary, EntryFillsEverySlotWithinTheTableSize)
{
    void* entry = Engine_Loader::instance().loadEntryPoint(FileName(L"vosdecn"), EncodedString(L"tarnelxEntry"));
    ASSERT_NE(entry, nullptr);
    auto fill = reinterpret_cast<void (*)(uintptr_t*)>(entry);

    uintptr_t table[DECNUMBER_SLOT_COUNT + 2] = {tableBytes};
    table[DECNUMBER_SLOT_COUNT + 1] = 0xABCD;
    fill(table);
    for (int slot = 1; slot <= DECNUMBER_SLOT_COUNT; ++slot)
        EXPECT_NE(table[slot], 0u) << "slot " << slot;
    EXPECT_EQ(table[DECNUMBER_SLOT_COUNT + 1], 0xABCDu);

    uintptr_t small[5] = {4 * sizeof(uintptr_t), 0, 0, 0, 0x77};
    fill(small);
    EXPECT_NE(small[3], 0u);
    EXPECT_EQ(small[4], 0x77u);

    // Only the entry is exported: the library's own decNumber operations are
    // not visible, so they cannot be confused with the evaluator's forwarders.
    EXPECT_EQ(Engine_Loader::instance().loadEntryPoint(FileName(L"vosdecn"), EncodedString(L"decNumberAdd")), nullptr);
}

// The plug-in exports the forwarding functions under the operations' own
// names; the library keeps its own operations local, so a call through the
// plug-in reaches the library and does not come back to the forwarder.
TEST(VosdecnLibrary, PluginForwardersReachTheLibrary)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the Windows DLL exports its entry alone; the forwarders stay inside";
#endif
    auto& loader = Engine_Loader::instance();
    auto version = reinterpret_cast<const char* (*)()>(
        loader.loadEntryPoint(FileName(L"norvexa"), EncodedString(L"decNumberVersion")));
    auto defaults = reinterpret_cast<decContext* (*)(decContext*, int32_t)>(
        loader.loadEntryPoint(FileName(L"norvexa"), EncodedString(L"decContextDefault")));
    auto fromText = reinterpret_cast<decNumber* (*)(decNumber*, const char*, decContext*)>(
        loader.loadEntryPoint(FileName(L"norvexa"), EncodedString(L"decNumberFromString")));
    auto multiply = reinterpret_cast<decNumber* (*)(decNumber*, const decNumber*, const decNumber*, decContext*)>(
        loader.loadEntryPoint(FileName(L"norvexa"), EncodedString(L"decNumberMultiply")));
    auto toText = reinterpret_cast<char* (*)(const decNumber*, char*)>(
        loader.loadEntryPoint(FileName(L"norvexa"), EncodedString(L"decNumberToString")));
    ASSERT_NE(version, nullptr);
    ASSERT_NE(defaults, nullptr);
    ASSERT_NE(fromText, nullptr);
    ASSERT_NE(multiply, nullptr);
    ASSERT_NE(toText, nullptr);
    EXPECT_NE(loader.loadEntryPoint(FileName(L"norvexa"), EncodedString(L"ep")), nullptr);

    EXPECT_NE(std::string(version()).find("decNumber"), std::string::npos);
    decContext context;
    defaults(&context, DEC_INIT_DECIMAL128);
    decNumber a, b, product;
    fromText(&a, "-2.5", &context);
    fromText(&b, "4", &context);
    multiply(&product, &a, &b, &context);
    char text[64];
    EXPECT_STREQ(toText(&product, text), "-10.0");
}

// ------------------------------------------------------------ DPD encodings

template <typename T>
std::string hex(const T& value)
{
    // Most significant byte first: the formats are in host (little-endian) order.
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int i = sizeof(T) - 1; i >= 0; --i) {
        unsigned char byte = reinterpret_cast<const unsigned char*>(&value)[i];
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

// The expected encodings were worked out from the IEEE 754 DPD definition
// (declets of three digits, biased exponent in the combination field).
TEST(VosdecnLibrary, DecimalFormatsUseDenselyPackedDecimal)
{
    struct Case {
        const char* text;
        const char* d32;
        const char* d64;
        const char* d128;
    };
    const Case cases[] = {
        {"1", "22500001", "2238000000000001", "22080000000000000000000000000001"},
        {"-7.50", "A23003D0", "A2300000000003D0", "A20780000000000000000000000003D0"},
        {"0", "22500000", "2238000000000000", "22080000000000000000000000000000"},
        {"123.456", "22228E56", "222C000000028E56", "22074000000000000000000000028E56"},
    };
    decContext c32, c64, c128;
    decContextDefault(&c32, DEC_INIT_DECIMAL32);
    decContextDefault(&c64, DEC_INIT_DECIMAL64);
    decContextDefault(&c128, DEC_INIT_DECIMAL128);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        decimal32 d32;
        decimal64 d64;
        decimal128 d128;
        decimal32FromString(&d32, k.text, &c32);
        decimal64FromString(&d64, k.text, &c64);
        decimal128FromString(&d128, k.text, &c128);
        EXPECT_EQ(hex(d32), k.d32);
        EXPECT_EQ(hex(d64), k.d64);
        EXPECT_EQ(hex(d128), k.d128);

        // Round trips through decNumber and through text.
        char text[DECIMAL128_String];
        decNumber n;
        decimal32 back32;
        decimal64 back64;
        decimal128 back128;
        decimal32FromNumber(&back32, decimal32ToNumber(&d32, &n), &c32);
        EXPECT_EQ(hex(back32), k.d32);
        decimal64FromNumber(&back64, decimal64ToNumber(&d64, &n), &c64);
        EXPECT_EQ(hex(back64), k.d64);
        decimal128FromNumber(&back128, decimal128ToNumber(&d128, &n), &c128);
        EXPECT_EQ(hex(back128), k.d128);
        EXPECT_STREQ(decimal32ToString(&d32, text), k.text);
        EXPECT_STREQ(decimal64ToString(&d64, text), k.text);
        EXPECT_STREQ(decimal128ToString(&d128, text), k.text);
    }
    decimal64 big;
    decimal64FromString(&big, "1.234E+20", &c64);
    char text[DECIMAL64_String];
    EXPECT_STREQ(decimal64ToEngString(&big, text), "123.4E+18");
}

// ------------------------------------------------------------ packed decimal

std::string bytesHex(const uint8_t* bytes, int length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int i = 0; i < length; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

TEST(VosdecnLibrary, PackedDecimalRoundTrips)
{
    struct Case {
        const char* text;
        int length;
        const char* packed; // as written
        int scale;
    };
    const Case cases[] = {
        {"12345", 3, "12345C", 0}, // odd digit count fills every nibble
        {"-1234", 3, "01234D", 0}, // even digit count: leading zero nibble
        {"-12.5", 2, "125D", 1},   {"0.05", 2, "005C", 2},
        {"0", 1, "0C", 0},         {"-0", 1, "0D", 0},
        {"1.2E+3", 2, "012C", -2}, {"1234567890123456789012345678901", 16, "1234567890123456789012345678901C", 0},
    };
    decContext context;
    decContextDefault(&context, DEC_INIT_DECIMAL128);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        decNumber n;
        ASSERT_NE(decNumberFromString(&n, k.text, &context), nullptr);
        uint8_t packed[16];
        int32_t scale = 99;
        ASSERT_EQ(decPackedFromNumber(packed, k.length, &scale, &n), packed);
        EXPECT_EQ(bytesHex(packed, k.length), k.packed);
        EXPECT_EQ(scale, k.scale);

        decNumber back;
        ASSERT_EQ(decPackedToNumber(packed, k.length, &scale, &back), &back);
        char text[64];
        EXPECT_STREQ(decNumberToString(&back, text), k.text);
    }
}

TEST(VosdecnLibrary, PackedDecimalReadsEverySignNibbleAndRefusesBadData)
{
    struct Case {
        uint8_t bytes[2];
        const char* value; // null: refused
    };
    const Case cases[] = {
        {{0x12, 0x3A}, "123"},   {{0x12, 0x3B}, "-123"}, {{0x12, 0x3C}, "123"},   {{0x12, 0x3D}, "-123"},
        {{0x12, 0x3E}, "123"},   {{0x12, 0x3F}, "123"},  {{0x12, 0x39}, nullptr}, // a digit where the sign belongs
        {{0x1A, 0x3C}, nullptr},                                                  // a nibble above 9 among the digits
        {{0xF2, 0x3C}, nullptr}, {{0x00, 0x0D}, "-0"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(bytesHex(k.bytes, 2));
        decNumber n;
        int32_t scale = 0;
        decNumber* result = decPackedToNumber(k.bytes, 2, &scale, &n);
        if (k.value == nullptr) {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        ASSERT_EQ(result, &n);
        char text[64];
        EXPECT_STREQ(decNumberToString(&n, text), k.value);
    }

    // A value with more digits than the length holds, and special values.
    decContext context;
    decContextDefault(&context, DEC_INIT_DECIMAL128);
    decNumber n;
    uint8_t packed[3] = {0xEE, 0xEE, 0xEE};
    int32_t scale = 0;
    decNumberFromString(&n, "123456", &context);
    EXPECT_EQ(decPackedFromNumber(packed, 3, &scale, &n), nullptr);
    decNumberFromString(&n, "Infinity", &context);
    EXPECT_EQ(decPackedFromNumber(packed, 3, &scale, &n), nullptr);
    decNumberFromString(&n, "NaN", &context);
    EXPECT_EQ(decPackedFromNumber(packed, 3, &scale, &n), nullptr);
}

} // namespace
