#ifndef EE_NAME_H
#define EE_NAME_H

#include "frontend/EE_String.h"

class EE_BaseMemberName;
class EE_BaseNameLookupChain;
class EE_Declaration;
class EE_ImplicitMemberName;
class EE_StorageArena;

// A use of a declaration in an expression. Made by the services in the
// request's storage arena.
class EE_Name {
public:
    EE_Name(EE_StorageArena* a, EE_Declaration* d) : arena(a), declaration(d) {}

    // The chain of base-class stores through which the name is reached; null
    // for a plain name.
    virtual EE_BaseNameLookupChain* baseLookupChain() const;
    // Puts the chain of `other` in front of this name's chain; a plain name has
    // no chain and is left as it is.
    virtual void prependChainOnChain(EE_Name& other);
    virtual EE_BaseMemberName* asBaseMemberName();
    virtual EE_ImplicitMemberName* asImplicitMemberName();

    // The name as text: the qualifier string of each store of the base chain,
    // then the declared name ("::B::m" for member m reached through class B).
    EE_String signature() const;

    EE_StorageArena* arena;
    EE_Declaration* declaration;
};

#endif
