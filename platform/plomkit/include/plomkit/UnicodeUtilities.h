#ifndef PLOMKIT_UNICODEUTILITIES_H
#define PLOMKIT_UNICODEUTILITIES_H

#include <plomkit/PlomkitExport.h>

class PLOMKIT_API UnicodeUtilities {
public:
    // Length in bytes of the UTF-8 character that begins with first (1 to 4);
    // 0 when no character begins with that byte.
    static int mblen(unsigned char first);
};

#endif
