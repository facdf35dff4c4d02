#include "frontend/EE_TypeidOfTypeExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_TypeidOfTypeExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("typeid");
    EE_String text("typeid(");
    text << signatureOf(type) << ")";
    return text;
}

EE_TypeidOfTypeExpression* EE_TypeidOfTypeExpression::asTypeidOfTypeExpression()
{
    return this;
}

const EE_TypeidOfTypeExpression* EE_TypeidOfTypeExpression::asTypeidOfTypeExpression() const
{
    return this;
}
