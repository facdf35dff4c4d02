#ifndef EE_DECLARATION_H
#define EE_DECLARATION_H

class EE_ArenaString;
class EE_DeclarationStore;
class EE_StorageArena;
class EE_String;
class EE_TypeDescriptor;

// A named entity of the program (variable, member, type, template,
// procedure) as the front end sees it. The services implementation derives
// the concrete declarations; they live in the request's storage arena.
class EE_Declaration {
public:
    // The store that holds the declaration.
    virtual EE_DeclarationStore* enclosingDeclarationStore() = 0;
    virtual bool isBuiltinProcedure() const = 0;
    virtual bool isProcedure() const = 0;
    virtual bool isType() const = 0;
    virtual bool isTemplate() const = 0;
    virtual bool isSymbol() const = 0;
    // The store of the scope that a class declaration opens, or null.
    virtual EE_DeclarationStore* declarationStore() = 0;
    virtual bool isConditionName() const = 0;
    virtual bool isStaticMember() const = 0;
    // Makes the declaration's type descriptor current and answers it.
    virtual EE_TypeDescriptor* setTypeDescriptor() = 0;
    // Finds the declaration's type when it has none yet and answers it.
    virtual EE_TypeDescriptor* analyze() = 0;

    // Appends the declared name.
    void id(EE_String& out) const;
    // Appends the qualifier string of the enclosing store, then the name.
    void fullyQualifiedName(EE_String& out);
    // The declaration of the class that holds this member (the enclosing
    // store's name), or null when the enclosing store has no name.
    EE_Declaration* classOfEnclosingMemberDeclarationStore();

    EE_ArenaString* name;              // the declared name, in the arena
    EE_DeclarationStore* store;        // the store that holds the declaration
    EE_TypeDescriptor* typeDescriptor; // null until the concrete class sets it

protected:
    // The name is copied into an arena string made in `arena`.
    EE_Declaration(const char* declaredName, EE_DeclarationStore* owningStore, EE_StorageArena& arena);
    EE_Declaration(const EE_Declaration&) = delete;
    EE_Declaration& operator=(const EE_Declaration&) = delete;
    // Declarations die with their arena, never through this class.
    ~EE_Declaration() = default;
};

#endif
