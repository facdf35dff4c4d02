#ifndef NORVEXA_TYPES_CREATEDINDEXNAMETYPEITEM_H
#define NORVEXA_TYPES_CREATEDINDEXNAMETYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created index name (leaf 75).
class CreatedIndexNameTypeItem : public CreatedRecordTypeItem<TNindex_name> {
public:
    explicit CreatedIndexNameTypeItem(const TNindex_name& source) : CreatedRecordTypeItem<TNindex_name>(source) {}
    ~CreatedIndexNameTypeItem() override = default;
};

#endif
