#ifndef NORVEXA_TYPES_CLASSSCOPEITEM_H
#define NORVEXA_TYPES_CLASSSCOPEITEM_H

#include <cstdint>

#include <plomkit/List.h>

#include "types/ClassDescriptor.h"
#include "types/ScopeItem.h"
#include "types/TypeItem.h"

class SymbolList;

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

    ClassScopeItem(const LCC_Eval_Context_Info* context, const TypeItem& type, ScopeItem& owner, bool isClass,
                   bool allMembers);
    ~ClassScopeItem() override;

    const char* name() const override;
    ScopeItem* container() const override;

    // The scope of a class seen before in this request under that index, or
    // null.
    static ClassScopeItem* findScopeByType(const TYPE_INDEX& index);
    // The class scope getClassScope would reuse for the type, or null.
    static ClassScopeItem* findScopeByType(const TypeItem& type, bool allMembers);

    // The member variable (or, in a class scope, the enumerator) called name
    // as a symbol of this scope, or null.
    SymbolItem* makeVarSymbol(const char* name);
    // The enumerator called name of a nested enumeration, as a constant
    // symbol of this scope; null when none.
    SymbolItem* makeEnumConstant(const char* name);
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
    // The byte offset of the index-th member of a structure scope;
    // InvalidOp RTRC_Other past the end or in a class scope.
    std::uint64_t offset(unsigned index) const;
    // The member symbol of a data member record (its type from the record,
    // or memberType); null for an empty member or type, and for a member
    // that is not static while only static members are visible.
    SymbolItem* makeClassVarSymbol(const TypeItem& member);
    SymbolItem* makeClassVarSymbol(const TypeItem& member, const TypeItem& memberType);

    // The symbols of every data member (made on first use).
    const List<SymbolItem*>& variables();
    // The size, form and base classes of the aggregate, made once.
    const ClassDescriptor* classInfo() const;
    // The data member names of a class and of its bases (last to first).
    List<const char*> namespaceNames() const;
    // Adds the parent component of a Fortran extended type as a member
    // named after the parent type.
    void fortranAddBaseMember(TypeItem& base);
    // Nothing to add in this system.
    void addMembersToFlattenedSymbolList(SymbolList& list, const char* name);

    const TypeItem& classType() const { return classType_; }
    ScopeItem& owner() const { return owner_; }
    bool allMembers() const { return allMembers_ != 0; }

private:
    // buildClassMembers' reading of the host's member list.
    void readClassMembers();
    // Fills a class description; classInfo keeps it once complete.
    void fillClassInfo(const _TYPE_ENTRY& entry, ClassDescriptor& info) const;

    ScopeItem& owner_;
    mutable ClassDescriptor* infoBlock_ = nullptr;
    TypeItem classType_;
    List<TypeItem*> dataMembers_;
    List<TypeItem*> bases_;
    List<TypeItem*> nestedTypes_;
    bool built_ = false;
    bool building_ = false;
    std::uint8_t allMembers_;
};

#endif
