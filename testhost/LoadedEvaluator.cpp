// What the loader harness does the same on every system: main's table, and
// the life cycle, by name where the library exports the entry points, else
// through the table's words as a Windows host reaches them. Loading and
// closing the library are in LoadedEvaluatorPosix.cpp and
// LoadedEvaluatorWindows.cpp.

#include "testhost/LoadedEvaluator.h"

#include "testhost/TestHost.h"

namespace {

constexpr unsigned initializeWord = 2;
constexpr unsigned terminateWord = 34;

} // namespace

void* LoadedEvaluator::lifeCycleEntry(const char* name, unsigned n) const
{
    void* found = symbol(name);
    if (found == nullptr)
        found = reinterpret_cast<void*>(word(n));
    if (found == nullptr)
        throw LoaderError(std::string("the plug-in reaches no ") + name);
    return found;
}

void LoadedEvaluator::fillTable()
{
    table_.assign(tableWords, 0);
    table_[0] = tableWords * sizeof(std::uintptr_t);
    mainAnswer_ = main_(table_.data());
}

void LoadedEvaluator::terminateAll()
{
    for (int n = balance_.exchange(0); n > 0; --n)
        reinterpret_cast<void (*)()>(lifeCycleEntry("DbgTerminateRunTime", terminateWord))();
}

int LoadedEvaluator::callMain(std::uintptr_t* table) const
{
    return main_(table);
}

std::uintptr_t LoadedEvaluator::word(unsigned n) const
{
    return table_.at(n);
}

BYTE4 LoadedEvaluator::initialize(TestHost& host)
{
    return initialize(host.activate());
}

BYTE4 LoadedEvaluator::initialize(DBG2_SERVICE_FUNCTIONS* services)
{
    BYTE4 answer =
        reinterpret_cast<BYTE4 (*)(DBG2_SERVICE_FUNCTIONS*)>(lifeCycleEntry("DbgInitialize", initializeWord))(services);
    if (answer == 1)
        ++balance_;
    return answer;
}

void LoadedEvaluator::terminate()
{
    reinterpret_cast<void (*)()>(lifeCycleEntry("DbgTerminateRunTime", terminateWord))();
    int n = balance_.load();
    while (n > 0 && !balance_.compare_exchange_weak(n, n - 1)) {
    }
}
