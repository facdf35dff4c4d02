#ifndef NORVEXA_DATATYPES_INDEXDATAITEM_H
#define NORVEXA_DATATYPES_INDEXDATAITEM_H

#include "HostRecords.h"

#include <cstdint>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class DecimalFloat;

// The value of a USAGE INDEX data item (leaf 76): a stored index value
// without an element length of its own.
class IndexDataItem {
public:
    IndexDataItem();
    explicit IndexDataItem(const TypeItem& type);
    IndexDataItem(const TNindex_data_item& record, unsigned long long value);
    IndexDataItem(const IndexDataItem&) = default;
    IndexDataItem& operator=(const IndexDataItem&) = default;
    IndexDataItem(const void* bytes, const TNindex_data_item& record);
    IndexDataItem(const TNindex_data_item& record, long double value);
    IndexDataItem(const char* text, const TypeItem& type);
    ~IndexDataItem() = default;

    explicit IndexDataItem(const PackedDecimal& source);
    explicit IndexDataItem(const ZonedDecimal& source);
    IndexDataItem(const PackedDecimal& source, const TNindex_data_item& record);
    // Refused: RTRC_Other.
    explicit IndexDataItem(const NationalDecimal& source);

    int compare(const IndexDataItem& other) const;
    operator long double() const;
    operator long long() const;
    operator unsigned long long() const;
    operator DecimalFloat() const;

    // Takes the other's value; this record is kept.
    IndexDataItem& convert(const IndexDataItem& source);

    void fill(const void* bytes, const TNindex_data_item& record);
    void format(void* bytes, unsigned int size) const;
    int format(char* text) const;

    std::uint64_t value() const { return value_; }
    const TNindex_data_item& record() const { return record_; }

private:
    std::uint64_t value_;
    TNindex_data_item record_;
};

#endif
