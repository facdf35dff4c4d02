#include "frontend/EE_StorageArena.h"

#include <cstring>
#include <new>

#include "frontend/EE_MemoryException.h"

namespace {

// Blocks and chunks start 16-aligned, which not every heap gives by itself
// (32-bit Windows aligns to 8).
constexpr std::align_val_t blockAlignment{alignof(EE_FixedSizeBlock)};

void* defaultAllocate(std::size_t n)
{
    return ::operator new(n, blockAlignment, std::nothrow);
}

void defaultRelease(void* p)
{
    ::operator delete(p, blockAlignment);
}

} // namespace

// Constant-initialised, so that it exists before any arena can use it.
constinit EE_StoragePool EE_StorageArena::DefaultPool(defaultAllocate, defaultRelease);

void* EE_StorageArena::allocateSlow(std::size_t n)
{
    if (n <= BlockLimit) {
        std::size_t size = (n + 7) & ~std::size_t(7);
        EE_FixedSizeBlock* block = pool.fixed_allocate();
        if (block == nullptr)
            MemoryProblem();
        block->next = blocks;
        blocks = block;
        // What was left in the previous block is abandoned.
        current = reinterpret_cast<char*>(block->area) + size;
        end = reinterpret_cast<char*>(block->area) + EE_FixedSizeBlock::UsableSize;
        return block->area;
    }
    // A chunk of its own. The rest of the newest block is given up with it: the
    // next small request opens a new block.
    if (n > SIZE_MAX - ChunkHeader - 8)
        MemoryProblem();
    std::size_t size = (n + 7) & ~std::size_t(7);
    void* raw = pool.allocateRaw(size + ChunkHeader);
    if (raw == nullptr)
        MemoryProblem();
    *static_cast<void**>(raw) = chunks;
    chunks = raw;
    current = nullptr;
    end = nullptr;
    return static_cast<char*>(raw) + ChunkHeader;
}

void EE_StorageArena::deallocate()
{
    if (blocks != nullptr)
        pool.fixed_deallocate(blocks);
    while (chunks != nullptr) {
        void* chunk = chunks;
        chunks = *static_cast<void**>(chunk);
        pool.releaseRaw(chunk);
    }
    blocks = nullptr;
    chunks = nullptr;
    current = nullptr;
    end = nullptr;
}

void* newMemory(EE_StorageArena* arena, std::size_t n)
{
    if (arena != nullptr)
        return arena->allocate(n);
    void* p = ::operator new[](n, std::nothrow);
    if (p == nullptr)
        MemoryProblem();
    return p;
}

void deleteMemory(EE_StorageArena* arena, void* p)
{
    if (arena == nullptr)
        ::operator delete[](p);
}

void MemoryProblem()
{
    throw EE_MemoryException();
}
