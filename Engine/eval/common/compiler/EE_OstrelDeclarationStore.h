#ifndef NORVEXA_COMPILER_EE_OSTRELDECLARATIONSTORE_H
#define NORVEXA_COMPILER_EE_OSTRELDECLARATIONSTORE_H

#include "compiler/EE_Link.h"
#include "frontend/EE_DeclarationStore.h"

class EE_OstrelServices;
class ScopeItem;

// The declaration store of one scope of the symbol model, made in the
// services' arena; the store table keeps one per scope. A class scope's
// store has the class's name (a class store); the global store is marked
// global.
class EE_OstrelDeclarationStore : public EE_DeclarationStore, public EE_Link<EE_OstrelDeclarationStore> {
public:
    EE_OstrelDeclarationStore(EE_Name* scopeName, int global, const ScopeItem* s, EE_OstrelServices& owner)
        : EE_DeclarationStore(scopeName, global), scope(s), services(owner)
    {
    }

    const ScopeItem* tableKey() const { return scope; }

    // The store of the container scope, kept once found; a scope without
    // container refuses.
    EE_DeclarationStore* enclosingDeclarationStore() const override;
    // For a member function's scope, the store of its class's scope; else null.
    EE_DeclarationStore* owningClass() override;
    EE_Name* qualifiedScopeLookup(const char* text, int typeOnly) override;
    EE_Name* qualifiedScopeLookup(const char* text, EE_MemberAccessList& qualifiers) override;
    EE_TypeDescriptor* findTypeInScope(const EE_String& text) override;
    bool prependBaseLookupChain(EE_BaseMemberName& name, EE_DeclarationStore& store, int& flag) override;

    mutable EE_DeclarationStore* enclosing = nullptr;
    const ScopeItem* scope;
    EE_OstrelServices& services;
};

#endif
