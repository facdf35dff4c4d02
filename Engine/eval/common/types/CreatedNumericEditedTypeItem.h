#ifndef NORVEXA_TYPES_CREATEDNUMERICEDITEDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDNUMERICEDITEDTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created numeric-edited picture (leaf 79).
class CreatedNumericEditedTypeItem : public CreatedRecordTypeItem<TNnumeric_edited> {
public:
    explicit CreatedNumericEditedTypeItem(const TNnumeric_edited& source)
        : CreatedRecordTypeItem<TNnumeric_edited>(source)
    {}
    ~CreatedNumericEditedTypeItem() override = default;
};

#endif
