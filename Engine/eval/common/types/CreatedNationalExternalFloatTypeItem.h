#ifndef NORVEXA_TYPES_CREATEDNATIONALEXTERNALFLOATTYPEITEM_H
#define NORVEXA_TYPES_CREATEDNATIONALEXTERNALFLOATTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created national external floating-point picture (leaf 80).
class CreatedNationalExternalFloatTypeItem : public CreatedRecordTypeItem<TNnational_external_float> {
public:
    explicit CreatedNationalExternalFloatTypeItem(const TNnational_external_float& source)
        : CreatedRecordTypeItem<TNnational_external_float>(source)
    {}
    ~CreatedNationalExternalFloatTypeItem() override = default;
};

#endif
