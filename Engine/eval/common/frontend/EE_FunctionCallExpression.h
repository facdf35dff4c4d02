#ifndef EE_FUNCTIONCALLEXPRESSION_H
#define EE_FUNCTIONCALLEXPRESSION_H

#include "frontend/EE_Expression.h"
#include "frontend/EE_Parameter.h"

// A call callee(parameters) (kind 15).
class EE_FunctionCallExpression : public EE_Expression {
public:
    EE_FunctionCallExpression(EE_Expression* c, EE_Parameter* p, int o)
        : EE_Expression(FunctionCallNode), callee(c), parameters(p), parameterCount(0), option(o)
    {}

    EE_Expression* callee;
    EE_Parameter* parameters; // null for a call without arguments
    unsigned parameterCount;  // 0 when made; for the analyser
    int option;               // given when made (0 from both grammars)

    EE_String signature(int detail) const override;
    EE_FunctionCallExpression* asFunctionCallExpression() override;
    const EE_FunctionCallExpression* asFunctionCallExpression() const override;
};

#endif
