// Code generation of the binary operators: arithmetic, comparisons, logical
// operators, subscripts, reference modification, concatenation, the comma
// and the assignments.

#include "compiler/EE_ExpressionEvaluator.h"

#include <initializer_list>

#include "compiler/EE_Label.h"
#include "compiler/EvaluatorSupport.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_String.h"
#include "frontend/EE_SubscriptExpression.h"

namespace {

using TD = EE_TypeDescriptor;
using BE = EE_BinaryExpression;
using LC = EE_ExpressionEvaluator::LoadContext;

using evaluator::isPointerKind;
using evaluator::present;
using evaluator::refuse;

EE_Expression& withoutParentheses(EE_Expression& e)
{
    EE_Expression* inner = &e;
    while (EE_ParenthesesExpression* p = inner->asParenthesesExpression())
        inner = &present(p->inner);
    return *inner;
}

// The declared type of a name or member node; null for other nodes.
const TD* declaredType(EE_Expression& e)
{
    EE_Name* name = nullptr;
    if (EE_NameExpression* n = e.asNameExpression())
        name = n->name;
    else if (EE_MemberExpression* m = e.asMemberExpression())
        name = m->member;
    if (name == nullptr || name->declaration == nullptr)
        return nullptr;
    return name->declaration->setTypeDescriptor();
}

} // namespace

void EE_ExpressionEvaluator::evaluate(EE_BinaryExpression& node, LoadContext context, int reuse)
{
    switch (node.kind) {
    case BE::LogicalOr:
    case BE::LogicalAnd:
    case BE::LogicalNeqv:
    case BE::LogicalEqv: evaluateLogicalOperators(node, context, reuse); return;
    case BE::BitwiseOr:
    case BE::BitwiseXor:
    case BE::BitwiseAnd:
    case BE::ShiftLeft:
    case BE::ShiftRight:
    case BE::Add:
    case BE::Subtract:
    case BE::Multiply:
    case BE::Divide:
    case BE::Remainder:
    case BE::Power: evaluateArithmeticOperators(node, context, reuse); return;
    case BE::Equal:
    case BE::NotEqual:
    case BE::GreaterOrEqual:
    case BE::LessOrEqual:
    case BE::Greater:
    case BE::Less: evaluateComparisonOperators(node, context, reuse); return;
    case BE::Subscript: evaluateSubscript(node, context, reuse); return;
    case BE::RefModStart:
    case BE::RefModLength: evaluateRefMod(node, context); return;
    case BE::Concatenate: {
        EE_Expression& left = present(node.left);
        EE_Expression& right = present(node.right);
        for (EE_Expression* operand : {&left, &right}) {
            evaluate(*operand, LoadValue, 0);
            const TD& type = present(operand->typeDescriptor);
            if (type.kind == TD::AlphanumericString || isPointerKind(type.kind))
                services.convertToString(type);
        }
        services.concatenate(present(left.typeDescriptor));
        return;
    }
    case BE::UserDefined: throw EE_Exception(EE_Exception::UnsupportedOperator, &node);
    case BE::PointerAssign: evaluatePointerAssignOperator(node, context, reuse); return;
    case BE::Comma:
        evaluate(present(node.left), LoadValue, 0);
        services.pop();
        evaluate(present(node.right), LoadValue, 0);
        return;
    default:
        if ((node.kind >= BE::Assign && node.kind <= BE::OrAssign) || node.kind == BE::CobolSet) {
            evaluateAssignOperators(node, context, reuse);
            return;
        }
        refuse();
    }
}

