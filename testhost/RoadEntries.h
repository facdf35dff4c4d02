#ifndef NORVEXA_TESTHOST_ROADENTRIES_H
#define NORVEXA_TESTHOST_ROADENTRIES_H

#include "HostRecords.h"
#include "testhost/LoadedEvaluator.h"

class ExpressionRepresentation;
class StackItem;
class UpdateTreeNode;

// The entry points of the road from text to result, found by name in the
// loaded library (LoaderError when one is missing).
struct RoadEntries {
    explicit RoadEntries(const LoadedEvaluator& evaluator);

    UBYTE2 (*build)(unsigned char*, const LCC_Eval_Context_Info*, UBYTE4, UBYTE4, ExpressionRepresentation**);
    UBYTE2 (*validate)(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**);
    UBYTE2 (*evaluate)(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**, UBYTE1**);
    UBYTE2 (*test)(ExpressionRepresentation*, const LCC_Eval_Context_Info*);
    void (*freeRep)(ExpressionRepresentation*);
    void (*freeResult)(StackItem*);
    void (*freeTypeResult)(StackItem*);
    const UBYTE1* (*errorText)(ExpressionRepresentation*, const UBYTE1*);
    UBYTE2 (*rootNode)(StackItem*, UpdateTreeNode**);
    UBYTE2 (*format)(UpdateTreeNode*, UBYTE2, StackItem*, UBYTE1**, UBYTE4);
    UBYTE2 (*structInfo)(StackItem*, UpdateTreeNode*, UBYTE4*);
    UBYTE2 (*structElement)(StackItem*, UpdateTreeNode*, UBYTE8, UpdateTreeNode**, UBYTE1**);
    UBYTE2 (*resultsRepsAndDataType)(StackItem*, UpdateTreeNode*, UBYTE2*, UBYTE2**, UBYTE2**, UBYTE2*, UBYTE1**,
                                     UBYTE2*, UBYTE2*);
    UBYTE2 (*update)(const LCC_Eval_Context_Info*, StackItem*, UpdateTreeNode*, UBYTE2, UBYTE1*);
    void (*freeNode)(UpdateTreeNode*);
    UBYTE2 (*browseMode)(UBYTE1);
};

#endif
