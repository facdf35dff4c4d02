#include "machine/StackItemDecimalNumber.h"

#include <type_traits>
#include <vector>

#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "machine/NationalEditedDigits.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"

namespace {

template <class Value>
constexpr bool isPacked = std::is_same_v<Value, PackedDecimal>;
template <class Value>
constexpr bool isZoned = std::is_same_v<Value, ZonedDecimal>;
template <class Value>
constexpr bool isNational = std::is_same_v<Value, NationalDecimal>;

// The decimal record of a type's entry; null when the type has none of the
// value's leaf.
template <class Value>
const typename StackItemDecimalNumber<Value>::Record* recordOf(const TypeItem& type)
{
    const _TYPE_ENTRY* entry = type.typeEntry();
    if constexpr (isPacked<Value>)
        return entry != nullptr && entry->leaf == TE_PACKED_DECIMAL ? &entry->packed : nullptr;
    else if constexpr (isZoned<Value>)
        return entry != nullptr && entry->leaf == TE_ZONED_DECIMAL ? &entry->zoned : nullptr;
    else
        return entry != nullptr && entry->leaf == TE_NATIONAL_DECIMAL ? &entry->nationalDecimal : nullptr;
}

template <class Value>
const TypeItem* typeOfRecord(const typename StackItemDecimalNumber<Value>::Record& record)
{
    if constexpr (isPacked<Value>)
        return CreatedTypeItem::findOrCreatePackedDecimalType(record);
    else if constexpr (isZoned<Value>)
        return CreatedTypeItem::findOrCreateZonedDecimalType(record);
    else
        return CreatedTypeItem::findOrCreateNationalDecimalType(record);
}

// Character-string targets with this flag take no decimal characters.
constexpr UBYTE4 charstringRefusesDigits = 0x20;

} // namespace

template <class Value>
StackItemDecimalNumber<Value>::StackItemDecimalNumber(EvaluationEnvironment& environment, const Value& value,
                                                      const TypeItem& type)
    : StackItem(environment, type), value_(value)
{
    setHasValue(true);
}

template <class Value>
StackItemDecimalNumber<Value>::StackItemDecimalNumber(const StackItemDecimalNumber& other)
    : StackItem(other), value_(other.value_)
{}

template <class Value>
StackItemDecimalNumber<Value>::~StackItemDecimalNumber() = default;

template <class Value>
void StackItemDecimalNumber<Value>::checkValue() const
{
    DataError error = DataErrorNone;
    if constexpr (isPacked<Value>)
        value_.isValidPacked(&error);
    else if constexpr (isZoned<Value>)
        value_.isValidZoned(false, false, &error);
    else
        value_.isValidNationalDecimal(false, false, &error);
    const char* variable = name() != nullptr ? name() : "";
    if (error == DataErrorBadSign)
        throw InvalidOp(InvalidOp::RTRC_BadSignInNumeric, __PRETTY_FUNCTION__, __LINE__, variable);
    if (error == DataErrorBadDigit)
        throw InvalidOp(InvalidOp::RTRC_BadDataInNumeric, __PRETTY_FUNCTION__, __LINE__, variable);
}

template <class Value>
std::uint64_t StackItemDecimalNumber<Value>::size() const
{
    return type_.typeSize();
}

template <class Value>
void StackItemDecimalNumber<Value>::traceRecord(const char* function, unsigned line) const
{
    const Record& r = value_.record();
    SVC::fTrace(function, line, "[%d,%d,%d]", int(r.precision), int(r.scale), int(r.decimalPlaces));
}

