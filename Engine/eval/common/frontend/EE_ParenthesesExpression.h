#ifndef EE_PARENTHESESEXPRESSION_H
#define EE_PARENTHESESEXPRESSION_H

#include "frontend/EE_Expression.h"

// An expression in parentheses (kind 13).
class EE_ParenthesesExpression : public EE_Expression {
public:
    explicit EE_ParenthesesExpression(EE_Expression* i) : EE_Expression(ParenthesesNode), inner(i) {}

    EE_Expression* inner;

    EE_String signature(int detail) const override;
    EE_ParenthesesExpression* asParenthesesExpression() override;
    const EE_ParenthesesExpression* asParenthesesExpression() const override;
};

#endif
