#include "machine/StackItem.h"

#include "tree/RootTreeNode.h"

void StackItem::releaseTreeRoot()
{
    RootTreeNode* root = treeRoot_;
    if (root == nullptr)
        return;
    treeRoot_ = nullptr;
    // A root the host still holds must not keep pointing at this item.
    root->forgetResult(this);
    root->removeReference();
}
