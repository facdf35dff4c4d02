#ifndef EE_EXCEPTION_H
#define EE_EXCEPTION_H

#include "frontend/EE_TraceBackInformation.h"

class EE_Expression;

// A semantic or internal failure of the front end or the analyser, thrown by
// value. Codes: 0 unexpected type, 1 unexpected operator, 2 internal failure
// (the front end itself throws only this one, without a node), 3 unsupported
// operator or node kind, 4 invalid operand, 5 no type, 6 no symbol, 7 bad
// reference modification, 8 wrong number of subscripts, 9 no subscript
// allowed. The node, when there is one, is the offending sub-expression.
class EE_Exception : public EE_TraceBackInformation {
public:
    enum Code : unsigned {
        UnexpectedType = 0,
        UnexpectedOperator = 1,
        InternalFailure = 2,
        UnsupportedOperator = 3,
        InvalidOperand = 4,
        NoType = 5,
        NoSymbol = 6,
        BadReferenceModification = 7,
        WrongNumberOfSubscripts = 8,
        NoSubscriptAllowed = 9
    };

    explicit EE_Exception(unsigned c, EE_Expression* n = nullptr) : code(c), node(n) {}

    unsigned code;
    EE_Expression* node;
};

namespace evaluator {

// An inner inconsistency: EE_Exception code 2, with the node when given.
[[noreturn]] inline void refuse(EE_Expression* node = nullptr)
{
    throw EE_Exception(EE_Exception::InternalFailure, node);
}

} // namespace evaluator

#endif
