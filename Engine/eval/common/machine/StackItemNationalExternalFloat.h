#ifndef NORVEXA_MACHINE_STACKITEMNATIONALEXTERNALFLOAT_H
#define NORVEXA_MACHINE_STACKITEMNATIONALEXTERNALFLOAT_H

#include "datatypes/NationalExternalFloat.h"
#include "machine/StackItemPictureValue.h"

// A COBOL national external floating-point item (leaf 80): the characters of
// an external float, each a UTF-16 big-endian unit. Moves keep the
// characters; comparisons compare the numbers. No arithmetic.
class StackItemNationalExternalFloat : public StackItemPictureValue<NationalExternalFloat, TNnational_external_float,
                                                                    &_TYPE_ENTRY::nationalExternalFloat> {
public:
    StackItemNationalExternalFloat(EvaluationEnvironment& environment, const NationalExternalFloat& value,
                                   const TypeItem& type);
    StackItemNationalExternalFloat(const StackItemNationalExternalFloat& other);
    ~StackItemNationalExternalFloat() override;

    void checkValue() const override;
    StackItem* clone() const override;
    void genNegate() override;
    void genConvert(const StackItem& source) override;
    std::int64_t asSigned() const override;
    // IEEE format.
    FloatNumber asLongDouble() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    // Refused: RTRC_IncompatTypes for a target whose flags carry 0x20,
    // RTRC_Other for any other.
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    ExternalFloat asExternalFloat(const TNexternal_float& record) const override;
    NumericEdited asNumericEdited(const TNnumeric_edited& record) const override;
    NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const override;
    NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const override;
    // A copy of the value.
    NationalExternalFloat asNationalExternalFloat() const;

private:
    int compareWith(const StackItem& right) const override;
};

#endif
