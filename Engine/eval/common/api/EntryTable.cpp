#include "api/EntryTable.h"

#include <cstring>

#include "api/NameBuilderEntryPoints.h"
#include "api/PluginEntryPoints.h"

namespace {

struct EntryTableRow {
    unsigned word;
    std::uintptr_t entry;
};

template <class Function>
std::uintptr_t address(Function* function)
{
    return reinterpret_cast<std::uintptr_t>(function);
}

}  // namespace

int intializeEvaluatorFunctions(std::uintptr_t* hostTable)
{
    if (hostTable == nullptr)
        return 0;
    // The one list of the table's positions; every other word is 0.
    const EntryTableRow rows[] = {
        {1, address(&DbgVersion)},
        {2, address(&DbgInitialize)},
        {26, address(&DbgArrayElementFullName)},
        {34, address(&DbgTerminateRunTime)},
    };
    std::uintptr_t own[entryTableWords] = {};
    own[0] = entryTableBytes;
    for (const EntryTableRow& row : rows)
        own[row.word] = row.entry;

    const std::uintptr_t hostBytes = hostTable[0];
    std::memset(hostTable, 0, hostBytes);
    std::uintptr_t copied = hostBytes < entryTableBytes ? hostBytes : entryTableBytes;
    copied -= copied % sizeof(std::uintptr_t);
    std::memcpy(hostTable, own, copied);
    hostTable[0] = hostBytes;
    return 0;
}
