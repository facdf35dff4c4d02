// The services object: name lookup from the current store, base-class
// paths, template instances and the return types of calls.

#include <cstring>

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_ExpressionEvaluator.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_TemplateArgument.h"
#include "services/InvalidOp.h"

const char* EE_OstrelServices::arenaText(const EE_String& text)
{
    char* copy = new (arena) char[text.length() + 1];
    if (text.length() > 0)
        std::memcpy(copy, text.data(), text.length());
    copy[text.length()] = '\0';
    return copy;
}

EE_Name* EE_OstrelServices::lookup(EE_String& name, EE_DeclarationStore* store, int typeOnly)
{
    if (store == nullptr)
        return present(current).unqualifiedScopeLookup(name.data(), typeOnly);
    return store->qualifiedScopeLookup(name.data(), typeOnly);
}

EE_Name* EE_OstrelServices::lookup(EE_String& name, EE_MemberAccessList& qualifiers, EE_DeclarationStore* store)
{
    if (store == nullptr)
        return present(current).unqualifiedScopeLookup(name.data(), qualifiers);
    return store->qualifiedScopeLookup(name.data(), qualifiers);
}

EE_BaseMemberName* EE_OstrelServices::lookupBase(const EE_TypeDescriptor& derived, const EE_TypeDescriptor& base)
{
    EE_DeclarationStore& store = present(present(derived.declaration).declarationStore());
    return static_cast<EE_OstrelDeclarationStore&>(store).lookupBase(base);
}

int EE_OstrelServices::prependBaseLookupChain(EE_BaseMemberName& name, EE_DeclarationStore& store, int& ambiguous)
{
    return present(current).prependBaseLookupChain(name, store, ambiguous) ? 1 : 0;
}

// The instance a template-id names: each argument is added to the
// template's resolution in order; arguments that do not fit answer null.
EE_Name* EE_OstrelServices::resolveTemplate(const EE_Name& name, EE_TemplateArgument* arguments)
{
    const auto* declaration = static_cast<const EE_OstrelDeclaration*>(name.declaration);
    if (declaration == nullptr || !declaration->isTemplate())
        servicesRefuse();
    TemplateItem* item = declaration->templateItem();
    for (EE_TemplateArgument* argument = arguments; argument != nullptr; argument = argument->next) {
        bool added = false;
        switch (argument->kind) {
        case EE_TemplateArgument::ExpressionArgument: {
            EE_ExpressionEvaluator analyser(*this);
            EE_Expression& analysed = present(analyser.analyze(present(argument->expression)));
            const long long value = computeIntegralConstant(analysed);
            added = addTemplateIntegerParm(item, static_cast<unsigned long long>(value),
                                           isSigned(present(analysed.typeDescriptor)));
            break;
        }
        case EE_TemplateArgument::TypeArgument: {
            const auto* type = static_cast<const EE_OstrelDeclaration*>(present(argument->type).declaration);
            if (type == nullptr || !type->isType())
                servicesRefuse();
            added = addTemplateTypeParm(item, type->type());
            break;
        }
        default: servicesRefuse();
        }
        if (!added)
            return nullptr;
    }
    const TemplateResolution resolved = ::resolveTemplate(item);
    if (resolved.symbol != nullptr) {
        const EE_String signature = name.signature();
        return createName(*findOrCreateDeclaration(resolved.symbol, signature.data(), global));
    }
    if (resolved.type != nullptr)
        return createName(present(present(findOrCreateTypeDescriptor(resolved.type)).declaration));
    return nullptr;
}

namespace {

// Return types a call can hand back: booleans, characters, integers, binary
// and hexadecimal floating point, complex, pointers, void, wchar_t and
// decimal floating point.
bool usableReturnKind(int kind)
{
    return (kind >= 0 && kind <= 24) || kind == 31 || kind == 32 || (kind >= 34 && kind <= 36) ||
           (kind >= 59 && kind <= 61);
}

// The model answers no type for a built-in procedure whose result code
// names none (the generic ones, typed by their argument): it refuses, which
// here means that the procedure has no return type of its own.
const TypeItem* declaredReturnType(const SymbolItem* symbol)
{
    if (!symIsBuiltinProcedure(symbol))
        return returnType(symbol);
    try {
        return returnType(symbol);
    } catch (const InvalidOp&) {
        return nullptr;
    }
}

bool isComplexKind(unsigned kind)
{
    return kind >= EE_TypeDescriptor::ComplexFloat && kind <= EE_TypeDescriptor::HexComplexLongDouble;
}

} // namespace

EE_TypeDescriptor* EE_OstrelServices::determineFunctionReturnType(EE_Name& callee, EE_TypeDescriptor* declared,
                                                                  EE_TypeDescriptor* argument)
{
    const auto* declaration = static_cast<const EE_OstrelDeclaration*>(callee.declaration);
    if (declaration == nullptr || !declaration->isSymbol())
        servicesRefuse();
    const SymbolItem* symbol = declaration->symbol();
    auto unusable = [&]() -> EE_TypeDescriptor* {
        throw EE_ParseException(EE_ParseException::NoReturnType, arenaText(callee.signature()));
    };
    if (argument != nullptr && isReturnTypeSameAsArg1(symbol))
        return argument;
    if (const TypeItem* type = declaredReturnType(symbol)) {
        if (!usableReturnKind(static_cast<int>(typeKind(type))))
            return unusable();
        return findOrCreateTypeDescriptor(type);
    }
    if (argument == nullptr)
        return declared != nullptr ? declared : unusable();
    if (declared == nullptr)
        return unusable();
    switch (declared->kind) {
    case EE_TypeDescriptor::GenericInteger:
        // The real type of a complex argument's parts.
        if (isComplexKind(argument->kind))
            return findOrCreatePredefinedTypeDescriptor(
                static_cast<EE_TypeDescriptor::Kind>(argument->kind -
                                                     (EE_TypeDescriptor::ComplexFloat - EE_TypeDescriptor::Float)),
                0);
        return argument;
    case EE_TypeDescriptor::GenericReal:
        if (isComplexKind(argument->kind))
            return findOrCreatePredefinedTypeDescriptor(static_cast<EE_TypeDescriptor::Kind>(argument->kind), 0);
        return argument;
    default: return unusable();
    }
}
