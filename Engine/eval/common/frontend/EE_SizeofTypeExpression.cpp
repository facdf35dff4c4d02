#include "frontend/EE_SizeofTypeExpression.h"

#include "frontend/EE_TypeDescriptor.h"

EE_String EE_SizeofTypeExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("sizeof");
    EE_String text("sizeof(");
    text << signatureOf(type) << ")";
    return text;
}

EE_SizeofTypeExpression* EE_SizeofTypeExpression::asSizeofTypeExpression()
{
    return this;
}

const EE_SizeofTypeExpression* EE_SizeofTypeExpression::asSizeofTypeExpression() const
{
    return this;
}
