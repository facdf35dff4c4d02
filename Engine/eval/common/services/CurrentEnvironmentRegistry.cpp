#include "services/CurrentEnvironmentRegistry.h"

#include <atomic>
#include <mutex>
#include <unordered_set>

#include <plomkit/StdThread.h>

#include <plomkit/ThreadOwned.h>

namespace {

const char currentKey[] = "EvaluationEnvironment";

// The live environments and the slots of the threads that have one. Made on
// first use and never destroyed: threads may still end after static
// destruction began.
struct Registry {
    std::mutex lock;
    std::unordered_set<const EvaluationEnvironment*> alive;
    std::unordered_set<void**> slots;
};

Registry& registry()
{
    static Registry* r = new Registry;
    return *r;
}

} // namespace

#if !defined(_WIN32)
constinit thread_local void** CurrentEnvironmentRegistry::knownSlot_ = nullptr;
#endif

// The calling thread's slot, listed for as long as the thread lives. The
// utility library's thread object is made inside the constructor, after
// this entry's own per-thread holder, so it outlives this entry, which
// unlists the slot before it goes (thread objects go in the reverse order
// of their making, and on Windows in the order their holders were made).
class CurrentEnvironmentRegistry::ThreadSlot {
public:
    ThreadSlot() : slot_(StdThread::currentThread()->_getKeyValue(currentKey))
    {
        Registry& r = registry();
        std::lock_guard<std::mutex> hold(r.lock);
        r.slots.insert(slot_);
    }
    ~ThreadSlot()
    {
#if !defined(_WIN32)
        knownSlot_ = nullptr;
#endif
        Registry& r = registry();
        std::lock_guard<std::mutex> hold(r.lock);
        r.slots.erase(slot_);
    }
    ThreadSlot(const ThreadSlot&) = delete;
    ThreadSlot& operator=(const ThreadSlot&) = delete;

    void** slot() const
    {
        return slot_;
    }

private:
    void** slot_;
};

void** CurrentEnvironmentRegistry::madeSlot()
{
    void** slot = threadOwned<ThreadSlot>([] {}).slot();
#if !defined(_WIN32)
    knownSlot_ = slot;
#endif
    return slot;
}

EvaluationEnvironment* CurrentEnvironmentRegistry::exchange(EvaluationEnvironment* env)
{
    return static_cast<EvaluationEnvironment*>(
        std::atomic_ref<void*>(*threadSlot()).exchange(env, std::memory_order_acq_rel));
}

void CurrentEnvironmentRegistry::restore(EvaluationEnvironment* env)
{
    const std::atomic_ref<void*> slot(*threadSlot());
    // Nothing to check for none, nor for the environment the slot still
    // holds (one that dies clears the slots that hold it).
    if (env == nullptr) {
        slot.store(nullptr, std::memory_order_release);
        return;
    }
    if (slot.load(std::memory_order_acquire) == env)
        return;
    Registry& r = registry();
    std::lock_guard<std::mutex> hold(r.lock);
    slot.store(env != nullptr && r.alive.count(env) != 0 ? env : nullptr, std::memory_order_release);
}

void CurrentEnvironmentRegistry::born(const EvaluationEnvironment* env)
{
    Registry& r = registry();
    std::lock_guard<std::mutex> hold(r.lock);
    r.alive.insert(env);
}

void CurrentEnvironmentRegistry::dying(const EvaluationEnvironment* env) noexcept
{
    Registry& r = registry();
    std::lock_guard<std::mutex> hold(r.lock);
    r.alive.erase(env);
    for (void** slot : r.slots) {
        void* expected = const_cast<EvaluationEnvironment*>(env);
        std::atomic_ref<void*>(*slot).compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
    }
}

bool CurrentEnvironmentRegistry::isAlive(const EvaluationEnvironment* env)
{
    Registry& r = registry();
    std::lock_guard<std::mutex> hold(r.lock);
    return r.alive.count(env) != 0;
}
