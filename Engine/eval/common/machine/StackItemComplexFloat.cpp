#include "machine/StackItemComplexFloat.h"

#include "types/Extended12.h"
#include "services/EvaluationEnvironment.h"
#include "types/PrimitiveType.h"
#include "services/InvalidOp.h"

namespace {

constexpr unsigned int secondComplexLongDouble = 143;

} // namespace

template <class T>
StackItemComplexFloat<T>::StackItemComplexFloat(EvaluationEnvironment& environment, const FloatNumber& real,
                                                const FloatNumber& imaginary, unsigned int builtinIndex)
    : StackItem(environment, builtinIndex),
      raw_{},
      realValue_(real),
      imaginaryValue_(imaginary),
      hexFormat_(builtinIndex >= 203 && builtinIndex <= 205),
      extended12_(builtinIndex == secondComplexLongDouble)
{
    resultBuffer();
    setHasValue(true);
}

template <class T>
StackItemComplexFloat<T>::StackItemComplexFloat(const StackItemComplexFloat& other)
    : StackItem(other),
      raw_(other.raw_),
      realValue_(other.realValue_),
      imaginaryValue_(other.imaginaryValue_),
      hexFormat_(other.hexFormat_),
      extended12_(other.extended12_)
{}

template <class T>
StackItemComplexFloat<T>::~StackItemComplexFloat() = default;

template <class T>
StackItem* StackItemComplexFloat<T>::clone() const
{
    return new StackItemComplexFloat(*this);
}

template <class T>
unsigned int StackItemComplexFloat<T>::partSize() const
{
    return extended12_ ? Extended12::slotSize : static_cast<unsigned int>(sizeof(T) / 2);
}

template <class T>
std::uint64_t StackItemComplexFloat<T>::size() const
{
    return 2 * partSize();
}

template <class T>
FloatNumber StackItemComplexFloat<T>::decodePart(const unsigned char* bytes) const
{
    if (extended12_)
        return FloatNumber(Extended12::decode(bytes));
    return FloatNumber(bytes, static_cast<int>(partSize()), hexFormat_ ? FloatNumber::Hexadecimal : FloatNumber::IEEE);
}

template <class T>
void StackItemComplexFloat<T>::encodePart(const FloatNumber& part, unsigned char* bytes) const
{
    if (extended12_)
        Extended12::encode(bytes, static_cast<long double>(part));
    else
        part.format(hexFormat_ ? FloatNumber::Hexadecimal : FloatNumber::IEEE, bytes, partSize(), false);
}

