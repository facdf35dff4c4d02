// Code generation: the root, the dispatch by node kind, and every node class
// but the binary operators. Each emitted instruction is one services call.

#include "compiler/EE_ExpressionEvaluator.h"
#include "compiler/EvaluatorSupport.h"

#include <vector>

#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "compiler/EE_Label.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_ParamType.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

namespace {

using TD = EE_TypeDescriptor;
using LC = EE_ExpressionEvaluator::LoadContext;
using evaluator::as;
using evaluator::isPointerKind;
using evaluator::present;
using evaluator::refuse;
using evaluator::valueContext;

bool isReferenceKind(unsigned kind)
{
    return kind == TD::Reference || kind == TD::AddressOfReference;
}

bool isAddressContext(LC context)
{
    return context == EE_ExpressionEvaluator::LoadAddress || context == EE_ExpressionEvaluator::LoadStoreAddress;
}

// The class a member found through base classes belongs to: the type of the
// first store of its chain (the class the lookup started in).
const TD& chainClass(const EE_Name& name)
{
    const EE_BaseNameLookupChain* link = name.baseLookupChain();
    if (link == nullptr || link->store == nullptr || link->store->name == nullptr ||
        link->store->name->declaration == nullptr)
        refuse();
    return present(link->store->name->declaration->setTypeDescriptor());
}

// A non-static member of the enclosing class named without its object.
bool isImplicitClassMember(const EE_Name& name)
{
    EE_Name& n = const_cast<EE_Name&>(name);
    return n.asBaseMemberName() != nullptr && name.baseLookupChain() != nullptr && name.declaration != nullptr &&
           !name.declaration->isStaticMember();
}

// An array the analysis took as the pointer to its first element (any C
// value but the whole expression's own, and but a subscript's base) is
// loaded as the array item and then made that pointer, so that the value
// has the type the analysis predicted.
void decayWhereTyped(EE_DebuggerServices& services, const TD& array, const EE_Expression& node)
{
    if (services.isCobol() || array.kind != TD::Array || node.typeDescriptor == nullptr ||
        !isPointerKind(node.typeDescriptor->kind))
        return;
    services.decayArray(array, *node.typeDescriptor);
}

} // namespace

void EE_ExpressionEvaluator::evaluate(EE_Expression& expression)
{
    evaluate(expression, LoadRootValue, 0);
    if (_hasArraySection)
        services.pushArraySection();
}

void EE_ExpressionEvaluator::evaluate(EE_Expression& e, LoadContext context, int reuse)
{
    switch (e.kind) {
    case EE_Expression::NameNode: evaluate(as(e.asNameExpression(), e), context, reuse); return;
    case EE_Expression::CastNode: evaluate(as(e.asCastExpression(), e), context, reuse); return;
    case EE_Expression::MemberNode: evaluate(as(e.asMemberExpression(), e), context, reuse); return;
    case EE_Expression::ThisNode: evaluate(as(e.asThisExpression(), e), valueContext(context), reuse); return;
    case EE_Expression::LiteralNode: evaluate(as(e.asLiteralExpression(), e), valueContext(context), reuse); return;
    case EE_Expression::UnaryNode: evaluate(as(e.asUnaryExpression(), e), valueContext(context), reuse); return;
    case EE_Expression::BinaryNode: evaluate(as(e.asBinaryExpression(), e), valueContext(context), reuse); return;
    case EE_Expression::ConditionalNode:
        evaluate(as(e.asConditionalExpression(), e), valueContext(context), reuse);
        return;
    case EE_Expression::SizeofTypeNode:
        evaluate(as(e.asSizeofTypeExpression(), e), valueContext(context), reuse);
        return;
    case EE_Expression::TypeidOfTypeNode:
        evaluate(as(e.asTypeidOfTypeExpression(), e), valueContext(context), reuse);
        return;
    case EE_Expression::OffsetofNode: evaluate(as(e.asOffsetofExpression(), e), valueContext(context), reuse); return;
    case EE_Expression::ArraySectionNode:
        evaluate(as(e.asArraySectionExpression(), e), valueContext(context), reuse);
        return;
    case EE_Expression::VectorSubscriptNode:
        evaluate(as(e.asVectorSubscriptExpression(), e), valueContext(context), reuse);
        return;
    case EE_Expression::ParenthesesNode:
        evaluate(as(e.asParenthesesExpression(), e), valueContext(context), reuse);
        return;
    case EE_Expression::ImaginaryNode: evaluate(as(e.asImaginaryExpression(), e), valueContext(context), reuse); return;
    case EE_Expression::FunctionCallNode:
        evaluate(as(e.asFunctionCallExpression(), e), valueContext(context), reuse);
        return;
    case EE_Expression::FigConstantNode:
        evaluate(as(e.asFigConstantExpression(), e), valueContext(context), reuse);
        return;
    default: throw EE_Exception(EE_Exception::UnsupportedOperator, &e);
    }
}

