// The query interface: symbols and symbol lists.

#include <new>

#include "HostRecordAccess.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/SymbolList.h"
#include "types/SymbolListEntry.h"
#include "types/TypeItem.h"

namespace {

const char* truth(bool on)
{
    return on ? "True" : "False";
}

const char* scopeText(const ScopeItem* scope)
{
    return scope != nullptr ? scope->name() : "<null>";
}

std::uint32_t storageCode(const SymbolItem& symbol)
{
    return symbol.entry() != nullptr ? symbolEntryKind(*symbol.entry()) : 0xFFFFFFFFu;
}

// A variable or type lookup in a scope (none without scope); an InvalidOp of
// the model is the answer none.
const SymbolItem* lookup(const char* signature, unsigned line, const char* name, const ScopeItem* scope,
                         SymbolItem* (ScopeItem::*find)(const char*, int) const, const char* what)
{
    validateStringName(name, signature, line);
    const SymbolItem* symbol = nullptr;
    try {
        if (scope != nullptr)
            symbol = (scope->*find)(name, 1);
    } catch (const InvalidOp&) {
        NORVEXA_HANDLER_TRACE(signature, "Cannot find %s %s in scope %s", what, name, scopeText(scope));
        return nullptr;
    }
    NORVEXA_HANDLER_TRACE(signature, "handle = %p for %s %s in scope %s", static_cast<const void*>(symbol), what, name,
                          scopeText(scope));
    return symbol;
}

} // namespace

const SymbolInfoBlock* symInfo(const SymbolItem* symbol)
{
    return symbol != nullptr ? &symbol->memberLayout() : nullptr;
}

bool hasOwnerSymbol(const SymbolItem* symbol)
{
    return symbol != nullptr && symbol->ownerSymbol() != nullptr;
}

const char* symName(const SymbolItem* symbol)
{
    static const char signature[] = "const char* symName(const SymbolItem*)";
    if (symbol == nullptr) {
        NORVEXA_HANDLER_TRACE(signature, "Name = \"\"");
        return "";
    }
    NORVEXA_HANDLER_TRACE(signature, "Name = %s", symbol->name());
    return symbol->name();
}

const TypeItem* symType(const SymbolItem* symbol)
{
    static const char signature[] = "const TypeItem* symType(const SymbolItem*)";
    if (symbol == nullptr) {
        NORVEXA_HANDLER_TRACE(signature, "Called with null symbol handle");
        return nullptr;
    }
    const TypeItem* type = &symbol->dataType();
    NORVEXA_HANDLER_TRACE(signature, "Type of symbol %s is %s", symbol->name(), opcodehandlers::typeText(type));
    return type;
}

const ScopeItem* symScope(const SymbolItem* symbol)
{
    static const char signature[] = "const ScopeItem* symScope(const SymbolItem*)";
    NORVEXA_HANDLER_TRACE(signature, "Symbol = %s", opcodehandlers::symbolText(symbol));
    return symbol != nullptr ? &symbol->scope() : nullptr;
}

const ScopeItem* scopeClass(const SymbolItem* symbol)
{
    static const char signature[] = "const ScopeItem* scopeClass(const SymbolItem*)";
    NORVEXA_HANDLER_TRACE(signature, "Symbol = %s", opcodehandlers::symbolText(symbol));
    return symbol != nullptr ? &symbol->scope() : nullptr;
}

bool symIsConditionName(const SymbolItem* symbol)
{
    const bool answer = symbol != nullptr && symbol->isCondition();
    NORVEXA_HANDLER_TRACE("bool symIsConditionName(const SymbolItem*)", "symIsConditionName = %s", truth(answer));
    return answer;
}

// The hidden flag is the symbol's attribute A: set by the host for items
// that enclosed programs do not see.
bool symIsHiddenInEnclosedScopes(const SymbolItem* symbol)
{
    const bool answer = symbol != nullptr && symbol->attributeA();
    NORVEXA_HANDLER_TRACE("bool symIsHiddenInEnclosedScopes(const SymbolItem*)", "symIsHiddenInEnclosedScopes = %s",
                          truth(answer));
    return answer;
}

