#ifndef EE_CASTEXPRESSION_H
#define EE_CASTEXPRESSION_H

#include "frontend/EE_Expression.h"

// A conversion of the operand to the type in `typeDescriptor` (kind 6). Kind
// 0 is a cast in parentheses (also the implicit conversions that the analyser
// inserts), kinds 1 to 3 the C++ named casts.
class EE_CastExpression : public EE_Expression {
public:
    enum Kind : unsigned {
        Parenthesized = 0,
        StaticCast = 1,
        ReinterpretCast = 2,
        ConstCast = 3
    };

    EE_CastExpression(Kind k, EE_TypeDescriptor* type, EE_Expression* o)
        : EE_Expression(CastNode, type), kind(k), operand(o)
    {}

    Kind kind;
    EE_Expression* operand;

    EE_String signature(int detail) const override;
    EE_CastExpression* asCastExpression() override;
    const EE_CastExpression* asCastExpression() const override;
};

#endif
