#include "machine/StackItem.h"
StackItem* makeStackItem()
{
    return new StackItem;
}
