#include "services/SVC.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "HostRecordAccess.h"
#include "services/CurrentEnvironmentQueries.h"
#include "services/InvalidOp.h"

namespace {

constexpr unsigned traceBufferSize = 8192;

// The evaluator's copy of the host table: zero slots and its own size until
// the host's table is installed.
constinit DBG2_SERVICE_FUNCTIONS serviceTable = [] {
    DBG2_SERVICE_FUNCTIONS table{};
    table.size = sizeof table;
    return table;
}();

bool traceFlag = false;

thread_local UBYTE4 traceIndentColumns = 0;
thread_local char traceBuffer[traceBufferSize];

const char* const traceComponent = "DOREDOZ2";
const char* const assistComponent = "VUM_ASSIST";

// How many characters snprintf-style formatting left in a buffer of room
// characters when it reported wanted (negative: an encoding error).
unsigned written(int wanted, unsigned room)
{
    if (wanted < 0 || room == 0)
        return 0;
    return static_cast<unsigned>(wanted) < room ? static_cast<unsigned>(wanted) : room - 1;
}

// Writes the indent into the buffer; returns the characters written.
unsigned formatIndent()
{
    int width = static_cast<int>(traceIndentColumns < traceBufferSize ? traceIndentColumns
                                                                      : traceBufferSize);
    return written(std::snprintf(traceBuffer, traceBufferSize, "%*s", width, " "),
                   traceBufferSize);
}

// Formats the message after a head of used characters and hands the line to
// the host. Returns the length of the line.
__attribute__((format(printf, 2, 0))) int finishLine(unsigned used, const char* format,
                                                     va_list args, const char* component)
{
    if (format != nullptr && used < traceBufferSize - 1)
        used += written(std::vsnprintf(traceBuffer + used, traceBufferSize - used, format, args),
                        traceBufferSize - used);
    traceBuffer[used] = '\0';
    SVC::Expr2Trace(component, traceBuffer);
    return static_cast<int>(used);
}

// Appends the pieces of a line head after used characters, bounded by the
// buffer; returns the new count.
unsigned appendText(unsigned used, const char* text, size_t length)
{
    if (used >= traceBufferSize - 1 || text == nullptr)
        return used;
    size_t room = traceBufferSize - 1 - used;
    if (length > room)
        length = room;
    std::memcpy(traceBuffer + used, text, length);
    used += static_cast<unsigned>(length);
    traceBuffer[used] = '\0';
    return used;
}

unsigned appendText(unsigned used, const char* text)
{
    return text == nullptr ? used : appendText(used, text, std::strlen(text));
}

// Appends "(<value>" when open is set, else "<value>", then the suffix.
unsigned appendNumber(unsigned used, bool open, long long value, const char* suffix)
{
    char number[32];
    int n = std::snprintf(number, sizeof number, open ? "(%lld" : "%lld", value);
    used = appendText(used, number, written(n, sizeof number));
    return appendText(used, suffix);
}

// Appends "prefix function" (or whichever of the two is given) and the
// separator; appends nothing when neither is given.
unsigned appendCaller(unsigned used, const char* prefix, const char* function,
                      const char* separator)
{
    if (prefix != nullptr && function != nullptr) {
        used = appendText(used, prefix);
        used = appendText(used, " ");
        used = appendText(used, function);
        used = appendText(used, separator);
    } else if (prefix != nullptr || function != nullptr) {
        used = appendText(used, prefix != nullptr ? prefix : function);
        used = appendText(used, separator);
    }
    return used;
}

}  // namespace

bool SVC::InitializeServiceFunctions(DBG2_SERVICE_FUNCTIONS* hostTable)
{
    std::memset(&serviceTable, 0, sizeof serviceTable);
    if (hostTable == nullptr) {
        serviceTable.size = sizeof serviceTable;
        return false;
    }
    size_t count = hostTable->size < sizeof serviceTable ? hostTable->size : sizeof serviceTable;
    // Only whole slots: a size word that ends inside a slot must not leave
    // half a function pointer in the copy.
    count -= count % sizeof(void*);
    std::memcpy(&serviceTable, hostTable, count);
    serviceTable.size = sizeof serviceTable;
    if (Expr2TraceEnabled() != 0)
        traceFlag = true;
    traceIndentColumns = 0;
    return true;
}

bool* SVC::traceEnabled()
{
    return &traceFlag;
}

