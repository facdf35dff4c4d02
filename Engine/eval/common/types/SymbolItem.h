#ifndef NORVEXA_TYPES_SYMBOLITEM_H
#define NORVEXA_TYPES_SYMBOLITEM_H

#include <cstdint>

#include <plomkit/ByteString.h>

#include "HostRecords.h"
#include "services/DebuggeeLocation.h"
#include "types/TypeItem.h"

class ScopeItem;

// A name an expression can use: a variable, constant, function, type name,
// class member, COBOL condition name, a register named by the user or the
// imaginary unit. Symbols are made on demand by the scope asked for a name it
// does not hold yet, from the host's symbol entry or from a type; the scope
// keeps the symbol in its lists and deletes it with itself. The host entry is
// never owned nor written.
class SymbolItem {
public:
    // Where a member symbol lies in its object.
    struct MemberLayout {
        std::uint32_t size = 0;
        std::uint32_t reserved = 0;
        // The fixed byte offset, or (expressionLength > 0) the address of a
        // DWARF location expression.
        std::uint64_t offset = 0;
        std::uint32_t expressionLength = 0;
        std::uint16_t flags = 0;

        enum : std::uint16_t {
            staticMember = 1,
            fortranDescriptor = 0x8000
        };

        const UBYTE1* expression() const
        {
            return reinterpret_cast<const UBYTE1*>(static_cast<std::uintptr_t>(offset));
        }
    };

    // How far the symbol's address is known.
    enum AddressState : std::uint32_t {
        addressNotComputed = 0,
        addressCached = 1,
        addressRecomputed = 2, // computed on every request
        addressFileRecord = 3, // a COBOL file record, or a DWARF address in the frame search
    };

    // A symbol without entry or type; a null name gives "<unknown>".
    SymbolItem(const char* name, ScopeItem& scope);
    // A symbol of a type (a type name when isType); a null name takes the
    // type's display name, else "".
    SymbolItem(const TypeItem& type, ScopeItem& scope, const char* name, bool isType);
    // A member symbol from a member record (leaf 8, 7 or 2) of an aggregate;
    // InvalidOp RTRC_Other for any other record.
    SymbolItem(const TypeItem& type, ScopeItem& scope, const TypeItem& member);

    virtual const DebuggeeLocation& debuggeeAddress(int frame) const;
    virtual ~SymbolItem();

    SymbolItem(const SymbolItem&) = delete;
    SymbolItem& operator=(const SymbolItem&) = delete;

    // ------------------------------------------------------------------
    // Making symbols
    // ------------------------------------------------------------------

    // The symbol of a host entry, added to scope. Failures of the address
    // computations made on the way are swallowed; a cyclic chain of owner
    // entries raises InvalidOp RTRC_Other.
    static SymbolItem* makeVarSymbol(SYMBOL_ENTRY* entry, ScopeItem& scope);
    // The variable called name as seen from scope, or null.
    static SymbolItem* makeVarSymbol(const char* name, ScopeItem& scope);
    // The type called name as seen from scope, or null.
    static SymbolItem* makeTypeSymbol(const char* name, ScopeItem& scope);
    static SymbolItem* makeTypeSymbolInBlock(const char* name, ScopeItem& scope);
    // Hook before the host is searched; answers null.
    static SymbolItem* makeVarSymbolPre(const char* name, ScopeItem& scope);
    // The imaginary unit of the C languages in a file scope, or null.
    static SymbolItem* makeVarSymbolPost(const char* name, ScopeItem& scope);

    // ------------------------------------------------------------------
    // Queries
    // ------------------------------------------------------------------

    const char* name() const { return reinterpret_cast<const char*>(_name.data()); }
    const ByteString& nameString() const { return _name; }
    const TypeItem& dataType() const { return _dataType; }
    TypeItem& dataType() { return _dataType; }
    void setDataType(const TypeItem& type) { _dataType = type; }
    ScopeItem& scope() const { return *_scope; }
    SYMBOL_ENTRY* entry() const { return _entry; }
    // The storage code of the entry; -1 without entry.
    long storageCode() const { return _entry ? long(_entry->kind) : -1L; }
    // The COBOL level number the entry gives the data item, or for a member
    // without entry its member record; 0 without one.
    std::uint8_t levelNumber() const;
    SymbolItem* ownerSymbol() const { return _ownerSymbol; }
    void setOwnerSymbol(SymbolItem* owner) { _ownerSymbol = owner; }
    const TypeItem* memberType() const { return _memberType; }
    const MemberLayout& memberLayout() const { return _member; }
    MemberLayout& memberLayout() { return _member; }
    const DebuggeeLocation& location() const { return _location; }
    AddressState addressState() const { return _addressState; }

