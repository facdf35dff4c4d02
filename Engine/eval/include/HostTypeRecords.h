#ifndef NORVEXA_HOST_TYPE_RECORDS_H
#define NORVEXA_HOST_TYPE_RECORDS_H

// Type records the host hands the evaluator: DWARF location forms, list
// nodes, one record per type leaf (the data-item leaves included) and the
// type entry that holds them.

// Byte-packed, host byte order, native-width pointers; the byte offsets in
// the comments are those of a 32-bit build (see HostRecords.h for the layout
// rules). Read the fields through HostRecordAccess.h.

#include <cstddef>
#include <cstdint>

#include "HostServices.h"

#pragma pack(push, 1)

// ---------------------------------------------------------------------------
// Leaf codes of type entries (first 32-bit word of every type record).
enum TE_Leaf : UBYTE4 {
    TE_NONE = 0,
    TE_ARRAY = 1,
    TE_BASECLASS = 2,
    TE_INTEGER = 4,
    TE_CHARSTRING = 5,
    TE_CLASS = 6,
    TE_NAMEDTAG = 7,
    TE_MEMBER = 8,
    TE_FUNCTION = 10,
    TE_ENUM = 11,
    TE_METHOD = 15,
    TE_LIST = 18,
    TE_MEMBERFUNCTION = 21,
    TE_ACCEPTED22 = 22,
    TE_ACCEPTED24 = 24,
    TE_POINTER = 25,
    TE_PROCEDURE = 26,
    TE_REFERENCE = 27,
    TE_STRUCT = 31,
    TE_TYPEDEF = 35,
    TE_PROC_DESCRIPTOR = 37,
    TE_PACKED_DECIMAL = 50,
    TE_TYPEDEF2 = 51,
    TE_ENUM2 = 52,
    TE_GROUP = 53,
    TE_DECORATION = 56,
    TE_F90_ALLOCATABLE = 60,
    TE_UPC_SHARED = 61,
    TE_VUM_ARRAY = 63,
    TE_NAMESPACE64 = 64,
    TE_NAMESPACE65 = 65,
    TE_NAMESPACE66 = 66,
    TE_FIXED_POINT_BINARY = 68,
    TE_ZONED_DECIMAL = 69,
    TE_BASED = 70,
    TE_F90_DESC_ARRAY = 71,
    TE_F90_POINTER = 72,
    TE_NATIONAL_DECIMAL = 73,
    TE_NATIONAL_STRING = 74,
    TE_INDEX_NAME = 75,
    TE_INDEX_DATA_ITEM = 76,
    TE_EXTERNAL_FLOAT = 77,
    TE_ALPHA_NUMERIC_EDITED = 78,
    TE_NUMERIC_EDITED = 79,
    TE_NATIONAL_EXTERNAL_FLOAT = 80,
    TE_NATIONAL_EDITED = 81,
    TE_NATIONAL_NUMERIC_EDITED = 82,
    TE_COBOL_TABLE = 83,
    TE_FILE_DESCRIPTOR = 85,
    TE_DBCS_STRING = 86,
    TE_DBCS_EDITED = 87,
    TE_QUALIFIER = 88,
    TE_BUILTIN_PROCEDURE = 16384,
    // Also the leaf of a COBOL condition-variable record (TNcobolCondVar).
    TE_CONDITION = 16385,
};

// List kinds of a leaf-18 list record.
enum TE_ListKind : UBYTE4 {
    TE_LIST_NAMES = 1,       // TNnameListNode: names with offsets (leaf 31)
    TE_LIST_ENUMERATORS = 2, // TNenumeratorNode
    TE_LIST_TYPES = 3,       // TNtypeListNode: members, bases, parameters
};

// A DWARF expression block as the host stores it (also the `DwarfLocString`
// form): a 16-bit byte length, one further byte, then the expression bytes.
// Use dwarfBlockBytes / dwarfBlockLength to read one.
struct DwarfLocString {
    UBYTE2 length;   // 0
    UBYTE1 reserved; // 2
    UBYTE1 first;    // 3: first expression byte; the rest follow
};
typedef DwarfLocString DwarfBlock;

