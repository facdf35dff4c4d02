#ifndef NORVEXA_MACHINE_RUNTIMESTACK_H
#define NORVEXA_MACHINE_RUNTIMESTACK_H

#include "HostRecords.h"

class StackItem;
class TypeItem;

// The value stack of one expression: items linked through their next field,
// top first; the stack owns its items.
class RuntimeStack {
public:
    // A new, empty stack owned by the caller.
    static RuntimeStack* allocate();

    // A new value of the given type for the given host context, owned by the
    // caller; null when no value can be made for the type. Integer types
    // (the C integer and character primitives) give integer items.
    static StackItem* makeStackItem(const TypeItem& type, const LCC_Eval_Context_Info* context);

    virtual ~RuntimeStack();

    RuntimeStack(const RuntimeStack&) = delete;
    RuntimeStack& operator=(const RuntimeStack&) = delete;

    void push(StackItem* item);
    // Deletes every item and leaves the stack empty and usable.
    void popAll();
    unsigned count() const { return count_; }
    StackItem* top() const { return top_; }

protected:
    RuntimeStack() = default;

private:
    StackItem* top_ = nullptr;
    unsigned count_ = 0;
};

#endif
