// Releasing the results of type queries: reached by name only.

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"
#include "api/LiveRepresentations.h"

void DbgFreeTypeResultInfo(StackItem* result)
{
    EntryFrame::runQuietly("void DbgFreeTypeResultInfo(StackItem*)", 0, [&](EntryFrame&) {
        if (LiveRepresentations::takeBackResult(result))
            releaseTypeResult(result);
    });
}
