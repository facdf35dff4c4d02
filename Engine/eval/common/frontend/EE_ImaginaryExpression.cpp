#include "frontend/EE_ImaginaryExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_ImaginaryExpression::signature(int detail) const
{
    (void)detail;
    return EE_String("__I");
}

EE_ImaginaryExpression* EE_ImaginaryExpression::asImaginaryExpression()
{
    return this;
}

const EE_ImaginaryExpression* EE_ImaginaryExpression::asImaginaryExpression() const
{
    return this;
}
