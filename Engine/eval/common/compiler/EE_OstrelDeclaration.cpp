#include "compiler/EE_OstrelDeclaration.h"

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelServices.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_DeclarationStore.h"
#include "compiler/ServicesRefusal.h"

EE_OstrelDeclaration::EE_OstrelDeclaration(EE_OstrelServices& s, const SymbolItem* symbol, const char* name,
                                           EE_DeclarationStore* owner)
    : EE_Declaration(name, owner, s.storageArena()), services(s), kind(Symbol), staticMember(0)
{
    item.symbol = symbol;
    const SymbolInfoBlock* info = symInfo(symbol);
    if (info != nullptr && (info->flags & 1) != 0)
        staticMember = -1;
}

EE_OstrelDeclaration::EE_OstrelDeclaration(EE_OstrelServices& s, TemplateItem* templateItem, const char* name,
                                           EE_DeclarationStore* owner)
    : EE_Declaration(name, owner, s.storageArena()), services(s), kind(Template), staticMember(0)
{
    item.templateItem = templateItem;
}

EE_OstrelDeclaration::EE_OstrelDeclaration(EE_OstrelServices& s, const TypeItem* type, const char* name,
                                           EE_DeclarationStore* owner)
    : EE_Declaration(name, owner, s.storageArena()), services(s), kind(Type), staticMember(0)
{
    item.type = type;
}

bool EE_OstrelDeclaration::isBuiltinProcedure() const
{
    return kind == Symbol && symIsBuiltinProcedure(item.symbol);
}

bool EE_OstrelDeclaration::isProcedure() const
{
    return kind == Symbol && symIsProcedure(item.symbol);
}

bool EE_OstrelDeclaration::isConditionName() const
{
    return kind == Symbol && symIsConditionName(item.symbol);
}

EE_TypeDescriptor* EE_OstrelDeclaration::setTypeDescriptor()
{
    const TypeItem* t = nullptr;
    if (kind == Type)
        t = item.type;
    else if (kind == Symbol)
        t = symType(item.symbol);
    typeDescriptor = t != nullptr ? services.findOrCreateTypeDescriptor(t) : nullptr;
    return typeDescriptor;
}

EE_TypeDescriptor* EE_OstrelDeclaration::analyze()
{
    if (typeDescriptor == nullptr) {
        if (store == nullptr)
            servicesRefuse();
        typeDescriptor = store->findTypeInScope(*name);
    }
    return typeDescriptor;
}

EE_DeclarationStore* EE_OstrelDeclaration::declarationStore()
{
    if (kind != Type)
        return nullptr;
    if (typeDescriptor == nullptr)
        servicesRefuse();
    if (typeDescriptor->kind != EE_TypeDescriptor::Class)
        return nullptr;
    return services.findOrCreateDeclarationStore(&present(typeScope(item.type)));
}

EE_DeclarationStore* EE_OstrelDeclaration::enclosingDeclarationStore()
{
    if (store != nullptr)
        return store;
    switch (kind) {
    case Type:
        if (typeDescriptor != nullptr && typeDescriptor->kind == EE_TypeDescriptor::Class)
            store = services.findOrCreateDeclarationStore(&present(scopeContainer(&present(typeScope(item.type)))));
        else
            store = services.globalStore();
        break;
    case Symbol: store = services.findOrCreateDeclarationStore(&present(symScope(item.symbol))); break;
    default: servicesRefuse();
    }
    return store;
}
