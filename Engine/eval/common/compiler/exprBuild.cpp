#include "compiler/CxxevalInterface.h"
#include "compiler/EE_ExpressionEvaluator.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "compiler/ExpressionBuild.h"
#include "compiler/ParseError.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_Parser.h"
#include "services/SVC.h"

namespace {

EE_Expression* withoutParentheses(EE_Expression* e)
{
    while (e != nullptr && e->kind == EE_Expression::ParenthesesNode)
        e = e->asParenthesesExpression()->inner;
    return e;
}

void buildTrace(const char* step)
{
    SVC::fTrace("exprBuild", __LINE__, "%s", step);
}

SymbolItem* symbolOf(EE_Declaration* declaration)
{
    if (declaration == nullptr || !declaration->isSymbol())
        return nullptr;
    return const_cast<SymbolItem*>(static_cast<EE_OstrelDeclaration*>(declaration)->symbol());
}

// The table dimensions of a declared type (nested arrays counted).
unsigned dimensionsOf(const EE_TypeDescriptor* type)
{
    unsigned n = 0;
    for (; type != nullptr && type->kind == EE_TypeDescriptor::Array; type = type->next)
        ++n;
    return n;
}

// The subscripts a COBOL result name shows: the tables among the designated
// item and the groups it is qualified by.
unsigned subscriptsShown(EE_Expression* e)
{
    unsigned n = 0;
    while ((e = withoutParentheses(e)) != nullptr) {
        if (EE_BinaryExpression* b = e->asBinaryExpression();
            b != nullptr && b->kind == EE_BinaryExpression::Subscript) {
            e = b->left;
        } else if (EE_MemberExpression* m = e->asMemberExpression()) {
            if (m->member != nullptr && m->member->declaration != nullptr)
                n += dimensionsOf(m->member->declaration->setTypeDescriptor());
            e = m->object;
        } else if (EE_NameExpression* name = e->asNameExpression()) {
            if (name->name != nullptr && name->name->declaration != nullptr)
                n += dimensionsOf(name->name->declaration->setTypeDescriptor());
            break;
        } else {
            break;
        }
    }
    return n;
}

// The variable the expression designates: parentheses are stepped into,
// then one subscript is stepped over. A table member named alone designates
// the whole table, so it gets no implicit subscript.
void findRootSymbol(EE_Expression* root, expression_info& info, bool cobol)
{
    EE_Expression* e = withoutParentheses(root);
    if (EE_BinaryExpression* b = e->asBinaryExpression(); b != nullptr && b->kind == EE_BinaryExpression::Subscript)
        e = b->left;
    SymbolItem* found = nullptr;
    if (e->kind == EE_Expression::NameNode) {
        EE_Name* name = e->asNameExpression()->name;
        found = name != nullptr ? symbolOf(name->declaration) : nullptr;
    } else if (e->kind == EE_Expression::MemberNode) {
        EE_MemberExpression* member = e->asMemberExpression();
        EE_Declaration* declaration = member->member != nullptr ? member->member->declaration : nullptr;
        if (declaration == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        EE_TypeDescriptor* type = declaration->setTypeDescriptor();
        if (type == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        if (type->kind == EE_TypeDescriptor::Array)
            member->implicitSubscript = 0;
        found = symbolOf(declaration);
    }
    if (found == nullptr)
        return;
    info.rootSymbol = found;
    if (cobol)
        info.subscriptCount = subscriptsShown(root);
}

} // namespace

TypeItem* exprBuild(const char* text, const ScopeItem* scope, expression_info* info)
{
    if (info == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    // Cleared before anything can fail: a caller may size the parameter list
    // by it after a failed build.
    info->parameterCount = 0;
    info->subscriptCount = 0;
    EE_OstrelServices services(scope, scopeFilescope());
    ParseError* failure = nullptr;
    try {
        EE_Parser parser(services, 0);
        EE_Expression* expr = parser.parseTheExpression(text != nullptr ? text : "", 0);
        if (expr == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        findRootSymbol(expr, *info, services.isCobol());
        buildTrace("before EE_ExpressionEvaluator evaluator");
        EE_ExpressionEvaluator evaluator(services);
        buildTrace("after EE_ExpressionEvaluator evaluator");
        expr = evaluator.analyze(*expr);
        if (expr == nullptr || expr->typeDescriptor == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        buildTrace("after &evaluator.analyze(*expr)");
        info->resultType = const_cast<TypeItem*>(EE_OstrelTypeDescriptor::typeOf(*expr->typeDescriptor));
        info->parameterCount = evaluator.sectionDimensions();
        buildTrace("after ((EE_OstrelTypeDescriptor&)expr->typeDescriptor()).key()");
        info->instructions = new EE_InstructionStream();
        buildTrace("after new EE_InstructionStream()");
        services.setMachine(info->instructions);
        buildTrace("after ostrelger.setMachine(exprInfo->instructions)");
        evaluator.evaluate(*expr);
        buildTrace("after evaluator.evaluate(*expr)");
        info->instructions->genEnd();
        buildTrace("after exprInfo->instructions->genEnd()");
    } catch (ParseError*) {
        throw;
    } catch (...) {
        failure = ParseError::ofCurrentException();
    }
    // A failure that names no part of the text names the whole text.
    if (failure != nullptr && failure->kind() == ParseError::t_unexpectedOperation && *failure->text() == '\0') {
        delete failure;
        failure = new ParseError(ParseError::t_unexpectedOperation, text);
    }
    if (failure != nullptr)
        throw failure;
    return info->resultType;
}
