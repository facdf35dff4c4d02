#ifndef NORVEXA_COMPILER_OPCODEHANDLERSUPPORT_H
#define NORVEXA_COMPILER_OPCODEHANDLERSUPPORT_H

class ExpressionRepresentation;
class RuntimeStack;
class SymbolItem;
class TypeItem;

// What every opcode handler needs besides its own operation.
namespace opcodehandlers {

// The value stack of the current expression representation; InvalidOp
// RTRC_AssertFail with the handler's signature and line when the current
// environment is of another kind (and from the environment lookup when there
// is none).
RuntimeStack& currentStack(const char* signature, unsigned line);
// The current expression representation itself, refused as currentStack.
ExpressionRepresentation& currentRepresentation(const char* signature, unsigned line);

// Names for traces; "" for null. A type's text lasts until the next type
// text is asked for on the thread.
const char* typeText(const TypeItem* type);
const char* symbolText(const SymbolItem* symbol);

} // namespace opcodehandlers

// A trace line under the handler's signature, formatted only when tracing
// is on.
#define NORVEXA_HANDLER_TRACE(signature, ...)                                                                          \
    do {                                                                                                               \
        if (*SVC::traceEnabled())                                                                                      \
            SVC::fTrace(signature, __LINE__, __VA_ARGS__);                                                             \
    } while (0)

#endif
