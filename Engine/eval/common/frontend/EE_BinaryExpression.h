#ifndef EE_BINARYEXPRESSION_H
#define EE_BINARYEXPRESSION_H

#include "frontend/EE_Expression.h"

// A binary operator applied to two operands (kind 4). Subscripts (operator
// 23) are made as EE_SubscriptExpression, which derives from this class.
class EE_BinaryExpression : public EE_Expression {
public:
    enum Kind : unsigned {
        LogicalOr = 0,   // || (COBOL OR)
        LogicalAnd = 1,  // && (COBOL AND)
        LogicalNeqv = 2, // !^^
        LogicalEqv = 3,  // ^^
        BitwiseOr = 4,
        BitwiseXor = 5,
        BitwiseAnd = 6,
        Equal = 7,
        NotEqual = 8,
        GreaterOrEqual = 9,
        LessOrEqual = 10,
        Greater = 11,
        Less = 12,
        ShiftLeft = 13,
        ShiftRight = 14,
        Add = 15,
        Subtract = 16,
        Multiply = 17,
        Divide = 18,
        Remainder = 19,
        Power = 20,
        PointerToMemberThroughPointer = 21, // ->*
        PointerToMember = 22,               // .*
        Subscript = 23,
        RefModStart = 24,  // COBOL reference modification: start
        RefModLength = 25, // COBOL reference modification: length
        Concatenate = 26,
        UserDefined = 27,
        Assign = 28, // also COBOL MOVE and COMPUTE
        MultiplyAssign = 29,
        DivideAssign = 30,
        RemainderAssign = 31,
        AddAssign = 32,
        SubtractAssign = 33,
        ShiftRightAssign = 34,
        ShiftLeftAssign = 35,
        AndAssign = 36,
        XorAssign = 37,
        OrAssign = 38,
        PointerAssign = 39, // =>
        Comma = 40,
        CobolSet = 41,
        LastKind = 41
    };

    EE_BinaryExpression(Kind k, EE_Expression* l, EE_Expression* r)
        : EE_Expression(BinaryNode), kind(k), left(l), right(r)
    {}

    // The short text of an operator kind; a kind outside the table raises
    // EE_Exception code 2.
    static const char* binaryExpressionSignature(Kind kind);

    Kind kind;
    EE_Expression* left;
    EE_Expression* right;

    EE_String signature(int detail) const override;
    EE_BinaryExpression* asBinaryExpression() override;
    const EE_BinaryExpression* asBinaryExpression() const override;

private:
    static const char* const _info[LastKind + 1];
};

#endif
