#ifndef NORVEXA_COMPILER_EE_OSTRELDECLARATION_H
#define NORVEXA_COMPILER_EE_OSTRELDECLARATION_H

#include "frontend/EE_Declaration.h"

class EE_OstrelServices;
class SymbolItem;
class TemplateItem;
class TypeItem;

// A declaration over the symbol model: a symbol, a template or a type, made
// in the services' arena (a new one for every call of the factories).
class EE_OstrelDeclaration : public EE_Declaration {
public:
    enum Kind : int {
        Symbol = 0,
        Template = 1,
        Type = 2
    };

    EE_OstrelDeclaration(EE_OstrelServices& services, const SymbolItem* symbol, const char* name,
                         EE_DeclarationStore* owner);
    EE_OstrelDeclaration(EE_OstrelServices& services, TemplateItem* item, const char* name, EE_DeclarationStore* owner);
    EE_OstrelDeclaration(EE_OstrelServices& services, const TypeItem* type, const char* name,
                         EE_DeclarationStore* owner);

    // The owning store when set; else the global store for a type that is no
    // class, the store around a class's scope, the store of a symbol's scope.
    // A template has none. The answer is kept as the owning store.
    EE_DeclarationStore* enclosingDeclarationStore() override;
    bool isBuiltinProcedure() const override;
    bool isProcedure() const override;
    bool isType() const override { return kind == Type; }
    bool isTemplate() const override { return kind == Template; }
    bool isSymbol() const override { return kind == Symbol; }
    // The store of the scope a class opens; null for anything else.
    EE_DeclarationStore* declarationStore() override;
    bool isConditionName() const override;
    bool isStaticMember() const override { return staticMember != 0; }
    // The descriptor of the type, or of the symbol's type; null for a template
    // and for a symbol without type.
    EE_TypeDescriptor* setTypeDescriptor() override;
    EE_TypeDescriptor* analyze() override;

    const SymbolItem* symbol() const { return kind == Symbol ? item.symbol : nullptr; }
    TemplateItem* templateItem() const { return kind == Template ? item.templateItem : nullptr; }
    const TypeItem* type() const { return kind == Type ? item.type : nullptr; }

    EE_OstrelServices& services;
    Kind kind;
    int staticMember; // -1 for a static member, else 0

private:
    union Item {
        const SymbolItem* symbol;
        TemplateItem* templateItem;
        const TypeItem* type;
    } item;
};

#endif
