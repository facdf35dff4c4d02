#ifndef NORVEXA_COMPILER_EE_KEYEDHASHTABLE_H
#define NORVEXA_COMPILER_EE_KEYEDHASHTABLE_H

#include <cstddef>
#include <cstdint>

#include "compiler/EE_Link.h"
#include "frontend/EE_Exception.h"

// A chained table of arena objects keyed by pointer. Each element carries its
// own key (`tableKey()`) and its link (`EE_Link<T>`); the table owns nothing.
//
// All elements form one chain: the elements of one bucket stand together (a
// run), runs one after another, the run of the most recently started bucket
// first. Each bucket knows the first element of its run and the element that
// precedes the run. Elements with equal keys stand newest first. A one-entry
// cache answers repeated finds of the same key.
template <class T, class Key, std::size_t Buckets>
class EE_KeyedHashTable {
public:
    static std::size_t hashsum(Key key) { return static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(key) >> 3); }
    static std::size_t bucketOf(Key key) { return hashsum(key) % Buckets; }

    void add(T& element)
    {
        const Key key = element.tableKey();
        const std::size_t b = bucketOf(key);
        Bucket& bucket = buckets[b];
        if (bucket.first != nullptr) {
            T* before = nullptr;
            for (T* x = bucket.first; x != nullptr && bucketOf(x->tableKey()) == b; before = x, x = x->nextLink) {
                if (before != nullptr && x->tableKey() == key) {
                    element.nextLink = x;
                    before->nextLink = &element;
                    remember(key, &element);
                    return;
                }
            }
            element.nextLink = bucket.first;
            if (bucket.preceding != nullptr)
                bucket.preceding->nextLink = &element;
            bucket.first = &element;
        } else {
            element.nextLink = latest != nullptr ? latest->first : nullptr;
            if (latest != nullptr)
                latest->preceding = &element;
            bucket.preceding = nullptr;
            bucket.first = &element;
            latest = &bucket;
        }
        remember(key, &element);
    }

    // The newest element of that key, or null.
    T* find(Key key)
    {
        if (cacheUsed && key == cacheKey) {
            if (cacheElement == nullptr)
                throw EE_Exception(EE_Exception::InternalFailure);
            return cacheElement;
        }
        const std::size_t b = bucketOf(key);
        for (T* x = buckets[b].first; x != nullptr && bucketOf(x->tableKey()) == b; x = x->nextLink) {
            if (x->tableKey() == key) {
                remember(key, x);
                return x;
            }
        }
        return nullptr;
    }

    // The head of the one chain: the first element of the newest run.
    T* first() const { return latest != nullptr ? latest->first : nullptr; }

private:
    struct Bucket {
        T* first = nullptr;     // the first element of the bucket's run
        T* preceding = nullptr; // the element whose link leads into the run
    };

    void remember(Key key, T* element)
    {
        cacheUsed = true;
        cacheKey = key;
        cacheElement = element;
    }

    Bucket buckets[Buckets];
    Bucket* latest = nullptr; // the most recently started bucket
    bool cacheUsed = false;
    Key cacheKey = Key();
    T* cacheElement = nullptr;
};

#endif
