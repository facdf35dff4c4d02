#include "frontend/EE_SubscriptExpression.h"

EE_SubscriptExpression* EE_SubscriptExpression::asSubscriptExpression()
{
    return this;
}

const EE_SubscriptExpression* EE_SubscriptExpression::asSubscriptExpression() const
{
    return this;
}
