#include "frontend/EE_Parameter.h"

#include "frontend/EE_Expression.h"

EE_String EE_Parameter::signature() const
{
    EE_String text;
    for (const EE_Parameter* p = this; p != nullptr; p = p->next) {
        if (p != this)
            text << ", ";
        text << EE_Expression::signatureOf(p->expression, 1);
    }
    return text;
}
