#ifndef NORVEXA_API_ACTIONENTRYPOINTS_H
#define NORVEXA_API_ACTIONENTRYPOINTS_H

#include "HostServices.h"
#include "NorvexaExport.h"

class StackItem;
class UpdateTreeNode;

// The actions on the nodes of a result tree: 1 show self (a node action), 2
// evaluate the expression again (a tree action, on the root of an expression
// that calls a function or stores a value). Exported by their plain names.
extern "C" {

// The null-ended array of the actions the evaluator knows, named in the
// locale of the first call that succeeds (later calls keep those names).
// Null when the names cannot be read; a later call builds it. The array
// belongs to the library.
NORVEXA_API const ExpressionEvaluatorAction** DbgQueryAllActions(const UBYTE1* locale);

// The 0-ended action numbers that apply to the node, owned by the node; null
// for a null node or any failure.
NORVEXA_API const UBYTE2* DbgQueryNodeActions(UpdateTreeNode* node);

// Performs node action 1 on the node: its status. 10000 for a null node, an
// action that is not a node action, or any failure.
NORVEXA_API UBYTE2 DbgPerformNodeAction(UpdateTreeNode* node, UBYTE2 action);

// Performs tree action 2 on the node's expression: evaluates it again into
// result and name, answering as DbgEvaluateExpr does. 10000 for a null node,
// an action that is not a tree action, a node of the locals view, or any
// failure.
NORVEXA_API UBYTE2 DbgPerformTreeAction(UpdateTreeNode* node, UBYTE2 action, StackItem** result, UBYTE1** name);
}

#endif