void EE_ExpressionEvaluator::evaluate(EE_ParenthesesExpression& node, LoadContext context, int reuse)
{
    EE_Expression& inner = present(node.inner);
    if (!inner.analyzed)
        refuse();
    evaluate(inner, context, reuse);
}

void EE_ExpressionEvaluator::evaluate(EE_LiteralExpression& node, LoadContext, int)
{
    services.loadConstant(present(node.value));
}

void EE_ExpressionEvaluator::evaluate(EE_FigConstantExpression& node, LoadContext, int)
{
    services.loadFigConstant(present(node.value));
}

void EE_ExpressionEvaluator::evaluate(EE_ImaginaryExpression& node, LoadContext, int)
{
    services.loadImaginaryILiteral(present(node.typeDescriptor));
}

void EE_ExpressionEvaluator::evaluate(EE_SizeofTypeExpression& node, LoadContext, int)
{
    services.loadSizeOf(present(node.type));
}

void EE_ExpressionEvaluator::evaluate(EE_ThisExpression&, LoadContext, int)
{
    services.loadThisPointer();
}

void EE_ExpressionEvaluator::evaluate(EE_OffsetofExpression&, LoadContext context, int)
{
    if (context != LoadValue)
        refuse();
}

void EE_ExpressionEvaluator::evaluate(EE_TypeidOfTypeExpression&, LoadContext context, int)
{
    if (context != LoadValue)
        refuse();
}

void EE_ExpressionEvaluator::evaluate(EE_NameExpression& node, LoadContext context, int reuse)
{
    EE_Name& name = present(node.name);
    EE_Declaration& declaration = present(name.declaration);
    const TD& declared = present(declaration.setTypeDescriptor());
    if (context == LoadStore) {
        services.store();
        return;
    }
    if (reuse) {
        services.dereference(present(node.typeDescriptor));
        return;
    }
    if (isImplicitClassMember(name)) {
        services.loadThisPointer();
        if (context == LoadValue || context == LoadRootValue)
            services.loadMember(name, chainClass(name));
        else if (isAddressContext(context))
            services.loadMemberAddress(name, chainClass(name));
        else
            refuse();
    } else if (context == LoadValue || context == LoadRootValue) {
        services.load(declaration);
        if (!services.isCobol() && declared.kind == TD::AlphanumericString)
            services.convertToString(declared);
    } else if (isAddressContext(context)) {
        if (isReferenceKind(declared.kind) || declared.kind == TD::Array)
            services.load(declaration);
        else
            services.loadAddress(declaration);
    } else {
        refuse();
    }
    services.formatSignature(name.signature());
    if (context == LoadValue && isReferenceKind(declared.kind))
        services.dereference(present(node.typeDescriptor));
    if (context == LoadValue || context == LoadRootValue)
        decayWhereTyped(services, declared, node);
}

