#include "frontend/EE_ParenthesesExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_ParenthesesExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("()");
    EE_String text("(");
    text << signatureOf(inner, detail) << ")";
    return text;
}

EE_ParenthesesExpression* EE_ParenthesesExpression::asParenthesesExpression()
{
    return this;
}

const EE_ParenthesesExpression* EE_ParenthesesExpression::asParenthesesExpression() const
{
    return this;
}
