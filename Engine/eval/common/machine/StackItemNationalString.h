#ifndef NORVEXA_MACHINE_STACKITEMNATIONALSTRING_H
#define NORVEXA_MACHINE_STACKITEMNATIONALSTRING_H

#include <cstdint>

#include "machine/StackItem.h"

// A national value (leaf 74): UTF-16 big-endian code units as the debuggee
// stores them. It compares after padding the shorter side with national
// spaces (00 20), takes other values with COBOL move rules and reads as an
// unsigned integer of one digit a character when a number is asked for.
class StackItemNationalString : public StackItem {
public:
    // The first bytes of a text of length bytes, padded with national
    // spaces to the type's size (a null text: all blanks). RTRC_Other
    // without a type record.
    StackItemNationalString(EvaluationEnvironment& environment, const char* text, std::uint64_t length,
                            const TypeItem& type);
    // A reference-modified slice, as for the alphanumeric item.
    StackItemNationalString(EvaluationEnvironment& environment, const ByteString& bytes, const TypeItem& type,
                            const DebuggeeLocation& where, std::int64_t length);
    StackItemNationalString(const StackItemNationalString& other);
    ~StackItemNationalString() override;

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
    FloatNumber asLongDouble() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    ExternalFloat asExternalFloat(const TNexternal_float& record) const override;
    NumericEdited asNumericEdited(const TNnumeric_edited& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const override;
    NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const override;
    ByteString asAlphaNumericGroup(const TNclass& record) const override;

    const ByteString& value() const { return value_; }

private:
    int relate(const StackItem& right, int relation);
    // The value read as an unsigned national decimal integer;
    // RTRC_IncompatTypes when it has more characters than such a value
    // holds digits.
    NationalDecimal nationalDecimal() const;
    // The value in EBCDIC, every byte a digit or a space.
    ByteString displayDigits(const char* function, unsigned line) const;
    TNnational_string record() const;

    ByteString value_;
    std::int64_t lengthOverride_ = 0;
};

#endif
