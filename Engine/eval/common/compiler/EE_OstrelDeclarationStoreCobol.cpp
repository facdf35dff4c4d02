// Lookup of COBOL data names: every item of the name in a scope, chosen by
// the qualifiers written after it (A OF B OF C).

#include <cstring>
#include <vector>

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_ImplicitMemberName.h"
#include "frontend/EE_MemberAccessList.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParseException.h"

namespace {

bool sameName(const SymbolItem* qualifier, const EE_String& written)
{
    const char* name = symName(qualifier);
    return name != nullptr && std::strlen(name) == written.length() &&
           std::memcmp(name, written.data(), written.length()) == 0;
}

const char* nameOrNull(const char* text)
{
    return text != nullptr ? text : "<null>";
}

} // namespace

EE_Name* EE_OstrelDeclarationStore::qualifiedScopeLookup(const char* text, EE_MemberAccessList& qualifiers)
{
    if (text == nullptr)
        servicesRefuse();
    SymbolList* candidates = listFindVars(text, scope);
    if (candidates == nullptr || listSize(candidates) == 0)
        return nullptr;
    struct Release {
        SymbolList* list;
        ~Release() { freeList(list); }
    } release{candidates};
    return bestMatch(candidates, scope, qualifiers);
}

EE_Name* EE_OstrelDeclarationStore::unqualifiedScopeLookup(const char* text, EE_MemberAccessList& qualifiers)
{
    return searchOutward(
        text, [&](EE_OstrelDeclarationStore& s) { return s.qualifiedScopeLookup(text, qualifiers); }, nullptr);
}

void EE_OstrelDeclarationStore::ambiguous(const SymbolItem* first)
{
    trace("Multiple matches");
    EE_String text(nameOrNull(symName(first)));
    throw EE_ParseException(EE_ParseException::AmbiguousSymbol, services.arenaText(text));
}

EE_Name* EE_OstrelDeclarationStore::bestMatch(SymbolList* candidates, const ScopeItem* where,
                                              EE_MemberAccessList& qualifiers)
{
    const bool completion = services.compilationSetting(6) != 0;
    const bool inCurrentStore = services.currentStore() == this;
    trace("start matching: size=%d", static_cast<int>(listSize(candidates)));

    SymbolListEntry* best = nullptr;
    const SymbolItem* first = nullptr;
    bool exactSeen = false;
    bool pending = false;
    for (SymbolListEntry* entry = listFirstVar(candidates); entry != nullptr; entry = listNextVar(candidates)) {
        const SymbolItem* symbol = listEntrySymbol(entry);
        if (first == nullptr)
            first = symbol;
        trace("candidate(%p):", static_cast<const void*>(symbol));
        const SymbolItem* q = listEntryClosestQualifier(entry);
        trace(" first qual='%s':", q != nullptr ? nameOrNull(symName(q)) : "<null>");
        if (!inCurrentStore) {
            const SymbolItem* outermost = listEntryOutermostQualifier(entry);
            if (symIsHiddenInEnclosedScopes(outermost != nullptr ? outermost : symbol))
                continue;
        }
        bool exact = true;
        bool skipped = false;
        for (const EE_MemberAccessList::Link* written = qualifiers.first; written != nullptr && !skipped;
             written = written->next) {
            trace("  qual='%s'", nameOrNull(written->qualifier.data()));
            if (q == nullptr) {
                skipped = true;
                break;
            }
            while (!sameName(q, written->qualifier)) {
                trace("    qh='%s'", nameOrNull(symName(q)));
                q = listEntryNextQualifier(entry);
                exact = false;
                if (q == nullptr) {
                    trace("    <end of qh>");
                    skipped = true;
                    break;
                }
            }
            if (skipped)
                break;
            trace("    *match qual*");
            q = listEntryNextQualifier(entry);
        }
        if (skipped)
            continue;
        if (q != nullptr) {
            exact = false;
        } else if (exact) {
            if (exactSeen)
                ambiguous(first);
            exactSeen = true;
        }
        trace("  **match**");
        if (best == nullptr) {
            best = entry;
            pending = false;
        } else if (!completion) {
            ambiguous(first);
        } else if (exact) {
            best = entry;
            pending = false;
        } else if (!exactSeen) {
            pending = true;
        }
    }
    if (pending)
        ambiguous(first);
    if (best == nullptr) {
        trace("No matches");
        return nullptr;
    }
    trace("Have a single best match");

    const SymbolItem* chosen = listEntrySymbol(best);
    if (services.isCobol() && !present(chosen).attributeD()) {
        trace("Not allocated");
        EE_String text(nameOrNull(symName(chosen)));
        throw EE_ParseException(EE_ParseException::NotAllocated, services.arenaText(text));
    }
    std::vector<const SymbolItem*> chain;
    for (const SymbolItem* q = listEntryClosestQualifier(best); q != nullptr; q = listEntryNextQualifier(best))
        chain.push_back(q);
    if (!chain.empty() && !hasOwnerSymbol(chosen)) {
        EE_OstrelDeclarationStore* own = services.findOrCreateDeclarationStore(&present(symScope(chosen)));
        EE_Declaration* declaration = services.findOrCreateDeclaration(chosen, symName(chosen), own);
        return services.createImplicitMemberName(memberAccessExpression(chain.data(), chain.size()), *declaration);
    }
    EE_OstrelDeclarationStore* store = services.findOrCreateDeclarationStore(where);
    return services.createName(*services.findOrCreateDeclaration(chosen, symName(chosen), store));
}

// The expression of the qualifiers from the closest outward: a qualifier
// that is not the last and has no owner symbol is a member of the
// expression of the qualifiers after it, so the outermost usable qualifier
// is the innermost node.
EE_Expression* EE_OstrelDeclarationStore::memberAccessExpression(const SymbolItem* const* qualifiers, std::size_t count)
{
    const SymbolItem* q = qualifiers[0];
    if (count > 1 && !hasOwnerSymbol(q)) {
        EE_Expression* object = memberAccessExpression(qualifiers + 1, count - 1);
        EE_OstrelDeclarationStore* own = services.findOrCreateDeclarationStore(&present(symScope(q)));
        EE_Name* member = services.createName(*services.findOrCreateDeclaration(q, symName(q), own));
        return services.createMemberExpression(EE_MemberExpression::Dot, object, member);
    }
    EE_Name* name = services.createName(*services.findOrCreateDeclaration(q, symName(q), this));
    return services.createNameExpression(name);
}
