#include "machine/StackItemIntegral.h"

#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/ByteOrder.h"
#include "services/DebuggeeAddress.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"

template <class T>
StackItemIntegral<T>::StackItemIntegral(EvaluationEnvironment& environment, T value, unsigned int builtinIndex)
    : StackItem(environment, builtinIndex)
{
    setHasValue(true);
    byteorder::toBigEndian(bytes_, static_cast<std::uint64_t>(value), sizeof(T));
}

template <class T>
StackItemIntegral<T>::StackItemIntegral(EvaluationEnvironment& environment, T value, const TypeItem& type)
    : StackItem(environment, AssignedType{type})
{
    setHasValue(true);
    byteorder::toBigEndian(bytes_, static_cast<std::uint64_t>(value), sizeof(T));
}

template <class T>
StackItemIntegral<T>::StackItemIntegral(const StackItemIntegral& other) : StackItem(other)
{
    for (unsigned i = 0; i < sizeof(T); ++i)
        bytes_[i] = other.bytes_[i];
}

template <class T>
StackItemIntegral<T>::~StackItemIntegral() = default;

template <class T>
T StackItemIntegral<T>::value() const
{
    return static_cast<T>(byteorder::fromBigEndian(bytes_, sizeof(T)));
}

template <class T>
void StackItemIntegral<T>::setResult(std::uint64_t result)
{
    byteorder::toBigEndian(bytes_, result, sizeof(T));
    clearLocation();
}

template <class T>
std::uint64_t StackItemIntegral<T>::rightNumber(const StackItem& right)
{
    if constexpr (isSigned)
        return static_cast<std::uint64_t>(right.asSigned());
    else
        return right.asUnsigned();
}

