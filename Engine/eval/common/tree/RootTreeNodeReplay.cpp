#include "compiler/ExpressionBuild.h"
#include "compiler/expression_info.h"
#include "services/InvalidOp.h"
#include "tree/RootTreeNode.h"

// The element roots' way into the expression core: the byte code of the
// expression, replayed on its representation's value stack.

void RootTreeNode::replay(expression_info* info)
{
    // An expression that was never built (or was freed) has nothing to run:
    // the element shows that it could not be evaluated.
    if (info == nullptr || info->instructions == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, "static void RootTreeNode::replay(expression_info*)", __LINE__);
    exprEval(info);
}
