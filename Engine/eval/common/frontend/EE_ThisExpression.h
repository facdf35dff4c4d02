#ifndef EE_THISEXPRESSION_H
#define EE_THISEXPRESSION_H

#include "frontend/EE_Expression.h"

// The object of the member function being run (kind 1). Its type, the
// pointer to the enclosing class, is set when the node is made.
class EE_ThisExpression : public EE_Expression {
public:
    explicit EE_ThisExpression(EE_TypeDescriptor* type) : EE_Expression(ThisNode, type) {}

    EE_String signature(int detail) const override;
    EE_ThisExpression* asThisExpression() override;
    const EE_ThisExpression* asThisExpression() const override;
};

#endif
