#ifndef NORVEXA_HOST_RECORD_ACCESS_H
#define NORVEXA_HOST_RECORD_ACCESS_H

// The one place where the evaluator reads host records. Every field that
// depends on a leaf or storage code, every field with two meanings and every
// value composed of several words is read here, so nothing else in the
// evaluator needs to know how a record is laid out.

#include "HostRecords.h"

#include <cstdint>

// ---------------------------------------------------------------------------
// Type indices.

inline constexpr bool typeIndexEqual(TYPE_INDEX a, TYPE_INDEX b)
{
    return a.module == b.module && a.index == b.index;
}

inline constexpr bool typeIndexEmpty(TYPE_INDEX t)
{
    return t.module == 0 && t.index == 0;
}

inline constexpr TYPE_INDEX emptyTypeIndex()
{
    return TYPE_INDEX{0, 0};
}

// ---------------------------------------------------------------------------
// DWARF blocks and locations.

// The expression bytes of a host DWARF block (they start at its fourth byte).
inline const UBYTE1* dwarfBlockBytes(const DwarfBlock* block)
{
    return block ? reinterpret_cast<const UBYTE1*>(block) + offsetof(DwarfLocString, first) : nullptr;
}

inline UBYTE4 dwarfBlockLength(const DwarfBlock* block)
{
    return block ? block->length : 0;
}

inline DwarfLocation dwarfBlockLocation(const DwarfBlock* block)
{
    return DwarfLocation{dwarfBlockBytes(block), dwarfBlockLength(block)};
}

// ---------------------------------------------------------------------------
// Type entries.

inline UBYTE4 typeEntryLeaf(const _TYPE_ENTRY& e)
{
    return e.leaf;
}

inline bool isClassLeaf(UBYTE4 leaf)
{
    return leaf == TE_CLASS || leaf == TE_GROUP;
}
inline bool isEnumLeaf(UBYTE4 leaf)
{
    return leaf == TE_ENUM || leaf == TE_ENUM2;
}
inline bool isTypedefLeaf(UBYTE4 leaf)
{
    return leaf == TE_TYPEDEF || leaf == TE_TYPEDEF2;
}
inline bool isFunctionLeaf(UBYTE4 leaf)
{
    return leaf == TE_FUNCTION || leaf == TE_METHOD || leaf == TE_PROCEDURE || leaf == TE_BUILTIN_PROCEDURE;
}

// The one type index that a wrapping leaf carries at its sixth byte: the
// underlying integer type of an enumeration, the referent, the aliased type,
// the decorated or qualified type, the element of the single-index arrays,
// the object or target of the Fortran descriptors. Empty for other leaves.
inline TYPE_INDEX typeEntryInnerType(const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_ENUM:
    case TE_ENUM2: return e.enumeration.underlyingType;
    case TE_REFERENCE: return e.reference.referent;
    case TE_TYPEDEF:
    case TE_TYPEDEF2: return e.typedef_.aliasedType;
    case TE_DECORATION:
    case TE_VUM_ARRAY:
    case TE_QUALIFIER: return e.modifier.type;
    case TE_F90_ALLOCATABLE: return e.f90allocatable.objectType;
    case TE_UPC_SHARED: return e.upcshared.qualifiedType;
    case TE_F90_DESC_ARRAY: return e.f90descarray.elementType;
    case TE_F90_POINTER: return e.f90pointer.targetType;
    case TE_COBOL_TABLE: return e.cobolTable.elementType;
    default: return emptyTypeIndex();
    }
}

// The element type of an array entry (leaves 1, 63, 71, 83); empty otherwise.
inline TYPE_INDEX typeEntryElementType(const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_ARRAY: return e.array.elementType;
    case TE_VUM_ARRAY: return e.modifier.type;
    case TE_F90_DESC_ARRAY: return e.f90descarray.elementType;
    case TE_COBOL_TABLE: return e.cobolTable.elementType;
    default: return emptyTypeIndex();
    }
}

