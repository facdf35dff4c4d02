#ifndef NORVEXA_COMPILER_EE_FASTDEPTHFIRSTVISITOR_H
#define NORVEXA_COMPILER_EE_FASTDEPTHFIRSTVISITOR_H

#include "frontend/EE_DepthFirstVisitor.h"

// The depth-first walk of the analyser's own checks: the whole tree in the
// base's order (a unary node's operand; a binary node's left, then right).
class EE_FastDepthFirstVisitor : public EE_DepthFirstVisitor {
public:
    void visitExpression(EE_Expression& node) override;
    ~EE_FastDepthFirstVisitor() override;
};

#endif
