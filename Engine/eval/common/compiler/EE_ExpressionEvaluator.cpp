#include "compiler/EE_ExpressionEvaluator.h"

#include "compiler/CxxevalInterface.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Expression.h"

// The entry is alone in its source file and weak: a test program that
// brings its own analyser of the entry links that one, and nothing else of
// the analyser comes along with it.
__attribute__((weak)) EE_Expression* EE_ExpressionEvaluator::analyze(EE_Expression& expression)
{
  if (services.isCobol()) {
    firstPass(expression, 1, 0);
    trace("_numArithOps=%u", _numArithOps);
    trace("_dmax=%u", _dmax);
    trace("_hasFloatingPoint=%d", _hasFloatingPoint ? 1 : 0);
    trace("_doFProunding=%d", _doFProunding ? 1 : 0);
  }
  if (expression.analyzed)
    return &expression;
  return &analyze(expression, LoadRootValue);
}