UBYTE4* SVC::indentValue()
{
    return &traceIndentColumns;
}

DBG2_SERVICE_FUNCTIONS* SVC::callBacks()
{
    return &serviceTable;
}

void SVC::traceIndent()
{
    traceIndentColumns += 2;
}

void SVC::traceUndent()
{
    traceIndentColumns -= traceIndentColumns < 2 ? traceIndentColumns : 2;
}

int SVC::fTrace(const char* function, unsigned line, const char* format, ...)
{
    if (!traceFlag)
        return 0;
    unsigned used = formatIndent();
    if (function != nullptr) {
        const char* paren = std::strchr(function, '(');
        used = appendText(used, function, paren ? static_cast<size_t>(paren - function)
                                                : std::strlen(function));
    }
    used = appendNumber(used, true, static_cast<long long>(line), "): ");
    va_list args;
    va_start(args, format);
    int length = finishLine(used, format, args, traceComponent);
    va_end(args);
    return length;
}

int SVC::pTrace(const char* format, ...)
{
    if (!traceFlag)
        return 0;
    va_list args;
    va_start(args, format);
    int length = vTrace(nullptr, nullptr, format, args);
    va_end(args);
    return length;
}

int SVC::vTrace(const char* prefix, const char* function, const char* format, va_list args)
{
    if (!traceFlag)
        return 0;
    unsigned used = appendCaller(formatIndent(), prefix, function, ": ");
    va_list copy;
    va_copy(copy, args);
    int length = finishLine(used, format, copy, traceComponent);
    va_end(copy);
    return length;
}

int SVC::DATrace(const char* prefix, const char* function, int value, const char* format,
                 va_list args)
{
    if (!traceFlag)
        return 0;
    unsigned used = appendCaller(formatIndent(), prefix, function, "(");
    used = appendNumber(used, false, value, ") ");
    va_list copy;
    va_copy(copy, args);
    int length = finishLine(used, format, copy, assistComponent);
    va_end(copy);
    return length;
}

int SVC::Expr2TraceEnabled()
{
    EXPR2_TRACE_ENABLED slot = serviceTable.Expr2TraceEnabled;
    if (slot == nullptr)
        return 0;
    try {
        return slot() & 0xFFFF;
    } catch (...) {
        return 0;
    }
}

void SVC::Expr2Trace(const char* component, const char* text)
{
    EXPR2_TRACE slot = serviceTable.Expr2Trace;
    if (slot == nullptr)
        return;
    try {
        slot(component, text);
    } catch (...) {
    }
}

void SVC::Expr2TraceWithID(unsigned id, const char* component, const char* text)
{
    EXPR2_TRACE_WITH_ID slot = serviceTable.Expr2TraceWithID;
    if (slot == nullptr)
        return;
    try {
        slot(id, component, text);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------
// Error raising and the host service wrappers
// ---------------------------------------------------------------------------

namespace {

// The host's return code: the low 16 bits of its answer, as a signed number
// so that a negative answer reads as such in the trace.
int returnCode(int word)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(word & 0xFFFF));
}

// A slot, or InvalidOp RTRC_IntfRoutineFailed when the host left it null.
template <class Slot>
Slot requireSlot(Slot slot, const char* function, unsigned line)
{
    if (slot == nullptr)
        throw InvalidOp(InvalidOp::RTRC_IntfRoutineFailed, function, line);
    return slot;
}

// The full text of an address as the traces show it: "0x" and 8 or 16
// hexadecimal digits by its width, "Invalid" for any other width.
struct AddressText {
    char text[24];
    explicit AddressText(const EE_ADDR& address)
    {
        if (address.width == 32)
            std::snprintf(text, sizeof text, "0x%8.8x", static_cast<unsigned>(address.addrLow));
        else if (address.width == 64)
            std::snprintf(text, sizeof text, "0x%16.16llx",
                          (static_cast<unsigned long long>(address.addrHigh) << 32) |
                              address.addrLow);
        else
            std::snprintf(text, sizeof text, "Invalid");
    }
};

// The DWARF base-address argument: null, or a 64-bit EE_ADDR of the base.
struct DwarfBase {
    EE_ADDR record{};
    const EE_ADDR* pointer = nullptr;
    explicit DwarfBase(const UBYTE8* base)
    {
        if (base != nullptr) {
            record.width = 64;
            record.addrLow = static_cast<UBYTE4>(*base);
            record.addrHigh = static_cast<UBYTE4>(*base >> 32);
            pointer = &record;
        }
    }
};

std::uintptr_t traced(const void* pointer)
{
    return reinterpret_cast<std::uintptr_t>(pointer);
}

const char* textOrEmpty(const void* text)
{
    return text != nullptr ? static_cast<const char*>(text) : "";
}

}  // namespace