// The name text of a named entry: classes and groups (their first name),
// enumerations, typedefs, named tags, member functions, members, arrays,
// pointers and built-in procedures. Null for other leaves or when unnamed.
inline const char* typeEntryName(const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_CLASS:
    case TE_GROUP: return e.klass.name;
    case TE_ENUM:
    case TE_ENUM2: return e.enumeration.name;
    case TE_TYPEDEF:
    case TE_TYPEDEF2: return e.typedef_.name;
    case TE_NAMEDTAG: return e.namedtag.name;
    case TE_MEMBERFUNCTION: return e.memberfunction.name;
    case TE_MEMBER: return e.member.name;
    case TE_ARRAY: return e.array.name;
    case TE_POINTER: return e.pointer.name;
    case TE_BUILTIN_PROCEDURE: return e.function.name;
    default: return nullptr;
    }
}

// The second name of a class or group record (null for other leaves).
inline const char* classEntrySecondName(const _TYPE_ENTRY& e)
{
    return isClassLeaf(e.leaf) ? e.klass.name2 : nullptr;
}

// Leaf 1: static size or size expression.
inline bool arraySizeIsDynamic(const TNarray& r)
{
    return (r.flags & TNarray_DynamicSize) != 0;
}
inline UBYTE4 arrayByteSize(const TNarray& r)
{
    return arraySizeIsDynamic(r) ? 0 : r.size.byteSize;
}
inline DwarfLocation arraySizeExpression(const TNarray& r)
{
    return arraySizeIsDynamic(r) ? DwarfLocation{r.size.sizeExpression, r.sizeExpressionLength}
                                 : DwarfLocation{nullptr, 0};
}

// Leaves 6 and 53: static size or size expression.
inline bool classSizeIsDynamic(const TNclass& r)
{
    return (r.flags & TNclass_DynamicSize) != 0;
}
inline UBYTE4 classByteSize(const TNclass& r)
{
    return classSizeIsDynamic(r) ? 0 : r.size.byteSize;
}
inline DwarfLocation classSizeExpression(const TNclass& r)
{
    return classSizeIsDynamic(r) ? DwarfLocation{r.size.sizeExpression, r.sizeExpressionLength}
                                 : DwarfLocation{nullptr, 0};
}

// Leaves 5 and 74: storage length or length expression.
template <class StringRecord>
inline bool stringLengthIsDynamic(const StringRecord& r)
{
    return (r.flags & TN_StringDynamicLength) != 0;
}
template <class StringRecord>
inline UBYTE4 stringLength(const StringRecord& r)
{
    return stringLengthIsDynamic(r) ? 0 : r.size.length;
}
template <class StringRecord>
inline DwarfLocation stringLengthExpression(const StringRecord& r)
{
    return stringLengthIsDynamic(r) ? DwarfLocation{r.size.expression, r.expressionLength} : DwarfLocation{nullptr, 0};
}

// Leaves 5 and 74: a right-justified item, and one that is no number.
enum {
    TN_StringJustified = 0x40,
    TN_StringNonNumeric = 0x20
};
template <class StringRecord>
inline bool stringIsJustified(const StringRecord& r)
{
    return (r.flags & TN_StringJustified) != 0;
}
template <class StringRecord>
inline bool stringIsNonNumeric(const StringRecord& r)
{
    return (r.flags & TN_StringNonNumeric) != 0;
}

// Leaf 8: the COBOL level of a group member (0: none given).
inline UBYTE1 memberLevelNumber(const TNclassmember& r)
{
    return r.levelNumber;
}
// Leaf 8: the member's place, by its flags.
inline bool memberIsStatic(const TNclassmember& r)
{
    return (r.flags & TNclassmember_Static) != 0;
}
inline bool memberLocationIsExpression(const TNclassmember& r)
{
    return (r.flags & TNclassmember_LocationIsExpression) != 0;
}
inline UBYTE4 memberOffset(const TNclassmember& r)
{
    return (memberLocationIsExpression(r) || memberIsStatic(r)) ? 0 : r.location.offset;
}
inline DwarfLocation memberLocationExpression(const TNclassmember& r)
{
    return memberLocationIsExpression(r) ? DwarfLocation{r.location.expression, r.expressionLength}
                                         : DwarfLocation{nullptr, 0};
}
// A static member's storage name (null unless the member is static and has
// no location expression).
inline const char* memberStorageName(const TNclassmember& r)
{
    return (memberIsStatic(r) && !memberLocationIsExpression(r)) ? r.location.storageName : nullptr;
}

