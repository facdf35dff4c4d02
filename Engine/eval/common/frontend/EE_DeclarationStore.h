#ifndef EE_DECLARATIONSTORE_H
#define EE_DECLARATIONSTORE_H

class EE_BaseMemberName;
class EE_MemberAccessList;
class EE_Name;
class EE_String;
class EE_TypeDescriptor;

// A scope that holds declarations: the global scope, a namespace, a class, a
// function. The services implementation derives the concrete stores; they
// live in the request's storage arena.
class EE_DeclarationStore {
public:
    virtual ~EE_DeclarationStore();

    // The store of the scope around this one, or null.
    virtual EE_DeclarationStore* enclosingDeclarationStore() const = 0;
    // For a member function's scope, the store of its class; else null.
    virtual EE_DeclarationStore* owningClass() = 0;
    // The name of that text in this scope (types only when typeOnly is set).
    virtual EE_Name* qualifiedScopeLookup(const char* text, int typeOnly) = 0;
    // The COBOL data item of that name with those qualifiers in this scope.
    virtual EE_Name* qualifiedScopeLookup(const char* text, EE_MemberAccessList& qualifiers) = 0;
    // The type of that name in this scope.
    virtual EE_TypeDescriptor* findTypeInScope(const EE_String& text) = 0;
    // Extends a member name's base chain towards `store`.
    virtual bool prependBaseLookupChain(EE_BaseMemberName& name, EE_DeclarationStore& store, int& flag) = 0;

    // Appends the qualification of the scope: the enclosing qualification and
    // the scope's name for a named scope, then "::". The global store gives
    // "::", a class B at global level "::B::". A non-global store without a
    // name raises EE_Exception code 2.
    void qualifierString(EE_String& out) const;

    EE_Name* name;     // the class or namespace that the scope is; null when unnamed
    int isGlobal;      // 1 for a store made for a scope alone (global, function)
    unsigned reserved; // 0 when made; for the concrete class

protected:
    EE_DeclarationStore(EE_Name* scopeName, int global) : name(scopeName), isGlobal(global), reserved(0) {}
    EE_DeclarationStore(const EE_DeclarationStore&) = delete;
    EE_DeclarationStore& operator=(const EE_DeclarationStore&) = delete;
};

#endif
