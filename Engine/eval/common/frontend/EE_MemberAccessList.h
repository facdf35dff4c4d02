#ifndef EE_MEMBERACCESSLIST_H
#define EE_MEMBERACCESSLIST_H

#include "frontend/EE_String.h"

class EE_StorageArena;

// The OF and IN qualifiers of a COBOL data name, in the order written, as
// they are carried to lookup. Links and texts live in the arena.
class EE_MemberAccessList {
public:
    struct Link {
        Link(const EE_String& text, EE_StorageArena* arena) : next(nullptr), qualifier(text, arena) {}

        Link* next;
        EE_String qualifier;
    };

    explicit EE_MemberAccessList(EE_StorageArena& a) : arena(&a), first(nullptr), last(nullptr) {}

    // Adds a copy of the qualifier at the end.
    void append(const EE_String& qualifier);

    EE_StorageArena* arena;
    Link* first;
    Link* last;
};

#endif
