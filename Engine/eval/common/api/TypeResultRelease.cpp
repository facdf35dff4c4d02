// Releasing the results of type queries: reached by name only.

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"
#include "api/LiveRepresentations.h"
#include "machine/StackItem.h"

void DbgFreeTypeResultInfo(StackItem* result)
{
    EntryFrame frame("void DbgFreeTypeResultInfo(StackItem*)", 0);
    if (result == nullptr)
        return;
    // Deleted even when its representation cannot be told.
    frame.guardQuietly([&] { LiveRepresentations::releasingTypeResult(*result); });
    frame.guardQuietly([&] { delete result; });
}
