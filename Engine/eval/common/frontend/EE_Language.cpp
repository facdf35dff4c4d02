#include "frontend/EE_Language.h"

#include "services/EvaluationEnvironment.h"

namespace {
// A language set explicitly for this thread; negative when none is set.
thread_local int currentLanguage = -1;
}

int EE_currentLanguage() {
  // An explicit setting wins; otherwise the language of the request whose
  // environment is current on this thread; without either the text is C.
  if (currentLanguage >= 0)
    return currentLanguage;
  if (const EvaluationEnvironment* environment = EvaluationEnvironment::currentOrNull())
    return environment->language();
  return 0;
}

bool EE_isCobolLanguage() {
  return EE_currentLanguage() == EE_LanguageCobol;
}

int EE_setCurrentLanguage(int language) {
  int previous = currentLanguage;
  currentLanguage = language;
  return previous;
}
