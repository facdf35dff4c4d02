#ifndef NORVEXA_API_RESULTADDRESSENTRYPOINTS_H
#define NORVEXA_API_RESULTADDRESSENTRYPOINTS_H

#include "HostServices.h"
#include "NorvexaExport.h"

class ExpressionRepresentation;
class StackItem;
class UpdateTreeNode;

// Addresses in the debuggee the host needs for its own views: what an
// expression's value denotes, and where a node of a result tree lives, with
// its size or type. Addresses are as wide as the environment's (64 bits in
// an environment of 8-byte addresses, else 32). Exported by their plain
// names.
extern "C" {

// Evaluates a validated expression and writes the address its value
// denotes (for a reference, the value stored in the referenced object): 0,
// 10006 (not allocated, or the referenced object cannot be read), 10007
// (divide by zero), 10011 (not associated) or 10000. Nothing is handed out.
NORVEXA_API UBYTE2 Dbg2ResultAddress(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context,
                                     EE_ADDR* address);

// Whether the validated result (for a reference, the referenced object) can
// be taken as an address, without evaluating: nonzero yes, 0 no or on any
// failure.
NORVEXA_API int DbgResultAddressPossible(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context);

// The address and byte size of a node of the result's tree (to watch it):
// 0, or 10000 for a null argument, a node outside debuggee memory or any
// failure.
NORVEXA_API UBYTE2 DbgCalcWatchData(const LCC_Eval_Context_Info* context, StackItem* item, UpdateTreeNode* node,
                                    EE_ADDR* address, UBYTE4* size);

// The address and type of a node of the result's tree (a bit-field member:
// {0, 151}): 0, or 10000 as DbgCalcWatchData.
NORVEXA_API UBYTE2 Dbg2CalcStackItemAddress(const LCC_Eval_Context_Info* context, StackItem* item, UpdateTreeNode* node,
                                            EE_ADDR* address, TYPE_INDEX* index);
}

#endif
