#ifndef NORVEXA_MACHINE_STACKITEMFIGCONSTANT_H
#define NORVEXA_MACHINE_STACKITEMFIGCONSTANT_H

#include <cstdint>

#include "machine/StackItem.h"

// A COBOL figurative constant (SPACE, ZERO, HIGH-VALUE, LOW-VALUE, QUOTE,
// NULL) or alphanumeric named constant: a short EBCDIC text that takes the
// size of what it meets. A one-byte constant repeats its byte to the
// target's length or digits; a longer one is used as it stands. It compares
// through the other operand's own text comparison.
class StackItemFigConstant : public StackItem {
public:
    // The first bytes of a text of length bytes, padded with 0x40 to the
    // type's size (a null text: all blanks). RTRC_Other without a type
    // record.
    StackItemFigConstant(EvaluationEnvironment& environment, const char* text, std::uint64_t length,
                         const TypeItem& type);
    StackItemFigConstant(const StackItemFigConstant& other);
    ~StackItemFigConstant() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;
    void genConvert(const StackItem& source) override;
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int genLT(const StackItem& right) override;
    int genLE(const StackItem& right) override;
    int genGT(const StackItem& right) override;
    int genGE(const StackItem& right) override;
    // 0 for NULL (the null address); RTRC_IncompatTypes otherwise.
    std::uint64_t asUnsigned() const override;
    FloatNumber asLongDouble() const override;
    DecimalFloat asDecimalFloat() const override;
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
    ByteString asDbcsString(const TNdbcs_string& record) const override;
    DbcsEdited asDbcsEdited(const TNdbcs_edited& record) const override;
    ByteString asAlphaNumericGroup(const TNclass& record) const override;

    const ByteString& value() const { return value_; }
    bool nonNumeric() const { return nonNumeric_; }
    bool isNull() const { return null_; }

private:
    int relate(const StackItem& right, int relation);
    bool oneByte() const { return size() == 1 && value_.length() == 1; }
    // count copies of the byte of a one-byte constant; the value otherwise.
    ByteString expanded(std::int64_t count) const;
    // The constant widened to national text of length bytes.
    ByteString national(unsigned length) const;
    // The digits of a number: refused for a non-numeric or NULL constant.
    ZonedDecimal zonedOf(const ByteString& text) const;
    void flagsFrom(const TypeItem& type);

    ByteString value_;
    bool nonNumeric_ = false;
    bool null_ = false;
};

#endif
