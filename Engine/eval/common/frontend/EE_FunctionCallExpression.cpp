#include "frontend/EE_FunctionCallExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_FunctionCallExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("()");
    EE_String text(signatureOf(callee, detail));
    text << "(";
    if (parameters != nullptr)
        text << parameters->signature();
    text << ")";
    return text;
}

EE_FunctionCallExpression* EE_FunctionCallExpression::asFunctionCallExpression()
{
    return this;
}

const EE_FunctionCallExpression* EE_FunctionCallExpression::asFunctionCallExpression() const
{
    return this;
}
