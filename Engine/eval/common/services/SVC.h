#ifndef NORVEXA_SERVICES_SVC_H
#define NORVEXA_SERVICES_SVC_H

#include <atomic>
#include <cstdarg>

#include "HostRecords.h"
#include "HostServices.h"

#include <cstdint>

#include <plomkit/List.h>

namespace SVCState {
std::atomic<bool>& traceSwitch();
} // namespace SVCState

// The evaluator's side of the host's service table: a copy of the callback
// table made at initialisation, the trace, and one wrapper per host service
// that turns the host's return codes into results or InvalidOp exceptions.
// Only static members.
//
// Threads: a table installed by initialisation is copied whole into a table
// of its own and then published at once, so a request running on another
// thread sees the old copy or the new one, never half of either; the trace
// switch is atomic. The trace line buffer and the indent are kept per
// thread, so requests that run on several host threads at once never format
// into one buffer and keep their own nesting.
class SVC {
public:
    // ------------------------------------------------------------------
    // Initialisation and trace control
    // ------------------------------------------------------------------

    // Copies the host's table (at most the evaluator's own size, the host's
    // size word included; slots the host did not fill stay null), then writes
    // the own size into the size word; switches tracing on when the host's
    // trace switch is on (never off); sets the indent to 0. A null table
    // empties the copy and answers false.
    static bool InitializeServiceFunctions(DBG2_SERVICE_FUNCTIONS* hostTable);

    // The trace switch: false until initialisation finds the host's on. Read
    // only; the evaluator itself never turns it off.
    static const std::atomic<bool>* traceEnabled() { return &traceFlag_; }
    // Whether the trace switch is on (a relaxed read of traceEnabled()).
    static bool tracing() { return traceFlag_.load(std::memory_order_relaxed); }
    // The evaluator's copy of the host table (the one installed last).
    static const DBG2_SERVICE_FUNCTIONS* callBacks();

    // Indent += 2; indent -= min(indent, 2).
    static void traceIndent();
    static void traceUndent();

    // ------------------------------------------------------------------
    // Trace entries. Each formats one line into the calling thread's
    // 8,192-byte buffer (cutting what does not fit) and hands it to the
    // host; each returns the length of the line, 0 when tracing is off, and
    // never throws. Every line starts with max(indent, 1) blanks.
    // ------------------------------------------------------------------

    // "<function up to its first '('>(<line>): <message>", component
    // "DOREDOZ2".
    static int fTrace(const char* function, unsigned line, const char* format, ...)
        __attribute__((format(NORVEXA_PRINTF_FORMAT, 3, 4)));
    // "<message>", component "DOREDOZ2".
    static int pTrace(const char* format, ...) __attribute__((format(NORVEXA_PRINTF_FORMAT, 1, 2)));
    // "<prefix> <function>: <message>" (either part may be null; with both
    // null only the message), component "DOREDOZ2".
    static int vTrace(const char* prefix, const char* function, const char* format, va_list args)
        __attribute__((format(NORVEXA_PRINTF_FORMAT, 3, 0)));
    // "<prefix> <function>(<value>) <message>" (either part may be null),
    // component "VUM_ASSIST".
    static int DATrace(const char* prefix, const char* function, int value, const char* format, va_list args)
        __attribute__((format(NORVEXA_PRINTF_FORMAT, 4, 0)));

    // ------------------------------------------------------------------
    // Host trace slots (33, 34, 35). None of them throws: an exception
    // raised by the host's callback is dropped.
    // ------------------------------------------------------------------

    // The low 16 bits of slot 33's answer; 0 when the slot is null.
    static int Expr2TraceEnabled();
    // Hands a finished line to slot 34 when it is set.
    static void Expr2Trace(const char* component, const char* text);
    // Hands a finished line with an id to slot 35 when it is set.
    static void Expr2TraceWithID(unsigned id, const char* component, const char* text);

    // ------------------------------------------------------------------
    // Error raising and the host service wrappers (slots 1-32, 36-55)
    // ------------------------------------------------------------------

    // Host return code to InvalidOp: rc 0 returns; 2 RTRC_BadContext; 16, 17
    // RTRC_CallFunctionInvalid; 18 RTRC_CallBadParm; 20 RTRC_CallFunctionTrap;
    // 21 RTRC_CallFunctionTimeout; 22, 23 RTRC_CallCatastrophe; 25
    // RTRC_CallFunctionUserAbort; 26 RTRC_SubscriptOutOfBounds; any other
    // value (negative ones included) RTRC_IntfRoutineFailed.
    static void throwError(int rc);
    // The same, after tracing "<function>(<line>): rc = <rc>".
    static void throwError(int rc, const char* function, unsigned line);
    // The same, after tracing "<function>(<line>): rc = <rc>; <message>".
    static void throwError(int rc, const char* function, unsigned line, const char* format, ...)
        __attribute__((format(NORVEXA_PRINTF_FORMAT, 4, 5)));

