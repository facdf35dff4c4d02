#ifndef PLOMKIT_THREADOWNED_H
#define PLOMKIT_THREADOWNED_H

#include <utility>

#if defined(_WIN32)
#include <new>

#include <pthread.h>
#endif

// An object of the calling thread, made on its first use in that thread and
// destroyed when the thread ends: what `thread_local T object(args...);` is
// in a function, for every T with a destructor.
//
//     ByteString& text = threadOwned<ByteString>([] {});
//
// The empty lambda makes each call site's object its own (its type is unique
// to the site). The arguments, if any, construct the object on its first use
// in a thread.
//
// On Windows (mingw-w64), thread-local variables are emulated: the storage of
// a thread's variables hangs on a winpthreads key whose destructor frees it
// when the thread ends, before the C++ run-time calls the variables'
// destructors. Those destructors then run on freed memory, and a thread-local
// variable they touch is made anew. There the object lives on the heap
// instead, held by a key of its own whose destructor deletes it; the key is
// deleted when the module is unloaded (the objects of threads still running
// are then left to the heap), so that no thread ending later calls into an
// unloaded module.
#if defined(_WIN32)
namespace plomkit_detail {

template <class T>
class ThreadOwnedKey {
public:
    // No key left: refused, and tried again on the next use.
    ThreadOwnedKey()
    {
        if (pthread_key_create(&key_, &destroy) != 0)
            throw std::bad_alloc();
    }
    ~ThreadOwnedKey()
    {
        valid_ = false;
        // Unloaded or exiting: this thread's object goes now, the others'
        // threads no longer reach it.
        destroy(pthread_getspecific(key_));
        pthread_key_delete(key_);
    }
    ThreadOwnedKey(const ThreadOwnedKey&) = delete;
    ThreadOwnedKey& operator=(const ThreadOwnedKey&) = delete;

    T* find() const { return valid_ ? static_cast<T*>(pthread_getspecific(key_)) : nullptr; }

    template <class... Args>
    T& make(Args&&... args)
    {
        T* object = new T(std::forward<Args>(args)...);
        // Asked for while the module is going: the object stays, unowned,
        // for as long as the process.
        if (!valid_)
            return *object;
        if (pthread_setspecific(key_, object) != 0) {
            delete object;
            throw std::bad_alloc();
        }
        return *object;
    }

private:
    static void destroy(void* object) { delete static_cast<T*>(object); }

    pthread_key_t key_{};
    bool valid_ = true;
};

} // namespace plomkit_detail
#endif

template <class T, class Site, class... Args>
T& threadOwned(Site, Args&&... args)
{
#if defined(_WIN32)
    static plomkit_detail::ThreadOwnedKey<T> key;
    if (T* object = key.find())
        return *object;
    return key.make(std::forward<Args>(args)...);
#else
    thread_local T object(std::forward<Args>(args)...);
    return object;
#endif
}

#endif
