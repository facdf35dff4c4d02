#ifndef EE_TYPEIDOFTYPEEXPRESSION_H
#define EE_TYPEIDOFTYPEEXPRESSION_H

#include "frontend/EE_Expression.h"

// typeid of a type (kind 8).
class EE_TypeidOfTypeExpression : public EE_Expression {
public:
    explicit EE_TypeidOfTypeExpression(EE_TypeDescriptor* t) : EE_Expression(TypeidOfTypeNode), type(t) {}

    EE_TypeDescriptor* type;

    EE_String signature(int detail) const override;
    EE_TypeidOfTypeExpression* asTypeidOfTypeExpression() override;
    const EE_TypeidOfTypeExpression* asTypeidOfTypeExpression() const override;
};

#endif
