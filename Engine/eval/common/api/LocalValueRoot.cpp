#include "api/LocalValueRoot.h"

#include "machine/StackItem.h"
#include "tree/RootTreeNode.h"

bool refreshValueRoot(StackItem& value, unsigned localNumber, bool associated)
{
    const bool fresh = !value.hasTreeRoot();
    RootTreeNode* root = value.getTreeRoot();
    // A new root (the first, or the one after the host was told to rebuild)
    // takes the state as its baseline: it has shown nothing yet.
    if (fresh)
        root->changed(associated);
    root->setLocalNum(static_cast<int>(localNumber));
    root->invalidate();
    const bool changed = root->changed(associated);
    root->loadResult(value);
    return changed;
}

const unsigned char* shownValueBytes(StackItem& value)
{
    return value.getTreeRoot()->evaluationBuffer();
}
