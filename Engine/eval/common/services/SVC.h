#ifndef NORVEXA_SERVICES_SVC_H
#define NORVEXA_SERVICES_SVC_H

#include <cstdarg>

#include "HostServices.h"

// The evaluator's side of the host's service table: a copy of the callback
// table made at initialisation, the trace, and one wrapper per host service
// that turns the host's return codes into results or InvalidOp exceptions.
// Only static members.
//
// Threads: the copy of the table and the trace switch are written once, at
// initialisation, and only read afterwards. The trace line buffer and the
// indent are kept per thread, so requests that run on several host threads
// at once never format into one buffer and keep their own nesting.
class SVC {
public:
    // ------------------------------------------------------------------
    // Initialisation and trace control
    // ------------------------------------------------------------------

    // Copies the host's table (at most the evaluator's own size, the host's
    // size word included; slots the host did not fill stay null), then writes
    // the own size into the size word; switches tracing on when the host's
    // trace switch is on (never off); sets the indent to 0. A null table
    // empties the copy and answers false.
    static bool InitializeServiceFunctions(DBG2_SERVICE_FUNCTIONS* hostTable);

    // The trace switch: false until initialisation finds the host's on.
    static bool* traceEnabled();
    // The calling thread's trace indent, in columns.
    static UBYTE4* indentValue();
    // The evaluator's copy of the host table.
    static DBG2_SERVICE_FUNCTIONS* callBacks();

    // Indent += 2; indent -= min(indent, 2).
    static void traceIndent();
    static void traceUndent();

    // ------------------------------------------------------------------
    // Trace entries. Each formats one line into the calling thread's
    // 8,192-byte buffer (cutting what does not fit) and hands it to the
    // host; each returns the length of the line, 0 when tracing is off, and
    // never throws. Every line starts with max(indent, 1) blanks.
    // ------------------------------------------------------------------

    // "<function up to its first '('>(<line>): <message>", component
    // "DOREDOZ2".
    static int fTrace(const char* function, unsigned line, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    // "<message>", component "DOREDOZ2".
    static int pTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // "<prefix> <function>: <message>" (either part may be null; with both
    // null only the message), component "DOREDOZ2".
    static int vTrace(const char* prefix, const char* function, const char* format, va_list args)
        __attribute__((format(printf, 3, 0)));
    // "<prefix> <function>(<value>) <message>" (either part may be null),
    // component "VUM_ASSIST".
    static int DATrace(const char* prefix, const char* function, int value, const char* format,
                       va_list args) __attribute__((format(printf, 4, 0)));

    // ------------------------------------------------------------------
    // Host trace slots (33, 34, 35). None of them throws: an exception
    // raised by the host's callback is dropped.
    // ------------------------------------------------------------------

    // The low 16 bits of slot 33's answer; 0 when the slot is null.
    static int Expr2TraceEnabled();
    // Hands a finished line to slot 34 when it is set.
    static void Expr2Trace(const char* component, const char* text);
    // Hands a finished line with an id to slot 35 when it is set.
    static void Expr2TraceWithID(unsigned id, const char* component, const char* text);

    // ------------------------------------------------------------------
    // Error raising and the host service wrappers (slots 1-32, 36-55)
    // ------------------------------------------------------------------

private:
    SVC() = delete;
};

#endif
