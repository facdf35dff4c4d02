#ifndef COBOL_GRAMMARBINDING_H
#define COBOL_GRAMMARBINDING_H

#include "frontend/Cobol_Parser_LL_Universe.h"

// Binds the entry of the COBOL grammar, which lives in a companion library
// beside this one (libnorvexacobol.so), by name on first use. This library
// does not link against the companion; the companion needs nothing of this
// library at link time either.
class Cobol_GrammarBinding {
public:
    // The companion library, as the loader names it ("x" is "libx.so").
    static constexpr const wchar_t* LibraryName = L"norvexacobol";
    // The name of the grammar's entry in it.
    static constexpr const char* EntryName = "Cobol_Parser_LL_parse_Interface_Expression";
    // The name of the entry that tells the companion's interface version.
    static constexpr const char* VersionEntryName = "Cobol_Parser_LL_interfaceVersion";

    // Whether a companion answering through this version entry (null: none)
    // was built for this library's interface version.
    static bool compatible(Cobol_Parser_LL_VersionEntry version);

    // The entry, looked up once per process; null when the companion or the
    // entry cannot be found.
    static Cobol_Parser_LL_ParseEntry entry();

    // The entry of the named library (looked up anew), or null; null also
    // when the library is of another interface version.
    static Cobol_Parser_LL_ParseEntry bind(const wchar_t* library);

    // The entry of the named library (the companion when null); when it cannot
    // be bound, COBOL text cannot be parsed: EE_ParseException code 7 (not
    // ready) with a text that names the library.
    static Cobol_Parser_LL_ParseEntry require(const wchar_t* library = nullptr);
};

#endif
