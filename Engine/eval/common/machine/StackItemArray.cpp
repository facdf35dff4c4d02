#include "machine/StackItemArray.h"

#include "services/DebuggeeAddress.h"
#include "services/InvalidOp.h"
#include "types/CreatedTypeItem.h"

StackItemArray::StackItemArray(EvaluationEnvironment& environment, const TypeItem& type)
    : StackItemAddress(environment, type)
{}

StackItemArray::StackItemArray(EvaluationEnvironment& environment, const TYPE_INDEX& type)
    : StackItemAddress(environment, type)
{}

StackItemArray::StackItemArray(const StackItemArray& other) : StackItemAddress(other) {}

StackItemArray::~StackItemArray() = default;

StackItem* StackItemArray::clone() const
{
    return new StackItemArray(*this);
}

void StackItemArray::load(const DebuggeeLocation& where)
{
    if (where.kind() != DebuggeeLocation::debuggeeMemory && where.kind() != DebuggeeLocation::fatPointer) {
        setHasValue(false);
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    setHasValue(true);
    if (type_.hasFlag(TypeFlags::array) && type_.hasFlag(TypeFlags::fortranDescriptor) &&
        where.kind() == DebuggeeLocation::debuggeeMemory && !(where != type_.getSymbolLocation())) {
        // The symbol's descriptor: the array's value is the data it describes.
        const DebuggeeLocation data(type_.getDataAddress(where));
        target_ = data;
        location_ = data;
        return;
    }
    target_ = where;
    location_ = where;
}

void StackItemArray::convertToPointer()
{
    if (type_.hasFlag(TypeFlags::pointer))
        return;
    if (!type_.hasFlag(TypeFlags::array))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const DebuggeeLocation symbolLocation = type_.getSymbolLocation();
    const TypeItem* pointer = CreatedTypeItem::findPointerType(type_.dereference());
    if (pointer == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    type_ = *pointer;
    type_.setSymbolLocation(symbolLocation);
}

void StackItemArray::genPointerAdd(const StackItem& right)
{
    convertToPointer();
    StackItemAddress::genPointerAdd(right);
}

StackItem* StackItemArray::genPointerSubtract(const StackItem& right)
{
    convertToPointer();
    return StackItemAddress::genPointerSubtract(right);
}

void StackItemArray::genIndex(const StackItem& subscript, std::int64_t elementSize)
{
    convertToPointer();
    StackItemAddress::genIndex(subscript, elementSize);
}

void StackItemArray::genRankIndex(const StackItem& subscript, std::int64_t lowerBound, std::int64_t stride)
{
    convertToPointer();
    StackItemAddress::genRankIndex(subscript, lowerBound, stride);
}
