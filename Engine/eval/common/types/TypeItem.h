#ifndef NORVEXA_TYPES_TYPEITEM_H
#define NORVEXA_TYPES_TYPEITEM_H

#include <cstdint>
#include <string>

#include <plomkit/ByteString.h>
#include <plomkit/List.h>

#include "HostRecords.h"
#include "services/EvaluatorTypeIndex.h"
#include "types/TypeFlags.h"
#include "types/TypeKind.h"

class DebuggeeAddress;
class DebuggeeLocation;

// The evaluator's handle on one type: its index, the host entry fetched on
// demand, its attribute flags and a cached display name. Built from an index
// it is simplified: typedefs, tags, qualifiers and decorations are looked
// through so that the item stands for the underlying type while keeping the
// first meaningful name, and a pointer to a primitive is folded into the
// index itself. Two items are the same type when their simplified indices
// are equal.
//
// Items are used by the thread of the current evaluation environment only.
class TypeItem {
public:
    // The data of a type whose shape is bound at run time (a bound type);
    // defined with the bound types.
    class BoundTypeData;

    // The return and parameter types of a function type; owned by the item
    // and made on first request.
    struct FunctionInfoBlock_t {
        const TypeItem* returnType = nullptr;
        std::uint32_t parameterCount = 0;
        const TypeItem** parameters = nullptr; // owned array
        std::uint8_t flags = 0;                // 1 ends in an ellipsis, 2 built-in procedure

        enum : std::uint8_t {
            endsInEllipsis = 1,
            builtinProcedure = 2
        };

        FunctionInfoBlock_t() = default;
        FunctionInfoBlock_t(const FunctionInfoBlock_t&) = delete;
        FunctionInfoBlock_t& operator=(const FunctionInfoBlock_t& other);
        ~FunctionInfoBlock_t() { delete[] parameters; }
        // Appends a parameter type.
        void addType(const TypeItem* type);
    };

    // One array dimension: its lower bound, element count and element
    // length (or stride) in bytes, and what is known of its storage.
    struct Dimension {
        std::int64_t lower = 0;
        std::int64_t count = 0;
        std::uint64_t length = 1;
        bool allocated = true;
        bool associated = true;
        bool countUnknown = true;

        // The value a dimension starts from.
        void fresh() { *this = Dimension(); }
        // The value after a count that could not be had.
        void reset()
        {
            lower = 1;
            count = 0;
            length = 1;
            allocated = false;
            associated = false;
            countUnknown = true;
        }
    };

    // A member of a class or structure as visibleMembers lists it: the
    // host's name text, the offset in the object, the member's type.
    struct StructMember {
        const char* name;
        std::uint32_t offset;
        const TypeItem* type;
    };

    // ------------------------------------------------------------------
    // Construction
    // ------------------------------------------------------------------

    // The empty type {0, 0}.
    TypeItem();
    // The primitive {0, code}; not simplified.
    explicit TypeItem(unsigned int code);
    // A type of an index, simplified. An index of module word -2 takes its
    // entry from the static table at once.
    explicit TypeItem(const TYPE_INDEX& index);
    // A type of an index whose entry is known; simplified only when asked.
    TypeItem(const TYPE_INDEX& index, const _TYPE_ENTRY* entry, bool simplifyIt);
    // As the TYPE_INDEX form, without the static-table step.
    explicit TypeItem(const EvaluatorTypeIndex& index);
    // A copy (without the function information), simplified.
    TypeItem(const TypeItem& other);
    // A copy without bound data, function information and first qualifier,
    // whose created flag is the argument; simplified.
    TypeItem(const TypeItem& other, bool created);
    virtual ~TypeItem();

    // Selects the copy that is made as an assignment would make it.
    struct AsAssigned {};
    // The item assignment to an empty item would give, made in one step:
    // not simplified, without function information, array count, name
    // options or construction mark.
    TypeItem(const TypeItem& other, AsAssigned);

    TypeItem& operator=(const TypeItem& other);
    // Both indices from the argument, then simplified.
    TypeItem& operator=(const TYPE_INDEX& index);
    // Both indices from the argument, not simplified.
    TypeItem& operator=(const EvaluatorTypeIndex& index);

    // Forgets the name, index, function information, entry, bound data,
    // flags and the cached answers. The unsimplified index, the first
    // qualifier, the name options, the array count and the construction flag
    // stay.
    void resetAll();