template <class T>
void StackItemComplexFloat<T>::load(const DebuggeeLocation& where)
{
    const unsigned int h = partSize();
    if (where.kind() != DebuggeeLocation::debuggeeMemory && where.kind() != DebuggeeLocation::debuggerBuffer) {
        setHasValue(false);
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    setHasValue(true);
    DebuggeeLocation imaginaryAt(where);
    imaginaryAt.increment(h);
    ReadDebuggeeData(raw_.bytes + h, h, imaginaryAt);
    ReadDebuggeeData(raw_.bytes, h, where);
    realValue_ = decodePart(raw_.bytes);
    imaginaryValue_ = decodePart(raw_.bytes + h);
    location_ = where;
}

template <class T>
void* StackItemComplexFloat<T>::resultBuffer() const
{
    encodePart(realValue_, raw_.bytes);
    encodePart(imaginaryValue_, raw_.bytes + partSize());
    return raw_.bytes;
}

template <class T>
void StackItemComplexFloat<T>::genAdd(const StackItem& right)
{
    const FloatNumber c = right.realPart();
    const FloatNumber d = right.imaginaryPart();
    realValue_ += c;
    imaginaryValue_ += d;
    clearLocation();
}

template <class T>
void StackItemComplexFloat<T>::genSubtract(const StackItem& right)
{
    const FloatNumber c = right.realPart();
    const FloatNumber d = right.imaginaryPart();
    realValue_ -= c;
    imaginaryValue_ -= d;
    clearLocation();
}

template <class T>
void StackItemComplexFloat<T>::genMult(const StackItem& right)
{
    const FloatNumber& a = realValue_;
    const FloatNumber& b = imaginaryValue_;
    const FloatNumber c = right.realPart();
    const FloatNumber d = right.imaginaryPart();
    const FloatNumber real = a * c - b * d;
    const FloatNumber imaginary = a * d + b * c;
    realValue_ = real;
    imaginaryValue_ = imaginary;
    clearLocation();
}

template <class T>
void StackItemComplexFloat<T>::genDivide(const StackItem& right)
{
    const FloatNumber& a = realValue_;
    const FloatNumber& b = imaginaryValue_;
    const FloatNumber c = right.realPart();
    const FloatNumber d = right.imaginaryPart();
    const FloatNumber denominator = c * c + d * d;
    if (denominator == FloatNumber::zero())
        throw InvalidOp(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    const FloatNumber real = (a * c + b * d) / denominator;
    const FloatNumber imaginary = (b * c - a * d) / denominator;
    realValue_ = real;
    imaginaryValue_ = imaginary;
    clearLocation();
}

template <class T>
void StackItemComplexFloat<T>::genNegate()
{
    const FloatNumber real = -realValue_;
    const FloatNumber imaginary = -imaginaryValue_;
    realValue_ = real;
    imaginaryValue_ = imaginary;
    clearLocation();
}

template <class T>
void StackItemComplexFloat<T>::genConvert(const StackItem& source)
{
    const FloatNumber real = source.realPart();
    const FloatNumber imaginary = source.imaginaryPart();
    realValue_ = real;
    imaginaryValue_ = imaginary;
    clearLocation();
}

template <class T>
int StackItemComplexFloat<T>::genEQ(const StackItem& right)
{
    if (realValue_ != right.realPart())
        return 0;
    return imaginaryValue_ == right.imaginaryPart() ? 1 : 0;
}

template <class T>
int StackItemComplexFloat<T>::genNE(const StackItem& right)
{
    if (realValue_ != right.realPart())
        return 1;
    return imaginaryValue_ != right.imaginaryPart() ? 1 : 0;
}

template <class T>
int StackItemComplexFloat<T>::isZero() const
{
    return realValue_ == FloatNumber::zero() && imaginaryValue_ == FloatNumber::zero() ? 1 : 0;
}

template <class T>
FloatNumber StackItemComplexFloat<T>::realPart() const
{
    return realValue_;
}

template <class T>
FloatNumber StackItemComplexFloat<T>::imaginaryPart() const
{
    return imaginaryValue_;
}

template class StackItemComplexFloat<ComplexF>;
template class StackItemComplexFloat<ComplexD>;
template class StackItemComplexFloat<ComplexLD>;

StackItemComplexF::StackItemComplexF(EvaluationEnvironment& environment, const FloatNumber& real,
                                     const FloatNumber& imaginary, FloatNumber::Format format)
    : StackItemComplexFloat(environment, real, imaginary, format != FloatNumber::IEEE ? 203 : 140)
{}
StackItemComplexF::StackItemComplexF(const StackItemComplexF& other) : StackItemComplexFloat(other) {}
StackItemComplexF::~StackItemComplexF() = default;

StackItemComplexD::StackItemComplexD(EvaluationEnvironment& environment, const FloatNumber& real,
                                     const FloatNumber& imaginary, FloatNumber::Format format)
    : StackItemComplexFloat(environment, real, imaginary, format != FloatNumber::IEEE ? 204 : 141)
{}
StackItemComplexD::StackItemComplexD(const StackItemComplexD& other) : StackItemComplexFloat(other) {}
StackItemComplexD::~StackItemComplexD() = default;

StackItemComplexLD::StackItemComplexLD(EvaluationEnvironment& environment, const FloatNumber& real,
                                       const FloatNumber& imaginary, FloatNumber::Format format)
    : StackItemComplexFloat(
          environment, real, imaginary,
          format != FloatNumber::IEEE ? 205 : PrimitiveType::complexLongDoubleFor(environment.addressSize()))
{}
StackItemComplexLD::StackItemComplexLD(EvaluationEnvironment& environment, const FloatNumber& real,
                                       const FloatNumber& imaginary, unsigned int builtinIndex, FloatNumber::Format)
    : StackItemComplexFloat(environment, real, imaginary, builtinIndex)
{}
StackItemComplexLD::StackItemComplexLD(const StackItemComplexLD& other) : StackItemComplexFloat(other) {}
StackItemComplexLD::~StackItemComplexLD() = default;