    // Every wrapper below throws InvalidOp RTRC_IntfRoutineFailed when its
    // slot is null, unless its comment says otherwise. Exceptions thrown by a
    // host callback pass through unchanged. A return code is the low 16 bits
    // of the host's answer.

    // Slot 1: the calling thread's copy of the host's version record, its
    // first field preset to 5 (a null slot is not called; a callback that
    // throws leaves the record zeroed with the first field 5). Never throws.
    static DBG_VERSION_RECORD* debuggerVersion();

    // Slot 2: the entry of a type index. Module word 0: null. Outside COBOL
    // the request's type cache answers first; then the types the evaluator
    // created; then the host. A failing host, or one that has no entry,
    // gives the placeholder entry, never null.
    static const _TYPE_ENTRY* ExprGetTypeEntry(const LCC_Eval_Context_Info* ctx, TYPE_INDEX index);
    // The one placeholder entry: a typedef (leaf 35) of void {0, 151} with
    // an empty name.
    static const _TYPE_ENTRY* placeholderTypeEntry();

    // Slots 3-6: registers. Values travel in the evaluator's byte order.
    static UBYTEP ExprQueryRegisterId(const LCC_Eval_Context_Info* ctx, UBYTE1* name);
    static void ExprQueryRegisterInfo(const LCC_Eval_Context_Info* ctx, UBYTEP id, UBYTE2* type, UBYTE2* bits);
    // Returns rc 0, 10 or 12 to the caller; any other rc throws.
    static int ExprGetRegisterValue(const LCC_Eval_Context_Info* ctx, UBYTEP id, UBYTE1* buffer);
    static void ExprSetRegisterValue(const LCC_Eval_Context_Info* ctx, UBYTEP id, const UBYTE1* buffer);

    // Slot 7: the base address of a host section.
    static EE_ADDR Expr2MapSection(const LCC_Eval_Context_Info* ctx, UBYTE4 section);

    // Slot 10: reads count bytes at address into buffer; returns the bytes
    // read. A short read (rc 0 or rc 6 with some bytes read) zero-fills the
    // rest of the buffer; rc 6 with nothing read and every other rc throw.
    static UBYTE4 Expr2ReadMemory(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, UBYTE4 count, void* buffer);
    // Slot 11: writes count bytes; returns the bytes the host wrote.
    static UBYTE4 Expr2WriteMemory(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, UBYTE4 count,
                                   const void* buffer);

    // Slot 12: the context's location type (4: a 64-bit program); 0 when the
    // host answers nothing. The return code is ignored.
    static UBYTE2 ExprGetContextLocationType(const LCC_Eval_Context_Info* ctx);

    // Slot 14: the containing context (null: none) and the host's 32-bit
    // result.
    static UBYTE4 ExprGetContainingContextInfo(const LCC_Eval_Context_Info* ctx,
                                               const LCC_Eval_Context_Info*& containing);

    // Slots 16, 17: the call stack.
    static UBYTE2 ExprGetNumCallStackItems(const LCC_Eval_Context_Info* ctx);
    static void Expr2GetCallStackEntry(const LCC_Eval_Context_Info* ctx, UBYTE2 item, CALLSTACK_ITEM2* entry);

    // Slots 18, 29: symbol search; rc 8 (not found) gives null.
    static SYMBOL_ENTRY* ExprSearchForSymbolEntry(const LCC_Eval_Context_Info* ctx, UBYTE1* name, UBYTE4 kind,
                                                  UBYTE4 symbolsToSearch);
    static SYMBOL_LIST* Expr2SearchForSymbolEntries(const LCC_Eval_Context_Info* ctx, UBYTE1* name, UBYTE4 kind,
                                                    UBYTE4 symbolsToSearch);

    // Slot 20: the context's block symbol.
    static SYMBOL_ENTRY* ExprGetBlockSymbol(const LCC_Eval_Context_Info* ctx);
    // Slot 21: rc 0 true, rc 8 false, any other rc throws.
    static bool ExprSymbolEntryWithinContext(SYMBOL_ENTRY& entry, const LCC_Eval_Context_Info* ctx);

    // Slot 31: the thread-static base.
    static EE_ADDR Expr2ComputeThreadStaticBase(const LCC_Eval_Context_Info* ctx);