// A member whose address a later store uses. A plain non-static member
// keeps its object's address on the stack and is stored with its own
// offset (bit fields included); a static member or one reached through base
// classes keeps its own address. A member of a class record is found
// through a chain whose one link is the object's own class: that is a
// plain member too.
void EE_ExpressionEvaluator::evaluate(EE_MemberExpression& node, LoadContext context, int reuse)
{
    EE_Name& member = present(node.member);
    EE_Declaration& declaration = present(member.declaration);
    const TD& declared = present(declaration.setTypeDescriptor());
    const EE_BaseNameLookupChain* chain = member.baseLookupChain();
    const bool storedThroughObject = !declaration.isStaticMember() && (chain == nullptr || chain->next == nullptr);
    if (context == LoadStore) {
        if (storedThroughObject)
            services.storeMember(declaration);
        else
            services.store();
        return;
    }
    EE_Expression& object = present(node.object);
    const TD& objectType = present(object.typeDescriptor);
    if (reuse) {
        if (storedThroughObject)
            services.loadMember(member, objectType);
        else
            services.dereference(present(node.typeDescriptor));
        return;
    }
    evaluate(object, node.kind == EE_MemberExpression::Dot ? LoadAddress : LoadValue, 0);
    switch (context) {
    case LoadValue:
    case LoadRootValue:
        services.loadMember(member, objectType);
        if (context == LoadValue && isReferenceKind(declared.kind))
            services.dereference(present(node.typeDescriptor));
        decayWhereTyped(services, declared, node);
        break;
    case LoadAddress: services.loadMemberAddress(member, objectType); break;
    case LoadStoreAddress:
        if (!storedThroughObject)
            services.loadMemberAddress(member, objectType);
        break;
    default: refuse();
    }
}

void EE_ExpressionEvaluator::evaluate(EE_CastExpression& node, LoadContext context, int)
{
    const TD& target = present(node.typeDescriptor);
    EE_Expression& operand = present(node.operand);
    if (target.kind == TD::Bool) {
        if (context == LoadAddress)
            refuse();
        evaluate(operand, LoadValue, 0);
        const TD& from = present(operand.typeDescriptor);
        services.loadZeroLiteral(from);
        services.compareNotEqual(from);
        return;
    }
    // A COBOL group receives the bytes of a value (an alphanumeric move into
    // its storage), never its address.
    const TD& operandType = present(operand.typeDescriptor);
    const bool groupValue = target.kind == TD::Class && services.isCobol() && !isPointerKind(operandType.kind) &&
                            !isReferenceKind(operandType.kind);
    const bool byAddress = isReferenceKind(target.kind) || (target.kind == TD::Class && !groupValue);
    evaluate(operand, byAddress ? LoadAddress : groupValue ? LoadValue : context, 0);
    const TD& from = present(operand.typeDescriptor);
    const bool classLevels = (isPointerKind(target.kind) || isReferenceKind(target.kind)) &&
                             (isPointerKind(from.kind) || isReferenceKind(from.kind)) && target.next != nullptr &&
                             from.next != nullptr && target.next->kind == TD::Class && from.next->kind == TD::Class;
    if (classLevels) {
        if (EE_BaseMemberName* path = services.lookupBase(*from.next, *target.next))
            services.loadBaseAddress(*path, target);
    }
    if (target.kind != TD::Class || groupValue) {
        services.convertTo(target);
    } else if (!services.isCobol() && !services.isFortran()) {
        // A class object converted to a base class is that base's part of
        // the object: its address is the object's taken to the base, as a
        // pointer to the object converts. The value is the object there.
        if (from.kind == TD::Class && !services.isSameAs(from, target)) {
            if (EE_BaseMemberName* path = services.lookupBase(from, target))
                services.loadBaseAddress(*path, target);
            else
                refuse();
        }
        if (context == LoadValue || context == LoadRootValue)
            services.dereference(target);
    }
    if (isReferenceKind(target.kind) && context == LoadValue)
        services.dereference(present(target.next));
}

