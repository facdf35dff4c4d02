// The entry point that answers without a request and that the table of
// entry points holds: the interface version.

#include "api/EntryFrame.h"
#include "api/PluginEntryPoints.h"

UBYTE4 DbgVersion()
{
    EntryFrame frame("UBYTE4 DbgVersion()", 1806);
    return statusInterfaceVersion;
}
