#include "compiler/EE_InstructionStream.h"
#include "compiler/expression_info.h"
#include "frontend/EE_Exception.h"

void exprFree(expression_info* info)
{
    if (info == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    delete info->instructions;
    info->instructions = nullptr;
}
