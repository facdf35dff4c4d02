#include "machine/StackItemFloat.h"

#include <cmath>

#include "HostRecordAccess.h"
#include "datatypes/DecimalFloat.h"
#include "types/Extended12.h"
#include "types/PrimitiveType.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

namespace {

constexpr unsigned int secondLongDouble = 139;

bool isHexIndex(unsigned int index)
{
    return index >= 196 && index <= 198;
}

// The value at the precision of an 8-byte hexadecimal float.
FloatNumber roundedToHexDouble(const FloatNumber& number)
{
    unsigned char bytes[8] = {};
    number.format(FloatNumber::Hexadecimal, bytes, sizeof bytes, false);
    return FloatNumber(bytes, sizeof bytes, FloatNumber::Hexadecimal);
}

} // namespace

template <class T>
const T& StackItemFloat<T>::zero()
{
    static const T* const shared = new T{};
    return *shared;
}

template <class T>
StackItemFloat<T>::StackItemFloat(EvaluationEnvironment& environment, const T& raw, unsigned int builtinIndex,
                                  FloatNumber::Format)
    : StackItem(environment, builtinIndex), raw_(raw), extended12_(builtinIndex == secondLongDouble)
{
    if (extended12_) {
        value_ = FloatNumber(Extended12::decode(raw_.bytes));
    } else if (isHexIndex(builtinIndex)) {
        value_ = FloatNumber(raw_.bytes, static_cast<int>(sizeof(T)), FloatNumber::Hexadecimal);
        hexFormat_ = true;
    } else {
        value_ = FloatNumber(raw_.bytes, static_cast<int>(sizeof(T)), FloatNumber::IEEE);
    }
    setHasValue(true);
}

template <class T>
StackItemFloat<T>::StackItemFloat(EvaluationEnvironment& environment, const FloatNumber& number,
                                  unsigned int builtinIndex)
    : StackItem(environment, builtinIndex),
      raw_{},
      value_(number),
      hexFormat_(number.getFormat() == FloatNumber::Hexadecimal),
      extended12_(builtinIndex == secondLongDouble)
{
    if (number.getFormat() != FloatNumber::Invalid)
        roundToFormat();
    try {
        resultBuffer();
    } catch (const InvalidOp& e) {
        // A value the storage format cannot hold (a host subnormal, a
        // hexadecimal infinity) is still a value to compute with: the bytes
        // are refused when asked for. An unusable number makes no item.
        if (e.code() != InvalidOp::RTRC_NotSupported)
            throw;
    }
}

template <class T>
StackItemFloat<T>::StackItemFloat(const StackItemFloat& other)
    : StackItem(other),
      raw_(other.raw_),
      value_(other.value_),
      hexFormat_(other.hexFormat_),
      extended12_(other.extended12_)
{}

template <class T>
StackItemFloat<T>::~StackItemFloat() = default;

template <class T>
bool StackItemFloat<T>::computesInFormat() const
{
    return sizeof(T) < 16 && !extended12_ && environment_.language() != EvaluationEnvironment::languageCOBOL;
}

template <class T>
void StackItemFloat<T>::roundToFormat()
{
    if (!computesInFormat() || value_.getFormat() == FloatNumber::Invalid)
        return;
    const FloatNumber::Format format = value_.getFormat();
    const long double v = static_cast<long double>(value_);
    if (hexFormat_) {
        // The hexadecimal format holds no infinity or NaN: those stay as they
        // are (the stored bytes refuse them).
        unsigned char scratch[sizeof(T)] = {};
        try {
            if (!std::isfinite(v) || !value_.format(FloatNumber::Hexadecimal, scratch, sizeof(T), false))
                return;
        } catch (const InvalidOp&) {
            return;
        }
        value_ = FloatNumber(
            static_cast<long double>(FloatNumber(scratch, static_cast<int>(sizeof(T)), FloatNumber::Hexadecimal)));
    } else if constexpr (sizeof(T) == 4)
        value_ = FloatNumber(static_cast<long double>(static_cast<float>(v)));
    else
        value_ = FloatNumber(static_cast<long double>(static_cast<double>(v)));
    if (format == FloatNumber::Hexadecimal)
        value_.markQUVhex();
}

