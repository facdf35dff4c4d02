#ifndef NORVEXA_HOSTSERVICES_H
#define NORVEXA_HOSTSERVICES_H

// The table of service callbacks that the host debug engine hands to the
// evaluator at initialisation, and the host types its slots pass. The full
// layouts of the host's records are in HostRecords.h.

#include <cstdint>

typedef std::uint8_t UBYTE1;
typedef std::uint16_t UBYTE2;
typedef std::uint32_t UBYTE4;
typedef std::uint64_t UBYTE8;
typedef std::int32_t BYTE4;
// A pointer-sized unsigned value (register ids and similar host handles).
typedef std::uintptr_t UBYTEP;

// The host's handle of the context (program, thread, frame) of a request.
// The evaluator never looks inside it.
struct LCC_Eval_Context_Info;

// A host type handle: the module word, then the index within the module.
struct TYPE_INDEX {
    UBYTE4 module;
    UBYTE4 index;
};

// A debuggee address as the host passes it: the width in bits (32 or 64,
// anything else is invalid), then the 64-bit value, low word first.
struct EE_ADDR {
    UBYTE4 width;
    UBYTE4 addrLow;
    UBYTE4 addrHigh;
};
static_assert(sizeof(EE_ADDR) == 12, "EE_ADDR is three packed 32-bit words");

// An action the evaluator offers on the nodes of a result tree, as it
// publishes it: the action's name (UTF-8, NUL-terminated, owned by the
// evaluator), then a word whose meaning is the host's.
struct ExpressionEvaluatorAction {
    const UBYTE1* name;
    UBYTE4 word;
};
static_assert(sizeof(void*) != 8 || sizeof(ExpressionEvaluatorAction) == 16,
              "ExpressionEvaluatorAction is a pointer and a word, 16 bytes with 64-bit pointers");

struct _TYPE_ENTRY;
struct _SYMBOL_ENTRY;
struct _CALLSTACK_ITEM2;
struct _COMPILATION_SETTING_VALUE;
typedef struct _TYPE_ENTRY TYPE_ENTRY;
typedef struct _SYMBOL_ENTRY SYMBOL_ENTRY;
typedef struct _CALLSTACK_ITEM2 CALLSTACK_ITEM2;
typedef struct _COMPILATION_SETTING_VALUE COMPILATION_SETTING_VALUE;
// A list of symbol entries, ended by a null pointer.
typedef SYMBOL_ENTRY* SYMBOL_LIST;

typedef const LCC_Eval_Context_Info* EXPR_CTX;

// Slot types. Each returns the host's word; where the evaluator reads a
// return code it is the low 16 bits of that word.
typedef int (*EXPR_DEBUGGER_VERSION)(void* versionRecord);                                     // 1
typedef int (*EXPR_GET_TYPE_ENTRY)(EXPR_CTX, UBYTE4 module, UBYTE4 index, TYPE_ENTRY** entry); // 2
typedef int (*EXPR_QUERY_REGISTER_ID)(EXPR_CTX, UBYTE1* name, UBYTEP* id);                     // 3
typedef int (*EXPR_QUERY_REGISTER_INFO)(EXPR_CTX, UBYTEP id, UBYTE2* type, UBYTE2* bits);      // 4
typedef int (*EXPR_GET_REGISTER_VALUE)(EXPR_CTX, UBYTEP id, UBYTE1* buffer);                   // 5
typedef int (*EXPR_SET_REGISTER_VALUE)(EXPR_CTX, UBYTEP id, const UBYTE1* buffer);             // 6
typedef int (*EXPR2_MAP_SECTION)(EXPR_CTX, UBYTE4 section, EE_ADDR* address);                  // 7
typedef int (*EXPR2_READ_MEMORY)(EXPR_CTX, EE_ADDR address, UBYTE4 count, void* buffer,
                                 UBYTE4* bytesRead); // 10
typedef int (*EXPR2_WRITE_MEMORY)(EXPR_CTX, EE_ADDR address, UBYTE4 count, const void* buffer,
                                  UBYTE4* bytesWritten);               // 11
typedef int (*EXPR_GET_CONTEXT_LOCATION_TYPE)(EXPR_CTX, UBYTE2* type); // 12
typedef int (*EXPR_GET_CONTAINING_CONTEXT_INFO)(EXPR_CTX, EXPR_CTX* containing,
                                                UBYTE4* result);                          // 14
typedef int (*EXPR_GET_NUM_CALL_STACK_ITEMS)(EXPR_CTX, UBYTE2* count);                    // 16
typedef int (*EXPR2_GET_CALL_STACK_ENTRY)(EXPR_CTX, UBYTE2 item, CALLSTACK_ITEM2* entry); // 17
typedef int (*EXPR_SEARCH_FOR_SYMBOL_ENTRY)(EXPR_CTX, UBYTE1* name, UBYTE4 kind, UBYTE4 symbolsToSearch,
                                            SYMBOL_ENTRY** entry);              // 18
