#ifndef EE_IMPLICITMEMBERNAME_H
#define EE_IMPLICITMEMBERNAME_H

#include "frontend/EE_Name.h"

class EE_Expression;

// A member named without its object: a COBOL data item inside a group, found
// without the group's qualifiers; `object` is the group's expression.
class EE_ImplicitMemberName : public EE_Name {
public:
    EE_ImplicitMemberName(EE_StorageArena* a, EE_Declaration* d, EE_Expression* o) : EE_Name(a, d), object(o) {}

    EE_ImplicitMemberName* asImplicitMemberName() override;

    EE_Expression* object;
};

#endif
