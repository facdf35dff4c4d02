#include "frontend/EE_FigConstantExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_FigConstantExpression::signature(int detail) const
{
    (void)detail;
    if (value == nullptr)
        return EE_String();
    return value->signature();
}

EE_FigConstantExpression* EE_FigConstantExpression::asFigConstantExpression()
{
    return this;
}

const EE_FigConstantExpression* EE_FigConstantExpression::asFigConstantExpression() const
{
    return this;
}