void EE_ExpressionEvaluator::evaluate(EE_ConditionalExpression& node, LoadContext context, int)
{
    EE_Label& whenFalse = services.createLabel();
    EE_Label& end = services.createLabel();
    evaluate(present(node.condition), LoadValue, 0);
    services.skipIfFalseUntil(whenFalse);
    evaluate(present(node.whenTrue), context, 0);
    services.skipUntil(end);
    services.defineLabel(whenFalse);
    evaluate(present(node.whenFalse), context, 0);
    services.defineLabel(end);
}

void EE_ExpressionEvaluator::evaluate(EE_UnaryExpression& node, LoadContext context, int reuse)
{
    using UE = EE_UnaryExpression;
    EE_Expression& operand = present(node.operand);
    switch (node.kind) {
    case UE::BitwiseNot:
        evaluate(operand, LoadValue, 0);
        services.bitwiseNot(present(operand.typeDescriptor));
        return;
    case UE::LogicalNot:
        evaluate(operand, LoadValue, 0);
        services.logicalNot(present(operand.typeDescriptor));
        return;
    case UE::Negate:
        evaluate(operand, LoadValue, 0);
        services.negate(present(operand.typeDescriptor));
        if (services.isCobol() && services.typeStoresDigits(present(node.typeDescriptor)))
            services.convertTo(*node.typeDescriptor);
        return;
    case UE::UnaryPlus:
        evaluate(operand, LoadValue, 0);
        services.unaryPlus(present(operand.typeDescriptor));
        return;
    case UE::AddressOf: {
        if (present(node.typeDescriptor).kind == TD::AddressOfReference) {
            EE_NameExpression* named = operand.asNameExpression();
            if (named == nullptr || named->name == nullptr)
                refuse();
            EE_Declaration& declaration = present(named->name->declaration);
            if (context == LoadStore) {
                services.store();
                return;
            }
            if (reuse) {
                services.dereference(*node.typeDescriptor);
                return;
            }
            if (context == LoadValue || context == LoadRootValue)
                services.load(declaration);
            else
                services.loadAddress(declaration);
            services.formatSignature(named->name->signature());
            return;
        }
        if (!services.isCobol() && evaluator::wholeArrayNamed(operand) != nullptr) {
            // The array's own address, typed as a pointer to the array.
            EE_NameExpression& named = *operand.asNameExpression();
            services.loadAddress(present(named.name->declaration));
            services.formatSignature(named.name->signature());
            return;
        }
        evaluate(operand, LoadAddress, 0);
        return;
    }
    case UE::Indirection: {
        if (context == LoadStore) {
            services.store();
            return;
        }
        const TD& pointee = present(present(operand.typeDescriptor).next);
        if (!reuse)
            evaluate(operand, LoadValue, 0);
        if (context == LoadValue || reuse)
            services.dereference(pointee);
        if (context == LoadValue && !reuse)
            decayWhereTyped(services, pointee, node);
        return;
    }
    case UE::SizeofOperand: services.loadSizeOf(present(operand.typeDescriptor)); return;
    case UE::RealPart:
        evaluate(operand, LoadValue, 0);
        services.realPart(present(operand.typeDescriptor));
        return;
    case UE::ImaginaryPart:
        evaluate(operand, LoadValue, 0);
        services.imaginaryPart(present(operand.typeDescriptor));
        return;
    case UE::PreIncrement:
    case UE::PreDecrement:
    case UE::PostIncrement:
    case UE::PostDecrement: evaluateIncrement(node, context); return;
    default: refuse(&node);
    }
}

namespace {

// The item an increment changes: the analysis promotes an arithmetic
// operand, so the implicit conversions over it are looked through.
EE_Expression& changedItem(EE_Expression& operand)
{
    EE_Expression* e = &operand;
    for (;;) {
        if (EE_ParenthesesExpression* p = e->asParenthesesExpression())
            e = &present(p->inner);
        else if (EE_CastExpression* c = e->asCastExpression();
                 c != nullptr && c->kind == EE_CastExpression::Parenthesized)
            e = &present(c->operand);
        else
            return *e;
    }
}

} // namespace

