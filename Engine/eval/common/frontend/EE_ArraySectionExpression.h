#ifndef EE_ARRAYSECTIONEXPRESSION_H
#define EE_ARRAYSECTIONEXPRESSION_H

#include "frontend/EE_Expression.h"

// A Fortran array section lower:upper:stride (kind 10). `dimension` is the
// 0-based position of the section among the subscripts; the analyser keeps
// the largest dimension + 1 as the number of section dimensions.
class EE_ArraySectionExpression : public EE_Expression {
public:
    EE_ArraySectionExpression(EE_Expression* l, EE_Expression* u, EE_Expression* s, unsigned d, int a)
        : EE_Expression(ArraySectionNode), lower(l), upper(u), stride(s), dimension(d), spare(0), argument(a)
    {}

    EE_Expression* lower;
    EE_Expression* upper;
    EE_Expression* stride;
    unsigned dimension;
    unsigned spare; // 0 when made; for the analyser
    int argument;   // given when made; for the analyser

    EE_String signature(int detail) const override;
    EE_ArraySectionExpression* asArraySectionExpression() override;
    const EE_ArraySectionExpression* asArraySectionExpression() const override;
};

#endif
