#ifndef NORVEXA_MACHINE_STACKITEMNUMERICEDITED_H
#define NORVEXA_MACHINE_STACKITEMNUMERICEDITED_H

#include "datatypes/NumericEdited.h"
#include "machine/StackItemPictureValue.h"

// A COBOL numeric-edited item (leaf 79): EBCDIC text edited after its
// picture. Numbers are edited in; reading one back (de-editing) is refused
// with RTRC_NotSupported, and so is a move from anything but a group.
// Comparisons ask the right operand for this kind in this picture and
// compare the texts. No arithmetic.
class StackItemNumericEdited
    : public StackItemPictureValue<NumericEdited, TNnumeric_edited, &_TYPE_ENTRY::numericEdited> {
public:
    StackItemNumericEdited(EvaluationEnvironment& environment, const NumericEdited& value, const TypeItem& type);
    StackItemNumericEdited(const StackItemNumericEdited& other);
    ~StackItemNumericEdited() override;

    StackItem* clone() const override;
    void genConvert(const StackItem& source) override;
    FloatNumber asLongDouble() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    ExternalFloat asExternalFloat(const TNexternal_float& record) const override;
    AlphaNumericEdited asAlphaNumericEdited(const TNalpha_numeric_edited& record) const override;
    NumericEdited asNumericEdited(const TNnumeric_edited& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const override;
    NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const override;
    // A copy of the value.
    NumericEdited asNumericEdited() const;

private:
    int compareWith(const StackItem& right) const override;
};

#endif
