// SVC: one wrapper per host service slot.

#include "services/SVC.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "HostRecordAccess.h"
#include "services/CurrentEnvironmentQueries.h"
#include "services/InvalidOp.h"
#include "services/SVCState.h"

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
                          (static_cast<unsigned long long>(address.addrHigh) << 32) | address.addrLow);
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

// The contained contexts one request may list, and how often the list is
// regrown when the host reports more than there is room for.
constexpr UBYTE4 containedContextsLimit = 1u << 20;
constexpr unsigned containedContextsRegrowths = 4;

std::uintptr_t traced(const void* pointer)
{
    return reinterpret_cast<std::uintptr_t>(pointer);
}

const char* textOrEmpty(const void* text)
{
    return text != nullptr ? static_cast<const char*>(text) : "";
}

} // namespace

DBG_VERSION_RECORD* SVC::debuggerVersion()
{
    // One record per thread: two requests asking at once never see each
    // other's half-written answer.
    thread_local DBG_VERSION_RECORD record{};
    record.version = 5;
    EXPR_DEBUGGER_VERSION slot = SVCState::table().debuggerVersion;
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
        fTrace(__PRETTY_FUNCTION__, __LINE__, "found typenode for type %lx(%d) in created types: %08" PRIxPTR,
               static_cast<unsigned long>(index.module), static_cast<int>(index.index), traced(created));
        return created;
    }
    EXPR_GET_TYPE_ENTRY slot = requireSlot(SVCState::table().ExprGetTypeEntry, __PRETTY_FUNCTION__, __LINE__);
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
    EXPR_QUERY_REGISTER_ID slot = requireSlot(SVCState::table().ExprQueryRegisterId, __PRETTY_FUNCTION__, __LINE__);
    UBYTEP id = 0;
    int rc = returnCode(slot(ctx, name, &id));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register = %s", textOrEmpty(name));
    return id;
}

void SVC::ExprQueryRegisterInfo(const LCC_Eval_Context_Info* ctx, UBYTEP id, UBYTE2* type, UBYTE2* bits)
{
    EXPR_QUERY_REGISTER_INFO slot = requireSlot(SVCState::table().ExprQueryRegisterInfo, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, id, type, bits));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register id = %d", static_cast<int>(id));
}

int SVC::ExprGetRegisterValue(const LCC_Eval_Context_Info* ctx, UBYTEP id, UBYTE1* buffer)
{
    EXPR_GET_REGISTER_VALUE slot = requireSlot(SVCState::table().ExprGetRegisterValue, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, id, buffer));
    if (rc == 0 || rc == 10 || rc == 12)
        return rc;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register id = %d", static_cast<int>(id));
    return rc;
}

void SVC::ExprSetRegisterValue(const LCC_Eval_Context_Info* ctx, UBYTEP id, const UBYTE1* buffer)
{
    EXPR_SET_REGISTER_VALUE slot = requireSlot(SVCState::table().ExprSetRegisterValue, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, id, buffer));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Register id = %d", static_cast<int>(id));
}

EE_ADDR SVC::Expr2MapSection(const LCC_Eval_Context_Info* ctx, UBYTE4 section)
{
    EXPR2_MAP_SECTION slot = requireSlot(SVCState::table().Expr2MapSection, __PRETTY_FUNCTION__, __LINE__);
    EE_ADDR address{};
    int rc = returnCode(slot(ctx, section, &address));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Section ID = %d", static_cast<int>(section));
    return address;
}

UBYTE4 SVC::Expr2ReadMemory(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, UBYTE4 count, void* buffer)
{
    EXPR2_READ_MEMORY slot = requireSlot(SVCState::table().Expr2ReadMemory, __PRETTY_FUNCTION__, __LINE__);
    UBYTE4 bytesRead = 0;
    int rc = returnCode(slot(ctx, address, count, buffer, &bytesRead));
    // A host that claims more than was asked has read what was asked.
    if (bytesRead > count)
        bytesRead = count;
    if (SVCState::tracing())
        fTrace(__PRETTY_FUNCTION__, __LINE__, "Read %d bytes from location %s; rc = %d", static_cast<int>(count),
               AddressText(address).text, rc);
    // Every short read leaves defined bytes behind it: the rest is zeroed.
    auto zeroTail = [&] {
        if (buffer != nullptr && bytesRead < count)
            std::memset(static_cast<unsigned char*>(buffer) + bytesRead, 0, count - bytesRead);
    };
    if (rc == 0 || (rc == 6 && bytesRead != 0)) {
        zeroTail();
        return bytesRead;
    }
    // A read the host could not do is a memory failure (the host's own
    // failures, such as a bad context, keep their codes), so that the user
    // is told the storage could not be read.
    try {
        if (rc == 6)
            throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Failed ERROR_InvalidNumBytes.  Address = %s, Bytecount = %d",
                       AddressText(address).text, static_cast<int>(count));
        throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Address = %s, Bytecount = %d", AddressText(address).text,
                   static_cast<int>(count));
    } catch (const InvalidOp& error) {
        if (error.code() != InvalidOp::RTRC_IntfRoutineFailed)
            throw;
        throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
    }
    return 0;
}

