#include <plomkit/Engine_Loader.h>

#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The file name a library name stands for: "x" becomes "libx.so".
std::string libraryFileName(const std::string& name)
{
    if (name.find('/') != std::string::npos || name.find(".so") != std::string::npos)
        return name;
    return "lib" + name + ".so";
}

// The directory of the module that holds address, with its final slash;
// empty when it cannot be told.
std::string moduleDirectory(const void* address)
{
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string file = info.dli_fname;
    auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

void* openLibrary(const std::string& path)
{
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

Engine_Loader& Engine_Loader::instance()
{
    static Engine_Loader loader;
    return loader;
}

__attribute__((noinline)) void* Engine_Loader::loadEntryPoint(const FileName& library,
                                                              const EncodedString& entry)
{
    const void* caller = __builtin_return_address(0);
    try {
        std::string file = libraryFileName(library.path());
        ByteString entryBytes = entry.asUTF8();
        std::string entryName(reinterpret_cast<const char*>(entryBytes.data()),
                              entryBytes.length());
        if (file.empty() || entryName.empty())
            return nullptr;

        void* handle = nullptr;
        if (file.find('/') != std::string::npos) {
            handle = openLibrary(file);
        } else {
            std::vector<std::string> directories;
            if (const char* env = std::getenv("NORVEXA_LIBRARY_PATH"); env && *env) {
                std::string dir = env;
                if (dir.back() != '/')
                    dir += '/';
                directories.push_back(dir);
            }
            directories.push_back(moduleDirectory(caller));
            directories.push_back(moduleDirectory(reinterpret_cast<const void*>(&libraryFileName)));
            for (const std::string& dir : directories) {
                if (dir.empty())
                    continue;
                if ((handle = openLibrary(dir + file)) != nullptr)
                    break;
            }
            if (handle == nullptr)
                handle = openLibrary(file);
        }
        if (handle == nullptr)
            return nullptr;
        // The library stays loaded: the entry's address must stay valid.
        return dlsym(handle, entryName.c_str());
    } catch (...) {
        return nullptr;
    }
}
