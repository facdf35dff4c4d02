#include "types/TypeCache.h"

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
    for (const Node* n = head_; n != nullptr; n = n->next)
        if (n->index.module == index.module && n->index.index == index.index)
            return n->entry;
    return nullptr;
}

void TypeCache::add(const TYPE_INDEX& index, const _TYPE_ENTRY* entry)
{
    head_ = new Node{head_, index, entry};
}

void TypeCache::clearCache()
{
    while (head_ != nullptr) {
        Node* n = head_;
        head_ = n->next;
        delete n;
    }
}
