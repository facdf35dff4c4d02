#ifndef NORVEXA_API_RESULTROOTLINK_H
#define NORVEXA_API_RESULTROOTLINK_H

class StackItem;

// The result tree root a validation result keeps: evaluation invalidates it
// before a run and hands it the run's result after it.
void invalidateResultRoot(StackItem& validation);
void handResultToRoot(StackItem& validation, const StackItem* result);

#endif
