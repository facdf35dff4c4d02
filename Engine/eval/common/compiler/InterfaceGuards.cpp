#include "compiler/InterfaceGuards.h"

#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/TypeItem.h"

namespace {

[[noreturn]] void refuse(const char* what, const char* caller, unsigned int line, const char* signature,
                         unsigned int guardLine)
{
    traceInterfaceError(what, caller, line);
    throw InvalidOp(InvalidOp::RTRC_Other, signature, guardLine);
}

void refuseNull(const void* p, const char* what, const char* caller, unsigned int line, const char* signature,
                unsigned int guardLine)
{
    if (p == nullptr)
        refuse(what, caller, line, signature, guardLine);
}

} // namespace

void traceInterfaceError(const char* what, const char* caller, unsigned int line)
{
    if (*SVC::traceEnabled())
        SVC::fTrace(caller, line, "cxxeval interface error - %s", what);
}

void validateType(const TypeItem* type, const char* caller, unsigned int line)
{
    static const char signature[] = "void validateType(const TypeItem*, const char*, unsigned int)";
    if (type == nullptr)
        refuse("null type", caller, line, signature, 1910);
    const EvaluatorTypeIndex& index = type->typeIndex();
    if (index.module() == 0 && index.index() == 0)
        refuse("invalid type", caller, line, signature, 1915);
}

void validateTag(unsigned int tag, const char* caller, unsigned int line)
{
    if (tag == 0xFFFFFFFFu)
        refuse("jump tag may not be -1", caller, line, "void validateTag(unsigned int, const char*, unsigned int)",
               1900);
}

void validateSymbol(const SymbolItem* symbol, const char* caller, unsigned int line)
{
    refuseNull(symbol, "null symbol", caller, line, "void validateSymbol(const SymbolItem*, const char*, unsigned int)",
               1890);
}

void validateString(const char* text, const char* caller, unsigned int line)
{
    refuseNull(text, "null string", caller, line, "void validateString(const Char*, const char*, unsigned int)", 1869);
}

void validateStringName(const char* text, const char* caller, unsigned int line)
{
    validateString(text, caller, line);
    if (text[0] == '\0')
        refuse("empty string", caller, line, "void validateStringName(const Char*, const char*, unsigned int)", 1880);
}

void validateScope(const ScopeItem* scope, const char* caller, unsigned int line)
{
    refuseNull(scope, "null scope", caller, line, "void validateScope(const ScopeItem*, const char*, unsigned int)",
               1859);
}

void validatePointer(const void* pointer, const char* caller, unsigned int line)
{
    refuseNull(pointer, "null pointer", caller, line, "void validatePointer(const void*, const char*, unsigned int)",
               1849);
}