UBYTE4 SVC::Expr2WriteMemory(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, UBYTE4 count, const void* buffer)
{
    EXPR2_WRITE_MEMORY slot = requireSlot(SVCState::table().Expr2WriteMemory, __PRETTY_FUNCTION__, __LINE__);
    UBYTE4 written = 0;
    int rc = returnCode(slot(ctx, address, count, buffer, &written));
    if (SVCState::tracing())
        fTrace(__PRETTY_FUNCTION__, __LINE__, "Write %d bytes to location %s; rc = %d", static_cast<int>(count),
               AddressText(address).text, rc);
    try {
        throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Address = %s, Bytecount = %d.  Written = %d",
                   AddressText(address).text, static_cast<int>(count), static_cast<int>(written));
    } catch (const InvalidOp& error) {
        if (error.code() != InvalidOp::RTRC_IntfRoutineFailed)
            throw;
        throw InvalidOp(InvalidOp::RTRC_WriteMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
    }
    return written;
}

UBYTE2 SVC::ExprGetContextLocationType(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_CONTEXT_LOCATION_TYPE slot =
        requireSlot(SVCState::table().ExprGetContextLocationType, __PRETTY_FUNCTION__, __LINE__);
    // Preset: a host that fails without answering leaves a defined 0.
    UBYTE2 type = 0;
    slot(ctx, &type);
    return type;
}

UBYTE4 SVC::ExprGetContainingContextInfo(const LCC_Eval_Context_Info* ctx, const LCC_Eval_Context_Info*& containing)
{
    EXPR_GET_CONTAINING_CONTEXT_INFO slot =
        requireSlot(SVCState::table().ExprGetContainingContextInfo, __PRETTY_FUNCTION__, __LINE__);
    containing = nullptr;
    UBYTE4 result = 0;
    int rc = returnCode(slot(ctx, &containing, &result));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return result;
}

UBYTE2 SVC::ExprGetNumCallStackItems(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_NUM_CALL_STACK_ITEMS slot =
        requireSlot(SVCState::table().ExprGetNumCallStackItems, __PRETTY_FUNCTION__, __LINE__);
    UBYTE2 count = 0;
    int rc = returnCode(slot(ctx, &count));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return count;
}

void SVC::Expr2GetCallStackEntry(const LCC_Eval_Context_Info* ctx, UBYTE2 item, CALLSTACK_ITEM2* entry)
{
    EXPR2_GET_CALL_STACK_ENTRY slot =
        requireSlot(SVCState::table().Expr2GetCallStackEntry, __PRETTY_FUNCTION__, __LINE__);
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
        requireSlot(SVCState::table().ExprSearchForSymbolEntry, __PRETTY_FUNCTION__, __LINE__);
    SYMBOL_ENTRY* entry = nullptr;
    int rc = returnCode(slot(ctx, name, kind, symbolsToSearch, &entry));
    fTrace(__PRETTY_FUNCTION__, __LINE__, "rc = %d", rc);
    if (rc == 8)
        return nullptr;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Symbol = \"%s\".  Symbols to Search = 0x%x", textOrEmpty(name),
               static_cast<unsigned>(symbolsToSearch));
    return entry;
}

