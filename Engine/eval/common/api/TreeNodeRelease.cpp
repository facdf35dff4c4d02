// A node's context and releasing nodes: reached by name only.

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/TreeNodeEntryPoints.h"
#include "services/EvaluationEnvironment.h"
#include "tree/UpdateTreeNode.h"

UBYTE2 DbgGetTreeNodeContext(UpdateTreeNode* node, const LCC_Eval_Context_Info** out)
{
    return EntryFrame::run("UBYTE2 DbgGetTreeNodeContext(UpdateTreeNode*, const LCC_Eval_Context_Info**)", __LINE__,
                           UBYTE2(statusFailure), [&](EntryFrame&) -> UBYTE2 {
                               if (!LiveRepresentations::isLiveNode(node) || out == nullptr)
                                   return statusFailure;
                               EvaluationEnvironment* environment = node->internalRep();
                               if (environment == nullptr)
                                   return statusFailure;
                               *out = environment->context();
                               return statusSuccess;
                           });
}

void DbgFreeTreeNodeInfo(UpdateTreeNode* node)
{
    EntryFrame::runQuietly("void DbgFreeTreeNodeInfo(UpdateTreeNode*)", __LINE__, [&](EntryFrame&) {
        // Only a reference the host holds is given back: a second free, or
        // a node never handed out, is left alone.
        if (LiveRepresentations::takeBackNode(node))
            node->removeReference();
    });
}
