#include "api/ResultRootLink.h"

#include "machine/StackItem.h"
#include "tree/RootTreeNode.h"

void invalidateResultRoot(StackItem& validation)
{
    validation.getTreeRoot()->invalidate();
}

void handResultToRoot(StackItem& validation, const StackItem* result)
{
    validation.getTreeRoot()->updateResult(result);
}
