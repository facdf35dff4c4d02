#include "machine/StackItemCompound.h"

#include <algorithm>
#include <cstring>

#include "datatypes/FloatNumber.h"
#include "machine/RuntimeStack.h"
#include "services/ByteOrder.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

// Construction, loading, the bytes, bit fields and the numeric questions.
// The group text conversions and compares are in StackItemCompoundText.cpp.

StackItemCompound::StackItemCompound(EvaluationEnvironment& environment, const TypeItem& type)
    : StackItem(environment, type)
{
    if (environment.language() == EvaluationEnvironment::languageCOBOL)
        setIsCompound(true);
    const _TYPE_ENTRY* entry = type_.typeEntry();
    if (entry == nullptr)
        return;
    const TYPE_INDEX underlying = entry->enumeration.underlyingType;
    // An enumeration record that names no underlying type gets no inner item.
    const bool named = underlying.module != 0 || underlying.index != 0;
    if ((entry->leaf == TE_ENUM || entry->leaf == TE_ENUM2) && named)
        inner_.reset(RuntimeStack::makeStackItem(TypeItem(underlying), environment.context()));
    setHasValue(true);
}

StackItemCompound::StackItemCompound(const StackItemCompound& other)
    : StackItem(other), inner_(other.inner_ != nullptr ? other.inner_->clone() : nullptr)
{
    if (other.hasBuffer_) {
        buffer_ = other.buffer_;
        buffer_.resize(std::max<std::uint64_t>(size(), 1), 0);
        hasBuffer_ = true;
    }
}

StackItemCompound::~StackItemCompound() = default;

StackItem* StackItemCompound::clone() const
{
    return new StackItemCompound(*this);
}

unsigned StackItemCompound::leaf() const
{
    const _TYPE_ENTRY* entry = type_.typeEntry();
    return entry != nullptr ? entry->leaf : 0;
}

std::uint64_t StackItemCompound::size() const
{
    if (type_.isCommonBlock())
        return 0;
    return static_cast<std::uint32_t>(type_.typeSize());
}

unsigned char* StackItemCompound::buffer() const
{
    if (!hasBuffer_) {
        // One byte at least, so that an empty value still has an address.
        buffer_.assign(std::max<std::uint64_t>(size(), 1), 0);
        hasBuffer_ = true;
    }
    return buffer_.data();
}

void StackItemCompound::load(const DebuggeeLocation& where)
{
    setHasValue(where.kind() != DebuggeeLocation::none);
    if (inner_ != nullptr) {
        clearLocation();
        clearInDebuggerAddressSpace();
        inner_->load(where);
    } else if (size() != 0) {
        loadBuffer(where, buffer());
    }
    location_ = where;
}

void* StackItemCompound::resultBuffer() const
{
    if (inner_ != nullptr)
        return inner_->resultBuffer();
    return buffer();
}

std::uint64_t StackItemCompound::bitstringValue(int isSigned) const
{
    const _TYPE_ENTRY* entry = type_.typeEntry();
    if (entry == nullptr || entry->leaf != TE_INTEGER)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    const unsigned width = entry->integer.bitLength;
    const unsigned offset = entry->integer.bitOffset;
    if (width < 1 || offset + width > 64)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    if (!hasBuffer_)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    // The unit is read big-endian from the bytes there are; bytes the value
    // does not have are zero.
    const unsigned unit = TypeItem::bitFieldUnit(offset, width);
    unsigned char bytes[8] = {};
    std::memcpy(bytes, buffer_.data(), std::min<std::uint64_t>(size(), unit));
    const std::uint64_t word = byteorder::fromBigEndian(bytes, unit);
    const std::uint64_t raw = (word >> (8 * unit - offset - width)) & (~std::uint64_t{0} >> (64 - width));
    const bool fieldUnsigned = (entry->integer.flags & TNinteger_Unsigned) != 0;
    if (isSigned != 0 && !fieldUnsigned && width < 64 && ((raw >> (width - 1)) & 1) != 0)
        return raw | (~std::uint64_t{0} << width);
    return raw;
}

int StackItemCompound::isZero() const
{
    if (isBitField())
        return bitstringValue(0) == 0 ? 1 : 0;
    if (isEnumeration())
        return inner_->isZero();
    return StackItem::isZero();
}

std::uint64_t StackItemCompound::asUnsigned() const
{
    if (isBitField())
        return bitstringValue(0);
    if (isEnumeration())
        return inner_->asUnsigned();
    return StackItem::asUnsigned();
}

std::int64_t StackItemCompound::asSigned() const
{
    if (isBitField())
        return static_cast<std::int64_t>(bitstringValue(1));
    if (isEnumeration())
        return inner_->asSigned();
    return StackItem::asSigned();
}

FloatNumber StackItemCompound::asLongDouble() const
{
    if (isBitField())
        return FloatNumber(static_cast<long long>(bitstringValue(1)));
    if (isEnumeration())
        return inner_->asLongDouble();
    return StackItem::asLongDouble();
}

FloatNumber StackItemCompound::realPart() const
{
    return asLongDouble();
}

FloatNumber StackItemCompound::imaginaryPart() const
{
    if (isBitField() || isEnumerationLeaf())
        return FloatNumber::zero();
    return StackItem::imaginaryPart();
}
