#ifndef EE_SPINLOCK_H
#define EE_SPINLOCK_H

#include <atomic>
#include <thread>

// A lock that can be constant-initialised where std::mutex cannot (the
// Windows runtime's mutex has no constexpr constructor). For critical
// sections of a few instructions only: a waiting thread yields and tries
// again.
class EE_SpinLock {
public:
    constexpr EE_SpinLock() = default;
    EE_SpinLock(const EE_SpinLock&) = delete;
    EE_SpinLock& operator=(const EE_SpinLock&) = delete;

    void lock()
    {
        while (held.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void unlock() { held.clear(std::memory_order_release); }

private:
    std::atomic_flag held;
};

#endif
