#ifndef NORVEXA_COMPILER_BASELISTITERATOR_H
#define NORVEXA_COMPILER_BASELISTITERATOR_H

#include "types/ClassDescriptor.h"

class EE_StorageArena;
class TypeItem;

// Walks the direct bases of a class. It copies the class's list of bases into
// the arena when made (the model's list may be rebuilt meanwhile) and
// stands on the first; a class without bases gives an iterator that stands
// on nothing.
class BaseListIterator {
public:
    struct Entry {
        Entry* next;
        const TypeItem* base;
    };

    BaseListIterator(const ClassDescriptor* classInfo, EE_StorageArena& arena);

    bool atEnd() const { return current == nullptr; }
    // The base the iterator stands on, or null at the end.
    const TypeItem* base() const { return current != nullptr ? current->base : nullptr; }
    void advance()
    {
        if (current != nullptr)
            current = current->next;
    }

private:
    Entry* current;
};

#endif
