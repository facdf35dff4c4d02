#include "AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool armed = false;
thread_local long counted = 0;
thread_local long failing = -1;
thread_local bool hit = false;

void* allocate(std::size_t size)
{
    if (armed) {
        if (counted++ == failing) {
            hit = true;
            throw std::bad_alloc();
        }
    }
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

}  // namespace

void allocation::failAt(long n)
{
    counted = 0;
    failing = n;
    hit = false;
    armed = true;
}

long allocation::disarm()
{
    armed = false;
    failing = -1;
    return counted;
}

bool allocation::failed()
{
    return hit;
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
