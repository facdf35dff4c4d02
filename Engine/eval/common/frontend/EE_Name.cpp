#include "frontend/EE_Name.h"

#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Exception.h"

namespace {
// A longer chain than this runs in a circle.
constexpr unsigned MaxChain = 4096;
}

EE_BaseNameLookupChain* EE_Name::baseLookupChain() const
{
    return nullptr;
}

void EE_Name::prependChainOnChain(EE_Name&) {}

EE_BaseMemberName* EE_Name::asBaseMemberName()
{
    return nullptr;
}

EE_ImplicitMemberName* EE_Name::asImplicitMemberName()
{
    return nullptr;
}

EE_String EE_Name::signature() const
{
    EE_String text;
    unsigned links = 0;
    for (const EE_BaseNameLookupChain* link = baseLookupChain(); link != nullptr; link = link->next) {
        if (++links > MaxChain)
            throw EE_Exception(EE_Exception::InternalFailure);
        if (link->store != nullptr)
            link->store->qualifierString(text);
    }
    if (declaration != nullptr)
        declaration->id(text);
    return text;
}
