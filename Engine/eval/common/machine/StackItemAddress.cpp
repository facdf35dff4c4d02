#include "machine/StackItemAddress.h"

#include <cstring>
#include <memory>

#include "HostRecordAccess.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemS.h"
#include "services/DebuggeeAddress.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"

namespace {

// The type an operand has where it meets a pointer: an array stands for a
// pointer to its element, as it does once arithmetic is done on it.
TypeItem asPointerType(const TypeItem& type)
{
    if (type.hasFlag(TypeFlags::pointer) || !type.hasFlag(TypeFlags::array))
        return type;
    const TypeItem* pointer = CreatedTypeItem::findPointerType(type.dereference());
    return pointer != nullptr ? *pointer : type;
}

} // namespace

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, const DebuggeeLocation& target,
                                   const TypeItem& type)
    : StackItem(environment, type), target_(target)
{
    setHoldsAddress(true);
    setHasValue(true);
}

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, const TypeItem& type)
    : StackItem(environment, type)
{
    setHoldsAddress(true);
    setHasValue(true);
}

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, const TYPE_INDEX& type)
    : StackItemAddress(environment, TypeItem(type))
{}

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, unsigned int builtinIndex)
    : StackItem(environment, builtinIndex)
{
    setHoldsAddress(true);
    setHasValue(true);
}

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, unsigned long long value, const TypeItem& type)
    : StackItemAddress(environment, type)
{
    set(value);
}

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, const DebuggeeAddress& address,
                                   const TypeItem& type)
    : StackItemAddress(environment, DebuggeeLocation(address), type)
{}

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, const DebuggeeAddress& address,
                                   const TYPE_INDEX& type)
    : StackItemAddress(environment, DebuggeeLocation(address), TypeItem(type))
{}

StackItemAddress::StackItemAddress(EvaluationEnvironment& environment, const DebuggeeAddress& address,
                                   unsigned int builtinIndex)
    : StackItemAddress(environment, DebuggeeLocation(address), TypeItem(builtinIndex))
{}

StackItemAddress::StackItemAddress(const StackItemAddress& other) : StackItem(other), target_(other.target_) {}

StackItemAddress::~StackItemAddress()
{
    target_.clear();
}

StackItem* StackItemAddress::clone() const
{
    return new StackItemAddress(*this);
}

unsigned StackItemAddress::addressBytes() const
{
    return environment_.addressSize() == 8 ? 8 : 4;
}

std::uint64_t StackItemAddress::size() const
{
    if (target_.kind() == DebuggeeLocation::none)
        return addressBytes();
    return target_.size();
}

void* StackItemAddress::resultBuffer() const
{
    return const_cast<unsigned char*>(target_.rawData());
}

void StackItemAddress::load(const DebuggeeLocation& where)
{
    setHasValue(where.kind() != DebuggeeLocation::none);
    if (type_.hasFlag(TypeFlags::function)) {
        // The address of a function is its value: it is stored nowhere.
        if (!where.isValid() || where.kind() != DebuggeeLocation::debuggeeMemory) {
            setHasValue(false);
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        }
        location_ = static_cast<void*>(nullptr);
        target_ = where.address();
        return;
    }
    if (where.kind() == DebuggeeLocation::none)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    target_ = where;
    location_ = where;
    try {
        target_.dereference(&type_);
    } catch (...) {
        setHasValue(false);
        throw;
    }
}

