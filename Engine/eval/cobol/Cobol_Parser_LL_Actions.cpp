// The semantic actions of the COBOL grammar: each builds one node (or
// argument link) through the services' factory.

#include "Cobol_Parser_LL.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImplicitMemberName.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_Token.h"
#include "frontend/EE_TypeDescriptor.h"

namespace {

EE_DebuggerServices& services(Cobol_Universe& u)
{
    return *u.dbgServices();
}

EE_Parameter* argument(Cobol_Universe& u, EE_Expression* expression, EE_Parameter* previous, int mode)
{
    EE_Parameter* parameter = services(u).createParameter(expression, previous);
    if (parameter == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    parameter->mode = mode;
    return parameter;
}

EE_Expression* checked(EE_Expression* node)
{
    if (node == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return node;
}

} // namespace

EE_Expression* Cobol_Parser_LL_createMoveExpr(Cobol_Universe& u, EE_Expression* target, EE_Expression* source)
{
    return checked(services(u).createBinaryExpression(EE_BinaryExpression::Assign, target, source));
}

EE_Expression* Cobol_Parser_LL_createComputeExpr(Cobol_Universe& u, EE_Expression* target, EE_Expression* value)
{
    return checked(services(u).createBinaryExpression(EE_BinaryExpression::Assign, target, value));
}

EE_Expression* Cobol_Parser_LL_createSetExpr(Cobol_Universe& u, EE_Expression* target, EE_Expression* value)
{
    return checked(services(u).createBinaryExpression(EE_BinaryExpression::CobolSet, target, value));
}

EE_Expression* Cobol_Parser_LL_createCallExpr(Cobol_Universe& u, EE_Expression* program, EE_Parameter* arguments)
{
    return checked(services(u).createFunctionCallExpression(program, arguments, 0));
}

EE_Parameter* Cobol_Parser_LL_byReferenceParm(Cobol_Universe& u, EE_Expression* expression, EE_Parameter* previous)
{
    return argument(u, expression, previous, Cobol_ByReference);
}

EE_Parameter* Cobol_Parser_LL_byReferenceAddressParm(Cobol_Universe& u, EE_Expression* expression,
                                                     EE_Parameter* previous)
{
    return argument(u, expression, previous, Cobol_ByReferenceAddress);
}

EE_Parameter* Cobol_Parser_LL_byContentParm(Cobol_Universe& u, EE_Expression* expression, EE_Parameter* previous)
{
    return argument(u, expression, previous, Cobol_ByContent);
}

EE_Parameter* Cobol_Parser_LL_byContentAddressParm(Cobol_Universe& u, EE_Expression* expression, EE_Parameter* previous)
{
    return argument(u, expression, previous, Cobol_ByContentAddress);
}

EE_Parameter* Cobol_Parser_LL_noParameters(Cobol_Universe&)
{
    return nullptr;
}

EE_Expression* Cobol_Parser_LL_createBinaryExpr(Cobol_Universe& u, EE_BinaryExpression::Kind kind, EE_Expression* left,
                                                EE_Expression* right)
{
    return checked(services(u).createBinaryExpression(kind, left, right));
}

EE_Expression* Cobol_Parser_LL_createBinaryOpPowerExpr(Cobol_Universe& u, EE_Expression* left, EE_Expression* right)
{
    return checked(services(u).createBinaryExpression(EE_BinaryExpression::Power, left, right));
}

EE_Expression* Cobol_Parser_LL_createUnaryExpr(Cobol_Universe& u, EE_UnaryExpression::Kind kind, EE_Expression* operand)
{
    return checked(services(u).createUnaryExpression(kind, operand));
}

EE_Expression* Cobol_Parser_LL_createParenthesesExpr(Cobol_Universe& u, EE_Expression* inner)
{
    return checked(services(u).createParenthesesExpression(inner));
}

EE_Expression* Cobol_Parser_LL_createLiteralExpr(Cobol_Universe& u, EE_Token& token)
{
    EE_LiteralValue* value = services(u).findOrCreateLiteralValue(token);
    if (value == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return checked(services(u).createLiteralExpression(value));
}

EE_Expression* Cobol_Parser_LL_createTrueExpr(Cobol_Universe& u)
{
    EE_LiteralValue* value = services(u).findOrCreateTrueLiteralValue();
    if (value == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return checked(services(u).createLiteralExpression(value));
}

EE_Expression* Cobol_Parser_LL_createFigConstantExpr(Cobol_Universe& u, EE_Token& token)
{
    EE_FigConstant* value = services(u).findOrCreateFigConstantValue(token);
    if (value == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return checked(services(u).createFigConstantExpression(value));
}

EE_Expression* Cobol_Parser_LL_createNameExpr(Cobol_Universe& u, EE_Token& token)
{
    if (!EE_Token::isNameKind(token.kind) || token.value == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    EE_Name* name = token.value;
    // A data item inside a group, named without the group: a member of the
    // group's expression.
    if (EE_ImplicitMemberName* member = name->asImplicitMemberName())
        return checked(services(u).createMemberExpression(EE_MemberExpression::Dot, member->object, name));
    return checked(services(u).createNameExpression(name));
}

Cobol_SubscriptList* Cobol_Parser_LL_startSubscriptList(Cobol_Universe&, EE_Expression* first)
{
    Cobol_SubscriptList* list = new Cobol_SubscriptList;
    list->items.push_back(first);
    return list;
}

void Cobol_Parser_LL_appendSubscript(Cobol_Universe&, Cobol_SubscriptList& list, EE_Expression* subscript)
{
    list.items.push_back(subscript);
}

// Walks the tree of a (possibly qualified) name from the outermost qualifier
// inward, an object before its member. A member whose type is a table takes
// the next subscript. The outermost name itself takes none.
EE_Expression* Cobol_Parser_LL_applySubscripts(Cobol_Universe& u, EE_Expression* tree, Cobol_SubscriptList& list)
{
    EE_MemberExpression* member = tree->asMemberExpression();
    if (member == nullptr)
        return tree;
    member->object = Cobol_Parser_LL_applySubscripts(u, member->object, list);
    EE_Declaration* declaration = member->member != nullptr ? member->member->declaration : nullptr;
    EE_TypeDescriptor* type = declaration != nullptr ? declaration->setTypeDescriptor() : nullptr;
    if (type == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (type->kind == EE_TypeDescriptor::Array && list.used < list.items.size())
        return checked(
            services(u).createBinaryExpression(EE_BinaryExpression::Subscript, member, list.items[list.used++]));
    return member;
}

EE_Expression* Cobol_Parser_LL_createSubscriptExpr(Cobol_Universe& u, EE_Expression* name, Cobol_SubscriptList* list)
{
    EE_Expression* tree = Cobol_Parser_LL_applySubscripts(u, name, *list);
    if (list->used == 0)
        throw EE_Exception(EE_Exception::NoSubscriptAllowed, tree);
    if (list->used < list->items.size())
        throw EE_Exception(EE_Exception::WrongNumberOfSubscripts, tree);
    return tree;
}

EE_Expression* Cobol_Parser_LL_createRefModExpr(Cobol_Universe& u, EE_Expression* name, EE_Expression* start)
{
    return checked(services(u).createBinaryExpression(EE_BinaryExpression::RefModStart, name, start));
}

EE_Expression* Cobol_Parser_LL_createRefModLengthExpr(Cobol_Universe& u, EE_Expression* start, EE_Expression* length)
{
    return checked(services(u).createBinaryExpression(EE_BinaryExpression::RefModLength, start, length));
}

void Cobol_Parser_LL_setExpression(Cobol_Universe& u, EE_Expression* expression)
{
    u.setExpression(expression);
}
