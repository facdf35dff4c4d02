#ifndef NORVEXA_MACHINE_STACKITEMCHARSTRING_H
#define NORVEXA_MACHINE_STACKITEMCHARSTRING_H

#include <cstdint>

#include "machine/StackItem.h"

// An alphanumeric value: single-byte EBCDIC characters as the debuggee
// stores them (a character-string item, leaf 5, or the value of a C
// character-array literal, leaf 83). It compares after padding the shorter
// side with 0x40, takes other values with COBOL move rules and converts
// itself into the numeric and edited kinds; a non-numeric value refuses
// every conversion to a number.
class StackItemCharstring : public StackItem {
public:
    // The first bytes of a text of length bytes, padded with 0x40 to the
    // type's size (a null text: all blanks). RTRC_Other without a type
    // record, for another leaf, or for an array of no fixed extent.
    StackItemCharstring(EvaluationEnvironment& environment, const char* text, std::uint64_t length,
                        const TypeItem& type);
    // A reference-modified slice: the bytes, their place and their length
    // (which then stands for the type's size).
    StackItemCharstring(EvaluationEnvironment& environment, const ByteString& bytes, const TypeItem& type,
                        const DebuggeeLocation& where, std::int64_t length);
    StackItemCharstring(const StackItemCharstring& other);
    ~StackItemCharstring() override;

    // A string held by the evaluator everywhere but in COBOL.
    bool isString() const override;
    StackItem* clone() const override;
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;
    std::uint64_t stringLength() const override;
    void genConvert(const StackItem& source) override;
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int genLT(const StackItem& right) override;
    int genLE(const StackItem& right) override;
    int genGT(const StackItem& right) override;
    int genGE(const StackItem& right) override;
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
    ByteString asAlphaNumericGroup(const TNclass& record) const override;

    const ByteString& value() const { return value_; }
    bool nonNumeric() const { return nonNumeric_; }

private:
    int relate(const StackItem& right, int relation);
    // The value as a number's digits: refused for a non-numeric value and,
    // for a value the evaluator holds, unless every byte is a digit or a
    // space.
    ZonedDecimal zoned() const;
    void refuseNonNumeric(const char* function, unsigned line) const;
    void checkDigits(const char* function, unsigned line) const;
    // This item's record as the descriptor of a conversion.
    TNcharstring record() const;

    ByteString value_;
    bool nonNumeric_ = false;
    std::int64_t lengthOverride_ = 0;
};

#endif
