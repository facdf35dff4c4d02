#ifndef EE_UNARYEXPRESSION_H
#define EE_UNARYEXPRESSION_H

#include "frontend/EE_Expression.h"

// A unary operator applied to one operand (kind 3).
class EE_UnaryExpression : public EE_Expression {
public:
    enum Kind : unsigned {
        BitwiseNot = 0,    // ~
        LogicalNot = 1,    // ! (COBOL NOT)
        Negate = 2,        // unary -
        UnaryPlus = 3,     // unary +
        AddressOf = 4,     // & (COBOL ADDRESS OF)
        Indirection = 5,   // unary *
        SizeofOperand = 6, // sizeof of an expression (COBOL LENGTH OF)
        TypeidOperand = 7, // typeid of an expression
        RealPart = 8,      // creal
        ImaginaryPart = 9, // cimag
        PreIncrement = 10,
        PostIncrement = 11,
        PreDecrement = 12,
        PostDecrement = 13,
        UserDefined = 14,
        LastKind = 14
    };

    EE_UnaryExpression(Kind k, EE_Expression* o) : EE_Expression(UnaryNode), kind(k), operand(o) {}

    // The short text of an operator kind; a kind without a text raises
    // EE_Exception code 2.
    static const char* unaryExpressionSignature(Kind kind);

    Kind kind;
    EE_Expression* operand;

    EE_String signature(int detail) const override;
    EE_UnaryExpression* asUnaryExpression() override;
    const EE_UnaryExpression* asUnaryExpression() const override;

private:
    static const char* const _info[LastKind + 1];
};

#endif
