#ifndef NORVEXA_COMPILER_INTERFACEGUARDS_H
#define NORVEXA_COMPILER_INTERFACEGUARDS_H

class ScopeItem;
class SymbolItem;
class TypeItem;

// The argument checks shared by the opcode handlers and the query interface
// of the symbol model. Each takes the value to check and the caller's name
// and source line; a refused value is traced under the caller's name and
// line (when tracing is on) and raised as InvalidOp RTRC_Other with the
// guard's own signature and line.
void validateType(const TypeItem* type, const char* caller, unsigned int line);
void validateTag(unsigned int tag, const char* caller, unsigned int line);
void validateSymbol(const SymbolItem* symbol, const char* caller, unsigned int line);
void validateString(const char* text, const char* caller, unsigned int line);
void validateStringName(const char* text, const char* caller, unsigned int line);
void validateScope(const ScopeItem* scope, const char* caller, unsigned int line);
void validatePointer(const void* pointer, const char* caller, unsigned int line);

// The trace line "cxxeval interface error - <what>" under the caller.
void traceInterfaceError(const char* what, const char* caller, unsigned int line);

#endif
