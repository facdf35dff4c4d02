#ifndef NORVEXA_TESTS_THREADBARRIER_H
#define NORVEXA_TESTS_THREADBARRIER_H

// The barrier the tests step their threads with. The Windows runtime's
// std::barrier (GCC 12 without a platform wait) can lose a wake-up and hang;
// there a barrier over a mutex and a condition variable stands in.

#if defined(_WIN32)
#include <condition_variable>
#include <cstddef>
#include <mutex>

class ThreadBarrier {
public:
    explicit ThreadBarrier(std::ptrdiff_t count) : count(count), waiting(count) {}

    void arrive_and_wait()
    {
        std::unique_lock<std::mutex> guard(lock);
        const unsigned long phase = generation;
        if (--waiting == 0) {
            waiting = count;
            ++generation;
            released.notify_all();
            return;
        }
        released.wait(guard, [&] { return generation != phase; });
    }

private:
    std::mutex lock;
    std::condition_variable released;
    const std::ptrdiff_t count;
    std::ptrdiff_t waiting;
    unsigned long generation = 0;
};
#else
#include <barrier>

using ThreadBarrier = std::barrier<>;
#endif

#endif
