#ifndef NORVEXA_COMPILER_SERVICESREFUSAL_H
#define NORVEXA_COMPILER_SERVICESREFUSAL_H

#include "frontend/EE_Exception.h"

// The services' one refusal: EE_Exception {2, no node}.
[[noreturn]] inline void servicesRefuse()
{
    throw EE_Exception(EE_Exception::InternalFailure);
}

// What the model must have answered: refuses on null.
template <class T>
T& present(T* answer)
{
    if (answer == nullptr)
        servicesRefuse();
    return *answer;
}

#endif
