#ifndef NORVEXA_COMPILER_CHECKFORSIDEEFFECTS_H
#define NORVEXA_COMPILER_CHECKFORSIDEEFFECTS_H

#include "compiler/EE_FastDepthFirstVisitor.h"

// Looks through a subtree for increments, decrements and assignments. The
// walk does not stop at the first one.
class CheckForSideEffects : public EE_FastDepthFirstVisitor {
public:
    void visitUnaryExpression(EE_UnaryExpression& node) override;
    void visitBinaryExpression(EE_BinaryExpression& node) override;
    ~CheckForSideEffects() override;

    bool effectSeen = false;
    bool hasSideEffects = false;
};

#endif
