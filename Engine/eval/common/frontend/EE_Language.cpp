#include "frontend/EE_Language.h"

namespace {
// The language set for this thread; negative when none is set.
thread_local int currentLanguage = -1;
}

int EE_currentLanguage() {
  // Without a language set for the thread the text is taken as C.
  return currentLanguage < 0 ? 0 : currentLanguage;
}

bool EE_isCobolLanguage() {
  return EE_currentLanguage() == EE_LanguageCobol;
}

int EE_setCurrentLanguage(int language) {
  int previous = currentLanguage;
  currentLanguage = language;
  return previous;
}
