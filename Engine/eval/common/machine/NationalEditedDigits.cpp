#include "machine/NationalEditedDigits.h"

#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"

NationalEdited nationalEditedDigits(const NationalDecimal& value, unsigned precision, int scale,
                                    const TNnational_edited& record)
{
    TNnational_decimal digits{};
    digits.leaf = TE_NATIONAL_DECIMAL;
    digits.precision = static_cast<UBYTE1>(precision);
    digits.decimalPlaces = static_cast<UBYTE1>(scale < 0 ? -scale : 0);
    digits.signKind = TN_SignNone;
    digits.flags = TN_DecimalPictureForm;
    digits.byteLength = static_cast<UBYTE1>(2 * precision);
    digits.scale = static_cast<signed char>(scale);
    NationalDecimal unsignedDigits(digits, 0.0L);
    unsignedDigits.convert(value);
    return NationalEdited(unsignedDigits.bytes(), record);
}