void SVC::throwError(int rc)
{
    if (rc == 0)
        return;
    InvalidOp::InvalidOperation code;
    switch (rc) {
    case 2: code = InvalidOp::RTRC_BadContext; break;
    case 16:
    case 17: code = InvalidOp::RTRC_CallFunctionInvalid; break;
    case 18: code = InvalidOp::RTRC_CallBadParm; break;
    case 20: code = InvalidOp::RTRC_CallFunctionTrap; break;
    case 21: code = InvalidOp::RTRC_CallFunctionTimeout; break;
    case 22:
    case 23: code = InvalidOp::RTRC_CallCatastrophe; break;
    case 25: code = InvalidOp::RTRC_CallFunctionUserAbort; break;
    case 26: code = InvalidOp::RTRC_SubscriptOutOfBounds; break;
    default: code = InvalidOp::RTRC_IntfRoutineFailed; break;
    }
    throw InvalidOp(code, "static void SVC::throwError(int)", __LINE__);
}

void SVC::throwError(int rc, const char* function, unsigned line)
{
    if (rc == 0)
        return;
    if (traceFlag)
        fTrace(function, line, "rc = %d", rc);
    throwError(rc);
}

void SVC::throwError(int rc, const char* function, unsigned line, const char* format, ...)
{
    if (rc == 0)
        return;
    if (traceFlag) {
        // The message goes after "rc = <rc>; "; fTrace cuts the whole line at
        // the buffer's end.
        char message[traceBufferSize];
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(message, sizeof message, format, args);
        va_end(args);
        if (n < 0)
            message[0] = '\0';
        fTrace(function, line, "rc = %d; %s", rc, message);
    }
    throwError(rc);
}

DBG_VERSION_RECORD* SVC::debuggerVersion()
{
    // One record per thread: two requests asking at once never see each
    // other's half-written answer.
    thread_local DBG_VERSION_RECORD record{};
    record.version = 5;
    EXPR_DEBUGGER_VERSION slot = serviceTable.debuggerVersion;
    if (slot == nullptr)
        return &record;
    try {
        slot(&record);
    } catch (...) {
        std::memset(&record, 0, sizeof record);
        record.version = 5;
    }
    return &record;
}

const _TYPE_ENTRY* SVC::placeholderTypeEntry()
{
    static const _TYPE_ENTRY placeholder = [] {
        _TYPE_ENTRY entry;
        std::memset(&entry, 0, sizeof entry);
        entry.typedef_.leaf = TE_TYPEDEF;
        entry.typedef_.aliasedType = TYPE_INDEX{0, 151};
        entry.typedef_.name = "";
        return entry;
    }();
    return &placeholder;
}

const _TYPE_ENTRY* SVC::ExprGetTypeEntry(const LCC_Eval_Context_Info* ctx, TYPE_INDEX index)
{
    if (index.module == 0)
        return nullptr;
    bool cobol = CurrentEnvironment::isCobol();
    if (!cobol) {
        const _TYPE_ENTRY* cached = CurrentEnvironment::cachedTypeEntry(index);
        fTrace(__PRETTY_FUNCTION__, __LINE__, "cached type: %08" PRIxPTR, traced(cached));
        if (cached != nullptr)
            return cached;
    }
    const _TYPE_ENTRY* created = CurrentEnvironment::createdTypeEntry(index);
    fTrace(__PRETTY_FUNCTION__, __LINE__, "created type: %08" PRIxPTR, traced(created));
    if (created != nullptr) {
        fTrace(__PRETTY_FUNCTION__, __LINE__,
               "found typenode for type %lx(%d) in created types: %08" PRIxPTR,
               static_cast<unsigned long>(index.module), static_cast<int>(index.index),
               traced(created));
        return created;
    }
    EXPR_GET_TYPE_ENTRY slot = requireSlot(serviceTable.ExprGetTypeEntry, __PRETTY_FUNCTION__, __LINE__);
    TYPE_ENTRY* entry = nullptr;
    int rc = returnCode(slot(ctx, index.module, index.index, &entry));
    fTrace(__PRETTY_FUNCTION__, __LINE__, "after ExprGetTypeEntry: %08" PRIxPTR, traced(entry));
    const _TYPE_ENTRY* result = (rc != 0 || entry == nullptr) ? placeholderTypeEntry() : entry;
    if (!cobol)
        CurrentEnvironment::cacheTypeEntry(index, result);
    return result;
}

