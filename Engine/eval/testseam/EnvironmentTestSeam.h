#ifndef NORVEXA_TESTSEAM_ENVIRONMENTTESTSEAM_H
#define NORVEXA_TESTSEAM_ENVIRONMENTTESTSEAM_H

// The per-thread stand-in of the current-environment queries
// (CurrentEnvironment::currentEnvironmentState()), for tests that drive the
// host services on a thread with no evaluation environment current.
#include "services/CurrentEnvironmentStandIn.h"

#endif
