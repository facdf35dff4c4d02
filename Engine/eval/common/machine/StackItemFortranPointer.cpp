#include "machine/StackItemFortranPointer.h"

#include "services/InvalidOp.h"

namespace {

const TypeItem& checked(const TypeItem& type)
{
    if (!type.hasFlag(TypeFlags::pointer) || !type.hasFlag(TypeFlags::fortranDescriptor))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    return type;
}

} // namespace

StackItemFortranPointer::StackItemFortranPointer(EvaluationEnvironment& environment, const TypeItem& pointerType)
    : StackItem(environment, checked(pointerType)), pointerType_(pointerType)
{
    type_ = pointerType_.pointee();
}

StackItemFortranPointer::StackItemFortranPointer(EvaluationEnvironment& environment, const TYPE_INDEX& pointerType)
    : StackItemFortranPointer(environment, TypeItem(pointerType))
{}

StackItemFortranPointer::StackItemFortranPointer(const StackItemFortranPointer& other)
    : StackItem(other), pointerType_(other.pointerType_), bytes_(other.bytes_)
{}

StackItemFortranPointer::~StackItemFortranPointer() = default;

StackItem* StackItemFortranPointer::clone() const
{
    return new StackItemFortranPointer(*this);
}

std::uint64_t StackItemFortranPointer::size() const
{
    return type_.typeSize();
}

void* StackItemFortranPointer::resultBuffer() const
{
    return bytes_.empty() ? nullptr : const_cast<unsigned char*>(bytes_.data());
}

void StackItemFortranPointer::load(const DebuggeeLocation& where)
{
    setHasValue(false);
    pointerType_.setSymbolLocation(where);
    type_ = pointerType_.pointee();
    const std::uint64_t n = size();
    if (n == 0)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    if (!pointerType_.isAllocated())
        throw InvalidOp(InvalidOp::RTRC_NotAllocated, __PRETTY_FUNCTION__, __LINE__);
    if (!pointerType_.isAssociated())
        throw InvalidOp(InvalidOp::RTRC_NotAssociated, __PRETTY_FUNCTION__, __LINE__);
    bytes_.assign(n, 0xFF);
    DebuggeeLocation target(where);
    if (!pointerType_.dereference(target))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    // A short read is a failure, never a value of fill bytes.
    ReadDebuggeeData(bytes_.data(), n, target);
    setHasValue(true);
}
