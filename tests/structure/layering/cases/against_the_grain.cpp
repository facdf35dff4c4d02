#include "machine/StackItem.h"
void release(StackItem* item)
{
    delete item;
}
