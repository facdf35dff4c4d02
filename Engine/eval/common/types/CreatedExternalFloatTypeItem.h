#ifndef NORVEXA_TYPES_CREATEDEXTERNALFLOATTYPEITEM_H
#define NORVEXA_TYPES_CREATEDEXTERNALFLOATTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created external floating-point picture (leaf 77).
class CreatedExternalFloatTypeItem : public CreatedRecordTypeItem<TNexternal_float> {
public:
    explicit CreatedExternalFloatTypeItem(const TNexternal_float& source)
        : CreatedRecordTypeItem<TNexternal_float>(source)
    {}
    ~CreatedExternalFloatTypeItem() override = default;
};

#endif
