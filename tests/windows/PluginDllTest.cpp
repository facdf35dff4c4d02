// norvexa.dll as a Windows host meets it: loaded by name, its one export
// "main" filling the host's table of 4-byte words, the entry points reached
// through the table only, each running in the evaluator's floating-point
// mode and giving the host its own back.

#include <windows.h>

#include <float.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "FloatingPointState.h"
#include "HostServices.h"
#include "testhost/TestHost.h"

namespace {

using MainEntry = int (*)(std::uint32_t*);
using VersionEntry = UBYTE4 (*)();
using InitializeEntry = BYTE4 (*)(DBG2_SERVICE_FUNCTIONS*);
using TerminateEntry = void (*)();

constexpr std::uint32_t filler = 0xA5A5A5A5u;

// What the host's trace switch, asked inside DbgInitialize, saw.
FpuState seenByCallback{};

int recordingTraceSwitch()
{
    seenByCallback = fpuState();
    return 0;
}

class PluginDll : public ::testing::Test {
protected:
    void SetUp() override
    {
        library = LoadLibraryW(L"norvexa.dll");
        ASSERT_NE(library, nullptr);
        main = reinterpret_cast<MainEntry>(reinterpret_cast<void*>(GetProcAddress(library, "main")));
        ASSERT_NE(main, nullptr);
    }

    // The host's table of the given size in bytes, filled by main.
    std::vector<std::uint32_t> tableOf(std::uint32_t bytes)
    {
        std::vector<std::uint32_t> table(bytes / 4 + 2, filler);
        table[0] = bytes;
        EXPECT_EQ(main(table.data()), 0);
        return table;
    }

    HMODULE library = nullptr;
    MainEntry main = nullptr;
};

TEST_F(PluginDll, NothingButMainIsFoundByName)
{
    for (const char* name : {"DbgVersion", "DbgInitialize", "DbgTerminateRunTime",
                             "intializeEvaluatorFunctions", "decNumberAdd", "tarnelxEntry",
                             "Cobol_Parser_LL_parse_Interface_Expression"})
        EXPECT_EQ(GetProcAddress(library, name), nullptr) << name;
}

TEST_F(PluginDll, MainFillsTablesOfEverySize)
{
    // The whole table: 65 words of 4 bytes, 260 in word 0.
    const std::vector<std::uint32_t> whole = tableOf(260);
    EXPECT_EQ(whole[0], 260u);
    // The words of the entry points the table reaches; every other word 0.
    const std::set<unsigned> filled{1, 2, 3, 5, 6, 9, 11, 12, 13, 15, 16, 19, 22, 26, 34, 40, 51};
    for (unsigned word = 1; word < 65; ++word) {
        if (filled.count(word) != 0)
            EXPECT_NE(whole[word], 0u) << word;
        else
            EXPECT_EQ(whole[word], 0u) << word;
    }
    EXPECT_EQ(reinterpret_cast<VersionEntry>(whole[1])(), 200u);
    EXPECT_EQ(whole[65], filler) << "nothing past the table";

    // A size word of 0 gets nothing but itself.
    const std::vector<std::uint32_t> none = tableOf(0);
    EXPECT_EQ(none[0], 0u);
    EXPECT_EQ(none[1], filler);

    // 8 bytes: word 1 only.
    const std::vector<std::uint32_t> two = tableOf(8);
    EXPECT_EQ(two[0], 8u);
    EXPECT_EQ(two[1], whole[1]);
    EXPECT_EQ(two[2], filler);

    // 400 bytes: the 65 words, and zeros up to word 99.
    const std::vector<std::uint32_t> longer = tableOf(400);
    EXPECT_EQ(longer[0], 400u);
    for (unsigned word = 1; word < 65; ++word)
        EXPECT_EQ(longer[word], whole[word]) << word;
    for (unsigned word = 65; word < 100; ++word)
        EXPECT_EQ(longer[word], 0u) << word;
    EXPECT_EQ(longer[100], filler);
}

TEST_F(PluginDll, EntryPointsRunInTheEvaluatorsModeAndGiveTheHostItsOwnBack)
{
    const std::vector<std::uint32_t> table = tableOf(260);
    auto initialize = reinterpret_cast<InitializeEntry>(table[2]);
    auto terminate = reinterpret_cast<TerminateEntry>(table[34]);

    // The host: nearest, 53-bit, overflow unmasked, no flags raised.
    _clearfp();
    const unsigned int hostWord = _controlfp(0, 0);
    _controlfp(_RC_NEAR | _PC_53 | (_MCW_EM & ~_EM_OVERFLOW), _MCW_EM | _MCW_RC | _MCW_PC);
    const FpuState host = fpuState();

    TestHost testHost(false);
    testHost.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2TraceEnabled, &recordingTraceSwitch);
    seenByCallback = {};
    EXPECT_EQ(initialize(&testHost.table()), 1);
    const FpuState after = fpuState();
    terminate();
    _controlfp(hostWord, _MCW_EM | _MCW_RC | _MCW_PC | _MCW_IC);

    expectEvaluatorMode(seenByCallback);
    EXPECT_EQ(after.control, host.control);
    EXPECT_EQ(after.mxcsr, host.mxcsr);
}

}  // namespace
