#ifndef PLOMKIT_STDTHREAD_H
#define PLOMKIT_STDTHREAD_H

#include <map>
#include <string>

#include <plomkit/PlomkitExport.h>

// The calling thread, with pointer-sized values kept per thread under names.
class PLOMKIT_API StdThread {
public:
    // The object of the calling thread; it lives as long as the thread.
    static StdThread* currentThread();

    // The address of this thread's slot for the key name: null until written,
    // stable for the life of the thread. A null name is the empty key.
    void** _getKeyValue(const char* name);

    StdThread(const StdThread&) = delete;
    StdThread& operator=(const StdThread&) = delete;

private:
    struct Owned;
    StdThread() = default;
    std::map<std::string, void*> _values;
};

#endif
