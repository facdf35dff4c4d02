#ifndef NORVEXA_TESTS_SOAK_SOAKENTRIES_H
#define NORVEXA_TESTS_SOAK_SOAKENTRIES_H

#include <string>
#include <vector>

#include "HostRecords.h"
#include "testhost/LoadedEvaluator.h"
#include "testhost/RoadEntries.h"

// The entry points the soak calls, found by name in the loaded library:
// the road's (LoaderError when one is missing), termination, and optional
// ones that are null when the library does not export them; missing()
// names those.
struct SoakEntries : RoadEntries {
    explicit SoakEntries(const LoadedEvaluator& evaluator);

    // The names of the optional entry points the library does not export.
    std::vector<std::string> missing() const;

    void (*terminate)();

    // Optional.
    UBYTE2 (*setDefaultRep)(UBYTE4, UBYTE4) = nullptr;
    const ExpressionEvaluatorAction** (*queryAllActions)(const UBYTE1*) = nullptr;
    UBYTE1* (*buildTypeFullName)(const LCC_Eval_Context_Info*, TYPE_INDEX) = nullptr;
    UBYTE1* (*classDataMemberFullName)(StackItem*, UpdateTreeNode*, UBYTE1*, UBYTE1*) = nullptr;
    UBYTE1* (*structElementFullName)(StackItem*, UpdateTreeNode*, UBYTE1*, UBYTE1*) = nullptr;
    UBYTE1* (*derefPointerFullName)(StackItem*, UpdateTreeNode*, UBYTE1*) = nullptr;
    UBYTE1* (*makeUnambiguousFullName)(UBYTE1*) = nullptr;
};

#endif
