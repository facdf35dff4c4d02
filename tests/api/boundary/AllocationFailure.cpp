#include "AllocationFailure.h"

#include <cstdlib>
#include <new>

#include "ReplacedOperatorNew.h"

namespace {

thread_local bool armed = false;
thread_local long counted = 0;
thread_local long failing = -1;
thread_local bool hit = false;

} // namespace

// Every form of operator new of this program (ReplacedOperatorNew.h).
void* replacedAllocate(std::size_t size)
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
