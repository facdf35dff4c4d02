#include "machine/StackItemEvalError.h"

namespace {

// The built-in index of an evaluation error's type.
constexpr unsigned evaluationErrorType = 223;

} // namespace

StackItemEvalError::StackItemEvalError(EvaluationEnvironment& environment, const ByteString& text)
    : StackItem(environment, evaluationErrorType), text_(text)
{
    setInDebuggerAddressSpace();
    setHasValue(true);
}

StackItemEvalError::StackItemEvalError(const StackItemEvalError& other) : StackItem(other), text_(other.text_)
{
    setInDebuggerAddressSpace();
}

StackItemEvalError::~StackItemEvalError() = default;

bool StackItemEvalError::isString() const
{
    return true;
}

StackItem* StackItemEvalError::clone() const
{
    return new StackItemEvalError(*this);
}

std::uint64_t StackItemEvalError::size() const
{
    return text_.length();
}

std::uint64_t StackItemEvalError::stringLength() const
{
    return text_.length();
}

void* StackItemEvalError::resultBuffer() const
{
    return const_cast<unsigned char*>(text_.data());
}

const char* StackItemEvalError::evaluationError() const
{
    return reinterpret_cast<const char*>(text_.data());
}

void StackItemEvalError::load(const DebuggeeLocation&) {}