template <class T>
std::uint64_t StackItemIntegral<T>::divisor(const StackItem& right)
{
    if (right.isZero())
        throw InvalidOp(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    // A right operand that is not zero may still read as 0 (a fraction).
    const std::uint64_t r = rightNumber(right);
    if (r == 0)
        throw InvalidOp(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    return r;
}

template <class T>
unsigned StackItemIntegral<T>::shiftCount(const StackItem& right)
{
    return static_cast<unsigned>(right.asUnsigned() & (sizeof(T) == 8 ? 63u : 31u));
}

template <class T>
int StackItemIntegral<T>::compareWith(const StackItem& right) const
{
    if constexpr (isSigned) {
        const std::int64_t v = asSigned();
        const std::int64_t r = right.asSigned();
        return v < r ? -1 : v > r ? 1 : 0;
    } else {
        const std::uint64_t v = asUnsigned();
        const std::uint64_t r = right.asUnsigned();
        return v < r ? -1 : v > r ? 1 : 0;
    }
}

template <class T>
std::uint64_t StackItemIntegral<T>::size() const
{
    return sizeof(T);
}

template <class T>
void StackItemIntegral<T>::load(const DebuggeeLocation& where)
{
    setHasValue(false);
    loadBuffer(where, bytes_);
}

template <class T>
void* StackItemIntegral<T>::resultBuffer() const
{
    return const_cast<unsigned char*>(bytes_);
}

template <class T>
void StackItemIntegral<T>::genAdd(const StackItem& right)
{
    setResult(widened() + rightNumber(right));
}

template <class T>
void StackItemIntegral<T>::genSubtract(const StackItem& right)
{
    setResult(widened() - right.asUnsigned());
}

template <class T>
void StackItemIntegral<T>::genMult(const StackItem& right)
{
    setResult(widened() * right.asUnsigned());
}

template <class T>
void StackItemIntegral<T>::genDivide(const StackItem& right)
{
    const std::uint64_t r = divisor(right);
    if constexpr (isSigned) {
        // The minimum divided by -1 wraps to the minimum again.
        const std::int64_t b = static_cast<std::int64_t>(r);
        setResult(b == -1 ? std::uint64_t(0) - widened() : static_cast<std::uint64_t>(asSigned() / b));
    } else {
        setResult(widened() / r);
    }
}

template <class T>
void StackItemIntegral<T>::genModulus(const StackItem& right)
{
    const std::uint64_t r = divisor(right);
    if constexpr (isSigned) {
        const std::int64_t b = static_cast<std::int64_t>(r);
        setResult(b == -1 ? 0 : static_cast<std::uint64_t>(asSigned() % b));
    } else {
        setResult(widened() % r);
    }
}

template <class T>
void StackItemIntegral<T>::genBitAnd(const StackItem& right)
{
    setResult(widened() & rightNumber(right));
}

template <class T>
void StackItemIntegral<T>::genBitOr(const StackItem& right)
{
    setResult(widened() | rightNumber(right));
}

template <class T>
void StackItemIntegral<T>::genBitXor(const StackItem& right)
{
    setResult(widened() ^ rightNumber(right));
}

template <class T>
void StackItemIntegral<T>::genNegate()
{
    setResult(std::uint64_t(0) - widened());
}

template <class T>
void StackItemIntegral<T>::genComplement()
{
    setResult(~widened());
}

template <class T>
void StackItemIntegral<T>::genNot()
{
    setResult(value() == 0 ? 1 : 0);
}

template <class T>
void StackItemIntegral<T>::genConvert(const StackItem& source)
{
    std::uint64_t number;
    try {
        number = rightNumber(source);
    } catch (...) {
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    }
    setResult(number);
    setHasValue(true);
}

template <class T>
void StackItemIntegral<T>::genLogicalShiftLeft(const StackItem& right)
{
    const unsigned count = shiftCount(right);
    if constexpr (sizeof(T) == 8)
        setResult(widened() << count);
    else
        setResult(static_cast<std::uint32_t>(widened()) << count);
}

template <class T>
void StackItemIntegral<T>::genLogicalShiftRight(const StackItem& right)
{
    const unsigned count = shiftCount(right);
    // The bits of the value as an unsigned number of the width of T.
    const auto bits = static_cast<std::make_unsigned_t<T>>(value());
    if constexpr (sizeof(T) == 8)
        setResult(std::uint64_t(bits) >> count);
    else
        setResult(std::uint32_t(bits) >> count);
}

template <class T>
void StackItemIntegral<T>::genArithmeticShiftRight(const StackItem& right)
{
    const unsigned count = shiftCount(right);
    if constexpr (!isSigned)
        setResult(widened() >> count);
    else if constexpr (sizeof(T) == 8)
        setResult(static_cast<std::uint64_t>(asSigned() >> count));
    else
        setResult(static_cast<std::uint64_t>(static_cast<std::int32_t>(value()) >> count));
}

template <class T>
int StackItemIntegral<T>::genEQ(const StackItem& right)
{
    return compareWith(right) == 0;
}

template <class T>
int StackItemIntegral<T>::genNE(const StackItem& right)
{
    return compareWith(right) != 0;
}

template <class T>
int StackItemIntegral<T>::genLT(const StackItem& right)
{
    return compareWith(right) < 0;
}

template <class T>
int StackItemIntegral<T>::genLE(const StackItem& right)
{
    return compareWith(right) <= 0;
}

template <class T>
int StackItemIntegral<T>::genGT(const StackItem& right)
{
    return compareWith(right) > 0;
}

template <class T>
int StackItemIntegral<T>::genGE(const StackItem& right)
{
    return compareWith(right) >= 0;
}

template <class T>
int StackItemIntegral<T>::isZero() const
{
    return value() == 0;
}

template <class T>
std::uint64_t StackItemIntegral<T>::asUnsigned() const
{
    return static_cast<std::uint64_t>(asSigned());
}

template <class T>
std::int64_t StackItemIntegral<T>::asSigned() const
{
    if constexpr (isSigned)
        return static_cast<std::int64_t>(value());
    else
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(value()));
}

template <class T>
FloatNumber StackItemIntegral<T>::asLongDouble() const
{
    if constexpr (isSigned)
        return FloatNumber(static_cast<long long>(asSigned()));
    else
        return FloatNumber(static_cast<unsigned long long>(asUnsigned()));
}

template <class T>
FloatNumber StackItemIntegral<T>::realPart() const
{
    return asLongDouble();
}

template <class T>
FloatNumber StackItemIntegral<T>::imaginaryPart() const
{
    return FloatNumber(FloatNumber::zero());
}

template <class T>
DecimalFloat StackItemIntegral<T>::asDecimalFloat() const
{
    if constexpr (isSigned)
        return DecimalFloat(static_cast<long long>(asSigned()), DecimalFloat::Size128);
    else
        return DecimalFloat(static_cast<unsigned long long>(asUnsigned()), DecimalFloat::Size128);
}

template <class T>
PackedDecimal StackItemIntegral<T>::asPackedDecimal(const TNpacked_decimal&) const
{
    if constexpr (isSigned)
        return PackedDecimal(static_cast<long long>(asSigned()));
    else
        return PackedDecimal(static_cast<unsigned long long>(asUnsigned()));
}

template <class T>
ZonedDecimal StackItemIntegral<T>::asZonedDecimal(const TNzoned_decimal&) const
{
    if constexpr (isSigned)
        return ZonedDecimal(static_cast<long long>(asSigned()));
    else
        return ZonedDecimal(static_cast<unsigned long long>(asUnsigned()));
}

template <class T>
NationalDecimal StackItemIntegral<T>::asNationalDecimal(const TNnational_decimal&) const
{
    if constexpr (isSigned)
        return NationalDecimal(static_cast<long long>(asSigned()));
    else
        return NationalDecimal(static_cast<unsigned long long>(asUnsigned()));
}

template <class T>
FixedPointBinary StackItemIntegral<T>::asFixedPointBinary(const TNfixed_point_binary&) const
{
    return FixedPointBinary(asPackedDecimal(TNpacked_decimal{}));
}

template <class T>
DebuggeeLocation StackItemIntegral<T>::asLocation() const
{
    const unsigned addressSize = EvaluationEnvironment::currentRep()->addressSize() == 8 ? 8 : 4;
    if (addressSize > sizeof(T))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    return DebuggeeLocation(DebuggeeAddress(asUnsigned(), static_cast<int>(addressSize)));
}

template <class T>
bool StackItemIntegral<T>::mayBeAddress() const
{
    return true;
}

template class StackItemIntegral<signed char>;
template class StackItemIntegral<short>;
template class StackItemIntegral<int>;
template class StackItemIntegral<long long>;
template class StackItemIntegral<unsigned char>;
template class StackItemIntegral<unsigned short>;
template class StackItemIntegral<unsigned int>;
template class StackItemIntegral<unsigned long long>;
