#include "compiler/StoreTable.h"

#include "frontend/EE_StorageArena.h"

EE_OstrelDeclarationStore* StoreTable::createGlobal(const ScopeItem* fileScope, EE_OstrelServices& services,
                                                    EE_StorageArena& arena)
{
    EE_OstrelDeclarationStore* store = new (arena) EE_OstrelDeclarationStore(nullptr, 1, fileScope, services);
    add(*store);
    return store;
}

EE_OstrelDeclarationStore* StoreTable::findOrCreate(EE_Name* name, const ScopeItem* scope, EE_OstrelServices& services,
                                                    EE_StorageArena& arena)
{
    if (EE_OstrelDeclarationStore* found = find(scope))
        return found;
    EE_OstrelDeclarationStore* store = new (arena) EE_OstrelDeclarationStore(name, 0, scope, services);
    add(*store);
    return store;
}
