#ifndef EE_CONDITIONALEXPRESSION_H
#define EE_CONDITIONALEXPRESSION_H

#include "frontend/EE_Expression.h"

// condition ? whenTrue : whenFalse (kind 5).
class EE_ConditionalExpression : public EE_Expression {
public:
    EE_ConditionalExpression(EE_Expression* c, EE_Expression* t, EE_Expression* f)
        : EE_Expression(ConditionalNode), condition(c), whenTrue(t), whenFalse(f)
    {}

    EE_Expression* condition;
    EE_Expression* whenTrue;
    EE_Expression* whenFalse;

    EE_String signature(int detail) const override;
    EE_ConditionalExpression* asConditionalExpression() override;
    const EE_ConditionalExpression* asConditionalExpression() const override;
};

#endif
