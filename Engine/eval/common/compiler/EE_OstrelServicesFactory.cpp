// The services object: the syntax-tree factory and template arguments.
// Every node is made in the arena with no type and not analysed; a cast
// carries its target type and `this` the pointer to its class from the
// start.

#include <algorithm>

#include "compiler/EE_OstrelServices.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_SubscriptExpression.h"
#include "frontend/EE_TemplateArgument.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"
#include "frontend/ExpressionDepth.h"

namespace {

unsigned depthOf(const EE_Expression* operand)
{
    return operand != nullptr ? operand->depth : 0;
}

unsigned depthOf(const EE_Parameter* parameters)
{
    unsigned deepest = 0;
    for (const EE_Parameter* p = parameters; p != nullptr; p = p->next)
        deepest = std::max(deepest, depthOf(p->expression));
    return deepest;
}

// The node, one level deeper than its deepest operand; a tree deeper than
// any tree may be is refused as it is built.
template <class Node, class... Operands>
Node* nested(Node* node, const Operands*... operands)
{
    unsigned deepest = 0;
    ((deepest = std::max(deepest, depthOf(operands))), ...);
    if (deepest >= maxExpressionDepth)
        throw EE_ParseException(EE_ParseException::TooDeep, nullptr);
    node->depth = deepest + 1;
    return node;
}

} // namespace

EE_TemplateArgument* EE_OstrelServices::createTemplateArgument(EE_Expression& expression)
{
    return new (arena) EE_TemplateArgument(&expression);
}

EE_TemplateArgument* EE_OstrelServices::createTemplateArgument(const EE_TypeDescriptor& type)
{
    return new (arena) EE_TemplateArgument(const_cast<EE_TypeDescriptor*>(&type));
}

EE_ConditionalExpression* EE_OstrelServices::createConditionalExpression(EE_Expression* condition,
                                                                         EE_Expression* whenTrue,
                                                                         EE_Expression* whenFalse)
{
    return nested(new (arena) EE_ConditionalExpression(condition, whenTrue, whenFalse), condition, whenTrue, whenFalse);
}

EE_UnaryExpression* EE_OstrelServices::createUnaryExpression(EE_UnaryExpression::Kind kind, EE_Expression* operand)
{
    return nested(new (arena) EE_UnaryExpression(kind, operand), operand);
}

// A subscript is a binary node with the analyser's extra fields.
EE_BinaryExpression* EE_OstrelServices::createBinaryExpression(EE_BinaryExpression::Kind kind, EE_Expression* left,
                                                               EE_Expression* right)
{
    if (kind == EE_BinaryExpression::Subscript)
        return nested(new (arena) EE_SubscriptExpression(left, right), left, right);
    return nested(new (arena) EE_BinaryExpression(kind, left, right), left, right);
}

EE_CastExpression* EE_OstrelServices::createCastExpression(EE_CastExpression::Kind kind, EE_TypeDescriptor* type,
                                                           EE_Expression* operand)
{
    return nested(new (arena) EE_CastExpression(kind, type, operand), operand);
}

EE_SizeofTypeExpression* EE_OstrelServices::createSizeofTypeExpression(EE_TypeDescriptor* type)
{
    return new (arena) EE_SizeofTypeExpression(type);
}

EE_TypeidOfTypeExpression* EE_OstrelServices::createTypeidOfTypeExpression(EE_TypeDescriptor* type)
{
    return new (arena) EE_TypeidOfTypeExpression(type);
}

EE_OffsetofExpression* EE_OstrelServices::createOffsetofExpression(EE_Name* name)
{
    return new (arena) EE_OffsetofExpression(name);
}

EE_MemberExpression* EE_OstrelServices::createMemberExpression(EE_MemberExpression::Kind kind, EE_Expression* object,
                                                               EE_Name* member)
{
    return nested(new (arena) EE_MemberExpression(kind, object, member), object);
}

EE_LiteralExpression* EE_OstrelServices::createLiteralExpression(EE_LiteralValue* value)
{
    return new (arena) EE_LiteralExpression(value);
}

EE_FigConstantExpression* EE_OstrelServices::createFigConstantExpression(EE_FigConstant* value)
{
    return new (arena) EE_FigConstantExpression(value);
}

// `this` points to the closest class around the current scope; outside any
// class there is none.
EE_ThisExpression* EE_OstrelServices::createThisExpression()
{
    EE_TypeDescriptor& owner = present(typeDescriptorOfClosestEnclosingClass());
    EE_TypeDescriptor* pointer = findOrCreateTypeDescriptor(EE_TypeDescriptor::Pointer, owner, 0);
    return new (arena) EE_ThisExpression(pointer);
}

EE_NameExpression* EE_OstrelServices::createNameExpression(EE_Name* name)
{
    return new (arena) EE_NameExpression(name);
}

EE_SubscriptExpression* EE_OstrelServices::createNameSubrangeExpression(EE_Expression* name, EE_Expression* range)
{
    return nested(new (arena) EE_SubscriptExpression(name, range), name, range);
}

EE_ParenthesesExpression* EE_OstrelServices::createParenthesesExpression(EE_Expression* inner)
{
    return nested(new (arena) EE_ParenthesesExpression(inner), inner);
}

EE_ImaginaryExpression* EE_OstrelServices::createImaginaryExpression()
{
    return new (arena) EE_ImaginaryExpression();
}

EE_Parameter* EE_OstrelServices::createParameter(EE_Expression* expression, EE_Parameter* next)
{
    return new (arena) EE_Parameter(expression, next);
}

EE_FunctionCallExpression* EE_OstrelServices::createFunctionCallExpression(EE_Expression* callee,
                                                                           EE_Parameter* parameters, int option)
{
    return nested(new (arena) EE_FunctionCallExpression(callee, parameters, option), callee, parameters);
}

EE_ArraySectionExpression* EE_OstrelServices::createArraySectionExpression(EE_Expression* lower, EE_Expression* upper,
                                                                           EE_Expression* stride,
                                                                           unsigned int dimension, int argument)
{
    return nested(new (arena) EE_ArraySectionExpression(lower, upper, stride, dimension, argument), lower, upper,
                  stride);
}

EE_VectorSubscriptExpression*
EE_OstrelServices::createVectorSubscriptExpression(EE_Parameter* parameters, unsigned int first, unsigned int second)
{
    return nested(new (arena) EE_VectorSubscriptExpression(parameters, first, second), parameters);
}
