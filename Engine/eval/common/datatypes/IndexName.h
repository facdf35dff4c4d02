#ifndef NORVEXA_DATATYPES_INDEXNAME_H
#define NORVEXA_DATATYPES_INDEXNAME_H

#include "HostRecords.h"

#include <cstdint>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class DecimalFloat;

// The value of a COBOL index name (leaf 75): the byte offset of the current
// occurrence from the start of its table, with the length of one occurrence,
// so that the occurrence number is offset / element length + 1.
class IndexName {
public:
    IndexName();
    explicit IndexName(const TypeItem& type);
    IndexName(const TNindex_name& record, unsigned long long value);
    IndexName(const IndexName&) = default;
    IndexName(const void* bytes, const TNindex_name& record);
    IndexName(const TNindex_name& record, long double value);
    IndexName(const char* text, const TypeItem& type);
    ~IndexName() = default;

    // The source's digits as an integer; no element length.
    explicit IndexName(const PackedDecimal& source);
    explicit IndexName(const ZonedDecimal& source);
    explicit IndexName(const NationalDecimal& source);
    explicit IndexName(const FixedPointBinary& source);
    IndexName(const PackedDecimal& source, const TNindex_name& record);

    int compare(const IndexName& other) const;
    operator long double() const;
    operator long long() const;
    operator unsigned long long() const;
    operator DecimalFloat() const;

    std::uint64_t occurrenceNumber() const;
    // Moves the index by a number of occurrences.
    IndexName& operator+=(unsigned long long count);
    IndexName& operator-=(unsigned long long count);
    // SET of one index from another: the source's occurrence into this
    // table. A source without element length holds an occurrence number.
    IndexName& convert(const IndexName& source);
    // The source's occurrence offset into this table; a source without
    // element length holds an occurrence offset. This record is kept.
    IndexName& operator=(const IndexName& source);

    void fill(const void* bytes, const TNindex_name& record);
    void format(void* bytes, unsigned int size) const;
    int format(char* text) const;

    std::uint64_t value() const { return value_; }
    const TNindex_name& record() const { return record_; }

private:
    std::uint64_t value_;
    TNindex_name record_;
};

#endif
