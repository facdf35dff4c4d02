#ifndef NORVEXA_HOST_CALLSTACK_RECORDS_H
#define NORVEXA_HOST_CALLSTACK_RECORDS_H

// The call-stack entry, and the small records and values passed through the
// service table: the debugger version record, the COBOL file-information
// buffer, context kinds, code-page conversions, compilation settings and the
// arguments of a debuggee function call.

// Byte-packed, host byte order, native-width pointers; the byte offsets in
// the comments are those of a 32-bit build (see HostRecords.h for the layout
// rules). Read the fields through HostRecordAccess.h.

#include <cstdint>

#include "HostServices.h"

#pragma pack(push, 1)

// ---------------------------------------------------------------------------
// Call-stack entry: the frame's context, then its stack base.
struct _CALLSTACK_ITEM2 {
    const LCC_Eval_Context_Info* context; // 0
    EE_ADDR stackBase;                    // 4
};

// The debugger version record (8 bytes).
struct DBG_VERSION_RECORD {
    UBYTE2 version;      // 0: preset to 5 by the evaluator
    UBYTE2 reserved2;    // 2
    UBYTE1 addressForms; // 4: non-zero: structure and array address forms
    UBYTE1 reserved5[3]; // 5
};

// The 64-byte COBOL file-information buffer.
struct FILE_INFORMATION {
    UBYTE1 marker[8];      // 0: C3 C2 D3 C4 C2 C7 C6 C9 when the host marks it
    UBYTE1 reserved8[16];  // 8
    UBYTE1 openState;      // 24: 1 when the record area may be read
    UBYTE1 reserved25[39]; // 25
};
enum {
    FILE_INFORMATION_SIZE = 64
};

// ---------------------------------------------------------------------------
// Small host values passed through the service table.

// Kind of a host context (slot 42).
enum CONTEXT_SCOPE2 : UBYTE2 {
    CS2_UNKNOWN = 0,
    CS2_FILE = 1,
    CS2_FUNCTION = 2,
    CS2_MEMBER_FUNCTION = 3,
    CS2_BLOCK = 4,
};

// Direction of a code-page conversion (slot 52). The room and the host's
// answer count bytes, except for Conv_ToWide, where they count wchar_t
// elements. The host answers how much the whole conversion needs, which may
// exceed the room given; it writes no more than the room. A negative answer
// is a failure.
enum Conversion : int {
    Conv_ToCodePage = 0, // UTF-8 text to the code page
    Conv_ToUtf16 = 1,    // code page to UTF-16 in the evaluator's byte order
    Conv_ToUtf8 = 2,     // code page to UTF-8
    Conv_ToWide = 3,     // code page to wchar_t, a terminating zero written and counted
};

// A compilation setting asked of the host (slot 48) and its answer, whose
// first byte is the setting.
typedef UBYTE4 COMPILATION_SETTING_TYPE;
struct _COMPILATION_SETTING_VALUE {
    UBYTE1 value;
    UBYTE1 reserved[7];
};

// One argument of a debuggee function call (slot 41).
struct ExprCallFunctionParm {
    const void* value;
    UBYTE4 length;
    UBYTE4 type;
};

#pragma pack(pop)

static_assert(sizeof(FILE_INFORMATION) == FILE_INFORMATION_SIZE);
static_assert(sizeof(DBG_VERSION_RECORD) == 8);

#endif