// Leaf 2: the base's place.
inline bool baseLocationIsExpression(const TNbaseclass& r)
{
    return (r.flags & TNbaseclass_LocationIsExpression) != 0;
}
inline UBYTE4 baseOffset(const TNbaseclass& r)
{
    return baseLocationIsExpression(r) ? 0 : r.location.offset;
}
inline DwarfLocation baseLocationExpression(const TNbaseclass& r)
{
    return baseLocationIsExpression(r) ? DwarfLocation{r.location.expression, r.expressionLength}
                                       : DwarfLocation{nullptr, 0};
}

// Leaf 61: the block factor's source.
inline const char* upcBlockFactorVariable(const TNupcshared& r)
{
    return r.blockFactorSource == TNupcshared_FromVariable ? r.source.variableName : nullptr;
}
inline DwarfLocation upcBlockFactorExpression(const TNupcshared& r)
{
    return r.blockFactorSource == TNupcshared_FromAddress
               ? DwarfLocation{r.source.addressExpression, r.factor.expressionLength}
               : DwarfLocation{nullptr, 0};
}
inline UBYTE8 upcConstantBlockFactor(const TNupcshared& r)
{
    return (r.blockFactorSource == TNupcshared_FromVariable || r.blockFactorSource == TNupcshared_FromAddress)
               ? 0
               : r.factor.blockFactor;
}

// List nodes.
// An enumerator's 64-bit value: the low word, and the word at 20 as its high
// 32 bits (so wide and negative enumerators come out whole).
inline std::uint64_t enumeratorValue(const TNenumeratorNode& n)
{
    return std::uint64_t(n.value) | (std::uint64_t(n.valueHigh) << 32);
}
inline std::int64_t nameListOffset(const TNnameListNode& n)
{
    return n.isUnsigned ? std::int64_t(std::uint64_t(n.offset)) : std::int64_t(std::int32_t(n.offset));
}

// Leaf 88: the condition record of a COBOL data item (null when the entry is
// no qualifier or the qualifier carries none).
inline const TNcobolCondVar* qualifierConditionRecord(const _TYPE_ENTRY* e)
{
    return (e != nullptr && e->leaf == TE_QUALIFIER) ? e->qualifier.conditions : nullptr;
}

// ---------------------------------------------------------------------------
// Symbol entries.

inline UBYTE4 symbolEntryKind(const _SYMBOL_ENTRY& s)
{
    return s.kind;
}
inline UBYTE2 symbolEntryFlags(const _SYMBOL_ENTRY& s)
{
    return s.header.flags;
}
inline bool symbolEntryIncomplete(const _SYMBOL_ENTRY& s)
{
    return (s.header.flags & SE_Incomplete) != 0;
}
inline bool symbolEntryHoldsOpenMp(const _SYMBOL_ENTRY& s)
{
    return (s.header.flags & SE_OpenMpBlock) != 0;
}
inline const char* symbolEntryName(const _SYMBOL_ENTRY& s)
{
    return s.header.name;
}

// Whether an entry of this storage code carries a type index, and the index.
// Codes without one answer the empty index.
inline bool symbolEntryHasType(UBYTE4 kind)
{
    switch (kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION:
    case SE_STATIC:
    case SE_SECTION_DATA:
    case SE_THREAD_STATIC:
    case SE_AUTOMATIC:
    case SE_BUILTIN_PROCEDURE:
    case SE_MEMBER_FUNCTION:
    case SE_COMMON_MEMBER:
    case SE_REGISTER:
    case SE_CONSTANT:
    case SE_TYPED11:
    case SE_TYPE_NAME:
    case SE_TYPED24:
    case SE_DWARF_LOCATION:
    case SE_TYPED41:
    case SE_CONDITION_NAME: return true;
    default: return false;
    }
}