// A DWARF location given as pointer and length.
struct DwarfLocation {
    const UBYTE1* bytes; // 0
    UBYTE4 length;       // 4
};

// ---------------------------------------------------------------------------
// List nodes.

// Node of a kind-3 list: member, base class and parameter types. The host's
// COBOL member lists may carry the member's type entry directly.
struct TNtypeListNode {
    TYPE_INDEX type;               // 0
    const TNtypeListNode* next;    // 8
    const _TYPE_ENTRY* cobolEntry; // 12
};

// Node of a kind-1 list: member names and offsets of a leaf-31 aggregate.
struct TNnameListNode {
    const char* name;           // 0
    UBYTE4 offset;              // 4: sign-extended unless isUnsigned
    UBYTE4 isUnsigned;          // 8
    const TNnameListNode* next; // 12
};

// Node of a kind-2 list: enumerators.
struct TNenumeratorNode {
    const char* name;             // 0
    UBYTE4 value;                 // 4
    UBYTE4 reserved8;             // 8
    const TNenumeratorNode* next; // 12
    UBYTE4 reserved16;            // 16
    UBYTE4 valueHigh;             // 20: high 32 bits of the value
};

// ---------------------------------------------------------------------------
// Type records, one per leaf (or family of leaves with the same layout).

// Leaf 1: C-style array. Also the 40-byte record of a created array type.
struct TNarray {
    UBYTE4 leaf;         // 0
    UBYTE1 reserved4[4]; // 4
    UBYTE4 flags;        // 8: 8 = size is dynamic
    union {
        UBYTE4 byteSize;              // 12: static size
        const UBYTE1* sizeExpression; // 12: dynamic size (DWARF expression)
    } size;
    UBYTE4 sizeExpressionLength; // 16
    UBYTE1 reserved20[8];        // 20
    TYPE_INDEX elementType;      // 28
    const char* name;            // 36
};
enum {
    TNarray_DynamicSize = 8
};

// Leaf 2: base class within a field list.
struct TNbaseclass {
    UBYTE4 leaf;         // 0
    UBYTE1 reserved4[4]; // 4
    UBYTE4 flags;        // 8: 4 = the location is an expression
    UBYTE4 attributes;   // 12: carried into a Fortran parent member
    TYPE_INDEX baseType; // 16
    union {
        UBYTE4 offset;            // 24
        const UBYTE1* expression; // 24 (flags & 4)
    } location;
    UBYTE4 expressionLength; // 28
};
enum {
    TNbaseclass_Virtual = 1,
    TNbaseclass_LocationIsExpression = 4
};

// Leaf 4: integer or bit field.
struct TNinteger {
    UBYTE4 leaf;          // 0
    UBYTE1 reserved4[4];  // 4
    UBYTE4 flags;         // 8: 8 unsigned, 2 signed
    UBYTE1 bitOffset;     // 12
    UBYTE1 reserved13[3]; // 13
    UBYTE4 bitLength;     // 16
};
enum {
    TNinteger_Unsigned = 8,
    TNinteger_Signed = 2
};

// Leaf 6 (class, struct, union) and leaf 53 (COBOL group). Also the 52-byte
// record of a created class type.
//
// Readers of this record disagree on its names: member lookup reads the
// class's name at 32 and the enclosing class's index at 40, while type naming
// reads two name texts at 36 and 44, which would overlap that index. The one
// layout kept here serves every reader:
// `name` at 32, `name2` at 36 (readers that expect the pair at 36/44 read
// `name` for the first and `name2` for the second), the enclosing class at 40
// and the COBOL member list at 48: 52 bytes, as the created class copies.
struct TNclass {
    UBYTE4 leaf;         // 0
    UBYTE1 reserved4[4]; // 4
    UBYTE4 flags;        // 8: see TNclass_* below
    union {
        UBYTE4 byteSize;              // 12
        const UBYTE1* sizeExpression; // 12 (flags & 128)
    } size;
    UBYTE4 sizeExpressionLength;     // 16
    UBYTE2 memberCount;              // 20
    TYPE_INDEX fieldList;            // 22: leaf-18 list of kind 3
    UBYTE1 reserved30[2];            // 30
    const char* name;                // 32
    const char* name2;               // 36
    TYPE_INDEX enclosingClass;       // 40 (flags & 4)
    const _TYPE_ENTRY* cobolMembers; // 48: COBOL: the member list record itself
};
enum {
    TNclass_Struct = 1, // declared `struct` (else `class`)
    TNclass_Nested = 4, // nested in another class (see enclosingClass)
    TNclass_NationalGroup = 8,
    TNclass_VirtualBaseTable = 32, // virtual bases are found through the object's table
    TNclass_DynamicSize = 128,
};

