#include "services/ExpressionRepresentation.h"

#include <cstring>

#include "compiler/expression_info.h"
#include "machine/EnvironmentStack.h"
#include "services/InvalidOp.h"

ExpressionRepresentation::ExpressionRepresentation() : EvaluationEnvironment(), stack_(RuntimeStack::allocate()) {}

ExpressionRepresentation::ExpressionRepresentation(int language, const unsigned char* text)
    : EvaluationEnvironment(language),
      text_(text, text != nullptr ? static_cast<unsigned>(std::strlen(reinterpret_cast<const char*>(text))) : 0u),
      stack_(RuntimeStack::allocate())
{}

ExpressionRepresentation::~ExpressionRepresentation()
{
    reset();
    delete stack_;
    stack_ = nullptr;
}

ByteString ExpressionRepresentation::expression(StackItem*) const
{
    return text_;
}

ExpressionRepresentation* ExpressionRepresentation::asExprRepresentation()
{
    return this;
}

void ExpressionRepresentation::reset()
{
    EvaluationEnvironment::reset();
    validationResult_ = nullptr;
    stack_->popAll();
    if (exprInfo_ != nullptr) {
        expression_info* info = exprInfo_;
        exprInfo_ = nullptr;
        exprFree(info);
        delete info;
    }
}

void ExpressionRepresentation::saveExprInfo(expression_info* info)
{
    if (info == exprInfo_)
        return;
    // The information saved before belongs to this representation: an
    // expression validated again would otherwise leak its earlier form.
    expression_info* old = exprInfo_;
    exprInfo_ = info;
    if (old != nullptr) {
        exprFree(old);
        delete old;
    }
}

expression_info* ExpressionRepresentation::exprInfo() const
{
    return exprInfo_;
}

unsigned ExpressionRepresentation::expectedSubscriptCount() const
{
    const expression_info* info = exprInfo();
    return info != nullptr ? info->subscriptCount : 0;
}

void ExpressionRepresentation::saveValidationResult(StackItem* result)
{
    validationResult_ = result;
}

StackItem* ExpressionRepresentation::validationResult() const
{
    return validationResult_;
}

void ExpressionRepresentation::initParameters()
{
    const unsigned n = exprInfo_ != nullptr ? exprInfo_->parameterCount : 0;
    if (n == 0)
        return;
    parameters_.deleteItems();
    for (unsigned i = 0; i < n; ++i)
        parameters_.append(i + 1 < n ? -2 : -1);
    flags_ |= parametersSet;
}

void ExpressionRepresentation::setParameters(const List<int>& list, int set)
{
    parameters_ = list;
    formattedName_ = ByteString();
    flags_ = static_cast<std::uint8_t>((flags_ & ~parametersSet) | (set & 1));
}

int ExpressionRepresentation::readParameter(unsigned i) const
{
    if (parameters_.count() == 0)
        return -1;
    if (i >= parameters_.count())
        throw InvalidOp(InvalidOp::RTRC_SubscriptOutOfBounds, __PRETTY_FUNCTION__, __LINE__);
    return parameters_[i];
}

bool ExpressionRepresentation::isArrayAssignment() const
{
    return (flags_ & arrayAssignment) != 0 && exprInfo_ != nullptr && exprInfo_->parameterCount != 0;
}

void ExpressionRepresentation::appendFormattedResultName(const char* text)
{
    if (text != nullptr)
        formattedName_ +=
            ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}
