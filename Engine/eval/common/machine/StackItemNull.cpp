#include "machine/StackItemNull.h"

#include "services/InvalidOp.h"

StackItemNull::StackItemNull(EvaluationEnvironment& environment) : StackItem(environment, 0u)
{
    setHasValue(true);
}

StackItemNull::StackItemNull(const StackItemNull& other) : StackItem(other)
{
    setHasValue(true);
}

StackItemNull::~StackItemNull() = default;

StackItem* StackItemNull::clone() const
{
    return new StackItemNull(environment_);
}

std::uint64_t StackItemNull::size() const
{
    return 0;
}

void StackItemNull::load(const DebuggeeLocation&)
{
    setHasValue(false);
    throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
}

int StackItemNull::isZero() const
{
    throw InvalidOp(InvalidOp::RTRC_NotAllocated, __PRETTY_FUNCTION__, __LINE__);
}
