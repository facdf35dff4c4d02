// Building a representation from text, and releasing representations and
// the results handed out for them.

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"
#include "api/LiveRepresentations.h"
#include "machine/StackItem.h"
#include "services/ExpressionRepresentation.h"
#include "services/SVC.h"

namespace {

const char buildSignature[] =
    "UBYTE2 DbgBuildExprIntRep(unsigned char*, const LCC_Eval_Context_Info*, UBYTE4, UBYTE4, "
    "ExpressionRepresentation**)";

}  // namespace

UBYTE2 DbgBuildExprIntRep(unsigned char* text, const LCC_Eval_Context_Info*, UBYTE4 language, UBYTE4,
                          ExpressionRepresentation** out)
{
    EntryFrame frame(buildSignature, 64);
    if (out == nullptr)
        return statusFailure;
    return frame.guard([&]() -> UBYTE2 {
        SVC::fTrace(buildSignature, 68, "Expression = \"%s\"",
                    text != nullptr ? reinterpret_cast<const char*>(text) : "");
        auto* rep = new ExpressionRepresentation(static_cast<int>(language), text);
        LiveRepresentations::add(*rep);
        *out = rep;
        return statusSuccess;
    });
}

void DbgFreeExprIntRep(ExpressionRepresentation* rep)
{
    EntryFrame frame("void DbgFreeExprIntRep(ExpressionRepresentation*)", 753);
    if (rep == nullptr)
        return;
    frame.guardQuietly([&] {
        LiveRepresentations::remove(*rep);
        frame.makeCurrent(*rep);
        // A result held back for the next validation belongs to the
        // representation until that validation hands it out.
        StackItem* held = rep->evaluationResult();
        rep->setEvaluationResult(nullptr);
        delete held;
        delete rep;
    });
}

void DbgFreeEvalResultInfo(StackItem* result)
{
    EntryFrame frame("void DbgFreeEvalResultInfo(StackItem*)", 0);
    if (result == nullptr)
        return;
    // Deleted even when its representation cannot be told.
    frame.guardQuietly([&] { LiveRepresentations::releasingResult(*result); });
    frame.guardQuietly([&] { delete result; });
}
