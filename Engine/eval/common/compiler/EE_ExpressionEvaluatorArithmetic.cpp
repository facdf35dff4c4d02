#include "compiler/EE_ExpressionEvaluator.h"

#include <initializer_list>

#include <algorithm>
#include <cstring>

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelFigConstant.h"
#include "compiler/EvaluatorSupport.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"

namespace {

using TD = EE_TypeDescriptor;
using BE = EE_BinaryExpression;

bool isPointer(const EE_Expression& e)
{
    return e.typeDescriptor != nullptr &&
           (e.typeDescriptor->kind == TD::Pointer || e.typeDescriptor->kind == TD::FortranPointer);
}

EE_Expression& withoutParentheses(EE_Expression& e)
{
    EE_Expression* inner = &e;
    while (EE_ParenthesesExpression* p = inner->asParenthesesExpression())
        inner = p->inner;
    return *inner;
}

bool isConditionNameMember(EE_Expression& e)
{
    EE_MemberExpression* member = withoutParentheses(e).asMemberExpression();
    return member != nullptr && member->member != nullptr && member->member->declaration != nullptr &&
           member->member->declaration->isConditionName();
}

// A name of the built-in address names of COBOL.
bool isAddressName(EE_Expression& e)
{
    EE_NameExpression* name = e.asNameExpression();
    if (name == nullptr || name->name == nullptr || name->name->declaration == nullptr ||
        name->name->declaration->name == nullptr)
        return false;
    const char* text = name->name->declaration->name->data();
    return std::strcmp(text, "%EPA") == 0 || std::strcmp(text, "%ADDRESS") == 0;
}

// COBOL operands that take no part in arithmetic.
bool refusedInCobolArithmetic(EE_Expression& e)
{
    const unsigned kind = e.typeDescriptor->kind;
    switch (kind) {
    case TD::Array:
    case TD::Class:
    case TD::Bool:
    case TD::NationalString:
    case TD::AlphanumericEdited:
    case TD::NumericEdited: return true;
    case TD::AlphanumericString: {
        EE_FigConstantExpression* fig = e.asFigConstantExpression();
        if (fig == nullptr || fig->value == nullptr)
            return true;
        const unsigned token = static_cast<EE_OstrelFigConstant*>(fig->value)->tokenKind;
        return token != 125 && token != 110;
    }
    default: return kind >= TD::NationalEdited && kind <= TD::AddressOfReference;
    }
}

bool isDigitKind(unsigned kind)
{
    return kind == TD::PackedDecimal || kind == TD::FixedPointBinary || kind == TD::ZonedDecimal ||
           kind == TD::NationalDecimal || kind == TD::NumericEdited || kind == TD::NationalNumericEdited;
}

} // namespace

