#if !defined(_WIN32)

#include "LibraryFiles.h"

#include <dlfcn.h>

namespace plomkit_detail {

std::string libraryFileName(const std::string& name)
{
    if (hasDirectory(name) || name.find(".so") != std::string::npos)
        return name;
    return "lib" + name + ".so";
}

bool hasDirectory(const std::string& name)
{
    return name.find('/') != std::string::npos;
}

char directorySeparator()
{
    return '/';
}

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

void* findEntry(void* library, const std::string& entry)
{
    return dlsym(library, entry.c_str());
}

} // namespace plomkit_detail

#endif
