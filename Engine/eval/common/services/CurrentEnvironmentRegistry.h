#ifndef NORVEXA_SERVICES_CURRENTENVIRONMENTREGISTRY_H
#define NORVEXA_SERVICES_CURRENTENVIRONMENTREGISTRY_H

#include <atomic>

class EvaluationEnvironment;

// Where each thread's current evaluation environment is kept, and which
// environments are alive.
//
// The current environment of a thread lives in the utility library's keyed
// thread value "EvaluationEnvironment". The host may free an environment on
// another thread than the one that made it current (a stored expression
// freed by a second thread), so the slots of every live thread are listed
// here, and an environment that dies is taken out of all of them: no thread
// is left with a dangling current environment. Slots are read and written
// atomically, because a dying environment clears other threads' slots.
class CurrentEnvironmentRegistry {
public:
    // The calling thread's current environment, or null. Inline: the
    // evaluator asks for it many times per request.
    static EvaluationEnvironment* current()
    {
        return static_cast<EvaluationEnvironment*>(
            std::atomic_ref<void*>(*threadSlot()).load(std::memory_order_acquire));
    }
    // Makes env (may be null) the calling thread's current environment and
    // returns the one that was current before.
    static EvaluationEnvironment* exchange(EvaluationEnvironment* env);
    // Makes env current again when it is still alive, else leaves the thread
    // with none; for restoring an environment saved earlier, which another
    // thread may have freed since.
    static void restore(EvaluationEnvironment* env);

    // An environment is alive from born to dying. dying also takes it out of
    // every thread's slot.
    static void born(const EvaluationEnvironment* env);
    static void dying(const EvaluationEnvironment* env) noexcept;
    static bool isAlive(const EvaluationEnvironment* env);

private:
    class ThreadSlot;

    // The calling thread's slot.
    static void** threadSlot()
    {
#if !defined(_WIN32)
        if (void** slot = knownSlot_) [[likely]]
            return slot;
#endif
        return madeSlot();
    }
    // The calling thread's slot, made and listed on the thread's first use.
    static void** madeSlot();

#if !defined(_WIN32)
    // The calling thread's slot once made: a plain pointer, read without the
    // guard of a thread-local object. Cleared when the slot is unlisted.
    // Windows keeps no such copy: there a thread-local variable touched while
    // the thread ends is made anew (see ThreadOwned.h).
    static constinit thread_local void** knownSlot_;
#endif
};

#endif
