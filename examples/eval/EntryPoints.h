#ifndef NORVEXA_EXAMPLES_ENTRYPOINTS_H
#define NORVEXA_EXAMPLES_ENTRYPOINTS_H

#include "HostServices.h"

class LoadedEvaluator;
class ExpressionRepresentation;
class StackItem;
class UpdateTreeNode;

// The evaluator's entry points as a host sees them: its objects are opaque
// handles the host only passes back.
namespace evalhost {

// The handles carry the library's own class names, so that each entry point
// is called through a pointer of its own function type.
using Representation = ::ExpressionRepresentation; // an expression's representation
using ResultItem = ::StackItem;                    // a validation or evaluation result
using TreeNode = ::UpdateTreeNode;                 // a node of a result's tree

using DbgVersionFn = UBYTE4 (*)();
using DbgInitializeFn = BYTE4 (*)(DBG2_SERVICE_FUNCTIONS*);
using DbgTerminateRunTimeFn = void (*)();
using DbgBuildExprIntRepFn = UBYTE2 (*)(unsigned char*, const LCC_Eval_Context_Info*, UBYTE4, UBYTE4, Representation**);
using DbgValidateExprFn = UBYTE2 (*)(Representation*, const LCC_Eval_Context_Info*, ResultItem**);
using DbgTestExprFn = UBYTE2 (*)(Representation*, const LCC_Eval_Context_Info*);
using DbgEvaluateExprFn = UBYTE2 (*)(Representation*, const LCC_Eval_Context_Info*, ResultItem**, UBYTE1**);
using DbgExtendedErrorInfoFn = const UBYTE1* (*)(Representation*, const UBYTE1*);
using DbgExtendedErrorInfo2Fn = const UBYTE1* (*)(Representation*, TreeNode*, const UBYTE1*);
using DbgBuildRootNodeInfoFn = UBYTE2 (*)(ResultItem*, TreeNode**);
using DbgQueryResultTypeFn = UBYTE2 (*)(ResultItem*, TreeNode*, UBYTE2*, UBYTE2**, UBYTE2**, UBYTE2*, UBYTE1**);
using DbgFormatTreeValue2aFn = UBYTE2 (*)(TreeNode*, UBYTE2, ResultItem*, UBYTE1**, UBYTE4);
using DbgFreeTreeNodeInfoFn = void (*)(TreeNode*);
using DbgQueryStructInfoFn = UBYTE2 (*)(ResultItem*, TreeNode*, UBYTE4*);
using DbgQueryArrayInfoFn = UBYTE2 (*)(ResultItem*, TreeNode*, UBYTE4*, BYTE4*);
using Dbg2QueryStructElementInfoFn = UBYTE2 (*)(ResultItem*, TreeNode*, UBYTE8, TreeNode**, UBYTE1**);
using Dbg2QueryArrayElementInfoFn = UBYTE2 (*)(ResultItem*, TreeNode*, UBYTE8, TreeNode**);
using DbgFreeResultFn = void (*)(ResultItem*);
using DbgFreeExprIntRepFn = void (*)(Representation*);

// The entry points the example calls, looked up by name; null when the
// library does not export one.
struct EntryPoints {
    DbgVersionFn version = nullptr;
    DbgInitializeFn initialize = nullptr;
    DbgTerminateRunTimeFn terminate = nullptr;
    DbgBuildExprIntRepFn build = nullptr;
    DbgValidateExprFn validate = nullptr;
    DbgTestExprFn test = nullptr;
    DbgEvaluateExprFn evaluate = nullptr;
    DbgExtendedErrorInfoFn errorText = nullptr;
    DbgExtendedErrorInfo2Fn nodeErrorText = nullptr;
    DbgBuildRootNodeInfoFn rootNode = nullptr;
    DbgQueryResultTypeFn resultType = nullptr;
    DbgFormatTreeValue2aFn format = nullptr;
    DbgFreeTreeNodeInfoFn freeNode = nullptr;
    DbgQueryStructInfoFn structInfo = nullptr;
    DbgQueryArrayInfoFn arrayInfo = nullptr;
    Dbg2QueryStructElementInfoFn structElement = nullptr;
    Dbg2QueryArrayElementInfoFn arrayElement = nullptr;
    DbgFreeResultFn freeEvalResult = nullptr;
    DbgFreeResultFn freeTypeResult = nullptr;
    DbgFreeExprIntRepFn freeRepresentation = nullptr;

    // The entry points the loaded library exports.
    static EntryPoints of(const LoadedEvaluator& library);
};

} // namespace evalhost

#endif
