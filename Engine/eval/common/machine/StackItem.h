#ifndef NORVEXA_MACHINE_STACKITEM_H
#define NORVEXA_MACHINE_STACKITEM_H

#include <cstdint>

#include "services/DebuggeeLocation.h"
#include "types/TypeItem.h"

class EvaluationEnvironment;

// A typed value of the evaluation machine, held as the debuggee stores it,
// with the place it was read from. This is the interface the evaluation
// context relies on; the value stack's operators build on it.
class StackItem {
public:
    virtual ~StackItem();

    StackItem(const StackItem&) = delete;
    StackItem& operator=(const StackItem&) = delete;

    // Reads the value from the location; the location becomes the item's.
    virtual void load(const DebuggeeLocation& location) = 0;
    // The loaded value as an unsigned 64-bit number; a value that is no
    // number refuses with InvalidOp RTRC_IncompatTypes.
    virtual std::uint64_t asUnsigned() const;

    const TypeItem& type() const { return type_; }
    const DebuggeeLocation& location() const { return location_; }
    EvaluationEnvironment& environment() const { return environment_; }

    // The item below this one on a value stack; null while on none.
    StackItem* next = nullptr;

protected:
    StackItem(EvaluationEnvironment& environment, const TypeItem& type);

    TypeItem type_;
    DebuggeeLocation location_;
    EvaluationEnvironment& environment_;
};

#endif