    // ------------------------------------------------------------------
    // Index, entry, simplification
    // ------------------------------------------------------------------

    const EvaluatorTypeIndex& typeIndex() const { return index; }
    const TYPE_INDEX& unsimplifiedTypeIndex() const { return unsimplifiedIndex; }

    // The entry: the one held; for a created type what it holds; null for
    // module word 0; otherwise asked of the host services once and kept.
    const _TYPE_ENTRY* typeEntry() const
    {
        if (entry != nullptr || created || index.module() == 0)
            return entry;
        return lookUpEntry();
    }

    // Looks through typedefs, tags, decorations, shared qualifiers and
    // qualifiers, and folds a pointer to a primitive into the index. Returns
    // whether anything changed. Never throws: a failure inside leaves the
    // item without an entry.
    bool simplify()
    {
        if (index.module() == 0) {
            entry = nullptr;
            return false;
        }
        if (index.module() <= 255 || settled)
            return false;
        return lookThrough();
    }

    // Simplifies both operands (in place) and compares their indices.
    bool operator==(const TypeItem& other) const
    {
        if (this == &other)
            return true;
        const_cast<TypeItem*>(this)->simplify();
        const_cast<TypeItem&>(other).simplify();
        return index == other.index;
    }
    bool operator!=(const TypeItem& other) const { return !(*this == other); }
    // Equal, or the same type built apart: pointers, references and arrays
    // (of as many bytes) leading to the same type, integer and floating
    // types of one kind and size (bit fields only equal to themselves).
    // False for a type the model cannot classify.
    bool isSameType(const TypeItem& other) const;

    // ------------------------------------------------------------------
    // Kinds, flags, sizes
    // ------------------------------------------------------------------

    // The kind of the type; InvalidOp RTRC_Other for an unknown primitive or
    // leaf and for an integer entry of a size other than 1, 2, 4 or 8.
    TypeKind kind() const;
    // The shared created type of a simple kind (found or made in the current
    // environment); InvalidOp RTRC_Other for a kind that has none or that the
    // debugger does not support.
    static const TypeItem* simpleType(TypeKind kind);
    // The wide-character type of the program.
    static const TypeItem* wcharType();

    // The flags, computed on first use.
    const TypeFlags& typeFlags() const { return flags.set(*this); }
    bool hasFlag(TypeFlags::Flag f) const { return typeFlags().has(f); }

    // The byte size; 0 for what cannot be sized. The argument is not used.
    // At most ObjectSize::limit; a larger or overflowing size taken from
    // host records or debuggee memory raises ObjectSizeError.
    std::uint64_t typeSize(unsigned int unused = 0) const;
    // The byte size of a primitive code (pointer forms: the address size).
    static unsigned primitiveTypeSize(unsigned int code);
    // The bytes of a bit field's big-endian storage unit, its bit offset
    // counted from the unit's most significant bit: 4 when offset + width
    // <= 32, else 8.
    static unsigned bitFieldUnit(unsigned bitOffset, unsigned width) { return bitOffset + width <= 32 ? 4 : 8; }

    // For an enumeration the underlying integer type; else the type itself.
    TypeItem reduce() const;
    // The simple type of an enumeration's underlying integer kind;
    // InvalidOp RTRC_Other for anything else.
    const TypeItem* enumType() const;
    // The primitive code this type is equivalent to (223: none).
    unsigned equivalentPrimitiveType() const;

    // ------------------------------------------------------------------
    // Small queries
    // ------------------------------------------------------------------

    bool isWChar() const;
    bool isBaseClass() const;
    bool isNationalGroup() const;
    bool isCommonBlock() const;
    bool isCreated() const { return created; }
    bool isConstructed() const { return constructed; }
    bool isCobolBool() const { return cobolBool; }
    // The COBOL-boolean mark of a one-byte logical value (copies keep it).
    void setCobolBool(bool on) { cobolBool = on; }
    bool symbolFlagSet() const { return symbolFlag; }
    void setSymbolFlag(bool on) { symbolFlag = on; }
    std::uint8_t stringKindBits() const { return stringKinds; }
    // The mark of a created string type made for a hexadecimal literal
    // (X'..', NX'..'): its second string-kind flag. Such a literal holds
    // bytes as written, so it meets national text byte for byte.
    bool isHexadecimalLiteral() const { return (stringKinds & 2) != 0; }
    void setArrayCount(int count) { arrayCount = static_cast<std::uint32_t>(count); }
    std::uint32_t getArrayCount() const { return arrayCount; }
    const _TYPE_ENTRY* firstQualifierEntry() const { return firstQualifier; }

