#ifndef EE_NAMEEXPRESSION_H
#define EE_NAMEEXPRESSION_H

#include "frontend/EE_Expression.h"

class EE_Name;

// A use of a name (kind 0).
class EE_NameExpression : public EE_Expression {
public:
    explicit EE_NameExpression(EE_Name* n) : EE_Expression(NameNode), name(n) {}

    EE_Name* name;

    EE_String signature(int detail) const override;
    EE_NameExpression* asNameExpression() override;
    const EE_NameExpression* asNameExpression() const override;
};

#endif
