#ifndef NORVEXA_COMPILER_STORETABLE_H
#define NORVEXA_COMPILER_STORETABLE_H

#include "compiler/EE_KeyedHashTable.h"
#include "compiler/EE_OstrelDeclarationStore.h"

class EE_Name;
class EE_OstrelServices;
class EE_StorageArena;
class ScopeItem;

// The one declaration store of each scope, keyed by the scope.
class StoreTable : public EE_KeyedHashTable<EE_OstrelDeclarationStore, const ScopeItem*, 97> {
public:
    // A new global store for the file scope, entered in the table.
    EE_OstrelDeclarationStore* createGlobal(const ScopeItem* fileScope, EE_OstrelServices& services,
                                            EE_StorageArena& arena);
    // The table's store of the scope; else a new one with that name, entered.
    EE_OstrelDeclarationStore* findOrCreate(EE_Name* name, const ScopeItem* scope, EE_OstrelServices& services,
                                            EE_StorageArena& arena);
};

#endif
