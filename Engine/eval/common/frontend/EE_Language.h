#ifndef EE_LANGUAGE_H
#define EE_LANGUAGE_H

// The language of the expression being handled, as the front end asks for it.
// Language codes: 2 C++, 6 COBOL, 11 Fortran, 15 UPC, 18 SQL host variables;
// any other code is treated as C.
enum : int {
    EE_LanguageCPP = 2,
    EE_LanguageCobol = 6,
    EE_LanguageFortran = 11,
    EE_LanguageUPC = 15,
    EE_LanguageSQL = 18
};

// The current language of the calling thread: the language of the
// evaluation environment current on the thread, else C. (Tests may set a
// language for the thread through their test seam; it wins while set.)
int EE_currentLanguage();

// True when the current language is COBOL.
bool EE_isCobolLanguage();

#endif
