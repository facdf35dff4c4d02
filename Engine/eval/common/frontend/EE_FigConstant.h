#ifndef EE_FIGCONSTANT_H
#define EE_FIGCONSTANT_H

#include "frontend/EE_String.h"

class EE_TypeDescriptor;

// A COBOL figurative constant (ZERO, SPACES, HIGH-VALUE, ...); the services
// implementation makes and owns the concrete values.
class EE_FigConstant {
public:
    virtual EE_TypeDescriptor* typeDescriptor() const = 0;
    virtual EE_String signature() = 0;

protected:
    EE_FigConstant() = default;
    ~EE_FigConstant() = default;
};

#endif