inline TYPE_INDEX symbolEntryType(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: return s.function.type;
    case SE_STATIC:
    case SE_SECTION_DATA: return s.statics.type;
    case SE_THREAD_STATIC: return s.threadstatic.type;
    case SE_AUTOMATIC: return s.automatic.type;
    case SE_BUILTIN_PROCEDURE: return s.builtin.type;
    case SE_MEMBER_FUNCTION: return s.memberfunction.type;
    case SE_COMMON_MEMBER: return s.commonmember.type;
    case SE_REGISTER:
    case SE_CONSTANT:
    case SE_TYPED11:
    case SE_TYPE_NAME:
    case SE_TYPED24:
    case SE_DWARF_LOCATION:
    case SE_TYPED41:
    case SE_CONDITION_NAME: return s.typed.type;
    default: return emptyTypeIndex();
    }
}

// The host section of a section-relative entry (codes 1, 3, 4, 8, 17, 36 and
// the common block's section of code 43); 0 for other codes.
inline UBYTE4 symbolEntrySection(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: return s.function.section;
    case SE_STATIC:
    case SE_SECTION_DATA: return s.statics.section;
    case SE_MEMBER_FUNCTION: return s.memberfunction.section;
    case SE_SECTION_DATA36: return s.sectiondata36.section;
    case SE_COMMON_MEMBER: return s.commonmember.section;
    default: return 0;
    }
}

// The unsigned 64-bit offset (from the section base, the thread-static base
// or the common block) of codes 1, 3, 4, 8, 17, 23, 36 and 43; 0 otherwise.
inline UBYTE8 symbolEntryOffset(const _SYMBOL_ENTRY& s)
{
    auto join = [](UBYTE4 high, UBYTE4 low) { return (UBYTE8(high) << 32) | low; };
    switch (s.kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: return join(s.function.offsetHigh, s.function.offsetLow);
    case SE_STATIC:
    case SE_SECTION_DATA: return join(s.statics.offsetHigh, s.statics.offsetLow);
    case SE_MEMBER_FUNCTION: return join(s.memberfunction.offsetHigh, s.memberfunction.offsetLow);
    case SE_THREAD_STATIC: return join(s.threadstatic.offsetHigh, s.threadstatic.offsetLow);
    case SE_SECTION_DATA36: return join(s.sectiondata36.offsetHigh, s.sectiondata36.offsetLow);
    case SE_COMMON_MEMBER: return join(s.commonmember.offsetHigh, s.commonmember.offsetLow);
    default: return 0;
    }
}

// Code 2: the signed frame offset: the low word, and the high word OR-ed
// with the sign extension of the low word.
inline std::int64_t automaticFrameOffset(const _SYMBOL_ENTRY& s)
{
    if (s.kind != SE_AUTOMATIC)
        return 0;
    BYTE4 low = s.automatic.frameOffsetLow;
    UBYTE4 high = s.automatic.frameOffsetHigh | (low < 0 ? 0xFFFFFFFFu : 0u);
    return std::int64_t((UBYTE8(high) << 32) | UBYTE4(low));
}

// Codes 2 and 40: the DWARF location expression; empty for other codes.
inline DwarfLocation symbolEntryLocation(const _SYMBOL_ENTRY& s)
{
    if (s.kind == SE_AUTOMATIC)
        return DwarfLocation{s.automatic.location, s.automatic.locationLength};
    if (s.kind == SE_DWARF_LOCATION)
        return DwarfLocation{s.typed.u.location, s.typed.locationLength};
    return DwarfLocation{nullptr, 0};
}

// The name under which the locals view shows an entry: the display name of
// codes 3, 4 and 23, the entry's name for every other code.
inline const char* symbolEntryDisplayName(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_STATIC:
    case SE_SECTION_DATA: return s.statics.displayName;
    case SE_THREAD_STATIC: return s.threadstatic.displayName;
    default: return s.header.name;
    }
}

