#include "compiler/EE_FastDepthFirstVisitor.h"

void EE_FastDepthFirstVisitor::visitExpression(EE_Expression& node)
{
    EE_DepthFirstVisitor::visitExpression(node);
}

EE_FastDepthFirstVisitor::~EE_FastDepthFirstVisitor() = default;
