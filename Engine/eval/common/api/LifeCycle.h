#ifndef NORVEXA_API_LIFECYCLE_H
#define NORVEXA_API_LIFECYCLE_H

// Whether the host has initialised the evaluator: at least one successful
// DbgInitialize not yet balanced by DbgTerminateRunTime. Validation and
// evaluation refuse to work while it is false.
bool evaluatorInitialized();

#endif
