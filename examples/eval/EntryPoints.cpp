#include "EntryPoints.h"

#include "testhost/LoadedEvaluator.h"

namespace evalhost {

namespace {

template <class F>
void lookUp(const LoadedEvaluator& library, F& entry, const char* name)
{
    entry = reinterpret_cast<F>(library.symbol(name));
}

} // namespace

EntryPoints EntryPoints::of(const LoadedEvaluator& library)
{
    EntryPoints e;
    lookUp(library, e.version, "DbgVersion");
    lookUp(library, e.initialize, "DbgInitialize");
    lookUp(library, e.terminate, "DbgTerminateRunTime");
    lookUp(library, e.build, "DbgBuildExprIntRep");
    lookUp(library, e.validate, "DbgValidateExpr");
    lookUp(library, e.test, "DbgTestExpr");
    lookUp(library, e.evaluate, "DbgEvaluateExpr");
    lookUp(library, e.errorText, "DbgExtendedErrorInfo");
    lookUp(library, e.nodeErrorText, "DbgExtendedErrorInfo2");
    lookUp(library, e.rootNode, "DbgBuildRootNodeInfo");
    lookUp(library, e.resultType, "DbgQueryResultType");
    lookUp(library, e.format, "DbgFormatTreeValue2a");
    lookUp(library, e.freeNode, "DbgFreeTreeNodeInfo");
    lookUp(library, e.structInfo, "DbgQueryStructInfo");
    lookUp(library, e.arrayInfo, "DbgQueryArrayInfo");
    lookUp(library, e.structElement, "Dbg2QueryStructElementInfo");
    lookUp(library, e.arrayElement, "Dbg2QueryArrayElementInfo");
    lookUp(library, e.freeEvalResult, "DbgFreeEvalResultInfo");
    lookUp(library, e.freeTypeResult, "DbgFreeTypeResultInfo");
    lookUp(library, e.freeRepresentation, "DbgFreeExprIntRep");
    return e;
}

} // namespace evalhost
