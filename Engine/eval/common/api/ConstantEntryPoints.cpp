// The entry point that answers without a request and that the table of
// entry points holds: the interface version.

#include "api/EntryFrame.h"
#include "api/PluginEntryPoints.h"

UBYTE4 DbgVersion()
{
    return EntryFrame::run<UBYTE4>("UBYTE4 DbgVersion()", 1806, statusInterfaceVersion,
                                   [](EntryFrame&) -> UBYTE4 { return statusInterfaceVersion; });
}
