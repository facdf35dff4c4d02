#ifndef NORVEXA_TESTHOST_HOSTLOCK_H
#define NORVEXA_TESTHOST_HOSTLOCK_H

#if defined(__SANITIZE_THREAD__)
#define NORVEXA_HOST_LOCK_HIDDEN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define NORVEXA_HOST_LOCK_HIDDEN 1
#endif
#endif

#ifdef NORVEXA_HOST_LOCK_HIDDEN
extern "C" {
void AnnotateIgnoreSyncBegin(const char* file, int line);
void AnnotateIgnoreSyncEnd(const char* file, int line);
void AnnotateIgnoreReadsBegin(const char* file, int line);
void AnnotateIgnoreReadsEnd(const char* file, int line);
void AnnotateIgnoreWritesBegin(const char* file, int line);
void AnnotateIgnoreWritesEnd(const char* file, int line);
}
#endif

// A lock of the simulated host. Built with ThreadSanitizer, it hides itself
// and what the host does under it from the race detector: every callback
// takes the host's lock, and a real lock there would order the evaluator's
// threads at each callback, so that a race in the evaluator between two
// callbacks of different threads would go unseen. The host's own data stay
// guarded: the lock still excludes.
template <class Mutex>
class HostLock {
public:
    explicit HostLock(Mutex& mutex) : mutex_(mutex)
    {
#ifdef NORVEXA_HOST_LOCK_HIDDEN
        AnnotateIgnoreSyncBegin(__FILE__, __LINE__);
        AnnotateIgnoreReadsBegin(__FILE__, __LINE__);
        AnnotateIgnoreWritesBegin(__FILE__, __LINE__);
#endif
        mutex_.lock();
    }
    ~HostLock()
    {
        mutex_.unlock();
#ifdef NORVEXA_HOST_LOCK_HIDDEN
        AnnotateIgnoreWritesEnd(__FILE__, __LINE__);
        AnnotateIgnoreReadsEnd(__FILE__, __LINE__);
        AnnotateIgnoreSyncEnd(__FILE__, __LINE__);
#endif
    }
    HostLock(const HostLock&) = delete;
    HostLock& operator=(const HostLock&) = delete;

private:
    Mutex& mutex_;
};

#endif