void EE_ExpressionEvaluator::emitStep(EE_UnaryExpression& node, const EE_TypeDescriptor& operandType)
{
    using UE = EE_UnaryExpression;
    const bool up = node.kind == UE::PreIncrement || node.kind == UE::PostIncrement;
    const TD& type = present(node.typeDescriptor);
    if (isPointerKind(operandType.kind) || operandType.kind == TD::Array) {
        const TD& pointee = present(operandType.next);
        services.loadOneLiteral(type);
        services.loadSizeOf(pointee);
        services.multiply(present(services.signedIntTypeDescriptor()));
        if (up)
            services.addressAdd(pointee);
        else
            services.addressSubtract(pointee);
        return;
    }
    if (operandType.kind == TD::Bool && !services.isCobol()) {
        // A bool steps in int and holds 0 or 1: the result compared with 0.
        const TD& integer = present(services.signedIntTypeDescriptor());
        services.convertTo(integer);
        services.loadOneLiteral(integer);
        services.convertTo(integer);
        if (up)
            services.add(integer);
        else
            services.subtract(integer);
        services.loadZeroLiteral(integer);
        services.compareNotEqual(integer);
        services.convertTo(type);
        return;
    }
    services.loadOneLiteral(type);
    if (services.isArithmetic(operandType))
        services.convertTo(type);
    if (up)
        services.add(type);
    else
        services.subtract(type);
    if (!services.isSameAs(type, present(services.signedIntTypeDescriptor())))
        services.convertTo(type);
}

// Increments and decrements store through the item's address kept on the
// stack: the address is duplicated before the store, so that the item can
// be read again through it (pre forms); the post forms keep the first value
// beneath the address instead.
void EE_ExpressionEvaluator::evaluateIncrement(EE_UnaryExpression& node, LoadContext context)
{
    using UE = EE_UnaryExpression;
    EE_Expression& item = changedItem(present(node.operand));
    const TD& itemType = present(item.typeDescriptor);
    const bool assigns = services.supportsAssignment();
    const bool post = node.kind == UE::PostIncrement || node.kind == UE::PostDecrement;
    if (post) {
        evaluate(item, LoadValue, 0);
        if (!assigns)
            return;
        evaluate(item, LoadStoreAddress, 0);
        services.duplicate();
        evaluate(item, LoadValue, 1);
        emitStep(node, itemType);
        evaluate(item, LoadStore, 0);
        return;
    }
    if (!assigns) {
        evaluate(item, LoadValue, 0);
        emitStep(node, itemType);
        return;
    }
    evaluate(item, LoadStoreAddress, 0);
    if (context != LoadStoreAddress)
        services.duplicate();
    services.duplicate();
    evaluate(item, LoadValue, 1);
    emitStep(node, itemType);
    evaluate(item, LoadStore, 0);
    if (context != LoadStoreAddress)
        evaluate(item, context, 1);
}

