#include <plomkit/XPG4MsgServer.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef PLOMKIT_CATALOG_DIR
#define PLOMKIT_CATALOG_DIR "."
#endif

namespace {

// A locale text may name only letters, digits, "_", "-", "." and "@"; anything
// else (a "/" or "..") must not reach a file name.
bool safeLocale(const std::string& locale)
{
    if (locale.empty() || locale[0] == '.')
        return false;
    for (char c : locale) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '-' || c == '.' || c == '@';
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace

XPG4MsgServer::XPG4MsgServer(const EncodedString& locale, const char* catalogueName)
    : _catalogue(reinterpret_cast<nl_catd>(-1)), _name(catalogueName ? catalogueName : "")
{
    if (_name.empty() || _name.find('/') != std::string::npos)
        return;
    std::string dir = PLOMKIT_CATALOG_DIR;
    if (const char* env = std::getenv("NORVEXA_CATALOG_DIR"); env && *env)
        dir = env;
    if (dir.back() != '/')
        dir += '/';

    ByteString localeBytes = locale.asUTF8();
    std::string localeText(reinterpret_cast<const char*>(localeBytes.data()),
                           localeBytes.length());
    std::vector<std::string> candidates;
    if (safeLocale(localeText)) {
        candidates.push_back(dir + localeText + "/" + _name + ".cat");
        auto cut = localeText.find_first_of("_.@");
        if (cut != std::string::npos && cut != 0)
            candidates.push_back(dir + localeText.substr(0, cut) + "/" + _name + ".cat");
    }
    candidates.push_back(dir + _name + ".cat");
    for (const std::string& path : candidates) {
        // A name with a "/" is opened as it stands, without NLSPATH.
        _catalogue = catopen(path.c_str(), 0);
        if (isOpen())
            break;
    }
}

XPG4MsgServer::~XPG4MsgServer()
{
    if (isOpen())
        catclose(_catalogue);
}

EncodedString XPG4MsgServer::getMessage(int set, int id)
{
    char fallback[96];
    std::snprintf(fallback, sizeof fallback, "(message %d.%d of catalogue %s is not available)",
                  set, id, _name.c_str());
    if (!isOpen())
        return EncodedString(fallback, Encoding_UTF8);
    std::lock_guard<std::mutex> guard(_lock);
    const char* text = catgets(_catalogue, set, id, fallback);
    return EncodedString(text, Encoding_UTF8);
}
