// The plug-in's entry as a host meets it: libnorvexa.so loaded by path, its
// main filling the host's table, the life cycle counted across
// initialisations and terminations, and the constant entry points. This
// program links the simulated host only: the evaluator is the loaded one.

#include <atomic>
#include <barrier>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "testhost/LoadedEvaluator.h"
#include "testhost/TestHost.h"

namespace {

constexpr std::uintptr_t word = sizeof(std::uintptr_t);
constexpr std::uintptr_t filler = static_cast<std::uintptr_t>(0xA5A5A5A5A5A5A5A5ull);

// How many times an evaluator copied a host's table: every copy asks the
// host's trace switch once, and a host that counts answers it here (off).
std::atomic<unsigned> copies{0};

int countingTraceSwitch()
{
    ++copies;
    return 0;
}

void countCopies(TestHost& host)
{
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2TraceEnabled, &countingTraceSwitch);
    copies = 0;
}

class PluginEntry : public ::testing::Test {
protected:
    TestHost host{true};
    LoadedEvaluator evaluator{NORVEXA_LIBRARY_FILE};
};

// The words the evaluator fills, by the names it exports them under.
struct FilledWord {
    unsigned word;
    const char* name;
};
const FilledWord filledWords[] = {
    {1, "DbgVersion"},
    {2, "DbgInitialize"},
    {3, "DbgBuildExprIntRep"},
    {5, "DbgFreeExprIntRep"},
    {6, "DbgValidateExpr"},
    {9, "DbgBuildRootNodeInfo"},
    {11, "DbgQueryResultType"},
    {12, "DbgQueryStructInfo"},
    {13, "DbgQueryArrayInfo"},
    {15, "Dbg2QueryStructElementInfo"},
    {16, "Dbg2QueryArrayElementInfo"},
    {19, "DbgEvaluateExpr"},
    {22, "DbgUpdateTreeValue"},
    {26, "DbgArrayElementFullName"},
    {40, "DbgQueryResultsRepsAndDataType"},
    {51, "DbgFormatTreeValue2a"},
    {34, "DbgTerminateRunTime"},
};

TEST_F(PluginEntry, FilledWordsAreTheExportedEntryPointsAndTheRestAreZero)
{
    EXPECT_EQ(evaluator.mainAnswer(), 0);
    EXPECT_EQ(evaluator.word(0), 65 * word);
    std::vector<bool> filled(65, false);
    for (const FilledWord& f : filledWords) {
        SCOPED_TRACE(f.name);
        ASSERT_NE(evaluator.symbol(f.name), nullptr);
        EXPECT_EQ(evaluator.word(f.word), reinterpret_cast<std::uintptr_t>(evaluator.symbol(f.name)));
        filled[f.word] = true;
    }
    for (unsigned n = 1; n < 65; ++n) {
        if (!filled[n]) {
            EXPECT_EQ(evaluator.word(n), 0u) << "word " << n;
        }
    }
    // Reached by name only.
    for (const char* name :
         {"DbgQueryUseUTF8", "DbgSetBrowseMode", "errHandler", "DbgTestExpr", "DbgResetExprIntRep",
          "DbgFreeEvalResultInfo", "DbgFreeTypeResultInfo", "DbgExtendedErrorInfo", "DbgExtendedErrorInfo2",
          "DbgFormatTreeValue", "DbgGetTreeNodeContext", "DbgFreeTreeNodeInfo"})
        EXPECT_NE(evaluator.symbol(name), nullptr) << name;
}

