#include "api/LocalValueRoot.h"

#include "machine/StackItem.h"

bool refreshValueRoot(StackItem&, unsigned, bool)
{
    return false;
}

const unsigned char* shownValueBytes(StackItem& value)
{
    return static_cast<const unsigned char*>(value.resultBuffer());
}
