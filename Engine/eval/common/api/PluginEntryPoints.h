#ifndef NORVEXA_API_PLUGINENTRYPOINTS_H
#define NORVEXA_API_PLUGINENTRYPOINTS_H

#include "HostServices.h"
#include "NorvexaExport.h"

// The entry points of the evaluator's life cycle and its constant answers,
// exported by their plain names.
extern "C" {

// Answers statusInterfaceVersion (200).
NORVEXA_API UBYTE4 DbgVersion();

// Counts one initialisation. The first (and the first after the count went
// back to 0) copies the host's callback table, switching tracing on when
// the host asks for it, and starts the expression core; it answers 1 when
// both succeeded, else 0 and the count stays as it was, so the next call
// tries again. Later calls answer 1 at once. The count and the copy are
// taken under one lock: a call on a second thread waits for the first copy.
NORVEXA_API BYTE4 DbgInitialize(DBG2_SERVICE_FUNCTIONS* services);

// Counts one termination; at 0 nothing changes. The one that takes the count
// to 0 ends the expression core; objects handed out before stay valid.
NORVEXA_API void DbgTerminateRunTime();

// Answers 1: texts exchanged with the host are UTF-8. No entry trace.
NORVEXA_API UBYTE2 DbgQueryUseUTF8();

// Sets browse mode for a non-zero mode, clears it for 0; answers 255 when
// browse mode was on before the call, else 0. No entry trace.
NORVEXA_API UBYTE2 DbgSetBrowseMode(UBYTE1 mode);

// The host's error callback: a severity below 5 is ignored; 5 and above
// throws InvalidOp RTRC_ParserError to the caller of the callback. The text
// and the third value are not read.
NORVEXA_API void errHandler(char* text, int severity, int value);
}

#endif
