#include "compiler/BaseListIterator.h"

#include "frontend/EE_StorageArena.h"

BaseListIterator::BaseListIterator(const ClassDescriptor* classInfo, EE_StorageArena& arena) : current(nullptr)
{
    Entry** tail = &current;
    for (const BaseClassDescriptor* b = classInfo != nullptr ? classInfo->firstBase : nullptr; b != nullptr;
         b = b->next) {
        Entry* entry = new (arena) Entry{nullptr, b->baseType};
        *tail = entry;
        tail = &entry->next;
    }
}
