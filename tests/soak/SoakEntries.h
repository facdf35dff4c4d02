#ifndef NORVEXA_TESTS_SOAK_SOAKENTRIES_H
#define NORVEXA_TESTS_SOAK_SOAKENTRIES_H

#include <string>
#include <vector>

#include "HostRecords.h"
#include "testhost/LoadedEvaluator.h"

class ExpressionRepresentation;
class StackItem;
class UpdateTreeNode;
struct ExpressionEvaluatorAction;

// The entry points the soak calls, found by name in the loaded library.
// The road's entry points must be there (LoaderError otherwise); the
// optional ones are null when the library does not export them, and
// missing() names those.
struct SoakEntries {
    explicit SoakEntries(const LoadedEvaluator& evaluator);

    // The names of the optional entry points the library does not export.
    std::vector<std::string> missing() const;

    UBYTE2 (*build)(unsigned char*, const LCC_Eval_Context_Info*, UBYTE4, UBYTE4, ExpressionRepresentation**);
    UBYTE2 (*validate)(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**);
    UBYTE2 (*evaluate)(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**, UBYTE1**);
    void (*freeRep)(ExpressionRepresentation*);
    void (*freeResult)(StackItem*);
    void (*freeTypeResult)(StackItem*);
    const UBYTE1* (*errorText)(ExpressionRepresentation*, const UBYTE1*);
    UBYTE2 (*rootNode)(StackItem*, UpdateTreeNode**);
    UBYTE2 (*format)(UpdateTreeNode*, UBYTE2, StackItem*, UBYTE1**, UBYTE4);
    UBYTE2 (*update)(const LCC_Eval_Context_Info*, StackItem*, UpdateTreeNode*, UBYTE2, UBYTE1*);
    void (*freeNode)(UpdateTreeNode*);
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
