#include "tree/ReferenceCounted.h"

ReferenceCounted::~ReferenceCounted() = default;

const ReferenceCounted* ReferenceCounted::addReference() const
{
    references_.fetch_add(1, std::memory_order_relaxed);
    return this;
}

void ReferenceCounted::removeReference() const
{
    unsigned count = references_.load(std::memory_order_acquire);
    do {
        if (count == 0)
            return;
    } while (!references_.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel));
    if (count == 1)
        delete this;
}
