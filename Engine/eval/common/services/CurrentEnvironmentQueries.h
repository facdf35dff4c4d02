#ifndef NORVEXA_SERVICES_CURRENTENVIRONMENTQUERIES_H
#define NORVEXA_SERVICES_CURRENTENVIRONMENTQUERIES_H

#include "HostRecords.h"

// What the host-service wrappers (SVC) need to know of the request in
// progress: its context, whether it is a COBOL request, its selected stack
// frame, its EBCDIC code page, and where type entries already resolved or
// made by the evaluator are kept.
//
// These answers belong to the calling thread's current evaluation
// environment. A thread without one (host services used outside a request)
// answers from a small per-thread stand-in state: no context, not COBOL, no
// frame selected (until a DWARF retry selects -2), code page "QUV-1047".
namespace CurrentEnvironment {

// The host context of the request (null when none is known).
const LCC_Eval_Context_Info* currentContext();

// True when the request's language is COBOL.
bool isCobol();

// The selected stack frame: >= 0 a call-stack entry, -1 none selected, -2
// while a DWARF value is retried against the top frame.
int frameIndex();

// Selects the evaluation frame without a call-stack record (the retry of a
// DWARF value sets -2).
void setFrameIndex(int frame);

// The request's EBCDIC code-page name, never null.
const char* ebcdicCodePageName();

// Type entries of the request: the entry cached for a host index (outside
// COBOL), the entry of a type the evaluator created itself ({-1, n}), and
// adding a resolved entry to the cache (the environment's TypeCache; indices
// of created and static types are never cached).
const _TYPE_ENTRY* cachedTypeEntry(TYPE_INDEX index);
const _TYPE_ENTRY* createdTypeEntry(TYPE_INDEX index);
void cacheTypeEntry(TYPE_INDEX index, const _TYPE_ENTRY* entry);

} // namespace CurrentEnvironment

#endif