// Leaf 7: a type name on another type.
struct TNnamedtag {
    UBYTE4 leaf;          // 0
    UBYTE1 reserved4[8];  // 4
    TYPE_INDEX namedType; // 12
    UBYTE1 reserved20[8]; // 20
    const char* name;     // 28
};

// Leaf 8: data member within a field list. Also the 44-byte created member.
struct TNclassmember {
    UBYTE4 leaf;           // 0
    UBYTE1 reserved4[4];   // 4
    UBYTE4 flags;          // 8: 1 static, 128 location expression
    UBYTE4 attributes;     // 12
    TYPE_INDEX memberType; // 16
    union {
        UBYTE4 offset;            // 24: byte offset in the object
        const UBYTE1* expression; // 24 (flags & 128): DWARF location
        const char* storageName;  // 24 (flags & 1): name of the storage
    } location;
    UBYTE4 expressionLength; // 28
    const char* name;        // 32
    const char* name2;       // 36
    UBYTE1 classChar;        // 40
    UBYTE1 levelNumber;      // 41: COBOL level of a group member (0: none)
    UBYTE1 reserved42[2];    // 42
};
enum {
    TNclassmember_Static = 1,
    TNclassmember_VirtualTablePointer = 2, // the object's virtual-table pointer
    TNclassmember_VirtualBasePointer = 4,  // a pointer to (or table slot of) a virtual base
    TNclassmember_LocationIsExpression = 128,
};

// Leaves 10, 15, 26 (function and procedure types) and 16384 (built-in
// procedure, the 36-byte record of a created built-in type).
//
// The host format puts leaf 15's class type at 20, inside the return type at
// 16. Every leaf keeps its return type at 16 here, and leaf 15's class type
// follows the name pointer (36 in a 32-bit build).
struct TNfunction {
    UBYTE4 leaf;              // 0
    UBYTE1 reserved4[4];      // 4
    UBYTE4 flags;             // 8: leaf 16384: 32, plus 16 with arguments
    UBYTE2 count1;            // 12
    UBYTE2 count2;            // 14
    TYPE_INDEX returnType;    // 16
    TYPE_INDEX parameterList; // 24: leaf-18 list of kind 3 (26, 16384)
    const char* name;         // 32 (16384)
    TYPE_INDEX classType;     // 36 (15)
};

// Leaves 11 and 52: enumerations.
struct TNenum {
    UBYTE4 leaf;               // 0
    UBYTE1 reserved4[2];       // 4
    TYPE_INDEX underlyingType; // 6
    UBYTE1 reserved14[2];      // 14
    const char* name;          // 16
    TYPE_INDEX enumeratorList; // 20: leaf-18 list of kind 2
};

// Leaf 18: list. Also the record of a created list type.
struct TNlist {
    UBYTE4 leaf;         // 0
    UBYTE1 reserved4[4]; // 4
    UBYTE4 kind;         // 8: TE_ListKind (3 also a Fortran common block)
    union {
        const void* any;
        const TNtypeListNode* types;
        const TNnameListNode* names;
        const TNenumeratorNode* enumerators;
    } first; // 12
};

