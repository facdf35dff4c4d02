#ifndef NORVEXA_MACHINE_STACKITEMFIXEDPOINTBINARY_H
#define NORVEXA_MACHINE_STACKITEMFIXEDPOINTBINARY_H

#include <cstdint>

#include "datatypes/FixedPointBinary.h"
#include "machine/StackItem.h"

// COBOL binary data: a big-endian two's-complement integer of 1, 2, 4 or 8
// bytes standing for a decimal number of a fixed digit count and scale. The
// value is held in host order by FixedPointBinary, which does the decimal
// arithmetic; the raw bytes are its big-endian image at the type's length.
// After +, -, * and / the item's type becomes the created type of the
// value's new record.
class StackItemFixedPointBinary : public StackItem {
public:
    // RTRC_Other for a type whose entry has length 0.
    StackItemFixedPointBinary(EvaluationEnvironment& environment, const FixedPointBinary& value, const TypeItem& type);
    StackItemFixedPointBinary(const StackItemFixedPointBinary& other);
    ~StackItemFixedPointBinary() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    void genAdd(const StackItem& right) override;
    void genSubtract(const StackItem& right) override;
    void genMult(const StackItem& right) override;
    void genDivide(const StackItem& right) override;
    void genPow(const StackItem& right, unsigned int n) override;
    void genNegate() override;
    void genConvert(const StackItem& source) override;
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int genLT(const StackItem& right) override;
    int genLE(const StackItem& right) override;
    int genGT(const StackItem& right) override;
    int genGE(const StackItem& right) override;
    int isZero() const override;
    std::uint64_t asUnsigned() const override;
    std::int64_t asSigned() const override;
    FloatNumber asLongDouble() const override;
    FloatNumber realPart() const override;
    FloatNumber imaginaryPart() const override;
    DecimalFloat asDecimalFloat() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    IndexName asIndexName(const TNindex_name& record) const override;
    // The display text; RTRC_IncompatTypes for a target that takes no
    // digits, and for a value with decimal places.
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    ExternalFloat asExternalFloat(const TNexternal_float& record) const override;
    AlphaNumericEdited asAlphaNumericEdited(const TNalpha_numeric_edited& record) const override;
    NumericEdited asNumericEdited(const TNnumeric_edited& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const override;
    NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const override;
    // A variable's storage bytes as they are; a computed value's digits.
    ByteString asAlphaNumericGroup(const TNclass& record) const override;

    const FixedPointBinary& value() const { return value_; }

private:
    // This value against right's, <0, 0 or >0.
    int compareWith(const StackItem& right) const;
    // The type entry's binary record; RTRC_Other when it has none.
    const TNfixed_point_binary& entry() const;
    // The value's digits as EBCDIC characters, sign dropped.
    static ByteString displayText(const FixedPointBinary& value);
    void retype();

    mutable unsigned char raw_[8] = {};
    FixedPointBinary value_;
};

#endif