void EE_ExpressionEvaluator::evaluateArithmeticOperators(EE_BinaryExpression& node, LoadContext, int)
{
    EE_Expression& left = present(node.left);
    EE_Expression& right = present(node.right);
    const TD& leftType = present(left.typeDescriptor);
    const TD& rightType = present(right.typeDescriptor);
    const EE_String text(BE::binaryExpressionSignature(node.kind));
    evaluate(left, LoadValue, 0);
    services.formatSignature(text);
    evaluate(right, LoadValue, 0);
    if (isPointerKind(leftType.kind)) {
        const TD& pointee = present(leftType.next);
        const TD& integer = present(services.signedIntTypeDescriptor());
        if (node.kind == BE::Subtract && isPointerKind(rightType.kind)) {
            services.addressSubtract(pointee);
            if (!services.isCobol()) {
                services.loadSizeOf(pointee);
                services.divide(integer);
            }
            return;
        }
        services.loadSizeOf(pointee);
        services.multiply(integer);
        if (node.kind == BE::Subtract)
            services.addressSubtract(pointee);
        else
            services.addressAdd(pointee);
        return;
    }
    bool digits = false;
    switch (node.kind) {
    case BE::BitwiseOr: services.bitwiseOr(leftType); break;
    case BE::BitwiseXor: services.bitwiseXor(leftType); break;
    case BE::BitwiseAnd: services.bitwiseAnd(leftType); break;
    case BE::ShiftLeft: services.shiftLeft(leftType); break;
    case BE::ShiftRight: services.shiftRight(leftType); break;
    case BE::Add:
        services.add(leftType);
        digits = true;
        break;
    case BE::Subtract:
        services.subtract(leftType);
        digits = true;
        break;
    case BE::Multiply:
        services.multiply(leftType);
        digits = true;
        break;
    case BE::Divide:
        services.divide(leftType);
        digits = true;
        break;
    case BE::Remainder: services.remainder(leftType); break;
    case BE::Power:
        services.power(leftType, _dmax);
        digits = true;
        break;
    default: refuse();
    }
    if (digits && services.isCobol() && services.typeStoresDigits(present(node.typeDescriptor)))
        services.convertTo(*node.typeDescriptor);
}

void EE_ExpressionEvaluator::evaluateComparisonOperators(EE_BinaryExpression& node, LoadContext context, int)
{
    if (context == LoadAddress)
        refuse(&node);
    EE_Expression& left = present(node.left);
    evaluate(left, LoadValue, 0);
    evaluate(present(node.right), LoadValue, 0);
    const TD& type = present(left.typeDescriptor);
    switch (node.kind) {
    case BE::Equal: services.compareEqual(type); break;
    case BE::NotEqual: services.compareNotEqual(type); break;
    case BE::GreaterOrEqual: services.compareGreaterOrEqual(type); break;
    case BE::LessOrEqual: services.compareLessOrEqual(type); break;
    case BE::Greater: services.compareGreater(type); break;
    case BE::Less: services.compareLess(type); break;
    default: refuse();
    }
}

// Operator kind 2 is .EQV. and kind 3 .NEQV.
void EE_ExpressionEvaluator::evaluateLogicalOperators(EE_BinaryExpression& node, LoadContext context, int)
{
    if (context == LoadAddress)
        refuse(&node);
    EE_Expression& left = present(node.left);
    EE_Expression& right = present(node.right);
    const unsigned kind = node.kind;
    if (kind == 2 || kind == 3) {
        evaluate(left, LoadValue, 0);
        evaluate(right, LoadValue, 0);
        if (kind == 2)
            services.logicalEqv(present(left.typeDescriptor));
        else
            services.logicalNeqv(present(left.typeDescriptor));
        return;
    }
    const TD& boolean = present(services.boolTypeDescriptor());
    EE_Label& second = services.createLabel();
    EE_Label& end = services.createLabel();
    evaluate(left, LoadValue, 0);
    if (node.kind == BE::LogicalAnd) {
        services.skipIfTrueUntil(second);
        services.loadZeroLiteral(boolean);
    } else {
        services.skipIfFalseUntil(second);
        services.loadOneLiteral(boolean);
    }
    services.skipUntil(end);
    services.defineLabel(second);
    evaluate(right, LoadValue, 0);
    services.defineLabel(end);
}

