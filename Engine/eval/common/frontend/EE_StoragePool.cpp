#include "frontend/EE_StoragePool.h"

EE_StoragePool::~EE_StoragePool()
{
    std::lock_guard<Lock> guard(lock);
    while (freeList != nullptr) {
        EE_FixedSizeBlock* block = freeList;
        freeList = block->next;
        releaseFunction(block);
    }
}

EE_FixedSizeBlock* EE_StoragePool::fixed_allocate()
{
    {
        std::lock_guard<Lock> guard(lock);
        if (freeList != nullptr) {
            EE_FixedSizeBlock* block = freeList;
            freeList = block->next;
            block->next = nullptr;
            return block;
        }
    }
    void* raw = allocateFunction(sizeof(EE_FixedSizeBlock));
    if (raw == nullptr)
        return nullptr;
    EE_FixedSizeBlock* block = static_cast<EE_FixedSizeBlock*>(raw);
    block->next = nullptr;
    return block;
}

void EE_StoragePool::fixed_deallocate(EE_FixedSizeBlock* chain)
{
    if (chain == nullptr)
        return;
    EE_FixedSizeBlock* last = chain;
    while (last->next != nullptr)
        last = last->next;
    std::lock_guard<Lock> guard(lock);
    last->next = freeList;
    freeList = chain;
}

std::size_t EE_StoragePool::freeCount()
{
    std::lock_guard<Lock> guard(lock);
    std::size_t count = 0;
    for (EE_FixedSizeBlock* block = freeList; block != nullptr; block = block->next)
        ++count;
    return count;
}
