#include "types/TypeCache.h"

#include <memory>

#include "services/EvaluationEnvironment.h"

const _TYPE_ENTRY* TypeCache::findType(const TYPE_INDEX& index)
{
    return EvaluationEnvironment::currentRep()->typeCache().find(index);
}

void TypeCache::addType(const TYPE_INDEX& index, const _TYPE_ENTRY* entry)
{
    EvaluationEnvironment::currentRep()->typeCache().add(index, entry);
}

const _TYPE_ENTRY* TypeCache::find(const TYPE_INDEX& index) const
{
    const auto found = newest_.find(key(index));
    return found != newest_.end() ? found->second->entry : nullptr;
}

void TypeCache::add(const TYPE_INDEX& index, const _TYPE_ENTRY* entry)
{
    auto node = std::make_unique<Node>(Node{head_, index, entry});
    newest_[key(index)] = node.get();
    head_ = node.release();
}

void TypeCache::clearCache()
{
    newest_.clear();
    while (head_ != nullptr) {
        Node* n = head_;
        head_ = n->next;
        delete n;
    }
}
