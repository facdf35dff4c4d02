// Counts the host hands back: the regrowth of the contained-context list is
// bounded in tries and in size, and the count of symbol entries never
// exceeds the room the caller gave.

#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "testhost/TestHostFixture.h"

namespace {

// What the hostile slot-45 host answers on its n-th call (n from 0), and how
// many entries it writes (never more than the capacity it was given).
struct ContainedAnswer {
    const char* name;
    std::vector<UBYTE4> totals; // the total reported on each call; the last repeats
    bool refused;               // whether the wrapper must refuse the host
    unsigned calls;             // how many calls the wrapper makes
    UBYTE4 listed;              // the entries listed when not refused
};

std::atomic<const ContainedAnswer*> answer{nullptr};
std::atomic<unsigned> callsMade{0};
const LCC_Eval_Context_Info* const someContext = reinterpret_cast<const LCC_Eval_Context_Info*>(0x1000);

UBYTE4 hostileContained(EXPR_CTX, EXPR_CTX* contexts, UBYTE4, UBYTE4 capacity)
{
    const ContainedAnswer& a = *answer.load();
    unsigned n = callsMade++;
    UBYTE4 total = a.totals[n < a.totals.size() ? n : a.totals.size() - 1];
    for (UBYTE4 i = 0; i < capacity && i < total; ++i)
        contexts[i] = someContext;
    return total;
}

class HostCounts : public TestHostFixture {};

TEST_F(HostCounts, ContainedContextRegrowthIsBoundedInTriesAndSize)
{
    const ContainedAnswer cases[] = {
        {"fits at once", {7}, false, 1, 7},
        {"grows once", {63, 63}, false, 2, 63},
        {"settles lower after growing", {80, 12}, false, 2, 12},
        {"grows on every call", {51, 52, 53, 54, 55, 56, 57, 58}, true, 5, 0},
        {"settles on the last regrowth", {51, 52, 53, 54, 54}, false, 5, 54},
        {"absurd total", {0xFFFFFFFFu}, true, 1, 0},
        {"just past the limit", {(1u << 20) + 1}, true, 1, 0},
        {"at the limit", {1u << 20, 3}, false, 2, 3},
        {"absurd after a sane one", {60, 0x80000000u}, true, 2, 0},
    };
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetContainedContexts, &hostileContained);
    ASSERT_TRUE(host.install());
    for (const ContainedAnswer& c : cases) {
        SCOPED_TRACE(c.name);
        answer = &c;
        callsMade = 0;
        if (c.refused) {
            try {
                SVC::ExprGetContainedContexts(someContext, CS2_BLOCK);
                ADD_FAILURE() << "the host was followed";
            } catch (const InvalidOp& e) {
                EXPECT_EQ(e.code(), InvalidOp::RTRC_IntfRoutineFailed);
            }
        } else {
            List<const LCC_Eval_Context_Info*> list = SVC::ExprGetContainedContexts(someContext, CS2_BLOCK);
            EXPECT_EQ(list.count(), c.listed);
        }
        EXPECT_EQ(callsMade.load(), c.calls);
    }
}

std::atomic<UBYTE4> symbolTotal{0};

UBYTE4 reportedSymbols(EXPR_CTX, SYMBOL_ENTRY** buffer, UBYTE4 capacity)
{
    for (UBYTE4 i = 0; i < capacity && i < symbolTotal; ++i)
        buffer[i] = nullptr;
    return symbolTotal;
}

TEST_F(HostCounts, SymbolEntryCountNeverExceedsTheRoomGiven)
{
    struct Case {
        UBYTE4 reported, capacity, filled;
    };
    const Case cases[] = {
        {0, 4, 0}, {3, 4, 3}, {4, 4, 4}, {5, 4, 4}, {0xFFFFFFFFu, 4, 4}, {9, 0, 0},
    };
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetSymbolEntries, &reportedSymbols);
    ASSERT_TRUE(host.install());
    SYMBOL_ENTRY* buffer[4] = {};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported);
        symbolTotal = c.reported;
        UBYTE4 total = 0;
        EXPECT_EQ(SVC::ExprGetSymbolEntries(someContext, buffer, c.capacity, &total), c.filled);
        // The host's own count stays available to a caller that regrows.
        EXPECT_EQ(total, c.reported);
        EXPECT_EQ(SVC::ExprGetSymbolEntries(someContext, buffer, c.capacity), c.filled);
    }
}

} // namespace
