// SVC: the host's return codes turned into InvalidOp exceptions.

#include "services/SVC.h"

#include <cstdarg>
#include <cstdio>

#include "services/InvalidOp.h"
#include "services/SVCState.h"

void SVC::throwError(int rc)
{
    if (rc == 0)
        return;
    InvalidOp::InvalidOperation code;
    switch (rc) {
    case 2: code = InvalidOp::RTRC_BadContext; break;
    case 16:
    case 17: code = InvalidOp::RTRC_CallFunctionInvalid; break;
    case 18: code = InvalidOp::RTRC_CallBadParm; break;
    case 20: code = InvalidOp::RTRC_CallFunctionTrap; break;
    case 21: code = InvalidOp::RTRC_CallFunctionTimeout; break;
    case 22:
    case 23: code = InvalidOp::RTRC_CallCatastrophe; break;
    case 25: code = InvalidOp::RTRC_CallFunctionUserAbort; break;
    case 26: code = InvalidOp::RTRC_SubscriptOutOfBounds; break;
    default: code = InvalidOp::RTRC_IntfRoutineFailed; break;
    }
    throw InvalidOp(code, "static void SVC::throwError(int)", __LINE__);
}

void SVC::throwError(int rc, const char* function, unsigned line)
{
    if (rc == 0)
        return;
    if (SVCState::tracing())
        fTrace(function, line, "rc = %d", rc);
    throwError(rc);
}

void SVC::throwError(int rc, const char* function, unsigned line, const char* format, ...)
{
    if (rc == 0)
        return;
    if (SVCState::tracing()) {
        // The message goes after "rc = <rc>; "; fTrace cuts the whole line at
        // the buffer's end.
        char message[SVCState::traceBufferSize];
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(message, sizeof message, format, args);
        va_end(args);
        if (n < 0)
            message[0] = '\0';
        fTrace(function, line, "rc = %d; %s", rc, message);
    }
    throwError(rc);
}
