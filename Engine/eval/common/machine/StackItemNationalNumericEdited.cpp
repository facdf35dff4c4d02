#include "machine/StackItemNationalNumericEdited.h"

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

StackItemNationalNumericEdited::StackItemNationalNumericEdited(EvaluationEnvironment& environment,
                                                               const NationalNumericEdited& value, const TypeItem& type)
    : StackItemPictureValue(environment, value, type)
{}

StackItemNationalNumericEdited::StackItemNationalNumericEdited(const StackItemNationalNumericEdited& other)
    : StackItemPictureValue(other)
{}

StackItemNationalNumericEdited::~StackItemNationalNumericEdited() = default;

StackItem* StackItemNationalNumericEdited::clone() const
{
    return new StackItemNationalNumericEdited(*this);
}

int StackItemNationalNumericEdited::compareWith(const StackItem& right) const
{
    return value_.compare(right.asNationalNumericEdited(record()));
}

NationalNumericEdited StackItemNationalNumericEdited::asNationalNumericEdited() const
{
    return value_;
}

// A group's text is taken as it gives it in this picture; a number is edited
// into the picture by its own conversion.
void StackItemNationalNumericEdited::genConvert(const StackItem& source)
{
    if (!pictureitem::movesIntoNumericEdited(source))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    value_ = source.asNationalNumericEdited(record());
}

// The numbers of an edited text: each narrows to numeric-edited and de-edits,
// which the value classes refuse.

FloatNumber StackItemNationalNumericEdited::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(value_));
}

PackedDecimal StackItemNationalNumericEdited::asPackedDecimal(const TNpacked_decimal& record) const
{
    return PackedDecimal(value_, record);
}

ZonedDecimal StackItemNationalNumericEdited::asZonedDecimal(const TNzoned_decimal&) const
{
    return ZonedDecimal(value_);
}

NationalDecimal StackItemNationalNumericEdited::asNationalDecimal(const TNnational_decimal& record) const
{
    return NationalDecimal(value_, record);
}

FixedPointBinary StackItemNationalNumericEdited::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    return FixedPointBinary(value_.convertToNumericEdited(), record);
}

ExternalFloat StackItemNationalNumericEdited::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(record, static_cast<long double>(value_.convertToNumericEdited()));
}

NationalExternalFloat
StackItemNationalNumericEdited::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(record, static_cast<long double>(value_.convertToNumericEdited()));
}

NumericEdited StackItemNationalNumericEdited::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(record, static_cast<long double>(value_.convertToNumericEdited()));
}

// The texts.

ByteString StackItemNationalNumericEdited::asCharstring(const TNcharstring&) const
{
    return convertToCharacter(value_.bytes());
}

ByteString StackItemNationalNumericEdited::asNationalString(const TNnational_string&) const
{
    return value_.bytes();
}

AlphaNumericEdited StackItemNationalNumericEdited::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    return AlphaNumericEdited(convertToCharacter(value_.bytes()), record);
}

NationalEdited StackItemNationalNumericEdited::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(value_.bytes(), record);
}

NationalNumericEdited StackItemNationalNumericEdited::asNationalNumericEdited(const TNnational_numeric_edited&) const
{
    return value_;
}
