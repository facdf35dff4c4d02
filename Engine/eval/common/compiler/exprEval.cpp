#include "compiler/EE_InstructionStream.h"
#include "compiler/ExpressionBuild.h"
#include "frontend/EE_Exception.h"

TypeItem* exprEval(expression_info* info)
{
    if (info == nullptr || info->instructions == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    info->instructions->execute();
    return info->resultType;
}
