#ifndef EE_MEMBEREXPRESSION_H
#define EE_MEMBEREXPRESSION_H

#include "frontend/EE_Expression.h"

class EE_Name;

// A member access, object.member or object->member (kind 12).
class EE_MemberExpression : public EE_Expression {
public:
    enum Kind : unsigned {
        Dot = 0,
        Arrow = 1
    };

    EE_MemberExpression(Kind k, EE_Expression* o, EE_Name* m)
        : EE_Expression(MemberNode), kind(k), object(o), member(m), implicitSubscript(1)
    {}

    Kind kind;
    EE_Expression* object;
    EE_Name* member;
    // Set when made: the analyser may give the member an implicit subscript.
    unsigned char implicitSubscript;

    EE_String signature(int detail) const override;
    EE_MemberExpression* asMemberExpression() override;
    const EE_MemberExpression* asMemberExpression() const override;
};

#endif
