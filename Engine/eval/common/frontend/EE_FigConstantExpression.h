#ifndef EE_FIGCONSTANTEXPRESSION_H
#define EE_FIGCONSTANTEXPRESSION_H

#include "frontend/EE_Expression.h"
#include "frontend/EE_FigConstant.h"

// A COBOL figurative constant (kind 16).
class EE_FigConstantExpression : public EE_Expression {
public:
    explicit EE_FigConstantExpression(EE_FigConstant* v) : EE_Expression(FigConstantNode), value(v) {}

    EE_FigConstant* value;

    EE_String signature(int detail) const override;
    EE_FigConstantExpression* asFigConstantExpression() override;
    const EE_FigConstantExpression* asFigConstantExpression() const override;
};

#endif