void StackItemAddress::validateAddress() const
{
    if (!target_.isValid())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

std::uint64_t StackItemAddress::asNumber() const
{
    if (!target_.isValid())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    switch (target_.kind()) {
    case DebuggeeLocation::debuggerBuffer:
        // The evaluator's own pointer is no debuggee address.
        return 0;
    case DebuggeeLocation::fatPointer: {
        DebuggeeLocation local(target_);
        local.convertToLocal();
        return local.address().addr();
    }
    case DebuggeeLocation::debuggeeMemory: return target_.address().addr();
    default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
}

void StackItemAddress::advance(std::int64_t bytes)
{
    target_.increment(bytes);
    clearLocation();
}

void StackItemAddress::set(unsigned long long value)
{
    target_ = DebuggeeAddress(static_cast<std::uint64_t>(value), static_cast<int>(addressBytes()));
    setHoldsAddress(true);
    clearLocation();
}

void StackItemAddress::checkSameType(const StackItem& right) const
{
    if (isCobolLanguage())
        return;
    if (type_.isSameType(right.type()))
        return;
    if (!asPointerType(type_).isSameType(asPointerType(right.type())))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
}

void StackItemAddress::genPointerAdd(const StackItem& right)
{
    validateAddress();
    if (holdsAddress() && right.holdsAddress())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    advance(static_cast<std::int64_t>(right.asUnsigned()));
}

StackItem* StackItemAddress::genPointerSubtract(const StackItem& right)
{
    validateAddress();
    if (right.type().hasFlag(TypeFlags::pointer) || right.type().hasFlag(TypeFlags::array)) {
        checkSameType(right);
        const DebuggeeLocation other = right.asLocation();
        // The distance is the program's ptrdiff_t: as wide as an address.
        const std::int64_t distance = target_ - other;
        if (addressBytes() == 8)
            return new StackItemS8(environment_, distance);
        return new StackItemS4(environment_, static_cast<int>(distance));
    }
    std::unique_ptr<StackItemAddress> moved(static_cast<StackItemAddress*>(clone()));
    moved->advance(-static_cast<std::int64_t>(right.asUnsigned()));
    return moved.release();
}

void StackItemAddress::genIndex(const StackItem& subscript, std::int64_t elementSize)
{
    validateAddress();
    const std::uint64_t n = subscript.asUnsigned();
    const std::uint64_t size = static_cast<std::uint64_t>(elementSize);
    std::uint64_t offset;
    if (!isCobolLanguage()) {
        offset = n * size;
    } else {
        // COBOL subscripts count from 1. The subscripts are recorded while
        // the expression expects more of them.
        ExpressionRepresentation* rep = environment_.asExprRepresentation();
        const bool recording = rep != nullptr && rep->evaluationValues().count() < rep->expectedSubscriptCount();
        if (subscript.type().hasFlag(TypeFlags::indexName)) {
            // An index name already holds a byte offset; without an element
            // size it holds the occurrence number itself.
            offset = n;
            if (recording)
                rep->evaluationValues().append(size != 0 ? n / size + 1 : n);
        } else {
            if (recording)
                rep->evaluationValues().append(n);
            offset = (n - 1) * size;
        }
    }
    advance(static_cast<std::int64_t>(offset));
}

void StackItemAddress::genRankIndex(const StackItem& subscript, std::int64_t lowerBound, std::int64_t stride)
{
    validateAddress();
    const std::uint64_t offset =
        (subscript.asUnsigned() - static_cast<std::uint64_t>(lowerBound)) * static_cast<std::uint64_t>(stride);
    advance(static_cast<std::int64_t>(offset));
}

int StackItemAddress::genEQ(const StackItem& right)
{
    const DebuggeeLocation other = right.asLocation();
    if (target_.isNull())
        return other.isNull() ? 1 : 0;
    if (other.isNull())
        return 0;
    checkSameType(right);
    return (target_ - other) == 0 ? 1 : 0;
}

int StackItemAddress::genNE(const StackItem& right)
{
    return genEQ(right) ? 0 : 1;
}

int StackItemAddress::genLT(const StackItem& right)
{
    checkSameType(right);
    return (target_ - right.asLocation()) < 0 ? 1 : 0;
}

int StackItemAddress::genLE(const StackItem& right)
{
    checkSameType(right);
    return (target_ - right.asLocation()) <= 0 ? 1 : 0;
}

int StackItemAddress::genGT(const StackItem& right)
{
    checkSameType(right);
    return (target_ - right.asLocation()) > 0 ? 1 : 0;
}

int StackItemAddress::genGE(const StackItem& right)
{
    checkSameType(right);
    return (target_ - right.asLocation()) >= 0 ? 1 : 0;
}

int StackItemAddress::isZero() const
{
    return target_.isNull() ? 1 : 0;
}

std::uint64_t StackItemAddress::asUnsigned() const
{
    return asNumber();
}

std::int64_t StackItemAddress::asSigned() const
{
    return static_cast<std::int64_t>(asNumber());
}

FloatNumber StackItemAddress::asLongDouble() const
{
    return FloatNumber(static_cast<long long>(asNumber()));
}

FloatNumber StackItemAddress::realPart() const
{
    return asLongDouble();
}

FloatNumber StackItemAddress::imaginaryPart() const
{
    return FloatNumber(0.0);
}

DebuggeeLocation StackItemAddress::asLocation() const
{
    return target_;
}

bool StackItemAddress::mayBeAddress() const
{
    return true;
}
