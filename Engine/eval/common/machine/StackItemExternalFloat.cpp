#include "machine/StackItemExternalFloat.h"

#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/ExternalFloatOrder.h"
#include "machine/PictureItemSupport.h"
#include "services/SVC.h"

StackItemExternalFloat::StackItemExternalFloat(EvaluationEnvironment& environment, const ExternalFloat& value,
                                               const TypeItem& type)
    : StackItemPictureValue(environment, value, type)
{}

StackItemExternalFloat::StackItemExternalFloat(const StackItemExternalFloat& other) : StackItemPictureValue(other) {}

StackItemExternalFloat::~StackItemExternalFloat() = default;

void StackItemExternalFloat::checkValue() const
{
    DataError error = DataErrorNone;
    value_.isValidExternalFloat(&error);
    pictureitem::raiseDataError(error, name());
}

StackItem* StackItemExternalFloat::clone() const
{
    return new StackItemExternalFloat(*this);
}

void StackItemExternalFloat::genNegate()
{
    value_ = -value_;
}

void StackItemExternalFloat::genConvert(const StackItem& source)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "value [%d]", static_cast<int>(record().length));
    ExternalFloat converted = source.asExternalFloat(record());
    if (source.isCompound())
        value_ = converted;
    else
        value_.convert(converted);
}

int StackItemExternalFloat::compareWith(const StackItem& right) const
{
    return externalfloatorder::compare(value_, right.asExternalFloat(record()));
}

std::int64_t StackItemExternalFloat::asSigned() const
{
    return static_cast<long long>(value_);
}

FloatNumber StackItemExternalFloat::asLongDouble() const
{
    FloatNumber number(static_cast<long double>(value_));
    number.markQUVhex();
    return number;
}

PackedDecimal StackItemExternalFloat::asPackedDecimal(const TNpacked_decimal& record) const
{
    return PackedDecimal(value_, record);
}

ZonedDecimal StackItemExternalFloat::asZonedDecimal(const TNzoned_decimal& record) const
{
    return ZonedDecimal(value_, record);
}

NationalDecimal StackItemExternalFloat::asNationalDecimal(const TNnational_decimal& record) const
{
    return NationalDecimal(value_, record);
}

FixedPointBinary StackItemExternalFloat::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    return FixedPointBinary(value_, record);
}

ByteString StackItemExternalFloat::asCharstring(const TNcharstring&) const
{
    return value_.bytes();
}

ByteString StackItemExternalFloat::asNationalString(const TNnational_string&) const
{
    return convertToNational(value_.bytes());
}

ExternalFloat StackItemExternalFloat::asExternalFloat(const TNexternal_float&) const
{
    return value_;
}

NumericEdited StackItemExternalFloat::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(value_, record);
}

NationalNumericEdited StackItemExternalFloat::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return pictureitem::nationalNumericEdited(static_cast<long double>(value_), record);
}

NationalExternalFloat StackItemExternalFloat::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(value_, record);
}
