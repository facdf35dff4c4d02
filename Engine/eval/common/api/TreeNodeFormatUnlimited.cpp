// Formatting a node's value without a length limit: reached by name only.

#include "api/EntryFrame.h"
#include "api/TreeNodeEntryPoints.h"

UBYTE2 DbgFormatTreeValue(UpdateTreeNode* node, UBYTE2 rep, StackItem* item, UBYTE1** out)
{
    return EntryFrame::run("UBYTE2 DbgFormatTreeValue(UpdateTreeNode*, UBYTE2, StackItem*, UBYTE1**)", __LINE__,
                           UBYTE2(statusFailure),
                           [&](EntryFrame&) { return DbgFormatTreeValue2a(node, rep, item, out, 65535); });
}
