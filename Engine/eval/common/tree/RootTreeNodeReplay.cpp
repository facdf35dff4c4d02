#include "compiler/expression_info.h"
#include "services/InvalidOp.h"
#include "tree/RootTreeNode.h"

// The element roots' way into the expression core: the byte code of the
// expression, replayed on its representation's value stack.

void RootTreeNode::replay(expression_info* info)
{
    // The replay entry of the expression core is not part of this build yet:
    // an element cannot be evaluated again and shows why.
    (void)info;
    throw InvalidOp(InvalidOp::RTRC_NotSupported, "static void RootTreeNode::replay(expression_info*)", __LINE__);
}