// Leaf 21: member function.
struct TNmemberfunction {
    UBYTE4 leaf;             // 0
    UBYTE1 reserved4[4];     // 4
    UBYTE4 flags;            // 8: bit 0 of its first byte
    UBYTE1 reserved12[8];    // 12
    TYPE_INDEX functionType; // 20
    UBYTE1 reserved28[8];    // 28
    const char* name;        // 36
};

// Leaf 25: pointer. Also the 32-byte created pointer.
struct TNpointer {
    UBYTE4 leaf;          // 0
    UBYTE1 reserved4[4];  // 4
    UBYTE4 flags;         // 8: 1 4-byte, 4 8-byte, 8 UPC pointer to shared
    TYPE_INDEX target;    // 12
    const char* name;     // 20
    UBYTE1 reserved24[8]; // 24
};
enum {
    TNpointer_Bytes4 = 1,
    TNpointer_Bytes8 = 4,
    TNpointer_ToShared = 8,
    TNpointer_CobolKind = 0x40
};

// Leaf 27: reference. Also the 20-byte created reference.
struct TNreference {
    UBYTE4 leaf;          // 0
    UBYTE1 reserved4[2];  // 4
    TYPE_INDEX referent;  // 6
    UBYTE1 reserved14[2]; // 14
    UBYTE4 flags;         // 16: 4 address-of reference; 1/2 address size 4/8
};
enum {
    TNreference_AddressOf = 4
};

// Leaf 31: aggregate of the host's second form.
struct TNstruct {
    UBYTE4 leaf;            // 0
    UBYTE1 reserved4[20];   // 4
    UBYTE4 byteSize;        // 24
    TYPE_INDEX memberTypes; // 28: list of kind 3
    TYPE_INDEX memberNames; // 36: list of kind 1, walked in step
};

// Leaf 37: the procedure descriptor of a function symbol: the structure
// type the program sees, then one element record per visible member of that
// structure, in member order. An element is a symbol entry of code 1, 8, 17,
// 33 or 36 (an address: a section and a 64-bit offset) or 7 (constant bytes
// of its type). The record is as long as its elements make it; read the
// elements through procDescriptorElement.
struct TNprocdescriptor {
    UBYTE4 leaf;                      // 0
    UBYTE1 reserved4[6];              // 4
    TYPE_INDEX structureType;         // 10
    UBYTE1 reserved18[2];             // 18
    const _SYMBOL_ENTRY* elements[1]; // 20: the first element; the others follow
};

// Leaves 35 and 51: typedef. Also the placeholder entry.
struct TNtypedef {
    UBYTE4 leaf;            // 0
    UBYTE1 reserved4[2];    // 4
    TYPE_INDEX aliasedType; // 6
    UBYTE1 reserved14[2];   // 14
    const char* name;       // 16
    UBYTE1 reserved20[4];   // 20
};

// Leaves 56 (decoration), 63 (array of the VUM language, element type) and
// 88 (qualifier with a remembered entry): one type index at 6.
struct TNmodifier {
    UBYTE4 leaf;          // 0
    UBYTE1 reserved4[2];  // 4
    TYPE_INDEX type;      // 6
    UBYTE1 reserved14[2]; // 14
};

struct TNcobolCondVar;

// Leaf 88 in full: the modifier form, then what the qualifier remembers.
//
// A COBOL data item that carries level-88 condition names has a leaf-88
// qualifier over its own type; the qualifier points to the item's condition
// record. Simplification looks through the qualifier to the item's type and
// remembers the first leaf-88 entry it met (TypeItem::firstQualifierEntry),
// so the item's type both describes its value and leads to its condition
// names. A null pointer: a plain qualifier without condition names.
struct TNqualifier {
    UBYTE4 leaf;                      // 0
    UBYTE1 reserved4[2];              // 4
    TYPE_INDEX type;                  // 6
    UBYTE1 reserved14[2];             // 14
    const TNcobolCondVar* conditions; // 16
};

