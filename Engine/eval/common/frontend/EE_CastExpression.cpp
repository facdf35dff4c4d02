#include "frontend/EE_CastExpression.h"

#include "frontend/EE_Exception.h"
#include "frontend/EE_TypeDescriptor.h"

EE_String EE_CastExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String("cast");
    EE_String text;
    switch (kind) {
    case Parenthesized:
        text << "(" << signatureOf(typeDescriptor) << ") (" << signatureOf(operand, 1) << ")";
        return text;
    case StaticCast: text << "static_cast"; break;
    case ReinterpretCast: text << "reinterpret_cast"; break;
    case ConstCast: text << "const_cast"; break;
    default: throw EE_Exception(EE_Exception::InternalFailure);
    }
    text << "<" << signatureOf(typeDescriptor) << "> (" << signatureOf(operand, 1) << ")";
    return text;
}

EE_CastExpression* EE_CastExpression::asCastExpression()
{
    return this;
}

const EE_CastExpression* EE_CastExpression::asCastExpression() const
{
    return this;
}