SYMBOL_LIST* SVC::Expr2SearchForSymbolEntries(const LCC_Eval_Context_Info* ctx, UBYTE1* name, UBYTE4 kind,
                                              UBYTE4 symbolsToSearch)
{
    EXPR2_SEARCH_FOR_SYMBOL_ENTRIES slot =
        requireSlot(SVCState::table().Expr2SearchForSymbolEntries, __PRETTY_FUNCTION__, __LINE__);
    SYMBOL_LIST* list = nullptr;
    int rc = returnCode(slot(ctx, name, kind, symbolsToSearch, &list));
    fTrace(__PRETTY_FUNCTION__, __LINE__, "rc = %d", rc);
    if (rc == 8)
        return nullptr;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Symbol = \"%s\".  Symbols to Search = 0x%x", textOrEmpty(name),
               static_cast<unsigned>(symbolsToSearch));
    return list;
}

SYMBOL_ENTRY* SVC::ExprGetBlockSymbol(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_BLOCK_SYMBOL slot = requireSlot(SVCState::table().ExprGetBlockSymbol, __PRETTY_FUNCTION__, __LINE__);
    SYMBOL_ENTRY* entry = nullptr;
    int rc = returnCode(slot(ctx, &entry));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return entry;
}

bool SVC::ExprSymbolEntryWithinContext(SYMBOL_ENTRY& entry, const LCC_Eval_Context_Info* ctx)
{
    EXPR_SYMBOL_ENTRY_WITHIN_CONTEXT slot =
        requireSlot(SVCState::table().ExprSymbolEntryWithinContext, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(&entry, ctx));
    if (rc == 8)
        return false;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return true;
}

EE_ADDR SVC::Expr2ComputeThreadStaticBase(const LCC_Eval_Context_Info* ctx)
{
    EXPR2_COMPUTE_THREAD_STATIC_BASE slot =
        requireSlot(SVCState::table().Expr2ComputeThreadStaticBase, __PRETTY_FUNCTION__, __LINE__);
    EE_ADDR base{};
    int rc = returnCode(slot(ctx, &base));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return base;
}

EE_ADDR SVC::Expr2ComputeDWARFaddress(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length,
                                      const UBYTE8* base)
{
    EXPR2_COMPUTE_DWARF_ADDRESS slot =
        requireSlot(SVCState::table().Expr2ComputeDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
    DwarfBase baseRecord(base);
    EE_ADDR result{};
    int rc = returnCode(slot(ctx, &result, loc, length, CurrentEnvironment::frameIndex(), baseRecord.pointer));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return result;
}

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const void* text, const UBYTE1* loc,
                                         UBYTE4 length, const UBYTE8* base)
{
    EXPR2_COMPUTE_ABS_DWARF_ADDRESS slot =
        requireSlot(SVCState::table().Expr2ComputeAbsDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
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

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length,
                                         const UBYTE8* base)
{
    return Expr2ComputeAbsDWARFaddress(ctx, nullptr, loc, length, base);
}

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const DwarfLocString& loc,
                                         const UBYTE8* base)
{
    return Expr2ComputeAbsDWARFaddress(ctx, nullptr, dwarfBlockBytes(&loc), loc.length, base);
}

EE_ADDR SVC::Expr2ComputeAbsDWARFaddress(const LCC_Eval_Context_Info* ctx, const DwarfLocation& loc, const UBYTE8* base)
{
    return Expr2ComputeAbsDWARFaddress(ctx, nullptr, loc.bytes, loc.length, base);
}

