#include "compiler/EE_InstructionStream.h"
#include "compiler/ExpressionBuild.h"
#include "frontend/EE_Exception.h"

int exprInit()
{
    return 1;
}

void exprTerm() {}

TypeItem* exprEval(expression_info* info)
{
    if (info == nullptr || info->instructions == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    info->instructions->execute();
    return info->resultType;
}
