#ifndef NORVEXA_TYPES_CREATEDSHAREDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDSHAREDTYPEITEM_H

#include "types/CreatedTypeItem.h"

// A created UPC shared qualifier (leaf 61) over a type, with a constant
// block factor. Made simplified: it stands for the qualified type with the
// shared flag and the block factor.
class CreatedSharedTypeItem : public CreatedTypeItem {
public:
    CreatedSharedTypeItem(const TypeItem& base, unsigned blockElements);
    ~CreatedSharedTypeItem() override = default;
};

#endif
