#ifndef EE_SIZEOFTYPEEXPRESSION_H
#define EE_SIZEOFTYPEEXPRESSION_H

#include "frontend/EE_Expression.h"

// sizeof of a type (kind 7).
class EE_SizeofTypeExpression : public EE_Expression {
public:
    explicit EE_SizeofTypeExpression(EE_TypeDescriptor* t) : EE_Expression(SizeofTypeNode), type(t) {}

    EE_TypeDescriptor* type;

    EE_String signature(int detail) const override;
    EE_SizeofTypeExpression* asSizeofTypeExpression() override;
    const EE_SizeofTypeExpression* asSizeofTypeExpression() const override;
};

#endif