typedef int (*EXPR_GET_BLOCK_SYMBOL)(EXPR_CTX, SYMBOL_ENTRY** entry);           // 20
typedef int (*EXPR_SYMBOL_ENTRY_WITHIN_CONTEXT)(SYMBOL_ENTRY* entry, EXPR_CTX); // 21
typedef int (*EXPR2_SEARCH_FOR_SYMBOL_ENTRIES)(EXPR_CTX, UBYTE1* name, UBYTE4 kind, UBYTE4 symbolsToSearch,
                                               SYMBOL_LIST** list);                       // 29
typedef int (*EXPR2_COMPUTE_THREAD_STATIC_BASE)(EXPR_CTX, EE_ADDR* base);                 // 31
typedef int (*EXPR2_TRACE_ENABLED)(void);                                                 // 33
typedef int (*EXPR2_TRACE)(const char* component, const char* text);                      // 34
typedef int (*EXPR2_TRACE_WITH_ID)(unsigned id, const char* component, const char* text); // 35
typedef int (*EXPR2_COMPUTE_DWARF_ADDRESS)(EXPR_CTX, EE_ADDR* result, const UBYTE1* loc, UBYTE4 length, int frameIndex,
                                           const EE_ADDR* base); // 36
typedef int (*EXPR2_COMPUTE_ABS_DWARF_ADDRESS)(EXPR_CTX, EE_ADDR* result, const UBYTE1* loc, UBYTE4 length,
                                               const EE_ADDR* base);                         // 37
typedef int (*EXPR2_GET_TOP_STACK_ENTRY)(EXPR_CTX, UBYTE1* isTopOfStack);                    // 38
typedef UBYTE4 (*EXPR_GET_SYMBOL_ENTRIES)(EXPR_CTX, SYMBOL_ENTRY** buffer, UBYTE4 capacity); // 39
typedef int (*EXPR2_GET_LINK_ADDRESS)(EXPR_CTX, UBYTE1* symbol, UBYTE4 section,
                                      EE_ADDR* address); // 40
typedef int (*EXPR_CALL_FUNCTION)(EXPR_CTX, const void* function, UBYTE4 first, UBYTE4 second, void* result,
                                  UBYTE4 parmCount, void* parms);                // 41
typedef int (*EXPR_GET_CONTEXT_TYPE2)(EXPR_CTX);                                 // 42
typedef int (*EXPR2_GET_KEY_ADDRESS)(EXPR_CTX, void* key, EE_ADDR* address);     // 43
typedef int (*EXPR2_NATIVE_STACK_INDEX)(EXPR_CTX, UBYTE4 index, UBYTE4* native); // 44
typedef UBYTE4 (*EXPR_GET_CONTAINED_CONTEXTS)(EXPR_CTX, EXPR_CTX* contexts, UBYTE4 kind,
                                              UBYTE4 capacity); // 45
typedef int (*EXPR_GET_LINK_NAME)(EXPR_CTX, const EE_ADDR* address, const UBYTE1** first, const UBYTE1** second,
                                  const UBYTE1** third); // 46
typedef int (*EXPR2_GET_TYPE_BY_NAME)(EXPR_CTX, const char* name, UBYTE1 flag,
                                      TYPE_ENTRY** entry); // 47
typedef int (*EXPR_GET_COMPILATION_SETTING_VALUE)(EXPR_CTX, UBYTE4 setting,
                                                  COMPILATION_SETTING_VALUE* value); // 48
typedef int (*EXPR_GET_PLAYBACK_MODE)(void);                                         // 49
typedef UBYTE4 (*EXPR_GET_PATH_POINT)(UBYTE4* pathPoint);                            // 50
typedef int (*EXPR2_GET_SESSION_ID)(EXPR_CTX, UBYTE4* sessionId);                    // 51
typedef int (*EXPR_EBCDIC_CONVERT)(EXPR_CTX, const void* source, UBYTE2 sourceLength, void* target, UBYTE2 targetLength,
                                   const char* codePage,
                                   int conversion);                                      // 52
typedef const char* (*EXPR_GET_CODEPAGE)(EXPR_CTX);                                      // 53
typedef void* (*EXPR_GET_RAW_DBG_DATA)(EXPR_CTX, UBYTE4* size);                          // 54
typedef int (*EXPR_GET_FILE_INFO)(EXPR_CTX, EE_ADDR address, void* buffer, UBYTE4 size); // 55
// Slots the evaluator copies but never calls.
typedef void (*EXPR_UNUSED_SLOT)(void);

