#ifndef NORVEXA_TREE_UPDATEEXPRESSIONROAD_H
#define NORVEXA_TREE_UPDATEEXPRESSIONROAD_H

#include <cstdint>

#include "HostRecords.h"

class ExpressionRepresentation;
class StackItem;

// The road a value update's text takes through the entry points: a
// representation is built from the text, validated and evaluated, and what
// that handed out is released again. The entry points stand later in the
// order of building than the result trees, so they install their road here;
// until one is installed every update that needs an evaluation is refused
// (the build answers 10000 with the trace "The expression road of value
// updates is not installed").
//
// Each call may leave another environment current; the update makes its
// node's environment current again after each of them.
class UpdateExpressionRoad {
public:
    virtual ~UpdateExpressionRoad();

    // Builds a representation of the text in a language; 0 and the
    // representation, or a refusal status.
    virtual std::uint16_t build(const unsigned char* text, const LCC_Eval_Context_Info* context, int language,
                                ExpressionRepresentation*& representation) = 0;
    // Validates a representation; the status. The type result stays with
    // the representation as its validation result.
    virtual std::uint16_t validate(ExpressionRepresentation& representation, const LCC_Eval_Context_Info* context) = 0;
    // Evaluates a validated representation with conversion on; the status
    // and the result value.
    virtual std::uint16_t evaluate(ExpressionRepresentation& representation, const LCC_Eval_Context_Info* context,
                                   StackItem*& result) = 0;
    // Releases a result value of evaluate, a type result of validate, a
    // representation of build. Null does nothing.
    virtual void freeResult(StackItem* result) = 0;
    virtual void freeTypeResult(StackItem* typeResult) = 0;
    virtual void freeRepresentation(ExpressionRepresentation* representation) = 0;

    // The road in force: the installed one, else the refusing one.
    static UpdateExpressionRoad& current();
    // Installs a road (null: back to the refusing one). The road must
    // outlive its installation.
    static void install(UpdateExpressionRoad* road);
};

#endif
