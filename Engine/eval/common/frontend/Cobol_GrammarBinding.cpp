#include "frontend/Cobol_GrammarBinding.h"

#include <plomkit/Engine_Loader.h>

#include "frontend/EE_ParseException.h"

bool Cobol_GrammarBinding::compatible(Cobol_Parser_LL_VersionEntry version)
{
    return version != nullptr && version() == Cobol_Parser_LL_InterfaceVersion;
}

Cobol_Parser_LL_ParseEntry Cobol_GrammarBinding::bind(const wchar_t* library)
{
    Engine_Loader& loader = Engine_Loader::instance();
    void* version = loader.loadEntryPoint(FileName(library), EncodedString(VersionEntryName, Encoding_UTF8));
    if (!compatible(reinterpret_cast<Cobol_Parser_LL_VersionEntry>(version)))
        return nullptr;
    void* address = loader.loadEntryPoint(FileName(library), EncodedString(EntryName, Encoding_UTF8));
    return reinterpret_cast<Cobol_Parser_LL_ParseEntry>(address);
}

#if defined(_WIN32)
// The Windows evaluator carries the grammar inside itself.
extern "C" bool Cobol_Parser_LL_parse_Interface_Expression(Cobol_Parser_LL_Universe& u);

Cobol_Parser_LL_ParseEntry Cobol_GrammarBinding::entry()
{
    return &Cobol_Parser_LL_parse_Interface_Expression;
}
#else
Cobol_Parser_LL_ParseEntry Cobol_GrammarBinding::entry()
{
    // Looked up once, under the runtime's guard for statics; the loader keeps
    // the library loaded, so the address stays valid.
    static const Cobol_Parser_LL_ParseEntry bound = bind(LibraryName);
    return bound;
}
#endif

Cobol_Parser_LL_ParseEntry Cobol_GrammarBinding::require(const wchar_t* library)
{
    Cobol_Parser_LL_ParseEntry found = library == nullptr ? entry() : bind(library);
    if (found == nullptr)
        throw EE_ParseException(EE_ParseException::NotReady,
                                "COBOL expressions cannot be parsed: the COBOL grammar library "
                                "libnorvexacobol.so was not found or was built for another "
                                "interface version");
    return found;
}