EE_Expression& EE_ExpressionEvaluator::analyzeArithmeticOperators(EE_BinaryExpression& node, LoadContext context)
{
    if (context == LoadAddress)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    const bool cobol = services.isCobol();
    if (cobol) {
        for (EE_Expression* operand : {node.left, node.right})
            if (operand != nullptr && isConditionNameMember(*operand))
                throw EE_Exception(EE_Exception::UnexpectedType, &withoutParentheses(*operand));
    }
    if (node.left == nullptr || node.right == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    node.left = &analyze(*node.left, LoadValue);
    node.right = &analyze(*node.right, LoadValue);
    for (EE_Expression* operand : {node.left, node.right})
        evaluator::refuseLogicalInArithmetic(services, *operand);
    if (node.kind == BE::Add && isPointer(*node.right))
        std::swap(node.left, node.right);

    if (isPointer(*node.left)) {
        if (cobol) {
            if (!isAddressName(*node.left))
                throw EE_Exception(EE_Exception::UnexpectedType, node.left);
            if (!isPointer(*node.right) || node.kind != BE::Subtract || !isAddressName(*node.right))
                throw EE_Exception(EE_Exception::UnexpectedType, node.right);
            node.typeDescriptor = node.left->typeDescriptor;
            node.analyzed = 1;
            return node;
        }
        if (node.kind != BE::Add && node.kind != BE::Subtract)
            throw EE_Exception(EE_Exception::UnexpectedOperator, &node);
        if (node.kind == BE::Subtract && isPointer(*node.right)) {
            if (!services.isSameAs(*node.left->typeDescriptor, *node.right->typeDescriptor))
                throw EE_Exception(EE_Exception::UnexpectedType, node.right);
            EE_TypeDescriptor* leftType = node.left->typeDescriptor;
            node.left = &analyze(pointerConversion(*node.left, *node.right->typeDescriptor), LoadValue);
            node.right = &analyze(pointerConversion(*node.right, *leftType), LoadValue);
            node.typeDescriptor = services.ptrdifftTypeDescriptor();
            node.analyzed = 1;
            return node;
        }
        if (!services.isIntegral(*node.right->typeDescriptor))
            throw EE_Exception(EE_Exception::UnexpectedType, node.right);
        node.right = &integralPromotion(*node.right);
        node.typeDescriptor = node.left->typeDescriptor;
        node.analyzed = 1;
        return node;
    }
    if (isPointer(*node.right))
        throw EE_Exception(EE_Exception::UnexpectedType, node.right);

    const unsigned leftKind = node.left->typeDescriptor->kind;
    const unsigned rightKind = node.right->typeDescriptor->kind;
    if (leftKind == TD::IndexName) {
        if (!services.isIntegral(*node.right->typeDescriptor))
            throw EE_Exception(EE_Exception::UnexpectedType, node.right);
        if (node.kind != BE::Add && node.kind != BE::Subtract)
            throw EE_Exception(EE_Exception::InternalFailure, &node);
        if (node.right->asLiteralExpression() == nullptr)
            throw EE_Exception(EE_Exception::InvalidOperand, node.right);
    } else if (rightKind == TD::IndexName || rightKind == TD::IndexDataItem) {
        throw EE_Exception(EE_Exception::UnexpectedType, node.right);
    } else if (leftKind == TD::IndexDataItem) {
        throw EE_Exception(EE_Exception::UnexpectedType, node.left);
    }

    if (cobol) {
        if (refusedInCobolArithmetic(*node.left))
            throw EE_Exception(EE_Exception::UnexpectedType, node.left);
        if (refusedInCobolArithmetic(*node.right))
            throw EE_Exception(EE_Exception::UnexpectedType, node.right);
    }
    switch (node.kind) {
    case BE::BitwiseOr:
    case BE::BitwiseXor:
    case BE::BitwiseAnd:
    case BE::ShiftLeft:
    case BE::ShiftRight:
    case BE::Remainder:
        if (!services.isIntegral(*node.left->typeDescriptor) || !services.isIntegral(*node.right->typeDescriptor))
            throw EE_Exception(EE_Exception::InternalFailure, &node);
        break;
    default: break;
    }

    node.left = &integralPromotion(*node.left);
    node.right = &integralPromotion(*node.right);
    if (!cobol && (node.kind == BE::ShiftLeft || node.kind == BE::ShiftRight)) {
        // A shift has the type of its promoted left operand: the count does not
        // widen it or make it unsigned.
        if (!services.isSameAs(*node.right->typeDescriptor, *node.left->typeDescriptor))
            node.right = &convertedTo(node.left->typeDescriptor, *node.right);
        node.typeDescriptor = node.left->typeDescriptor;
        node.analyzed = 1;
        return node;
    }
    node.left = &analyze(arithmeticConversion(*node.left, *node.right->typeDescriptor, 0), LoadValue);
    node.right = &analyze(arithmeticConversion(*node.right, *node.left->typeDescriptor, 0), LoadValue);
    node.typeDescriptor = node.left->typeDescriptor;

    if (_hasFloatingPoint) {
        EE_TypeDescriptor* floating = services.longDoubleQuvHexTypeDescriptor();
        node.left = &convertedTo(floating, *node.left);
        node.right = &convertedTo(floating, *node.right);
        node.typeDescriptor = floating;
    } else if (services.typeStoresDigits(*node.left->typeDescriptor) &&
               services.typeStoresDigits(*node.right->typeDescriptor)) {
        intermediatePrecision(node);
    }
    node.analyzed = 1;
    return node;
}

void EE_ExpressionEvaluator::intermediatePrecision(EE_BinaryExpression& node)
{
    struct Places {
        int digits, scale, integer, fraction;
    };
    auto places = [&](const EE_TypeDescriptor& type) {
        if (!isDigitKind(type.kind))
            throw EE_Exception(EE_Exception::InternalFailure);
        Places p;
        p.digits = static_cast<int>(decimalDigits(type));
        p.scale = type.scale;
        const int positive = type.scale > 0 ? type.scale : 0;
        p.fraction = type.scale < 0 ? -type.scale : 0;
        p.integer = std::max(0, positive + p.digits - p.fraction);
        return p;
    };
    const EE_TypeDescriptor& leftType = *node.left->typeDescriptor;
    const EE_TypeDescriptor& rightType = *node.right->typeDescriptor;
    const Places l = places(leftType);
    const Places r = places(rightType);
    trace("LHS %d/%d %d [%d:%d] [%d:%d]", static_cast<int>(node.left->kind), static_cast<int>(leftType.kind),
          static_cast<int>(leftType.kind), l.digits, l.scale, l.integer, l.fraction);
    trace("RHS %d/%d %d [%d:%d] [%d:%d]", static_cast<int>(node.right->kind), static_cast<int>(rightType.kind),
          static_cast<int>(rightType.kind), r.digits, r.scale, r.integer, r.fraction);
    const int dmax = static_cast<unsigned char>(_dmax);
    int ipr = 0;
    int dr = 0;
    int ir = 0;
    bool isSigned = leftType.isSigned != 0 || rightType.isSigned != 0;
    switch (node.kind) {
    case EE_BinaryExpression::Add:
        ipr = std::max(l.integer, r.integer) + 1;
        dr = std::max(l.fraction, r.fraction);
        break;
    case EE_BinaryExpression::Subtract:
        ipr = std::max(l.integer, r.integer) + 1;
        dr = std::max(l.fraction, r.fraction);
        isSigned = true;
        break;
    case EE_BinaryExpression::Multiply:
        ipr = l.integer + r.integer;
        dr = l.fraction + r.fraction;
        break;
    case EE_BinaryExpression::Divide:
        ipr = l.integer + r.fraction;
        dr = std::max(r.fraction - l.fraction, dmax);
        break;
    case EE_BinaryExpression::Power:
        ipr = 31 - dmax;
        dr = dmax;
        break;
    default: throw EE_Exception(EE_Exception::InternalFailure, &node);
    }
    ir = node.kind == EE_BinaryExpression::Power ? 31 : ipr + dr;
    trace("before[ir=%d,ipr=%d:dr=%d,dmax=%d]", ir, ipr, dr, dmax);
    const bool overLimit = ir > 31;
    if (overLimit) {
        ir = 31;
        if (dr > dmax)
            dr = ipr + dmax <= 31 ? 31 - ipr : dmax;
    }
    trace("after[ir=%d,ipr=%d:dr=%d,dmax=%d]", ir, ipr, dr, dmax);
    const bool isLong = overLimit || ir > 18;
    EE_TypeDescriptor::Kind kind = leftType.kind;
    if (kind == EE_TypeDescriptor::FixedPointBinary && isLong) {
        auto packed = [&](EE_Expression& operand) -> EE_Expression& {
            const EE_TypeDescriptor& t = *operand.typeDescriptor;
            return convertedTo(services.findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::PackedDecimal,
                                                                             decimalDigits(t), t.scale, t.isSigned != 0,
                                                                             EE_DecimalSignTrailing),
                               operand);
        };
        node.left = &packed(*node.left);
        node.right = &packed(*node.right);
        kind = EE_TypeDescriptor::PackedDecimal;
    }
    EE_DecimalSign sign = EE_DecimalSignNoPosition;
    if (isSigned)
        sign = kind == EE_TypeDescriptor::NationalDecimal ? EE_DecimalSignLeadingSeparate : EE_DecimalSignTrailing;
    // The scale of the result: its fraction digits counted negative.
    node.typeDescriptor =
        services.findOrCreateFixedPointTypeDescriptor(kind, static_cast<unsigned>(ir), -dr, isSigned, sign);
    trace("result %d [%d:%d]", static_cast<int>(kind), ir, -dr);
}