    // A class or group laid out as a union (its members overlap at 0).
    bool isUnion() const;
    // The UPC block factor (low 32 bits) of a shared type; InvalidOp
    // RTRC_IncompatTypes "Type not shared" otherwise.
    unsigned sharedBlockElements() const;
    // The byte size of one element of a shared type (of the innermost
    // element for a shared array); InvalidOp RTRC_IncompatTypes otherwise.
    std::uint64_t sharedElementSize() const;
    // Both shared with equal block factors and element sizes.
    bool sameBlockFactor(const TypeItem& other) const;

    // ------------------------------------------------------------------
    // Navigation: pointers, references, arrays, descriptors, sharing
    // ------------------------------------------------------------------

    // The type a pointer points to (a Fortran pointer: its target, through
    // the bound types when the pointer is bound); InvalidOp RTRC_Other for a
    // type that is no pointer.
    const TypeItem& pointee() const;
    // The type a reference, a Fortran allocatable or a Fortran pointer refers
    // to; InvalidOp RTRC_FIXME for any other type.
    const TypeItem& referent() const;
    // The target of a pointer or the element of an array; InvalidOp
    // RTRC_Other for anything else. The argument is not used.
    const TypeItem& dereference(unsigned int unused = 0) const;
    // Moves a location of a Fortran descriptor (allocatable, descriptor
    // array, pointer) to the data the descriptor locates. False, with the
    // location unchanged, for other types and when that fails.
    bool dereference(DebuggeeLocation& location) const;
    // The address of the data: for a bound Fortran pointer or descriptor
    // array what its data location computes from the symbol's address, for
    // a C pointer or reference the address stored at the location; else an
    // invalid address.
    DebuggeeAddress getDataAddress(const DebuggeeLocation& location) const;
    // Whether a Fortran pointer is associated and a Fortran object allocated
    // (true for every type without such a test).
    bool isAssociated() const;
    bool isAllocated() const;
    // The number of dimensions, references and Fortran pointers followed.
    unsigned rankOf() const;
    // The number of dimensions of an array type itself (nested C arrays
    // counted).
    unsigned getRank() const;
    // The array type left after removing n dimensions.
    const TypeItem& rankType(unsigned int n) const;
    // Fills dimension n; answers 1 when a COBOL count was read, else 0.
    int getDimension(unsigned int n, Dimension& dimension) const;
    // Fills the type's own dimension.
    int getDimension(Dimension& dimension) const;
    // Sets the UPC block factor of a shared type; InvalidOp
    // RTRC_IncompatTypes "Type not shared" otherwise.
    void setBlockSize(unsigned int blockElements);

    // ------------------------------------------------------------------
    // Classes, functions, result trees
    // ------------------------------------------------------------------

    bool isClassOrStruct() const;
    bool isEmptyClassOrStruct() const;
    // The data members of a class or structure in order, those of its base
    // classes in place of each base (at the base's offset); with named set
    // only members that have a name.
    List<StructMember> visibleMembers(int named) const;
    // The return and parameter types of a function type, made once and
    // kept; null for other types.
    FunctionInfoBlock_t* functionInfoBlock() const;
    // Whether a result tree node of this type may change shape between two
    // displays (computed once).
    bool assumeTreeNodeChanges() const;

    // ------------------------------------------------------------------
    // Names
    // ------------------------------------------------------------------

    // The display name (of the bound actual type, when bound). Flags 0 stand
    // for the type's rank; the name cached for the same flags is answered
    // unless force is set.
    const char* demangledTypeName(unsigned int nameOptions = 0, bool force = false) const;
    // Builds (or answers the cached) display name for the flags.
    const char* demangledTypeNameInt(unsigned int nameOptions) const;
    // Forgets the display name and answers the text it had (null when none
    // was valid); the text stays readable until the name is built again.
    const char* demangledTypeNameReset();
    // The display name without its keyword prefix ("node" of struct node).
    const char* shortTypeName() const;
    // The one-line trace text of the type. Valid until the next call on the
    // same thread.
    const char* format() const;
    // The name of a primitive code, made when no valid name is held.
    const char* primitiveTypeName(unsigned int code) const;
    // Appends the rendering used in template argument lists.
    ByteString& primitiveName(ByteString& out) const;
    // name, unless it is null, empty or starts with "__"; then fallback.
    const char* makeName(const char* text, const char* fallback) const;
    // Case-blind comparison.
    static int strcmp_i(const char* first, const char* second);

