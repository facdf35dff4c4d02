#include <cstdarg>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "testseam/SVCTestSeam.h"
#include "testhost/TestHostFixture.h"

namespace {

class TraceTest : public TestHostFixture {};

__attribute__((format(NORVEXA_PRINTF_FORMAT, 3, 4))) int callVTrace(const char* prefix, const char* function,
                                                                    const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = SVC::vTrace(prefix, function, format, args);
    va_end(args);
    return n;
}

__attribute__((format(NORVEXA_PRINTF_FORMAT, 4, 5))) int callDATrace(const char* prefix, const char* function,
                                                                     int value, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = SVC::DATrace(prefix, function, value, format, args);
    va_end(args);
    return n;
}

TEST_F(TraceTest, LineLayouts)
{
    SVC::fTrace("int Scope::find(const char*) const", 42, "name=%s", "x");
    SVC::fTrace("noParenthesis", 7, "v=%d", 3);
    SVC::pTrace("plain %d", 1);
    callVTrace("ENTER", "void f(int)", "(%d)", 5);
    callVTrace("ENTER", nullptr, "only prefix");
    callVTrace(nullptr, "void g()", "only function");
    callVTrace(nullptr, nullptr, "neither");
    EXPECT_EQ(host.texts(), (std::vector<std::string>{
                                " int Scope::find(42): name=x",
                                " noParenthesis(7): v=3",
                                " plain 1",
                                " ENTER void f(int): (5)",
                                " ENTER: only prefix",
                                " void g(): only function",
                                " neither",
                            }));
    for (const auto& line : host.lines())
        EXPECT_EQ(line.component, "DOREDOZ2");
}

TEST_F(TraceTest, AssistLinesGoToTheirOwnComponent)
{
    callDATrace("UPC", "getShared", -3, "n=%d", 2);
    callDATrace("UPC", nullptr, 4, "one part");
    callDATrace(nullptr, nullptr, 5, "no parts");
    EXPECT_EQ(host.texts(), (std::vector<std::string>{" UPC getShared(-3) n=2", " UPC(4) one part", " 5) no parts"}));
    for (const auto& line : host.lines())
        EXPECT_EQ(line.component, "VUM_ASSIST");
}

TEST_F(TraceTest, EntriesAnswerTheLengthOfTheLine)
{
    EXPECT_EQ(SVC::fTrace("f(", 1, "abc"), static_cast<int>(std::string(" f(1): abc").size()));
    EXPECT_EQ(SVC::pTrace("%s", ""), 1);
}

TEST_F(TraceTest, IndentIsAtLeastOneBlankAndNeverNegative)
{
    SVC::pTrace("zero");
    SVC::traceIndent();
    SVC::pTrace("two");
    EXPECT_EQ(SVCTestSeam::indent(), 2u);
    SVCTestSeam::indent() = 1;
    SVC::traceUndent();
    EXPECT_EQ(SVCTestSeam::indent(), 0u);
    SVC::traceUndent();
    EXPECT_EQ(SVCTestSeam::indent(), 0u);
    EXPECT_EQ(host.texts(), (std::vector<std::string>{" zero", "  two"}));
}

TEST_F(TraceTest, LongMessagesAreCutAtTheBuffer)
{
    std::string longText(10000, 'm');
    SVCTestSeam::indent() = 6;
    int n = SVC::fTrace("void f()", 12, "%s", longText.c_str());
    ASSERT_EQ(host.lines().size(), 1u);
    const std::string line = host.lines()[0].text;
    EXPECT_EQ(line.size(), 8191u);
    EXPECT_EQ(n, 8191);
    EXPECT_EQ(line.substr(0, 18), "      void f(12): ");
    EXPECT_EQ(line.find_first_not_of('m', 18), std::string::npos);
}

TEST_F(TraceTest, LongHeadsAndHugeIndentsAreCutToo)
{
    std::string function(9000, 'F');
    SVC::fTrace(function.c_str(), 1, "tail");
    callVTrace("ENTER", function.c_str(), "(%d)", 1);
    callDATrace(function.c_str(), nullptr, 1, "tail");
    SVCTestSeam::indent() = 20000;
    SVC::pTrace("deep");
    ASSERT_EQ(host.lines().size(), 4u);
    for (const auto& line : host.lines())
        EXPECT_EQ(line.text.size(), 8191u);
}

TEST_F(TraceTest, NullTextsAreTakenAsEmpty)
{
    SVC::fTrace(nullptr, 3, nullptr);
    callVTrace(nullptr, nullptr, nullptr);
    EXPECT_EQ(host.texts(), (std::vector<std::string>{" (3): ", " "}));
}

TEST_F(TraceTest, EachThreadFormatsIntoItsOwnBuffer)
{
    auto worker = [](char letter) {
        std::string text(4000, letter);
        for (int i = 0; i < 200; ++i) {
            SVC::traceIndent();
            SVC::pTrace("%s", text.c_str());
            SVC::traceUndent();
        }
    };
    std::thread a(worker, 'a');
    std::thread b(worker, 'b');
    a.join();
    b.join();
    ASSERT_EQ(host.lines().size(), 400u);
    for (const auto& line : host.lines()) {
        ASSERT_EQ(line.text.size(), 4002u);
        char letter = line.text[2];
        EXPECT_EQ(line.text.find_first_not_of(letter, 2), std::string::npos);
    }
}

class TraceOff : public TestHostFixture {
protected:
    TraceOff() : TestHostFixture(false) {}
};

TEST_F(TraceOff, EntriesFormatNothing)
{
    EXPECT_EQ(SVC::fTrace("f()", 1, "x"), 0);
    EXPECT_EQ(SVC::pTrace("x"), 0);
    EXPECT_EQ(callVTrace("a", "b", "x"), 0);
    EXPECT_EQ(callDATrace("a", "b", 1, "x"), 0);
    EXPECT_TRUE(host.lines().empty());
}

// The host table as the evaluator copies it.

int answer0x10000()
{
    return 0x10000;
}

int typeEntry(EXPR_CTX, UBYTE4, UBYTE4, TYPE_ENTRY**)
{
    return 0;
}

int throwingTrace(const char*, const char*)
{
    throw std::runtime_error("host trace failed");
}

int throwingSwitch()
{
    throw std::runtime_error("host switch failed");
}

TEST(ServiceTable, CopyIsZeroUntilInstalledAndKeepsItsOwnSize)
{
    TestHost host;
    host.table().size = 10 * sizeof(void*); // the size word and slots 1-9
    host.table().ExprGetTypeEntry = &typeEntry;
    SVCTestSeam::setTrace(false);
    ASSERT_TRUE(host.install());
    const DBG2_SERVICE_FUNCTIONS* copy = SVC::callBacks();
    EXPECT_EQ(copy->size, sizeof(DBG2_SERVICE_FUNCTIONS));
    EXPECT_NE(copy->ExprGetTypeEntry, nullptr);
    // The trace slots lie beyond what the host said it filled.
    EXPECT_EQ(copy->Expr2TraceEnabled, nullptr);
    EXPECT_EQ(copy->Expr2Trace, nullptr);
    EXPECT_FALSE(*SVC::traceEnabled());
    EXPECT_EQ(SVC::Expr2TraceEnabled(), 0);
    SVC::Expr2Trace("DOREDOZ2", "nowhere");
    SVC::Expr2TraceWithID(1, "DOREDOZ2", "nowhere");
    EXPECT_TRUE(host.lines().empty());
}

TEST(ServiceTable, LargerHostTablesAreCutAtTheLastSlot)
{
    struct {
        DBG2_SERVICE_FUNCTIONS table;
        void* extra[4];
    } bigger{};
    TestHost host;
    bigger.table = host.table();
    bigger.table.size = sizeof bigger;
    for (void*& slot : bigger.extra)
        slot = reinterpret_cast<void*>(&answer0x10000);
    SVCTestSeam::setTrace(false);
    ASSERT_TRUE(host.install());
    SVCTestSeam::setTrace(false);
    EXPECT_TRUE(SVC::InitializeServiceFunctions(&bigger.table));
    EXPECT_EQ(SVC::callBacks()->size, sizeof(DBG2_SERVICE_FUNCTIONS));
    EXPECT_EQ(SVC::callBacks()->Expr2Trace, host.table().Expr2Trace);
    EXPECT_TRUE(*SVC::traceEnabled());
    SVCTestSeam::setTrace(false);
}

TEST(ServiceTable, TraceSwitchReadsTheLowSixteenBitsAndIsNeverTurnedOff)
{
    TestHost host;
    host.table().Expr2TraceEnabled = &answer0x10000;
    SVCTestSeam::setTrace(false);
    ASSERT_TRUE(host.install());
    EXPECT_FALSE(*SVC::traceEnabled());

    TestHost on(true);
    ASSERT_TRUE(on.install());
    EXPECT_TRUE(*SVC::traceEnabled());
    TestHost off(false);
    ASSERT_TRUE(off.install());
    EXPECT_TRUE(*SVC::traceEnabled());
    SVCTestSeam::setTrace(false);
}

TEST(ServiceTable, InstallResetsTheIndent)
{
    TestHost host;
    SVCTestSeam::indent() = 8;
    ASSERT_TRUE(host.install());
    EXPECT_EQ(SVCTestSeam::indent(), 0u);
    SVCTestSeam::setTrace(false);
}

TEST(ServiceTable, HostExceptionsInTraceSlotsAreDropped)
{
    TestHost host;
    host.table().Expr2Trace = &throwingTrace;
    SVCTestSeam::setTrace(false);
    ASSERT_TRUE(host.install());
    EXPECT_NO_THROW(SVC::pTrace("x"));
    host.table().Expr2TraceEnabled = &throwingSwitch;
    EXPECT_NO_THROW(host.install());
    SVCTestSeam::setTrace(false);
}

TEST(ServiceTable, NullHostTableIsRefusedAndLeavesNoSlots)
{
    TestHost host;
    ASSERT_TRUE(host.install());
    EXPECT_FALSE(SVC::InitializeServiceFunctions(nullptr));
    EXPECT_EQ(SVC::callBacks()->size, sizeof(DBG2_SERVICE_FUNCTIONS));
    EXPECT_EQ(SVC::callBacks()->Expr2Trace, nullptr);
    SVCTestSeam::setTrace(false);
}

} // namespace
