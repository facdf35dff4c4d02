#ifndef EE_IMAGINARYEXPRESSION_H
#define EE_IMAGINARYEXPRESSION_H

#include "frontend/EE_Expression.h"

// The imaginary unit (kind 14).
class EE_ImaginaryExpression : public EE_Expression {
public:
    EE_ImaginaryExpression() : EE_Expression(ImaginaryNode) {}

    EE_String signature(int detail) const override;
    EE_ImaginaryExpression* asImaginaryExpression() override;
    const EE_ImaginaryExpression* asImaginaryExpression() const override;
};

#endif