    // The cached display name and whether it is usable.
    const ByteString& cachedName() const { return name; }
    bool hasValidName() const { return nameValid; }
    std::uint16_t namePrefixLength() const { return prefixLength; }

    // Bound types: whether the run-time shape changed, and the location of
    // the symbol whose type this is.
    bool hasTypeStructureChanged() const;
    void setSymbolLocation(const DebuggeeLocation& location) const;
    DebuggeeLocation getSymbolLocation() const;
    BoundTypeData* boundTypeData() const { return boundData; }

    // Whether the class of the entry this type holds now was found to list
    // no base classes (markNoBaseClasses, after a walk of its field list
    // found none): the pointer conversions within a class hierarchy then
    // skip the walk. The mark belongs to the entry it was made for and
    // means nothing once the type holds another.
    bool listsNoBaseClasses() const { return entry != nullptr && noBasesEntry == entry; }
    void markNoBaseClasses() const { noBasesEntry = boundData == nullptr ? entry : nullptr; }

protected:
    // Finds or makes the created type of an index and takes its flags,
    // index, entry and (when this item has none) its name.
    // Returns false when there is no such type (nothing changes then).
    bool subsume(const TYPE_INDEX& index);
    // Appends the UPC shared suffix for a block factor to the name.
    void appendSharedSuffix(unsigned blockElements);
    void setNameText(const char* text);
    void copyFrom(const TypeItem& other);

    // The display-name renderers (names of their own kind of type).
    void addTypeAttribute(const ByteString& text) const;
    // The dimensions of an array, as its display name shows them.
    std::string arrayDimensionsText(const _TYPE_ENTRY& e) const;
    const char* structureTypeName() const;
    const char* referenceTypeName(int unused) const;
    const char* pointerTypeName() const;
    const char* fortranTypeName() const;
    const char* cppTypeName() const;
    const char* arrayTypeName() const;
    void setDisplayName(const std::string& text, std::uint16_t prefix) const;
    // The symbol address the bound data holds, when it is a valid debuggee
    // address.
    bool boundObjectAddress(std::uint64_t& address) const;
    // Whether the descriptor's association (or allocation) state is set; a
    // type without such a state always counts as set.
    bool descriptorStateHolds(bool association) const;
    int descriptorDimension(unsigned n, Dimension& d, const std::uint64_t* object) const;
    // The byte size an entry records or computes, before the range check.
    std::uint64_t recordSize(const _TYPE_ENTRY& entry) const;

    // typeEntry and simplify beyond their quick answers.
    const _TYPE_ENTRY* lookUpEntry() const;
    bool lookThrough();

    mutable TypeFlags flags;
    mutable ByteString name;
    EvaluatorTypeIndex index;
    TYPE_INDEX unsimplifiedIndex;
    BoundTypeData* boundData;
    mutable FunctionInfoBlock_t* functionInfo;
    mutable const _TYPE_ENTRY* entry;
    const _TYPE_ENTRY* firstQualifier;
    mutable std::uint32_t nameFlags;
    std::uint32_t arrayCount;
    mutable std::uint16_t prefixLength;
    mutable bool nameValid;
    mutable bool treeChanges;
    mutable bool treeChangesKnown;
    bool created;
    bool constructed;
    std::uint8_t stringKinds;
    bool symbolFlag;
    bool cobolBool;
    // Set by simplify when the index reached a type nothing more is looked
    // through; a further simplify then has nothing to do. Whatever replaces
    // the index or the entry clears it.
    bool settled = false;
    // The entry markNoBaseClasses was last made for.
    mutable const _TYPE_ENTRY* noBasesEntry = nullptr;

    friend class TypeFlags;
    friend class CreatedTypeItem;
};

// The type index of a host symbol entry, by its storage code; the empty
// index {0, 0} for codes that carry none. The one rule is symbolEntryType's
// (HostRecordAccess.h), which also reads the type of entry functions (code 8)
// and the type a type name denotes (code 12).
TYPE_INDEX typeOfSymbol(const _SYMBOL_ENTRY& symbol);

#endif
