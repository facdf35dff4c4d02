#include "machine/RuntimeStack.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "machine/StackItemArraySection.h"
#include "machine/StackItemS.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

// Fortran array sections and vector subscripts, and the text the byte code
// appends to the name of the result.

namespace {

ExpressionRepresentation& representation()
{
    ExpressionRepresentation* rep = EvaluationEnvironment::currentRep()->asExprRepresentation();
    if (rep == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return *rep;
}

// Appends the section's text, holds the section and pushes its count.
void holdAndCount(RuntimeStack& stack, std::unique_ptr<StackItemArraySection> section)
{
    representation().appendFormattedResultName(static_cast<const char*>(section->resultBuffer()));
    const std::int64_t count = section->elementCount();
    auto countItem = std::make_unique<StackItemS4>(section->environment(), static_cast<int>(count));
    stack.holdSection(section.release());
    stack.push(countItem.get());
    countItem.release();
}

// Pops the operands, top first; RTRC_Empty_Stack when there are too few
// (those popped are deleted).
template <std::size_t N>
void popOperands(RuntimeStack& stack, std::unique_ptr<StackItem> (&operands)[N])
{
    for (auto& operand : operands) {
        if (stack.top() == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Empty_Stack, __PRETTY_FUNCTION__, __LINE__);
        operand.reset(stack.pop());
    }
}

} // namespace

void RuntimeStack::genArraySection()
{
    if (!isRunning())
        return;
    std::unique_ptr<StackItem> popped[4];
    popOperands(*this, popped);
    holdAndCount(*this, std::make_unique<StackItemArraySection>(*popped[0], *popped[1], *popped[2], *popped[3]));
}

void RuntimeStack::genVectorSubscript()
{
    if (!isRunning())
        return;
    std::unique_ptr<StackItem> popped[2];
    popOperands(*this, popped);
    holdAndCount(*this, std::make_unique<StackItemArraySection>(*popped[0], *popped[1]));
}

void RuntimeStack::formatAppendIntegral()
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    const EvaluatorTypeIndex& index = top_->type().typeIndex();
    if (top_->type().typeEntry() != nullptr || index.module() != 0 || index.index() != 155)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    char text[32];
    std::snprintf(text, sizeof text, "%" PRId64, top_->asSigned());
    representation().appendFormattedResultName(text);
}

void RuntimeStack::formatAppendArraySection()
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    if (!top_->type().hasFlag(TypeFlags::arraySection))
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    representation().appendFormattedResultName(static_cast<const char*>(top_->resultBuffer()));
}
