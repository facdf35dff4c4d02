#ifndef NORVEXA_COMPILER_EE_OSTRELTYPEDESCRIPTOR_H
#define NORVEXA_COMPILER_EE_OSTRELTYPEDESCRIPTOR_H

#include "compiler/EE_Link.h"
#include "frontend/EE_TypeDescriptor.h"

class TypeItem;

// The descriptor of one type of the symbol model, made in the services'
// arena. Its related descriptor, declaration, element count and kind are the
// base's `next`, `declaration`, `arrayBound` and `kind`; it adds the type it
// stands for (the key of the descriptor table, and what the byte code
// writes), the reference-modification mark and flag, and the table link.
class EE_OstrelTypeDescriptor : public EE_TypeDescriptor, public EE_Link<EE_OstrelTypeDescriptor> {
public:
    EE_OstrelTypeDescriptor(Kind k, const TypeItem* type) : EE_TypeDescriptor(k), key(type) {}

    const TypeItem* tableKey() const { return key; }

    // The type a descriptor stands for; every descriptor the services hand
    // out is one of these.
    static const TypeItem* typeOf(const EE_TypeDescriptor& descriptor);

    const TypeItem* key;
    int referenceModified = 0; // 1 for the view of a reference modification
    int referenceModFlag = 0;  // the flag the reference modification was asked with
};

#endif