UBYTEP SVC::ExprQueryRegisterId(const LCC_Eval_Context_Info* ctx, UBYTE1* name)
{
    EXPR_QUERY_REGISTER_ID slot = requireSlot(serviceTable.ExprQueryRegisterId, __PRETTY_FUNCTION__, __LINE__);
    UBYTEP id = 0;
    int rc = returnCode(slot(ctx, name, &id));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register = %s", textOrEmpty(name));
    return id;
}

void SVC::ExprQueryRegisterInfo(const LCC_Eval_Context_Info* ctx, UBYTEP id, UBYTE2* type, UBYTE2* bits)
{
    EXPR_QUERY_REGISTER_INFO slot = requireSlot(serviceTable.ExprQueryRegisterInfo, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, id, type, bits));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register id = %d", static_cast<int>(id));
}

int SVC::ExprGetRegisterValue(const LCC_Eval_Context_Info* ctx, UBYTEP id, UBYTE1* buffer)
{
    EXPR_GET_REGISTER_VALUE slot = requireSlot(serviceTable.ExprGetRegisterValue, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, id, buffer));
    if (rc == 0 || rc == 10 || rc == 12)
        return rc;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register id = %d", static_cast<int>(id));
    return rc;
}

void SVC::ExprSetRegisterValue(const LCC_Eval_Context_Info* ctx, UBYTEP id, const UBYTE1* buffer)
{
    EXPR_SET_REGISTER_VALUE slot = requireSlot(serviceTable.ExprSetRegisterValue, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, id, buffer));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register id = %d", static_cast<int>(id));
}

EE_ADDR SVC::Expr2MapSection(const LCC_Eval_Context_Info* ctx, UBYTE4 section)
{
    EXPR2_MAP_SECTION slot = requireSlot(serviceTable.Expr2MapSection, __PRETTY_FUNCTION__, __LINE__);
    EE_ADDR address{};
    int rc = returnCode(slot(ctx, section, &address));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Section ID = %d", static_cast<int>(section));
    return address;
}

UBYTE4 SVC::Expr2ReadMemory(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, UBYTE4 count,
                            void* buffer)
{
    EXPR2_READ_MEMORY slot = requireSlot(serviceTable.Expr2ReadMemory, __PRETTY_FUNCTION__, __LINE__);
    UBYTE4 bytesRead = 0;
    int rc = returnCode(slot(ctx, address, count, buffer, &bytesRead));
    // A host that claims more than was asked has read what was asked.
    if (bytesRead > count)
        bytesRead = count;
    if (traceFlag)
        fTrace(__PRETTY_FUNCTION__, __LINE__, "Read %d bytes from location %s; rc = %d",
               static_cast<int>(count), AddressText(address).text, rc);
    // Every short read leaves defined bytes behind it: the rest is zeroed.
    auto zeroTail = [&] {
        if (buffer != nullptr && bytesRead < count)
            std::memset(static_cast<unsigned char*>(buffer) + bytesRead, 0, count - bytesRead);
    };
    if (rc == 0 || (rc == 6 && bytesRead != 0)) {
        zeroTail();
        return bytesRead;
    }
    if (rc == 6)
        throwError(rc, __PRETTY_FUNCTION__, __LINE__,
                   "Failed ERROR_InvalidNumBytes.  Address = %s, Bytecount = %d",
                   AddressText(address).text, static_cast<int>(count));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Address = %s, Bytecount = %d",
               AddressText(address).text, static_cast<int>(count));
    return 0;
}

UBYTE4 SVC::Expr2WriteMemory(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, UBYTE4 count,
                             const void* buffer)
{
    EXPR2_WRITE_MEMORY slot = requireSlot(serviceTable.Expr2WriteMemory, __PRETTY_FUNCTION__, __LINE__);
    UBYTE4 written = 0;
    int rc = returnCode(slot(ctx, address, count, buffer, &written));
    if (traceFlag)
        fTrace(__PRETTY_FUNCTION__, __LINE__, "Write %d bytes to location %s; rc = %d",
               static_cast<int>(count), AddressText(address).text, rc);
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Address = %s, Bytecount = %d.  Written = %d",
               AddressText(address).text, static_cast<int>(count), static_cast<int>(written));
    return written;
}

