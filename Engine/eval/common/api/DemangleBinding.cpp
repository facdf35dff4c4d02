#include "api/DemangleBinding.h"

#include <plomkit/Engine_Loader.h>

DemangleBinding::Entry DemangleBinding::bind(const wchar_t* library)
{
    void* address =
        Engine_Loader::instance().loadEntryPoint(FileName(library), EncodedString(EntryName, Encoding_UTF8));
    return reinterpret_cast<Entry>(address);
}

DemangleBinding::Entry DemangleBinding::entry()
{
    // Looked up once, under the runtime's guard for statics; the loader keeps
    // the library loaded, so the address stays valid.
    static const Entry bound = bind(LibraryName);
    return bound;
}

std::uint16_t DemangleBinding::demangle(int language, const char* mangled, ByteString& readable, ByteString& name,
                                        Entry demangler)
{
    int value = 0;
    switch (language) {
    case 0:
    case 3: value = 2; break;
    case 4: value = 15; break;
    default: return 10002;
    }
    if (demangler == nullptr || mangled == nullptr)
        return 10002;
    return demangler(mangled, value, readable, name) == 0 ? 0 : 10002;
}