template <class T>
template <class Operation>
void StackItemFloat<T>::inFormat(const FloatNumber& left, const FloatNumber& right, Operation operation)
{
    if (!computesInFormat() || value_.getFormat() == FloatNumber::Invalid)
        return;
    if (hexFormat_ || sizeof(T) != 8) {
        // A float result computed at long double precision rounds to float
        // exactly as the operation in float would.
        roundToFormat();
        return;
    }
    // A double operation in double: long double and then double would round
    // twice. An operand that is no double (a long double met without the
    // usual conversions) leaves the long double result rounded once.
    const long double l = static_cast<long double>(left);
    const long double r = static_cast<long double>(right);
    if (static_cast<long double>(static_cast<double>(l)) != l ||
        static_cast<long double>(static_cast<double>(r)) != r) {
        roundToFormat();
        return;
    }
    const FloatNumber::Format format = value_.getFormat();
    value_ = FloatNumber(static_cast<long double>(operation(static_cast<double>(static_cast<long double>(left)),
                                                            static_cast<double>(static_cast<long double>(right)))));
    if (format == FloatNumber::Hexadecimal)
        value_.markQUVhex();
}

template <class T>
StackItem* StackItemFloat<T>::clone() const
{
    return new StackItemFloat(*this);
}

template <class T>
std::uint64_t StackItemFloat<T>::size() const
{
    return extended12_ ? Extended12::slotSize : sizeof(T);
}

template <class T>
void StackItemFloat<T>::load(const DebuggeeLocation& where)
{
    setHasValue(where.kind() != DebuggeeLocation::none);
    const unsigned int n = static_cast<unsigned int>(size());
    ReadDebuggeeData(raw_.bytes, n, where);
    try {
        if (extended12_)
            value_ = FloatNumber(Extended12::decode(raw_.bytes));
        else
            value_ =
                FloatNumber(raw_.bytes, static_cast<int>(n), hexFormat_ ? FloatNumber::Hexadecimal : FloatNumber::IEEE);
    } catch (const InvalidOp& e) {
        if (e.code() != InvalidOp::RTRC_NotSupported)
            throw;
        value_.invalidate();
    }
    location_ = where;
}

template <class T>
void* StackItemFloat<T>::resultBuffer() const
{
    if (extended12_)
        Extended12::encode(raw_.bytes, static_cast<long double>(value_));
    else
        value_.format(hexFormat_ ? FloatNumber::Hexadecimal : FloatNumber::IEEE, raw_.bytes,
                      static_cast<unsigned int>(sizeof(T)), false);
    return raw_.bytes;
}

template <class T>
void StackItemFloat<T>::genAdd(const StackItem& right)
{
    const FloatNumber other = right.asLongDouble();
    const FloatNumber left = value_;
    value_ += other;
    inFormat(left, other, [](auto a, auto b) { return a + b; });
    clearLocation();
}

template <class T>
void StackItemFloat<T>::genSubtract(const StackItem& right)
{
    const FloatNumber other = right.asLongDouble();
    const FloatNumber left = value_;
    value_ -= other;
    inFormat(left, other, [](auto a, auto b) { return a - b; });
    clearLocation();
}

template <class T>
void StackItemFloat<T>::genMult(const StackItem& right)
{
    const FloatNumber other = right.asLongDouble();
    const FloatNumber left = value_;
    value_ *= other;
    inFormat(left, other, [](auto a, auto b) { return a * b; });
    clearLocation();
}

