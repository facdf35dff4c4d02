#ifndef EE_FIXEDSIZEBLOCK_H
#define EE_FIXEDSIZEBLOCK_H

#include <cstddef>

// One block of a storage pool: exactly 65,504 bytes, of which 65,496 are
// handed out by an arena. The link to the next block (in a pool's free list or
// in an arena's chain of used blocks) is the block's last word, so that the
// usable area starts at the block's start and keeps the 16-byte alignment
// that the allocation function gives.
struct alignas(16) EE_FixedSizeBlock {
    static constexpr std::size_t Size = 65504;
    static constexpr std::size_t UsableSize = 65496;

    unsigned char area[UsableSize];
    EE_FixedSizeBlock* next;
};

static_assert(sizeof(EE_FixedSizeBlock) == EE_FixedSizeBlock::Size, "a block is 65,504 bytes");

#endif
