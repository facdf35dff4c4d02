#include "services/CurrentEnvironmentQueries.h"
#include "services/CurrentEnvironmentStandIn.h"

#include "services/EvaluationEnvironment.h"
#include "types/EnvironmentTypes.h"

namespace CurrentEnvironment {

// The answers come from the calling thread's current evaluation environment.
// A thread with none (host services used outside any request) answers from
// its stand-in state.

State& currentEnvironmentState()
{
    thread_local State state;
    return state;
}

const LCC_Eval_Context_Info* currentContext()
{
    if (EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull())
        return env->context();
    return currentEnvironmentState().context;
}

bool isCobol()
{
    if (EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull())
        return env->language() == EvaluationEnvironment::languageCOBOL;
    return currentEnvironmentState().cobol;
}

int frameIndex()
{
    if (EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull())
        return env->frameIndex();
    return currentEnvironmentState().frame;
}

void setFrameIndex(int frame)
{
    if (EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull())
        env->setEvaluationStackFrame(frame, nullptr);
    else
        currentEnvironmentState().frame = frame;
}

const char* ebcdicCodePageName()
{
    if (EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull())
        return env->getEBCDICcodepage();
    const char* name = currentEnvironmentState().codePage;
    return name != nullptr ? name : "";
}

const _TYPE_ENTRY* cachedTypeEntry(TYPE_INDEX index)
{
    if (EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull())
        return env->typeCache().find(index);
    return nullptr;
}

const _TYPE_ENTRY* createdTypeEntry(TYPE_INDEX index)
{
    if (EvaluationEnvironment::currentOrNull() == nullptr)
        return nullptr;
    const TypeItem* created = CreatedTypeItem::findSynthesizedType(index);
    return created != nullptr ? created->typeEntry() : nullptr;
}

void cacheTypeEntry(TYPE_INDEX index, const _TYPE_ENTRY* entry)
{
    // Indices of created types ({-1, n}) are numbered afresh by every reset
    // of the environment; caching one would hide a later type that reuses its
    // number. Static types ({-2, n}) carry their entry in the static table,
    // which answers them without the cache, and a static entry taken out of
    // the table must not live on here.
    if (index.module == 0xFFFFFFFFu || index.module == 0xFFFFFFFEu)
        return;
    if (EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull())
        env->typeCache().add(index, entry);
}

} // namespace CurrentEnvironment
