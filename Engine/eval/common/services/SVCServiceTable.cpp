// SVC: the evaluator's copy of the host's service table and its
// installation.

#include "services/SVC.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "services/SVCState.h"

namespace {

// The table before any is installed: every slot null, the own size in the
// size word.
constinit const DBG2_SERVICE_FUNCTIONS emptyTable = [] {
    DBG2_SERVICE_FUNCTIONS table{};
    table.size = sizeof table;
    return table;
}();

constinit std::atomic<const DBG2_SERVICE_FUNCTIONS*> installedTable{&emptyTable};

// Every table ever published. A thread may have read the installed pointer
// just before a newer table replaced it, so none is freed; the registry is
// never destroyed, so a late reader during shut-down still finds its table.
struct PublishedTables {
    std::mutex lock;
    std::vector<std::unique_ptr<DBG2_SERVICE_FUNCTIONS>> tables;
};

PublishedTables& publishedTables()
{
    static PublishedTables* registry = new PublishedTables;
    return *registry;
}

} // namespace

const DBG2_SERVICE_FUNCTIONS& SVCState::table()
{
    return *installedTable.load(std::memory_order_acquire);
}

void SVCState::publish(const DBG2_SERVICE_FUNCTIONS* hostTable)
{
    if (hostTable == nullptr) {
        installedTable.store(&emptyTable, std::memory_order_release);
        return;
    }
    auto copy = std::make_unique<DBG2_SERVICE_FUNCTIONS>();
    std::memset(copy.get(), 0, sizeof *copy);
    size_t count = hostTable->size < sizeof *copy ? hostTable->size : sizeof *copy;
    // Only whole slots: a size word that ends inside a slot must not leave
    // half a function pointer in the copy.
    count -= count % sizeof(void*);
    std::memcpy(copy.get(), hostTable, count);
    copy->size = sizeof *copy;
    PublishedTables& registry = publishedTables();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.tables.push_back(std::move(copy));
    installedTable.store(registry.tables.back().get(), std::memory_order_release);
}

constinit std::atomic<bool> SVC::traceFlag_{false};

std::atomic<bool>& SVCState::traceSwitch()
{
    return SVC::traceFlag_;
}

bool SVC::InitializeServiceFunctions(DBG2_SERVICE_FUNCTIONS* hostTable)
{
    SVCState::publish(hostTable);
    if (hostTable == nullptr)
        return false;
    if (Expr2TraceEnabled() != 0)
        traceFlag_.store(true, std::memory_order_relaxed);
    SVCState::indent() = 0;
    return true;
}

const DBG2_SERVICE_FUNCTIONS* SVC::callBacks()
{
    return &SVCState::table();
}
