#ifndef NORVEXA_TESTHOST_ROADENTRIES_H
#define NORVEXA_TESTHOST_ROADENTRIES_H

#include "HostRecords.h"
#include "testhost/LoadedEvaluator.h"

class ExpressionRepresentation;
class StackItem;
class UpdateTreeNode;

// The entry points of the road from text to result in the loaded library.
// Those main puts in the host's table are taken from the table's words, as
// a host takes them. The others a host reaches by name only: found by name
// where the library exports them (LoaderError when it does not); null
// where it exports main alone (Windows), so that a check that needs one is
// left out there.
struct RoadEntries {
    explicit RoadEntries(const LoadedEvaluator& evaluator);

    // In the table.
    UBYTE2 (*build)(unsigned char*, const LCC_Eval_Context_Info*, UBYTE4, UBYTE4, ExpressionRepresentation**);
    void (*freeRep)(ExpressionRepresentation*);
    UBYTE2 (*validate)(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**);
    UBYTE2 (*rootNode)(StackItem*, UpdateTreeNode**);
    UBYTE2 (*structInfo)(StackItem*, UpdateTreeNode*, UBYTE4*);
    UBYTE2 (*arrayInfo)(StackItem*, UpdateTreeNode*, UBYTE4*, BYTE4*);
    UBYTE2 (*structElement)(StackItem*, UpdateTreeNode*, UBYTE8, UpdateTreeNode**, UBYTE1**);
    UBYTE2 (*arrayElement)(StackItem*, UpdateTreeNode*, UBYTE8, UpdateTreeNode**);
    UBYTE2 (*evaluate)(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**, UBYTE1**);
    UBYTE2 (*update)(const LCC_Eval_Context_Info*, StackItem*, UpdateTreeNode*, UBYTE2, UBYTE1*);
    UBYTE1* (*arrayElementName)(StackItem*, UpdateTreeNode*, UBYTE1*, BYTE4);
    UBYTE2(*resultsRepsAndDataType)
    (StackItem*, UpdateTreeNode*, UBYTE2*, UBYTE2**, UBYTE2**, UBYTE2*, UBYTE1**, UBYTE2*, UBYTE2*);
    UBYTE2 (*format)(UpdateTreeNode*, UBYTE2, StackItem*, UBYTE1**, UBYTE4);

    // By name only.
    UBYTE2 (*test)(ExpressionRepresentation*, const LCC_Eval_Context_Info*);
    void (*freeResult)(StackItem*);
    void (*freeTypeResult)(StackItem*);
    const UBYTE1* (*errorText)(ExpressionRepresentation*, const UBYTE1*);
    void (*freeNode)(UpdateTreeNode*);
    UBYTE2 (*browseMode)(UBYTE1);
};

#endif
