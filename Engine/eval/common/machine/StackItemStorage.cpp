// The storage of stack items: blocks kept per thread by size for reuse.
#include <new>

#include "machine/StackItem.h"

#include <plomkit/ThreadOwned.h>

namespace {

// Block sizes are rounded up to a grain; larger items than the biggest
// class are not kept. Under AddressSanitizer nothing is kept, so that it
// still sees every use of a released item.
constexpr std::size_t grain = 16;
constexpr std::size_t classes = 48; // up to 768 bytes
#if defined(__SANITIZE_ADDRESS__)
constexpr unsigned keptPerClass = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr unsigned keptPerClass = 0;
#else
constexpr unsigned keptPerClass = 32;
#endif
#else
constexpr unsigned keptPerClass = 32;
#endif

struct FreeBlock {
    FreeBlock* next;
};

class KeptBlocks;

#if !defined(_WIN32)
// The calling thread's KeptBlocks once made: a plain pointer, read without
// the guard of a thread-local object on every item made or released.
// Cleared when the KeptBlocks goes. Windows keeps no such copy: there a
// thread-local variable touched while the thread ends is made anew (see
// ThreadOwned.h).
thread_local KeptBlocks* knownBlocks = nullptr;
#endif

// One thread's kept blocks. Once the thread's storage is being destroyed,
// blocks released later go back to the heap.
class KeptBlocks {
public:
    KeptBlocks() = default;
    KeptBlocks(const KeptBlocks&) = delete;
    KeptBlocks& operator=(const KeptBlocks&) = delete;
    ~KeptBlocks()
    {
#if !defined(_WIN32)
        knownBlocks = nullptr;
#endif
        alive_ = false;
        for (FreeBlock*& head : heads_)
            while (head != nullptr) {
                FreeBlock* block = head;
                head = block->next;
                ::operator delete(block);
            }
    }

    void* take(std::size_t sizeClass)
    {
        FreeBlock* block = heads_[sizeClass];
        if (block == nullptr)
            return nullptr;
        heads_[sizeClass] = block->next;
        --counts_[sizeClass];
        return block;
    }

    bool keep(void* memory, std::size_t sizeClass)
    {
        if (!alive_ || counts_[sizeClass] >= keptPerClass)
            return false;
        FreeBlock* block = static_cast<FreeBlock*>(memory);
        block->next = heads_[sizeClass];
        heads_[sizeClass] = block;
        ++counts_[sizeClass];
        return true;
    }

private:
    FreeBlock* heads_[classes] = {};
    unsigned counts_[classes] = {};
    bool alive_ = true;
};

// Kept out of keptBlocks, so that its quick road stays a load and a test.
[[gnu::noinline]] KeptBlocks& madeBlocks()
{
    KeptBlocks& blocks = threadOwned<KeptBlocks>([] {});
#if !defined(_WIN32)
    knownBlocks = &blocks;
#endif
    return blocks;
}

KeptBlocks& keptBlocks()
{
#if !defined(_WIN32)
    if (KeptBlocks* blocks = knownBlocks) [[likely]]
        return *blocks;
#endif
    return madeBlocks();
}

// The class of a size, or classes when blocks of that size are not kept.
std::size_t sizeClassOf(std::size_t size)
{
    const std::size_t c = (size + grain - 1) / grain;
    return c == 0 || c > classes ? classes : c - 1;
}

} // namespace

void* StackItem::operator new(std::size_t size)
{
    const std::size_t c = sizeClassOf(size);
    if (c == classes)
        return ::operator new(size);
    if (void* block = keptBlocks().take(c))
        return block;
    return ::operator new((c + 1) * grain);
}

void StackItem::operator delete(void* block, std::size_t size) noexcept
{
    if (block == nullptr)
        return;
    const std::size_t c = sizeClassOf(size);
    if (c != classes && keptBlocks().keep(block, c))
        return;
    ::operator delete(block);
}