    std::uint8_t classChar() const { return _classChar; }
    bool isType() const { return _isType; }
    bool isCondition() const { return _isCondition; }
    bool isConstant() const { return _isConstant; }
    bool isUpcShared() const { return _isUpcShared; }
    bool isRegister() const { return _isRegister; }
    bool noStorage() const { return _noStorage; }
    bool isMember() const { return _isMember; }
    bool attributeA() const { return _attributeA; }
    bool attributeB() const { return _attributeB; }
    bool attributeC() const { return _attributeC; }
    bool attributeD() const { return _attributeD; }
    void setAttributeB(bool on) { _attributeB = on; }
    void setAttributeD(bool on) { _attributeD = on; }
    // Marks no host field carries yet: the variable was removed by the
    // optimizer, writes to it are guarded in playback, its address is read
    // from its location. False unless set.
    bool isOptimized() const { return _isOptimized; }
    void setOptimized(bool on) { _isOptimized = on; }
    bool isPlaybackGuarded() const { return _isPlaybackGuarded; }
    void setPlaybackGuarded(bool on) { _isPlaybackGuarded = on; }
    bool isAddressLoad() const { return _isAddressLoad; }
    void setAddressLoad(bool on) { _isAddressLoad = on; }

    // Raised by qualified lookups that end on this symbol while its type is
    // an array.
    std::uint32_t qualifiedArrayHits() const { return _qualifiedArrayHits; }
    void addQualifiedArrayHit() { ++_qualifiedArrayHits; }
    // Raised once for each array-typed qualifier a symbol list adds to it.
    std::uint32_t arrayQualifiers() const { return _arrayQualifiers; }
    void addArrayQualifier() { ++_arrayQualifiers; }

    // The procedure descriptor of a function symbol, or null.
    const void* descriptor() const;
    // The mangled name, or the symbol's own name when the entry has none.
    const char* mangledName() const;
    // 0 no function, 1 function, 2 member function by name, 3 member function.
    int functionType() const;
    // The return type of a function symbol (t_void when the function type
    // has none); InvalidOp RTRC_NotSupported or RTRC_InvalidSymbol for
    // symbols that are no functions.
    const TypeItem* functionReturnType() const;

    // The value of an integral constant (code 7).
    std::uint64_t constantValue() const;
    // The text of a string constant and its length.
    std::int16_t constantValue(char*& text) const;
    // A real constant (12 bytes of result); the size of the stored value.
    std::int16_t constantValue(long double& value) const;
    // A complex constant; the size of the stored value.
    std::int16_t constantValue(long double& re, long double& im) const;

    // Called after the type of a symbol was set late; nothing to do here.
    void updateDynamicDataType() {}

    // ------------------------------------------------------------------
    // Addresses (computed per storage code with the symbol-address rules)
    // ------------------------------------------------------------------

    const DebuggeeLocation& computeAddress(const LCC_Eval_Context_Info* context, int frame) const;
    DebuggeeAddress computeAutoAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry, int frame) const;
    DebuggeeAddress computeStaticAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry) const;
    DebuggeeAddress computeDWExprAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry, int frame) const;
    DebuggeeAddress computeCommonBlockAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry) const;
    const DebuggeeLocation& computeRegisterAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry) const;
    // The context of the frame selected for this symbol, or null.
    const LCC_Eval_Context_Info* setFrame(int frame) const;
    // Moves context to its containing context and answers that context's
    // kind; InvalidOp RTRC_Other when the host fails or answers no kind.
    static CONTEXT_SCOPE2 containingContext(const LCC_Eval_Context_Info*& context);
    std::int64_t getMemberOffset() const;

protected:
    // The scope's registration of the symbol, its type from the entry.
    void initialiseFromEntry(SYMBOL_ENTRY* entry);

    ByteString _name;
    std::uint8_t _classChar = 0;
    mutable DebuggeeLocation _location;
    // Mutable: an address computation takes the type from the entry when
    // the symbol was made without one.
    mutable TypeItem _dataType;
    TypeItem* _memberType = nullptr;
    MemberLayout _member;
    // Mutable: a symbol made from a type finds its entry on the first
    // request for its address.
    mutable SYMBOL_ENTRY* _entry = nullptr;
    ScopeItem* _scope;
    SymbolItem* _ownerSymbol = nullptr;
    std::uint32_t _qualifiedArrayHits = 0;
    std::uint32_t _arrayQualifiers = 0;
    bool _isType = false;
    bool _isCondition = false;
    bool _isConstant = false;
    bool _isUpcShared = false;
    bool _isRegister = false;
    bool _noStorage = false;
    bool _isMember = false;
    bool _attributeA = false;
    bool _attributeB = false;
    bool _attributeC = false;
    bool _attributeD = true;
    bool _isOptimized = false;
    bool _isPlaybackGuarded = false;
    bool _isAddressLoad = false;
    mutable AddressState _addressState = addressNotComputed;

private:
    void setName(const char* name);
};

#endif
