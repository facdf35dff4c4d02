// The initialisation count and the entry points that move it.

#include "api/LifeCycle.h"

#include <atomic>
#include <mutex>

#include "api/EntryFrame.h"
#include "api/EntryPointsUpdateRoad.h"
#include "api/PluginEntryPoints.h"
#include "compiler/ExpressionBuild.h"
#include "services/SVC.h"

namespace {

// The count changes only under the lock, together with the copy of the
// host's table and the start and end of the core; it is read without it.
std::mutex lifeCycleLock;
std::atomic<int> initializationCount{0};

// The first initialisation: copy the host's table, start the core.
bool startEvaluator(DBG2_SERVICE_FUNCTIONS* services)
{
    if (!SVC::InitializeServiceFunctions(services))
        return false;
    // Value updates evaluate their text through the entry points.
    EntryPointsUpdateRoad::installOnce();
    return exprInit() != 0;
}

} // namespace

bool evaluatorInitialized()
{
    return initializationCount.load(std::memory_order_acquire) > 0;
}

BYTE4 DbgInitialize(DBG2_SERVICE_FUNCTIONS* services)
{
    return EntryFrame::run<BYTE4>("BYTE4 DbgInitialize(DBG2_SERVICE_FUNCTIONS*)", 792, 0, [&](EntryFrame&) -> BYTE4 {
        std::lock_guard<std::mutex> guard(lifeCycleLock);
        // A failed start leaves the count alone, so the next call starts
        // again rather than answering success for a library without a table.
        if (initializationCount.load(std::memory_order_relaxed) == 0 && !startEvaluator(services))
            return 0;
        initializationCount.fetch_add(1, std::memory_order_release);
        return 1;
    });
}

void DbgTerminateRunTime()
{
    EntryFrame::runQuietly("void DbgTerminateRunTime()", 1136, [](EntryFrame&) {
        std::lock_guard<std::mutex> guard(lifeCycleLock);
        // Never below 0: a termination without an initialisation must not
        // make the next initialisation skip the copy.
        int count = initializationCount.load(std::memory_order_relaxed);
        if (count == 0)
            return;
        initializationCount.store(count - 1, std::memory_order_release);
        if (count == 1)
            exprTerm();
    });
}
