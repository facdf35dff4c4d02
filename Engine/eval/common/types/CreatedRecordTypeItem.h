#ifndef NORVEXA_TYPES_CREATEDRECORDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDRECORDTYPEITEM_H

#include <cstring>

#include "types/CreatedTypeItem.h"

// A created type whose entry is a copy of one type record (the data-item
// records): the record is copied whole into the inline entry.
template <class Record>
class CreatedRecordTypeItem : public CreatedTypeItem {
    static_assert(sizeof(Record) <= sizeof(_TYPE_ENTRY), "a record fits the entry");

public:
    explicit CreatedRecordTypeItem(const Record& source)
    {
        std::memcpy(static_cast<void*>(&record), &source, sizeof source);
        useInlineEntry();
        finishConstruction();
    }
    ~CreatedRecordTypeItem() override = default;

    const Record& typeRecord() const { return *reinterpret_cast<const Record*>(&record); }
};

#endif
