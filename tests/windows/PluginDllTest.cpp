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

// The host's table is one of pointer-sized words: 4 bytes on 32-bit Windows,
// 8 on 64-bit; word 0 holds the table's size in bytes.
using Word = std::uintptr_t;
constexpr Word wordBytes = sizeof(Word);
using MainEntry = int (*)(Word*);
using VersionEntry = UBYTE4 (*)();
using InitializeEntry = BYTE4 (*)(DBG2_SERVICE_FUNCTIONS*);
using TerminateEntry = void (*)();

constexpr Word filler = static_cast<Word>(0xA5A5A5A5A5A5A5A5ull);

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
    std::vector<Word> tableOf(Word bytes)
    {
        std::vector<Word> table(bytes / wordBytes + 2, filler);
        table[0] = bytes;
        EXPECT_EQ(main(table.data()), 0);
        return table;
    }

    HMODULE library = nullptr;
    MainEntry main = nullptr;
};

TEST_F(PluginDll, NothingButMainIsFoundByName)
{
    for (const char* name : {"DbgVersion", "DbgInitialize", "DbgTerminateRunTime", "intializeEvaluatorFunctions",
                             "decNumberAdd", "tarnelxEntry", "Cobol_Parser_LL_parse_Interface_Expression"})
        EXPECT_EQ(GetProcAddress(library, name), nullptr) << name;
}

TEST_F(PluginDll, MainFillsTablesOfEverySize)
{
    // The whole table: 65 words, 65 words' bytes in word 0.
    const std::vector<Word> whole = tableOf(65 * wordBytes);
    EXPECT_EQ(whole[0], 65 * wordBytes);
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
    const std::vector<Word> none = tableOf(0);
    EXPECT_EQ(none[0], 0u);
    EXPECT_EQ(none[1], filler);

    // Two words: word 1 only.
    const std::vector<Word> two = tableOf(2 * wordBytes);
    EXPECT_EQ(two[0], 2 * wordBytes);
    EXPECT_EQ(two[1], whole[1]);
    EXPECT_EQ(two[2], filler);

    // 100 words: the 65 words, and zeros up to word 99.
    const std::vector<Word> longer = tableOf(100 * wordBytes);
    EXPECT_EQ(longer[0], 100 * wordBytes);
    for (unsigned word = 1; word < 65; ++word)
        EXPECT_EQ(longer[word], whole[word]) << word;
    for (unsigned word = 65; word < 100; ++word)
        EXPECT_EQ(longer[word], 0u) << word;
    EXPECT_EQ(longer[100], filler);
}

TEST_F(PluginDll, EntryPointsRunInTheEvaluatorsModeAndGiveTheHostItsOwnBack)
{
    const std::vector<Word> table = tableOf(65 * wordBytes);
    auto initialize = reinterpret_cast<InitializeEntry>(table[2]);
    auto terminate = reinterpret_cast<TerminateEntry>(table[34]);

    // The host: upward, 53-bit, overflow unmasked, no flags raised.
    const FpuState before = fpuState();
    const FpuState host = setHostMode();

    TestHost testHost(false);
    testHost.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2TraceEnabled, &recordingTraceSwitch);
    seenByCallback = {};
    EXPECT_EQ(initialize(&testHost.table()), 1);
    const FpuState after = fpuState();
    terminate();
    restoreControlWords(before);

    expectEvaluatorMode(seenByCallback);
    EXPECT_EQ(after.control, host.control);
    EXPECT_EQ(after.mxcsr, host.mxcsr);
}

} // namespace
