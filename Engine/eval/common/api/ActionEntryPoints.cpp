// The action table and the node actions.

#include "api/ActionEntryPoints.h"
#include "api/ActionTable.h"
#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/ExpressionEntryPoints.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "tree/UpdateTreeNode.h"

namespace {

constexpr UBYTE2 actionShowSelf = 1;
constexpr UBYTE2 actionEvaluateAgain = 2;

void enterNode(EntryFrame& frame, UpdateTreeNode& node, const char* signature)
{
    if (!LiveRepresentations::isLiveNode(&node))
        throw InvalidOp(InvalidOp::RTRC_InvalidValue, signature, __LINE__);
    EvaluationEnvironment* environment = node.internalRep();
    if (environment == nullptr)
        throw InvalidOp(InvalidOp::RTRC_AssertFail, signature, __LINE__);
    frame.makeCurrent(*environment);
}

} // namespace

const ExpressionEvaluatorAction** DbgQueryAllActions(const UBYTE1* locale)
{
    return EntryFrame::run<const ExpressionEvaluatorAction**>(
        "const ExpressionEvaluatorAction** DbgQueryAllActions(const UBYTE1*)", __LINE__, nullptr,
        [&](EntryFrame&) { return ActionTable::instance().actions(locale); });
}

const UBYTE2* DbgQueryNodeActions(UpdateTreeNode* node)
{
    static const char signature[] = "const UBYTE2* DbgQueryNodeActions(UpdateTreeNode*)";
    return EntryFrame::run<const UBYTE2*>(signature, __LINE__, nullptr, [&](EntryFrame& frame) -> const UBYTE2* {
        if (node == nullptr)
            return nullptr;
        enterNode(frame, *node, signature);
        return node->QueryNodeActions();
    });
}

UBYTE2 DbgPerformNodeAction(UpdateTreeNode* node, UBYTE2 action)
{
    static const char signature[] = "UBYTE2 DbgPerformNodeAction(UpdateTreeNode*, UBYTE2)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (node == nullptr || action != actionShowSelf)
            return statusFailure;
        enterNode(frame, *node, signature);
        return node->showSelfAction();
    });
}

UBYTE2 DbgPerformTreeAction(UpdateTreeNode* node, UBYTE2 action, StackItem** result, UBYTE1** name)
{
    static const char signature[] = "UBYTE2 DbgPerformTreeAction(UpdateTreeNode*, UBYTE2, StackItem**, UBYTE1**)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (node == nullptr || action != actionEvaluateAgain)
            return statusFailure;
        enterNode(frame, *node, signature);
        ExpressionRepresentation* rep = node->internalRep()->asExprRepresentation();
        if (rep == nullptr)
            return statusFailure;
        return DbgEvaluateExpr(rep, rep->context(), result, name);
    });
}
