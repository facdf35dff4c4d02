#ifndef NORVEXA_MACHINE_STACKITEMCOMPOUND_H
#define NORVEXA_MACHINE_STACKITEMCOMPOUND_H

#include <cstdint>
#include <memory>
#include <vector>

#include "machine/StackItem.h"

// A value the evaluator treats as a block of bytes: C and C++ structures,
// unions and classes, COBOL groups, Fortran common blocks, enumerations and
// bit fields. The bytes are copied from the debuggee into a buffer of the
// item's own.
//
// - A group compares with any item as alphanumeric text, the shorter side
//   padded with EBCDIC spaces (0x40), and every COBOL data type can be made
//   from its bytes.
// - A bit field (host leaf 4) extracts its bits and then answers as an
//   integer. The field lives in a big-endian storage unit that starts at the
//   member's address: 4 bytes when offset + width <= 32, else 8; its bit
//   offset counts from the unit's most significant bit.
// - An enumeration (host leaves 11 and 52) holds an item of its underlying
//   type that answers the numeric questions and provides the bytes.
class StackItemCompound : public StackItem {
public:
    StackItemCompound(EvaluationEnvironment& environment, const TypeItem& type);
    StackItemCompound(const StackItemCompound& other);
    ~StackItemCompound() override;

    StackItem* clone() const override;
    // 0 for a Fortran common block, else the type's size.
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
    int isZero() const override;
    std::uint64_t asUnsigned() const override;
    std::int64_t asSigned() const override;
    FloatNumber asLongDouble() const override;
    FloatNumber realPart() const override;
    FloatNumber imaginaryPart() const override;
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

    // The bit field's value, sign-extended when isSigned is non-zero and the
    // field is not marked unsigned. RTRC_NotSupported for a width outside 1
    // to 32, a field reaching past bit 63 of its unit, or no bytes at all.
    std::uint64_t bitstringValue(int isSigned) const;

    StackItem* innerItem() const { return inner_.get(); }

private:
    unsigned leaf() const;
    bool isBitField() const { return leaf() == 4; }
    bool isEnumeration() const { return (leaf() == 11 || leaf() == 52) && inner_ != nullptr; }
    bool isEnumerationLeaf() const { return leaf() == 11 || leaf() == 52; }
    unsigned char* buffer() const;
    // The value's bytes as group text: the buffer, or an enumeration's inner
    // item's bytes.
    ByteString text() const;
    // The text padded at its end with 0x40 to n bytes; longer text whole.
    ByteString paddedText(std::uint64_t n) const;
    // -1, 0 or 1: this item's text against right's group text of this shape.
    int compareAsGroup(const StackItem& right) const;

    mutable std::vector<unsigned char> buffer_;
    mutable bool hasBuffer_ = false;
    std::unique_ptr<StackItem> inner_;
};

#endif
