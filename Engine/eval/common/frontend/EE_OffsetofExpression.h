#ifndef EE_OFFSETOFEXPRESSION_H
#define EE_OFFSETOFEXPRESSION_H

#include "frontend/EE_Expression.h"

class EE_Name;

// offsetof of a member (kind 9).
class EE_OffsetofExpression : public EE_Expression {
public:
    explicit EE_OffsetofExpression(EE_Name* n) : EE_Expression(OffsetofNode), name(n) {}

    EE_Name* name;

    EE_String signature(int detail) const override;
    EE_OffsetofExpression* asOffsetofExpression() override;
    const EE_OffsetofExpression* asOffsetofExpression() const override;
};

#endif
