#include "api/ResultRootLink.h"

#include "machine/StackItem.h"
#include "tree/RootTreeNode.h"

void invalidateResultRoot(StackItem&)
{
}

void handResultToRoot(StackItem&, const StackItem*)
{
}