void EE_ExpressionEvaluator::evaluateSubscript(EE_BinaryExpression& node, LoadContext context, int reuse)
{
    const TD& element = present(node.typeDescriptor);
    if (context == LoadStore) {
        services.store();
        return;
    }
    if (reuse) {
        services.dereference(element);
        return;
    }
    EE_Expression& left = present(node.left);
    EE_Expression& right = present(node.right);
    const TD* declared = declaredType(left);
    const bool arrayName = declared != nullptr && declared->kind == TD::Array;
    evaluate(left, arrayName ? LoadAddress : LoadValue, 0);
    if (left.asNameExpression() != nullptr)
        services.formatString("(");
    evaluate(right, LoadValue, 0);
    if (!services.isFortran()) {
        services.index(element);
        if (context == LoadValue)
            services.dereference(element);
        return;
    }
    // The array a name or member declares (its value decays to a pointer);
    // otherwise the type the analysis recorded.
    EE_SubscriptExpression* subscript = node.asSubscriptExpression();
    const TD& arrayType = arrayName                                                 ? *declared
                          : subscript != nullptr && subscript->arrayType != nullptr ? *subscript->arrayType
                                                                                    : present(left.typeDescriptor);
    // The last subscript of a name (its lowest rank) closes the list.
    bool last = subscript != nullptr && subscript->closesList;
    if (arrayType.kind == TD::AlphanumericString && present(right.typeDescriptor).kind == TD::ArraySection) {
        services.substring(arrayType);
        last = true;
    } else {
        const long long rank = arrayName || subscript == nullptr || subscript->rank == 0
                                   ? static_cast<long long>(services.rankOf(arrayType))
                                   : subscript->rank;
        last = last || rank <= 1;
        services.rankIndex(arrayType, rank);
        if (context == LoadValue)
            services.rankDereference(arrayType, rank);
    }
    services.formatString(last ? ")" : ", ");
}

// Reference modification: the start (kind 24) and the length (kind 25) over
// it. A receiving item's position is turned into an address: one less than
// the position, two bytes a character for national and DBCS text. A
// receiving item leaves its address, its start and its length (when
// written) on the stack: the conversion into it checks them before the
// store writes at the address.
void EE_ExpressionEvaluator::evaluateRefMod(EE_BinaryExpression& node, LoadContext context)
{
    EE_Expression& left = present(node.left);
    EE_Expression& right = present(node.right);
    if (context == LoadStore) {
        // The address is that of the part, not of the item (nor of a member
        // within its group): a plain store.
        services.store();
        return;
    }
    const TD& type = present(node.typeDescriptor);
    if (node.kind == BE::RefModLength) {
        evaluate(left, context, 0);
        evaluate(right, LoadValue, 0);
        if (context != LoadStoreAddress)
            services.refModLength(type);
        return;
    }
    // The part's address is taken from the item's own address (a member's
    // included), whatever the store that follows.
    evaluate(left, context == LoadStoreAddress ? LoadAddress : context, 0);
    evaluate(right, LoadValue, 0);
    if (context != LoadAddress && context != LoadStoreAddress) {
        services.refMod(type);
        return;
    }
    const TD& position = present(right.typeDescriptor);
    services.loadConstant(present(services.createFixedPointLiteralValue(1)));
    services.convertTo(position);
    services.subtract(position);
    if (type.kind == TD::NationalString || type.kind == TD::DbcsString) {
        services.duplicate();
        services.add(position);
    }
    services.addressAdd(present(left.typeDescriptor));
    if (context == LoadStoreAddress) {
        services.formatDisable();
        evaluate(right, LoadValue, 0);
        services.formatEnable();
    }
}

void EE_ExpressionEvaluator::emitStoreConversion(EE_BinaryExpression& node, EE_Expression& receiver,
                                                 const EE_TypeDescriptor& receiving)
{
    EE_Expression& right = present(node.right);
    const TD& sent = present(right.typeDescriptor);
    EE_BinaryExpression* refMod = withoutParentheses(receiver).asBinaryExpression();
    // A group's bytes already fill an elementary receiving item (the analysis
    // cast them to text of its size): they are stored as they stand.
    EE_CastExpression* cast = right.asCastExpression();
    const bool groupBytes = services.isCobol() && cast != nullptr && cast->operand != nullptr &&
                            cast->operand->typeDescriptor != nullptr &&
                            cast->operand->typeDescriptor->kind == TD::Class && receiving.kind != TD::Class;
    if (refMod != nullptr && (refMod->kind == BE::RefModStart || refMod->kind == BE::RefModLength))
        services.convertToRefMod(refMod->kind == BE::RefModLength, receiving);
    else if (!services.isSameAs(sent, receiving) && !groupBytes)
        services.convertTo(receiving);
    if (services.isCobol() && (receiving.kind == TD::HexFloat || receiving.kind == TD::HexDouble) && !_doFProunding)
        services.truncateFP(receiving);
}

