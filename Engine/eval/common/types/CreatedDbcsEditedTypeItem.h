#ifndef NORVEXA_TYPES_CREATEDDBCSEDITEDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDDBCSEDITEDTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created DBCS-edited picture (leaf 87).
class CreatedDbcsEditedTypeItem : public CreatedRecordTypeItem<TNdbcs_edited> {
public:
    explicit CreatedDbcsEditedTypeItem(const TNdbcs_edited& source) : CreatedRecordTypeItem<TNdbcs_edited>(source) {}
    ~CreatedDbcsEditedTypeItem() override = default;
};

#endif
