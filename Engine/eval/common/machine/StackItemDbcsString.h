#ifndef NORVEXA_MACHINE_STACKITEMDBCSSTRING_H
#define NORVEXA_MACHINE_STACKITEMDBCSSTRING_H

#include <cstdint>

#include "machine/StackItem.h"

// A DBCS (graphic) value (leaf 86): two bytes a character as the debuggee
// stores them, without shift bytes. It compares after padding with DBCS
// spaces (40 40), takes other values by cutting or padding at the end, and
// converts to no number and to no alphanumeric text; national text is had
// through the host as mixed EBCDIC.
class StackItemDbcsString : public StackItem {
public:
    // The first bytes of a text of length bytes, padded with DBCS spaces to
    // the record's length (a null text: all blanks). RTRC_Other without a
    // type record.
    StackItemDbcsString(EvaluationEnvironment& environment, const char* text, std::uint64_t length,
                        const TypeItem& type);
    // A reference-modified slice, as for the alphanumeric item.
    StackItemDbcsString(EvaluationEnvironment& environment, const ByteString& bytes, const TypeItem& type,
                        const DebuggeeLocation& where, std::int64_t length);
    StackItemDbcsString(const StackItemDbcsString& other);
    ~StackItemDbcsString() override;

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
    ByteString asNationalString(const TNnational_string& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    ByteString asDbcsString(const TNdbcs_string& record) const override;
    DbcsEdited asDbcsEdited(const TNdbcs_edited& record) const override;
    ByteString asAlphaNumericGroup(const TNclass& record) const override;

    const ByteString& value() const { return value_; }

private:
    int relate(const StackItem& right, int relation);
    // A descriptor of this value's current length.
    TNdbcs_string currentRecord() const;

    ByteString value_;
    std::int64_t lengthOverride_ = 0;
};

#endif