template <class Value>
void StackItemDecimalNumber<Value>::load(const DebuggeeLocation& where)
{
    // Debuggee memory, or the evaluator's own copy of a value (a condition
    // name's values); a register never holds decimal data.
    if (where.kind() != DebuggeeLocation::debuggeeMemory && where.kind() != DebuggeeLocation::debuggerBuffer) {
        setHasValue(false);
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    const Record* record = recordOf<Value>(type_);
    if (record == nullptr || record->byteLength == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    std::vector<unsigned char> buffer(record->byteLength, 0xFF);
    ReadDebuggeeData(buffer.data(), buffer.size(), where);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "[%d,%d,%d]", int(record->precision), int(record->scale),
                int(record->decimalPlaces));
    value_ = Value(buffer.data(), *record);
    location_ = where;
    setHasValue(true);
}

template <class Value>
void* StackItemDecimalNumber<Value>::resultBuffer() const
{
    return const_cast<unsigned char*>(value_.bytes().data());
}

template <class Value>
Value StackItemDecimalNumber<Value>::operand(const StackItem& right) const
{
    if constexpr (isPacked<Value>)
        return right.asPackedDecimal(value_.record());
    else if constexpr (isZoned<Value>)
        return right.asZonedDecimal(value_.record());
    else
        return right.asNationalDecimal(value_.record());
}

template <class Value>
void StackItemDecimalNumber<Value>::retype()
{
    type_ = *typeOfRecord<Value>(value_.record());
}

template <class Value>
void StackItemDecimalNumber<Value>::genAdd(const StackItem& right)
{
    value_ += operand(right);
    retype();
    traceRecord(__PRETTY_FUNCTION__, __LINE__);
}

template <class Value>
void StackItemDecimalNumber<Value>::genSubtract(const StackItem& right)
{
    value_ -= operand(right);
    retype();
}

template <class Value>
void StackItemDecimalNumber<Value>::genMult(const StackItem& right)
{
    value_ *= operand(right);
    retype();
}

template <class Value>
void StackItemDecimalNumber<Value>::genDivide(const StackItem& right)
{
    value_ /= operand(right);
    retype();
}

template <class Value>
void StackItemDecimalNumber<Value>::genPow(const StackItem& right, unsigned int n)
{
    value_.power(operand(right), n);
    retype();
}

template <class Value>
void StackItemDecimalNumber<Value>::genNegate()
{
    value_ = -value_;
    retype();
}

template <class Value>
void StackItemDecimalNumber<Value>::genConvert(const StackItem& source)
{
    const Record& r = value_.record();
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "value [%d,%d]", int(r.precision), int(r.decimalPlaces));
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "type  [%d,%d,%d]", int(r.precision), int(r.scale),
                int(r.decimalPlaces));
    const Value moved = operand(source);
    if (source.isCompound()) {
        value_ = moved;
        // Group data of another length brings its own record along: the
        // type follows, so that size() covers exactly the value's bytes.
        if (value_.bytes().length() != size())
            retype();
    } else
        value_.convert(moved);
}

template <class Value>
int StackItemDecimalNumber<Value>::genEQ(const StackItem& right)
{
    return value_.compare(operand(right)) == 0;
}
template <class Value>
int StackItemDecimalNumber<Value>::genNE(const StackItem& right)
{
    return value_.compare(operand(right)) != 0;
}
template <class Value>
int StackItemDecimalNumber<Value>::genLT(const StackItem& right)
{
    return value_.compare(operand(right)) < 0;
}
template <class Value>
int StackItemDecimalNumber<Value>::genLE(const StackItem& right)
{
    return value_.compare(operand(right)) <= 0;
}
template <class Value>
int StackItemDecimalNumber<Value>::genGT(const StackItem& right)
{
    return value_.compare(operand(right)) > 0;
}
template <class Value>
int StackItemDecimalNumber<Value>::genGE(const StackItem& right)
{
    return value_.compare(operand(right)) >= 0;
}

template <class Value>
int StackItemDecimalNumber<Value>::isZero() const
{
    return !value_ ? 1 : 0;
}

template <class Value>
std::uint64_t StackItemDecimalNumber<Value>::asUnsigned() const
{
    return static_cast<unsigned long long>(value_);
}

template <class Value>
std::int64_t StackItemDecimalNumber<Value>::asSigned() const
{
    return static_cast<long long>(value_);
}

template <class Value>
FloatNumber StackItemDecimalNumber<Value>::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(value_));
}

template <class Value>
FloatNumber StackItemDecimalNumber<Value>::realPart() const
{
    return asLongDouble();
}

template <class Value>
FloatNumber StackItemDecimalNumber<Value>::imaginaryPart() const
{
    return FloatNumber(0);
}

template <class Value>
DecimalFloat StackItemDecimalNumber<Value>::asDecimalFloat() const
{
    return static_cast<DecimalFloat>(value_);
}

template <class Value>
PackedDecimal StackItemDecimalNumber<Value>::asPackedDecimal(const TNpacked_decimal&) const
{
    if constexpr (isPacked<Value>)
        return value_;
    else
        return PackedDecimal(value_);
}

