#include "api/EntryTable.h"

#include <cstring>

#include "api/ExpressionEntryPoints.h"
#include "api/NameBuilderEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"

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

} // namespace

int intializeEvaluatorFunctions(std::uintptr_t* hostTable)
{
    if (hostTable == nullptr)
        return 0;
    // The one list of the table's positions; every other word is 0.
    const EntryTableRow rows[] = {
        {1, address(&DbgVersion)},
        {2, address(&DbgInitialize)},
        {3, address(&DbgBuildExprIntRep)},
        {5, address(&DbgFreeExprIntRep)},
        {6, address(&DbgValidateExpr)},
        {9, address(&DbgBuildRootNodeInfo)},
        {11, address(&DbgQueryResultType)},
        {12, address(&DbgQueryStructInfo)},
        {13, address(&DbgQueryArrayInfo)},
        {15, address(&Dbg2QueryStructElementInfo)},
        {16, address(&Dbg2QueryArrayElementInfo)},
        {19, address(&DbgEvaluateExpr)},
        {22, address(&DbgUpdateTreeValue)},
        {26, address(&DbgArrayElementFullName)},
        {40, address(&DbgQueryResultsRepsAndDataType)},
        {51, address(&DbgFormatTreeValue2a)},
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
