#include "frontend/EE_LiteralExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_LiteralExpression::signature(int detail) const
{
    (void)detail;
    if (value == nullptr)
        return EE_String();
    return value->signature();
}

EE_LiteralExpression* EE_LiteralExpression::asLiteralExpression()
{
    return this;
}

const EE_LiteralExpression* EE_LiteralExpression::asLiteralExpression() const
{
    return this;
}
