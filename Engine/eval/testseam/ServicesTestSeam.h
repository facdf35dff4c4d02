#ifndef NORVEXA_TESTSEAM_SERVICESTESTSEAM_H
#define NORVEXA_TESTSEAM_SERVICESTESTSEAM_H

#include "compiler/EE_OstrelServices.h"

// Replaces the environment flags a services object took when it was made
// (bit 0 assignment, bit 3 decimal floating point); returns the previous
// word. Test seam only.
unsigned EE_setServicesEnvironmentFlags(EE_OstrelServices& services, unsigned flags);

#endif