UBYTE2 SVC::ExprGetContextLocationType(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_CONTEXT_LOCATION_TYPE slot =
        requireSlot(serviceTable.ExprGetContextLocationType, __PRETTY_FUNCTION__, __LINE__);
    // Preset: a host that fails without answering leaves a defined 0.
    UBYTE2 type = 0;
    slot(ctx, &type);
    return type;
}

UBYTE4 SVC::ExprGetContainingContextInfo(const LCC_Eval_Context_Info* ctx,
                                         const LCC_Eval_Context_Info*& containing)
{
    EXPR_GET_CONTAINING_CONTEXT_INFO slot =
        requireSlot(serviceTable.ExprGetContainingContextInfo, __PRETTY_FUNCTION__, __LINE__);
    containing = nullptr;
    UBYTE4 result = 0;
    int rc = returnCode(slot(ctx, &containing, &result));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return result;
}

UBYTE2 SVC::ExprGetNumCallStackItems(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_NUM_CALL_STACK_ITEMS slot =
        requireSlot(serviceTable.ExprGetNumCallStackItems, __PRETTY_FUNCTION__, __LINE__);
    UBYTE2 count = 0;
    int rc = returnCode(slot(ctx, &count));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return count;
}

void SVC::Expr2GetCallStackEntry(const LCC_Eval_Context_Info* ctx, UBYTE2 item, CALLSTACK_ITEM2* entry)
{
    EXPR2_GET_CALL_STACK_ENTRY slot =
        requireSlot(serviceTable.Expr2GetCallStackEntry, __PRETTY_FUNCTION__, __LINE__);
    CALLSTACK_ITEM2 scratch{};
    if (entry == nullptr)
        entry = &scratch;
    int rc = returnCode(slot(ctx, item, entry));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Item = %d", static_cast<int>(item));
}

SYMBOL_ENTRY* SVC::ExprSearchForSymbolEntry(const LCC_Eval_Context_Info* ctx, UBYTE1* name, UBYTE4 kind,
                                            UBYTE4 symbolsToSearch)
{
    EXPR_SEARCH_FOR_SYMBOL_ENTRY slot =
        requireSlot(serviceTable.ExprSearchForSymbolEntry, __PRETTY_FUNCTION__, __LINE__);
    SYMBOL_ENTRY* entry = nullptr;
    int rc = returnCode(slot(ctx, name, kind, symbolsToSearch, &entry));
    fTrace(__PRETTY_FUNCTION__, __LINE__, "rc = %d", rc);
    if (rc == 8)
        return nullptr;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Symbol = \"%s\".  Symbols to Search = 0x%x",
               textOrEmpty(name), static_cast<unsigned>(symbolsToSearch));
    return entry;
}

SYMBOL_LIST* SVC::Expr2SearchForSymbolEntries(const LCC_Eval_Context_Info* ctx, UBYTE1* name,
                                              UBYTE4 kind, UBYTE4 symbolsToSearch)
{
    EXPR2_SEARCH_FOR_SYMBOL_ENTRIES slot =
        requireSlot(serviceTable.Expr2SearchForSymbolEntries, __PRETTY_FUNCTION__, __LINE__);
    SYMBOL_LIST* list = nullptr;
    int rc = returnCode(slot(ctx, name, kind, symbolsToSearch, &list));
    fTrace(__PRETTY_FUNCTION__, __LINE__, "rc = %d", rc);
    if (rc == 8)
        return nullptr;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Symbol = \"%s\".  Symbols to Search = 0x%x",
               textOrEmpty(name), static_cast<unsigned>(symbolsToSearch));
    return list;
}

SYMBOL_ENTRY* SVC::ExprGetBlockSymbol(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_BLOCK_SYMBOL slot = requireSlot(serviceTable.ExprGetBlockSymbol, __PRETTY_FUNCTION__, __LINE__);
    SYMBOL_ENTRY* entry = nullptr;
    int rc = returnCode(slot(ctx, &entry));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return entry;
}

