#include "compiler/EE_ExpressionEvaluator.h"
#include "compiler/EvaluatorSupport.h"

#include <initializer_list>

#include "compiler/EE_OstrelLiteralValue.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_FigConstant.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_LiteralValue.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParamType.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

namespace {

using TD = EE_TypeDescriptor;

using evaluator::isPointerKind;

EE_Expression& required(EE_Expression* e)
{
    if (e == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return *e;
}

const TD& requiredType(const TD* t)
{
    if (t == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return *t;
}

// C, C++ and UPC: the languages whose operators follow a C compiler's
// typing (promoted operand types, truth values of type int in C).
bool cFamily(EE_DebuggerServices& services)
{
    return !services.isCobol() && !services.isFortran();
}

// The characters of a string literal, narrow or wide, or of literals
// written side by side, added to count; false for any other operand.
bool literalCharacters(EE_DebuggerServices& services, EE_Expression& operand, long long& count)
{
    if (EE_BinaryExpression* joined = operand.asBinaryExpression()) {
        return joined->kind == EE_BinaryExpression::Concatenate && joined->left != nullptr &&
               joined->right != nullptr && literalCharacters(services, *joined->left, count) &&
               literalCharacters(services, *joined->right, count);
    }
    EE_LiteralExpression* literal = operand.asLiteralExpression();
    if (literal == nullptr || literal->value == nullptr || operand.typeDescriptor == nullptr ||
        operand.typeDescriptor->next == nullptr)
        return false;
    const bool wide = literal->value->kind == EE_LiteralValue::WideString;
    if (!wide && literal->value->kind != EE_LiteralValue::String)
        return false;
    // A wide literal's text holds its wchar_t units.
    long long unit = 1;
    if (wide && (!services.sizeOf(*operand.typeDescriptor->next, unit) || unit <= 0))
        throw EE_Exception(EE_Exception::InternalFailure, &operand);
    count += static_cast<long long>(static_cast<EE_OstrelLiteralValue*>(literal->value)->text.length()) / unit;
    return true;
}

// What sizeof measures in C: a truth value (a comparison, !, && or ||) is
// an int (in C++ a bool); a string literal (or literals side by side) is
// its array of characters, the terminating null included; a C++ reference
// is what it refers to. Another operand (a character literal, an int in C)
// is measured as it is. The measured type is an analyzed cast around the
// operand, which sizeof never evaluates.
EE_Expression& measuredAsInC(EE_DebuggerServices& services, EE_Expression& operand)
{
    const bool cpp = EE_currentLanguage() == EE_LanguageCPP;
    EE_TypeDescriptor* type = nullptr;
    long long characters = 0;
    if (operand.typeDescriptor != nullptr && operand.typeDescriptor->kind == TD::Reference) {
        type = operand.typeDescriptor->next;
        if (type == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure, &operand);
    } else if (operand.typeDescriptor != nullptr && operand.typeDescriptor->next != nullptr &&
               literalCharacters(services, operand, characters)) {
        EE_LiteralExpression* bound =
            services.createLiteralExpression(services.createIntegerLiteralValue(characters + 1));
        type = services.findOrCreateArrayTypeDescriptor(*operand.typeDescriptor->next, required(bound));
    } else if (operand.asLiteralExpression() == nullptr && !cpp) {
        bool truth = false;
        if (EE_BinaryExpression* binary = operand.asBinaryExpression())
            truth = binary->kind <= EE_BinaryExpression::LogicalAnd ||
                    (binary->kind >= EE_BinaryExpression::Equal && binary->kind <= EE_BinaryExpression::Less);
        else if (EE_UnaryExpression* unary = operand.asUnaryExpression())
            truth = unary->kind == EE_UnaryExpression::LogicalNot;
        if (truth)
            type = services.signedIntTypeDescriptor();
    }
    if (type == nullptr)
        return operand;
    EE_CastExpression* cast = services.createCastExpression(EE_CastExpression::Parenthesized, type, &operand);
    EE_Expression& measured = required(cast);
    measured.typeDescriptor = type;
    measured.analyzed = 1;
    return measured;
}

// A C bit field has no address of its own and no size in bytes: & and
// sizeof refuse it, naming it, as a C compiler does.
void refuseBitField(EE_DebuggerServices& services, EE_Expression& operand)
{
    if (cFamily(services) && operand.typeDescriptor != nullptr &&
        services.bitFieldPromotion(*operand.typeDescriptor) != nullptr)
        throw EE_Exception(EE_Exception::InvalidOperand, &operand);
}

EE_Expression& done(EE_Expression& node, EE_TypeDescriptor* type)
{
    if (type == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    node.typeDescriptor = type;
    node.analyzed = 1;
    return node;
}

} // namespace

void evaluator::refuseLogicalInArithmetic(EE_DebuggerServices& services, EE_Expression& operand)
{
    if (services.isFortran() && operand.typeDescriptor != nullptr && services.isLogical(*operand.typeDescriptor))
        throw EE_Exception(EE_Exception::UnexpectedType, &operand);
}

EE_TypeDescriptor* evaluator::wholeArrayNamed(EE_Expression& operand)
{
    EE_NameExpression* named = operand.asNameExpression();
    if (named == nullptr || named->name == nullptr || named->name->declaration == nullptr)
        return nullptr;
    EE_Declaration* declaration = named->name->declaration;
    if (named->name->asBaseMemberName() != nullptr && !declaration->isStaticMember())
        return nullptr;
    EE_TypeDescriptor* declared = declaration->setTypeDescriptor();
    return declared != nullptr && declared->kind == EE_TypeDescriptor::Array ? declared : nullptr;
}

EE_TypeDescriptor* EE_ExpressionEvaluator::typeOfName(EE_Name& name, LoadContext context)
{
    EE_Declaration* declaration = name.declaration;
    if (declaration == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    EE_TypeDescriptor* type = declaration->setTypeDescriptor();
    if (name.asBaseMemberName() != nullptr && !declaration->isStaticMember()) {
        // The class the member was found in, through the bases walked to it.
        EE_BaseNameLookupChain* link = name.baseLookupChain();
        while (link != nullptr && link->next != nullptr)
            link = link->next;
        if (link != nullptr && link->store != nullptr && link->store->name != nullptr &&
            link->store->name->declaration != nullptr)
            link->store->name->declaration->setTypeDescriptor();
    }
    if (type == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (context == LoadRootValue)
        return type;
    if (type->kind == TD::Reference || type->kind == TD::AddressOfReference) {
        if (type->next == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        type = type->next;
    }
    if (type->kind == TD::Array) {
        if (type->next == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        type = services.findOrCreatePointerTypeDescriptor(*type->next, 0);
    }
    return type;
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_NameExpression& node, LoadContext context)
{
    if (node.name == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return done(node, typeOfName(*node.name, context));
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_MemberExpression& node, LoadContext context)
{
    node.object = &analyze(required(node.object), node.kind == EE_MemberExpression::Dot ? LoadAddress : LoadValue);
    if (EE_Expression* expansion = services.expandConditionNameExpression(node, 0))
        return analyze(*expansion, context);
    if (node.member == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (services.isCobol() && node.implicitSubscript) {
        EE_Declaration* declaration = node.member->declaration;
        EE_TypeDescriptor* declared = declaration != nullptr ? declaration->setTypeDescriptor() : nullptr;
        if (declared != nullptr && declared->kind == TD::Array) {
            node.implicitSubscript = 0;
            EE_Expression* one = services.createLiteralExpression(services.createIntegerLiteralValue(1));
            EE_BinaryExpression* subscript =
                services.createBinaryExpression(EE_BinaryExpression::Subscript, &node, one);
            return *analyze(required(subscript));
        }
    }
    return done(node, typeOfName(*node.member, context));
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_ThisExpression& node, LoadContext context)
{
    if (context != LoadValue)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    EE_TypeDescriptor* type = node.typeDescriptor;
    if (type == nullptr || !isPointerKind(type->kind) || type->next == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (type->next->declaration != nullptr)
        type->next->declaration->setTypeDescriptor();
    return done(node, type);
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_LiteralExpression& node, LoadContext context)
{
    if (context != LoadValue)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    if (node.value == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return done(node, node.value->typeDescriptor());
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_FigConstantExpression& node, LoadContext context)
{
    if (context != LoadValue)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    if (node.value == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return done(node, node.value->typeDescriptor());
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_ImaginaryExpression& node, LoadContext context)
{
    if (context != LoadValue)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    return done(node, services.complexFloatTypeDescriptor());
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_ParenthesesExpression& node, LoadContext context)
{
    node.inner = &analyze(required(node.inner), context);
    return done(node, node.inner->typeDescriptor);
}

namespace {

// A C-style or static cast of a C++ class object to one of its base
// classes (met once in the object): the value is that base-class part.
bool castsToBaseClass(EE_DebuggerServices& services, const EE_CastExpression& node)
{
    if (node.kind != EE_CastExpression::Parenthesized && node.kind != EE_CastExpression::StaticCast)
        return false;
    const TD* target = node.typeDescriptor;
    const TD* from = node.operand != nullptr ? node.operand->typeDescriptor : nullptr;
    if (target == nullptr || from == nullptr || target->kind != TD::Class || from->kind != TD::Class ||
        from->declaration == nullptr || from->declaration->declarationStore() == nullptr)
        return false;
    try {
        return services.lookupBase(*from, *target) != nullptr;
    } catch (const EE_Exception&) {
        // Not a class with a class scope: no base to convert to.
        return false;
    }
}

} // namespace

EE_Expression& EE_ExpressionEvaluator::analyze(EE_CastExpression& node, LoadContext context)
{
    EE_TypeDescriptor* target = node.typeDescriptor;
    if (target == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (target->kind == TD::Reference && cFamily(services)) {
        // A cast to a reference is the object it refers to: (T&)x is the
        // object *(T*)&x, an lvalue of type T wherever it is used (read,
        // stored into, measured), and a reference to a base class the base
        // part that the same cast of the object's address finds. The
        // address of what cannot be addressed is refused as & refuses it.
        using UE = EE_UnaryExpression;
        EE_TypeDescriptor* referred = target->next;
        if (referred == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        EE_UnaryExpression* address = services.createUnaryExpression(UE::AddressOf, &required(node.operand));
        EE_CastExpression* pointer =
            services.createCastExpression(node.kind, services.findOrCreatePointerTypeDescriptor(*referred, 0), address);
        return analyze(required(services.createUnaryExpression(UE::Indirection, pointer)), context);
    }
    const bool byAddress =
        target->kind == TD::Reference || target->kind == TD::AddressOfReference || target->kind == TD::Class;
    node.operand = &analyze(required(node.operand), byAddress ? LoadAddress : context);
    if (cFamily(services)) {
        // No cast makes an array; a structure or union only from its own type
        // or, for a class, from a class derived from it, and in C++ alone.
        const bool aggregate = target->kind == TD::Class || target->kind == TD::Union;
        if (target->kind == TD::Array ||
            (aggregate &&
             (EE_currentLanguage() != EE_LanguageCPP || node.operand->typeDescriptor == nullptr ||
              (!services.isSameAs(*node.operand->typeDescriptor, *target) && !castsToBaseClass(services, node)))))
            throw EE_Exception(EE_Exception::UnexpectedType, &node);
    }
    return done(node, target);
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_SizeofTypeExpression& node, LoadContext context)
{
    if (context == LoadAddress)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    // The size of a reference type is that of the type it refers to.
    if (cFamily(services) && node.type != nullptr && node.type->kind == TD::Reference) {
        if (node.type->next == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure, &node);
        node.type = node.type->next;
    }
    return done(node, services.sizetTypeDescriptor());
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_ConditionalExpression& node, LoadContext context)
{
    EE_Expression& condition = analyze(required(node.condition), LoadValue);
    node.condition = &condition;
    if (!isPointerKind(condition.typeDescriptor->kind)) {
        if (!services.isArithmetic(*condition.typeDescriptor))
            throw EE_Exception(EE_Exception::UnexpectedType, &condition);
        node.condition = &convertedTo(services.boolTypeDescriptor(), analyze(integralPromotion(condition), LoadValue));
    }
    if (!services.supportsAssignment() && hasSideEffects(*node.condition))
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    node.whenTrue = &analyze(required(node.whenTrue), context);
    node.whenFalse = &analyze(required(node.whenFalse), context);
    const bool leftPointer = isPointerKind(node.whenTrue->typeDescriptor->kind);
    const bool rightPointer = isPointerKind(node.whenFalse->typeDescriptor->kind);
    if (!leftPointer && rightPointer) {
        node.whenTrue = &analyze(implicitCast(node.whenFalse->typeDescriptor, *node.whenTrue), context);
    } else if (leftPointer && rightPointer) {
        EE_TypeDescriptor* leftType = node.whenTrue->typeDescriptor;
        node.whenTrue = &analyze(pointerConversion(*node.whenTrue, *node.whenFalse->typeDescriptor), context);
        node.whenFalse = &analyze(pointerConversion(*node.whenFalse, *leftType), context);
        // Whichever is chosen, the value has the one type the result is given.
        if (node.whenFalse->typeDescriptor != node.whenTrue->typeDescriptor)
            node.whenFalse = &analyze(implicitCast(node.whenTrue->typeDescriptor, *node.whenFalse), context);
    } else if (leftPointer) {
        node.whenFalse = &analyze(implicitCast(node.whenTrue->typeDescriptor, *node.whenFalse), context);
    } else {
        // Two arithmetic branches meet at their common type as the operands of a
        // binary operator do, promoted first: the conversions know no type
        // narrower than int, so a short or char branch was refused.
        if (services.isArithmetic(*node.whenTrue->typeDescriptor) &&
            services.isArithmetic(*node.whenFalse->typeDescriptor)) {
            node.whenTrue = &analyze(integralPromotion(*node.whenTrue), context);
            node.whenFalse = &analyze(integralPromotion(*node.whenFalse), context);
        }
        node.whenTrue = &analyze(arithmeticConversion(*node.whenTrue, *node.whenFalse->typeDescriptor, 0), context);
        node.whenFalse = &analyze(arithmeticConversion(*node.whenFalse, *node.whenTrue->typeDescriptor, 0), context);
    }
    return done(node, node.whenTrue->typeDescriptor);
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_UnaryExpression& node, LoadContext context)
{
    using UE = EE_UnaryExpression;
    auto onlyValue = [&] {
        if (context != LoadValue)
            throw EE_Exception(EE_Exception::InternalFailure, &node);
    };
    switch (node.kind) {
    case UE::BitwiseNot: {
        onlyValue();
        EE_Expression& operand = analyze(*analyze(required(node.operand)), LoadValue);
        evaluator::refuseLogicalInArithmetic(services, operand);
        node.operand = &analyze(integralPromotion(operand), LoadValue);
        if (!services.isIntegral(*node.operand->typeDescriptor))
            throw EE_Exception(EE_Exception::InternalFailure, &node);
        return done(node, node.operand->typeDescriptor);
    }
    case UE::LogicalNot: {
        onlyValue();
        if (services.isCobol())
            requireCobolCondition(required(node.operand));
        EE_Expression& operand = analyze(*analyze(required(node.operand)), LoadValue);
        node.operand = &analyze(integralPromotion(operand), LoadValue);
        return done(node, services.boolTypeDescriptor());
    }
    case UE::Negate: {
        EE_Expression& operand = analyze(required(node.operand), context);
        evaluator::refuseLogicalInArithmetic(services, operand);
        EE_TypeDescriptor* own = operand.typeDescriptor;
        node.operand = &analyze(integralPromotion(operand), LoadValue);
        if (services.typeStoresDigits(*own)) {
            const EE_DecimalSign sign =
                own->kind == TD::NationalDecimal ? EE_DecimalSignLeadingSeparate : EE_DecimalSignTrailing;
            return done(node, services.findOrCreateFixedPointTypeDescriptor(own->kind, decimalDigits(*own), own->scale,
                                                                            own->isSigned != 0, sign));
        }
        // In C the negation has the promoted operand's type.
        return done(node, cFamily(services) ? node.operand->typeDescriptor : own);
    }
    case UE::UnaryPlus:
    case UE::PreIncrement:
    case UE::PostIncrement:
    case UE::PreDecrement:
    case UE::PostDecrement: {
        // The target of an increment is generated twice (its address, then its
        // value again): a target that itself changes something would change it
        // twice, and nested ones double the code at each level.
        if (node.kind != UE::UnaryPlus && hasSideEffects(required(node.operand)))
            throw EE_Exception(EE_Exception::InvalidOperand, &node);
        EE_Expression& operand = analyze(required(node.operand), context);
        evaluator::refuseLogicalInArithmetic(services, operand);
        EE_TypeDescriptor* own = operand.typeDescriptor;
        node.operand = services.isArithmetic(*own) ? &analyze(integralPromotion(operand), LoadValue) : &operand;
        if (node.kind == UE::UnaryPlus && cFamily(services))
            return done(node, node.operand->typeDescriptor);
        return done(node, own);
    }
    case UE::AddressOf: {
        if (context != LoadValue && !services.isCobol())
            throw EE_Exception(EE_Exception::InternalFailure, &node);
        EE_Expression& target = required(node.operand);
        if (EE_MemberExpression* member = target.asMemberExpression()) {
            EE_Declaration* declaration = member->member != nullptr ? member->member->declaration : nullptr;
            EE_TypeDescriptor* declared = declaration != nullptr ? declaration->setTypeDescriptor() : nullptr;
            if (declared != nullptr && declared->kind == TD::Array && declared->next != nullptr) {
                EE_CastExpression* decayed = services.createCastExpression(
                    EE_CastExpression::Parenthesized, services.findOrCreatePointerTypeDescriptor(*declared->next, 0),
                    member);
                return analyze(required(decayed), context);
            }
        }
        node.operand = &analyze(target, LoadAddress);
        refuseBitField(services, *node.operand);
        EE_TypeDescriptor* type = node.operand->typeDescriptor;
        if (EE_CastExpression* cast = node.operand->asCastExpression()) {
            if ((type->kind == TD::Reference || type->kind == TD::AddressOfReference) && cast->operand != nullptr)
                type = cast->operand->typeDescriptor;
        } else if (EE_NameExpression* name = node.operand->asNameExpression(); name != nullptr && services.isCobol()) {
            type = typeOfName(*name->name, LoadValue);
        } else if (EE_TypeDescriptor* array =
                       services.isCobol() ? nullptr : evaluator::wholeArrayNamed(*node.operand)) {
            // The address of the whole array: a pointer to the array.
            type = array;
        }
        return done(node, services.findOrCreatePointerTypeDescriptor(requiredType(type), 0));
    }
    case UE::Indirection: {
        node.operand = &analyze(required(node.operand), LoadValue);
        EE_TypeDescriptor* type = node.operand->typeDescriptor;
        EE_TypeDescriptor* pointee = type->next;
        // Only what points somewhere can be followed.
        if (pointee == nullptr)
            throw EE_Exception(EE_Exception::InvalidOperand, node.operand);
        if (pointee->kind == TD::Array && context != LoadRootValue) {
            if (pointee->next == nullptr)
                throw EE_Exception(EE_Exception::InternalFailure);
            pointee = services.findOrCreatePointerTypeDescriptor(*pointee->next, 0);
        }
        return done(node, pointee);
    }
    case UE::SizeofOperand: {
        onlyValue();
        EE_Expression* inner = &required(node.operand);
        while (EE_ParenthesesExpression* p = inner->asParenthesesExpression())
            inner = &required(p->inner);
        // What a pointer to an array points to is measured as the array
        // (sizeof(*&arr)): the indirection is analyzed as a root value, which
        // the dispatch of a unary node would make a plain value.
        EE_UnaryExpression* unary = inner->asUnaryExpression();
        if (unary != nullptr && unary->kind == UE::Indirection && !inner->analyzed)
            node.operand = &analyze(*unary, LoadRootValue);
        else
            node.operand = &analyze(*inner, LoadRootValue);
        refuseBitField(services, *node.operand);
        if (cFamily(services))
            node.operand = &measuredAsInC(services, *node.operand);
        return done(node, services.sizetTypeDescriptor());
    }
    case UE::TypeidOperand:
        onlyValue();
        node.operand = &analyze(required(node.operand), LoadValue);
        return done(node, node.typeDescriptor);
    case UE::RealPart:
    case UE::ImaginaryPart: {
        onlyValue();
        node.operand = &analyze(required(node.operand), LoadValue);
        switch (node.operand->typeDescriptor->kind) {
        case TD::ComplexFloat: return done(node, services.floatTypeDescriptor());
        case TD::ComplexDouble: return done(node, services.doubleTypeDescriptor());
        case TD::ComplexLongDouble: return done(node, services.longDoubleTypeDescriptor());
        case TD::HexComplexFloat: return done(node, services.floatQuvHexTypeDescriptor());
        case TD::HexComplexDouble: return done(node, services.doubleQuvHexTypeDescriptor());
        case TD::HexComplexLongDouble: return done(node, services.longDoubleQuvHexTypeDescriptor());
        default: throw EE_Exception(EE_Exception::InternalFailure, &node);
        }
    }
    default: throw EE_Exception(EE_Exception::UnsupportedOperator, &node);
    }
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_FunctionCallExpression& node, LoadContext)
{
    if (services.isCobol()) {
        node.callee = &analyze(required(node.callee), LoadValue);
        unsigned count = 0;
        for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next, ++count) {
            if (p->mode == 2)
                p->expression = services.createUnaryExpression(EE_UnaryExpression::AddressOf, &required(p->expression));
            p->expression = &analyze(required(p->expression), p->mode == 3 ? LoadValue : LoadAddress);
        }
        node.parameterCount = count;
        return done(node, services.findOrCreatePredefinedTypeDescriptor(TD::Void, 0));
    }
    node.callee = &analyze(required(node.callee), LoadAddress);
    EE_TypeDescriptor* function = node.callee->typeDescriptor;
    if (function == nullptr || function->kind != TD::Function)
        throw EE_Exception(EE_Exception::InternalFailure);
    EE_NameExpression* calleeName = node.callee->asNameExpression();
    if (services.isFortran() && calleeName == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    unsigned count = 0;
    for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next)
        ++count;
    const unsigned declared = function->parameterCount;
    if (function->variadic != 0 ? count < declared : count != declared)
        throw EE_Exception(EE_Exception::UnexpectedType, &node);
    // The declared parameter types, first to last (the chain starts at the last).
    EE_TypeDescriptor* parameterTypes[256] = {};
    if (declared > 256)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    {
        unsigned i = declared;
        for (EE_ParamType* t = function->parameters; t != nullptr && i > 0; t = t->previous)
            parameterTypes[--i] = t->type;
    }
    EE_TypeDescriptor* remembered = nullptr;
    bool kept = false;
    unsigned index = 0;
    for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next, ++index) {
        EE_Expression* argument = &analyze(required(p->expression), LoadValue);
        if (index >= declared) {
            if (services.isArithmetic(*argument->typeDescriptor))
                argument = &analyze(integralPromotion(*argument), LoadValue);
        } else {
            EE_TypeDescriptor* parameter = parameterTypes[index];
            if (parameter == nullptr)
                throw EE_Exception(EE_Exception::UnexpectedType, &node);
            const TD* given = argument->typeDescriptor;
            if (given->kind == TD::FortranPointer && parameter->kind != TD::FortranPointer) {
                given = given->next;
                if (given == nullptr)
                    throw EE_Exception(EE_Exception::UnexpectedType, &node);
            }
            if (given->kind == TD::Function && argument->asNameExpression() == nullptr) {
                const TD* target = parameter->kind == TD::Pointer ? parameter->next : nullptr;
                bool same = target != nullptr && target->kind == TD::Function && target->next != nullptr &&
                            given->next != nullptr && services.isSameAs(*target->next, *given->next) &&
                            target->parameterCount == given->parameterCount;
                for (EE_ParamType *a = same ? target->parameters : nullptr, *b = given->parameters;
                     same && a != nullptr && b != nullptr; a = a->previous, b = b->previous)
                    same = a->type != nullptr && b->type != nullptr && services.isSameAs(*a->type, *b->type);
                if (!same)
                    throw EE_Exception(EE_Exception::UnexpectedType, &node);
            } else if (!services.isSameAs(*parameter, *given)) {
                if (services.isFortran())
                    throw EE_Exception(EE_Exception::UnexpectedType, &node);
                if (parameter->kind >= TD::GenericInteger && parameter->kind <= TD::GenericWide) {
                    const bool accepted = services.isSigned(*given) || services.isLogical(*given) ||
                                          services.isIntegral(*given) || services.isBinaryFloatingPoint(*given) ||
                                          services.isComplex(*given);
                    if (!accepted)
                        throw EE_Exception(EE_Exception::UnexpectedType, &node);
                } else {
                    argument = &analyze(arithmeticConversion(*argument, *parameter, 1, given), LoadValue);
                }
            }
        }
        p->expression = argument;
        if (!kept && p->next == nullptr && index == 0 && argument->typeDescriptor->kind >= TD::Bool) {
            remembered = services.findOrCreatePredefinedTypeDescriptor(argument->typeDescriptor->kind, 0);
            kept = true;
        }
    }
    node.parameterCount = count;
    EE_Name* name = calleeName != nullptr ? calleeName->name : nullptr;
    if (name == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return done(node, services.determineFunctionReturnType(*name, function->next, remembered));
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_ArraySectionExpression& node, LoadContext)
{
    for (EE_Expression** part : {&node.lower, &node.upper, &node.stride}) {
        if (*part == nullptr)
            continue;
        EE_Expression& analysed = analyze(**part, LoadValue);
        if (isPointerKind(analysed.typeDescriptor->kind)) {
            *part = &analysed;
            continue;
        }
        if (!services.isIntegral(*analysed.typeDescriptor))
            throw EE_Exception(EE_Exception::UnexpectedType, &analysed);
        *part = &analyze(integralPromotion(analysed), LoadValue);
    }
    if (node.dimension + 1 > _sectionDimensions)
        _sectionDimensions = node.dimension + 1;
    return done(node, services.arraySectionTypeDescriptor());
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_VectorSubscriptExpression& node, LoadContext)
{
    for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next) {
        p->expression = &analyze(required(p->expression), LoadValue);
        if (!services.isIntegral(*p->expression->typeDescriptor))
            throw EE_Exception(EE_Exception::InternalFailure, &node);
    }
    if (node.dimension + 1 > _sectionDimensions)
        _sectionDimensions = node.dimension + 1;
    return done(node, services.arraySectionTypeDescriptor());
}
