// The service table and the trace switch are read by every host thread
// while a host (re)installs its table: readers see a whole table, old or
// new, and a coherent switch. Run under ThreadSanitizer these show any
// unsynchronised access (scripts/tsan.sh).

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "services/SVC.h"
#include "testhost/TestHostFixture.h"
#include "testseam/SVCTestSeam.h"

namespace {

int contextKindA(EXPR_CTX)
{
    return CS2_FUNCTION;
}

int contextKindB(EXPR_CTX)
{
    return CS2_BLOCK;
}

TEST(ServiceTableThreads, ReadersSeeWholeTablesWhileOneIsInstalled)
{
    // Two hosts whose tables differ in one slot and in their length: a reader
    // must see either table whole, never a mixture.
    TestHost a(true);
    TestHost b(false);
    a.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetContextType2, &contextKindA);
    b.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetContextType2, &contextKindB);
    b.shortenTable(45);
    SVCTestSeam::setTrace(false);
    ASSERT_TRUE(a.install());

    std::atomic<bool> stop{false};
    std::atomic<unsigned> mixed{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back([&] {
            while (!stop.load()) {
                const DBG2_SERVICE_FUNCTIONS* table = SVC::callBacks();
                bool isA = table->ExprGetContextType2 == &contextKindA;
                bool isB = table->ExprGetContextType2 == &contextKindB;
                // Slot 52 lies beyond b's shortened table.
                if (!(isA && table->ExprEbcdicConvert != nullptr) && !(isB && table->ExprEbcdicConvert == nullptr))
                    ++mixed;
                CONTEXT_SCOPE2 kind = SVC::ExprGetContextType2(nullptr);
                if (kind != CS2_FUNCTION && kind != CS2_BLOCK)
                    ++mixed;
                // Reads the switch; the line goes to whichever host is installed.
                SVC::fTrace("reader", 1, "kind %d", static_cast<int>(kind));
            }
        });
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE((i % 2 == 0 ? b : a).install());
    stop = true;
    for (std::thread& r : readers)
        r.join();
    EXPECT_EQ(mixed.load(), 0u);
    // a's switch is on, so installing it turned tracing on for good.
    EXPECT_TRUE(*SVC::traceEnabled());
    SVCTestSeam::setTrace(false);
}

TEST(ServiceTableThreads, TraceSwitchTurnedOnWhileOtherThreadsTrace)
{
    TestHost host(false);
    SVCTestSeam::setTrace(false);
    ASSERT_TRUE(host.install());
    std::atomic<bool> go{false};
    std::vector<std::thread> tracers;
    for (int t = 0; t < 4; ++t)
        tracers.emplace_back([&] {
            while (!go.load()) {
            }
            for (int i = 0; i < 500; ++i)
                SVC::pTrace("line %d", i);
        });
    go = true;
    host.setTraceSwitch(true);
    ASSERT_TRUE(host.install());
    for (std::thread& t : tracers)
        t.join();
    EXPECT_TRUE(*SVC::traceEnabled());
    // Once on, every line is written.
    host.clearLines();
    SVC::pTrace("after");
    EXPECT_TRUE(host.traced("after"));
    SVCTestSeam::setTrace(false);
}

} // namespace
