#include "machine/StackItemArraySection.h"

#include <cstdio>
#include <limits>

#include "services/InvalidOp.h"

namespace {

constexpr unsigned arraySectionIndex = 195;

} // namespace

StackItemArraySection::StackItemArraySection(EvaluationEnvironment& environment)
    : StackItem(environment, arraySectionIndex)
{
    setHasValue(true);
}

StackItemArraySection::StackItemArraySection(const StackItem& lower, const StackItem& upper, const StackItem& stride,
                                             const StackItem& fourth)
    : StackItem(lower.environment(), arraySectionIndex),
      lower_(lower.asSigned()),
      upper_(upper.asSigned()),
      stride_(stride.asSigned()),
      fourth_(fourth.asUnsigned())
{
    setHasValue(true);
    setInDebuggerAddressSpace();
}

StackItemArraySection::StackItemArraySection(const StackItem& first, const StackItem& second)
    : StackItem(second.environment(), arraySectionIndex),
      lower_(0),
      upper_(static_cast<std::int64_t>(second.asUnsigned())),
      stride_(1),
      fourth_(first.asUnsigned()),
      vector_(true)
{
    setHasValue(true);
    setInDebuggerAddressSpace();
}

StackItemArraySection::StackItemArraySection(const StackItemArraySection& other)
    : StackItem(other),
      lower_(other.lower_),
      upper_(other.upper_),
      stride_(other.stride_),
      fourth_(other.fourth_),
      vector_(other.vector_)
{}

StackItemArraySection::~StackItemArraySection() = default;

StackItem* StackItemArraySection::clone() const
{
    return new StackItemArraySection(*this);
}

std::int64_t StackItemArraySection::elementCount() const
{
    std::int64_t count = 0;
    if (vector_) {
        count = upper_;
    } else {
        if (stride_ == 0)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        // Wrapping 64-bit arithmetic: bounds at the ends of the range must
        // not trap, and the range check below catches what no longer fits.
        const std::uint64_t span = static_cast<std::uint64_t>(upper_) - static_cast<std::uint64_t>(lower_) +
                                   static_cast<std::uint64_t>(stride_);
        const std::int64_t s = static_cast<std::int64_t>(span);
        count = stride_ == -1 ? static_cast<std::int64_t>(0 - span) : s / stride_;
    }
    if (count < std::numeric_limits<std::int32_t>::min() || count > std::numeric_limits<std::int32_t>::max())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return count;
}

std::uint64_t StackItemArraySection::size() const
{
    return static_cast<std::uint64_t>(elementCount());
}

void StackItemArraySection::load(const DebuggeeLocation&)
{
    setHasValue(false);
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

void* StackItemArraySection::resultBuffer() const
{
    if (vector_)
        std::snprintf(text_, sizeof text_, "(/.../)");
    else if (stride_ == 1)
        std::snprintf(text_, sizeof text_, "%lld:%lld", static_cast<long long>(lower_), static_cast<long long>(upper_));
    else
        std::snprintf(text_, sizeof text_, "%lld:%lld:%lld", static_cast<long long>(lower_),
                      static_cast<long long>(upper_), static_cast<long long>(stride_));
    return text_;
}

void StackItemArraySection::genAdd(const StackItem&)
{
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

int StackItemArraySection::isZero() const
{
    return stride_ == 0 ? 1 : 0;
}