// Assignments keep the receiving item's address on the stack (context 3),
// duplicate it unless the assignment itself is a receiving item, store, and
// read the assigned value back through the copy.
void EE_ExpressionEvaluator::evaluateAssignOperators(EE_BinaryExpression& node, LoadContext context, int)
{
    EE_Expression& left = present(node.left);
    EE_Expression& right = present(node.right);
    const TD& receiving = present(node.typeDescriptor);
    const bool keepsValue = context != LoadStoreAddress && context != LoadStore;
    if (context != LoadStore)
        evaluate(left, LoadStoreAddress, 0);
    // A reference-modified item is read again in full for the value; its
    // start and length are the conversion's.
    EE_BinaryExpression* refMod = withoutParentheses(left).asBinaryExpression();
    const bool partReceived =
        refMod != nullptr && (refMod->kind == BE::RefModStart || refMod->kind == BE::RefModLength);
    if (keepsValue && !partReceived)
        services.duplicate();
    if (node.kind == BE::Assign || node.kind == BE::CobolSet) {
        evaluate(right, LoadValue, 0);
        emitStoreConversion(node, left, receiving);
    } else {
        const TD& current = present(left.typeDescriptor);
        services.duplicate();
        evaluate(left, LoadValue, 1);
        if (isPointerKind(current.kind)) {
            // The analysis converted the count to the pointer's type: step by the
            // count itself.
            EE_Expression* count = &right;
            if (EE_CastExpression* cast = right.asCastExpression(); cast != nullptr && cast->operand != nullptr)
                count = cast->operand;
            evaluate(*count, LoadValue, 0);
            const TD& pointee = present(current.next);
            if (node.kind == BE::AddAssign || node.kind == BE::SubtractAssign) {
                services.loadSizeOf(pointee);
                services.multiply(present(services.signedIntTypeDescriptor()));
                if (node.kind == BE::AddAssign)
                    services.addressAdd(pointee);
                else
                    services.addressSubtract(pointee);
            } else {
                refuse(&node);
            }
        } else {
            // The operation runs in the promoted type of the receiving item; outside
            // COBOL the analysis brought the right operand to the operation's type
            // (the usual arithmetic conversion of both operands).
            const TD* promoted = services.isArithmetic(current) ? typeToPromoteTo(current) : nullptr;
            const TD& operation = !services.isCobol()   ? present(right.typeDescriptor)
                                  : promoted != nullptr ? *promoted
                                                        : current;
            if (!services.isSameAs(operation, current))
                services.convertTo(operation);
            evaluate(right, LoadValue, 0);
            if (!services.isSameAs(present(right.typeDescriptor), operation))
                services.convertTo(operation);
            switch (node.kind) {
            case BE::MultiplyAssign: services.multiply(operation); break;
            case BE::DivideAssign: services.divide(operation); break;
            case BE::RemainderAssign: services.remainder(operation); break;
            case BE::AddAssign: services.add(operation); break;
            case BE::SubtractAssign: services.subtract(operation); break;
            case BE::ShiftRightAssign: services.shiftRight(operation); break;
            case BE::ShiftLeftAssign: services.shiftLeft(operation); break;
            case BE::AndAssign: services.bitwiseAnd(operation); break;
            case BE::XorAssign: services.bitwiseXor(operation); break;
            case BE::OrAssign: services.bitwiseOr(operation); break;
            default: refuse();
            }
            if (receiving.kind == TD::Bool && !services.isCobol()) {
                // A bool holds 0 or 1: the result compared with 0.
                services.loadZeroLiteral(operation);
                services.compareNotEqual(operation);
            }
        }
        services.convertTo(receiving);
    }
    evaluate(left, LoadStore, 0);
    if (keepsValue)
        evaluate(left, context, 1);
}

void EE_ExpressionEvaluator::evaluatePointerAssignOperator(EE_BinaryExpression& node, LoadContext context, int reuse)
{
    EE_Expression& left = present(node.left);
    const bool keepsValue = context != LoadStoreAddress && context != LoadStore;
    if (context != LoadStore)
        evaluate(left, LoadStoreAddress, 0);
    if (!reuse) {
        if (keepsValue)
            services.duplicate();
        evaluate(present(node.right), LoadStoreAddress, 0);
        evaluate(left, LoadStore, 0);
    }
    if (keepsValue)
        evaluate(left, context, 1);
}