std::int64_t SVC::GetDwarfValue(const LCC_Eval_Context_Info* ctx, const UBYTE1* loc, UBYTE4 length, const UBYTE8* base)
{
    DwarfBase baseRecord(base);
    EE_ADDR result{};
    int rc;
    if (CurrentEnvironment::frameIndex() < 0) {
        EXPR2_COMPUTE_ABS_DWARF_ADDRESS absolute =
            requireSlot(SVCState::table().Expr2ComputeAbsDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
        rc = returnCode(absolute(ctx, &result, loc, length, baseRecord.pointer));
        if (rc != 0 && !CurrentEnvironment::isCobol()) {
            // One retry against the top frame, without a call-stack record.
            CALLSTACK_ITEM2 top{};
            Expr2GetCallStackEntry(ctx, 0, &top);
            CurrentEnvironment::setFrameIndex(-2);
            EXPR2_COMPUTE_DWARF_ADDRESS inFrame =
                requireSlot(SVCState::table().Expr2ComputeDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
            result = EE_ADDR{};
            rc = returnCode(
                inFrame(top.context, &result, loc, length, CurrentEnvironment::frameIndex(), baseRecord.pointer));
        }
    } else {
        EXPR2_COMPUTE_DWARF_ADDRESS inFrame =
            requireSlot(SVCState::table().Expr2ComputeDWARFaddress, __PRETTY_FUNCTION__, __LINE__);
        rc = returnCode(inFrame(ctx, &result, loc, length, CurrentEnvironment::frameIndex(), baseRecord.pointer));
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
    EXPR2_GET_TOP_STACK_ENTRY slot = SVCState::table().Expr2GetTopStackEntry;
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

UBYTE4 SVC::ExprGetSymbolEntries(const LCC_Eval_Context_Info* ctx, SYMBOL_ENTRY** buffer, UBYTE4 capacity,
                                 UBYTE4* total)
{
    EXPR_GET_SYMBOL_ENTRIES slot = requireSlot(SVCState::table().ExprGetSymbolEntries, __PRETTY_FUNCTION__, __LINE__);
    UBYTE4 count = slot(ctx, buffer, capacity);
    if (total != nullptr)
        *total = count;
    // The host fills at most capacity entries, whatever total it reports.
    return count < capacity ? count : capacity;
}

EE_ADDR SVC::Expr2GetLinkAddress(const LCC_Eval_Context_Info* ctx, UBYTE1* symbol, UBYTE4 section)
{
    EXPR2_GET_LINK_ADDRESS slot = requireSlot(SVCState::table().Expr2GetLinkAddress, __PRETTY_FUNCTION__, __LINE__);
    EE_ADDR address{};
    int rc = returnCode(slot(ctx, symbol, section, &address));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "%s, Symbol = \"%s\".  Section = 0x%x", "Failed", textOrEmpty(symbol),
               static_cast<unsigned>(section));
    return address;
}

void SVC::ExprCallFunction(const LCC_Eval_Context_Info* ctx, const void* function, UBYTE4 first, UBYTE4 second,
                           void* result, const List<ExprCallFunctionParm>& parms)
{
    EXPR_CALL_FUNCTION slot = requireSlot(SVCState::table().ExprCallFunction, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(
        slot(ctx, function, first, second, result, parms.count(), parms.count() != 0 ? parms.items() : nullptr));
    if (rc == 0)
        return;
    if (rc == 17 && CurrentEnvironment::isCobol())
        throw InvalidOp(InvalidOp::RTRC_CallFunctionInvalid, __PRETTY_FUNCTION__, __LINE__,
                        static_cast<const char*>(function));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
}

CONTEXT_SCOPE2 SVC::ExprGetContextType2(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_CONTEXT_TYPE2 slot = requireSlot(SVCState::table().ExprGetContextType2, __PRETTY_FUNCTION__, __LINE__);
    return static_cast<CONTEXT_SCOPE2>(slot(ctx) & 0xFFFF);
}

void SVC::Expr2GetKeyAddress(const LCC_Eval_Context_Info* ctx, void* key, EE_ADDR* out)
{
    EXPR2_GET_KEY_ADDRESS slot = requireSlot(SVCState::table().Expr2GetKeyAddress, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, key, out));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "Key = %p", key);
}

void SVC::Expr2NativeStackIndex(const LCC_Eval_Context_Info* ctx, UBYTE4 index, UBYTE4* native)
{
    EXPR2_NATIVE_STACK_INDEX slot = requireSlot(SVCState::table().Expr2NativeStackIndex, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, index, native));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__, "StackIndex = %d, native %d", static_cast<int>(index),
               native != nullptr ? static_cast<int>(*native) : 0);
}

List<const LCC_Eval_Context_Info*> SVC::ExprGetContainedContexts(const LCC_Eval_Context_Info* ctx, UBYTE4 kind)
{
    EXPR_GET_CONTAINED_CONTEXTS slot =
        requireSlot(SVCState::table().ExprGetContainedContexts, __PRETTY_FUNCTION__, __LINE__);
    UBYTE4 capacity = 50;
    std::vector<const LCC_Eval_Context_Info*> contexts(capacity, nullptr);
    UBYTE4 total = slot(ctx, contexts.data(), kind, capacity);
    // The host reports its total; while that does not fit, ask again with
    // room for exactly that many. A host whose total keeps growing, or
    // passes what one request may hold, is refused rather than followed.
    for (unsigned regrowths = 0; total > capacity; ++regrowths) {
        if (total > containedContextsLimit || regrowths == containedContextsRegrowths) {
            char message[96];
            std::snprintf(message, sizeof message, "Contained contexts: %u reported, room for %u",
                          static_cast<unsigned>(total), static_cast<unsigned>(capacity));
            fTrace(__PRETTY_FUNCTION__, __LINE__, "%s", message);
            throw InvalidOp(InvalidOp::RTRC_IntfRoutineFailed, __PRETTY_FUNCTION__, __LINE__, message);
        }
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
    EXPR_GET_LINK_NAME slot = requireSlot(SVCState::table().ExprGetLinkName, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, &address, first, second, third));
    if (rc == 8)
        return false;
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
    return true;
}

