// The address an expression denotes and where the nodes of its tree live.

#include <memory>

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/ExpressionEntryPoints.h"
#include "api/ResultAddressEntryPoints.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/SVC.h"
#include "tree/UpdateTreeNode.h"

namespace {

// A result handed out by DbgEvaluateExpr, released as the host would.
struct EvaluatedResult {
    StackItem* item = nullptr;
    ~EvaluatedResult() { DbgFreeEvalResultInfo(item); }
};

EE_ADDR environmentAddress(const EvaluationEnvironment& environment, std::uint64_t value)
{
    return DebuggeeAddress(value, environment.addressSize() == 8 ? 8 : 4).toEE_ADDR();
}

bool isFortranPointer(const TypeItem& type)
{
    return type.hasFlag(TypeFlags::fortranDescriptor) && type.hasFlag(TypeFlags::pointer);
}

bool isAllocatable(const TypeItem& type)
{
    return type.hasFlag(TypeFlags::fortranDescriptor) && type.hasFlag(TypeFlags::descriptorObject);
}

// Makes the item's environment current and runs the node's query; a
// result or node the host does not hold is refused.
template <class Query>
UBYTE2 nodeQuery(EntryFrame& frame, const LCC_Eval_Context_Info* context, StackItem& item, UpdateTreeNode& node,
                 Query query)
{
    if (!LiveRepresentations::isLiveResult(&item) || !LiveRepresentations::isLiveNode(&node))
        return statusFailure;
    frame.makeCurrent(item.environment(), context);
    return query();
}

} // namespace

UBYTE2 Dbg2ResultAddress(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context, EE_ADDR* address)
{
    return EntryFrame::run(
        "UBYTE2 Dbg2ResultAddress(ExpressionRepresentation*, const LCC_Eval_Context_Info*, EE_ADDR*)", __LINE__,
        UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
            if (!LiveRepresentations::isLive(rep) || address == nullptr || rep->validationResult() == nullptr)
                return statusFailure;
            frame.makeCurrent(*rep, context);
            EvaluatedResult result;
            UBYTE1* name = nullptr;
            const UBYTE2 status = DbgEvaluateExpr(rep, context, &result.item, &name);
            if (status == statusDivideByZero || status == statusNotAllocated)
                return status;
            if (status != statusSuccess || result.item == nullptr)
                return statusFailure;
            const StackItem& value = *result.item;
            const TypeItem& type = value.type();
            if (isFortranPointer(type) && !type.isAssociated())
                return statusNotAssociated;
            if (isAllocatable(type) && !type.isAllocated())
                return statusNotAllocated;
            const std::uint64_t target = value.asUnsigned();
            if (!type.hasFlag(TypeFlags::reference)) {
                *address = environmentAddress(*rep, target);
                return statusSuccess;
            }
            std::unique_ptr<StackItem> referent(RuntimeStack::makeStackItem(type.referent(), context));
            if (referent == nullptr)
                return statusFailure;
            try {
                referent->load(DebuggeeLocation(DebuggeeAddress(target, rep->addressSize() == 8 ? 8 : 4)));
            } catch (...) {
                return statusNotAllocated;
            }
            *address = environmentAddress(*rep, referent->asUnsigned());
            return statusSuccess;
        });
}

int DbgResultAddressPossible(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context)
{
    static const char signature[] =
        "int DbgResultAddressPossible(ExpressionRepresentation*, const LCC_Eval_Context_Info*)";
    return EntryFrame::run<int>(signature, __LINE__, 0, [&](EntryFrame& frame) -> int {
        if (!LiveRepresentations::isLive(rep))
            return 0;
        frame.makeCurrent(*rep);
        const StackItem* validation = rep->validationResult();
        if (validation == nullptr) {
            SVC::fTrace(signature, __LINE__, "No Validation result available");
            return 0;
        }
        if (!validation->type().hasFlag(TypeFlags::reference))
            return validation->mayBeAddress() ? 1 : 0;
        std::unique_ptr<StackItem> referent(RuntimeStack::makeStackItem(validation->type().referent(), context));
        if (referent == nullptr) {
            SVC::fTrace(signature, __LINE__, "Cannot get referent item");
            return 0;
        }
        return referent->mayBeAddress() ? 1 : 0;
    });
}

UBYTE2 DbgCalcWatchData(const LCC_Eval_Context_Info* context, StackItem* item, UpdateTreeNode* node, EE_ADDR* address,
                        UBYTE4* size)
{
    return EntryFrame::run("UBYTE2 DbgCalcWatchData(const LCC_Eval_Context_Info*, StackItem*, UpdateTreeNode*, "
                           "EE_ADDR*, UBYTE4*)",
                           __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
                               if (context == nullptr || item == nullptr || node == nullptr || address == nullptr ||
                                   size == nullptr)
                                   return statusFailure;
                               return nodeQuery(frame, context, *item, *node, [&]() -> UBYTE2 {
                                   unsigned int bytes = 0;
                                   const UBYTE2 status = node->watchData(context, *item, *address, bytes);
                                   *size = bytes;
                                   return status;
                               });
                           });
}

UBYTE2 Dbg2CalcStackItemAddress(const LCC_Eval_Context_Info* context, StackItem* item, UpdateTreeNode* node,
                                EE_ADDR* address, TYPE_INDEX* index)
{
    return EntryFrame::run(
        "UBYTE2 Dbg2CalcStackItemAddress(const LCC_Eval_Context_Info*, StackItem*, "
        "UpdateTreeNode*, EE_ADDR*, TYPE_INDEX*)",
        __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
            if (context == nullptr || item == nullptr || node == nullptr || address == nullptr || index == nullptr)
                return statusFailure;
            return nodeQuery(frame, context, *item, *node,
                             [&]() -> UBYTE2 { return node->calcStackItemAddress(context, *item, *address, *index); });
        });
}
