#include "frontend/EE_Language.h"

#include "frontend/EE_LanguageOverride.h"
#include "services/EvaluationEnvironment.h"

namespace {
// A language set for this thread by the test seam; negative when none is.
thread_local int currentLanguage = -1;
}

int& EE_languageOverride()
{
    return currentLanguage;
}

int EE_currentLanguage()
{
    // An explicit setting wins; otherwise the language of the request whose
    // environment is current on this thread; without either the text is C.
    if (currentLanguage >= 0)
        return currentLanguage;
    if (const EvaluationEnvironment* environment = EvaluationEnvironment::currentOrNull())
        return environment->language();
    return 0;
}

bool EE_isCobolLanguage()
{
    return EE_currentLanguage() == EE_LanguageCobol;
}
