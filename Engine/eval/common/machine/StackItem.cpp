#include "machine/StackItem.h"

#include "services/InvalidOp.h"

StackItem::StackItem(EvaluationEnvironment& environment, const TypeItem& type)
    : type_(type), environment_(environment)
{
}

StackItem::~StackItem() = default;

std::uint64_t StackItem::asUnsigned() const
{
    throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
}
