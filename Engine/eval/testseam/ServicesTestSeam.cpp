#include "testseam/ServicesTestSeam.h"

unsigned EE_setServicesEnvironmentFlags(EE_OstrelServices& services, unsigned flags)
{
    const unsigned previous = services.environmentFlags;
    services.environmentFlags = flags;
    return previous;
}
