#ifndef NORVEXA_MACHINE_ENVIRONMENTSTACK_H
#define NORVEXA_MACHINE_ENVIRONMENTSTACK_H

// The part of the evaluation machine that the evaluation context reaches
// against the order of building: an expression's value stack, and the stack
// item an environment owns as its condition-variable item. The services
// include the machine only through this header.
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"

#endif
