// The services object: declarations, declaration stores and names.

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_ImplicitMemberName.h"
#include "frontend/EE_Name.h"

EE_OstrelDeclaration* EE_OstrelServices::findOrCreateDeclaration(const SymbolItem* symbol, const char* name,
                                                                 EE_DeclarationStore* store)
{
    return new (arena) EE_OstrelDeclaration(*this, symbol, name, store);
}

EE_OstrelDeclaration* EE_OstrelServices::findOrCreateDeclaration(TemplateItem* item, const char* name,
                                                                 EE_DeclarationStore* store)
{
    return new (arena) EE_OstrelDeclaration(*this, item, name, store);
}

EE_OstrelDeclaration* EE_OstrelServices::findOrCreateDeclaration(const TypeItem* type, const char* name,
                                                                 EE_DeclarationStore* store)
{
    return new (arena) EE_OstrelDeclaration(*this, type, name, store);
}

EE_OstrelDeclaration* EE_OstrelServices::findOrCreateOstrelDeclaration(const TypeItem* type, const char* name,
                                                                       EE_DeclarationStore* store)
{
    return findOrCreateDeclaration(type, name, store);
}

const char* EE_OstrelServices::predefinedName(unsigned kind)
{
    // Kinds 11 to 45; the kinds after them have no name.
    static const char* const names[] = {
        "bool",
        "logical*2",
        "logical*4",
        "logical*8",
        "char",
        "signed char",
        "unsigned char",
        "signed short int",
        "unsigned short int",
        "signed int",
        "unsigned int",
        "signed long int",
        "unsigned long int",
        "signed long long int",
        "unsigned long long int",
        "float",
        "double",
        "long double",
        nullptr,
        nullptr,
        nullptr,
        "complex float",
        "complex double",
        "complex long double",
        nullptr,
        nullptr,
        nullptr,
        "void",
        "wchar_t",
        "_Decimal32",
        "_Decimal64",
        "_Decimal128",
        "decimal(m,n)",
        "fixed point binary",
        "array section(l:u:s)",
    };
    constexpr unsigned first = 11;
    if (kind < first || kind - first >= sizeof names / sizeof names[0])
        return nullptr;
    return names[kind - first];
}

EE_OstrelDeclaration* EE_OstrelServices::findOrCreatePredefinedDeclaration(const TypeItem* type,
                                                                           EE_TypeDescriptor& descriptor)
{
    if (descriptor.kind < 11 || descriptor.kind > EE_TypeDescriptor::LastKind)
        servicesRefuse();
    EE_OstrelDeclaration* declaration = findOrCreateDeclaration(type, predefinedName(descriptor.kind), global);
    declaration->typeDescriptor = &descriptor;
    return declaration;
}

EE_OstrelDeclarationStore* EE_OstrelServices::createGlobalDeclarationStore(const ScopeItem* fileScope)
{
    return stores.createGlobal(fileScope, *this, arena);
}

EE_OstrelDeclarationStore* EE_OstrelServices::findOrCreateDeclarationStore(const ScopeItem* s)
{
    if (scopeIsFile(s))
        return global;
    if (EE_OstrelDeclarationStore* found = stores.find(s))
        return found;
    EE_Name* name = nullptr;
    if (scopeIsClass(s))
        name = createName(*findOrCreateDeclaration(scopeType(s), scopeClassName(s), nullptr));
    return stores.findOrCreate(name, s, *this, arena);
}

EE_OstrelDeclarationStore* EE_OstrelServices::findOrCreateDeclarationStoreFromSymbol(const SymbolItem* symbol)
{
    return findOrCreateDeclarationStore(&present(symScope(symbol)));
}

EE_Name* EE_OstrelServices::createName(EE_Declaration& declaration)
{
    return new (arena) EE_Name(&arena, &declaration);
}

EE_BaseMemberName* EE_OstrelServices::createBaseMemberName(EE_Declaration& declaration, int typeOnly,
                                                           EE_DeclarationStore& store)
{
    EE_BaseMemberName* name = new (arena) EE_BaseMemberName(&arena, &declaration);
    if (typeOnly == 0)
        name->prependComponent(*createBaseNameLookupChainComponent(store));
    return name;
}

EE_BaseNameLookupChain* EE_OstrelServices::createBaseNameLookupChainComponent(EE_DeclarationStore& store)
{
    return new (arena) EE_BaseNameLookupChain(&store);
}

EE_ImplicitMemberName* EE_OstrelServices::createImplicitMemberName(EE_Expression* object, EE_Declaration& declaration)
{
    return new (arena) EE_ImplicitMemberName(&arena, &declaration, object);
}
