#ifndef NORVEXA_API_ERRORTEXTENTRYPOINTS_H
#define NORVEXA_API_ERRORTEXTENTRYPOINTS_H

#include "HostServices.h"
#include "NorvexaExport.h"

class ExpressionRepresentation;
class UpdateTreeNode;

extern "C" {

// The last error of the representation (or, without one, of the node's
// environment): "  >> ", the expression, two line ends and the text of its
// last message, UTF-8, in the message locale. Null when both are null. The
// text belongs to the calling thread and stays valid until that thread asks
// again.
NORVEXA_API const UBYTE1* DbgExtendedErrorInfo2(ExpressionRepresentation* rep, UpdateTreeNode* node,
                                                const UBYTE1* locale);
NORVEXA_API const UBYTE1* DbgExtendedErrorInfo(ExpressionRepresentation* rep, const UBYTE1* locale);
}

// The locale of the evaluator's messages: the first one named is kept for
// the process and applied to the calling thread's texts on every call.
// Answers 1 when locale is the kept one (or became it), else 0.
int setMessageLocale(const char* locale);

#endif