void EE_ExpressionEvaluator::evaluate(EE_FunctionCallExpression& node, LoadContext, int)
{
    EE_Expression& callee = present(node.callee);
    if (services.isCobol()) {
        std::vector<unsigned char> modes;
        for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next)
            modes.push_back(0);
        std::size_t slot = modes.size();
        for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next) {
            evaluate(present(p->expression), p->mode == 3 ? LoadValue : LoadAddress, 0);
            modes[--slot] = static_cast<unsigned char>(p->mode);
        }
        evaluate(callee, LoadValue, 0);
        services.callCOBOLProgram(reinterpret_cast<ArgMode*>(modes.data()), static_cast<unsigned>(modes.size()));
        return;
    }
    if (present(callee.typeDescriptor).kind != TD::Function)
        refuse();
    EE_NameExpression* calleeName = callee.asNameExpression();
    if (calleeName == nullptr || calleeName->name == nullptr)
        refuse();
    services.formatSignature(calleeName->name->signature());
    services.formatString("(");
    const TD& function = *callee.typeDescriptor;
    std::vector<const TD*> parameterTypes(function.parameterCount, nullptr);
    {
        std::size_t i = parameterTypes.size();
        for (EE_ParamType* t = function.parameters; t != nullptr && i > 0; t = t->previous)
            parameterTypes[--i] = t->type;
    }
    unsigned long count = 0;
    for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next, ++count) {
        EE_Expression& argument = present(p->expression);
        const TD& argumentType = present(argument.typeDescriptor);
        const bool functionName = argumentType.kind == TD::Function && argument.asNameExpression() != nullptr;
        evaluate(argument, functionName ? LoadAddress : LoadValue, 0);
        const TD* parameter = count < parameterTypes.size() ? parameterTypes[count] : nullptr;
        if (argumentType.kind == TD::FortranPointer && (parameter == nullptr || parameter->kind != TD::FortranPointer))
            services.dereference(present(argumentType.next));
    }
    services.formatString(")");
    services.formatDisable();
    evaluate(callee, LoadAddress, 0);
    services.formatEnable();
    EE_Declaration* declaration = calleeName->name->declaration;
    services.functionCall(count, declaration != nullptr && declaration->isBuiltinProcedure());
}

void EE_ExpressionEvaluator::evaluate(EE_ArraySectionExpression& node, LoadContext, int)
{
    EE_Expression& lower = present(node.lower);
    EE_Expression& upper = present(node.upper);
    if (node.argument != 0) {
        services.formatDisable();
        evaluate(upper, LoadValue, 0);
        evaluate(lower, LoadValue, 0);
        services.formatEnable();
        return;
    }
    EE_Expression& stride = present(node.stride);
    _hasArraySection = true;
    const TD& integer = present(services.signedIntTypeDescriptor());
    EE_Label& describe = services.createLabel();
    EE_Label& end = services.createLabel();
    services.loadZeroLiteral(integer);
    services.convertTo(integer);
    services.loadParam(node.dimension);
    services.compareGreater(integer);
    services.skipIfFalseUntil(describe);
    services.loadIndex(node.dimension);
    services.formatDisable();
    evaluate(stride, LoadValue, 0);
    evaluate(upper, LoadValue, 0);
    evaluate(lower, LoadValue, 0);
    services.formatEnable();
    services.loadArraySection();
    services.skipUntil(end);
    services.defineLabel(describe);
    services.formatDisable();
    evaluate(lower, LoadValue, 0);
    evaluate(stride, LoadValue, 0);
    services.formatEnable();
    services.loadParam(node.dimension);
    services.multiply(present(stride.typeDescriptor));
    services.add(present(lower.typeDescriptor));
    services.formatIntegral();
    services.defineLabel(end);
}

void EE_ExpressionEvaluator::evaluate(EE_VectorSubscriptExpression& node, LoadContext, int)
{
    const TD& integer = present(services.signedIntTypeDescriptor());
    EE_Label& elements = services.createLabel();
    EE_Label& end = services.createLabel();
    services.loadZeroLiteral(integer);
    services.convertTo(integer);
    services.loadParam(node.dimension);
    services.compareGreater(integer);
    services.skipIfFalseUntil(elements);
    _hasArraySection = true;
    services.formatDisable();
    services.loadConstant(present(services.createIntegerLiteralValue(node.count)));
    services.loadIndex(node.dimension);
    services.loadVectorSubscript();
    services.formatEnable();
    services.skipUntil(end);
    services.defineLabel(elements);
    long long position = static_cast<long long>(node.count) - 1;
    for (EE_Parameter* p = node.parameters; p != nullptr; p = p->next, --position) {
        EE_Label& next = services.createLabel();
        services.formatDisable();
        services.loadConstant(present(services.createIntegerLiteralValue(position)));
        services.loadParam(node.dimension);
        services.formatEnable();
        services.compareEqual(integer);
        services.skipIfFalseUntil(next);
        evaluate(present(p->expression), LoadValue, 0);
        services.skipUntil(end);
        services.defineLabel(next);
    }
    services.defineLabel(end);
}
