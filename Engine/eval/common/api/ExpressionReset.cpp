// Resetting a representation: reached by name only.

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"

void DbgResetExprIntRep(ExpressionRepresentation*)
{
    EntryFrame::runQuietly("void DbgResetExprIntRep(ExpressionRepresentation*)", 1072, [](EntryFrame&) {});
}
