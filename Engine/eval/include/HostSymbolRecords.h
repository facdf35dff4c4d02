#ifndef NORVEXA_HOST_SYMBOL_RECORDS_H
#define NORVEXA_HOST_SYMBOL_RECORDS_H

// Symbol records the host hands the evaluator: one record per storage code
// and the symbol entry that holds them.

// Byte-packed, host byte order, native-width pointers; the byte offsets in
// the comments are those of a 32-bit build (see HostRecords.h for the layout
// rules). Read the fields through HostRecordAccess.h.

#include <cstdint>

#include "HostServices.h"
#include "HostTypeRecords.h"

#pragma pack(push, 1)

// ---------------------------------------------------------------------------
// Storage codes of symbol entries (first 32-bit word).
enum SE_StorageCode : UBYTE4 {
    SE_BLOCK = 0,
    SE_FUNCTION = 1,
    SE_AUTOMATIC = 2,
    SE_STATIC = 3,
    SE_SECTION_DATA = 4,
    SE_REGISTER = 6,
    SE_CONSTANT = 7,
    SE_ENTRY_FUNCTION = 8,
    SE_QUALIFIED_NAME = 10,
    SE_TYPED11 = 11,
    SE_TYPE_NAME = 12,
    SE_MEMBER_FUNCTION = 17,
    SE_THREAD_STATIC = 23,
    SE_TYPED24 = 24,
    SE_NAMED33 = 33,
    SE_NAMED35 = 35,
    SE_SECTION_DATA36 = 36,
    SE_DWARF_LOCATION = 40,
    SE_TYPED41 = 41,
    SE_COMMON_MEMBER = 43,
    // An SQL host variable. The code is this project's own: the evaluator
    // reads the entry found for an SQL host-variable expression as this
    // record whatever its code; the simulated host marks it with the kind of
    // the type entry validation makes from it.
    SE_SQL_HOST_VARIABLE = 89,
    SE_BUILTIN_PROCEDURE = 16384,
    SE_CONDITION_NAME = 16385,
};

// Flags word of every symbol entry.
enum {
    SE_Incomplete = 1,
    SE_OpenMpBlock = 64
};

// The head of every symbol entry.
struct SEheader {
    UBYTE4 kind;      // 0
    UBYTE2 flags;     // 4
    const char* name; // 6
};

// Codes 6, 7, 11, 12, 24, 40, 41, 16385: the type at 10.
struct SEtyped {
    UBYTE4 kind;          // 0
    UBYTE2 flags;         // 4
    const char* name;     // 6
    TYPE_INDEX type;      // 10
    UBYTE1 reserved18[2]; // 18
    union {
        const char* registerName;            // 20 (6)
        const void* value;                   // 20 (7): the value, or a string constant's text
        const UBYTE1* location;              // 20 (40): DWARF location expression
        const TNconditionElement* condition; // 20 (16385)
    } u;
    UBYTE4 locationLength; // 24 (40)
};

// Codes 1 and 8: functions.
struct SEfunction {
    UBYTE4 kind;                     // 0
    UBYTE2 flags;                    // 4
    const char* name;                // 6
    UBYTE1 reserved10[2];            // 10
    UBYTE4 section;                  // 12
    UBYTE4 offsetLow;                // 16
    TYPE_INDEX type;                 // 20
    UBYTE1 reserved28[16];           // 28
    const char* plainName;           // 44: a '(' marks a member function
    const char* mangledName;         // 48
    UBYTE4 offsetHigh;               // 52
    UBYTE1 reserved56[8];            // 56
    const void* procedureDescriptor; // 64
};

// Code 2: automatic variable.
//
// The host format gives this code both a frame offset (low word at 12, high
// word at 24, type at 16) and a DWARF location at 20/24, which overlap. The
// layout kept here holds both: the frame-offset fields where the format puts
// them, and the DWARF location after the owner entry (36 and 40 in a 32-bit
// build).
struct SEautomatic {
    UBYTE4 kind;                // 0
    UBYTE2 flags;               // 4
    const char* name;           // 6
    UBYTE1 reserved10[2];       // 10
    BYTE4 frameOffsetLow;       // 12
    TYPE_INDEX type;            // 16
    UBYTE4 frameOffsetHigh;     // 24: OR-ed with the sign of the low word
    UBYTE1 classChar;           // 28
    UBYTE1 attributeA;          // 29
    UBYTE1 attributeD;          // 30
    UBYTE1 level;               // 31: COBOL level number (0: none)
    const _SYMBOL_ENTRY* owner; // 32
    const UBYTE1* location;     // 36: DWARF location expression
    UBYTE4 locationLength;      // 40
};

