#ifndef NORVEXA_TYPES_TYPECACHE_H
#define NORVEXA_TYPES_TYPECACHE_H

#include "HostRecords.h"

// The host type entries an evaluation environment has already resolved, by
// type index. A singly linked list, newest first; the nodes are owned, the
// entries are the host's.
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
    Node* head_ = nullptr;
};

#endif
