// Loading norvexa.dll by path with LoadLibraryW; of its names only main is
// exported, found with GetProcAddress.
#if defined(_WIN32)

#include <windows.h>

#include "testhost/LoadedEvaluator.h"

namespace {

// The path as Windows names it: wide characters, backslashes.
std::wstring windowsPath(const std::string& path)
{
    std::wstring wide;
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (length > 0) {
        wide.resize(static_cast<std::size_t>(length));
        MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
        wide.resize(static_cast<std::size_t>(length - 1));
    }
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    return wide;
}

} // namespace

LoadedEvaluator::LoadedEvaluator(const std::string& path)
{
    // A reference of its own keeps the DLL mapped after the harness lets it
    // go, as dlopen's RTLD_NODELETE does on Linux: the evaluator keeps every
    // service table it was given for the life of the process.
    HMODULE module = LoadLibraryW(windowsPath(path).c_str());
    if (module == nullptr)
        throw LoaderError("cannot load " + path + ": error " + std::to_string(GetLastError()));
    main_ = reinterpret_cast<int (*)(std::uintptr_t*)>(reinterpret_cast<void*>(GetProcAddress(module, "main")));
    if (main_ == nullptr) {
        FreeLibrary(module);
        throw LoaderError(path + " does not export main");
    }
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(main_)), &pinned);
    library_ = module;
    fillTable();
}

LoadedEvaluator::~LoadedEvaluator()
{
    terminateAll();
    FreeLibrary(static_cast<HMODULE>(library_));
}

void* LoadedEvaluator::symbol(const char* name) const
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), name));
}

#endif