bool SVC::ExprSymbolEntryWithinContext(SYMBOL_ENTRY& entry, const LCC_Eval_Context_Info* ctx)
{
    EXPR_SYMBOL_ENTRY_WITHIN_CONTEXT slot =
        requireSlot(serviceTable.ExprSymbolEntryWithinContext, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(&entry, ctx));
    if (rc == 8)
        return false;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return true;
}

EE_ADDR SVC::Expr2ComputeThreadStaticBase(const LCC_Eval_Context_Info* ctx)
{
    EXPR2_COMPUTE_THREAD_STATIC_BASE slot =
        requireSlot(serviceTable.Expr2ComputeThreadStaticBase, __PRETTY_FUNCTION__, __LINE__);
    EE_ADDR base{};
    int rc = returnCode(slot(ctx, &base));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return base;
}

EE_ADDR SVC::Expr2ComputeDWARFaddress(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length,
                                      const UBYTE8* base)
{
    EXPR2_COMPUTE_DWARF_ADDRESS slot =
        requireSlot(serviceTable.Expr2ComputeDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
    DwarfBase baseRecord(base);
    EE_ADDR result{};
    int rc = returnCode(slot(ctx, &result, loc, length, CurrentEnvironment::frameIndex(), baseRecord.pointer));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return result;
}

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const void* text,
                                         const UBYTE1* loc, UBYTE4 length, const UBYTE8* base)
{
    EXPR2_COMPUTE_ABS_DWARF_ADDRESS slot =
        requireSlot(serviceTable.Expr2ComputeAbsDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
    DwarfBase baseRecord(base);
    EE_ADDR result{};
    int rc = returnCode(slot(ctx, &result, loc, length, baseRecord.pointer));
    if (rc == 0)
        return result;
    if (text == nullptr)
        throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    if (rc == 26 && CurrentEnvironment::isCobol())
        throw InvalidOp(InvalidOp::RTRC_BadODOObjectValue, __PRETTY_FUNCTION__, __LINE__,
                        static_cast<const char*>(text));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "%s", static_cast<const char*>(text));
    return result;
}

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc,
                                         UBYTE4 length, const UBYTE8* base)
{
    return Expr2ComputeAbsDWARFaddress(ctx, nullptr, loc, length, base);
}

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const DwarfLocString& loc,
                                         const UBYTE8* base)
{
    return Expr2ComputeAbsDWARFaddress(ctx, nullptr, dwarfBlockBytes(&loc), loc.length, base);
}

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const DwarfLocation& loc,
                                         const UBYTE8* base)
{
    return Expr2ComputeAbsDWARFaddress(ctx, nullptr, loc.bytes, loc.length, base);
}

