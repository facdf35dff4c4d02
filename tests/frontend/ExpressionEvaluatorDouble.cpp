// The analyser as the front end's tests need it, until the analyser proper
// exists: it types a name from its declaration, a member from the member's
// declaration, a parenthesised expression from its inner expression, and an
// indirection or a subscript from the element type of the pointer or array.
// Anything else is an internal failure. It counts its calls so that tests can
// see the member-access actions use it.

#include "compiler/EE_ExpressionEvaluator.h"

#include "CParserTestSupport.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SubscriptExpression.h"
#include "frontend/EE_TypeDescriptor.h"
#include "frontend/EE_UnaryExpression.h"

namespace cparser {
int analyserCalls = 0;
}

namespace {
EE_TypeDescriptor* declaredType(EE_Name* name)
{
    if (name == nullptr || name->declaration == nullptr)
        return nullptr;
    return name->declaration->analyze();
}
} // namespace

EE_Expression* EE_ExpressionEvaluator::analyze(EE_Expression& expression)
{
    ++cparser::analyserCalls;
    (void)services;
    if (expression.analyzed)
        return &expression;
    EE_TypeDescriptor* type = nullptr;
    if (EE_NameExpression* name = expression.asNameExpression()) {
        type = declaredType(name->name);
    } else if (EE_MemberExpression* member = expression.asMemberExpression()) {
        type = declaredType(member->member);
    } else if (EE_ParenthesesExpression* parens = expression.asParenthesesExpression()) {
        type = parens->inner != nullptr ? analyze(*parens->inner)->typeDescriptor : nullptr;
    } else if (EE_UnaryExpression* unary = expression.asUnaryExpression()) {
        if (unary->kind == EE_UnaryExpression::Indirection && unary->operand != nullptr) {
            EE_TypeDescriptor* pointer = analyze(*unary->operand)->typeDescriptor;
            type = pointer != nullptr ? pointer->next : nullptr;
        }
    } else if (EE_SubscriptExpression* subscript = expression.asSubscriptExpression()) {
        EE_TypeDescriptor* indexed = subscript->left != nullptr ? analyze(*subscript->left)->typeDescriptor : nullptr;
        type = indexed != nullptr ? indexed->next : nullptr;
    } else if (expression.asThisExpression() != nullptr) {
        type = expression.typeDescriptor;
    }
    if (type == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure, &expression);
    expression.typeDescriptor = type;
    expression.analyzed = 1;
    return &expression;
}
