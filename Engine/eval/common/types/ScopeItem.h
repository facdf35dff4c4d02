#ifndef NORVEXA_TYPES_SCOPEITEM_H
#define NORVEXA_TYPES_SCOPEITEM_H

#include <cstdint>

#include <plomkit/ByteString.h>
#include <plomkit/List.h>

#include "HostRecords.h"

class EvaluationEnvironment;
class SymbolItem;
class SymbolList;
class SymbolListMap;
class TypeItem;

// A scope over one host context (file, function, member function, block),
// over an aggregate type (a class scope) or over the condition names of a
// COBOL data item. It caches the symbols made for the names looked up in it
// and knows its enclosing scope.
//
// Every scope belongs to the evaluation environment that was current when it
// was made: it registers there on construction, remembers that environment,
// and unregisters from it (never from whichever environment happens to be
// current) when destroyed. The environment deletes the scopes it still holds
// when it is reset or destroyed. A scope owns the symbols in its lists.
class ScopeItem {
public:
    enum ScopeType : std::uint32_t {
        unknownScope = 0,
        file = 1,
        block = 2,
        classScope = 4,
        structureScope = 8,
        condvarScope = 16,
        function = 256,
        memberFunction = 768,
        staticMemberFunction = 1792,
    };

    // A scope of a context. Type 0 takes the type from the host's context
    // kind; a block asks whether the context holds an OpenMP environment.
    // Registers with the current environment (InvalidOp RTRC_AssertFail when
    // there is none).
    ScopeItem(const LCC_Eval_Context_Info* context, ScopeType type);
    // The scope of a context whose block entry is known, inside parent.
    ScopeItem(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& block, ScopeItem& parent);
    virtual ~ScopeItem();

    ScopeItem(const ScopeItem&) = delete;
    ScopeItem& operator=(const ScopeItem&) = delete;

    // "-File Scope (1f40)-", "-Function main Scope (...)-", "-Block Scope (...)-".
    virtual const char* name() const;
    // The enclosing scope, found on first use and kept; null for none.
    virtual ScopeItem* container() const;
    // The variable called name (case-sensitive); made through the host when
    // create is non-zero. Null for unknown names and for type names.
    // InvalidOp RTRC_Other for a null name.
    virtual SymbolItem* findVariable(const char* name, int create) const;
    // The type symbol called name, as findVariable over the type names.
    SymbolItem* findType(const char* name, int create) const;
    // Takes ownership: type names go to the type list, others to the
    // variable list.
    void addSymbol(SymbolItem& symbol);

    // The function name of a function scope; "Not a function" for other
    // scopes and "Invalid Function" when the host cannot say.
    const char* functionName() const;

    // Every symbol visible under name with its qualifier chain; kept per
    // name. Null when there is none.
    SymbolList* getFlattenedSymbolList(const char* name) const;
    // The host's search flags for this scope.
    unsigned getSymbolsToSearch() const;

    // The current environment's file scope, made on first use.
    static ScopeItem* fileScope();
    // Whether the context is a compilation unit; otherwise makes sure the
    // file scope exists.
    static bool isCUcontext(const LCC_Eval_Context_Info* context);

    // Whether a type symbol of this scope has exactly that type object.
    bool definesType(const TypeItem& type) const;
    // The newest scope of the current environment that defines the type.
    static ScopeItem* findDefiningScope(const TypeItem& type);
    // Nothing to add in this system.
    void searchSymbolsWithClassOrStructType(SymbolList& list, const char* name) const;

    const LCC_Eval_Context_Info* context() const { return context_; }
    ScopeType scopeType() const { return type_; }
    bool isClassOrStructureScope() const { return type_ == classScope || type_ == structureScope; }
    std::uint16_t nestingLevel() const { return nestingLevel_; }
    SymbolItem* thisSymbol() const { return thisSymbol_; }
    const List<SymbolItem*>& variables() const { return variables_; }
    const List<SymbolItem*>& types() const { return types_; }
    // The environment that owns this scope (null once it let go of it).
    EvaluationEnvironment* environment() const { return environment_; }

protected:
    // For scopes whose container is fixed when they are made.
    void setContainer(ScopeItem* container) const { container_ = container; }
    // Registers with the current environment.
    void registerWithEnvironment();

    const LCC_Eval_Context_Info* context_;
    ScopeType type_;
    mutable ScopeItem* container_ = nullptr;
    SymbolItem* thisSymbol_ = nullptr;
    List<SymbolItem*> variables_;
    List<SymbolItem*> types_;
    mutable ByteString name_;
    mutable SymbolListMap* symbolLists_ = nullptr;
    std::uint16_t nestingLevel_ = 0;

private:
    friend class EvaluationEnvironment;
    EvaluationEnvironment* environment_ = nullptr;
};

// Whether a block entry marks an OpenMP block whose context holds an
// environment pointer ("#ENV"); when it does, the environment is added to the
// current evaluation environment.
bool isOpenMpBlock(SYMBOL_ENTRY& block, const LCC_Eval_Context_Info* context);

#endif
