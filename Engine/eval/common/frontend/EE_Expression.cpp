#include "frontend/EE_Expression.h"

#include "frontend/EE_Exception.h"
#include "frontend/EE_TypeDescriptor.h"

EE_String EE_Expression::signature(int) const
{
    // Every node class gives its own text; reaching the base is a fault.
    throw EE_Exception(EE_Exception::InternalFailure);
}

EE_String EE_Expression::signatureOf(const EE_Expression* expression, int detail)
{
    if (expression == nullptr)
        return EE_String();
    return expression->signature(detail);
}

EE_String EE_Expression::signatureOf(const EE_TypeDescriptor* type)
{
    if (type == nullptr)
        return EE_String();
    return type->signature();
}

EE_NameExpression* EE_Expression::asNameExpression()
{
    return nullptr;
}

EE_ThisExpression* EE_Expression::asThisExpression()
{
    return nullptr;
}

EE_LiteralExpression* EE_Expression::asLiteralExpression()
{
    return nullptr;
}

EE_FigConstantExpression* EE_Expression::asFigConstantExpression()
{
    return nullptr;
}

EE_UnaryExpression* EE_Expression::asUnaryExpression()
{
    return nullptr;
}

EE_BinaryExpression* EE_Expression::asBinaryExpression()
{
    return nullptr;
}

EE_ConditionalExpression* EE_Expression::asConditionalExpression()
{
    return nullptr;
}

EE_CastExpression* EE_Expression::asCastExpression()
{
    return nullptr;
}

EE_SizeofTypeExpression* EE_Expression::asSizeofTypeExpression()
{
    return nullptr;
}

EE_TypeidOfTypeExpression* EE_Expression::asTypeidOfTypeExpression()
{
    return nullptr;
}

EE_OffsetofExpression* EE_Expression::asOffsetofExpression()
{
    return nullptr;
}

EE_ArraySectionExpression* EE_Expression::asArraySectionExpression()
{
    return nullptr;
}

EE_VectorSubscriptExpression* EE_Expression::asVectorSubscriptExpression()
{
    return nullptr;
}

EE_MemberExpression* EE_Expression::asMemberExpression()
{
    return nullptr;
}

EE_ParenthesesExpression* EE_Expression::asParenthesesExpression()
{
    return nullptr;
}

EE_ImaginaryExpression* EE_Expression::asImaginaryExpression()
{
    return nullptr;
}

EE_FunctionCallExpression* EE_Expression::asFunctionCallExpression()
{
    return nullptr;
}

EE_SubscriptExpression* EE_Expression::asSubscriptExpression()
{
    return nullptr;
}

const EE_NameExpression* EE_Expression::asNameExpression() const
{
    return nullptr;
}

const EE_ThisExpression* EE_Expression::asThisExpression() const
{
    return nullptr;
}

const EE_LiteralExpression* EE_Expression::asLiteralExpression() const
{
    return nullptr;
}

const EE_FigConstantExpression* EE_Expression::asFigConstantExpression() const
{
    return nullptr;
}

const EE_UnaryExpression* EE_Expression::asUnaryExpression() const
{
    return nullptr;
}

const EE_BinaryExpression* EE_Expression::asBinaryExpression() const
{
    return nullptr;
}

const EE_ConditionalExpression* EE_Expression::asConditionalExpression() const
{
    return nullptr;
}

const EE_CastExpression* EE_Expression::asCastExpression() const
{
    return nullptr;
}

const EE_SizeofTypeExpression* EE_Expression::asSizeofTypeExpression() const
{
    return nullptr;
}

const EE_TypeidOfTypeExpression* EE_Expression::asTypeidOfTypeExpression() const
{
    return nullptr;
}

const EE_OffsetofExpression* EE_Expression::asOffsetofExpression() const
{
    return nullptr;
}

const EE_ArraySectionExpression* EE_Expression::asArraySectionExpression() const
{
    return nullptr;
}

const EE_VectorSubscriptExpression* EE_Expression::asVectorSubscriptExpression() const
{
    return nullptr;
}

const EE_MemberExpression* EE_Expression::asMemberExpression() const
{
    return nullptr;
}

const EE_ParenthesesExpression* EE_Expression::asParenthesesExpression() const
{
    return nullptr;
}

const EE_ImaginaryExpression* EE_Expression::asImaginaryExpression() const
{
    return nullptr;
}

const EE_FunctionCallExpression* EE_Expression::asFunctionCallExpression() const
{
    return nullptr;
}

const EE_SubscriptExpression* EE_Expression::asSubscriptExpression() const
{
    return nullptr;
}
