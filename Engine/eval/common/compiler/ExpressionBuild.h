#ifndef NORVEXA_COMPILER_EXPRESSIONBUILD_H
#define NORVEXA_COMPILER_EXPRESSIONBUILD_H

#include "compiler/expression_info.h"

class ScopeItem;
class TypeItem;

// The interface between the host entry points and the expression core.

// Start-up and shut-down: exprInit answers 1; neither does anything else.
int exprInit();
void exprTerm();

// Parses, analyses and records the byte code of the text in the scope of the
// evaluation context into info (allocated by the caller): the stream, the
// result type (also answered), the count of array-section parameters, the
// variable the expression designates when it designates one (left as the
// caller set it otherwise) and, in COBOL, the count of subscripts its result
// name shows. Any failure of parsing, analysis or code generation is thrown
// as a ParseError* (the catcher deletes it); a stream already stored in info
// stays there for exprFree. A null info throws EE_Exception code 2.
TypeItem* exprBuild(const char* text, const ScopeItem* scope, expression_info* info);

// Replays the byte code of info on the current representation's value stack
// and answers the result type. The caller empties the stack first. A null
// info or one without byte code throws EE_Exception code 2; failures of the
// replay pass unconverted.
TypeItem* exprEval(expression_info* info);

#endif
