#ifndef NORVEXA_MACHINE_STACKITEMINDEXNAME_H
#define NORVEXA_MACHINE_STACKITEMINDEXNAME_H

#include <cstdint>

#include "datatypes/IndexName.h"
#include "machine/StackItem.h"

// A COBOL index name: the byte offset of an element in its table, with the
// element size that makes it an occurrence number (an element size of 0:
// the value is the occurrence number itself). Numbers and comparisons use
// the occurrence number; asUnsigned gives the offset. The storage is the
// debuggee's big-endian image of the type's length.
class StackItemIndexName : public StackItem {
public:
    StackItemIndexName(EvaluationEnvironment& environment, const IndexName& value, const TypeItem& type);
    StackItemIndexName(const StackItemIndexName& other);
    ~StackItemIndexName() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    // Moves the index by the right operand's number of occurrences.
    void genAdd(const StackItem& right) override;
    void genSubtract(const StackItem& right) override;
    // SET: the source's occurrence moved into this table.
    void genConvert(const StackItem& source) override;
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int genLT(const StackItem& right) override;
    int genLE(const StackItem& right) override;
    int genGT(const StackItem& right) override;
    int genGE(const StackItem& right) override;
    std::uint64_t asUnsigned() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    IndexName asIndexName(const TNindex_name& record) const override;
    IndexDataItem asIndexDataItem(const TNindex_data_item& record) const override;

    const IndexName& value() const { return value_; }

private:
    // -1, 0 or 1: this occurrence number against the right operand's.
    int compareWith(const StackItem& right) const;
    // Moves the offset by count occurrences, forwards or back.
    void move(std::uint64_t count, bool forwards);

    mutable unsigned char raw_[8] = {};
    IndexName value_;
};

#endif
