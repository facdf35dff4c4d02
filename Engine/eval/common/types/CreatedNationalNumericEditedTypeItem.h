#ifndef NORVEXA_TYPES_CREATEDNATIONALNUMERICEDITEDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDNATIONALNUMERICEDITEDTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created national numeric-edited picture (leaf 82).
class CreatedNationalNumericEditedTypeItem : public CreatedRecordTypeItem<TNnational_numeric_edited> {
public:
    explicit CreatedNationalNumericEditedTypeItem(const TNnational_numeric_edited& source)
        : CreatedRecordTypeItem<TNnational_numeric_edited>(source)
    {}
    ~CreatedNationalNumericEditedTypeItem() override = default;
};

#endif
