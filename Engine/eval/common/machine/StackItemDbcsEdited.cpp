#include "machine/StackItemDbcsEdited.h"

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

StackItemDbcsEdited::StackItemDbcsEdited(EvaluationEnvironment& environment, const DbcsEdited& value,
                                         const TypeItem& type)
    : StackItemPictureValue(environment, value, type)
{}

StackItemDbcsEdited::StackItemDbcsEdited(const StackItemDbcsEdited& other) : StackItemPictureValue(other) {}

StackItemDbcsEdited::~StackItemDbcsEdited() = default;

StackItem* StackItemDbcsEdited::clone() const
{
    return new StackItemDbcsEdited(*this);
}

int StackItemDbcsEdited::compareWith(const StackItem& right) const
{
    return value_.compare(right.asDbcsEdited(record()));
}

DbcsEdited StackItemDbcsEdited::asDbcsEdited() const
{
    return value_;
}

void StackItemDbcsEdited::genConvert(const StackItem& source)
{
    if (source.isCompound())
        value_ = source.asDbcsEdited(record());
    else
        value_.convert(source.asDbcsEdited(record()));
}

namespace {

constexpr unsigned char shiftOut = 0x0E;
constexpr unsigned char shiftIn = 0x0F;

} // namespace

ByteString StackItemDbcsEdited::asDbcsString(const TNdbcs_string&) const
{
    return value_.bytes();
}

ByteString StackItemDbcsEdited::asNationalString(const TNnational_string&) const
{
    const ByteString& text = value_.bytes();
    return convertToNational(ByteString(&shiftOut, 1, text.data(), text.length(), &shiftIn, 1));
}

NationalEdited StackItemDbcsEdited::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(asNationalString(TNnational_string{}), record);
}

DbcsEdited StackItemDbcsEdited::asDbcsEdited(const TNdbcs_edited&) const
{
    return value_;
}
