#ifndef EE_ARENASTRING_H
#define EE_ARENASTRING_H

#include "frontend/EE_String.h"

// A string made in place inside arena storage (declaration names, the texts of
// scanned names). It is abandoned with its arena, never destroyed one by one;
// its destructor therefore has nothing to do beyond the base's, and it never
// throws.
class EE_ArenaString : public EE_String {
public:
    using EE_String::EE_String;
    using EE_String::operator=;
    ~EE_ArenaString() override;
};

#endif
