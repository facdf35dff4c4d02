#include "machine/StackItemNationalExternalFloat.h"

#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/ExternalFloatOrder.h"
#include "machine/PictureItemSupport.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

namespace {

// Character-string targets with this flag take no numeric characters.
constexpr UBYTE4 charstringRefusesDigits = 0x20;

} // namespace

StackItemNationalExternalFloat::StackItemNationalExternalFloat(EvaluationEnvironment& environment,
                                                               const NationalExternalFloat& value, const TypeItem& type)
    : StackItemPictureValue(environment, value, type)
{}

StackItemNationalExternalFloat::StackItemNationalExternalFloat(const StackItemNationalExternalFloat& other)
    : StackItemPictureValue(other)
{}

StackItemNationalExternalFloat::~StackItemNationalExternalFloat() = default;

void StackItemNationalExternalFloat::checkValue() const
{
    DataError error = DataErrorNone;
    value_.isValidNationalExternalFloat(&error);
    pictureitem::raiseDataError(error, name());
}

StackItem* StackItemNationalExternalFloat::clone() const
{
    return new StackItemNationalExternalFloat(*this);
}

void StackItemNationalExternalFloat::genNegate()
{
    value_ = -value_;
}

void StackItemNationalExternalFloat::genConvert(const StackItem& source)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "value [%d]", static_cast<int>(record().length));
    NationalExternalFloat converted = source.asNationalExternalFloat(record());
    if (source.isCompound())
        value_ = converted;
    else
        value_.convert(converted);
}

int StackItemNationalExternalFloat::compareWith(const StackItem& right) const
{
    const NationalExternalFloat other = right.asNationalExternalFloat(record());
    return externalfloatorder::compare(value_.convertToExternalFloat(), other.convertToExternalFloat());
}

std::int64_t StackItemNationalExternalFloat::asSigned() const
{
    return static_cast<long long>(value_);
}

FloatNumber StackItemNationalExternalFloat::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(value_));
}

PackedDecimal StackItemNationalExternalFloat::asPackedDecimal(const TNpacked_decimal& record) const
{
    return PackedDecimal(value_, record);
}

ZonedDecimal StackItemNationalExternalFloat::asZonedDecimal(const TNzoned_decimal& record) const
{
    return ZonedDecimal(value_, record);
}

NationalDecimal StackItemNationalExternalFloat::asNationalDecimal(const TNnational_decimal& record) const
{
    return NationalDecimal(value_, record);
}

FixedPointBinary StackItemNationalExternalFloat::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    return FixedPointBinary(value_, record);
}

ByteString StackItemNationalExternalFloat::asCharstring(const TNcharstring& record) const
{
    if ((record.flags & charstringRefusesDigits) != 0)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

ByteString StackItemNationalExternalFloat::asNationalString(const TNnational_string&) const
{
    return value_.bytes();
}

ExternalFloat StackItemNationalExternalFloat::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(value_, record);
}

NumericEdited StackItemNationalExternalFloat::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(value_, record);
}

NationalNumericEdited
StackItemNationalExternalFloat::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return pictureitem::nationalNumericEdited(static_cast<long double>(value_), record);
}

NationalExternalFloat StackItemNationalExternalFloat::asNationalExternalFloat(const TNnational_external_float&) const
{
    return value_;
}

NationalExternalFloat StackItemNationalExternalFloat::asNationalExternalFloat() const
{
    return value_;
}
