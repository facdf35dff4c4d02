#ifndef NORVEXA_MACHINE_TYPEMODELSTACKITEMS_H
#define NORVEXA_MACHINE_TYPEMODELSTACKITEMS_H

// The stack items that the type model makes against the order of building:
// a value read through a stack of its own (the UPC block factor) and the
// file description that checks a file record. The type model includes the
// machine only through this header.
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemFileDesc.h"

#endif