bool symIsBuiltinProcedure(const SymbolItem* symbol)
{
    const bool answer = symbol != nullptr && storageCode(*symbol) == SE_BUILTIN_PROCEDURE;
    NORVEXA_HANDLER_TRACE("bool symIsBuiltinProcedure(const SymbolItem*)", "symIsBuiltinProcedure = %s", truth(answer));
    return answer;
}

bool symIsProcedure(const SymbolItem* symbol)
{
    const bool answer =
        symbol != nullptr && (storageCode(*symbol) == SE_BUILTIN_PROCEDURE || storageCode(*symbol) == SE_FUNCTION);
    NORVEXA_HANDLER_TRACE("bool symIsProcedure(const SymbolItem*)", "symIsProcedure = %s", truth(answer));
    return answer;
}

const TypeItem* returnType(const SymbolItem* symbol)
{
    if (symbol == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, "const TypeItem* returnType(const SymbolItem*)", __LINE__);
    return symbol->functionReturnType();
}

// A built-in procedure whose result code 14 means "the type of its first
// argument".
bool isReturnTypeSameAsArg1(const SymbolItem* symbol)
{
    if (symbol == nullptr || storageCode(*symbol) != SE_BUILTIN_PROCEDURE)
        return false;
    return symbol->entry()->builtin.resultCode == 14;
}

const SymbolItem* symFindVar(const char* name, const ScopeItem* scope)
{
    return lookup("const SymbolItem* symFindVar(const Char*, const ScopeItem*)", __LINE__, name, scope,
                  &ScopeItem::findVariable, "variable");
}

const SymbolItem* symFindType(const char* name, const ScopeItem* scope)
{
    return lookup("const SymbolItem* symFindType(const Char*, const ScopeItem*)", __LINE__, name, scope,
                  &ScopeItem::findType, "type");
}

const TypeItem* findNamedType(const char* name, const ScopeItem* scope)
{
    static const char signature[] = "const TypeItem* findNamedType(const Char*, const ScopeItem*)";
    validateStringName(name, signature, __LINE__);
    validateScope(scope, signature, __LINE__);
    const SymbolItem* symbol = scope->findType(name, 1);
    if (symbol == nullptr) {
        NORVEXA_HANDLER_TRACE(signature, "Cannot find type %s in scope %s.", name, scopeText(scope));
        return nullptr;
    }
    const TypeItem* type = &symbol->dataType();
    NORVEXA_HANDLER_TRACE(signature, "Found type %s in scope %s.  Type handle = %p ", name, scopeText(scope),
                          static_cast<const void*>(type));
    return type;
}

int symbolValue(const SymbolItem* symbol, long long* value)
{
    if (symbol == nullptr || value == nullptr)
        return 0;
    try {
        *value = static_cast<long long>(symbol->constantValue());
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Symbol lists

SymbolList* listFindVars(const char* name, const ScopeItem* scope)
{
    if (name == nullptr || name[0] == '\0' || scope == nullptr)
        return nullptr;
    return scope->getFlattenedSymbolList(name);
}

unsigned listSize(const SymbolList* list)
{
    return list != nullptr ? list->count() : 0;
}

SymbolListEntry* listFirstVar(SymbolList* list)
{
    return list != nullptr ? list->setIteratorToFront() : nullptr;
}

SymbolListEntry* listNextVar(SymbolList* list)
{
    return list != nullptr ? list->advanceIterator() : nullptr;
}

const SymbolItem* listEntrySymbol(const SymbolListEntry* entry)
{
    return entry != nullptr ? entry->getSymbol() : nullptr;
}

unsigned listEntryNumberOfQualifiers(const SymbolListEntry* entry)
{
    return entry != nullptr ? entry->numberOfQualifiers() : 0;
}

const SymbolItem* listEntryNextQualifier(SymbolListEntry* entry)
{
    return entry != nullptr ? entry->advanceIteratorToNextQualifier() : nullptr;
}

const SymbolItem* listEntryClosestQualifier(SymbolListEntry* entry)
{
    return entry != nullptr ? entry->setIteratorToClosestQualifier() : nullptr;
}

const SymbolItem* listEntryOutermostQualifier(const SymbolListEntry* entry)
{
    return entry != nullptr ? entry->outermostQualifier() : nullptr;
}

void freeList(SymbolList*)
{
    // Lists belong to their scope.
}
