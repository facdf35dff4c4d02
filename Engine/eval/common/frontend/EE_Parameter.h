#ifndef EE_PARAMETER_H
#define EE_PARAMETER_H

#include "frontend/EE_String.h"

class EE_Expression;

// One link of an argument list. The C and C++ grammar links arguments in text
// order; a COBOL CALL links each argument to the one written before it, so
// that its list starts at the last argument.
class EE_Parameter {
public:
    EE_Parameter(EE_Expression* e, EE_Parameter* n) : next(n), expression(e), mode(0) {}

    // The arguments from this one on, each in full form, joined by ", ".
    EE_String signature() const;

    EE_Parameter* next;
    EE_Expression* expression;
    int mode; // 0 when made; the passing mode of a COBOL CALL argument
};

#endif
