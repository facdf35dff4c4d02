#include "compiler/ExpressionLifecycle.h"

int exprInit()
{
    return 1;
}

void exprTerm()
{
}