// Leaf 60: Fortran descriptor-based (allocatable) object.
struct TNf90allocatable {
    UBYTE4 leaf;                    // 0
    UBYTE1 reserved4[2];            // 4
    TYPE_INDEX objectType;          // 6
    UBYTE1 reserved14[2];           // 14
    const DwarfBlock* dataLocation; // 16
    const DwarfBlock* allocation;   // 20
};

// Leaf 61: UPC shared qualifier. Also the 28-byte created shared type.
struct TNupcshared {
    UBYTE4 leaf;              // 0
    UBYTE1 reserved4;         // 4
    UBYTE1 blockFactorSource; // 5: 1 variable, 2 computed address, 0 constant
    TYPE_INDEX qualifiedType; // 6
    UBYTE1 reserved14[2];     // 14
    union {
        const char* variableName;        // 16 (source 1)
        const UBYTE1* addressExpression; // 16 (source 2)
    } source;
    union {
        UBYTE4 expressionLength; // 20 (source 2)
        UBYTE8 blockFactor;      // 20 (source 0)
    } factor;
};
enum {
    TNupcshared_FromVariable = 1,
    TNupcshared_FromAddress = 2
};

// Leaf 70: based variable.
struct TNbased {
    UBYTE4 leaf;             // 0
    UBYTE1 reserved4[12];    // 4
    const char* pointerName; // 16: the pointer variable holding the address
};

// Leaf 71: Fortran descriptor array (one dimension per entry).
struct TNf90descarray {
    UBYTE4 leaf;                    // 0
    UBYTE1 reserved4[2];            // 4
    TYPE_INDEX elementType;         // 6
    UBYTE1 reserved14[2];           // 14
    const DwarfBlock* dataLocation; // 16
    const DwarfBlock* allocation;   // 20
    const DwarfBlock* association;  // 24
    const DwarfBlock* lowerBound;   // 28
    const DwarfBlock* upperBound;   // 32
    const DwarfBlock* extent;       // 36
    const DwarfBlock* stride;       // 40
    UBYTE2 dimension;               // 44
    UBYTE2 rank;                    // 46
};

// Leaf 72: Fortran pointer.
struct TNf90pointer {
    UBYTE4 leaf;                       // 0
    UBYTE1 reserved4[2];               // 4
    TYPE_INDEX targetType;             // 6
    UBYTE1 reserved14[2];              // 14
    const DwarfBlock* dataLocation;    // 16
    const DwarfBlock* association;     // 20
    const DwarfBlock* allocation;      // 24
    const DwarfBlock* dynamicTypeName; // 28: where the name of the target's
                                       // dynamic type is found (null: none)
};

// Leaf 83: COBOL table (OCCURS).
struct TNcobolTable {
    UBYTE4 leaf;                  // 0
    UBYTE1 reserved4;             // 4
    UBYTE1 countWidth;            // 5: 0 the block yields the count, 1/2/3: 2/4/8 bytes
    TYPE_INDEX elementType;       // 6
    UBYTE1 reserved14[2];         // 14
    const DwarfBlock* countBlock; // 16 (OCCURS DEPENDING ON)
};

// ---------------------------------------------------------------------------
// COBOL condition names (level 88).

// One value of a condition: its type and its bytes in evaluator memory.
struct TNconditionValue {
    TYPE_INDEX type;   // 0
    const void* value; // 8
};

// A range of a condition.
struct TNconditionRange {
    TNconditionValue low;  // 0
    TNconditionValue high; // 12
};

// One condition name with its values and ranges (the condition-value table
// that a storage-code-16385 symbol entry points to).
struct TNconditionElement {
    const char* name;               // 0
    UBYTE2 valueCount;              // 4
    UBYTE2 rangeCount;              // 6
    const TNconditionValue* values; // 8
    const TNconditionRange* ranges; // 12
};

// The condition names of one data item.
struct TNcobolCondVar {
    UBYTE4 leaf;                          // 0: TE_CONDITION
    UBYTE1 reserved4[12];                 // 4
    UBYTE4 count;                         // 16
    const TNconditionElement* conditions; // 20
};

