#include "machine/StackItem.h"

#include "tree/RootTreeNode.h"

void StackItem::releaseTreeRoot()
{
    RootTreeNode* root = treeRoot_;
    if (root == nullptr)
        return;
    treeRoot_ = nullptr;
    root->removeReference();
}
