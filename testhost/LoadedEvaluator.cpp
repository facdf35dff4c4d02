// The harness loads the plug-in by path and reaches its entry points by
// name: a Linux road (the Windows DLL exports main alone).
#if !defined(_WIN32)

#include "testhost/LoadedEvaluator.h"

#include <dlfcn.h>

#include "testhost/TestHost.h"

LoadedEvaluator::LoadedEvaluator(const std::string& path)
{
    // Kept mapped after dlclose: the evaluator keeps every service table it
    // was given for the life of the process (a request on another thread may
    // still read one), and unmapping it would strand them.
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library_ == nullptr) {
        const char* why = dlerror();
        throw LoaderError("cannot load " + path + ": " + (why != nullptr ? why : "unknown"));
    }
    main_ = reinterpret_cast<int (*)(std::uintptr_t*)>(dlsym(library_, "main"));
    if (main_ == nullptr) {
        dlclose(library_);
        throw LoaderError(path + " does not export main");
    }
    table_.assign(tableWords, 0);
    table_[0] = tableWords * sizeof(std::uintptr_t);
    mainAnswer_ = main_(table_.data());
}

LoadedEvaluator::~LoadedEvaluator()
{
    for (int n = balance_.exchange(0); n > 0; --n)
        entry<void (*)()>("DbgTerminateRunTime")();
    dlclose(library_);
}

int LoadedEvaluator::callMain(std::uintptr_t* table) const
{
    return main_(table);
}

std::uintptr_t LoadedEvaluator::word(unsigned n) const
{
    return table_.at(n);
}

void* LoadedEvaluator::symbol(const char* name) const
{
    return dlsym(library_, name);
}

BYTE4 LoadedEvaluator::initialize(TestHost& host)
{
    return initialize(host.activate());
}

BYTE4 LoadedEvaluator::initialize(DBG2_SERVICE_FUNCTIONS* services)
{
    BYTE4 answer = entry<BYTE4 (*)(DBG2_SERVICE_FUNCTIONS*)>("DbgInitialize")(services);
    if (answer == 1)
        ++balance_;
    return answer;
}

void LoadedEvaluator::terminate()
{
    entry<void (*)()>("DbgTerminateRunTime")();
    int n = balance_.load();
    while (n > 0 && !balance_.compare_exchange_weak(n, n - 1)) {
    }
}

#endif
