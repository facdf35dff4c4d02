#ifndef NORVEXA_COMPILER_EXPRESSION_INFO_H
#define NORVEXA_COMPILER_EXPRESSION_INFO_H

class EE_InstructionStream;
class SymbolItem;
class TypeItem;

// The built form of one expression, owned by its ExpressionRepresentation:
// the recorded byte code, the result type, the number of array-section index
// parameters, the variable the expression designates when it is a single
// name, and how many COBOL subscripts the evaluation records for the result
// (0: none are recorded). The subscript count is not the parameter count:
// that one counts array-section parameters of an array assignment.
struct expression_info {
    EE_InstructionStream* instructions;
    TypeItem* resultType;
    unsigned parameterCount;
    SymbolItem* rootSymbol;
    unsigned subscriptCount = 0;
};

// Releases the byte code held by info and forgets it; nothing more when it
// was already released. The caller deletes the record itself. A null info
// throws EE_Exception with code 2 (internal failure).
void exprFree(expression_info* info);

#endif
