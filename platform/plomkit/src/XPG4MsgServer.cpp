#include <plomkit/XPG4MsgServer.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LibraryFiles.h"
#include "MessageCatalogue.h"

#ifndef PLOMKIT_CATALOG_DIR
#define PLOMKIT_CATALOG_DIR ""
#endif

using namespace plomkit_detail;

namespace {

// A locale text may name only letters, digits, "_", "-", "." and "@"; anything
// else (a "/" or "..") must not reach a file name.
bool safeLocale(const std::string& locale)
{
    if (locale.empty() || locale[0] == '.')
        return false;
    for (char c : locale) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
                  c == '.' || c == '@';
        if (!ok)
            return false;
    }
    return true;
}

// The directories the catalogue is looked for in, each with its final
// separator.
std::vector<std::string> catalogueDirectories(const void* caller)
{
    std::vector<std::string> dirs;
    if (const char* env = std::getenv("NORVEXA_CATALOG_DIR"); env && *env) {
        dirs.push_back(env);
    } else if (*PLOMKIT_CATALOG_DIR != '\0') {
        dirs.push_back(PLOMKIT_CATALOG_DIR);
    } else {
        dirs.push_back(moduleDirectory(caller));
        dirs.push_back(moduleDirectory(reinterpret_cast<const void*>(&safeLocale)));
    }
    for (std::string& dir : dirs)
        if (!dir.empty() && dir.back() != '/' && dir.back() != directorySeparator())
            dir += directorySeparator();
    return dirs;
}

} // namespace

__attribute__((noinline)) XPG4MsgServer::XPG4MsgServer(const EncodedString& locale, const char* catalogueName)
    : _catalogue(nullptr), _name(catalogueName ? catalogueName : "")
{
    if (_name.empty() || hasDirectory(_name) || _name.find("..") != std::string::npos)
        return;
    const void* caller = __builtin_return_address(0);
    std::string file = _name + MessageCatalogue::fileSuffix();

    ByteString localeBytes = locale.asUTF8();
    std::string localeText(reinterpret_cast<const char*>(localeBytes.data()), localeBytes.length());
    std::vector<std::string> subdirectories;
    if (safeLocale(localeText)) {
        subdirectories.push_back(localeText + directorySeparator());
        auto cut = localeText.find_first_of("_.@");
        if (cut != std::string::npos && cut != 0)
            subdirectories.push_back(localeText.substr(0, cut) + directorySeparator());
    }
    subdirectories.push_back("");
    for (const std::string& dir : catalogueDirectories(caller)) {
        if (dir.empty())
            continue;
        for (const std::string& subdirectory : subdirectories) {
            _catalogue = MessageCatalogue::open(dir + subdirectory + file).release();
            if (isOpen())
                return;
        }
    }
}

XPG4MsgServer::~XPG4MsgServer()
{
    delete _catalogue;
}

EncodedString XPG4MsgServer::getMessage(int set, int id)
{
    char fallback[96];
    std::snprintf(fallback, sizeof fallback, "(message %d.%d of catalogue %s is not available)", set, id,
                  _name.c_str());
    if (!isOpen())
        return EncodedString(fallback, Encoding_UTF8);
    std::string text;
    {
        std::lock_guard<std::mutex> guard(_lock);
        if (!_catalogue->find(set, id, text))
            text = fallback;
    }
    return EncodedString(text.c_str(), Encoding_UTF8);
}
