// Loading libnorvexa.so by path with dlopen, its exported names found with
// dlsym.
#if !defined(_WIN32)

#include <dlfcn.h>

#include "testhost/LoadedEvaluator.h"

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
    fillTable();
}

LoadedEvaluator::~LoadedEvaluator()
{
    terminateAll();
    dlclose(library_);
}

void* LoadedEvaluator::symbol(const char* name) const
{
    return dlsym(library_, name);
}

#endif
