#ifndef EE_STORAGEPOOL_H
#define EE_STORAGEPOOL_H

#include <cstddef>
#include <mutex>

#include "frontend/EE_FixedSizeBlock.h"
#include "frontend/EE_SpinLock.h"

// A source of fixed-size blocks for storage arenas. Blocks that arenas give
// back are kept on a free list and handed out again, so that the next
// expression normally needs no heap memory for its front-end data. The free
// list is shared by every arena on the pool, and arenas live on the host's
// threads, so the two list operations are guarded by a lock.
class EE_StoragePool {
public:
    using AllocateFunction = void* (*)(std::size_t); // null on failure
    using ReleaseFunction = void (*)(void*);

    constexpr EE_StoragePool(AllocateFunction allocate, ReleaseFunction release)
        : freeList(nullptr), allocateFunction(allocate), releaseFunction(release)
    {}
    ~EE_StoragePool();

    EE_StoragePool(const EE_StoragePool&) = delete;
    EE_StoragePool& operator=(const EE_StoragePool&) = delete;

    // A block from the free list, or a fresh one from the allocation function;
    // null when the allocation function fails.
    EE_FixedSizeBlock* fixed_allocate();

    // Gives back a whole chain of blocks (linked through `next`) at once.
    void fixed_deallocate(EE_FixedSizeBlock* chain);

    // Raw storage for large chunks, straight from the two functions.
    void* allocateRaw(std::size_t n) { return allocateFunction(n); }
    void releaseRaw(void* p) { releaseFunction(p); }

    // The number of blocks on the free list.
    std::size_t freeCount();

private:
    // A pool is constant-initialised: on Windows, whose std::mutex cannot be,
    // the lock spins.
#if defined(_WIN32)
    using Lock = EE_SpinLock;
#else
    using Lock = std::mutex;
#endif

    EE_FixedSizeBlock* freeList;
    AllocateFunction allocateFunction;
    ReleaseFunction releaseFunction;
    Lock lock;
};

#endif
