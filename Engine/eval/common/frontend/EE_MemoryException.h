#ifndef EE_MEMORYEXCEPTION_H
#define EE_MEMORYEXCEPTION_H

#include "frontend/EE_Exception.h"

// The front end's storage ran out: an internal failure (EE_Exception code 2)
// that also carries the text "unable to allocate memory". Thrown by value as
// every other front-end failure, so that a caller catching EE_Exception sees
// it too.
class EE_MemoryException : public EE_Exception {
public:
    EE_MemoryException() : EE_Exception(InternalFailure) {}
    const char* what() const { return "unable to allocate memory"; }
};

#endif
