#include "frontend/EE_VectorSubscriptExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_VectorSubscriptExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("(/");
    EE_String text("(/");
    if (parameters != nullptr)
        text << parameters->signature();
    text << "/)";
    return text;
}

EE_VectorSubscriptExpression* EE_VectorSubscriptExpression::asVectorSubscriptExpression()
{
    return this;
}

const EE_VectorSubscriptExpression* EE_VectorSubscriptExpression::asVectorSubscriptExpression() const
{
    return this;
}
