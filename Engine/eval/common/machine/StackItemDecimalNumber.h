#ifndef NORVEXA_MACHINE_STACKITEMDECIMALNUMBER_H
#define NORVEXA_MACHINE_STACKITEMDECIMALNUMBER_H

#include <cstdint>
#include <type_traits>
#include <utility>

#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItem.h"

// A COBOL decimal number on the value stack: packed (two digits a byte),
// zoned (one EBCDIC digit a byte) or national (one UTF-16 digit a
// character). The item holds one value of the matching value class, whose
// bytes are the debuggee's image, and leaves arithmetic, comparison,
// conversion and validation to it. The right operand of an operator is read
// in the item's own kind; the value class aligns the scales.
//
// After arithmetic the item's type becomes the created type of the value's
// new record, so that size() and resultBuffer() agree.
template <class Value>
class StackItemDecimalNumber : public StackItem {
public:
    using Record = typename std::remove_cvref_t<decltype(std::declval<Value>().record())>;

    StackItemDecimalNumber(EvaluationEnvironment& environment, const Value& value, const TypeItem& type);
    StackItemDecimalNumber(const StackItemDecimalNumber& other);
    ~StackItemDecimalNumber() override;

    // RTRC_BadSignInNumeric or RTRC_BadDataInNumeric, naming the variable.
    void checkValue() const override;
    StackItem* clone() const override = 0;
    std::uint64_t size() const override;
    // Reads the record's byte length from debuggee memory or an evaluator
    // buffer; any other kind of location, or a length of 0, is RTRC_Other.
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    void genAdd(const StackItem& right) override;
    void genSubtract(const StackItem& right) override;
    void genMult(const StackItem& right) override;
    void genDivide(const StackItem& right) override;
    void genPow(const StackItem& right, unsigned int n) override;
    void genNegate() override;
    // A COBOL MOVE of the source into the item's picture; a group source is
    // taken as it delivers itself.
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
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    ExternalFloat asExternalFloat(const TNexternal_float& record) const override;
    AlphaNumericEdited asAlphaNumericEdited(const TNalpha_numeric_edited& record) const override;
    NumericEdited asNumericEdited(const TNnumeric_edited& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const override;
    NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const override;
    ByteString asAlphaNumericGroup(const TNclass& record) const override;

    const Value& value() const { return value_; }

private:
    // The right operand in the item's own kind, for the item's own record.
    Value operand(const StackItem& right) const;
    // The value as zoned decimal, made straight from the digits.
    ZonedDecimal zoned() const;
    // After arithmetic: the type of the value's record; traces the record.
    void retype();
    void traceRecord(const char* function, unsigned line) const;

    Value value_;
};

class StackItemPackedDecimal : public StackItemDecimalNumber<PackedDecimal> {
public:
    StackItemPackedDecimal(EvaluationEnvironment& environment, const PackedDecimal& value, const TypeItem& type);
    StackItemPackedDecimal(const StackItemPackedDecimal& other);
    ~StackItemPackedDecimal() override;
    StackItem* clone() const override;
};

class StackItemZonedDecimal : public StackItemDecimalNumber<ZonedDecimal> {
public:
    StackItemZonedDecimal(EvaluationEnvironment& environment, const ZonedDecimal& value, const TypeItem& type);
    StackItemZonedDecimal(const StackItemZonedDecimal& other);
    ~StackItemZonedDecimal() override;
    StackItem* clone() const override;
};

class StackItemNationalDecimal : public StackItemDecimalNumber<NationalDecimal> {
public:
    StackItemNationalDecimal(EvaluationEnvironment& environment, const NationalDecimal& value, const TypeItem& type);
    StackItemNationalDecimal(const StackItemNationalDecimal& other);
    ~StackItemNationalDecimal() override;
    StackItem* clone() const override;
};

#endif
