// The callbacks of the simulated host's service table. Each one logs its
// call with decoded arguments, honours what the test programmed for its slot
// (an answer or a throw), and otherwise answers from the host's model.

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <mutex>

#include "testhost/CodePageConverter.h"
#include "testhost/DwarfExpression.h"
#include "testhost/HostLock.h"
#include "testhost/TestHost.h"

namespace {

std::string format(const char* f, ...) __attribute__((format(NORVEXA_PRINTF_FORMAT, 1, 2)));
std::string format(const char* f, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, f);
    std::vsnprintf(buffer, sizeof buffer, f, args);
    va_end(args);
    return buffer;
}

// The name a context handle is logged under: "null", the name of a context
// the host made, or "unknown" for a handle it did not make.
std::string ctxName(EXPR_CTX ctx)
{
    if (ctx == nullptr)
        return "null";
    const TestHost* h = TestHost::current();
    return h != nullptr && h->record(ctx) == ctx ? ctx->name : "unknown";
}

UBYTE8 addressValue(const EE_ADDR& a)
{
    return a.width == 32 ? a.addrLow : (UBYTE8(a.addrHigh) << 32) | a.addrLow;
}

bool validAddress(const EE_ADDR& a)
{
    return a.width == 32 || a.width == 64;
}

std::string addressText(const EE_ADDR& a)
{
    if (!validAddress(a))
        return format("invalid(%u)", static_cast<unsigned>(a.width));
    return format("0x%" PRIx64 "/%u", static_cast<std::uint64_t>(addressValue(a)), static_cast<unsigned>(a.width));
}

const char* text(const void* p)
{
    return p != nullptr ? static_cast<const char*>(p) : "(null)";
}

bool sameName(const char* a, const char* b, bool caseSensitive)
{
    if (a == nullptr || b == nullptr)
        return false;
    return caseSensitive ? std::strcmp(a, b) == 0 : strcasecmp(a, b) == 0;
}

// True when ctx (a record of the host) is context or lies inside it.
bool within(EXPR_CTX ctx, EXPR_CTX context)
{
    for (EXPR_CTX c = ctx; c != nullptr; c = c->container)
        if (c == context)
            return true;
    return false;
}

// True when a context record, or one of its containers, matches names
// regardless of case.
bool ignoresCase(EXPR_CTX ctx)
{
    for (EXPR_CTX c = ctx; c != nullptr; c = c->container)
        if (c->caseInsensitive)
            return true;
    return false;
}

} // namespace

struct HostSlots {
    static TestHost* host() { return TestHost::current(); }