std::int64_t SVC::GetDwarfValue(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length,
                                const UBYTE8* base)
{
    DwarfBase baseRecord(base);
    EE_ADDR result{};
    int rc;
    if (CurrentEnvironment::frameIndex() < 0) {
        EXPR2_COMPUTE_ABS_DWARF_ADDRESS absolute =
            requireSlot(serviceTable.Expr2ComputeAbsDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
        rc = returnCode(absolute(ctx, &result, loc, length, baseRecord.pointer));
        if (rc != 0 && !CurrentEnvironment::isCobol()) {
            // One retry against the top frame, without a call-stack record.
            CALLSTACK_ITEM2 top{};
            Expr2GetCallStackEntry(ctx, 0, &top);
            CurrentEnvironment::setFrameIndex(-2);
            EXPR2_COMPUTE_DWARF_ADDRESS inFrame =
                requireSlot(serviceTable.Expr2ComputeDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
            result = EE_ADDR{};
            rc = returnCode(inFrame(top.context, &result, loc, length, CurrentEnvironment::frameIndex(),
                                    baseRecord.pointer));
        }
    } else {
        EXPR2_COMPUTE_DWARF_ADDRESS inFrame =
            requireSlot(serviceTable.Expr2ComputeDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
        rc = returnCode(inFrame(ctx, &result, loc, length, CurrentEnvironment::frameIndex(),
                                baseRecord.pointer));
    }
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    if (result.width == 32)
        return static_cast<std::int32_t>(result.addrLow);
    if (result.width == 64)
        return static_cast<std::int64_t>((static_cast<UBYTE8>(result.addrHigh) << 32) | result.addrLow);
    return 0;
}

bool SVC::Expr2GetTopStackEntry(const LCC_Eval_Context_Info* ctx, CALLSTACK_ITEM2* entry)
{
    EXPR2_GET_TOP_STACK_ENTRY slot = serviceTable.Expr2GetTopStackEntry;
    if (slot == nullptr) {
        fTrace(__PRETTY_FUNCTION__, __LINE__, "No test function - assuming isTOS = 1");
        return true;
    }
    Expr2GetCallStackEntry(ctx, 0, entry);
    UBYTE1 isTopOfStack = 0;
    int rc = returnCode(slot(ctx, &isTopOfStack));
    if (rc != 0) {
        fTrace(__PRETTY_FUNCTION__, __LINE__, "rc = %d; isTOS = 0", rc);
        return false;
    }
    fTrace(__PRETTY_FUNCTION__, __LINE__, "rc = 0; isTOS = %d", static_cast<int>(isTopOfStack));
    return isTopOfStack != 0;
}

UBYTE4 SVC::ExprGetSymbolEntries(const LCC_Eval_Context_Info* ctx, SYMBOL_ENTRY** buffer, UBYTE4 capacity)
{
    EXPR_GET_SYMBOL_ENTRIES slot = requireSlot(serviceTable.ExprGetSymbolEntries, __PRETTY_FUNCTION__, __LINE__);
    return slot(ctx, buffer, capacity);
}

EE_ADDR SVC::Expr2GetLinkAddress(const LCC_Eval_Context_Info* ctx, UBYTE1* symbol, UBYTE4 section)
{
    EXPR2_GET_LINK_ADDRESS slot = requireSlot(serviceTable.Expr2GetLinkAddress, __PRETTY_FUNCTION__, __LINE__);
    EE_ADDR address{};
    int rc = returnCode(slot(ctx, symbol, section, &address));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "%s, Symbol = \"%s\".  Section = 0x%x", "Failed",
               textOrEmpty(symbol), static_cast<unsigned>(section));
    return address;
}

void SVC::ExprCallFunction(const LCC_Eval_Context_Info* ctx, const void* function, UBYTE4 first,
                           UBYTE4 second, void* result, const List<ExprCallFunctionParm>& parms)
{
    EXPR_CALL_FUNCTION slot = requireSlot(serviceTable.ExprCallFunction, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, function, first, second, result, parms.count(),
                             parms.count() != 0 ? parms.items() : nullptr));
    if (rc == 0)
        return;
    if (rc == 17 && CurrentEnvironment::isCobol())
        throw InvalidOp(InvalidOp::RTRC_CallFunctionInvalid, __PRETTY_FUNCTION__, __LINE__,
                        static_cast<const char*>(function));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
}

CONTEXT_SCOPE2 SVC::ExprGetContextType2(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_CONTEXT_TYPE2 slot = requireSlot(serviceTable.ExprGetContextType2, __PRETTY_FUNCTION__, __LINE__);
    return static_cast<CONTEXT_SCOPE2>(slot(ctx) & 0xFFFF);
}

void SVC::Expr2GetKeyAddress(const LCC_Eval_Context_Info* ctx, void* key, EE_ADDR* out)
{
    EXPR2_GET_KEY_ADDRESS slot = requireSlot(serviceTable.Expr2GetKeyAddress, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, key, out));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Key = %p", key);
}

void SVC::Expr2NativeStackIndex(const LCC_Eval_Context_Info* ctx, UBYTE4 index, UBYTE4* native)
{
    EXPR2_NATIVE_STACK_INDEX slot = requireSlot(serviceTable.Expr2NativeStackIndex, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, index, native));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "StackIndex = %d, native %d", static_cast<int>(index),
               native != nullptr ? static_cast<int>(*native) : 0);
}

List<const LCC_Eval_Context_Info*> SVC::ExprGetContainedContexts(const LCC_Eval_Context_Info* ctx, UBYTE4 kind)
{
    EXPR_GET_CONTAINED_CONTEXTS slot =
        requireSlot(serviceTable.ExprGetContainedContexts, __PRETTY_FUNCTION__, __LINE__);
    UBYTE4 capacity = 50;
    std::vector<const LCC_Eval_Context_Info*> contexts(capacity, nullptr);
    UBYTE4 total = slot(ctx, contexts.data(), kind, capacity);
    while (total > capacity) {
        capacity = total;
        contexts.assign(capacity, nullptr);
        total = slot(ctx, contexts.data(), kind, capacity);
    }
    List<const LCC_Eval_Context_Info*> list;
    for (UBYTE4 i = 0; i < total; ++i)
        list.append(contexts[i]);
    return list;
}

