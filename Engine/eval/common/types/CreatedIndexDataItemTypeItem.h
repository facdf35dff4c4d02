#ifndef NORVEXA_TYPES_CREATEDINDEXDATAITEMTYPEITEM_H
#define NORVEXA_TYPES_CREATEDINDEXDATAITEMTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created index data item (leaf 76).
class CreatedIndexDataItemTypeItem : public CreatedRecordTypeItem<TNindex_data_item> {
public:
    explicit CreatedIndexDataItemTypeItem(const TNindex_data_item& source)
        : CreatedRecordTypeItem<TNindex_data_item>(source)
    {}
    ~CreatedIndexDataItemTypeItem() override = default;
};

#endif
