#include "machine/StackItemSqltype.h"

#include "services/InvalidOp.h"

StackItemSqltype::StackItemSqltype(EvaluationEnvironment& environment, const TypeItem& type)
    : StackItem(environment, type)
{
    setHasValue(true);
}

StackItemSqltype::StackItemSqltype(const StackItemSqltype& other) : StackItem(other)
{
    setHasValue(true);
}

StackItemSqltype::~StackItemSqltype() = default;

StackItem* StackItemSqltype::clone() const
{
    return new StackItemSqltype(*this);
}

std::uint64_t StackItemSqltype::size() const
{
    return 0;
}

void StackItemSqltype::load(const DebuggeeLocation&)
{
    setHasValue(false);
    throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
}

int StackItemSqltype::isZero() const
{
    throw InvalidOp(InvalidOp::RTRC_NotAllocated, __PRETTY_FUNCTION__, __LINE__);
}
