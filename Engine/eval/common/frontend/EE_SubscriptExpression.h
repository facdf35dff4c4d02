#ifndef EE_SUBSCRIPTEXPRESSION_H
#define EE_SUBSCRIPTEXPRESSION_H

#include "frontend/EE_BinaryExpression.h"

// A subscript, left[right] (kind 4, operator 23). The analyser fills in the
// three fields of its own.
class EE_SubscriptExpression : public EE_BinaryExpression {
public:
    EE_SubscriptExpression(EE_Expression* l, EE_Expression* r)
        : EE_BinaryExpression(Subscript, l, r), arrayType(nullptr), rank(0), closesList(0)
    {}

    EE_TypeDescriptor* arrayType; // the type indexed
    long long rank;               // the dimension handed to rankIndex and rankDereference
    unsigned char closesList;     // when set, the element's display name is closed with ")"

    EE_SubscriptExpression* asSubscriptExpression() override;
    const EE_SubscriptExpression* asSubscriptExpression() const override;
};

#endif
