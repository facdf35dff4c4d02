// Building a representation from text, and releasing representations and
// the results handed out for them.

#include <memory>

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"
#include "api/LiveRepresentations.h"
#include "machine/StackItem.h"
#include "services/ExpressionRepresentation.h"
#include "services/SVC.h"

namespace {

const char buildSignature[] = "UBYTE2 DbgBuildExprIntRep(unsigned char*, const LCC_Eval_Context_Info*, UBYTE4, UBYTE4, "
                              "ExpressionRepresentation**)";

} // namespace

UBYTE2 DbgBuildExprIntRep(unsigned char* text, const LCC_Eval_Context_Info*, UBYTE4 language, UBYTE4,
                          ExpressionRepresentation** out)
{
    return EntryFrame::run(buildSignature, 64, UBYTE2(statusFailure), [&](EntryFrame&) -> UBYTE2 {
        if (out == nullptr)
            return statusFailure;
        SVC::fTrace(buildSignature, 68, "Expression = \"%s\"",
                    text != nullptr ? reinterpret_cast<const char*>(text) : "");
        std::unique_ptr<ExpressionRepresentation> rep(new ExpressionRepresentation(static_cast<int>(language), text));
        LiveRepresentations::add(*rep);
        *out = rep.release();
        return statusSuccess;
    });
}

void DbgFreeExprIntRep(ExpressionRepresentation* rep)
{
    EntryFrame::runQuietly("void DbgFreeExprIntRep(ExpressionRepresentation*)", 753, [&](EntryFrame& frame) {
        // A handle the host does not hold (freed before, or never built)
        // is left alone.
        if (!LiveRepresentations::isLive(rep))
            return;
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

void releaseResultItem(StackItem* result, void (*releasing)(const StackItem&))
{
    if (result == nullptr)
        return;
    // Deleted even when its representation cannot be told.
    try {
        releasing(*result);
    } catch (...) {
    }
    try {
        delete result;
    } catch (...) {
    }
}

void releaseEvalResult(StackItem* result)
{
    releaseResultItem(result, &LiveRepresentations::releasingResult);
}

// Here, not beside DbgFreeTypeResultInfo: the update road, which every build
// holds, releases type results too.
void releaseTypeResult(StackItem* result)
{
    releaseResultItem(result, &LiveRepresentations::releasingTypeResult);
}

void DbgFreeEvalResultInfo(StackItem* result)
{
    EntryFrame::runQuietly("void DbgFreeEvalResultInfo(StackItem*)", 0, [&](EntryFrame&) {
        if (LiveRepresentations::takeBackEvaluationResult(result)) {
            try {
                delete result;
            } catch (...) {
            }
        }
    });
}
