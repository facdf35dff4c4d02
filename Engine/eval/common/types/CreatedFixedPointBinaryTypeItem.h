#ifndef NORVEXA_TYPES_CREATEDFIXEDPOINTBINARYTYPEITEM_H
#define NORVEXA_TYPES_CREATEDFIXEDPOINTBINARYTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created binary item with a decimal scale (leaf 68).
class CreatedFixedPointBinaryTypeItem : public CreatedRecordTypeItem<TNfixed_point_binary> {
public:
    explicit CreatedFixedPointBinaryTypeItem(const TNfixed_point_binary& source)
        : CreatedRecordTypeItem<TNfixed_point_binary>(source)
    {}
    ~CreatedFixedPointBinaryTypeItem() override = default;
};

#endif
