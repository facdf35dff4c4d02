#include "frontend/EE_DepthFirstVisitor.h"

#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

namespace {
// A parameter chain longer than this runs in a circle.
constexpr unsigned MaxParameters = 1u << 20;

template <class T>
T& checked(T* node)
{
    if (node == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return *node;
}
} // namespace

EE_DepthFirstVisitor::~EE_DepthFirstVisitor() = default;

void EE_DepthFirstVisitor::visitExpression(EE_Expression& node)
{
    switch (node.kind) {
    case EE_Expression::NameNode: visitNameExpression(checked(node.asNameExpression())); break;
    case EE_Expression::ThisNode: visitThisExpression(checked(node.asThisExpression())); break;
    case EE_Expression::LiteralNode: visitLiteralExpression(checked(node.asLiteralExpression())); break;
    case EE_Expression::UnaryNode: visitUnaryExpression(checked(node.asUnaryExpression())); break;
    case EE_Expression::BinaryNode: visitBinaryExpression(checked(node.asBinaryExpression())); break;
    case EE_Expression::ConditionalNode: visitConditionalExpression(checked(node.asConditionalExpression())); break;
    case EE_Expression::CastNode: visitCastExpression(checked(node.asCastExpression())); break;
    case EE_Expression::SizeofTypeNode: visitSizeofTypeExpression(checked(node.asSizeofTypeExpression())); break;
    case EE_Expression::TypeidOfTypeNode: visitTypeidOfTypeExpression(checked(node.asTypeidOfTypeExpression())); break;
    case EE_Expression::OffsetofNode: visitOffsetofExpression(checked(node.asOffsetofExpression())); break;
    case EE_Expression::ArraySectionNode: visitArraySectionExpression(checked(node.asArraySectionExpression())); break;
    case EE_Expression::VectorSubscriptNode:
        visitVectorSubscriptExpression(checked(node.asVectorSubscriptExpression()));
        break;
    case EE_Expression::MemberNode: visitMemberExpression(checked(node.asMemberExpression())); break;
    case EE_Expression::ParenthesesNode: visitParenthesesExpression(checked(node.asParenthesesExpression())); break;
    case EE_Expression::ImaginaryNode: visitImaginaryExpression(checked(node.asImaginaryExpression())); break;
    case EE_Expression::FunctionCallNode: visitFunctionCallExpression(checked(node.asFunctionCallExpression())); break;
    case EE_Expression::FigConstantNode: visitFigConstantExpression(checked(node.asFigConstantExpression())); break;
    default: throw EE_Exception(EE_Exception::InternalFailure);
    }
}

void EE_DepthFirstVisitor::visitChild(EE_Expression* child)
{
    if (child != nullptr)
        visitExpression(*child);
}

void EE_DepthFirstVisitor::visitParameters(EE_Parameter* parameters)
{
    unsigned count = 0;
    for (EE_Parameter* p = parameters; p != nullptr; p = p->next) {
        if (++count > MaxParameters)
            throw EE_Exception(EE_Exception::InternalFailure);
        visitParameter(*p);
    }
}

void EE_DepthFirstVisitor::visitUnaryExpression(EE_UnaryExpression& node)
{
    visitChild(node.operand);
}

void EE_DepthFirstVisitor::visitBinaryExpression(EE_BinaryExpression& node)
{
    visitChild(node.left);
    visitChild(node.right);
}

void EE_DepthFirstVisitor::visitConditionalExpression(EE_ConditionalExpression& node)
{
    visitChild(node.condition);
    visitChild(node.whenTrue);
    visitChild(node.whenFalse);
}

void EE_DepthFirstVisitor::visitCastExpression(EE_CastExpression& node)
{
    visitChild(node.operand);
}

void EE_DepthFirstVisitor::visitParenthesesExpression(EE_ParenthesesExpression& node)
{
    visitChild(node.inner);
}

void EE_DepthFirstVisitor::visitOffsetofExpression(EE_OffsetofExpression&) {}

void EE_DepthFirstVisitor::visitArraySectionExpression(EE_ArraySectionExpression& node)
{
    visitChild(node.lower);
    visitChild(node.upper);
    visitChild(node.stride);
}

void EE_DepthFirstVisitor::visitVectorSubscriptExpression(EE_VectorSubscriptExpression& node)
{
    visitParameters(node.parameters);
}

void EE_DepthFirstVisitor::visitMemberExpression(EE_MemberExpression& node)
{
    // The member is a name, not a sub-expression: only the object is visited.
    visitChild(node.object);
}

void EE_DepthFirstVisitor::visitNameExpression(EE_NameExpression&) {}

void EE_DepthFirstVisitor::visitThisExpression(EE_ThisExpression&) {}

void EE_DepthFirstVisitor::visitLiteralExpression(EE_LiteralExpression&) {}

void EE_DepthFirstVisitor::visitFigConstantExpression(EE_FigConstantExpression&) {}

void EE_DepthFirstVisitor::visitSizeofTypeExpression(EE_SizeofTypeExpression&) {}

void EE_DepthFirstVisitor::visitTypeidOfTypeExpression(EE_TypeidOfTypeExpression&) {}

void EE_DepthFirstVisitor::visitImaginaryExpression(EE_ImaginaryExpression&) {}

void EE_DepthFirstVisitor::visitFunctionCallExpression(EE_FunctionCallExpression& node)
{
    visitChild(node.callee);
    visitParameters(node.parameters);
}

void EE_DepthFirstVisitor::visitParameter(EE_Parameter& parameter)
{
    visitChild(parameter.expression);
}
