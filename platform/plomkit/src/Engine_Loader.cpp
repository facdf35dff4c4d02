#include <plomkit/Engine_Loader.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "LibraryFiles.h"

using namespace plomkit_detail;

Engine_Loader& Engine_Loader::instance()
{
    static Engine_Loader loader;
    return loader;
}

__attribute__((noinline)) void* Engine_Loader::loadEntryPoint(const FileName& library, const EncodedString& entry)
{
    const void* caller = __builtin_return_address(0);
    try {
        std::string file = libraryFileName(library.path());
        ByteString entryBytes = entry.asUTF8();
        std::string entryName(reinterpret_cast<const char*>(entryBytes.data()), entryBytes.length());
        if (file.empty() || entryName.empty())
            return nullptr;

        void* handle = nullptr;
        if (hasDirectory(file)) {
            handle = openLibrary(file);
        } else {
            std::vector<std::string> directories;
            if (const char* env = std::getenv("NORVEXA_LIBRARY_PATH"); env && *env) {
                std::string dir = env;
                if (dir.back() != '/' && dir.back() != directorySeparator())
                    dir += directorySeparator();
                directories.push_back(dir);
            }
            directories.push_back(moduleDirectory(caller));
            directories.push_back(moduleDirectory(reinterpret_cast<const void*>(&Engine_Loader::instance)));
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
        return findEntry(handle, entryName);
    } catch (...) {
        return nullptr;
    }
}
