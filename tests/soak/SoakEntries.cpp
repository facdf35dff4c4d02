#include "SoakEntries.h"

namespace {

template <class Function>
void optional(const LoadedEvaluator& e, const char* name, Function& slot)
{
    slot = reinterpret_cast<Function>(e.symbol(name));
}

} // namespace

SoakEntries::SoakEntries(const LoadedEvaluator& e)
    : RoadEntries(e), terminate(e.entry<decltype(terminate)>("DbgTerminateRunTime"))
{
    optional(e, "DbgSetDefaultRep", setDefaultRep);
    optional(e, "DbgQueryAllActions", queryAllActions);
    optional(e, "DbgBuildTypeFullName", buildTypeFullName);
    optional(e, "DbgClassDataMemberFullName", classDataMemberFullName);
    optional(e, "DbgStructElementFullName", structElementFullName);
    optional(e, "DbgDerefPointerFullName", derefPointerFullName);
    optional(e, "DbgMakeUnambiguousFullName", makeUnambiguousFullName);
}

std::vector<std::string> SoakEntries::missing() const
{
    const std::pair<const void*, const char*> optionals[] = {
        {reinterpret_cast<const void*>(setDefaultRep), "DbgSetDefaultRep"},
        {reinterpret_cast<const void*>(queryAllActions), "DbgQueryAllActions"},
        {reinterpret_cast<const void*>(buildTypeFullName), "DbgBuildTypeFullName"},
        {reinterpret_cast<const void*>(classDataMemberFullName), "DbgClassDataMemberFullName"},
        {reinterpret_cast<const void*>(structElementFullName), "DbgStructElementFullName"},
        {reinterpret_cast<const void*>(derefPointerFullName), "DbgDerefPointerFullName"},
        {reinterpret_cast<const void*>(makeUnambiguousFullName), "DbgMakeUnambiguousFullName"},
    };
    std::vector<std::string> names;
    for (const auto& [address, name] : optionals)
        if (address == nullptr)
            names.push_back(name);
    return names;
}
