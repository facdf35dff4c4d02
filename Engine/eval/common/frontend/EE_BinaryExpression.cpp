#include "frontend/EE_BinaryExpression.h"

#include "frontend/EE_Exception.h"
#include "frontend/EE_Language.h"

// One text per operator kind, reference modification and SET included.
const char* const EE_BinaryExpression::_info[LastKind + 1] = {
    "||", "&&",         "!^^", "^^", "|",  "^",  "&",  "==", "/=",  ">=",  "<=", ">",      "<",
    "<<", ">>",         "+",   "-",  "*",  "/",  "%",  "**", "->*", ".*",  "()", "refmod", "refmod length",
    "//", "binary def", "=",   "*=", "/=", "%=", "+=", "-=", ">>=", "<<=", "&=", "^=",     "|=",
    "=>", ",",          "SET"};

const char* EE_BinaryExpression::binaryExpressionSignature(Kind kind)
{
    if (static_cast<unsigned>(kind) > LastKind)
        throw EE_Exception(EE_Exception::InternalFailure);
    return _info[kind];
}

EE_String EE_BinaryExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String(binaryExpressionSignature(kind));
    // In COBOL an operation is shown by its left operand.
    if (EE_isCobolLanguage())
        return signatureOf(left, detail);
    EE_String text(signatureOf(left, detail));
    if (kind == Subscript)
        text << "[" << signatureOf(right, detail) << "]";
    else
        text << binaryExpressionSignature(kind) << signatureOf(right, detail);
    return text;
}

EE_BinaryExpression* EE_BinaryExpression::asBinaryExpression()
{
    return this;
}

const EE_BinaryExpression* EE_BinaryExpression::asBinaryExpression() const
{
    return this;
}
