#include "compiler/EE_ExpressionEvaluator.h"

#include "compiler/CxxevalInterface.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Expression.h"

// The entry is alone in its source file and weak: a test program that
// brings its own analyser of the entry links that one, and nothing else of
// the analyser comes along with it. Windows' object format keeps no weak
// definition in a static library; there being alone in its file is enough,
// as the linker takes the file from the library only when the program does
// not define the entry itself.
#if defined(_WIN32)
#define NORVEXA_REPLACEABLE
#else
#define NORVEXA_REPLACEABLE __attribute__((weak))
#endif
NORVEXA_REPLACEABLE EE_Expression* EE_ExpressionEvaluator::analyze(EE_Expression& expression)
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
    _partialSubscript = nullptr;
    EE_Expression& result = analyze(expression, LoadRootValue);
    if (_partialSubscript != nullptr)
        throw EE_Exception(EE_Exception::WrongNumberOfSubscripts, _partialSubscript);
    return &result;
}
