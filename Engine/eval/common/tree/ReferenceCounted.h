#ifndef NORVEXA_TREE_REFERENCECOUNTED_H
#define NORVEXA_TREE_REFERENCECOUNTED_H

#include <atomic>

// The base of every tree node: a count of references, 0 after construction.
// Whoever keeps an object adds a reference; the last removeReference
// destroys it. The count is atomic, so references may be taken and dropped
// on several threads.
class ReferenceCounted {
public:
    ReferenceCounted() = default;
    ReferenceCounted(const ReferenceCounted&) = delete;
    ReferenceCounted& operator=(const ReferenceCounted&) = delete;
    virtual ~ReferenceCounted();

    // Adds one reference and returns the object.
    const ReferenceCounted* addReference() const;
    // Removes one reference; at 0 the object is deleted. Removing from an
    // object without references does nothing.
    void removeReference() const;
    unsigned referenceCount() const { return references_.load(std::memory_order_acquire); }

private:
    mutable std::atomic<unsigned> references_{0};
};

#endif
