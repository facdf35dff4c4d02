#include "frontend/EE_OffsetofExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_OffsetofExpression::signature(int detail) const
{
    (void)detail;
    return EE_String("offsetof");
}

EE_OffsetofExpression* EE_OffsetofExpression::asOffsetofExpression()
{
    return this;
}

const EE_OffsetofExpression* EE_OffsetofExpression::asOffsetofExpression() const
{
    return this;
}