template <class Value>
ZonedDecimal StackItemDecimalNumber<Value>::asZonedDecimal(const TNzoned_decimal&) const
{
    return zoned();
}

template <class Value>
NationalDecimal StackItemDecimalNumber<Value>::asNationalDecimal(const TNnational_decimal&) const
{
    if constexpr (isNational<Value>)
        return value_;
    else
        return NationalDecimal(value_);
}

template <class Value>
FixedPointBinary StackItemDecimalNumber<Value>::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    if constexpr (isNational<Value>)
        return FixedPointBinary(value_);
    else
        return FixedPointBinary(value_, record);
}

template <class Value>
IndexName StackItemDecimalNumber<Value>::asIndexName(const TNindex_name&) const
{
    return IndexName(value_);
}

template <class Value>
ZonedDecimal StackItemDecimalNumber<Value>::zoned() const
{
    if constexpr (isZoned<Value>)
        return value_;
    else
        return ZonedDecimal(value_);
}

template <class Value>
ByteString StackItemDecimalNumber<Value>::asCharstring(const TNcharstring& record) const
{
    if (!isNational<Value> && (record.flags & charstringRefusesDigits) != 0)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    return zoned().toCharstring();
}

template <class Value>
ByteString StackItemDecimalNumber<Value>::asNationalString(const TNnational_string&) const
{
    return convertToNational(zoned().toCharstring());
}

template <class Value>
ExternalFloat StackItemDecimalNumber<Value>::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(value_, record);
}

template <class Value>
AlphaNumericEdited StackItemDecimalNumber<Value>::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    if constexpr (isZoned<Value>)
        return AlphaNumericEdited(value_, record);
    else
        return AlphaNumericEdited(zoned().toCharstring(), record);
}

template <class Value>
NumericEdited StackItemDecimalNumber<Value>::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(value_, record);
}

template <class Value>
NationalEdited StackItemDecimalNumber<Value>::asNationalEdited(const TNnational_edited& record) const
{
    const Record& own = value_.record();
    return nationalEditedDigits(asNationalDecimal(TNnational_decimal{}), own.precision, own.scale, record);
}

template <class Value>
NationalNumericEdited
StackItemDecimalNumber<Value>::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return NationalNumericEdited(value_, record);
}

template <class Value>
NationalExternalFloat
StackItemDecimalNumber<Value>::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(value_, record);
}

template <class Value>
ByteString StackItemDecimalNumber<Value>::asAlphaNumericGroup(const TNclass&) const
{
    return value_.bytes();
}

template class StackItemDecimalNumber<PackedDecimal>;
template class StackItemDecimalNumber<ZonedDecimal>;
template class StackItemDecimalNumber<NationalDecimal>;

StackItemPackedDecimal::StackItemPackedDecimal(EvaluationEnvironment& environment, const PackedDecimal& value,
                                               const TypeItem& type)
    : StackItemDecimalNumber(environment, value, type)
{}
StackItemPackedDecimal::StackItemPackedDecimal(const StackItemPackedDecimal& other) = default;
StackItemPackedDecimal::~StackItemPackedDecimal() = default;
StackItem* StackItemPackedDecimal::clone() const
{
    return new StackItemPackedDecimal(*this);
}

StackItemZonedDecimal::StackItemZonedDecimal(EvaluationEnvironment& environment, const ZonedDecimal& value,
                                             const TypeItem& type)
    : StackItemDecimalNumber(environment, value, type)
{}
StackItemZonedDecimal::StackItemZonedDecimal(const StackItemZonedDecimal& other) = default;
StackItemZonedDecimal::~StackItemZonedDecimal() = default;
StackItem* StackItemZonedDecimal::clone() const
{
    return new StackItemZonedDecimal(*this);
}

StackItemNationalDecimal::StackItemNationalDecimal(EvaluationEnvironment& environment, const NationalDecimal& value,
                                                   const TypeItem& type)
    : StackItemDecimalNumber(environment, value, type)
{}
StackItemNationalDecimal::StackItemNationalDecimal(const StackItemNationalDecimal& other) = default;
StackItemNationalDecimal::~StackItemNationalDecimal() = default;
StackItem* StackItemNationalDecimal::clone() const
{
    return new StackItemNationalDecimal(*this);
}
