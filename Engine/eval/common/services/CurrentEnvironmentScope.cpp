#include "services/CurrentEnvironmentScope.h"

#include "services/CurrentEnvironmentRegistry.h"
#include "services/EvaluationEnvironment.h"

CurrentEnvironmentScope::CurrentEnvironmentScope(EvaluationEnvironment& env, const LCC_Eval_Context_Info* context)
    : previous_(env.makeCurrent(context))
{}

CurrentEnvironmentScope::~CurrentEnvironmentScope()
{
    CurrentEnvironmentRegistry::restore(previous_);
}
