#include "testhost/CountingItem.h"

#include "services/InvalidOp.h"

CountingItem::CountingItem(EvaluationEnvironment& environment, int& deletions, unsigned size, const TypeItem& type)
    : StackItem(environment, type), deletions_(deletions), bytes_(size)
{
}

CountingItem::CountingItem(const CountingItem& other)
    : StackItem(other), failCheck(other.failCheck), deletions_(other.deletions_), bytes_(other.bytes_)
{
}

CountingItem::~CountingItem()
{
    ++deletions_;
}

StackItem* CountingItem::clone() const
{
    return new CountingItem(*this);
}

std::uint64_t CountingItem::size() const
{
    return bytes_.size();
}

void CountingItem::load(const DebuggeeLocation& where)
{
    setHasValue(false);
    loadBuffer(where, bytes_.empty() ? nullptr : bytes_.data());
}

void* CountingItem::resultBuffer() const
{
    return bytes_.empty() ? nullptr : const_cast<unsigned char*>(bytes_.data());
}

void CountingItem::checkValue() const
{
    ++checks;
    if (failCheck)
        throw InvalidOp(InvalidOp::RTRC_BadDataInNumeric, __PRETTY_FUNCTION__, __LINE__);
}
