#include "compiler/EE_ExpressionEvaluator.h"

#include <cstring>

#include "compiler/CheckForSideEffects.h"
#include "compiler/EvaluatorSupport.h"
#include "compiler/CxxevalInterface.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_LiteralValue.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

using evaluator::as;
using evaluator::valueContext;

EE_Expression& EE_ExpressionEvaluator::analyze(EE_Expression& e, LoadContext context)
{
    if (e.analyzed)
        return e;
    EE_Expression* result = nullptr;
    switch (e.kind) {
    case EE_Expression::NameNode: result = &analyze(as(e.asNameExpression(), e), context); break;
    case EE_Expression::ThisNode: result = &analyze(as(e.asThisExpression(), e), valueContext(context)); break;
    case EE_Expression::LiteralNode: result = &analyze(as(e.asLiteralExpression(), e), valueContext(context)); break;
    case EE_Expression::UnaryNode: result = &analyze(as(e.asUnaryExpression(), e), valueContext(context)); break;
    case EE_Expression::BinaryNode: result = &analyze(as(e.asBinaryExpression(), e), valueContext(context)); break;
    case EE_Expression::ConditionalNode:
        result = &analyze(as(e.asConditionalExpression(), e), valueContext(context));
        break;
    case EE_Expression::CastNode: result = &analyze(as(e.asCastExpression(), e), context); break;
    case EE_Expression::SizeofTypeNode:
        result = &analyze(as(e.asSizeofTypeExpression(), e), valueContext(context));
        break;
    case EE_Expression::ArraySectionNode:
        result = &analyze(as(e.asArraySectionExpression(), e), valueContext(context));
        break;
    case EE_Expression::VectorSubscriptNode:
        result = &analyze(as(e.asVectorSubscriptExpression(), e), valueContext(context));
        break;
    case EE_Expression::MemberNode: result = &analyze(as(e.asMemberExpression(), e), context); break;
    case EE_Expression::ParenthesesNode:
        result = &analyze(as(e.asParenthesesExpression(), e), valueContext(context));
        break;
    case EE_Expression::ImaginaryNode:
        result = &analyze(as(e.asImaginaryExpression(), e), valueContext(context));
        break;
    case EE_Expression::FunctionCallNode:
        result = &analyze(as(e.asFunctionCallExpression(), e), valueContext(context));
        break;
    case EE_Expression::FigConstantNode:
        result = &analyze(as(e.asFigConstantExpression(), e), valueContext(context));
        break;
    default: // typeid of a type, offsetof and unknown kinds
        throw EE_Exception(EE_Exception::UnsupportedOperator, &e);
    }
    if (result == nullptr || !result->analyzed)
        throw EE_Exception(EE_Exception::InternalFailure);
    // A part of a Fortran array taken as an operand: the subscripts end
    // before its rank does.
    if (_partialSubscript != nullptr && _partialSubscript != result)
        throw EE_Exception(EE_Exception::WrongNumberOfSubscripts, _partialSubscript);
    return *result;
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_BinaryExpression& node, LoadContext context)
{
    switch (node.kind) {
    case EE_BinaryExpression::LogicalOr:
    case EE_BinaryExpression::LogicalAnd:
    case EE_BinaryExpression::LogicalNeqv:
    case EE_BinaryExpression::LogicalEqv: return analyzeLogicalOperators(node, context);
    case EE_BinaryExpression::BitwiseOr:
    case EE_BinaryExpression::BitwiseXor:
    case EE_BinaryExpression::BitwiseAnd:
    case EE_BinaryExpression::ShiftLeft:
    case EE_BinaryExpression::ShiftRight:
    case EE_BinaryExpression::Add:
    case EE_BinaryExpression::Subtract:
    case EE_BinaryExpression::Multiply:
    case EE_BinaryExpression::Divide:
    case EE_BinaryExpression::Remainder:
    case EE_BinaryExpression::Power: return analyzeArithmeticOperators(node, context);
    case EE_BinaryExpression::Equal:
    case EE_BinaryExpression::NotEqual:
    case EE_BinaryExpression::GreaterOrEqual:
    case EE_BinaryExpression::LessOrEqual:
    case EE_BinaryExpression::Greater:
    case EE_BinaryExpression::Less: return analyzeComparisonOperators(node, context);
    case EE_BinaryExpression::Subscript: return analyzeSubscriptOperator(node, context);
    case EE_BinaryExpression::RefModStart: return analyzeRefModOperator(node, context);
    case EE_BinaryExpression::RefModLength: return analyzeRefModLengthOperator(node, context);
    case EE_BinaryExpression::Concatenate: return analyzeConcatOperator(node, context);
    case EE_BinaryExpression::UserDefined: throw EE_Exception(EE_Exception::UnsupportedOperator, &node);
    case EE_BinaryExpression::PointerAssign: return analyzePointerAssignOperator(node, context);
    case EE_BinaryExpression::Comma: return analyzeCommaOperator(node, context);
    default:
        if ((node.kind >= EE_BinaryExpression::Assign && node.kind <= EE_BinaryExpression::OrAssign) ||
            node.kind == EE_BinaryExpression::CobolSet)
            return analyzeAssignOperators(node, context);
        // pointers to members and unknown operators
        throw EE_Exception(EE_Exception::InternalFailure);
    }
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_TypeidOfTypeExpression& node, LoadContext context)
{
    if (context != LoadValue)
        throw EE_Exception(EE_Exception::InternalFailure);
    return node;
}