    // Slot 36: the address a DWARF location yields in the request's frame.
    static EE_ADDR Expr2ComputeDWARFaddress(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length,
                                            const UBYTE8* base = nullptr);
    // Slot 37: the absolute address of a DWARF location. With a text, a
    // failure throws with that text as its message (in COBOL rc 26 is
    // RTRC_BadODOObjectValue with the text); without one, a plain failure.
    static EE_ADDR Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const void* text, const UBYTE1* loc,
                                               UBYTE4 length, const UBYTE8* base);
    static EE_ADDR Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length,
                                               const UBYTE8* base = nullptr);
    static EE_ADDR Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const DwarfLocString& loc,
                                               const UBYTE8* base = nullptr);
    static EE_ADDR Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const DwarfLocation& loc,
                                               const UBYTE8* base = nullptr);

    // The value of a DWARF expression (slot 37 when no frame is selected,
    // retried once against the top frame outside COBOL; slot 36 otherwise):
    // a 32-bit result sign-extended, a 64-bit result whole, any other width
    // 0.
    static std::int64_t GetDwarfValue(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length,
                                      const UBYTE8* base = nullptr);

    // Slot 38: whether ctx is the top of the stack (reads call-stack entry 0
    // into entry first when entry is given). A null slot answers true; a
    // failing host false; never throws for the host's return code.
    static bool Expr2GetTopStackEntry(const LCC_Eval_Context_Info* ctx, CALLSTACK_ITEM2* entry = nullptr);

    // Slot 39: fills up to capacity entries; returns how many it filled (the
    // host's count, never more than capacity). The host's own count, which
    // may exceed the capacity when the context has more entries, goes to
    // *total when total is given: a caller that wants every entry asks again
    // with room for that many.
    static UBYTE4 ExprGetSymbolEntries(const LCC_Eval_Context_Info* ctx, SYMBOL_ENTRY** buffer, UBYTE4 capacity,
                                       UBYTE4* total = nullptr);

    // Slot 40: the address of a link symbol in a section.
    static EE_ADDR Expr2GetLinkAddress(const LCC_Eval_Context_Info* ctx, UBYTE1* symbol, UBYTE4 section);

    // Slot 41: calls a debuggee function. In COBOL rc 17 is
    // RTRC_CallFunctionInvalid with the function's text.
    static void ExprCallFunction(const LCC_Eval_Context_Info* ctx, const void* function, UBYTE4 first, UBYTE4 second,
                                 void* result, const List<ExprCallFunctionParm>& parms);

    // Slot 42: the kind of a context.
    static CONTEXT_SCOPE2 ExprGetContextType2(const LCC_Eval_Context_Info* ctx);

    // Slots 43, 44.
    static void Expr2GetKeyAddress(const LCC_Eval_Context_Info* ctx, void* key, EE_ADDR* out);
    static void Expr2NativeStackIndex(const LCC_Eval_Context_Info* ctx, UBYTE4 index, UBYTE4* native);

    // Slot 45: every contained context of a kind. The list is regrown while
    // the host reports more than it has room for, at most 4 times and to at
    // most 1,048,576 contexts; a host past either bound is refused with
    // RTRC_IntfRoutineFailed.
    static List<const LCC_Eval_Context_Info*> ExprGetContainedContexts(const LCC_Eval_Context_Info* ctx, UBYTE4 kind);

    // Slot 46: rc 0 true, rc 8 false, any other rc throws.
    static bool ExprGetLinkName(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, const UBYTE1** first,
                                const UBYTE1** second, const UBYTE1** third);

    // Slot 47: a type entry by name; rc 3 (none) gives null.
    static TYPE_ENTRY* Expr2GetTypeByName(const LCC_Eval_Context_Info* ctx, const char* name, UBYTE1 flag);

    // Slots 48-51.
    static bool ExprGetCompilationSettingValue(const LCC_Eval_Context_Info* ctx, COMPILATION_SETTING_TYPE setting,
                                               COMPILATION_SETTING_VALUE* value);
    static bool ExprGetPlaybackMode();
    static UBYTE4 ExprGetPathPoint(UBYTE4* pathPoint);
    static void Expr2GetSessionId(const LCC_Eval_Context_Info* ctx, UBYTE4* sessionId);

    // Slot 52: converts text between a code page (null: the request's EBCDIC
    // code page) and the evaluator's character set, with the request's
    // context; returns the host's answer unchanged.
    static BYTE4 ExprEbcdicConvert(const void* source, UBYTE2 sourceLength, void* target, UBYTE2 targetLength,
                                   const char* codePage, Conversion conversion);

    // Slot 53: the context's code-page name; "" when the slot is null or the
    // host has none. Never throws for a missing answer.
    static const char* ExprGetCodepage(const LCC_Eval_Context_Info* ctx);

    // Slot 54: the host's raw debug data, *size preset 0; null slot: null.
    static void* ExprGetRawDbgData(const LCC_Eval_Context_Info* ctx, UBYTE4* size);

    // Slot 55: fills up to size bytes of file information for an address.
    static void ExprGetFileInfo(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, void* buffer, UBYTE4 size);

private:
    SVC() = delete;

    // The trace switch, asked on nearly every step of an evaluation: read
    // inline. SVCState::traceSwitch hands it to the rest of SVC.
    static std::atomic<bool> traceFlag_;
    friend std::atomic<bool>& SVCState::traceSwitch();
};

#endif
