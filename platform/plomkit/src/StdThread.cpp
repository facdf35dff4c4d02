#include <plomkit/StdThread.h>

StdThread* StdThread::currentThread()
{
    thread_local StdThread thread;
    return &thread;
}

void** StdThread::_getKeyValue(const char* name)
{
    // std::map never moves its nodes, so the slot's address stays valid.
    return &_values.try_emplace(name ? name : "", nullptr).first->second;
}
