#ifndef EE_LANGUAGEOVERRIDE_H
#define EE_LANGUAGEOVERRIDE_H

// The calling thread's language override (negative: none): while set,
// EE_currentLanguage answers it whatever environment is current. Only the
// test seam sets it.
int& EE_languageOverride();

#endif
