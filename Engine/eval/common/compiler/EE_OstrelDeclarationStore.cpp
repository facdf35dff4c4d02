#include "compiler/EE_OstrelDeclarationStore.h"

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/ServicesRefusal.h"

EE_DeclarationStore* EE_OstrelDeclarationStore::enclosingDeclarationStore() const
{
    if (enclosing != nullptr)
        return enclosing;
    const ScopeItem* container = scopeContainer(scope);
    if (container == nullptr)
        servicesRefuse();
    enclosing = services.findOrCreateDeclarationStore(container);
    return enclosing;
}

EE_DeclarationStore* EE_OstrelDeclarationStore::owningClass()
{
    if (!scopeIsMemberFunc(scope))
        return nullptr;
    return services.findOrCreateDeclarationStore(memberFuncOwningClassScope(scope));
}