// The mangled name of codes 1, 3, 4, 8, 17, 23 and 35; null otherwise.
inline const char* symbolEntryMangledName(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: return s.function.mangledName;
    case SE_STATIC:
    case SE_SECTION_DATA: return s.statics.mangledName;
    case SE_THREAD_STATIC: return s.threadstatic.mangledName;
    case SE_MEMBER_FUNCTION: return s.memberfunction.mangledName;
    case SE_NAMED35: return s.named35.mangledName;
    default: return nullptr;
    }
}

// The plain function name of codes 1 and 8, the function name of code 17.
inline const char* symbolEntryFunctionName(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: return s.function.plainName;
    case SE_MEMBER_FUNCTION: return s.memberfunction.functionName;
    default: return nullptr;
    }
}

// The procedure descriptor of codes 1, 8 and 17; null otherwise.
inline const void* symbolEntryDescriptor(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: return s.function.procedureDescriptor;
    case SE_MEMBER_FUNCTION: return s.memberfunction.procedureDescriptor;
    default: return nullptr;
    }
}

// The entry that owns this one's storage (codes 2 and 3); null otherwise.
inline const _SYMBOL_ENTRY* symbolEntryOwner(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_AUTOMATIC: return s.automatic.owner;
    case SE_STATIC: return s.statics.owner;
    default: return nullptr;
    }
}

// The COBOL level number of a data item's entry (codes 2, 3 and 10); 0 for
// other codes and for entries that give none.
inline UBYTE1 symbolEntryLevel(const _SYMBOL_ENTRY& s)
{
    switch (s.kind) {
    case SE_AUTOMATIC: return s.automatic.level;
    case SE_STATIC: return s.statics.level;
    case SE_QUALIFIED_NAME: return s.qualified.level;
    default: return 0;
    }
}

// The entry found for an SQL host-variable expression, read as an SQL host
// variable whatever its storage code.
inline UBYTE4 sqlVariableType(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.sqlType;
}
inline UBYTE4 sqlVariableLength(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.length;
}
inline UBYTE4 sqlVariableMaxLength(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.maxLength;
}
inline UBYTE4 sqlVariableAddressLow(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.addressLow;
}
inline UBYTE4 sqlVariableAddressHigh(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.addressHigh;
}
inline UBYTE4 sqlVariableAddressWidth(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.addressWidth;
}
inline UBYTE4 sqlVariableElementCount(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.elementCount;
}
inline UBYTE2 sqlVariableCcsid(const _SYMBOL_ENTRY& s)
{
    return s.sqlhostvariable.ccsid;
}

// Code 10: the qualifying parent entry.
inline const _SYMBOL_ENTRY* symbolEntryParent(const _SYMBOL_ENTRY& s)
{
    return s.kind == SE_QUALIFIED_NAME ? s.qualified.parent : nullptr;
}

// Code 6: the register's name.
inline const char* symbolEntryRegisterName(const _SYMBOL_ENTRY& s)
{
    return s.kind == SE_REGISTER ? s.typed.u.registerName : nullptr;
}

// Code 7: the constant's value (or a string constant's text).
inline const void* symbolEntryConstantValue(const _SYMBOL_ENTRY& s)
{
    return s.kind == SE_CONSTANT ? s.typed.u.value : nullptr;
}

// Code 16385: the condition's value table.
inline const TNconditionElement* symbolEntryCondition(const _SYMBOL_ENTRY& s)
{
    return s.kind == SE_CONDITION_NAME ? s.typed.u.condition : nullptr;
}

// Code 16384: the debugger buffer of a built-in procedure.
inline void* symbolEntryBuiltinBuffer(const _SYMBOL_ENTRY& s)
{
    return s.kind == SE_BUILTIN_PROCEDURE ? s.builtin.buffer : nullptr;
}

// The class character and attribute bytes of codes 2 and 3.
struct SymbolEntryAttributes {
    UBYTE1 classChar = 0;
    bool a = false, b = false, c = false, d = true;
};
inline SymbolEntryAttributes symbolEntryAttributes(const _SYMBOL_ENTRY& s)
{
    SymbolEntryAttributes r;
    if (s.kind == SE_AUTOMATIC) {
        r.classChar = s.automatic.classChar;
        r.a = s.automatic.attributeA != 0;
        r.b = true;
        r.d = s.automatic.attributeD != 0;
    } else if (s.kind == SE_STATIC) {
        r.classChar = s.statics.classChar;
        r.a = s.statics.attributeA != 0;
        r.b = s.statics.attribute44 == 0 && s.statics.attribute45 == 0;
        r.c = s.statics.attributeC != 0;
        r.d = s.statics.attributeD != 0;
    }
    return r;
}

