#include "machine/StackItemNationalEdited.h"

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

StackItemNationalEdited::StackItemNationalEdited(EvaluationEnvironment& environment, const NationalEdited& value,
                                                 const TypeItem& type)
    : StackItemPictureValue(environment, value, type)
{}

StackItemNationalEdited::StackItemNationalEdited(const StackItemNationalEdited& other) : StackItemPictureValue(other) {}

StackItemNationalEdited::~StackItemNationalEdited() = default;

StackItem* StackItemNationalEdited::clone() const
{
    return new StackItemNationalEdited(*this);
}

int StackItemNationalEdited::compareWith(const StackItem& right) const
{
    return value_.compare(right.asNationalEdited(record()));
}

NationalEdited StackItemNationalEdited::asNationalEdited() const
{
    return value_;
}

void StackItemNationalEdited::genConvert(const StackItem& source)
{
    if (source.isCompound())
        value_ = source.asNationalEdited(record());
    else
        value_.convert(source.asNationalEdited(record()));
}

ByteString StackItemNationalEdited::asCharstring(const TNcharstring&) const
{
    return convertToCharacter(value_.bytes());
}

ByteString StackItemNationalEdited::asNationalString(const TNnational_string&) const
{
    return value_.bytes();
}

NationalEdited StackItemNationalEdited::asNationalEdited(const TNnational_edited&) const
{
    return value_;
}
