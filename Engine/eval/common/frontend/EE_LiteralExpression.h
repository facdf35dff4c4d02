#ifndef EE_LITERALEXPRESSION_H
#define EE_LITERALEXPRESSION_H

#include "frontend/EE_Expression.h"
#include "frontend/EE_LiteralValue.h"

// A literal (kind 2).
class EE_LiteralExpression : public EE_Expression {
public:
    explicit EE_LiteralExpression(EE_LiteralValue* v) : EE_Expression(LiteralNode), value(v) {}

    EE_LiteralValue* value;

    EE_String signature(int detail) const override;
    EE_LiteralExpression* asLiteralExpression() override;
    const EE_LiteralExpression* asLiteralExpression() const override;
};

#endif
