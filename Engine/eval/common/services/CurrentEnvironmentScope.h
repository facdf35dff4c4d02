#ifndef NORVEXA_SERVICES_CURRENTENVIRONMENTSCOPE_H
#define NORVEXA_SERVICES_CURRENTENVIRONMENTSCOPE_H

#include "HostRecords.h"

class EvaluationEnvironment;

// Makes an environment current on the calling thread for the life of the
// scope and puts the one that was current before back on every exit,
// exceptions included. When the earlier environment was freed meanwhile (by
// another thread), the thread is left with none instead.
class CurrentEnvironmentScope {
public:
    // A non-null context also becomes the environment's context.
    explicit CurrentEnvironmentScope(EvaluationEnvironment& env, const LCC_Eval_Context_Info* context = nullptr);
    ~CurrentEnvironmentScope();

    CurrentEnvironmentScope(const CurrentEnvironmentScope&) = delete;
    CurrentEnvironmentScope& operator=(const CurrentEnvironmentScope&) = delete;

    // The environment that was current when the scope began (null when none).
    EvaluationEnvironment* previous() const { return previous_; }

private:
    EvaluationEnvironment* previous_;
};

#endif
