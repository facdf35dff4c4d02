#ifndef NORVEXA_MACHINE_STACKITEMNATIONALNUMERICEDITED_H
#define NORVEXA_MACHINE_STACKITEMNATIONALNUMERICEDITED_H

#include "datatypes/NationalNumericEdited.h"
#include "machine/StackItemPictureValue.h"

// A COBOL national numeric-edited item (leaf 82): the text of a
// numeric-edited item in UTF-16 big-endian units. Every way back to a number
// de-edits and is refused with RTRC_NotSupported, as is a move from anything
// but a group.
// Comparisons ask the right operand for this kind in this picture and
// compare the texts. No arithmetic.
class StackItemNationalNumericEdited : public StackItemPictureValue<NationalNumericEdited, TNnational_numeric_edited,
                                                                    &_TYPE_ENTRY::nationalNumericEdited> {
public:
    StackItemNationalNumericEdited(EvaluationEnvironment& environment, const NationalNumericEdited& value,
                                   const TypeItem& type);
    StackItemNationalNumericEdited(const StackItemNationalNumericEdited& other);
    ~StackItemNationalNumericEdited() override;

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
    NationalNumericEdited asNationalNumericEdited() const;

private:
    int compareWith(const StackItem& right) const override;
};

#endif
