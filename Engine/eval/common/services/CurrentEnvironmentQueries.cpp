#include "services/CurrentEnvironmentQueries.h"

namespace CurrentEnvironment {

State& currentEnvironmentState()
{
    thread_local State state;
    return state;
}

const LCC_Eval_Context_Info* currentContext()
{
    return currentEnvironmentState().context;
}

bool isCobol()
{
    return currentEnvironmentState().cobol;
}

int frameIndex()
{
    return currentEnvironmentState().frame;
}

void setFrameIndex(int frame)
{
    currentEnvironmentState().frame = frame;
}

const char* ebcdicCodePageName()
{
    const char* name = currentEnvironmentState().codePage;
    return name != nullptr ? name : "";
}

const _TYPE_ENTRY* cachedTypeEntry(TYPE_INDEX)
{
    return nullptr;
}

const _TYPE_ENTRY* createdTypeEntry(TYPE_INDEX)
{
    return nullptr;
}

void cacheTypeEntry(TYPE_INDEX, const _TYPE_ENTRY*)
{
}

}  // namespace CurrentEnvironment
