#ifndef NORVEXA_API_ENTRYPOINTSUPDATEROAD_H
#define NORVEXA_API_ENTRYPOINTSUPDATEROAD_H

#include "tree/UpdateExpressionRoad.h"

// The road of value updates through the entry points: the text built,
// validated and evaluated (with conversion to the validated type) as a host
// would, and released through the free entry points.
class EntryPointsUpdateRoad : public UpdateExpressionRoad {
public:
    std::uint16_t build(const unsigned char* text, const LCC_Eval_Context_Info* context, int language,
                        ExpressionRepresentation*& representation) override;
    std::uint16_t validate(ExpressionRepresentation& representation, const LCC_Eval_Context_Info* context) override;
    std::uint16_t evaluate(ExpressionRepresentation& representation, const LCC_Eval_Context_Info* context,
                           StackItem*& result) override;
    void freeResult(StackItem* result) override;
    void freeTypeResult(StackItem* typeResult) override;
    void freeRepresentation(ExpressionRepresentation* representation) override;

    // Installs the one road of the process (done by the first
    // initialisation; repeating it changes nothing).
    static void installOnce();
};

#endif