// Codes 3 and 4: static and section-relative data (code 4 uses the fields up
// to offsetHigh).
struct SEstatic {
    UBYTE4 kind;                // 0
    UBYTE2 flags;               // 4
    const char* name;           // 6
    UBYTE1 reserved10[2];       // 10
    UBYTE4 section;             // 12
    UBYTE4 offsetLow;           // 16
    TYPE_INDEX type;            // 20
    const char* displayName;    // 28
    const char* mangledName;    // 32
    UBYTE4 offsetHigh;          // 36
    UBYTE1 level;               // 40: COBOL level number (0: none)
    UBYTE1 classChar;           // 41
    UBYTE1 attributeA;          // 42
    UBYTE1 attributeD;          // 43
    UBYTE1 attribute44;         // 44
    UBYTE1 attribute45;         // 45
    UBYTE1 attributeC;          // 46
    UBYTE1 reserved47;          // 47
    const _SYMBOL_ENTRY* owner; // 48
};

// Code 10: a name inside a group, with its parent.
struct SEqualified {
    UBYTE4 kind;                 // 0
    UBYTE2 flags;                // 4
    const char* name;            // 6
    UBYTE1 reserved10[2];        // 10
    const _SYMBOL_ENTRY* parent; // 12
    UBYTE1 level;                // 16: COBOL level number (0: none)
};

// Code 17: member function.
struct SEmemberfunction {
    UBYTE4 kind;                     // 0
    UBYTE2 flags;                    // 4
    const char* name;                // 6
    UBYTE1 reserved10[2];            // 10
    UBYTE4 section;                  // 12
    UBYTE4 offsetLow;                // 16
    TYPE_INDEX classType;            // 20: the class the function belongs to
    TYPE_INDEX type;                 // 28: function type
    UBYTE1 reserved36[16];           // 36
    const char* functionName;        // 52
    const char* mangledName;         // 56
    UBYTE4 offsetHigh;               // 60
    UBYTE1 reserved64[8];            // 64
    const void* procedureDescriptor; // 72
};

// Code 23: thread-static variable.
struct SEthreadstatic {
    UBYTE4 kind;             // 0
    UBYTE2 flags;            // 4
    const char* name;        // 6
    UBYTE1 reserved10[2];    // 10
    UBYTE4 offsetLow;        // 12
    UBYTE4 offsetHigh;       // 16
    TYPE_INDEX type;         // 20
    const char* displayName; // 28
    const char* mangledName; // 32
};

// Code 35: a named entity with a mangled name.
struct SEnamed35 {
    UBYTE4 kind;             // 0
    UBYTE2 flags;            // 4
    const char* name;        // 6
    UBYTE1 reserved10[14];   // 10
    const char* mangledName; // 24
};

// Code 36: section-relative data of the second form.
struct SEsectiondata36 {
    UBYTE4 kind;          // 0
    UBYTE2 flags;         // 4
    const char* name;     // 6
    UBYTE1 reserved10[2]; // 10
    UBYTE4 section;       // 12
    UBYTE4 offsetLow;     // 16
    UBYTE4 offsetHigh;    // 20
};

// Code 43: Fortran common-block member.
struct SEcommonmember {
    UBYTE4 kind;          // 0
    UBYTE2 flags;         // 4
    const char* name;     // 6
    UBYTE1 reserved10[2]; // 10
    UBYTE4 offsetLow;     // 12
    UBYTE4 offsetHigh;    // 16
    UBYTE4 section;       // 20
    TYPE_INDEX type;      // 24
};

// Code 16384: the head of a built-in procedure record.
struct SEbuiltin {
    UBYTE4 kind;          // 0
    UBYTE2 flags;         // 4
    const char* name;     // 6
    UBYTE1 reserved10[2]; // 10
    void* buffer;         // 12: the debugger buffer of its location
    TYPE_INDEX type;      // 16
    UBYTE4 resultCode;    // 24
};

// An SQL host variable (see SE_SQL_HOST_VARIABLE): what it is and where
// its storage lies.
struct SEsqlhostvariable {
    UBYTE4 kind;          // 0
    UBYTE2 flags;         // 4
    const char* name;     // 6
    UBYTE1 reserved10[4]; // 10
    UBYTE4 sqlType;       // 14: SQL type code
    UBYTE1 reserved18[2]; // 18
    UBYTE4 addressLow;    // 20
    UBYTE4 addressHigh;   // 24
    UBYTE4 addressWidth;  // 28: in bits
    UBYTE4 length;        // 32: declared length
    UBYTE4 maxLength;     // 36
    UBYTE4 elementCount;  // 40: 0 for a scalar
    UBYTE2 ccsid;         // 44: 0 for the context's code page
};

// A symbol entry: the record of its storage code.
struct _SYMBOL_ENTRY {
    union {
        UBYTE4 kind;
        SEheader header;
        SEtyped typed;
        SEfunction function;
        SEautomatic automatic;
        SEstatic statics;
        SEqualified qualified;
        SEmemberfunction memberfunction;
        SEthreadstatic threadstatic;
        SEnamed35 named35;
        SEsectiondata36 sectiondata36;
        SEcommonmember commonmember;
        SEbuiltin builtin;
        SEsqlhostvariable sqlhostvariable;
    };
};

#pragma pack(pop)

#endif
