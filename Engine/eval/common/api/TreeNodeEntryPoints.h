#ifndef NORVEXA_API_TREENODEENTRYPOINTS_H
#define NORVEXA_API_TREENODEENTRYPOINTS_H

#include "HostRecords.h"
#include "HostServices.h"
#include "NorvexaExport.h"

class StackItem;
class UpdateTreeNode;

// The entry points of the tree that presents a result: its root, formatting
// and changing a node's value, a node's members and elements, its data type
// and representations, its context, and releasing nodes. Every node handed
// out carries one reference for the host, given back with
// DbgFreeTreeNodeInfo. The StackItem* of the member and element queries is
// not read.
extern "C" {

// The root node of a result, loaded with it (an SQL host variable's as it
// stands): 0, or 10000.
NORVEXA_API UBYTE2 DbgBuildRootNodeInfo(StackItem* item, UpdateTreeNode** out);

// The node's value in representation rep (below 24), at most maxLength
// long: 0, 1012 for an aggregate, 10009 for an incomplete symbol, or 10000.
// Without an item the node's tree is invalidated and out shows that there
// is no value (1012). A COBOL condition's value is followed by its
// conditional variable's name and value. The text belongs to the node (or,
// for the fixed texts, to the calling thread) until the node's next
// formatting.
NORVEXA_API UBYTE2 DbgFormatTreeValue2a(UpdateTreeNode* node, UBYTE2 rep, StackItem* item, UBYTE1** out,
                                        UBYTE4 maxLength);
NORVEXA_API UBYTE2 DbgFormatTreeValue(UpdateTreeNode* node, UBYTE2 rep, StackItem* item, UBYTE1** out);

// Writes the value of the text (in representation rep) at the node: 0, 10013
// in browse mode, 11042 for a bad context, 10000, or the update's refusal.
NORVEXA_API UBYTE2 DbgUpdateTreeValue(const LCC_Eval_Context_Info* context, StackItem* item, UpdateTreeNode* node,
                                      UBYTE2 rep, UBYTE1* text);

NORVEXA_API UBYTE2 DbgQueryStructInfo(StackItem* item, UpdateTreeNode* node, UBYTE4* count);
NORVEXA_API UBYTE2 DbgQueryArrayInfo(StackItem* item, UpdateTreeNode* node, UBYTE4* count, BYTE4* first);
// The member or element node of an index; a null child on any status but 0.
NORVEXA_API UBYTE2 Dbg2QueryStructElementInfo(StackItem* item, UpdateTreeNode* node, UBYTE8 index,
                                              UpdateTreeNode** child, UBYTE1** name);
NORVEXA_API UBYTE2 Dbg2QueryArrayElementInfo(StackItem* item, UpdateTreeNode* node, UBYTE8 index,
                                             UpdateTreeNode** child);

// The node's representations, their result kinds, the default one, the type
// name and the data type's index and length.
NORVEXA_API UBYTE2 DbgQueryResultsRepsAndDataType(StackItem* item, UpdateTreeNode* node, UBYTE2* count, UBYTE2** reps,
                                                  UBYTE2** results, UBYTE2* defaultRep, UBYTE1** typeName,
                                                  UBYTE2* dataType, UBYTE2* length);
NORVEXA_API UBYTE2 DbgQueryResultType(StackItem* item, UpdateTreeNode* node, UBYTE2* count, UBYTE2** reps,
                                      UBYTE2** results, UBYTE2* defaultRep, UBYTE1** typeName);

NORVEXA_API UBYTE2 DbgGetTreeNodeContext(UpdateTreeNode* node, const LCC_Eval_Context_Info** out);
// Gives back one reference; the last destroys the node. Null does nothing.
NORVEXA_API void DbgFreeTreeNodeInfo(UpdateTreeNode* node);
}

class RootTreeNode;
// The root of a result with one reference added, for the library's own use
// (the host's goes through DbgBuildRootNodeInfo).
RootTreeNode* buildRootNode(StackItem& item);

#endif
