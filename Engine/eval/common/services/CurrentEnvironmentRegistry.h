#ifndef NORVEXA_SERVICES_CURRENTENVIRONMENTREGISTRY_H
#define NORVEXA_SERVICES_CURRENTENVIRONMENTREGISTRY_H

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
    // The calling thread's current environment, or null.
    static EvaluationEnvironment* current();
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
};

#endif
