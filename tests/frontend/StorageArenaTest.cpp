#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include "frontend/EE_MemoryException.h"
#include "frontend/EE_StorageArena.h"

namespace {

// A pool over counting functions, to see what the arena asks of it.
struct Counters {
    std::vector<std::size_t> sizes; // every request to the allocation function
    int released = 0;
    bool fail = false;
};
Counters counters;

void* countingAllocate(std::size_t n)
{
    counters.sizes.push_back(n);
    if (counters.fail)
        return nullptr;
    // A pool's allocation function gives 16-aligned storage, which not every
    // heap does by itself.
    return ::operator new (n, std::align_val_t{16});
}

void countingRelease(void* p)
{
    ++counters.released;
    ::operator delete (p, std::align_val_t{16});
}

class StorageArenaTest : public ::testing::Test {
protected:
    void SetUp() override { counters = Counters(); }
    EE_StoragePool pool{countingAllocate, countingRelease};
};

std::string thrownText(EE_StorageArena& arena, std::size_t n)
{
    try {
        arena.allocate(n);
    } catch (const EE_MemoryException& e) {
        EXPECT_EQ(e.code, EE_Exception::InternalFailure);
        return e.what();
    }
    return "(nothing thrown)";
}

TEST_F(StorageArenaTest, BlockHoldsExactly65496BytesAndLargerRequestsGetAChunk)
{
    EE_StorageArena arena(pool);
    void* whole = arena.allocate(65496);
    ASSERT_EQ(counters.sizes.size(), 1u);
    EXPECT_EQ(counters.sizes[0], 65504u);
    std::memset(whole, 0xAB, 65496);

    // 65,497 bytes are rounded to 65,504, which no block holds: a chunk of its
    // own with room for its link in front.
    void* big = arena.allocate(65497);
    ASSERT_EQ(counters.sizes.size(), 2u);
    EXPECT_EQ(counters.sizes[1], 65504u + EE_StorageArena::ChunkHeader);
    std::memset(big, 0xCD, 65497);

    arena.deallocate();
    EXPECT_EQ(counters.released, 1); // the chunk; the block went back to the pool
    EXPECT_EQ(pool.freeCount(), 1u);
}

TEST_F(StorageArenaTest, SmallRequestAfterAChunkOpensANewBlock)
{
    EE_StorageArena arena(pool);
    arena.allocate(16);
    arena.allocate(100000);
    arena.allocate(16);
    ASSERT_EQ(counters.sizes.size(), 3u);
    EXPECT_EQ(counters.sizes[0], 65504u);
    EXPECT_EQ(counters.sizes[1], 100000u + EE_StorageArena::ChunkHeader);
    EXPECT_EQ(counters.sizes[2], 65504u);
}

TEST_F(StorageArenaTest, FullBlockMakesTheNextRequestOpenAnother)
{
    EE_StorageArena arena(pool);
    char* first = static_cast<char*>(arena.allocate(65000));
    char* second = static_cast<char*>(arena.allocate(400)); // still fits
    EXPECT_EQ(second, first + 65008);
    EXPECT_EQ(counters.sizes.size(), 1u);
    arena.allocate(200); // does not fit any more
    EXPECT_EQ(counters.sizes.size(), 2u);
}

TEST_F(StorageArenaTest, EmptiedArenaReusesItsBlocksAndFreesItsChunks)
{
    std::vector<void*> firstRound;
    {
        EE_StorageArena arena(pool);
        for (int i = 0; i < 3; ++i)
            firstRound.push_back(arena.allocate(60000));
        arena.allocate(70000);
        EXPECT_EQ(counters.sizes.size(), 4u);
        arena.deallocate();
        EXPECT_EQ(counters.released, 1);
        EXPECT_EQ(pool.freeCount(), 3u);

        // The same arena again: its blocks come back from the free list.
        std::vector<void*> secondRound;
        for (int i = 0; i < 3; ++i)
            secondRound.push_back(arena.allocate(60000));
        EXPECT_EQ(counters.sizes.size(), 4u);
        std::sort(firstRound.begin(), firstRound.end());
        std::sort(secondRound.begin(), secondRound.end());
        EXPECT_EQ(firstRound, secondRound);
        EXPECT_EQ(pool.freeCount(), 0u);
    }
    // The destructor emptied the arena into the pool once more; a second arena
    // builds on the same blocks.
    EXPECT_EQ(pool.freeCount(), 3u);
    EE_StorageArena next(pool);
    next.allocate(8);
    EXPECT_EQ(counters.sizes.size(), 4u);
    EXPECT_EQ(pool.freeCount(), 2u);
}

TEST_F(StorageArenaTest, PoolReleasesItsFreeBlocksWhenDestroyed)
{
    {
        EE_StoragePool local(countingAllocate, countingRelease);
        EE_StorageArena arena(local);
        arena.allocate(60000);
        arena.allocate(60000);
        arena.deallocate();
        EXPECT_EQ(counters.released, 0);
    }
    EXPECT_EQ(counters.released, 2);
}

TEST_F(StorageArenaTest, FailingAllocationThrowsTheOutOfMemoryText)
{
    EE_StorageArena arena(pool);
    void* kept = arena.allocate(64);
    counters.fail = true;
    EXPECT_EQ(thrownText(arena, 65496), "unable to allocate memory");  // a block
    EXPECT_EQ(thrownText(arena, 200000), "unable to allocate memory"); // a chunk
    // A request too large to be described does not wrap around to a small one.
    EXPECT_EQ(thrownText(arena, SIZE_MAX), "unable to allocate memory");
    EXPECT_EQ(thrownText(arena, SIZE_MAX - 7), "unable to allocate memory");
    // What was allocated before stays usable.
    std::memset(kept, 0, 64);
    counters.fail = false;
    EXPECT_NE(arena.allocate(8), nullptr);
}

TEST_F(StorageArenaTest, EveryAllocationIs16Aligned)
{
    EE_StorageArena arena(pool);
    for (std::size_t n = 0; n < 3000; ++n) {
        std::uintptr_t p = reinterpret_cast<std::uintptr_t>(arena.allocate(n % 97));
        ASSERT_EQ(p % 16, 0u) << "request " << n % 97;
    }
    std::uintptr_t chunk = reinterpret_cast<std::uintptr_t>(arena.allocate(70001));
    EXPECT_EQ(chunk % 16, 0u);
    std::uintptr_t afterChunk = reinterpret_cast<std::uintptr_t>(arena.allocate(3));
    EXPECT_EQ(afterChunk % 16, 0u);
}

TEST_F(StorageArenaTest, ObjectsAreMadeInPlaceInTheArena)
{
    EE_StorageArena arena(pool);
    struct Pair {
        long double a;
        long long b;
    };
    Pair* pair = new (arena) Pair{1.5L, 7};
    EXPECT_EQ(pair->b, 7);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pair) % alignof(Pair), 0u);
    EXPECT_EQ(counters.sizes.size(), 1u);
}