// ---------------------------------------------------------------------------
// Data-item type records. The evaluator also writes these itself for created
// types; bytes 4 and 5 (4 to 7 where no field is named) are never written by
// the evaluator's builders and are carried unchanged from a host record.

// Position of the sign in zoned and national decimal items.
enum TN_DecimalSign : UBYTE4 {
    TN_SignNone0 = 0,
    TN_SignNone = 1,
    TN_SignLeadingEmbedded = 2,
    TN_SignTrailingEmbedded = 3,
    TN_SignLeadingSeparate = 4,
    TN_SignTrailingSeparate = 5,
};

// Decimal records: bit 1 signed, bit 0 written by the picture-form builder.
enum {
    TN_DecimalSigned = 2,
    TN_DecimalPictureForm = 1
};
// Binary record: bit 3 signed.
enum {
    TN_BinarySigned = 8
};
// String records: bit 3 of flags, the length is a DWARF expression.
enum {
    TN_StringDynamicLength = 8
};

// Leaf 50.
struct TNpacked_decimal {
    UBYTE4 leaf;          // 0
    UBYTE1 reserved4[2];  // 4
    UBYTE1 precision;     // 6
    UBYTE1 decimalPlaces; // 7
    UBYTE4 flags;         // 8
    UBYTE1 byteLength;    // 12
    signed char scale;    // 13
    UBYTE1 reserved14[2]; // 14
    const char* picture;  // 16
};

// Leaf 69.
struct TNzoned_decimal {
    UBYTE4 leaf;             // 0
    UBYTE1 reserved4[2];     // 4
    UBYTE1 precision;        // 6
    UBYTE1 decimalPlaces;    // 7
    TN_DecimalSign signKind; // 8
    UBYTE4 flags;            // 12
    UBYTE1 byteLength;       // 16
    signed char scale;       // 17
    UBYTE1 reserved18[2];    // 18
    const char* picture;     // 20
};

// Leaf 73: the same layout as the zoned record.
struct TNnational_decimal {
    UBYTE4 leaf;             // 0
    UBYTE1 reserved4[2];     // 4
    UBYTE1 precision;        // 6
    UBYTE1 decimalPlaces;    // 7
    TN_DecimalSign signKind; // 8
    UBYTE4 flags;            // 12
    UBYTE1 byteLength;       // 16
    signed char scale;       // 17
    UBYTE1 reserved18[2];    // 18
    const char* picture;     // 20
};

// Leaf 68.
struct TNfixed_point_binary {
    UBYTE4 leaf;         // 0
    UBYTE1 reserved4[4]; // 4
    UBYTE4 flags;        // 8
    UBYTE1 byteLength;   // 12: 2, 4 or 8
    UBYTE1 precision;    // 13
    signed char scale;   // 14
    UBYTE1 reserved15;   // 15
    const char* picture; // 16
};

// Leaf 75.
struct TNindex_name {
    UBYTE4 leaf;          // 0
    UBYTE1 reserved4[2];  // 4
    UBYTE1 byteLength;    // 6
    UBYTE1 reserved7;     // 7
    UBYTE4 elementLength; // 8
};

// Leaf 76.
struct TNindex_data_item {
    UBYTE4 leaf;       // 0
    UBYTE2 unnamed;    // 4
    UBYTE1 byteLength; // 6
    UBYTE1 reserved7;  // 7
};

// The 16-byte edited and external floating-point records.
#define NORVEXA_TN_EDITED16(NAME)                                                                                      \
    struct NAME {                                                                                                      \
        UBYTE4 leaf;         /* 0 */                                                                                   \
        UBYTE1 reserved4[4]; /* 4 */                                                                                   \
        UBYTE4 length;       /* 8: storage length in bytes */                                                          \
        const char* picture; /* 12 */                                                                                  \
    }
NORVEXA_TN_EDITED16(TNexternal_float);          // leaf 77
NORVEXA_TN_EDITED16(TNalpha_numeric_edited);    // leaf 78
NORVEXA_TN_EDITED16(TNnational_external_float); // leaf 80
NORVEXA_TN_EDITED16(TNnational_edited);         // leaf 81
NORVEXA_TN_EDITED16(TNdbcs_edited);             // leaf 87
NORVEXA_TN_EDITED16(TNdbcs_string);             // leaf 86
#undef NORVEXA_TN_EDITED16

