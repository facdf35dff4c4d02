#include "api/EntryPointsUpdateRoad.h"

#include "api/EntryFrame.h"
#include "api/ExpressionEntryPoints.h"
#include "api/LiveRepresentations.h"
#include "machine/StackItem.h"
#include "services/ExpressionRepresentation.h"

std::uint16_t EntryPointsUpdateRoad::build(const unsigned char* text, const LCC_Eval_Context_Info* context,
                                           int language, ExpressionRepresentation*& representation)
{
    representation = nullptr;
    return DbgBuildExprIntRep(const_cast<unsigned char*>(text), context, static_cast<UBYTE4>(language), 0,
                              &representation);
}

std::uint16_t EntryPointsUpdateRoad::validate(ExpressionRepresentation& representation,
                                              const LCC_Eval_Context_Info* context)
{
    StackItem* typeResult = nullptr;
    return DbgValidateExpr(&representation, context, &typeResult);
}

std::uint16_t EntryPointsUpdateRoad::evaluate(ExpressionRepresentation& representation,
                                              const LCC_Eval_Context_Info* context, StackItem*& result)
{
    result = nullptr;
    UBYTE1* name = nullptr;
    EntryFrame frame("short unsigned int DbgEvaluateExpr_i(ExpressionRepresentation&, const LCC_Eval_Context_Info*, "
                     "StackItem*&, UBYTE1*&, bool)",
                     0);
    return frame.guard([&]() -> UBYTE2 {
        frame.makeCurrent(representation, context);
        return DbgEvaluateExpr_i(representation, context, result, name, true);
    });
}

void EntryPointsUpdateRoad::freeResult(StackItem* result)
{
    // The road's results come from DbgEvaluateExpr_i: never the host's.
    releaseEvalResult(result);
}

void EntryPointsUpdateRoad::freeTypeResult(StackItem* typeResult)
{
    // The host's release of a type result, without its entry frame: the
    // plug-in without by-name entry points has the road all the same.
    LiveRepresentations::takeBackResult(typeResult);
    releaseTypeResult(typeResult);
}

void EntryPointsUpdateRoad::freeRepresentation(ExpressionRepresentation* representation)
{
    DbgFreeExprIntRep(representation);
}

void EntryPointsUpdateRoad::installOnce()
{
    static EntryPointsUpdateRoad road;
    UpdateExpressionRoad::install(&road);
}
