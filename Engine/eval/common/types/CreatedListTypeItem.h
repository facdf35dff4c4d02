#ifndef NORVEXA_TYPES_CREATEDLISTTYPEITEM_H
#define NORVEXA_TYPES_CREATEDLISTTYPEITEM_H

#include <deque>

#include "types/CreatedTypeItem.h"

// A list of type indices (leaf 18, kind 3) made by the evaluator; it owns
// the chain of nodes.
class CreatedListTypeItem : public CreatedTypeItem {
public:
    explicit CreatedListTypeItem(const List<TYPE_INDEX>& types);
    ~CreatedListTypeItem() override = default;

private:
    std::deque<TNtypeListNode> nodes_;
};

#endif
