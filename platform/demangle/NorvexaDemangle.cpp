// The demangler companion: C++ linkage names made readable.
#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <plomkit/ByteString.h>

namespace {

// Language values of the debugger's language list that are demangled as
// C++: C++ itself and the parallel language.
bool demangledAsCpp(int language)
{
    return language == 2 || language == 15;
}

// The readable name without its parameter list: the text before the
// parenthesised group that ends the name (trailing qualifiers such as
// " const" skipped); a name without one is kept whole.
std::string withoutParameters(const std::string& name)
{
    std::size_t end = name.rfind(')');
    // A name declared inside a function ("f()::x") is no function itself.
    if (end == std::string::npos || name.find("::", end) != std::string::npos)
        return name;
    int depth = 0;
    for (std::size_t i = end + 1; i-- > 0;) {
        if (name[i] == ')')
            ++depth;
        else if (name[i] == '(' && --depth == 0)
            return i == 0 ? name : name.substr(0, i);
    }
    return name;
}

ByteString bytes(const std::string& s)
{
    return ByteString(reinterpret_cast<const unsigned char*>(s.data()), static_cast<unsigned>(s.size()));
}

} // namespace

// Demangles a linkage name of a language of the debugger's list (2 C++, 15
// the parallel language). On success fills the readable name and the name
// without its parameter list and answers 0; any other language, a name
// that is no C++ linkage name, or a failure answers 1 and leaves both
// texts unchanged.
extern "C" __attribute__((visibility("default"))) unsigned char demangleName(const char* mangled, int language,
                                                                             ByteString& readable, ByteString& name)
{
    if (mangled == nullptr || !demangledAsCpp(language))
        return 1;
    try {
        int status = 0;
        std::unique_ptr<char, void (*)(void*)> text(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
        if (status != 0 || text == nullptr)
            return 1;
        const std::string full(text.get());
        readable = bytes(full);
        name = bytes(withoutParameters(full));
        return 0;
    } catch (...) {
        return 1;
    }
}