template <class T>
void StackItemFloat<T>::genDivide(const StackItem& right)
{
    if (right.isZero())
        throw InvalidOp(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    const FloatNumber other = right.asLongDouble();
    const FloatNumber left = value_;
    value_ /= other;
    inFormat(left, other, [](auto a, auto b) { return a / b; });
    clearLocation();
}

template <class T>
void StackItemFloat<T>::genPow(const StackItem& right, unsigned int)
{
    const long double base = static_cast<long double>(value_);
    const long double exponent = static_cast<long double>(right.asLongDouble());
    const long double result =
        base >= 0 ? powl(base, exponent)
                  : static_cast<long double>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
    value_ = FloatNumber(result);
    roundToFormat();
    clearLocation();
}

template <class T>
void StackItemFloat<T>::genNegate()
{
    value_ = -value_;
    clearLocation();
}

template <class T>
void StackItemFloat<T>::genConvert(const StackItem& source)
{
    try {
        value_ = source.asLongDouble();
        roundToFormat();
    } catch (...) {
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    }
    clearLocation();
}

template <class T>
void StackItemFloat<T>::genTruncateFP(unsigned int n)
{
    if (!hexFormat_ || (n != 4 && n != 8 && n != 16))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    unsigned char scratch[16] = {};
    value_.format(FloatNumber::Hexadecimal, scratch, n, false);
    value_ = FloatNumber(scratch, static_cast<int>(n), FloatNumber::Hexadecimal);
}

template <class T>
template <class Relation>
int StackItemFloat<T>::compare(const StackItem& right, Relation relation) const
{
    const FloatNumber other = right.asLongDouble();
    if (environment_.language() == EvaluationEnvironment::languageCOBOL) {
        // A literal or result meets a hexadecimal variable at the variable's
        // 8-byte precision.
        if (!loadedFromVariable() && right.isQuvHexFloat())
            return relation(roundedToHexDouble(value_), other) ? 1 : 0;
        if (!right.loadedFromVariable() && hexFormat_)
            return relation(value_, roundedToHexDouble(other)) ? 1 : 0;
    }
    return relation(value_, other) ? 1 : 0;
}

template <class T>
int StackItemFloat<T>::genEQ(const StackItem& right)
{
    return compare(right, [](const FloatNumber& a, const FloatNumber& b) { return a == b; });
}

template <class T>
int StackItemFloat<T>::genNE(const StackItem& right)
{
    return compare(right, [](const FloatNumber& a, const FloatNumber& b) { return a != b; });
}

template <class T>
int StackItemFloat<T>::genLT(const StackItem& right)
{
    return compare(right, [](const FloatNumber& a, const FloatNumber& b) { return a < b; });
}

template <class T>
int StackItemFloat<T>::genLE(const StackItem& right)
{
    return compare(right, [](const FloatNumber& a, const FloatNumber& b) { return a <= b; });
}

template <class T>
int StackItemFloat<T>::genGT(const StackItem& right)
{
    return compare(right, [](const FloatNumber& a, const FloatNumber& b) { return a > b; });
}

template <class T>
int StackItemFloat<T>::genGE(const StackItem& right)
{
    return compare(right, [](const FloatNumber& a, const FloatNumber& b) { return a >= b; });
}

template <class T>
int StackItemFloat<T>::isZero() const
{
    return value_ == FloatNumber::zero() ? 1 : 0;
}

template <class T>
std::uint64_t StackItemFloat<T>::asUnsigned() const
{
    return static_cast<unsigned long long>(value_);
}

template <class T>
std::int64_t StackItemFloat<T>::asSigned() const
{
    return static_cast<long long>(value_);
}

template <class T>
bool StackItemFloat<T>::isQuvHexFloat() const
{
    return hexFormat_;
}

template <class T>
FloatNumber StackItemFloat<T>::asLongDouble() const
{
    return value_;
}

template <class T>
FloatNumber StackItemFloat<T>::realPart() const
{
    return value_;
}

template <class T>
FloatNumber StackItemFloat<T>::imaginaryPart() const
{
    return FloatNumber(FloatNumber::zero());
}

template <class T>
DecimalFloat StackItemFloat<T>::asDecimalFloat() const
{
    return DecimalFloat(static_cast<long double>(value_), DecimalFloat::Size128);
}

template <class T>
PackedDecimal StackItemFloat<T>::asPackedDecimal(const TNpacked_decimal& record) const
{
    return PackedDecimal(record, static_cast<long double>(value_));
}

template <class T>
ZonedDecimal StackItemFloat<T>::asZonedDecimal(const TNzoned_decimal& record) const
{
    return ZonedDecimal(record, static_cast<long double>(value_));
}

template <class T>
NationalDecimal StackItemFloat<T>::asNationalDecimal(const TNnational_decimal& record) const
{
    return NationalDecimal(record, static_cast<long double>(value_));
}

template <class T>
FixedPointBinary StackItemFloat<T>::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    // Cut as a MOVE cuts: 12.5 gives 12 at scale 0.
    return FixedPointBinary(record, static_cast<long double>(value_), 0);
}