    static int debuggerVersion(void* record)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_debuggerVersion, format("record=%p", record)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        auto* v = static_cast<DBG_VERSION_RECORD*>(record);
        UBYTE2 version = v->version;
        *v = h->_version;
        if (v->version == 0)
            v->version = version;
        return 0;
    }

    static int getTypeEntry(EXPR_CTX ctx, UBYTE4 module, UBYTE4 index, TYPE_ENTRY** entry)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r =
                h->enter(HS_ExprGetTypeEntry, format("ctx=%s type={0x%x,%u}", ctxName(ctx).c_str(), module, index)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *entry = h->_records.type(TYPE_INDEX{module, index});
        return *entry != nullptr ? 0 : 1;
    }

    static int queryRegisterId(EXPR_CTX ctx, UBYTE1* name, UBYTEP* id)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprQueryRegisterId, format("ctx=%s name=%s", ctxName(ctx).c_str(), text(name))))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        for (const auto& [key, reg] : h->_registers)
            if (name != nullptr && strcasecmp(reg.name.c_str(), reinterpret_cast<const char*>(name)) == 0) {
                *id = key;
                return 0;
            }
        return 1;
    }

    static int queryRegisterInfo(EXPR_CTX ctx, UBYTEP id, UBYTE2* type, UBYTE2* bits)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprQueryRegisterInfo, format("ctx=%s id=%" PRIuPTR, ctxName(ctx).c_str(), id)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        TestHost::Register* reg = h->findRegister(id);
        if (reg == nullptr)
            return 1;
        *type = reg->type;
        *bits = reg->bits;
        return 0;
    }

    static int getRegisterValue(EXPR_CTX ctx, UBYTEP id, UBYTE1* buffer)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprGetRegisterValue, format("ctx=%s id=%" PRIuPTR, ctxName(ctx).c_str(), id)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        TestHost::Register* reg = h->findRegister(id);
        if (reg == nullptr)
            return 1;
        size_t n = (reg->bits + 7u) / 8u;
        for (size_t i = 0; i < n; ++i)
            buffer[i] = i < sizeof reg->value ? reg->value[i] : 0;
        return 0;
    }

    static int setRegisterValue(EXPR_CTX ctx, UBYTEP id, const UBYTE1* buffer)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprSetRegisterValue, format("ctx=%s id=%" PRIuPTR, ctxName(ctx).c_str(), id)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        TestHost::Register* reg = h->findRegister(id);
        if (reg == nullptr)
            return 1;
        size_t n = (reg->bits + 7u) / 8u;
        std::memcpy(reg->value, buffer, n < sizeof reg->value ? n : sizeof reg->value);
        return 0;
    }

    static int mapSection(EXPR_CTX ctx, UBYTE4 section, EE_ADDR* address)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2MapSection, format("ctx=%s section=%u", ctxName(ctx).c_str(), section)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        auto it = h->_sections.find(section);
        if (it == h->_sections.end())
            return 1;
        *address = it->second;
        return 0;
    }

    static int readMemory(EXPR_CTX ctx, EE_ADDR address, UBYTE4 count, void* buffer, UBYTE4* bytesRead)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2ReadMemory, format("ctx=%s address=%s count=%u", ctxName(ctx).c_str(),
                                                         addressText(address).c_str(), count)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        if (!validAddress(address))
            return 1;
        *bytesRead = h->_memory.read(addressValue(address), count, buffer);
        return *bytesRead == count ? 0 : 6;
    }

    static int writeMemory(EXPR_CTX ctx, EE_ADDR address, UBYTE4 count, const void* buffer, UBYTE4* written)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2WriteMemory, format("ctx=%s address=%s count=%u", ctxName(ctx).c_str(),
                                                          addressText(address).c_str(), count)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        if (!validAddress(address))
            return 1;
        *written = h->_memory.write(addressValue(address), count, buffer);
        return (*written == 0 && count != 0) ? 6 : 0;
    }

    static int contextLocationType(EXPR_CTX ctx, UBYTE2* type)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprGetContextLocationType, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *type = ctx->locationType;
        return 0;
    }

    static int containingContext(EXPR_CTX ctx, EXPR_CTX* containing, UBYTE4* result)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprGetContainingContextInfo, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *containing = ctx->container;
        *result = ctx->containingResult;
        return 0;
    }

    static int numCallStackItems(EXPR_CTX ctx, UBYTE2* count)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprGetNumCallStackItems, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *count = static_cast<UBYTE2>(h->callStack(ctx).size());
        return 0;
    }

    static int callStackEntry(EXPR_CTX ctx, UBYTE2 item, CALLSTACK_ITEM2* entry)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2GetCallStackEntry, format("ctx=%s item=%u", ctxName(ctx).c_str(), item)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        const std::vector<CALLSTACK_ITEM2>& stack = h->callStack(ctx);
        if (item >= stack.size())
            return 1;
        *entry = stack[item];
        return 0;
    }

    // The entries named `name` visible from ctx (a record of the host): its
    // own, then its containers' (innermost first), among the symbols that
    // symbolsToSearch selects (0: every symbol).
    static std::vector<_SYMBOL_ENTRY*> search(TestHost* h, EXPR_CTX ctx, const UBYTE1* name, bool caseSensitive,
                                              UBYTE4 symbolsToSearch)
    {
        std::vector<_SYMBOL_ENTRY*> found;
        const std::string key = foldedName(reinterpret_cast<const char*>(name));
        for (EXPR_CTX c = ctx; c != nullptr; c = c->container) {
            const auto named = c->symbolsByName.find(key);
            if (named == c->symbolsByName.end())
                continue;
            for (_SYMBOL_ENTRY* e : named->second) {
                auto classes = h->_searchClasses.find(e);
                if (symbolsToSearch != 0 && classes != h->_searchClasses.end() &&
                    (classes->second & symbolsToSearch) == 0)
                    continue;
                if (sameName(e->header.name, reinterpret_cast<const char*>(name), caseSensitive))
                    found.push_back(e);
            }
        }
        return found;
    }

    // The trace text of a symbol search's arguments.
    static std::string searchArguments(EXPR_CTX ctx, const UBYTE1* name, UBYTE4 kind, UBYTE4 symbolsToSearch)
    {
        return format("ctx=%s name=%s caseSensitive=%u symbolsToSearch=0x%x", ctxName(ctx).c_str(), text(name), kind,
                      symbolsToSearch);
    }

    static int searchSymbol(EXPR_CTX ctx, UBYTE1* name, UBYTE4 kind, UBYTE4 symbolsToSearch, SYMBOL_ENTRY** entry)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprSearchForSymbolEntry, searchArguments(ctx, name, kind, symbolsToSearch)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        // Slot 18's first word is the evaluator's case switch (0: ignore case).
        std::vector<_SYMBOL_ENTRY*> found = search(h, ctx, name, kind != 0 && !ignoresCase(ctx), symbolsToSearch);
        if (found.empty())
            return 8;
        *entry = found.front();
        return 0;
    }

    static int blockSymbol(EXPR_CTX ctx, SYMBOL_ENTRY** entry)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprGetBlockSymbol, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *entry = ctx->blockSymbol;
        return 0;
    }

    static int symbolWithinContext(SYMBOL_ENTRY* entry, EXPR_CTX ctx)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r =
                h->enter(HS_ExprSymbolEntryWithinContext,
                         format("entry=%s ctx=%s", entry ? text(entry->header.name) : "null", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        for (_SYMBOL_ENTRY* e : ctx->symbols)
            if (e == entry)
                return 0;
        return 8;
    }

    static int searchSymbols(EXPR_CTX ctx, UBYTE1* name, UBYTE4 kind, UBYTE4 symbolsToSearch, SYMBOL_LIST** list)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2SearchForSymbolEntries, searchArguments(ctx, name, kind, symbolsToSearch)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        // Slot 29's first word is no case switch: the context decides.
        (void)kind;
        std::vector<_SYMBOL_ENTRY*> found = search(h, ctx, name, !ignoresCase(ctx), symbolsToSearch);
        if (found.empty())
            return 8;
        *list = h->_records.symbolList(found);
        return 0;
    }

    static int threadStaticBase(EXPR_CTX ctx, EE_ADDR* base)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2ComputeThreadStaticBase, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *base = ctx->threadStaticBase;
        return 0;
    }

    static int evaluateDwarf(TestHost* h, EXPR_CTX ctx, EE_ADDR* result, const UBYTE1* loc, UBYTE4 length,
                             std::optional<UBYTE8> frameBase, const EE_ADDR* base)
    {
        dwarf::Inputs in;
        in.memory = &h->_memory;
        bool wide = ctx->locationType == 4;
        in.addressSize = wide ? 8 : 4;
        in.frameBase = frameBase;
        if (base != nullptr && validAddress(*base))
            in.objectAddress = addressValue(*base);
        dwarf::Result r = dwarf::evaluate(loc, length, in);
        if (!r.ok)
            return 1;
        UBYTE4 width = h->_dwarfWidth != 0 ? h->_dwarfWidth : (wide ? 64 : 32);
        *result = EE_ADDR{width, static_cast<UBYTE4>(r.value), static_cast<UBYTE4>(r.value >> 32)};
        return 0;
    }

    static int computeDwarfAddress(EXPR_CTX ctx, EE_ADDR* result, const UBYTE1* loc, UBYTE4 length, int frameIndex,
                                   const EE_ADDR* base)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2ComputeDWARFaddress,
                              format("ctx=%s length=%u frame=%d base=%s", ctxName(ctx).c_str(), length, frameIndex,
                                     base ? addressText(*base).c_str() : "null")))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        std::optional<UBYTE8> frameBase;
        const std::vector<CALLSTACK_ITEM2>& stack = h->callStack(ctx);
        if (frameIndex >= 0 && static_cast<size_t>(frameIndex) < stack.size())
            frameBase = addressValue(stack[frameIndex].stackBase);
        else
            frameBase = ctx->frameBase;
        return evaluateDwarf(h, ctx, result, loc, length, frameBase, base);
    }

    static int computeAbsDwarfAddress(EXPR_CTX ctx, EE_ADDR* result, const UBYTE1* loc, UBYTE4 length,
                                      const EE_ADDR* base)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r =
                h->enter(HS_Expr2ComputeAbsDWARFaddress, format("ctx=%s length=%u base=%s", ctxName(ctx).c_str(),
                                                                length, base ? addressText(*base).c_str() : "null")))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        // An absolute address needs no frame: a frame-relative expression
        // fails here.
        return evaluateDwarf(h, ctx, result, loc, length, std::nullopt, base);
    }

    static int topStackEntry(EXPR_CTX ctx, UBYTE1* isTopOfStack)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2GetTopStackEntry, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        const std::vector<CALLSTACK_ITEM2>& stack = h->callStack(ctx);
        *isTopOfStack = !stack.empty() && within(ctx, h->record(stack.front().context)) ? 1 : 0;
        return 0;
    }

    static UBYTE4 symbolEntries(EXPR_CTX ctx, SYMBOL_ENTRY** buffer, UBYTE4 capacity)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 0;
        if (auto r = h->enter(HS_ExprGetSymbolEntries, format("ctx=%s capacity=%u", ctxName(ctx).c_str(), capacity)))
            return static_cast<UBYTE4>(*r);
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        for (UBYTE4 i = 0; i < capacity && i < ctx->symbols.size(); ++i)
            buffer[i] = ctx->symbols[i];
        return static_cast<UBYTE4>(ctx->symbols.size());
    }

    static int linkAddress(EXPR_CTX ctx, UBYTE1* symbol, UBYTE4 section, EE_ADDR* address)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2GetLinkAddress,
                              format("ctx=%s symbol=%s section=%u", ctxName(ctx).c_str(), text(symbol), section)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        auto it = h->_linkAddresses.find({text(symbol), section});
        if (it == h->_linkAddresses.end())
            return 1;
        *address = it->second;
        return 0;
    }

    static int callFunction(EXPR_CTX ctx, const void* function, UBYTE4 first, UBYTE4 second, void* result,
                            UBYTE4 parmCount, void* parms)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        (void)result;
        if (auto r =
                h->enter(HS_ExprCallFunction, format("ctx=%s function=%p words=%u,%u parms=%u at %p",
                                                     ctxName(ctx).c_str(), function, first, second, parmCount, parms)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        return 0;
    }

    static int contextType2(EXPR_CTX ctx)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 0;
        if (auto r = h->enter(HS_ExprGetContextType2, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        return ctx->kind;
    }

    static int keyAddress(EXPR_CTX ctx, void* key, EE_ADDR* address)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2GetKeyAddress, format("ctx=%s key=%p", ctxName(ctx).c_str(), key)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        auto it = h->_keys.find(key);
        if (it == h->_keys.end())
            return 1;
        *address = it->second;
        return 0;
    }

    static int nativeStackIndex(EXPR_CTX ctx, UBYTE4 index, UBYTE4* native)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2NativeStackIndex, format("ctx=%s index=%u", ctxName(ctx).c_str(), index)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        auto it = h->_nativeIndex.find(index);
        *native = it != h->_nativeIndex.end() ? it->second : index;
        return 0;
    }

    static UBYTE4 containedContexts(EXPR_CTX ctx, EXPR_CTX* contexts, UBYTE4 kind, UBYTE4 capacity)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 0;
        if (auto r = h->enter(HS_ExprGetContainedContexts,
                              format("ctx=%s kind=%u capacity=%u", ctxName(ctx).c_str(), kind, capacity)))
            return static_cast<UBYTE4>(*r);
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        UBYTE4 total = 0;
        for (EXPR_CTX c : ctx->contained)
            if (kind == 0 || c->kind == kind) {
                if (total < capacity)
                    contexts[total] = c;
                ++total;
            }
        return total;
    }

    static int linkName(EXPR_CTX ctx, const EE_ADDR* address, const UBYTE1** first, const UBYTE1** second,
                        const UBYTE1** third)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_ExprGetLinkName, format("ctx=%s address=%s", ctxName(ctx).c_str(),
                                                         address ? addressText(*address).c_str() : "null")))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        if (address == nullptr)
            return 1;
        auto it = h->_linkNames.find(addressValue(*address));
        if (it == h->_linkNames.end())
            return 8;
        auto out = [](const std::string& s) { return reinterpret_cast<const UBYTE1*>(s.c_str()); };
        if (first)
            *first = out(it->second.first);
        if (second)
            *second = out(it->second.second);
        if (third)
            *third = out(it->second.third);
        return 0;
    }

    static int typeByName(EXPR_CTX ctx, const char* name, UBYTE1 flag, TYPE_ENTRY** entry)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2GetTypeByName,
                              format("ctx=%s name=%s flag=%u", ctxName(ctx).c_str(), text(name), flag)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *entry = name != nullptr ? h->_records.typeByName(name) : nullptr;
        return *entry != nullptr ? 0 : 3;
    }

    static int compilationSetting(EXPR_CTX ctx, UBYTE4 setting, COMPILATION_SETTING_VALUE* value)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 0;
        if (auto r =
                h->enter(HS_ExprGetCompilationSettingValue, format("ctx=%s setting=%u", ctxName(ctx).c_str(), setting)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        auto it = h->_settings.find(setting);
        if (it == h->_settings.end() || value == nullptr)
            return 0;
        value->value = it->second;
        return 1;
    }

    static int playbackMode()
    {
        TestHost* h = host();
        if (h == nullptr)
            return 0;
        if (auto r = h->enter(HS_ExprGetPlaybackMode, ""))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        return h->_playback ? 1 : 0;
    }

    static UBYTE4 pathPoint(UBYTE4* point)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 0;
        if (auto r = h->enter(HS_ExprGetPathPoint, format("point=%p", static_cast<void*>(point))))
            return static_cast<UBYTE4>(*r);
        HostLock<std::recursive_mutex> model(h->_modelLock);
        if (point != nullptr)
            *point = h->_pathPoint;
        return h->_pathAnswer;
    }

    static int sessionId(EXPR_CTX ctx, UBYTE4* id)
    {
        TestHost* h = host();
        if (h == nullptr)
            return 1;
        if (auto r = h->enter(HS_Expr2GetSessionId, format("ctx=%s", ctxName(ctx).c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        *id = h->_sessionId;
        return 0;
    }

    static int ebcdicConvert(EXPR_CTX ctx, const void* source, UBYTE2 sourceLength, void* target, UBYTE2 targetLength,
                             const char* codePage, int conversion)
    {
        TestHost* h = host();
        if (h == nullptr)
            return -1;
        // The call log shows the source bytes in hex (at most 64).
        std::string bytes;
        const auto* sourceBytes = static_cast<const unsigned char*>(source);
        for (unsigned i = 0; sourceBytes != nullptr && i < sourceLength && i < 64; ++i)
            bytes += format("%02X", sourceBytes[i]);
        if (auto r = h->enter(HS_ExprEbcdicConvert,
                              format("ctx=%s sourceLength=%u targetLength=%u codePage=%s conversion=%d source=%s",
                                     ctxName(ctx).c_str(), sourceLength, targetLength, text(codePage), conversion,
                                     bytes.c_str())))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        if ((codePage == nullptr || *codePage == 0) && !h->_defaultCodePage.empty())
            codePage = h->_defaultCodePage.c_str();
        return codepage::convert(codePage, conversion, source, sourceLength, target, targetLength);
    }

    static const char* codepageName(EXPR_CTX ctx)
    {
        TestHost* h = host();
        if (h == nullptr)
            return nullptr;
        if (h->enter(HS_ExprGetCodepage, format("ctx=%s", ctxName(ctx).c_str())))
            return nullptr; // a programmed answer means "none"
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        if (ctx->codePage.empty())
            return h->_defaultCodePage.empty() ? nullptr : h->_defaultCodePage.c_str();
        return ctx->codePage.c_str();
    }

    static void* rawDebugData(EXPR_CTX ctx, UBYTE4* size)
    {
        TestHost* h = host();
        if (h == nullptr)
            return nullptr;
        if (h->enter(HS_ExprGetRawDbgData, format("ctx=%s", ctxName(ctx).c_str())))
            return nullptr;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        if (size != nullptr)
            *size = h->_rawSize;
        return h->_rawData;
    }

    static int fileInfo(EXPR_CTX ctx, EE_ADDR address, void* buffer, UBYTE4 size)
    {
        TestHost* h = host();
        if (h == nullptr)
            return -4;
        if (auto r = h->enter(HS_ExprGetFileInfo, format("ctx=%s address=%s size=%u", ctxName(ctx).c_str(),
                                                         addressText(address).c_str(), size)))
            return *r;
        HostLock<std::recursive_mutex> model(h->_modelLock);
        ctx = h->record(ctx);
        auto it = h->_fileInfo.find(addressValue(address));
        if (!validAddress(address) || it == h->_fileInfo.end())
            return -2;
        if (size < sizeof(FILE_INFORMATION))
            return -3;
        std::memcpy(buffer, &it->second, sizeof(FILE_INFORMATION));
        return 0;
    }
};

void TestHost::fillTable()
{
    _table = DBG2_SERVICE_FUNCTIONS{};
    _table.size = sizeof _table;
    _table.debuggerVersion = &HostSlots::debuggerVersion;
    _table.ExprGetTypeEntry = &HostSlots::getTypeEntry;
    _table.ExprQueryRegisterId = &HostSlots::queryRegisterId;
    _table.ExprQueryRegisterInfo = &HostSlots::queryRegisterInfo;
    _table.ExprGetRegisterValue = &HostSlots::getRegisterValue;
    _table.ExprSetRegisterValue = &HostSlots::setRegisterValue;
    _table.Expr2MapSection = &HostSlots::mapSection;
    _table.Expr2ReadMemory = &HostSlots::readMemory;
    _table.Expr2WriteMemory = &HostSlots::writeMemory;
    _table.ExprGetContextLocationType = &HostSlots::contextLocationType;
    _table.ExprGetContainingContextInfo = &HostSlots::containingContext;
    _table.ExprGetNumCallStackItems = &HostSlots::numCallStackItems;
    _table.Expr2GetCallStackEntry = &HostSlots::callStackEntry;
    _table.ExprSearchForSymbolEntry = &HostSlots::searchSymbol;
    _table.ExprGetBlockSymbol = &HostSlots::blockSymbol;
    _table.ExprSymbolEntryWithinContext = &HostSlots::symbolWithinContext;
    _table.Expr2SearchForSymbolEntries = &HostSlots::searchSymbols;
    _table.Expr2ComputeThreadStaticBase = &HostSlots::threadStaticBase;
    _table.Expr2TraceEnabled = &TestHost::traceEnabledSlot;
    _table.Expr2Trace = &TestHost::traceSlot;
    _table.Expr2TraceWithID = &TestHost::traceWithIdSlot;
    _table.Expr2ComputeDWARFaddress = &HostSlots::computeDwarfAddress;
    _table.Expr2ComputeAbsDWARFaddress = &HostSlots::computeAbsDwarfAddress;
    _table.Expr2GetTopStackEntry = &HostSlots::topStackEntry;
    _table.ExprGetSymbolEntries = &HostSlots::symbolEntries;
    _table.Expr2GetLinkAddress = &HostSlots::linkAddress;
    _table.ExprCallFunction = &HostSlots::callFunction;
    _table.ExprGetContextType2 = &HostSlots::contextType2;
    _table.Expr2GetKeyAddress = &HostSlots::keyAddress;
    _table.Expr2NativeStackIndex = &HostSlots::nativeStackIndex;
    _table.ExprGetContainedContexts = &HostSlots::containedContexts;
    _table.ExprGetLinkName = &HostSlots::linkName;
    _table.Expr2GetTypeByName = &HostSlots::typeByName;
    _table.ExprGetCompilationSettingValue = &HostSlots::compilationSetting;
    _table.ExprGetPlaybackMode = &HostSlots::playbackMode;
    _table.ExprGetPathPoint = &HostSlots::pathPoint;
    _table.Expr2GetSessionId = &HostSlots::sessionId;
    _table.ExprEbcdicConvert = &HostSlots::ebcdicConvert;
    _table.ExprGetCodepage = &HostSlots::codepageName;
    _table.ExprGetRawDbgData = &HostSlots::rawDebugData;
    _table.ExprGetFileInfo = &HostSlots::fileInfo;
}
