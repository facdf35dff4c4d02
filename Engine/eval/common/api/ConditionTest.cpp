// An expression evaluated as a condition: true, false, or the failures the
// host tells apart.

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"
#include "machine/RuntimeStack.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"

namespace {

UBYTE2 conditionFailure(int code)
{
    switch (code) {
    case InvalidOp::RTRC_NotSupported: return statusNotSupported;
    case InvalidOp::RTRC_DivideByZero: return statusDivideByZero;
    case InvalidOp::RTRC_NotAllocated: return statusNotAllocated;
    case InvalidOp::RTRC_BadSignInNumeric:
    case InvalidOp::RTRC_BadDataInNumeric: return statusBadNumericData;
    default: return statusFailure;
    }
}

}  // namespace

UBYTE2 DbgTestExpr(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context)
{
    EntryFrame frame("UBYTE2 DbgTestExpr(ExpressionRepresentation*, const LCC_Eval_Context_Info*)", 1150);
    if (rep == nullptr || context == nullptr)
        return statusFailure;
    return frame.guard([&]() -> UBYTE2 {
        frame.makeCurrent(*rep, context);
        RuntimeStack& stack = rep->runtimeStack();
        try {
            if (HandleEvaluate(*rep, context) == nullptr)
                throw InvalidOp(InvalidOp::RTRC_ParserError, __PRETTY_FUNCTION__, __LINE__);
            const bool zero = stack.ValueOnStackIsZero();
            if (stack.count() != 0)
                throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
            return zero ? statusConditionFalse : statusConditionTrue;
        } catch (const InvalidOp& error) {
            const int code = stack.notAllocatedSeen() ? InvalidOp::RTRC_NotAllocated : error.code();
            stack.popAll();
            return conditionFailure(code);
        } catch (...) {
            stack.popAll();
            return statusFailure;
        }
    });
}
