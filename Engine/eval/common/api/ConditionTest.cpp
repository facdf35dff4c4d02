// An expression evaluated as a condition: true, false, or the failures the
// host tells apart.

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/ExpressionEntryPoints.h"
#include "api/StatusMappings.h"
#include "machine/RuntimeStack.h"
#include "services/ExpressionRepresentation.h"
#include "machine/StackItem.h"
#include "services/InvalidOp.h"
#include "services/Message.h"
#include "types/TypeItem.h"

namespace {

constexpr int messageTypeNotUsable = 12;

// A failed condition answers the status its evaluation would answer (a
// failed memory read 11051, a subscript out of range 10010, ...), so that
// it never reads as false (10000) where the evaluation tells it apart.
UBYTE2 conditionFailure(int code)
{
    switch (code) {
    case InvalidOp::RTRC_NotSupported: return statusNotSupported;
    case InvalidOp::RTRC_DivideByZero: return statusDivideByZero;
    case InvalidOp::RTRC_NotAllocated: return statusNotAllocated;
    case InvalidOp::RTRC_BadSignInNumeric:
    case InvalidOp::RTRC_BadDataInNumeric: return statusBadNumericData;
    case InvalidOp::RTRC_NotInBrowseMode: return statusFailure;
    default: return evaluationFailure(code).status;
    }
}

// Whether a value of the type can be tested as a condition: an array, a
// structure, class or union has no truth value.
bool isScalar(const TypeItem& type)
{
    return !(type.hasFlag(TypeFlags::array) || type.hasFlag(TypeFlags::arraySection) || type.isClassOrStruct() ||
             type.isUnion());
}

} // namespace

UBYTE2 DbgTestExpr(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context)
{
    static const char signature[] = "UBYTE2 DbgTestExpr(ExpressionRepresentation*, const LCC_Eval_Context_Info*)";
    return EntryFrame::run(signature, 1150, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (!LiveRepresentations::isLive(rep) || context == nullptr)
            return statusFailure;
        frame.makeCurrent(*rep, context);
        // A condition that is not scalar is refused on its validated type
        // rather than answered true or false.
        if (const StackItem* validated = rep->validationResult();
            validated != nullptr && !isScalar(validated->type())) {
            const ByteString text = rep->expression(nullptr);
            rep->message() = Message(messageTypeNotUsable, reinterpret_cast<const char*>(text.data()), nullptr);
            return statusNotSupported;
        }
        RuntimeStack& stack = rep->runtimeStack();
        try {
            const TypeItem* type = HandleEvaluate(*rep, context);
            if (type == nullptr)
                throw InvalidOp(InvalidOp::RTRC_ParserError, __PRETTY_FUNCTION__, __LINE__);
            // The same refusal when the host has released the validation's
            // type item already: the value itself has no truth value.
            if (!isScalar(*type)) {
                stack.popAll();
                const ByteString text = rep->expression(nullptr);
                rep->message() = Message(messageTypeNotUsable, reinterpret_cast<const char*>(text.data()), nullptr);
                return statusNotSupported;
            }
            const bool zero = stack.ValueOnStackIsZero();
            if (stack.count() != 0)
                throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
            return zero ? statusConditionFalse : statusConditionTrue;
        } catch (const InvalidOp& error) {
            const int code = stack.notAllocatedSeen() ? InvalidOp::RTRC_NotAllocated : error.code();
            stack.popAll();
            setEvaluationFailureMessage(*rep, code, error);
            return conditionFailure(code);
        } catch (...) {
            stack.popAll();
            return statusFailure;
        }
    });
}
