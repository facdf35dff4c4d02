#ifndef NORVEXA_TYPES_CREATEDREFERENCETYPEITEM_H
#define NORVEXA_TYPES_CREATEDREFERENCETYPEITEM_H

#include "types/CreatedTypeItem.h"

// A reference (leaf 27) made by the evaluator, plain or address-of.
class CreatedReferenceTypeItem : public CreatedTypeItem {
public:
    CreatedReferenceTypeItem(const TypeItem& target, bool addressOf);
    ~CreatedReferenceTypeItem() override = default;
};

#endif
