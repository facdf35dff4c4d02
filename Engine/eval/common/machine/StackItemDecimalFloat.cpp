#include "machine/StackItemDecimalFloat.h"

#include <cstring>

#include "datatypes/FloatNumber.h"
#include "services/InvalidOp.h"

namespace {

bool isNaN(const DecimalFloat& value)
{
    return (value.number().bits & (DECNAN | DECSNAN)) != 0;
}

} // namespace

StackItemDecimalFloat::StackItemDecimalFloat(EvaluationEnvironment& environment, const DecimalFloat& value,
                                             unsigned int builtinIndex, DecimalFloat::Size size)
    : StackItem(environment, builtinIndex), value_(value), size_(size)
{
    fit();
    setHasValue(true);
}

StackItemDecimalFloat::StackItemDecimalFloat(const StackItemDecimalFloat& other)
    : StackItem(other), value_(other.value_), size_(other.size_)
{
    std::memcpy(raw_, other.raw_, sizeof raw_);
}

StackItemDecimalFloat::~StackItemDecimalFloat() = default;

void StackItemDecimalFloat::fit()
{
    if (DecimalFloat::storageBytes(size_) == 0)
        return;
    ByteString bytes;
    value_.format(bytes, size_);
    value_ = DecimalFloat(size_, bytes.data());
}

std::uint64_t StackItemDecimalFloat::size() const
{
    return DecimalFloat::storageBytes(size_);
}

void StackItemDecimalFloat::load(const DebuggeeLocation& where)
{
    if (size() == 0) {
        setHasValue(false);
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    setHasValue(where.kind() != DebuggeeLocation::none);
    ReadDebuggeeData(raw_, size(), where);
    value_ = DecimalFloat(size_, raw_);
    location_ = where;
}

void* StackItemDecimalFloat::resultBuffer() const
{
    // The encoding is already the debuggee's big-endian order.
    ByteString bytes;
    value_.format(bytes, size_);
    std::memcpy(raw_, bytes.data(), bytes.length());
    return raw_;
}

void StackItemDecimalFloat::genAdd(const StackItem& right)
{
    value_ += right.asDecimalFloat();
    fit();
    clearLocation();
}

void StackItemDecimalFloat::genSubtract(const StackItem& right)
{
    value_ -= right.asDecimalFloat();
    fit();
    clearLocation();
}

void StackItemDecimalFloat::genMult(const StackItem& right)
{
    value_ *= right.asDecimalFloat();
    fit();
    clearLocation();
}

void StackItemDecimalFloat::genDivide(const StackItem& right)
{
    if (right.isZero())
        throw InvalidOp(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    value_ /= right.asDecimalFloat();
    fit();
    clearLocation();
}

void StackItemDecimalFloat::genNegate()
{
    value_ = -value_;
    fit();
    clearLocation();
}

void StackItemDecimalFloat::genConvert(const StackItem& source)
{
    try {
        value_ = source.asDecimalFloat();
    } catch (...) {
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    }
    fit();
    clearLocation();
}

int StackItemDecimalFloat::compareWith(const StackItem& right) const
{
    const DecimalFloat other = right.asDecimalFloat();
    if (isNaN(value_) || isNaN(other))
        return 1;
    return value_.compare(other);
}

int StackItemDecimalFloat::genEQ(const StackItem& right)
{
    return compareWith(right) == 0;
}
int StackItemDecimalFloat::genNE(const StackItem& right)
{
    return compareWith(right) != 0;
}
int StackItemDecimalFloat::genLT(const StackItem& right)
{
    return compareWith(right) < 0;
}
int StackItemDecimalFloat::genLE(const StackItem& right)
{
    return compareWith(right) <= 0;
}
int StackItemDecimalFloat::genGT(const StackItem& right)
{
    return compareWith(right) > 0;
}
int StackItemDecimalFloat::genGE(const StackItem& right)
{
    return compareWith(right) >= 0;
}

int StackItemDecimalFloat::isZero() const
{
    return value_.compare(DecimalFloat::zero()) == 0 ? 1 : 0;
}

std::uint64_t StackItemDecimalFloat::asUnsigned() const
{
    return static_cast<unsigned long long>(value_);
}

std::int64_t StackItemDecimalFloat::asSigned() const
{
    return static_cast<long long>(value_);
}

FloatNumber StackItemDecimalFloat::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(value_));
}

FloatNumber StackItemDecimalFloat::realPart() const
{
    return asLongDouble();
}

FloatNumber StackItemDecimalFloat::imaginaryPart() const
{
    return FloatNumber(FloatNumber::zero());
}

DecimalFloat StackItemDecimalFloat::asDecimalFloat() const
{
    return value_;
}

StackItemDecimalFloat32::StackItemDecimalFloat32(EvaluationEnvironment& environment, const DecimalFloat& value)
    : StackItemDecimalFloat(environment, value, 159, DecimalFloat::Size32)
{}
StackItemDecimalFloat32::StackItemDecimalFloat32(const StackItemDecimalFloat32& other) : StackItemDecimalFloat(other) {}
StackItemDecimalFloat32::~StackItemDecimalFloat32() = default;
StackItem* StackItemDecimalFloat32::clone() const
{
    return new StackItemDecimalFloat32(*this);
}

StackItemDecimalFloat64::StackItemDecimalFloat64(EvaluationEnvironment& environment, const DecimalFloat& value)
    : StackItemDecimalFloat(environment, value, 192, DecimalFloat::Size64)
{}
StackItemDecimalFloat64::StackItemDecimalFloat64(const StackItemDecimalFloat64& other) : StackItemDecimalFloat(other) {}
StackItemDecimalFloat64::~StackItemDecimalFloat64() = default;
StackItem* StackItemDecimalFloat64::clone() const
{
    return new StackItemDecimalFloat64(*this);
}

StackItemDecimalFloat128::StackItemDecimalFloat128(EvaluationEnvironment& environment, const DecimalFloat& value)
    : StackItemDecimalFloat(environment, value, 193, DecimalFloat::Size128)
{}
StackItemDecimalFloat128::StackItemDecimalFloat128(const StackItemDecimalFloat128& other) : StackItemDecimalFloat(other)
{}
StackItemDecimalFloat128::~StackItemDecimalFloat128() = default;
StackItem* StackItemDecimalFloat128::clone() const
{
    return new StackItemDecimalFloat128(*this);
}
