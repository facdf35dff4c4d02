// The shared-variable entry points of the parallel language: present for
// the host, refusing every request.

#include "api/TypeQueryEntryPoints.h"

#include "HostStatusCodes.h"

UBYTE2 DbgChangeSharedVariableElement()
{
    return statusFailure;
}

UBYTE2 DbgEvaluateSharedVariableElement()
{
    return statusFailure;
}

UBYTE2 DbgGetSharedVariableElement()
{
    return statusFailure;
}

UBYTE2 DbgGetSharedVariableDimension()
{
    return statusFailure;
}

UBYTE2 DbgGetSharedVariableProperties()
{
    return statusFailure;
}
