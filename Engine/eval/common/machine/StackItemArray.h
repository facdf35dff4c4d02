#ifndef NORVEXA_MACHINE_STACKITEMARRAY_H
#define NORVEXA_MACHINE_STACKITEMARRAY_H

#include "machine/StackItemAddress.h"

// A whole array: its value is the address of its first element. The first
// arithmetic on it turns its type into a pointer to the element type.
class StackItemArray : public StackItemAddress {
public:
    StackItemArray(EvaluationEnvironment& environment, const TypeItem& type);
    StackItemArray(EvaluationEnvironment& environment, const TYPE_INDEX& type);
    StackItemArray(const StackItemArray& other);
    ~StackItemArray() override;

    StackItem* clone() const override;
    // From debuggee memory (or a shared-data pointer) only; an array with a
    // Fortran descriptor at its symbol's location takes the descriptor's
    // data address.
    void load(const DebuggeeLocation& where) override;
    void genPointerAdd(const StackItem& right) override;
    StackItem* genPointerSubtract(const StackItem& right) override;
    void genIndex(const StackItem& subscript, std::int64_t elementSize) override;
    void genRankIndex(const StackItem& subscript, std::int64_t lowerBound, std::int64_t stride) override;

    // The type becomes a pointer to the element type, keeping the symbol
    // location; nothing for a pointer type, RTRC_Other for a type that is
    // neither.
    void convertToPointer();
};

#endif
