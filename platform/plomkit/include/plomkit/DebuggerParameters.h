#ifndef PLOMKIT_DEBUGGERPARAMETERS_H
#define PLOMKIT_DEBUGGERPARAMETERS_H

#include <string>

#include <plomkit/PlomkitExport.h>

// Settings the debugger was started with. The start-up key is read from the
// environment variable NORVEXA_STARTUP_KEY the first time it is asked for;
// a host (or a test) may set it instead. Safe to use from several threads.
class PLOMKIT_API DebuggerParameters {
public:
    // The start-up key ("" when none was given).
    static std::string startupKey();
    static void setStartupKey(const std::string& key);
};

#endif
