// Runs of an expression's byte code: one run, and the runs of an array
// assignment (once for the section, once per element).

#include <memory>

#include "api/ExpressionEntryPoints.h"
#include "api/LifeCycle.h"
#include "compiler/ExpressionBuild.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemArraySection.h"
#include "services/CurrentEnvironmentScope.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

namespace {

[[noreturn]] void fail(InvalidOp::InvalidOperation code, unsigned line)
{
    throw InvalidOp(code, __PRETTY_FUNCTION__, line);
}

} // namespace

const TypeItem* HandleEvaluate(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context)
{
    if (!evaluatorInitialized())
        fail(InvalidOp::RTRC_Other, __LINE__);
    try {
        rep.makeCurrent(context);
        rep.setEvaluationStackFrame(-1, nullptr);
        rep.runtimeStack().popAll();
        rep.evaluationValues().deleteItems();
        return exprEval(rep.exprInfo());
    } catch (...) {
        rep.setEvaluationStackFrame(-1, nullptr);
        throw;
    }
}

const TypeItem* HandleArrayEvaluate(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context)
{
    RuntimeStack& stack = rep.runtimeStack();
    const TypeItem* type = HandleEvaluate(rep, context);
    if (type == nullptr)
        fail(InvalidOp::RTRC_ParserError, __LINE__);
    if (stack.count() == 0)
        fail(InvalidOp::RTRC_Empty_Stack, __LINE__);
    std::unique_ptr<StackItem> top(stack.pop());
    if (stack.count() != 0)
        fail(InvalidOp::RTRC_Other, __LINE__);
    if (!top->type().hasFlag(TypeFlags::arraySection)) {
        stack.push(top.release());
        return type;
    }
    auto* section = dynamic_cast<StackItemArraySection*>(top.get());
    if (section == nullptr || section->isZero())
        fail(InvalidOp::RTRC_Other, __LINE__);

    const std::uint64_t index = section->fourthOperand();
    const std::uint64_t elements = section->size();
    List<int> parameters = rep.parameters();
    // The byte code names the parameter; one outside the list would write
    // past it.
    if (index >= parameters.count())
        fail(InvalidOp::RTRC_Other, __LINE__);
    if (index > 0)
        parameters[static_cast<unsigned>(index - 1)] = -1;
    for (std::uint64_t i = 0; i < elements; ++i) {
        parameters[static_cast<unsigned>(index)] = static_cast<int>(i);
        rep.setParameters(parameters, index > 0 ? 1 : 0);
        type = HandleArrayEvaluate(rep, context);
        if (type == nullptr)
            fail(InvalidOp::RTRC_ParserError, __LINE__);
        // The element's value is not kept.
        delete stack.pop();
    }
    stack.push(top.release());
    return type;
}
