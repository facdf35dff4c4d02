#include "api/LocalValueRoot.h"

#include "machine/StackItem.h"
#include "tree/RootTreeNode.h"

bool refreshValueRoot(StackItem& value, unsigned localNumber, bool associated)
{
    RootTreeNode* root = value.getTreeRoot();
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
