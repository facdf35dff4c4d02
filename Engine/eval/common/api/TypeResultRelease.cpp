// Releasing the results of type queries: reached by name only.

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"
#include "api/LiveRepresentations.h"
#include "machine/StackItem.h"

void releaseTypeResult(StackItem* result)
{
    if (result == nullptr)
        return;
    // Deleted even when its representation cannot be told.
    try {
        LiveRepresentations::releasingTypeResult(*result);
    } catch (...) {
    }
    try {
        delete result;
    } catch (...) {
    }
}

void DbgFreeTypeResultInfo(StackItem* result)
{
    EntryFrame::runQuietly("void DbgFreeTypeResultInfo(StackItem*)", 0, [&](EntryFrame&) {
        if (LiveRepresentations::takeBackResult(result))
            releaseTypeResult(result);
    });
}
