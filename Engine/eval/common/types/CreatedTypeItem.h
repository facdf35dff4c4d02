#ifndef NORVEXA_TYPES_CREATEDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDTYPEITEM_H

#include "types/TypeItem.h"

// A type the evaluator makes itself during a request. The evaluation
// environment owns every created type and deletes them on reset; the type
// model adds the kinds of created types and their finders.
class CreatedTypeItem : public TypeItem {
public:
    using TypeItem::TypeItem;
    ~CreatedTypeItem() override = default;
};

#endif
