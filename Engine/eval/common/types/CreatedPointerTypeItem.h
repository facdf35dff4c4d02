#ifndef NORVEXA_TYPES_CREATEDPOINTERTYPEITEM_H
#define NORVEXA_TYPES_CREATEDPOINTERTYPEITEM_H

#include "types/CreatedTypeItem.h"

// A pointer (leaf 25) made by the evaluator. A pointer to a UPC shared type
// is a pointer to shared.
class CreatedPointerTypeItem : public CreatedTypeItem {
public:
    explicit CreatedPointerTypeItem(const TypeItem& pointee);
    ~CreatedPointerTypeItem() override = default;
};

#endif
