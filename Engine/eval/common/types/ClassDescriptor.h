#ifndef NORVEXA_TYPES_CLASSDESCRIPTOR_H
#define NORVEXA_TYPES_CLASSDESCRIPTOR_H

#include <cstdint>

#include "types/BaseClassDescriptor.h"

// What the expression analyser learns of an aggregate from its class scope:
// its byte size, its form and the chain of its base classes. The descriptor
// owns the chain.
struct ClassDescriptor {
    enum : std::uint32_t {
        structureForm = 1, // an aggregate given as name and type lists
        classForm = 4,     // a class, struct, union or COBOL group
    };

    ClassDescriptor() = default;
    ~ClassDescriptor() { delete firstBase; }

    ClassDescriptor(const ClassDescriptor&) = delete;
    ClassDescriptor& operator=(const ClassDescriptor&) = delete;

    // The first base class (the last in the host's member order), or null.
    BaseClassDescriptor* firstBase = nullptr;
    std::uint32_t size = 0;
    std::uint32_t reserved = 0;
    std::uint32_t flags = 0;
};

#endif
