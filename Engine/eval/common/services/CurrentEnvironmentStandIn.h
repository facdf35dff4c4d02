#ifndef NORVEXA_SERVICES_CURRENTENVIRONMENTSTANDIN_H
#define NORVEXA_SERVICES_CURRENTENVIRONMENTSTANDIN_H

#include "HostRecords.h"

// The per-thread stand-in that answers the current-environment queries on a
// thread where no evaluation environment is current. Only the queries
// themselves and the test seam reach it.
namespace CurrentEnvironment {

struct State {
    const LCC_Eval_Context_Info* context = nullptr;
    bool cobol = false;
    int frame = -1;
    const char* codePage = "QUV-1047";
};

// The calling thread's stand-in.
State& currentEnvironmentState();

} // namespace CurrentEnvironment

#endif
