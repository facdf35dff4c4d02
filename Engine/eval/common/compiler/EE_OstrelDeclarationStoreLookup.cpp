// Lookups of C and C++ names in a declaration store: one scope, a class with
// its bases, and a scope outward to the file scope.

#include <functional>

#include "compiler/BaseListIterator.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_String.h"

EE_OstrelDeclarationStore& EE_OstrelDeclarationStore::baseStore(const TypeItem* base)
{
    return present(services.findOrCreateDeclarationStore(&present(typeScope(base))));
}

EE_Declaration* EE_OstrelDeclarationStore::qualifiedLookup(const char* text, int typeOnly)
{
    trace("lookup: <%p> find '%s'\n", static_cast<const void*>(scope), text);
    if (typeOnly == 0) {
        if (const SymbolItem* symbol = symFindVar(text, scope)) {
            trace("lookup: <%p> found match (%d)\n", static_cast<const void*>(scope), 0);
            return services.findOrCreateDeclaration(symbol, text, this);
        }
    }
    if (const TypeItem* type = findNamedType(text, scope)) {
        trace("lookup: <%p> found match (%d)\n", static_cast<const void*>(scope), 1);
        EE_OstrelTypeDescriptor& descriptor = present(services.findOrCreateTypeDescriptor(type));
        if (descriptor.declaration != nullptr)
            return descriptor.declaration;
        EE_OstrelDeclaration* declaration = services.findOrCreateDeclaration(type, text, this);
        declaration->typeDescriptor = &descriptor;
        return declaration;
    }
    if (typeOnly == 0 && isTemplateName(text, scope)) {
        trace("lookup: <%p> found match (%d)\n", static_cast<const void*>(scope), 2);
        TemplateItem* item = startTemplateResolution(text, scope);
        if (item == nullptr)
            servicesRefuse();
        return services.findOrCreateDeclaration(item, text, this);
    }
    trace("lookup: <%p> not found match\n", static_cast<const void*>(scope));
    return nullptr;
}

EE_Name* EE_OstrelDeclarationStore::qualifiedScopeLookup(const char* text, int typeOnly)
{
    if (text == nullptr)
        servicesRefuse();
    EE_Declaration* found = qualifiedLookup(text, typeOnly);
    if (!isClassStore())
        return found != nullptr ? services.createName(*found) : nullptr;
    if (found != nullptr)
        return services.createBaseMemberName(*found, typeOnly, *this);
    EE_BaseMemberName* inBase = searchBases(text, typeOnly);
    if (inBase != nullptr && typeOnly == 0)
        inBase->prependComponent(*services.createBaseNameLookupChainComponent(*this));
    return inBase;
}

EE_BaseMemberName* EE_OstrelDeclarationStore::searchBases(const char* text, int typeOnly)
{
    if (!isClassStore())
        servicesRefuse();
    for (BaseListIterator bases(typeClassInfo(scopeType(scope)), services.storageArena()); !bases.atEnd();
         bases.advance()) {
        if (EE_Name* found = baseStore(bases.base()).qualifiedScopeLookup(text, typeOnly))
            return &present(found->asBaseMemberName());
    }
    return nullptr;
}

EE_Name* EE_OstrelDeclarationStore::searchOutward(const char* text,
                                                  const std::function<EE_Name*(EE_OstrelDeclarationStore&)>& inScope,
                                                  const std::function<EE_Name*(EE_OstrelDeclarationStore&)>& inOwner)
{
    trace("lookup: <%p> unqualified look up '%s'\n", static_cast<const void*>(scope), text != nullptr ? text : "");
    EE_OstrelDeclarationStore* s = this;
    for (;;) {
        if (EE_Name* found = inScope(*s))
            return found;
        if (s->isGlobal != 0) {
            trace("lookup: <%p> at global scope\n", static_cast<const void*>(s->scope));
            return nullptr;
        }
        if (inOwner) {
            if (EE_DeclarationStore* owner = s->owningClass()) {
                if (EE_Name* found = inOwner(static_cast<EE_OstrelDeclarationStore&>(*owner)))
                    return found;
            }
        }
        auto* next = static_cast<EE_OstrelDeclarationStore*>(&present(s->enclosingDeclarationStore()));
        trace("lookup: <%p> go to next scope <%p>\n", static_cast<const void*>(s->scope),
              static_cast<const void*>(next->scope));
        s = next;
    }
}

// A member function's scope, then its class with the class's bases and
// enclosing scopes, then the function's enclosing scopes.
EE_Name* EE_OstrelDeclarationStore::unqualifiedLookup(const char* text, int typeOnly)
{
    return searchOutward(
        text, [&](EE_OstrelDeclarationStore& s) { return s.qualifiedScopeLookup(text, typeOnly); },
        [&](EE_OstrelDeclarationStore& owner) { return owner.unqualifiedLookup(text, typeOnly); });
}

EE_Name* EE_OstrelDeclarationStore::unqualifiedScopeLookup(const char* text, int typeOnly)
{
    if (text == nullptr)
        servicesRefuse();
    return unqualifiedLookup(text, typeOnly);
}

EE_TypeDescriptor* EE_OstrelDeclarationStore::findTypeInScope(const EE_String& text)
{
    EE_Declaration* found = qualifiedLookup(text.data(), 1);
    if (found == nullptr || !found->isType())
        servicesRefuse();
    return found->typeDescriptor != nullptr ? found->typeDescriptor : found->setTypeDescriptor();
}

EE_BaseMemberName* EE_OstrelDeclarationStore::lookupBase(const EE_TypeDescriptor& base)
{
    bool ambiguous = false;
    EE_BaseMemberName* path = basePath(base, ambiguous);
    return ambiguous ? nullptr : path;
}

EE_BaseMemberName* EE_OstrelDeclarationStore::basePath(const EE_TypeDescriptor& base, bool& ambiguous)
{
    if (!isClassStore())
        servicesRefuse();
    const TypeItem* self = scopeType(scope);
    if (isSameType(EE_OstrelTypeDescriptor::typeOf(base), self))
        return services.createBaseMemberName(present(present(name).declaration), 0, *this);
    // Every base is searched: a second way to the base class (or one below
    // that is ambiguous already) leaves no single path.
    EE_BaseMemberName* found = nullptr;
    for (BaseListIterator bases(typeClassInfo(self), services.storageArena()); !bases.atEnd(); bases.advance()) {
        EE_BaseMemberName* path = baseStore(bases.base()).basePath(base, ambiguous);
        if (ambiguous || (path != nullptr && found != nullptr)) {
            ambiguous = true;
            return nullptr;
        }
        if (path != nullptr)
            found = path;
    }
    if (found != nullptr)
        found->prependComponent(*services.createBaseNameLookupChainComponent(*this));
    return found;
}

bool EE_OstrelDeclarationStore::prependBaseLookupChain(EE_BaseMemberName& member, EE_DeclarationStore& target,
                                                       int& flag)
{
    if (!isClassStore())
        return false;
    const ClassInfoBlock* info = typeClassInfo(scopeType(scope));
    if (info == nullptr)
        return false;
    bool hit = false;
    for (BaseListIterator bases(info, services.storageArena()); !bases.atEnd(); bases.advance()) {
        EE_OstrelDeclarationStore& store = baseStore(bases.base());
        if (!store.prependBaseLookupChain(member, target, flag) && &store != &target)
            continue;
        if (hit || flag != 0) {
            flag = 1;
            return true;
        }
        hit = true;
    }
    if (!hit)
        return false;
    member.prependComponent(*services.createBaseNameLookupChainComponent(*this));
    return true;
}
