#ifndef NORVEXA_MACHINE_STACKITEMFORTRANPOINTER_H
#define NORVEXA_MACHINE_STACKITEMFORTRANPOINTER_H

#include <vector>

#include "machine/StackItem.h"

// A Fortran POINTER variable. The item shows its target's value: the item's
// type is the pointee, the pointer's own type is kept beside it. A load
// checks that the pointer is allocated and associated before it reads.
class StackItemFortranPointer : public StackItem {
public:
    // RTRC_NotSupported unless the type is a Fortran pointer.
    StackItemFortranPointer(EvaluationEnvironment& environment, const TypeItem& pointerType);
    StackItemFortranPointer(EvaluationEnvironment& environment, const TYPE_INDEX& pointerType);
    StackItemFortranPointer(const StackItemFortranPointer& other);
    ~StackItemFortranPointer() override;

    StackItem* clone() const override;
    // The size of the pointee type.
    std::uint64_t size() const override;
    // RTRC_NotSupported for a target of size 0 or one that cannot be
    // followed, RTRC_NotAllocated, RTRC_NotAssociated, and
    // RTRC_ReadMemoryFailed when the target cannot be read whole; hasValue
    // stays clear after any failure.
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    const TypeItem& pointerType() const { return pointerType_; }

private:
    TypeItem pointerType_;
    std::vector<unsigned char> bytes_;
};

#endif