// ---------------------------------------------------------------------------
// Class layout marks read by the base-class walks and the COBOL pointer kind.

inline bool baseIsVirtual(const TNbaseclass& r)
{
    return (r.flags & TNbaseclass_Virtual) != 0;
}
inline bool classHasVirtualBaseTable(const TNclass& r)
{
    return (r.flags & TNclass_VirtualBaseTable) != 0;
}
inline bool memberIsVirtualTablePointer(const TNclassmember& r)
{
    return (r.flags & TNclassmember_VirtualTablePointer) != 0;
}
inline bool memberIsVirtualBasePointer(const TNclassmember& r)
{
    return (r.flags & TNclassmember_VirtualBasePointer) != 0;
}
inline bool pointerIsCobolKind(const TNpointer& r)
{
    return (r.flags & TNpointer_CobolKind) != 0;
}

// ---------------------------------------------------------------------------
// Procedure descriptors (leaf 37).

inline bool isProcDescriptor(const void* record)
{
    return record != nullptr && static_cast<const _TYPE_ENTRY*>(record)->leaf == TE_PROC_DESCRIPTOR;
}

inline TYPE_INDEX procDescriptorStructureType(const _TYPE_ENTRY& e)
{
    return e.leaf == TE_PROC_DESCRIPTOR ? e.procDescriptor.structureType : emptyTypeIndex();
}

// The i-th element record (the record holds as many as its structure has
// visible members; the caller keeps i below that count).
inline const _SYMBOL_ENTRY* procDescriptorElement(const _TYPE_ENTRY& e, unsigned i)
{
    if (e.leaf != TE_PROC_DESCRIPTOR)
        return nullptr;
    const _SYMBOL_ENTRY* element = nullptr;
    const unsigned char* at = reinterpret_cast<const unsigned char*>(&e) + offsetof(TNprocdescriptor, elements) +
                              std::size_t(i) * sizeof element;
    __builtin_memcpy(&element, at, sizeof element);
    return element;
}

// The section and 64-bit offset of an address element (codes 1, 8, 17 and
// 36 as their own records say, 33 laid out as 36); 0 for other codes.
inline UBYTE4 procDescriptorElementSection(const _SYMBOL_ENTRY& s)
{
    return s.kind == SE_NAMED33 ? s.sectiondata36.section : symbolEntrySection(s);
}
inline UBYTE8 procDescriptorElementOffset(const _SYMBOL_ENTRY& s)
{
    if (s.kind == SE_NAMED33)
        return (UBYTE8(s.sectiondata36.offsetHigh) << 32) | s.sectiondata36.offsetLow;
    return symbolEntryOffset(s);
}

// ---------------------------------------------------------------------------
// Symbol lists, call-stack entries, file information.

// The i-th entry of a null-terminated symbol list (null at and past the end
// of the list is the caller's to respect: stop at the first null).
inline SYMBOL_ENTRY* symbolListEntry(const SYMBOL_LIST* list, unsigned i)
{
    return list ? list[i] : nullptr;
}

inline unsigned symbolListLength(const SYMBOL_LIST* list)
{
    unsigned n = 0;
    while (list && list[n])
        ++n;
    return n;
}

inline const LCC_Eval_Context_Info* callStackContext(const _CALLSTACK_ITEM2& item)
{
    return item.context;
}
inline EE_ADDR callStackBase(const _CALLSTACK_ITEM2& item)
{
    return item.stackBase;
}

// The host's mark at the start of a file-information buffer (EBCDIC text).
inline constexpr UBYTE1 kFileInformationMarker[8] = {0xC3, 0xC2, 0xD3, 0xC4, 0xC2, 0xC7, 0xC6, 0xC9};

#endif
