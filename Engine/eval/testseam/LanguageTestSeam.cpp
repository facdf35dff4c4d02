#include "testseam/LanguageTestSeam.h"

#include "frontend/EE_LanguageOverride.h"

int EE_setCurrentLanguage(int language)
{
    int previous = EE_languageOverride();
    EE_languageOverride() = language;
    return previous;
}
