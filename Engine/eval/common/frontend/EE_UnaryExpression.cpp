#include "frontend/EE_UnaryExpression.h"

#include "frontend/EE_Exception.h"
#include "frontend/EE_Language.h"

const char* const EE_UnaryExpression::_info[LastKind + 1] = {"~",       "!",      "unary -", "unary +", "&",
                                                             "unary *", "sizeof", "typeid",  "creal",   "cimag",
                                                             "pre ++",  "post++", "pre --",  "post --", "unary def"};

const char* EE_UnaryExpression::unaryExpressionSignature(Kind kind)
{
    if (static_cast<unsigned>(kind) > LastKind)
        throw EE_Exception(EE_Exception::InternalFailure);
    return _info[kind];
}

EE_String EE_UnaryExpression::signature(int detail) const
{
    if (detail == 0)
        return EE_String(unaryExpressionSignature(kind));
    EE_String operandText(signatureOf(operand, detail));
    EE_String text;
    switch (kind) {
    case Negate: text << "-" << operandText; break;
    case UnaryPlus: text << "+" << operandText; break;
    case AddressOf: text << (EE_isCobolLanguage() ? "ADDRESS OF " : "&") << operandText; break;
    case Indirection: text << "*(" << operandText << ")"; break;
    case SizeofOperand: text << "sizeof(" << operandText << ")"; break;
    case TypeidOperand: text << "typeid(" << operandText << ")"; break;
    case RealPart: text << "creal(" << operandText << ")"; break;
    case ImaginaryPart: text << "cimag(" << operandText << ")"; break;
    case PreIncrement: text << "++" << operandText; break;
    case PostIncrement: text << operandText << "++"; break;
    case PreDecrement: text << "--" << operandText; break;
    case PostDecrement: text << operandText << "--"; break;
    default:
        // ~, ! and user-defined operators: the short text, then the operand.
        text << unaryExpressionSignature(kind) << operandText;
        break;
    }
    return text;
}

EE_UnaryExpression* EE_UnaryExpression::asUnaryExpression()
{
    return this;
}

const EE_UnaryExpression* EE_UnaryExpression::asUnaryExpression() const
{
    return this;
}
