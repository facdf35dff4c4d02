#ifndef NORVEXA_TYPES_CREATEDALPHANUMERICEDITEDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDALPHANUMERICEDITEDTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created alphanumeric-edited picture (leaf 78).
class CreatedAlphaNumericEditedTypeItem : public CreatedRecordTypeItem<TNalpha_numeric_edited> {
public:
    explicit CreatedAlphaNumericEditedTypeItem(const TNalpha_numeric_edited& source)
        : CreatedRecordTypeItem<TNalpha_numeric_edited>(source)
    {}
    ~CreatedAlphaNumericEditedTypeItem() override = default;
};

#endif
