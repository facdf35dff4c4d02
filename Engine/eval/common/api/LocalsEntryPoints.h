#ifndef NORVEXA_API_LOCALSENTRYPOINTS_H
#define NORVEXA_API_LOCALSENTRYPOINTS_H

#include "HostServices.h"
#include "NorvexaExport.h"

class LocalsRepresentation;
class StackItem;

// The entry points of the locals view of a stack frame, exported by their
// plain names. A view, its variables and their values belong to the
// evaluator until DbgFreeLocalVariables; the values handed out stay the same
// objects across refreshes.
extern "C" {

// Makes a view of the context's variables, stores it in *view and answers
// the number of variables. A null context stores a null view (when view is
// given) and answers 0; a null view answers 0; a view whose build failed is
// stored all the same and 0 answered.
NORVEXA_API UBYTE4 DbgBuildLocalVariables(const LCC_Eval_Context_Info* context, int language,
                                          LocalsRepresentation** view, unsigned flags);
// The value of variable n: 1 unchanged since the last refresh, 2 changed,
// 1020 the host must rebuild its tree; 10000 for a missing argument, an
// index past the last or any failure.
NORVEXA_API UBYTE2 DbgGetLocalValue(LocalsRepresentation* view, UBYTE4 n, StackItem** value);
// The name and value of variable n; answers what the host gets back for the
// variable (its symbol entry, or the member symbol of a class member), 0 on
// failure.
NORVEXA_API UBYTEP DbgGetLocalVariable(LocalsRepresentation* view, UBYTE4 n, const UBYTE1** name, StackItem** value);
// Destroys the view with its variables and values; null does nothing.
NORVEXA_API void DbgFreeLocalVariables(LocalsRepresentation* view);
// Re-reads every variable in the context's frame (65535 is frame 0).
NORVEXA_API void DbgRefreshLocalVariableFrame(LocalsRepresentation* view, const LCC_Eval_Context_Info* context,
                                              UBYTE2 frame);
// DbgRefreshLocalVariableFrame in frame 0.
NORVEXA_API void DbgRefreshLocalVariables(LocalsRepresentation* view, const LCC_Eval_Context_Info* context);
}

#endif
