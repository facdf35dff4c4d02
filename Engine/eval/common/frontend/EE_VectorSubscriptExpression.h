#ifndef EE_VECTORSUBSCRIPTEXPRESSION_H
#define EE_VECTORSUBSCRIPTEXPRESSION_H

#include "frontend/EE_Expression.h"
#include "frontend/EE_Parameter.h"

// A Fortran vector subscript (/ ... /) (kind 11).
class EE_VectorSubscriptExpression : public EE_Expression {
public:
    // Made from the subscript list and two numbers: the first is kept in
    // `dimension`, the second in `count`.
    EE_VectorSubscriptExpression(EE_Parameter* p, unsigned first, unsigned second)
        : EE_Expression(VectorSubscriptNode), count(second), spare(0), dimension(first), parameters(p)
    {}

    unsigned count;
    unsigned spare; // 0 when made; for the analyser
    unsigned dimension;
    EE_Parameter* parameters;

    EE_String signature(int detail) const override;
    EE_VectorSubscriptExpression* asVectorSubscriptExpression() override;
    const EE_VectorSubscriptExpression* asVectorSubscriptExpression() const override;
};

#endif
