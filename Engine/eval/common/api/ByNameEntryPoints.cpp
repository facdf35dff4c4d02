// The constant entry points a host reaches by name only (the table of entry
// points holds none of them): the text encoding, browse mode and the host's
// error callback. The Windows DLL, which exports main alone, leaves this
// file out.

#include "api/EntryFrame.h"
#include "api/PluginEntryPoints.h"
#include "compiler/CxxevalInterface.h"
#include "services/InvalidOp.h"

UBYTE2 DbgQueryUseUTF8()
{
    return statusUseUTF8;
}

UBYTE2 DbgSetBrowseMode(UBYTE1 mode)
{
    try {
        return static_cast<UBYTE2>(setBrowseMode(static_cast<int>(mode)) & 0xFFu);
    } catch (...) {
        return statusFailure;
    }
}

void errHandler(char*, int severity, int)
{
    static const char signature[] = "void errHandler(char*, int, int)";
    EntryFrame frame(signature, 2092);
    // Thrown past the frame on purpose: the caller of the callback receives
    // it, after the frame has written EXIT.
    if (severity >= 5)
        throw InvalidOp(InvalidOp::RTRC_ParserError, signature, 2092);
}