// The 20-byte numeric-edited records.
#define NORVEXA_TN_NUMERIC_EDITED(NAME)                                                                                \
    struct NAME {                                                                                                      \
        UBYTE4 leaf;          /* 0 */                                                                                  \
        UBYTE1 reserved4[4];  /* 4 */                                                                                  \
        UBYTE4 length;        /* 8 */                                                                                  \
        UBYTE1 precision;     /* 12 */                                                                                 \
        signed char scale;    /* 13 */                                                                                 \
        UBYTE1 reserved14[2]; /* 14 */                                                                                 \
        const char* picture;  /* 16 */                                                                                 \
    }
NORVEXA_TN_NUMERIC_EDITED(TNnumeric_edited);          // leaf 79
NORVEXA_TN_NUMERIC_EDITED(TNnational_numeric_edited); // leaf 82
#undef NORVEXA_TN_NUMERIC_EDITED

// Leaves 5 and 74.
#define NORVEXA_TN_STRING(NAME)                                                                                        \
    struct NAME {                                                                                                      \
        UBYTE4 leaf;         /* 0 */                                                                                   \
        UBYTE1 reserved4[4]; /* 4 */                                                                                   \
        union {                                                                                                        \
            UBYTE4 length;            /* 8: storage length */                                                          \
            const UBYTE1* expression; /* 8 (flags & 8): DWARF length */                                                \
        } size;                                                                                                        \
        UBYTE4 flags;            /* 12 */                                                                              \
        const char* picture;     /* 16 */                                                                              \
        UBYTE4 expressionLength; /* 20 */                                                                              \
    }
NORVEXA_TN_STRING(TNcharstring);      // leaf 5
NORVEXA_TN_STRING(TNnational_string); // leaf 74
#undef NORVEXA_TN_STRING

// Leaf 85: COBOL file description. The name is "SD" for a sort file.
struct TNfile_descriptor {
    UBYTE4 leaf;         // 0
    UBYTE1 reserved4[4]; // 4
    const char* name;    // 8
};

// ---------------------------------------------------------------------------
// A type entry: the record of its leaf. Read `leaf` first, then the member of
// that leaf (HostRecordAccess.h has the checked views).
struct _TYPE_ENTRY {
    union {
        UBYTE4 leaf;
        TNarray array;
        TNbaseclass baseclass;
        TNinteger integer;
        TNcharstring charstring;
        TNclass klass;
        TNnamedtag namedtag;
        TNclassmember member;
        TNfunction function;
        TNenum enumeration;
        TNlist list;
        TNmemberfunction memberfunction;
        TNpointer pointer;
        TNreference reference;
        TNstruct structure;
        TNtypedef typedef_;
        TNmodifier modifier;
        TNqualifier qualifier;
        TNf90allocatable f90allocatable;
        TNupcshared upcshared;
        TNbased based;
        TNf90descarray f90descarray;
        TNf90pointer f90pointer;
        TNcobolTable cobolTable;
        TNcobolCondVar condvar;
        TNpacked_decimal packed;
        TNzoned_decimal zoned;
        TNnational_decimal nationalDecimal;
        TNfixed_point_binary binary;
        TNindex_name indexName;
        TNindex_data_item indexDataItem;
        TNexternal_float externalFloat;
        TNalpha_numeric_edited alphaNumericEdited;
        TNnumeric_edited numericEdited;
        TNnational_external_float nationalExternalFloat;
        TNnational_edited nationalEdited;
        TNnational_numeric_edited nationalNumericEdited;
        TNnational_string nationalString;
        TNdbcs_string dbcsString;
        TNdbcs_edited dbcsEdited;
        TNfile_descriptor fileDescriptor;
        TNprocdescriptor procDescriptor;
    };
};

#pragma pack(pop)

#endif
