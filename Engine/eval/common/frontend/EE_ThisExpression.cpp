#include "frontend/EE_ThisExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_ThisExpression::signature(int detail) const
{
    (void)detail;
    return EE_String("this");
}

EE_ThisExpression* EE_ThisExpression::asThisExpression()
{
    return this;
}

const EE_ThisExpression* EE_ThisExpression::asThisExpression() const
{
    return this;
}
