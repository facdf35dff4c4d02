#include "types/CreatedListTypeItem.h"

CreatedListTypeItem::CreatedListTypeItem(const List<TYPE_INDEX>& types)
{
    // A deque keeps every node where it was made while the chain grows.
    for (unsigned i = 0; i < types.count(); ++i)
        nodes_.push_back(TNtypeListNode{types[i], nullptr, nullptr});
    for (std::size_t i = 0; i + 1 < nodes_.size(); ++i)
        nodes_[i].next = &nodes_[i + 1];
    TNlist& r = record.list;
    r.leaf = TE_LIST;
    r.kind = TE_LIST_TYPES;
    r.first.types = nodes_.empty() ? nullptr : &nodes_.front();
    useInlineEntry();
    finishConstruction();
}
