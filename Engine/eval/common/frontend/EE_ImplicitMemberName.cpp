#include "frontend/EE_ImplicitMemberName.h"

EE_ImplicitMemberName* EE_ImplicitMemberName::asImplicitMemberName()
{
    return this;
}
