#ifndef NORVEXA_API_DEMANGLEBINDING_H
#define NORVEXA_API_DEMANGLEBINDING_H

#include <cstdint>

#include <plomkit/ByteString.h>

// Binds the demangler, which lives in a companion library beside this one
// (libnorvexademangle.so), by name on first use; this library does not link
// against it.
class DemangleBinding {
public:
    // The companion's entry: the linkage name, the language value of the
    // debugger's list (2 C++, 15 the parallel language), the readable name
    // and the name without its parameter list; answers 0 on success.
    typedef unsigned char (*Entry)(const char* mangled, int language, ByteString& readable, ByteString& name);

    // The companion library, as the loader names it ("x" is "libx.so").
    static constexpr const wchar_t* LibraryName = L"norvexademangle";
    // The name of its entry.
    static constexpr const char* EntryName = "demangleName";

    // The entry, looked up once per process; null when the companion or the
    // entry cannot be found.
    static Entry entry();
    // The entry of the named library (looked up anew), or null.
    static Entry bind(const wchar_t* library);

    // Demangles a linkage name of an evaluator language: 0 and 3 as C++
    // (language value 2), 4 as the parallel language (15). Answers 0 with
    // both texts filled, or 10002 for any other language, a name the
    // demangler refuses, or no demangler (entry null).
    static std::uint16_t demangle(int language, const char* mangled, ByteString& readable, ByteString& name,
                                  Entry demangler);
    static std::uint16_t demangle(int language, const char* mangled, ByteString& readable, ByteString& name)
    {
        return demangle(language, mangled, readable, name, entry());
    }
};

#endif
