#include "services/EntryTrace.h"

#include <cstdarg>

#include "services/SVC.h"

namespace {

// Writes the ENTER line.
__attribute__((format(NORVEXA_PRINTF_FORMAT, 2, 3))) void enterLine(const char* function, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    try {
        SVC::vTrace("ENTER", function, format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

} // namespace

EntryTrace::EntryTrace(const char* function, const char* format, ...) : _function(function)
{
    SVC::traceIndent();
    if (!*SVC::traceEnabled())
        return;
    va_list args;
    va_start(args, format);
    try {
        SVC::vTrace("ENTER", function, format, args);
    } catch (...) {
        va_end(args);
        SVC::traceUndent();
        throw;
    }
    va_end(args);
}

EntryTrace::EntryTrace(const char* function, unsigned line) : _function(function)
{
    SVC::traceIndent();
    if (!*SVC::traceEnabled())
        return;
    try {
        enterLine(function, "(%d)", static_cast<int>(line));
    } catch (...) {
        SVC::traceUndent();
        throw;
    }
}

EntryTrace::~EntryTrace()
{
    // A host whose trace slot fails must not take the caller down on the
    // way out: the EXIT line is lost, the indent still goes back.
    try {
        if (*SVC::traceEnabled())
            SVC::fTrace(_function, 0, "EXIT");
    } catch (...) {
    }
    SVC::traceUndent();
}
