// A node's context and releasing nodes: reached by name only.

#include "api/EntryFrame.h"
#include "api/TreeNodeEntryPoints.h"
#include "services/EvaluationEnvironment.h"
#include "tree/UpdateTreeNode.h"

UBYTE2 DbgGetTreeNodeContext(UpdateTreeNode* node, const LCC_Eval_Context_Info** out)
{
    EntryFrame frame("UBYTE2 DbgGetTreeNodeContext(UpdateTreeNode*, const LCC_Eval_Context_Info**)", __LINE__);
    if (node == nullptr || out == nullptr)
        return statusFailure;
    return frame.guard([&]() -> UBYTE2 {
        EvaluationEnvironment* environment = node->internalRep();
        if (environment == nullptr)
            return statusFailure;
        *out = environment->context();
        return statusSuccess;
    });
}

void DbgFreeTreeNodeInfo(UpdateTreeNode* node)
{
    EntryFrame frame("void DbgFreeTreeNodeInfo(UpdateTreeNode*)", __LINE__);
    if (node == nullptr)
        return;
    frame.guardQuietly([&] { node->removeReference(); });
}
