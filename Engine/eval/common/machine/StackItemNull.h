#ifndef NORVEXA_MACHINE_STACKITEMNULL_H
#define NORVEXA_MACHINE_STACKITEMNULL_H

#include "machine/StackItem.h"

// The null pointer constant: what the null load pushes and what the factory
// makes for the built-in void type. It holds no data; every operator is
// refused unless the other operand's class accepts a null operand.
class StackItemNull : public StackItem {
public:
    explicit StackItemNull(EvaluationEnvironment& environment);
    StackItemNull(const StackItemNull& other);
    ~StackItemNull() override;

    // A fresh null item in the same environment (not a copy).
    StackItem* clone() const override;
    std::uint64_t size() const override;
    // Refused with RTRC_IncompatTypes; the item is left without a value.
    void load(const DebuggeeLocation& where) override;
    // Testing a null pointer constant: RTRC_NotAllocated.
    int isZero() const override;
};

#endif
