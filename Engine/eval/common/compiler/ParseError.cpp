#include "compiler/ParseError.h"

#include <cstring>

#include "frontend/EE_Exception.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_TraceBackInformation.h"

ParseError::ParseError(ErrorType kind, const char* text) : kind_(kind), text_(nullptr)
{
    const char* from = text != nullptr ? text : "";
    const std::size_t n = std::strlen(from);
    text_ = new char[n + 1];
    std::memcpy(text_, from, n + 1);
}

ParseError::~ParseError()
{
    delete[] text_;
}

ParseError::ErrorType ParseError::ofParseExceptionCode(unsigned code)
{
    static const ErrorType kinds[] = {t_notPointer, t_notClassScope, t_unspecified, t_noSymbol,     t_badLiteral,
                                      t_errorAt,    t_ambigSymbol,   t_notReady,    t_notAllocated, t_tooDeep};
    return code < sizeof kinds / sizeof kinds[0] ? kinds[code] : t_unspecified;
}

ParseError::ErrorType ParseError::ofExceptionCode(unsigned code)
{
    static const ErrorType kinds[] = {
        t_unexpectedType, t_unexpectedOperator, t_unexpectedOperation, t_unsupportedOperator,   t_invalidOperand,
        t_noType,         t_noSymbol,           t_badRefMod,           t_badNumberOfSubscripts, t_noSubscriptAllowed};
    return code < sizeof kinds / sizeof kinds[0] ? kinds[code] : t_unspecified;
}

ParseError* ParseError::ofCurrentException()
{
    try {
        throw;
    } catch (const char* message) {
        return new ParseError(t_unspecified, message);
    } catch (const EE_ParseException& e) {
        return new ParseError(ofParseExceptionCode(e.code), e.position);
    } catch (const EE_Exception& e) {
        const ErrorType kind = ofExceptionCode(e.code);
        EE_Expression* node = e.node;
        while (node != nullptr && node->kind == EE_Expression::ParenthesesNode)
            node = node->asParenthesesExpression()->inner;
        if (node == nullptr || kind == t_badRefMod)
            return new ParseError(kind, "");
        return new ParseError(kind, node->signature(1).data());
    } catch (const EE_TraceBackInformation&) {
        return new ParseError(t_unspecified, "Traceback");
    } catch (...) {
        return new ParseError(t_unspecified, "Undefined");
    }
}
