#ifndef NORVEXA_MACHINE_STACKITEMINDEXDATAITEM_H
#define NORVEXA_MACHINE_STACKITEMINDEXDATAITEM_H

#include <cstdint>

#include "datatypes/IndexDataItem.h"
#include "machine/StackItem.h"

// A COBOL index data item: a stored index value without a table of its
// own. It takes its value from, and compares with, index names and index
// data items only. The storage is the debuggee's big-endian image of the
// type's length.
class StackItemIndexDataItem : public StackItem {
public:
    StackItemIndexDataItem(EvaluationEnvironment& environment, const IndexDataItem& value, const TypeItem& type);
    StackItemIndexDataItem(const StackItemIndexDataItem& other);
    ~StackItemIndexDataItem() override;

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
    IndexName asIndexName(const TNindex_name& record) const override;
    IndexDataItem asIndexDataItem(const TNindex_data_item& record) const override;

    const IndexDataItem& value() const { return value_; }

private:
    int compareWith(const StackItem& right) const;

    mutable unsigned char raw_[8] = {};
    IndexDataItem value_;
};

#endif
