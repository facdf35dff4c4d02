#ifndef NORVEXA_API_EXPRESSIONENTRYPOINTS_H
#define NORVEXA_API_EXPRESSIONENTRYPOINTS_H

#include "HostRecords.h"
#include "HostServices.h"
#include "NorvexaExport.h"

class ExpressionRepresentation;
class StackItem;
class TypeItem;

// The entry points of one expression's life: building it from text,
// validating it into byte code and a result type, testing it as a
// condition, evaluating it, and releasing it and its results. Exported by
// their plain names.
extern "C" {

// A new representation of the text in the language; 0 and out set, or 10000
// (a null out included) with out untouched. The context and the fourth value
// are not read.
NORVEXA_API UBYTE2 DbgBuildExprIntRep(unsigned char* text, const LCC_Eval_Context_Info* context, UBYTE4 language,
                                      UBYTE4 unused, ExpressionRepresentation** out);

// Builds and checks the expression: 0 (no side effect), 1000 (calls a
// function), 1001 or 1003 (stores a value, located through the frame or
// not), or a failure (10000, 10002, 10013, 11000, 11002) with the text in the
// representation's message. On success out receives the type result (a
// value-less item of the result type), which the host releases with
// DbgFreeTypeResultInfo. A result held back by an evaluation whose type
// changed is handed out instead, with the status of the validation before.
NORVEXA_API UBYTE2 DbgValidateExpr(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context,
                                   StackItem** out);

// Evaluates a validated expression as a condition: 0 true, 10000 false, or
// 10002, 10006, 10007, 11010 for the failures the host tells apart.
NORVEXA_API UBYTE2 DbgTestExpr(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context);

// Traces and does nothing else.
NORVEXA_API void DbgResetExprIntRep(ExpressionRepresentation* rep);

// Destroys the representation with its byte code, value stack, held result
// and the type entries it made. Null does nothing.
NORVEXA_API void DbgFreeExprIntRep(ExpressionRepresentation* rep);

// Evaluates a validated expression: the status, the result (null on
// failures without a result item) and its name, which points into the
// representation until it is evaluated again, reset or freed.
NORVEXA_API UBYTE2 DbgEvaluateExpr(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context,
                                   StackItem** result, UBYTE1** name);

// Destroys a result of DbgEvaluateExpr; null does nothing, nothing fails.
NORVEXA_API void DbgFreeEvalResultInfo(StackItem* result);
// Destroys a type result of DbgValidateExpr; null does nothing, nothing
// fails.
NORVEXA_API void DbgFreeTypeResultInfo(StackItem* result);
}

// The evaluation proper, shared by DbgEvaluateExpr and the value update:
// with convert a result of another type than validated is converted to the
// validated type, without it the result is held back and the answer is 1020.
// Every failure is answered with a status; nothing is thrown.
unsigned short DbgEvaluateExpr_i(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context,
                                 StackItem*& result, UBYTE1*& name, bool convert);

// One run of the byte code on the representation's emptied value stack; the
// result type (null when the byte code made none).
// The releases behind DbgFreeEvalResultInfo and DbgFreeTypeResultInfo,
// for results the library made for itself (not handed out to the host).
void releaseEvalResult(StackItem* result);
void releaseTypeResult(StackItem* result);
// Both: the representation is told first (by releasing), then the item is
// deleted; nothing thrown leaves.
void releaseResultItem(StackItem* result, void (*releasing)(const StackItem&));

const TypeItem* HandleEvaluate(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context);
// An array assignment, run once for the section and once per element.
const TypeItem* HandleArrayEvaluate(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context);

#endif
