#include <plomkit/StdThread.h>
#include <plomkit/ThreadOwned.h>

// The thread object as a member: only StdThread's own scope may make one.
struct StdThread::Owned {
    StdThread thread;
};

StdThread* StdThread::currentThread()
{
    return &threadOwned<Owned>([] {}).thread;
}

void** StdThread::_getKeyValue(const char* name)
{
    // std::map never moves its nodes, so the slot's address stays valid.
    return &_values.try_emplace(name ? name : "", nullptr).first->second;
}
