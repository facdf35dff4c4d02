#include "frontend/EE_ArraySectionExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_ArraySectionExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("l:u:s");
    EE_String text(signatureOf(lower, detail));
    text << " : " << signatureOf(upper, detail) << " : " << signatureOf(stride, detail);
    return text;
}

EE_ArraySectionExpression* EE_ArraySectionExpression::asArraySectionExpression()
{
    return this;
}

const EE_ArraySectionExpression* EE_ArraySectionExpression::asArraySectionExpression() const
{
    return this;
}
