#ifndef NORVEXA_SERVICES_SVCSTATE_H
#define NORVEXA_SERVICES_SVCSTATE_H

#include <atomic>

#include "HostRecords.h"
#include "HostServices.h"

// The state behind SVC, shared by its parts (the table copy, the trace and
// the host wrappers) and by nothing else of the evaluator.
//
// Threads: the table copy is built whole in a table of its own and then
// published with one atomic store, so a thread that reads a slot sees either
// the old table or the new one, never a half-copied one; a table that was
// once published is never freed, since a reader may still hold it. The trace
// switch is atomic. The indent is per thread.
namespace SVCState {

// Size of the trace line buffer.
constexpr unsigned traceBufferSize = 8192;

// The installed copy of the host's table: the empty table (every slot null,
// size word set) until one is installed. Never null.
const DBG2_SERVICE_FUNCTIONS& table();

// Publishes a copy of the host's table made as InitializeServiceFunctions
// describes (null: the empty table).
void publish(const DBG2_SERVICE_FUNCTIONS* hostTable);

// The process-wide trace switch.
std::atomic<bool>& traceSwitch();

inline bool tracing()
{
    return traceSwitch().load(std::memory_order_relaxed);
}

// The calling thread's trace indent, in columns.
UBYTE4& indent();

} // namespace SVCState

#endif
