#if defined(_WIN32)

#include "LibraryFiles.h"

#include <windows.h>

#include <vector>

namespace plomkit_detail {

namespace {

std::wstring widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string narrow(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

bool endsWithDll(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".dll";
}

} // namespace

std::string libraryFileName(const std::string& name)
{
    if (hasDirectory(name) || endsWithDll(name))
        return name;
    return name + ".dll";
}

bool hasDirectory(const std::string& name)
{
    return name.find_first_of("/\\:") != std::string::npos;
}

char directorySeparator()
{
    return '\\';
}

std::string moduleDirectory(const void* address)
{
    HMODULE module = nullptr;
    if (address == nullptr ||
        !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return {};
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            break;
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    std::wstring file(buffer.data());
    auto slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string() : narrow(file.substr(0, slash + 1));
}

void* openLibrary(const std::string& path)
{
    std::wstring wide = widen(path);
    if (wide.empty())
        return nullptr;
    // The system's loader takes backslashes only.
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    return reinterpret_cast<void*>(LoadLibraryW(wide.c_str()));
}

void* findEntry(void* library, const std::string& entry)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), entry.c_str()));
}

} // namespace plomkit_detail

#endif