TYPE_ENTRY* SVC::Expr2GetTypeByName(const LCC_Eval_Context_Info* ctx, const char* name, UBYTE1 flag)
{
    EXPR2_GET_TYPE_BY_NAME slot = requireSlot(SVCState::table().Expr2GetTypeByName, __PRETTY_FUNCTION__, __LINE__);
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
        requireSlot(SVCState::table().ExprGetCompilationSettingValue, __PRETTY_FUNCTION__, __LINE__);
    return slot(ctx, setting, value) != 0;
}

bool SVC::ExprGetPlaybackMode()
{
    EXPR_GET_PLAYBACK_MODE slot = requireSlot(SVCState::table().ExprGetPlaybackMode, __PRETTY_FUNCTION__, __LINE__);
    return (slot() & 0xFFFF) != 0;
}

UBYTE4 SVC::ExprGetPathPoint(UBYTE4* pathPoint)
{
    EXPR_GET_PATH_POINT slot = requireSlot(SVCState::table().ExprGetPathPoint, __PRETTY_FUNCTION__, __LINE__);
    return slot(pathPoint);
}

void SVC::Expr2GetSessionId(const LCC_Eval_Context_Info* ctx, UBYTE4* sessionId)
{
    EXPR2_GET_SESSION_ID slot = requireSlot(SVCState::table().Expr2GetSessionId, __PRETTY_FUNCTION__, __LINE__);
    int rc = returnCode(slot(ctx, sessionId));
    throwError(rc, __PRETTY_FUNCTION__, __LINE__);
}

BYTE4 SVC::ExprEbcdicConvert(const void* source, UBYTE2 sourceLength, void* target, UBYTE2 targetLength,
                             const char* codePage, Conversion conversion)
{
    EXPR_EBCDIC_CONVERT slot = requireSlot(SVCState::table().ExprEbcdicConvert, __PRETTY_FUNCTION__, __LINE__);
    if (codePage == nullptr)
        codePage = CurrentEnvironment::ebcdicCodePageName();
    return slot(CurrentEnvironment::currentContext(), source, sourceLength, target, targetLength, codePage, conversion);
}

const char* SVC::ExprGetCodepage(const LCC_Eval_Context_Info* ctx)
{
    EXPR_GET_CODEPAGE slot = SVCState::table().ExprGetCodepage;
    if (slot == nullptr)
        return "";
    const char* name = slot(ctx);
    return name != nullptr ? name : "";
}

void* SVC::ExprGetRawDbgData(const LCC_Eval_Context_Info* ctx, UBYTE4* size)
{
    if (size != nullptr)
        *size = 0;
    EXPR_GET_RAW_DBG_DATA slot = SVCState::table().ExprGetRawDbgData;
    if (slot == nullptr)
        return nullptr;
    return slot(ctx, size);
}

void SVC::ExprGetFileInfo(const LCC_Eval_Context_Info* ctx, const EE_ADDR& address, void* buffer, UBYTE4 size)
{
    EXPR_GET_FILE_INFO slot = requireSlot(SVCState::table().ExprGetFileInfo, __PRETTY_FUNCTION__, __LINE__);
    BYTE4 result = slot(ctx, address, buffer, size);
    if (result >= 0)
        return;
    switch (result) {
    case -2:
        throwError(result, __PRETTY_FUNCTION__, __LINE__, "Invalid FCB at address = %s", AddressText(address).text);
        break;
    case -1: throwError(result, __PRETTY_FUNCTION__, __LINE__, "Invalid FIB"); break;
    case -3:
        throwError(result, __PRETTY_FUNCTION__, __LINE__, "Buffer size %d is too small", static_cast<int>(size));
        break;
    default: throwError(result, __PRETTY_FUNCTION__, __LINE__, "Error getting file info"); break;
    }
}
