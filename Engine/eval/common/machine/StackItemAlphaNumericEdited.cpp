#include "machine/StackItemAlphaNumericEdited.h"

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
#include "services/InvalidOp.h"

StackItemAlphaNumericEdited::StackItemAlphaNumericEdited(EvaluationEnvironment& environment,
                                                         const AlphaNumericEdited& value, const TypeItem& type)
    : StackItemPictureValue(environment, value, type)
{}

StackItemAlphaNumericEdited::StackItemAlphaNumericEdited(const StackItemAlphaNumericEdited& other)
    : StackItemPictureValue(other)
{}

StackItemAlphaNumericEdited::~StackItemAlphaNumericEdited() = default;

StackItem* StackItemAlphaNumericEdited::clone() const
{
    return new StackItemAlphaNumericEdited(*this);
}

int StackItemAlphaNumericEdited::compareWith(const StackItem& right) const
{
    return value_.compare(right.asAlphaNumericEdited(record()));
}

AlphaNumericEdited StackItemAlphaNumericEdited::asAlphaNumericEdited() const
{
    return value_;
}

void StackItemAlphaNumericEdited::genConvert(const StackItem& source)
{
    if (source.isCompound())
        value_ = source.asAlphaNumericEdited(record());
    else
        value_.convert(source.asAlphaNumericEdited(record()));
}

ByteString StackItemAlphaNumericEdited::asCharstring(const TNcharstring&) const
{
    return value_.bytes();
}

ByteString StackItemAlphaNumericEdited::asNationalString(const TNnational_string&) const
{
    return convertToNational(value_.bytes());
}

AlphaNumericEdited StackItemAlphaNumericEdited::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    return AlphaNumericEdited(value_.bytes(), record);
}

NationalEdited StackItemAlphaNumericEdited::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(convertToNational(value_.bytes()), record);
}
