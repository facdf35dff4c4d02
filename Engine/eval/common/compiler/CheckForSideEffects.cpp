#include "compiler/CheckForSideEffects.h"

#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_UnaryExpression.h"

void CheckForSideEffects::visitUnaryExpression(EE_UnaryExpression& node)
{
    if (node.kind >= EE_UnaryExpression::PreIncrement && node.kind <= EE_UnaryExpression::PostDecrement)
        effectSeen = hasSideEffects = true;
    EE_FastDepthFirstVisitor::visitUnaryExpression(node);
}

void CheckForSideEffects::visitBinaryExpression(EE_BinaryExpression& node)
{
    if (node.kind >= EE_BinaryExpression::Assign && node.kind <= EE_BinaryExpression::PointerAssign)
        effectSeen = hasSideEffects = true;
    EE_FastDepthFirstVisitor::visitBinaryExpression(node);
}

CheckForSideEffects::~CheckForSideEffects() = default;
