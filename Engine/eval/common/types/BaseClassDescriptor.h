#ifndef NORVEXA_TYPES_BASECLASSDESCRIPTOR_H
#define NORVEXA_TYPES_BASECLASSDESCRIPTOR_H

#include <cstdint>

class TypeItem;

// One base class of a class: its type and its offset in the derived
// object. Descriptors form a chain; each one owns the rest of the chain.
struct BaseClassDescriptor {
    explicit BaseClassDescriptor(BaseClassDescriptor* following) : next(following) {}
    ~BaseClassDescriptor() { delete next; }

    BaseClassDescriptor(const BaseClassDescriptor&) = delete;
    BaseClassDescriptor& operator=(const BaseClassDescriptor&) = delete;

    BaseClassDescriptor* next = nullptr;
    // The class type held by the base's class scope; null when the base
    // type has no scope (no entry, or no aggregate).
    const TypeItem* baseType = nullptr;
    std::uint32_t offset = 0;
    std::uint32_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
};

#endif
