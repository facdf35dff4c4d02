#include <plomkit/DebuggerParameters.h>

#include <cstdlib>
#include <mutex>

namespace {

std::mutex keyLock;
bool keyRead = false;
std::string key;

void readOnce()
{
    if (!keyRead) {
        const char* text = std::getenv("NORVEXA_STARTUP_KEY");
        key = text != nullptr ? text : "";
        keyRead = true;
    }
}

} // namespace

std::string DebuggerParameters::startupKey()
{
    std::lock_guard<std::mutex> hold(keyLock);
    readOnce();
    return key;
}

void DebuggerParameters::setStartupKey(const std::string& value)
{
    std::lock_guard<std::mutex> hold(keyLock);
    keyRead = true;
    key = value;
}
