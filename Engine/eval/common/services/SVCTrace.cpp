// SVC: the trace (indent, line formatting into the calling thread's buffer)
// and the host's trace slots.

#include "services/SVC.h"

#include <cstdio>
#include <cstring>

#include "services/SVCState.h"

namespace {

using SVCState::traceBufferSize;

thread_local UBYTE4 traceIndentColumns = 0;
thread_local char traceBuffer[traceBufferSize];

const char* const traceComponent = "DOREDOZ2";
const char* const assistComponent = "VUM_ASSIST";

// How many characters snprintf-style formatting left in a buffer of room
// characters when it reported wanted (negative: an encoding error).
unsigned written(int wanted, unsigned room)
{
    if (wanted < 0 || room == 0)
        return 0;
    return static_cast<unsigned>(wanted) < room ? static_cast<unsigned>(wanted) : room - 1;
}

// Writes the indent into the buffer; returns the characters written.
unsigned formatIndent()
{
    int width = static_cast<int>(traceIndentColumns < traceBufferSize ? traceIndentColumns : traceBufferSize);
    return written(std::snprintf(traceBuffer, traceBufferSize, "%*s", width, " "), traceBufferSize);
}

// Formats the message after a head of used characters and hands the line to
// the host. Returns the length of the line.
__attribute__((format(NORVEXA_PRINTF_FORMAT, 2, 0))) int finishLine(unsigned used, const char* format, va_list args,
                                                                    const char* component)
{
    if (format != nullptr && used < traceBufferSize - 1)
        used +=
            written(std::vsnprintf(traceBuffer + used, traceBufferSize - used, format, args), traceBufferSize - used);
    traceBuffer[used] = '\0';
    SVC::Expr2Trace(component, traceBuffer);
    return static_cast<int>(used);
}

// Appends the pieces of a line head after used characters, bounded by the
// buffer; returns the new count.
unsigned appendText(unsigned used, const char* text, size_t length)
{
    if (used >= traceBufferSize - 1 || text == nullptr)
        return used;
    size_t room = traceBufferSize - 1 - used;
    if (length > room)
        length = room;
    std::memcpy(traceBuffer + used, text, length);
    used += static_cast<unsigned>(length);
    traceBuffer[used] = '\0';
    return used;
}

unsigned appendText(unsigned used, const char* text)
{
    return text == nullptr ? used : appendText(used, text, std::strlen(text));
}

// Appends "(<value>" when open is set, else "<value>", then the suffix.
unsigned appendNumber(unsigned used, bool open, long long value, const char* suffix)
{
    char number[32];
    int n = std::snprintf(number, sizeof number, open ? "(%lld" : "%lld", value);
    used = appendText(used, number, written(n, sizeof number));
    return appendText(used, suffix);
}

// Appends "prefix function" (or whichever of the two is given) and the
// separator; appends nothing when neither is given.
unsigned appendCaller(unsigned used, const char* prefix, const char* function, const char* separator)
{
    if (prefix != nullptr && function != nullptr) {
        used = appendText(used, prefix);
        used = appendText(used, " ");
        used = appendText(used, function);
        used = appendText(used, separator);
    } else if (prefix != nullptr || function != nullptr) {
        used = appendText(used, prefix != nullptr ? prefix : function);
        used = appendText(used, separator);
    }
    return used;
}

} // namespace

UBYTE4& SVCState::indent()
{
    return traceIndentColumns;
}

void SVC::traceIndent()
{
    traceIndentColumns += 2;
}

void SVC::traceUndent()
{
    traceIndentColumns -= traceIndentColumns < 2 ? traceIndentColumns : 2;
}

int SVC::fTrace(const char* function, unsigned line, const char* format, ...)
{
    if (!SVCState::tracing())
        return 0;
    unsigned used = formatIndent();
    if (function != nullptr) {
        const char* paren = std::strchr(function, '(');
        used = appendText(used, function, paren ? static_cast<size_t>(paren - function) : std::strlen(function));
    }
    used = appendNumber(used, true, static_cast<long long>(line), "): ");
    va_list args;
    va_start(args, format);
    int length = finishLine(used, format, args, traceComponent);
    va_end(args);
    return length;
}

int SVC::pTrace(const char* format, ...)
{
    if (!SVCState::tracing())
        return 0;
    va_list args;
    va_start(args, format);
    int length = vTrace(nullptr, nullptr, format, args);
    va_end(args);
    return length;
}

int SVC::vTrace(const char* prefix, const char* function, const char* format, va_list args)
{
    if (!SVCState::tracing())
        return 0;
    unsigned used = appendCaller(formatIndent(), prefix, function, ": ");
    va_list copy;
    va_copy(copy, args);
    int length = finishLine(used, format, copy, traceComponent);
    va_end(copy);
    return length;
}

int SVC::DATrace(const char* prefix, const char* function, int value, const char* format, va_list args)
{
    if (!SVCState::tracing())
        return 0;
    unsigned used = appendCaller(formatIndent(), prefix, function, "(");
    used = appendNumber(used, false, value, ") ");
    va_list copy;
    va_copy(copy, args);
    int length = finishLine(used, format, copy, assistComponent);
    va_end(copy);
    return length;
}

int SVC::Expr2TraceEnabled()
{
    EXPR2_TRACE_ENABLED slot = SVCState::table().Expr2TraceEnabled;
    if (slot == nullptr)
        return 0;
    try {
        return slot() & 0xFFFF;
    } catch (...) {
        return 0;
    }
}

void SVC::Expr2Trace(const char* component, const char* text)
{
    EXPR2_TRACE slot = SVCState::table().Expr2Trace;
    if (slot == nullptr)
        return;
    try {
        slot(component, text);
    } catch (...) {
    }
}

void SVC::Expr2TraceWithID(unsigned id, const char* component, const char* text)
{
    EXPR2_TRACE_WITH_ID slot = SVCState::table().Expr2TraceWithID;
    if (slot == nullptr)
        return;
    try {
        slot(id, component, text);
    } catch (...) {
    }
}
