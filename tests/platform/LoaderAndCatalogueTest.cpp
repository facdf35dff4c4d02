#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "PortableEnvironment.h"

#include <plomkit/Engine_Loader.h>
#include <plomkit/XPG4MsgServer.h>

namespace {

using ProbeFunction = int (*)();

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : _name(name)
    {
        if (const char* old = std::getenv(name)) {
            _had = true;
            _old = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (_had)
            setenv(_name, _old.c_str(), 1);
        else
            unsetenv(_name);
    }

private:
    const char* _name;
    bool _had = false;
    std::string _old;
};

void* load(const wchar_t* library, const wchar_t* entry)
{
    return Engine_Loader::instance().loadEntryPoint(FileName(library), EncodedString(entry));
}

TEST(Engine_Loader, BareNameFindsTheLibraryBesideTheUtilityLibrary)
{
    ScopedEnv noPath("NORVEXA_LIBRARY_PATH", "");
    auto probe = reinterpret_cast<ProbeFunction>(load(L"norvexa_loadertest", L"norvexaLoaderProbe"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe(), 4711);
    EXPECT_EQ(&Engine_Loader::instance(), &Engine_Loader::instance());
}

TEST(Engine_Loader, DirectoryFromTheEnvironmentAndFullPaths)
{
    ScopedEnv path("NORVEXA_LIBRARY_PATH", NORVEXA_TEST_LIBDIR);
    EXPECT_NE(load(L"norvexa_loadertest", L"norvexaLoaderProbe"), nullptr);
    std::wstring full = std::filesystem::path(NORVEXA_TEST_LIBDIR "/" NORVEXA_TEST_LIBFILE).wstring();
    EXPECT_NE(load(full.c_str(), L"norvexaLoaderProbe"), nullptr);
}

TEST(Engine_Loader, DefaultSearchPathIsTriedLast)
{
    ScopedEnv path("NORVEXA_LIBRARY_PATH", "/nonexistent-directory");
#if defined(_WIN32)
    EXPECT_NE(load(L"msvcrt", L"strlen"), nullptr);
#else
    EXPECT_NE(load(L"libc.so.6", L"strlen"), nullptr);
#endif
}

TEST(Engine_Loader, AbsentLibraryOrEntryGivesNullWithoutThrowing)
{
    void* entry = reinterpret_cast<void*>(1);
    EXPECT_NO_THROW(entry = load(L"norvexa_no_such_library", L"norvexaLoaderProbe"));
    EXPECT_EQ(entry, nullptr);
    EXPECT_EQ(load(L"norvexa_loadertest", L"noSuchEntry"), nullptr);
    EXPECT_EQ(load(L"", L"strlen"), nullptr);
    EXPECT_EQ(load(L"norvexa_loadertest", L""), nullptr);
    EXPECT_EQ(load(nullptr, nullptr), nullptr);
}

std::string utf8(const EncodedString& s)
{
    ByteString bytes = s.asUTF8();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

TEST(XPG4MsgServer, ReadsTheBuiltCatalogue)
{
    XPG4MsgServer server(EncodedString(L"en_US"), "rmq");
    ASSERT_TRUE(server.isOpen());
    EXPECT_EQ(utf8(server.getMessage(1, 29)), "$$$$0029E Division by zero.");
    std::string missing = utf8(server.getMessage(1, 9999));
    EXPECT_NE(missing.find("9999"), std::string::npos);
    EXPECT_NE(missing.find("rmq"), std::string::npos);
}

TEST(XPG4MsgServer, LocaleDirectoriesAndTheOverride)
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("norvexa-catalogue-" + std::to_string(getpid()));
    fs::create_directories(dir / "de");
    const fs::path built = NORVEXA_TEST_CATALOG;
    fs::copy_file(built, dir / "de" / built.filename(), fs::copy_options::overwrite_existing);
    ScopedEnv catalogues("NORVEXA_CATALOG_DIR", dir.string());

    // de_DE falls back to the language directory.
    XPG4MsgServer german(EncodedString(L"de_DE.UTF-8"), "rmq");
    EXPECT_TRUE(german.isOpen());
    // No catalogue for en_US under the override: not open, still answers.
    XPG4MsgServer english(EncodedString(L"en_US"), "rmq");
    EXPECT_FALSE(english.isOpen());
    EXPECT_NE(utf8(english.getMessage(1, 4)).find("not available"), std::string::npos);
    // A locale text never becomes a path outside the catalogue directory.
    fs::create_directories(dir / "de" / "x");
    XPG4MsgServer escaping(EncodedString(L"x/../../de"), "rmq");
    EXPECT_FALSE(escaping.isOpen());
    XPG4MsgServer badName(EncodedString(L"de"), "../de/rmq");
    EXPECT_FALSE(badName.isOpen());
    fs::remove_all(dir);
}

} // namespace
