#ifndef NORVEXA_TESTS_REPLACEDOPERATORNEW_H
#define NORVEXA_TESTS_REPLACEDOPERATORNEW_H

// A test program's replacement of every form of operator new and delete.
// The throwing news allocate through replacedAllocate, which the program
// defines (answering memory or throwing std::bad_alloc); the nothrow forms
// answer null where it throws; the deletes free with std::free, so
// replacedAllocate allocates with std::malloc. Include this header in one
// source file of the program only: it defines the operators.

#include <cstddef>
#include <cstdlib>
#include <new>

void* replacedAllocate(std::size_t size);

void* operator new(std::size_t size)
{
    return replacedAllocate(size);
}

void* operator new[](std::size_t size)
{
    return replacedAllocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return replacedAllocate(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return replacedAllocate(size);
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

#endif
