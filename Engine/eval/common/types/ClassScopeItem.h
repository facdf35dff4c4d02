#ifndef NORVEXA_TYPES_CLASSSCOPEITEM_H
#define NORVEXA_TYPES_CLASSSCOPEITEM_H

#include <cstdint>

#include <plomkit/List.h>

#include "types/ScopeItem.h"
#include "types/TypeItem.h"

// The scope of an aggregate type: a class scope (leaf 6 class, struct or
// union, leaf 53 COBOL group) whose members are member records, or a
// structure scope (leaf 31) whose members come as a list of names with
// offsets beside a list of types. Names looked up in it are the aggregate's
// members; the member records are read from the host once, when first
// needed.
class ClassScopeItem : public ScopeItem {
public:
    // The scope of an aggregate type (through references and arrays), found
    // again for a class seen before in this request; null for a type that is
    // no aggregate or has no entry. A null owner means the file scope.
    static ClassScopeItem* getClassScope(const TypeItem& type, ScopeItem* owner, bool allMembers);

    ClassScopeItem(const LCC_Eval_Context_Info* context, const TypeItem& type, ScopeItem& owner,
                   bool isClass, bool allMembers);
    ~ClassScopeItem() override;

    const char* name() const override;
    ScopeItem* container() const override;

    // The member variable called name as a symbol of this scope, or null.
    SymbolItem* makeVarSymbol(const char* name);
    // The nested type called name as a type symbol of this scope, or null.
    SymbolItem* makeTypeSymbol(const char* name);

    // Reads the member records once.
    void buildClassMembers();
    // The data member record called name (class scopes only); empty when none.
    TypeItem findClassMemberVar(const char* name) const;
    // The nested type called name (class scopes only); empty when none.
    TypeItem findClassMemberType(const char* name) const;
    // The member type and offset of a structure member; empty when none.
    TypeItem findStructMember(const char* name, std::int64_t& offset) const;
    SymbolItem* makeClassVarSymbol(const TypeItem& member);
    SymbolItem* makeClassVarSymbol(const TypeItem& member, const TypeItem& memberType);

    const TypeItem& classType() const { return classType_; }
    ScopeItem& owner() const { return owner_; }
    bool allMembers() const { return allMembers_ != 0; }

private:
    ScopeItem& owner_;
    TypeItem classType_;
    List<TypeItem*> dataMembers_;
    List<TypeItem*> bases_;
    List<TypeItem*> nestedTypes_;
    bool built_ = false;
    std::uint8_t allMembers_;
};

#endif