// The callback table: a size word, then 55 pointer-sized slots (slot n is
// the n-th pointer after the size word). The host sets size to the number of
// bytes it filled; slots beyond that are taken as null.
struct DBG2_SERVICE_FUNCTIONS {
    std::uintptr_t size;
    EXPR_DEBUGGER_VERSION debuggerVersion;                             // 1
    EXPR_GET_TYPE_ENTRY ExprGetTypeEntry;                              // 2
    EXPR_QUERY_REGISTER_ID ExprQueryRegisterId;                        // 3
    EXPR_QUERY_REGISTER_INFO ExprQueryRegisterInfo;                    // 4
    EXPR_GET_REGISTER_VALUE ExprGetRegisterValue;                      // 5
    EXPR_SET_REGISTER_VALUE ExprSetRegisterValue;                      // 6
    EXPR2_MAP_SECTION Expr2MapSection;                                 // 7
    EXPR_UNUSED_SLOT slot8;                                            // 8
    EXPR_UNUSED_SLOT slot9;                                            // 9
    EXPR2_READ_MEMORY Expr2ReadMemory;                                 // 10
    EXPR2_WRITE_MEMORY Expr2WriteMemory;                               // 11
    EXPR_GET_CONTEXT_LOCATION_TYPE ExprGetContextLocationType;         // 12
    EXPR_UNUSED_SLOT slot13;                                           // 13
    EXPR_GET_CONTAINING_CONTEXT_INFO ExprGetContainingContextInfo;     // 14
    EXPR_UNUSED_SLOT slot15;                                           // 15
    EXPR_GET_NUM_CALL_STACK_ITEMS ExprGetNumCallStackItems;            // 16
    EXPR2_GET_CALL_STACK_ENTRY Expr2GetCallStackEntry;                 // 17
    EXPR_SEARCH_FOR_SYMBOL_ENTRY ExprSearchForSymbolEntry;             // 18
    EXPR_UNUSED_SLOT slot19;                                           // 19
    EXPR_GET_BLOCK_SYMBOL ExprGetBlockSymbol;                          // 20
    EXPR_SYMBOL_ENTRY_WITHIN_CONTEXT ExprSymbolEntryWithinContext;     // 21
    EXPR_UNUSED_SLOT slot22;                                           // 22
    EXPR_UNUSED_SLOT slot23;                                           // 23
    EXPR_UNUSED_SLOT slot24;                                           // 24
    EXPR_UNUSED_SLOT slot25;                                           // 25
    EXPR_UNUSED_SLOT slot26;                                           // 26
    EXPR_UNUSED_SLOT slot27;                                           // 27
    EXPR_UNUSED_SLOT slot28;                                           // 28
    EXPR2_SEARCH_FOR_SYMBOL_ENTRIES Expr2SearchForSymbolEntries;       // 29
    EXPR_UNUSED_SLOT slot30;                                           // 30
    EXPR2_COMPUTE_THREAD_STATIC_BASE Expr2ComputeThreadStaticBase;     // 31
    EXPR_UNUSED_SLOT slot32;                                           // 32
    EXPR2_TRACE_ENABLED Expr2TraceEnabled;                             // 33
    EXPR2_TRACE Expr2Trace;                                            // 34
    EXPR2_TRACE_WITH_ID Expr2TraceWithID;                              // 35
    EXPR2_COMPUTE_DWARF_ADDRESS Expr2ComputeDWARFaddress;              // 36
    EXPR2_COMPUTE_ABS_DWARF_ADDRESS Expr2ComputeAbsDWARFaddress;       // 37
    EXPR2_GET_TOP_STACK_ENTRY Expr2GetTopStackEntry;                   // 38
    EXPR_GET_SYMBOL_ENTRIES ExprGetSymbolEntries;                      // 39
    EXPR2_GET_LINK_ADDRESS Expr2GetLinkAddress;                        // 40
    EXPR_CALL_FUNCTION ExprCallFunction;                               // 41
    EXPR_GET_CONTEXT_TYPE2 ExprGetContextType2;                        // 42
    EXPR2_GET_KEY_ADDRESS Expr2GetKeyAddress;                          // 43
    EXPR2_NATIVE_STACK_INDEX Expr2NativeStackIndex;                    // 44
    EXPR_GET_CONTAINED_CONTEXTS ExprGetContainedContexts;              // 45
    EXPR_GET_LINK_NAME ExprGetLinkName;                                // 46
    EXPR2_GET_TYPE_BY_NAME Expr2GetTypeByName;                         // 47
    EXPR_GET_COMPILATION_SETTING_VALUE ExprGetCompilationSettingValue; // 48
    EXPR_GET_PLAYBACK_MODE ExprGetPlaybackMode;                        // 49
    EXPR_GET_PATH_POINT ExprGetPathPoint;                              // 50
    EXPR2_GET_SESSION_ID Expr2GetSessionId;                            // 51
    EXPR_EBCDIC_CONVERT ExprEbcdicConvert;                             // 52
    EXPR_GET_CODEPAGE ExprGetCodepage;                                 // 53
    EXPR_GET_RAW_DBG_DATA ExprGetRawDbgData;                           // 54
    EXPR_GET_FILE_INFO ExprGetFileInfo;                                // 55
};

// Slot n lies n pointers after the start of the table.
static_assert(sizeof(DBG2_SERVICE_FUNCTIONS) == 56 * sizeof(void*), "a size word and 55 slots, each pointer-sized");
static_assert(__builtin_offsetof(DBG2_SERVICE_FUNCTIONS, Expr2TraceEnabled) == 33 * sizeof(void*),
              "slot 33 is the trace switch");
static_assert(__builtin_offsetof(DBG2_SERVICE_FUNCTIONS, ExprGetFileInfo) == 55 * sizeof(void*), "slot 55 is the last");

#endif
