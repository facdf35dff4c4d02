#include "frontend/EE_ConditionalExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_ConditionalExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("?:");
    EE_String text(signatureOf(condition, detail));
    text << " ? " << signatureOf(whenTrue, detail) << " : " << signatureOf(whenFalse, detail);
    return text;
}

EE_ConditionalExpression* EE_ConditionalExpression::asConditionalExpression()
{
    return this;
}

const EE_ConditionalExpression* EE_ConditionalExpression::asConditionalExpression() const
{
    return this;
}
