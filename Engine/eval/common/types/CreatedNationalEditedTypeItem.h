#ifndef NORVEXA_TYPES_CREATEDNATIONALEDITEDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDNATIONALEDITEDTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created national-edited picture (leaf 81).
class CreatedNationalEditedTypeItem : public CreatedRecordTypeItem<TNnational_edited> {
public:
    explicit CreatedNationalEditedTypeItem(const TNnational_edited& source)
        : CreatedRecordTypeItem<TNnational_edited>(source)
    {}
    ~CreatedNationalEditedTypeItem() override = default;
};

#endif