template <class T>
ExternalFloat StackItemFloat<T>::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(record, static_cast<long double>(value_));
}

template <class T>
NationalExternalFloat StackItemFloat<T>::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(record, static_cast<long double>(value_));
}

template <class T>
NumericEdited StackItemFloat<T>::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(record, static_cast<long double>(value_));
}

template <class T>
NationalNumericEdited StackItemFloat<T>::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    // Edited with the numeric-edited twin of half the bytes, then widened.
    const long double number = static_cast<long double>(value_);
    const TNnumeric_edited narrow = NationalNumericEdited(record, number).narrowRecord();
    return NumericEdited(narrow, number).convertToNationalNumericEdited();
}

template <class T>
void StackItemFloat<T>::hexEncoding(unsigned char (&bytes)[16]) const
{
    FloatNumber scratch(value_);
    scratch.markQUVhex();
    scratch.format(FloatNumber::Hexadecimal, bytes, sizeof bytes, false);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "buffer=%08x",
                static_cast<unsigned>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | unsigned(bytes[3]) << 24));
}

template <class T>
ByteString StackItemFloat<T>::asCharstring(const TNcharstring& record) const
{
    unsigned char encoded[16];
    hexEncoding(encoded);
    return ByteString(ByteString(encoded, sizeof encoded), 0, ::stringLength(record), 0x40);
}

template <class T>
ByteString StackItemFloat<T>::asAlphaNumericGroup(const TNclass&) const
{
    unsigned char encoded[16];
    hexEncoding(encoded);
    return ByteString(encoded, static_cast<unsigned>(size()));
}

template class StackItemFloat<debuggeeFloat_t>;
template class StackItemFloat<debuggeeDouble_t>;
template class StackItemFloat<debuggeeLongDouble_t>;

StackItemF::StackItemF(EvaluationEnvironment& environment, const debuggeeFloat_t& raw, FloatNumber::Format format)
    : StackItemFloat(environment, raw, format != FloatNumber::IEEE ? 196 : 136, format)
{}
StackItemF::StackItemF(EvaluationEnvironment& environment, const FloatNumber& number)
    : StackItemFloat(environment, number, 136)
{}
StackItemF::StackItemF(const StackItemF& other) : StackItemFloat(other) {}
StackItemF::~StackItemF() = default;

StackItemD::StackItemD(EvaluationEnvironment& environment, const debuggeeDouble_t& raw, FloatNumber::Format format)
    : StackItemFloat(environment, raw, format != FloatNumber::IEEE ? 197 : 137, format)
{}
StackItemD::StackItemD(EvaluationEnvironment& environment, const FloatNumber& number)
    : StackItemFloat(environment, number, 137)
{}
StackItemD::StackItemD(const StackItemD& other) : StackItemFloat(other) {}
StackItemD::~StackItemD() = default;

StackItemLD::StackItemLD(EvaluationEnvironment& environment, const debuggeeLongDouble_t& raw,
                         FloatNumber::Format format)
    : StackItemFloat(environment, raw, format != FloatNumber::IEEE ? 198 : 138, format)
{}
StackItemLD::StackItemLD(EvaluationEnvironment& environment, const debuggeeLongDouble_t& raw, unsigned int builtinIndex,
                         FloatNumber::Format format)
    : StackItemFloat(environment, raw, builtinIndex, format)
{}
StackItemLD::StackItemLD(EvaluationEnvironment& environment, const FloatNumber& number)
    : StackItemFloat(environment, number,
                     number.getFormat() == FloatNumber::Hexadecimal
                         ? 138
                         : PrimitiveType::longDoubleFor(environment.addressSize()))
{}
StackItemLD::StackItemLD(const StackItemLD& other) : StackItemFloat(other) {}
StackItemLD::~StackItemLD() = default;
