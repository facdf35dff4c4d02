#include "compiler/OpcodeHandlerSupport.h"

#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

namespace opcodehandlers {

ExpressionRepresentation& currentRepresentation(const char* signature, unsigned line)
{
    ExpressionRepresentation* representation = EvaluationEnvironment::currentRep()->asExprRepresentation();
    if (representation == nullptr)
        throw InvalidOp(InvalidOp::RTRC_AssertFail, signature, line);
    return *representation;
}

RuntimeStack& currentStack(const char* signature, unsigned line)
{
    return currentRepresentation(signature, line).runtimeStack();
}

const char* typeText(const TypeItem* type)
{
    if (type == nullptr)
        return "";
    const char* text = type->format();
    return text != nullptr ? text : "";
}

const char* symbolText(const SymbolItem* symbol)
{
    return symbol != nullptr ? symbol->name() : "";
}

} // namespace opcodehandlers
