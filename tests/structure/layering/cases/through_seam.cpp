#include "machine/EnvironmentStack.h"
void release(StackItem* item)
{
    delete item;
}