EE_Expression& EE_ExpressionEvaluator::analyze(EE_OffsetofExpression& node, LoadContext context)
{
    if (context != LoadValue)
        throw EE_Exception(EE_Exception::InternalFailure);
    return node;
}

bool EE_ExpressionEvaluator::hasSideEffects(EE_Expression& expression)
{
    CheckForSideEffects check;
    check.visitExpression(expression);
    return check.hasSideEffects;
}

void EE_ExpressionEvaluator::firstPass(EE_Expression& start, EE_bool counts, EE_bool inExponent)
{
    EE_Expression* e = &start;
    while (e != nullptr) {
        switch (e->kind) {
        case EE_Expression::ParenthesesNode: e = e->asParenthesesExpression()->inner; continue;
        case EE_Expression::UnaryNode: e = e->asUnaryExpression()->operand; continue;
        case EE_Expression::NameNode:
        case EE_Expression::MemberNode:
        case EE_Expression::LiteralNode: {
            EE_TypeDescriptor* type = nullptr;
            if (e->kind == EE_Expression::LiteralNode) {
                type = e->asLiteralExpression()->value->typeDescriptor();
            } else {
                EE_Name* name =
                    e->kind == EE_Expression::NameNode ? e->asNameExpression()->name : e->asMemberExpression()->member;
                if (name == nullptr || name->declaration == nullptr ||
                    (type = name->declaration->setTypeDescriptor()) == nullptr)
                    throw EE_Exception(EE_Exception::InternalFailure);
            }
            if (type == nullptr)
                return;
            switch (type->kind) {
            case EE_TypeDescriptor::PackedDecimal:
            case EE_TypeDescriptor::FixedPointBinary:
            case EE_TypeDescriptor::ZonedDecimal:
            case EE_TypeDescriptor::NationalDecimal:
                _doFProunding = true;
                if (type->scale >= 0)
                    return;
                if (counts && static_cast<unsigned>(-type->scale) > _dmax)
                    _dmax = static_cast<unsigned>(-type->scale);
                if (inExponent)
                    _hasFloatingPoint = true;
                return;
            case EE_TypeDescriptor::ExternalFloat:
            case EE_TypeDescriptor::NationalExternalFloat:
                _doFProunding = true;
                _hasFloatingPoint = true;
                return;
            default:
                if (type->kind >= EE_TypeDescriptor::Float && type->kind <= EE_TypeDescriptor::HexLongDouble)
                    _hasFloatingPoint = true;
                return;
            }
        }
        case EE_Expression::BinaryNode: {
            EE_BinaryExpression& b = *e->asBinaryExpression();
            switch (b.kind) {
            case EE_BinaryExpression::Multiply:
                _doFProunding = true;
                trace("firstPass: opMul");
                [[fallthrough]];
            case EE_BinaryExpression::Add:
            case EE_BinaryExpression::Subtract:
                trace("firstPass: opAdd/opSub");
                ++_numArithOps;
                firstPass(*b.left, _numArithOps < 2 ? counts : 1, inExponent);
                if (_numArithOps > 1)
                    counts = 1;
                e = b.right;
                continue;
            case EE_BinaryExpression::Divide:
                trace("firstPass: opDiv");
                ++_numArithOps;
                firstPass(*b.left, _numArithOps < 2 ? counts : 1, inExponent);
                firstPass(*b.right, 0, inExponent);
                if (inExponent && _dmax != 0)
                    _hasFloatingPoint = true;
                return;
            case EE_BinaryExpression::Power: {
                trace("firstPass: opPow");
                _doFProunding = true;
                ++_numArithOps;
                bool squared = false;
                if (EE_LiteralExpression* literal = b.right->asLiteralExpression())
                    squared = std::strcmp(literal->value->signature().data(), "2") == 0;
                if (_numArithOps < 2 && squared)
                    firstPass(*b.left, counts, inExponent);
                else
                    firstPass(*b.left, 1, inExponent);
                firstPass(*b.right, 0, 1);
                if (inExponent && _dmax != 0)
                    _hasFloatingPoint = true;
                return;
            }
            case EE_BinaryExpression::Subscript:
            case EE_BinaryExpression::RefModStart:
            case EE_BinaryExpression::RefModLength:
                trace("firstPass: opSub/opRef");
                e = b.left;
                continue;
            case EE_BinaryExpression::Assign:
                trace("firstPass: opAssign");
                firstPass(*b.left, counts, inExponent);
                counts = 0;
                e = b.right;
                continue;
            default:
                trace("firstPass: binary default = %d", static_cast<int>(b.kind));
                firstPass(*b.left, counts, inExponent);
                e = b.right;
                continue;
            }
        }
        default: return;
        }
    }
}
