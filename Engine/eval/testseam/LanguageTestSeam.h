#ifndef NORVEXA_TESTSEAM_LANGUAGETESTSEAM_H
#define NORVEXA_TESTSEAM_LANGUAGETESTSEAM_H

#include "frontend/EE_Language.h"

// Makes the calling thread answer `language` as its current language until
// it is called again, whatever environment is current; a negative value
// withdraws the setting. Returns the previous setting. Test seam only.
int EE_setCurrentLanguage(int language);

#endif
