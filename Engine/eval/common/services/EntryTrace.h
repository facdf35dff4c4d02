#ifndef NORVEXA_SERVICES_ENTRYTRACE_H
#define NORVEXA_SERVICES_ENTRYTRACE_H

// Brackets an operation in the trace: building one raises the trace indent
// and writes "ENTER <signature>: <message>"; leaving the scope (normally or
// by an exception) writes "EXIT" at the same indent and lowers it again.
// The guard does both; callers must not undent or write EXIT themselves.
//
//     EntryTrace trace(__PRETTY_FUNCTION__, "(%d)", __LINE__);
class EntryTrace {
public:
    EntryTrace(const char* function, const char* format, ...) __attribute__((format(NORVEXA_PRINTF_FORMAT, 3, 4)));
    // The same as EntryTrace(function, "(%d)", line), without the cost of a
    // variadic call while tracing is off.
    EntryTrace(const char* function, unsigned line);
    ~EntryTrace();

    EntryTrace(const EntryTrace&) = delete;
    EntryTrace& operator=(const EntryTrace&) = delete;

private:
    const char* _function;
};

#endif