TEST(StorageMemory, NewMemoryUsesTheArenaOrTheHeap)
{
    EE_StorageArena arena;
    void* inArena = newMemory(&arena, 40);
    std::memset(inArena, 1, 40);
    deleteMemory(&arena, inArena); // nothing: arena storage goes with the arena

    void* onHeap = newMemory(nullptr, 40);
    std::memset(onHeap, 2, 40);
    deleteMemory(nullptr, onHeap); // freed (the sanitizer build checks the pairing)
}

TEST(StorageMemory, TwoThreadsShareTheDefaultPool)
{
    // Each thread fills many blocks with its own mark, checks them, and gives
    // them back; a block handed to both threads at once shows as a wrong mark.
    auto work = [](unsigned char mark, bool* ok) {
        EE_StorageArena arena;
        for (int round = 0; round < 200; ++round) {
            std::vector<unsigned char*> pieces;
            for (int i = 0; i < 6; ++i) {
                unsigned char* p = static_cast<unsigned char*>(arena.allocate(40000));
                std::memset(p, mark, 40000);
                pieces.push_back(p);
            }
            for (unsigned char* p : pieces)
                for (int i = 0; i < 40000; i += 997)
                    if (p[i] != mark)
                        *ok = false;
            arena.deallocate();
        }
    };
    bool ok1 = true;
    bool ok2 = true;
    std::thread t1(work, 0x11, &ok1);
    std::thread t2(work, 0x22, &ok2);
    t1.join();
    t2.join();
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
}

} // namespace