TEST_F(PluginEntry, MainFillsWhatTheHostsTableHoldsAndNothingBeyond)
{
    struct Case {
        const char* what;
        std::uintptr_t sizeBytes; // the host's size word
    };
    const Case cases[] = {
        {"two words", 2 * word},
        {"the evaluator's 65", 65 * word},
        {"100 words", 100 * word},
        {"a size word of 0", 0},
        {"a size that ends inside a word", 2 * word + 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Two words of filler past the host's table show what main wrote
        // beyond it.
        const std::size_t words = (c.sizeBytes + word - 1) / word + 2;
        std::vector<std::uintptr_t> table(words, filler);
        table[0] = c.sizeBytes;
        EXPECT_EQ(evaluator.callMain(table.data()), 0);
        EXPECT_EQ(table[0], c.sizeBytes);
        const auto* bytes = reinterpret_cast<const unsigned char*>(table.data());
        for (std::uintptr_t at = word; at < words * word; ++at) {
            unsigned char expected;
            std::uintptr_t n = at / word;
            if (at >= c.sizeBytes)
                expected = 0xA5; // beyond the host's table
            else if ((n + 1) * word > c.sizeBytes || n >= 65)
                expected = 0; // part of a word, or past the evaluator's table
            else
                expected = reinterpret_cast<const unsigned char*>(&evaluator.table()[n])[at % word];
            ASSERT_EQ(bytes[at], expected) << "byte " << at;
        }
    }
    EXPECT_EQ(evaluator.callMain(nullptr), 0);
}

TEST_F(PluginEntry, ConstantAnswers)
{
    EXPECT_EQ(evaluator.entry<UBYTE4 (*)()>("DbgVersion")(), 200u);
    EXPECT_EQ(evaluator.entry<UBYTE2 (*)()>("DbgQueryUseUTF8")(), 1);
    auto browse = evaluator.entry<UBYTE2 (*)(UBYTE1)>("DbgSetBrowseMode");
    browse(0);
    // Each answer tells whether browse mode was on before the call.
    const std::pair<UBYTE1, UBYTE2> calls[] = {{1, 0}, {7, 255}, {0, 255}, {0, 0}};
    for (auto [mode, answer] : calls)
        EXPECT_EQ(browse(mode), answer) << "mode " << int(mode);
}

TEST_F(PluginEntry, ErrorCallbackThrowsFromSeverityFiveAfterItsExitTrace)
{
    ASSERT_EQ(evaluator.initialize(host), 1);
    auto errHandler = evaluator.entry<void (*)(char*, int, int)>("errHandler");
    char text[] = "ignored";
    host.clearLines();
    errHandler(text, 4, 0);
    EXPECT_ANY_THROW(errHandler(text, 5, 0));
    errHandler(text, 4, 0);
    const std::string enter = "  ENTER void errHandler(char*, int, int): (2092)";
    const std::string raised = "  InvalidOp RTRC_ParserError(14) at void errHandler(char*, int, int)(2092)  ";
    const std::string exit = "  void errHandler(0): EXIT";
    // The indent is back where it was after the throw.
    EXPECT_EQ(host.texts(), (std::vector<std::string>{enter, exit, enter, raised, exit, enter, exit}));
}

TEST_F(PluginEntry, InitialisationsAndTerminationsAreCounted)
{
    struct Case {
        const char* calls;   // I initialise, F initialise without a table, T terminate
        const char* answers; // of I and F in order
        unsigned copies;
    };
    const Case cases[] = {
        {"IITI", "111", 1},                   // two initialisations and one termination stay initialised
        {"IITTI", "111", 2}, {"TI", "1", 1},  // a termination at 0 changes nothing
        {"ITTI", "11", 2},   {"FI", "01", 1}, // a failed start is tried again by the next
        {"IF", "11", 1},                      // once started, no table is needed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls);
        TestHost fresh(false);
        countCopies(fresh);
        LoadedEvaluator loaded(NORVEXA_LIBRARY_FILE);
        std::string answers;
        for (const char* call = c.calls; *call != '\0'; ++call) {
            if (*call == 'I')
                answers += std::to_string(loaded.initialize(fresh));
            else if (*call == 'F')
                answers += std::to_string(loaded.initialize(nullptr));
            else
                loaded.terminate();
        }
        EXPECT_EQ(answers, c.answers);
        EXPECT_EQ(copies, c.copies);
    }
}

TEST_F(PluginEntry, ThreadsInitialisingAtOnceCopyOnceAndReturnAfterTheCopy)
{
    countCopies(host);
    constexpr int threads = 8;
    std::barrier start(threads);
    std::atomic<int> succeeded{0};
    std::atomic<int> returnedBeforeTheCopy{0};
    std::vector<std::thread> running;
    for (int n = 0; n < threads; ++n)
        running.emplace_back([&] {
            start.arrive_and_wait();
            if (evaluator.initialize(host) == 1)
                ++succeeded;
            if (copies != 1)
                ++returnedBeforeTheCopy;
        });
    for (std::thread& t : running)
        t.join();
    EXPECT_EQ(succeeded, threads);
    EXPECT_EQ(returnedBeforeTheCopy, 0);
    EXPECT_EQ(copies, 1u);
}

} // namespace
