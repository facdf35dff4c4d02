#ifndef NORVEXA_API_LOCALVALUEROOT_H
#define NORVEXA_API_LOCALVALUEROOT_H

class StackItem;

// The result tree root of a local variable's value, refreshed after the
// value was loaded again: the root takes the variable's local number, is
// invalidated, records the associated state and loads the value. Answers
// whether the root changed since it was last shown.
bool refreshValueRoot(StackItem& value, unsigned localNumber, bool associated);
// The value's bytes as its root shows them (null when there are none).
const unsigned char* shownValueBytes(StackItem& value);

#endif
