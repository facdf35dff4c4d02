#ifndef NORVEXA_API_TYPEQUERYENTRYPOINTS_H
#define NORVEXA_API_TYPEQUERYENTRYPOINTS_H

#include "HostServices.h"
#include "NorvexaExport.h"

class StackItem;
class UpdateTreeNode;

// The entry points that answer questions about types rather than values,
// exported by their plain names. Each answers 0 for success and 10000 for
// any failure unless it says otherwise.
extern "C" {

// The declaration of a variable or type called name as seen from the
// context: "<type> <name>;" for a variable; "<type> <name>" for a type that
// is no class; "<type> {\n" then "\t<type> <member>;\n" for each data member
// from the last to the first, then "};" for a class. *text receives a new
// array the caller releases with free(); on failure it is left untouched.
NORVEXA_API UBYTE2 DbgWhatIs(const UBYTE1* name, const LCC_Eval_Context_Info* context, int language, UBYTE1** text);
// The display name of a type; "" when it has none or it cannot be had. The
// text belongs to the calling thread and stays valid until its next call.
NORVEXA_API UBYTE1* DbgBuildTypeFullName(const LCC_Eval_Context_Info* context, TYPE_INDEX type);
// The data types offered in a host language; the list belongs to the
// evaluator.
NORVEXA_API UBYTE2 DbgQueryTypes(UBYTE4* count, UBYTE4** list, UBYTE4 language);
// The representations of a data type (below 41); the list belongs to the
// evaluator.
NORVEXA_API UBYTE2 DbgQueryTypeRepresentations(UBYTE4 type, UBYTE4* count, UBYTE4** list);
// Makes rep (below 24) the default representation of a data type (below
// 41) when the type offers it.
NORVEXA_API UBYTE2 DbgSetDefaultRep(UBYTE4 type, UBYTE4 rep);

// The class behind a tree node: its data-member and base-class counts, the
// context of the node's environment and the node's type.
NORVEXA_API UBYTE2 DbgQueryClassInfo(StackItem* item, UpdateTreeNode* node, UBYTE4* members, UBYTE4* bases,
                                     const LCC_Eval_Context_Info** context, TYPE_INDEX* type);
// Data member n of a node's class: the child (one reference for the
// caller, given back with DbgFreeTreeNodeInfo) and its name; a null child
// and 10000 when there is none.
NORVEXA_API UBYTE2 DbgQueryClassDataMemInfo(StackItem* item, UpdateTreeNode* node, UBYTE4 n, UpdateTreeNode** child,
                                            UBYTE1** name);
// Base class n (from 1) of a node's class, as DbgQueryClassDataMemInfo,
// with its flags.
NORVEXA_API UBYTE2 DbgQueryClassBaseClassInfo(StackItem* item, UpdateTreeNode* node, UBYTE4 n, UpdateTreeNode** child,
                                              UBYTE1** name, UBYTE4* flags);

// Shared variables of the parallel language are not offered: each answers
// 10000.
NORVEXA_API UBYTE2 DbgChangeSharedVariableElement();
NORVEXA_API UBYTE2 DbgEvaluateSharedVariableElement();
NORVEXA_API UBYTE2 DbgGetSharedVariableElement();
NORVEXA_API UBYTE2 DbgGetSharedVariableDimension();
NORVEXA_API UBYTE2 DbgGetSharedVariableProperties();
}

#endif