bool SVC::ExprGetLinkName(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, const UBYTE1** first,
                          const UBYTE1** second, const UBYTE1** third)
{
    EXPR_GET_LINK_NAME slot = requireSlot(serviceTable.ExprGetLinkName, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, &address, first, second, third));
    if (rc == 8)
        return false;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return true;
}

TYPE_ENTRY* SVC::Expr2GetTypeByName(const LCC_Eval_Context_Info* ctx, const char* name, UBYTE1 flag)
{
    EXPR2_GET_TYPE_BY_NAME slot = requireSlot(serviceTable.Expr2GetTypeByName, __PRETTY_FUNCTION__, __LINE__);
    TYPE_ENTRY* entry = nullptr;
    int rc = returnCode(slot(ctx, name, flag, &entry));
    if (rc == 3)
        return nullptr;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return entry;
}

bool SVC::ExprGetCompilationSettingValue(const LCC_Eval_Context_Info* ctx, COMPILATION_SETTING_TYPE setting,
                                         COMPILATION_SETTING_VALUE* value)
{
    EXPR_GET_COMPILATION_SETTING_VALUE slot =
        requireSlot(serviceTable.ExprGetCompilationSettingValue, __PRETTY_FUNCTION__, __LINE__);
    return slot(ctx, setting, value) != 0;
}

bool SVC::ExprGetPlaybackMode()
{
    EXPR_GET_PLAYBACK_MODE slot = requireSlot(serviceTable.ExprGetPlaybackMode, __PRETTY_FUNCTION__, __LINE__);
    return (slot() & 0xFFFF) != 0;
}

UBYTE4 SVC::ExprGetPathPoint(UBYTE4* pathPoint)
{
    EXPR_GET_PATH_POINT slot = requireSlot(serviceTable.ExprGetPathPoint, __PRETTY_FUNCTION__, __LINE__);
    return slot(pathPoint);
}

void SVC::Expr2GetSessionId(const LCC_Eval_Context_Info* ctx, UBYTE4* sessionId)
{
    EXPR2_GET_SESSION_ID slot = requireSlot(serviceTable.Expr2GetSessionId, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, sessionId));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
}

BYTE4 SVC::ExprEbcdicConvert(const void* source, UBYTE2 sourceLength, void* target, UBYTE2 targetLength,
                             const char* codePage, Conversion conversion)
{
    EXPR_EBCDIC_CONVERT slot = requireSlot(serviceTable.ExprEbcdicConvert, __PRETTY_FUNCTION__, __LINE__);
    if (codePage == nullptr)
        codePage = CurrentEnvironment::ebcdicCodePageName();
    return slot(CurrentEnvironment::currentContext(), source, sourceLength, target, targetLength, codePage,
                conversion);
}

const char* SVC::ExprGetCodepage(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_CODEPAGE slot = serviceTable.ExprGetCodepage;
    if (slot == nullptr)
        return "";
    const char* name = slot(ctx);
    return name != nullptr ? name : "";
}

void* SVC::ExprGetRawDbgData(const LCC_Eval_Context_Info* ctx, UBYTE4* size)
{
    if (size != nullptr)
        *size = 0;
    EXPR_GET_RAW_DBG_DATA slot = serviceTable.ExprGetRawDbgData;
    if (slot == nullptr)
        return nullptr;
    return slot(ctx, size);
}

void SVC::ExprGetFileInfo(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, void* buffer, UBYTE4 size)
{
    EXPR_GET_FILE_INFO slot = requireSlot(serviceTable.ExprGetFileInfo, __PRETTY_FUNCTION__, __LINE__);
    BYTE4 result = slot(ctx, address, buffer, size);
    if (result >= 0)
        return;
    switch (result) {
    case -2:
        throwError(result, __PRETTY_FUNCTION__, __LINE__, "Invalid FCB at address = %s", AddressText(address).text);
        break;
    case -1:
        throwError(result, __PRETTY_FUNCTION__, __LINE__, "Invalid FIB");
        break;
    case -3:
        throwError(result, __PRETTY_FUNCTION__, __LINE__, "Buffer size %d is too small", static_cast<int>(size));
        break;
    default:
        throwError(result, __PRETTY_FUNCTION__, __LINE__, "Error getting file info");
        break;
    }
}
