#ifndef NORVEXA_COMPILER_EE_OSTRELDECLARATIONSTORE_H
#define NORVEXA_COMPILER_EE_OSTRELDECLARATIONSTORE_H

#include <cstddef>
#include <functional>

#include "compiler/EE_Link.h"
#include "frontend/EE_DeclarationStore.h"

class EE_Declaration;
class EE_Expression;
class EE_OstrelServices;
class ScopeItem;
class SymbolItem;
class SymbolList;
class SymbolListEntry;
class TypeItem;

// The declaration store of one scope of the symbol model, made in the
// services' arena; the store table keeps one per scope. A class scope's
// store has the class's name (a class store); the global store is marked
// global.
class EE_OstrelDeclarationStore : public EE_DeclarationStore, public EE_Link<EE_OstrelDeclarationStore> {
public:
    EE_OstrelDeclarationStore(EE_Name* scopeName, int global, const ScopeItem* s, EE_OstrelServices& owner)
        : EE_DeclarationStore(scopeName, global), scope(s), services(owner)
    {}

    const ScopeItem* tableKey() const { return scope; }

    // The store of the container scope, kept once found; a scope without
    // container refuses.
    EE_DeclarationStore* enclosingDeclarationStore() const override;
    // For a member function's scope, the store of its class's scope; else null.
    EE_DeclarationStore* owningClass() override;
    EE_Name* qualifiedScopeLookup(const char* text, int typeOnly) override;
    EE_Name* qualifiedScopeLookup(const char* text, EE_MemberAccessList& qualifiers) override;
    EE_TypeDescriptor* findTypeInScope(const EE_String& text) override;
    // Extends the name's chain by this class when exactly one of its direct
    // bases leads to `store`; two ways there set the flag.
    bool prependBaseLookupChain(EE_BaseMemberName& name, EE_DeclarationStore& store, int& flag) override;

    // --- C and C++ lookup ------------------------------------------------------
    // This scope only: a variable, a named type, a template.
    EE_Declaration* qualifiedLookup(const char* text, int typeOnly);
    // This scope outward: the scope, a member function's class with its
    // bases and enclosing scopes, then the enclosing scopes up to the file.
    EE_Name* unqualifiedLookup(const char* text, int typeOnly);
    EE_Name* unqualifiedScopeLookup(const char* text, int typeOnly);
    // The bases of this class store in their order; the first that answers
    // wins.
    EE_BaseMemberName* searchBases(const char* text, int typeOnly);
    // The path from this class to a base class, or null (also when the class
    // holds more than one part of that base class).
    EE_BaseMemberName* lookupBase(const EE_TypeDescriptor& base);
    bool isClassStore() const { return name != nullptr; }

    // --- COBOL lookup ------------------------------------------------------------
    // The data item of the name and qualifiers, scope by scope outward.
    EE_Name* unqualifiedScopeLookup(const char* text, EE_MemberAccessList& qualifiers);
    // The one candidate the written qualifiers choose; ambiguity and an item
    // not allocated raise EE_ParseException 6 and 8.
    EE_Name* bestMatch(SymbolList* candidates, const ScopeItem* where, EE_MemberAccessList& qualifiers);

    // Asks inScope of each store from this one outward up to the global
    // store; inOwner, when given, of a member function's class store on
    // the way. The first answer is kept.
    EE_Name* searchOutward(const char* text, const std::function<EE_Name*(EE_OstrelDeclarationStore&)>& inScope,
                           const std::function<EE_Name*(EE_OstrelDeclarationStore&)>& inOwner);
    // The store of a direct base's class scope.
    EE_OstrelDeclarationStore& baseStore(const TypeItem* base);
    // lookupBase's search: the one path, or null with ambiguous set when
    // there are several.
    EE_BaseMemberName* basePath(const EE_TypeDescriptor& base, bool& ambiguous);
    EE_Expression* memberAccessExpression(const SymbolItem* const* qualifiers, std::size_t count);
    [[noreturn]] void ambiguous(const SymbolItem* first);

    mutable EE_DeclarationStore* enclosing = nullptr;
    const ScopeItem* scope;
    EE_OstrelServices& services;
};

#endif
