#ifndef NORVEXA_MACHINE_STACKITEMEXTERNALFLOAT_H
#define NORVEXA_MACHINE_STACKITEMEXTERNALFLOAT_H

#include "datatypes/ExternalFloat.h"
#include "machine/StackItemPictureValue.h"

// A COBOL external floating-point item (leaf 77): a number written in EBCDIC
// characters after its picture (sign, mantissa, E, signed exponent). Moves
// keep the characters; comparisons compare the numbers. No arithmetic.
class StackItemExternalFloat
    : public StackItemPictureValue<ExternalFloat, TNexternal_float, &_TYPE_ENTRY::externalFloat> {
public:
    StackItemExternalFloat(EvaluationEnvironment& environment, const ExternalFloat& value, const TypeItem& type);
    StackItemExternalFloat(const StackItemExternalFloat& other);
    ~StackItemExternalFloat() override;

    void checkValue() const override;
    StackItem* clone() const override;
    // Flips the mantissa sign between plus and minus.
    void genNegate() override;
    // A group's text is taken as it stands; every other source is edited
    // into this picture.
    void genConvert(const StackItem& source) override;
    std::int64_t asSigned() const override;
    // Hexadecimal format, as the debuggee's floating point of this language.
    FloatNumber asLongDouble() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    ExternalFloat asExternalFloat(const TNexternal_float& record) const override;
    NumericEdited asNumericEdited(const TNnumeric_edited& record) const override;
    NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const override;
    NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const override;

private:
    int compareWith(const StackItem& right) const override;
};

#endif
