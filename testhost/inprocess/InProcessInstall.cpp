// The in-process half of the simulated host: handing its table to the
// evaluator that is linked into the test program.

#include "services/SVC.h"
#include "testhost/TestHost.h"

bool TestHost::install()
{
    return SVC::InitializeServiceFunctions(activate());
}
