#include "testhost/RoadEntries.h"

RoadEntries::RoadEntries(const LoadedEvaluator& e)
    : build(e.entry<decltype(build)>("DbgBuildExprIntRep")),
      validate(e.entry<decltype(validate)>("DbgValidateExpr")),
      evaluate(e.entry<decltype(evaluate)>("DbgEvaluateExpr")),
      test(e.entry<decltype(test)>("DbgTestExpr")),
      freeRep(e.entry<decltype(freeRep)>("DbgFreeExprIntRep")),
      freeResult(e.entry<decltype(freeResult)>("DbgFreeEvalResultInfo")),
      freeTypeResult(e.entry<decltype(freeTypeResult)>("DbgFreeTypeResultInfo")),
      errorText(e.entry<decltype(errorText)>("DbgExtendedErrorInfo")),
      rootNode(e.entry<decltype(rootNode)>("DbgBuildRootNodeInfo")),
      format(e.entry<decltype(format)>("DbgFormatTreeValue2a")),
      structInfo(e.entry<decltype(structInfo)>("DbgQueryStructInfo")),
      structElement(e.entry<decltype(structElement)>("Dbg2QueryStructElementInfo")),
      resultsRepsAndDataType(e.entry<decltype(resultsRepsAndDataType)>("DbgQueryResultsRepsAndDataType")),
      update(e.entry<decltype(update)>("DbgUpdateTreeValue")),
      freeNode(e.entry<decltype(freeNode)>("DbgFreeTreeNodeInfo")),
      browseMode(e.entry<decltype(browseMode)>("DbgSetBrowseMode"))
{
}
