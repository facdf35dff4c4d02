#ifndef EE_STORAGEARENA_H
#define EE_STORAGEARENA_H

#include <cstddef>
#include <cstdint>
#include <new>

#include "frontend/EE_FixedSizeBlock.h"
#include "frontend/EE_StoragePool.h"

// Storage for everything the front end builds for one expression (tokens,
// names, strings, syntax-tree nodes, declarations, type descriptors). Nothing
// is freed piece by piece: `deallocate` (or the destructor) empties the whole
// arena at once, giving its blocks back to the pool for the next arena.
//
// Every allocation is 16-aligned, enough for every type the arena holds.
// Requests of up to 65,496 bytes come from the pool's blocks; larger requests
// get a chunk of their own straight from the pool's allocation function.
// Running out of memory throws EE_MemoryException ("unable to allocate memory").
class EE_StorageArena {
public:
    // The largest request that a block can serve.
    static constexpr std::size_t BlockLimit = EE_FixedSizeBlock::UsableSize;
    // The bytes in front of a large chunk's area (its link word, padded).
    static constexpr std::size_t ChunkHeader = 16;

    // The library's one default pool, over the global operator new and delete.
    static EE_StoragePool DefaultPool;

    explicit EE_StorageArena(EE_StoragePool& pool = DefaultPool)
        : pool(pool), blocks(nullptr), chunks(nullptr), current(nullptr), end(nullptr)
    {}
    ~EE_StorageArena() { deallocate(); }

    EE_StorageArena(const EE_StorageArena&) = delete;
    EE_StorageArena& operator=(const EE_StorageArena&) = delete;

    // n bytes, 16-aligned. The fast path is a pointer bump expanded at the call
    // site; only a request that the newest block cannot hold makes a call.
    void* allocate(std::size_t n)
    {
        if (n <= BlockLimit) {
            std::size_t size = (n + 7) & ~std::size_t(7);
            std::uintptr_t here = reinterpret_cast<std::uintptr_t>(current);
            std::uintptr_t start = (here + 15) & ~std::uintptr_t(15);
            if (here != 0 && start + size <= reinterpret_cast<std::uintptr_t>(end)) {
                current = reinterpret_cast<char*>(start + size);
                return reinterpret_cast<void*>(start);
            }
        }
        return allocateSlow(n);
    }

    // Empties the arena: its blocks go back to the pool, its large chunks to
    // the pool's release function. The arena can be used again afterwards.
    void deallocate();

    EE_StoragePool& storagePool() const { return pool; }

private:
    void* allocateSlow(std::size_t n);

    EE_StoragePool& pool;
    EE_FixedSizeBlock* blocks; // newest block first, chained through `next`
    void* chunks;              // newest chunk first, chained through its first word
    char* current;             // next free byte in the newest block
    char* end;                 // one past the usable area of the newest block
};

// Raw storage: from the arena when there is one, else from the heap.
void* newMemory(EE_StorageArena* arena, std::size_t n);

// Frees storage from `newMemory`: heap storage is released; arena storage is
// only ever released with the whole arena, so this does nothing for it.
void deleteMemory(EE_StorageArena* arena, void* p);

// Reports exhausted memory: throws EE_MemoryException, the front end's
// internal failure with the text "unable to allocate memory".
[[noreturn]] void MemoryProblem();

// Construction in an arena: `new (arena) T(...)`.
inline void* operator new(std::size_t n, EE_StorageArena& arena)
{
    return arena.allocate(n);
}
inline void* operator new[](std::size_t n, EE_StorageArena& arena)
{
    return arena.allocate(n);
}
// Called only when a constructor fails; arena storage stays with the arena.
inline void operator delete(void*, EE_StorageArena&) noexcept {}
inline void operator delete[](void*, EE_StorageArena&) noexcept {}

#endif
