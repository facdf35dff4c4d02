#include "machine/StackItemNumericEdited.h"

#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DbcsEdited.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/PictureItemSupport.h"
#include "services/InvalidOp.h"

StackItemNumericEdited::StackItemNumericEdited(EvaluationEnvironment& environment, const NumericEdited& value,
                                               const TypeItem& type)
    : StackItemPictureValue(environment, value, type)
{}

StackItemNumericEdited::StackItemNumericEdited(const StackItemNumericEdited& other) : StackItemPictureValue(other) {}

StackItemNumericEdited::~StackItemNumericEdited() = default;

StackItem* StackItemNumericEdited::clone() const
{
    return new StackItemNumericEdited(*this);
}

int StackItemNumericEdited::compareWith(const StackItem& right) const
{
    return value_.compare(right.asNumericEdited(record()));
}

NumericEdited StackItemNumericEdited::asNumericEdited() const
{
    return value_;
}

// A group's text is taken as it gives it in this picture; a number is edited
// into the picture by its own conversion.
void StackItemNumericEdited::genConvert(const StackItem& source)
{
    if (!pictureitem::movesIntoNumericEdited(source))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    value_ = source.asNumericEdited(record());
}

// The numbers of an edited text: each de-edits, which the value class refuses.

FloatNumber StackItemNumericEdited::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(value_));
}

PackedDecimal StackItemNumericEdited::asPackedDecimal(const TNpacked_decimal& record) const
{
    return PackedDecimal(value_, record);
}

ZonedDecimal StackItemNumericEdited::asZonedDecimal(const TNzoned_decimal&) const
{
    return ZonedDecimal(value_);
}

NationalDecimal StackItemNumericEdited::asNationalDecimal(const TNnational_decimal& record) const
{
    return NationalDecimal(value_, record);
}

FixedPointBinary StackItemNumericEdited::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    return FixedPointBinary(value_, record);
}

ExternalFloat StackItemNumericEdited::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(record, static_cast<long double>(value_));
}

NationalNumericEdited StackItemNumericEdited::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return NationalNumericEdited(record, static_cast<long double>(value_));
}

NationalExternalFloat StackItemNumericEdited::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(record, static_cast<long double>(value_));
}

// The texts.

ByteString StackItemNumericEdited::asCharstring(const TNcharstring&) const
{
    return value_.bytes();
}

ByteString StackItemNumericEdited::asNationalString(const TNnational_string&) const
{
    return convertToNational(value_.bytes());
}

AlphaNumericEdited StackItemNumericEdited::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    return AlphaNumericEdited(value_.bytes(), record);
}

NumericEdited StackItemNumericEdited::asNumericEdited(const TNnumeric_edited&) const
{
    return value_;
}

NationalEdited StackItemNumericEdited::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(convertToNational(value_.bytes()), record);
}
