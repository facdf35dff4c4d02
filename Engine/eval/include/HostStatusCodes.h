#ifndef NORVEXA_HOSTSTATUSCODES_H
#define NORVEXA_HOSTSTATUSCODES_H

// The status codes the entry points answer the host with. Only the numbers
// cross the boundary; the names are the evaluator's. Several meanings share
// a number: which one applies depends on the entry point that answered.

#include "HostServices.h"

enum EntryStatus : UBYTE2 {
    // success; a valid expression without side effect; a condition that is
    // true
    statusSuccess = 0,
    statusConditionTrue = 0,
    // initialisation succeeded (0: it failed); texts are UTF-8; a local
    // variable's value is unchanged since the last refresh
    statusInitialized = 1,
    statusUseUTF8 = 1,
    statusLocalUnchanged = 1,
    // a local variable's value changed since the last refresh
    statusLocalChanged = 2,
    // a COBOL evaluation stored a value while the host asks to be warned;
    // the result is an error item carrying the warning
    statusCobolStoreWarning = 3,
    // the version of the entry-point interface
    statusInterfaceVersion = 200,
    // a valid expression that calls a function
    statusCallsFunction = 1000,
    // a valid expression that stores a value, located through the frame
    statusStoresInFrame = 1001,
    // a valid expression that stores a value independent of the frame
    statusStoresFrameIndependent = 1003,
    // the formatted value is an aggregate
    statusAggregateValue = 1012,
    // the result type changed since validation: validate again
    statusValidateAgain = 1020,
    // general failure, a missing argument, the evaluator not initialised;
    // a condition that is false
    statusFailure = 10000,
    statusConditionFalse = 10000,
    statusNotSupported = 10002,
    statusCallTimedOut = 10003,
    statusCallTrapped = 10004,
    statusCallFailedBadly = 10005,
    statusNotAllocated = 10006,
    statusDivideByZero = 10007,
    statusIncompleteSymbol = 10009,
    statusSubscriptOutOfBounds = 10010,
    statusNotAssociated = 10011,
    statusCallAborted = 10012,
    statusNotInBrowseMode = 10013,
    // the expression could not be built: a parse or analysis error
    statusBuildFailed = 11000,
    // the expression could not be built: a name or type is unknown,
    // ambiguous, not ready or not allocated
    statusUnknownName = 11002,
    // bad data in a numeric value
    statusBadNumericData = 11010,
    // the refusals of a value update
    statusUpdateRefusedFirst = 11040,
    statusUpdateRefusedLast = 11043,
    statusBadContext = 11050,
    statusMemoryAccessFailed = 11051,
};

#endif
