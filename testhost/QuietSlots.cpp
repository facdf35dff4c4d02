#include "testhost/QuietSlots.h"

#include <strings.h>

#include <cstring>

#include "testhost/TestHost.h"

namespace {

// The usual search, for the searches the quiet one leaves to it.
EXPR_SEARCH_FOR_SYMBOL_ENTRY usualSearch = nullptr;

int quietRead(EXPR_CTX, EE_ADDR address, UBYTE4 count, void* buffer, UBYTE4* bytesRead)
{
    TestHost* h = TestHost::current();
    if (h == nullptr || (address.width != 32 && address.width != 64))
        return 1;
    const UBYTE8 at = address.width == 32 ? address.addrLow : (UBYTE8(address.addrHigh) << 32) | address.addrLow;
    *bytesRead = h->memory().read(at, count, buffer);
    return *bytesRead == count ? 0 : 6;
}

int quietContextType(EXPR_CTX ctx)
{
    TestHost* h = TestHost::current();
    return h != nullptr ? h->record(ctx)->kind : 0;
}

int quietCallStackCount(EXPR_CTX ctx, UBYTE2* count)
{
    TestHost* h = TestHost::current();
    if (h == nullptr)
        return 1;
    *count = static_cast<UBYTE2>(h->callStack(h->record(ctx)).size());
    return 0;
}

int quietCallStackEntry(EXPR_CTX ctx, UBYTE2 item, CALLSTACK_ITEM2* entry)
{
    TestHost* h = TestHost::current();
    if (h == nullptr)
        return 1;
    const std::vector<CALLSTACK_ITEM2>& stack = h->callStack(h->record(ctx));
    if (item >= stack.size())
        return 1;
    *entry = stack[item];
    return 0;
}

int quietWithinContext(SYMBOL_ENTRY* entry, EXPR_CTX ctx)
{
    TestHost* h = TestHost::current();
    if (h == nullptr)
        return 1;
    for (const _SYMBOL_ENTRY* e : h->record(ctx)->symbols)
        if (e == entry)
            return 0;
    return 8;
}

bool ignoresCase(const LCC_Eval_Context_Info* ctx)
{
    for (const LCC_Eval_Context_Info* c = ctx; c != nullptr; c = c->container)
        if (c->caseInsensitive)
            return true;
    return false;
}

// The first symbol named name visible from ctx, searched as slot 18 does;
// a search that selects symbols by class is left to the usual slot.
int quietSearch(EXPR_CTX ctx, UBYTE1* name, UBYTE4 kind, UBYTE4 symbolsToSearch, SYMBOL_ENTRY** entry)
{
    TestHost* h = TestHost::current();
    if (symbolsToSearch != 0 && usualSearch != nullptr)
        return usualSearch(ctx, name, kind, symbolsToSearch, entry);
    if (h == nullptr || name == nullptr)
        return 1;
    const LCC_Eval_Context_Info* record = h->record(ctx);
    const char* wanted = reinterpret_cast<const char*>(name);
    const bool caseSensitive = kind != 0 && !ignoresCase(record);
    const std::string key = foldedName(wanted);
    for (const LCC_Eval_Context_Info* c = record; c != nullptr; c = c->container) {
        const auto named = c->symbolsByName.find(key);
        if (named == c->symbolsByName.end())
            continue;
        for (_SYMBOL_ENTRY* e : named->second) {
            const char* text = e->header.name;
            if (text != nullptr && (caseSensitive ? std::strcmp(text, wanted) : strcasecmp(text, wanted)) == 0) {
                *entry = e;
                return 0;
            }
        }
    }
    return 8;
}

} // namespace

void makeQuiet(TestHost& host)
{
    if (host.table().ExprSearchForSymbolEntry != &quietSearch)
        usualSearch = host.table().ExprSearchForSymbolEntry;
    host.table().Expr2ReadMemory = &quietRead;
    host.table().ExprGetContextType2 = &quietContextType;
    host.table().ExprGetNumCallStackItems = &quietCallStackCount;
    host.table().Expr2GetCallStackEntry = &quietCallStackEntry;
    host.table().ExprSymbolEntryWithinContext = &quietWithinContext;
    host.table().ExprSearchForSymbolEntry = &quietSearch;
}
