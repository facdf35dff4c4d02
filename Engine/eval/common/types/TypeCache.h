#ifndef NORVEXA_TYPES_TYPECACHE_H
#define NORVEXA_TYPES_TYPECACHE_H

#include <cstdint>
#include <unordered_map>

#include "HostRecords.h"

// The host type entries an evaluation environment has already resolved, by
// type index. A singly linked list, newest first; the nodes are owned, the
// entries are the host's. Beside the list an index by type index points at
// the newest node of each index, so that a lookup answers what the walk
// from the newest node would, in time independent of the list's length.
class TypeCache {
public:
    TypeCache() = default;
    ~TypeCache() { clearCache(); }
    TypeCache(const TypeCache&) = delete;
    TypeCache& operator=(const TypeCache&) = delete;

    // The entry of the newest node of the current environment's cache whose
    // index equals index; null when none.
    static const _TYPE_ENTRY* findType(const TYPE_INDEX& index);
    // Pushes a node at the head of the current environment's cache; an
    // existing node for the same index is not looked for.
    static void addType(const TYPE_INDEX& index, const _TYPE_ENTRY* entry);

    // Frees every node, leaving the cache empty.
    void clearCache();

    const _TYPE_ENTRY* find(const TYPE_INDEX& index) const;
    void add(const TYPE_INDEX& index, const _TYPE_ENTRY* entry);

private:
    struct Node {
        Node* next;
        TYPE_INDEX index;
        const _TYPE_ENTRY* entry;
    };
    static std::uint64_t key(const TYPE_INDEX& index)
    {
        return static_cast<std::uint64_t>(index.module) << 32 | index.index;
    }
    Node* head_ = nullptr;
    std::unordered_map<std::uint64_t, const Node*> newest_;
};

#endif
