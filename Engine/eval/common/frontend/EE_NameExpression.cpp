#include "frontend/EE_NameExpression.h"

#include "frontend/EE_Name.h"
#include "frontend/EE_TypeDescriptor.h"

EE_String EE_NameExpression::signature(int detail) const
{
    (void)detail;
    // The name's signature in both forms.
    if (name == nullptr)
        return EE_String();
    return name->signature();
}

EE_NameExpression* EE_NameExpression::asNameExpression()
{
    return this;
}

const EE_NameExpression* EE_NameExpression::asNameExpression() const
{
    return this;
}
