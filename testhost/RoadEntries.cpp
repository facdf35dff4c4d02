#include "testhost/RoadEntries.h"

namespace {

// Word n of the table main filled, as the entry point's type.
template <class Function>
void fromTable(const LoadedEvaluator& e, unsigned n, Function& entry)
{
    if (e.word(n) == 0)
        throw LoaderError("main left word " + std::to_string(n) + " of the table empty");
    entry = reinterpret_cast<Function>(e.word(n));
}

template <class Function>
void byName(const LoadedEvaluator& e, const char* name, Function& entry)
{
#if defined(_WIN32)
    entry = reinterpret_cast<Function>(e.symbol(name));
#else
    entry = e.entry<Function>(name);
#endif
}

} // namespace

RoadEntries::RoadEntries(const LoadedEvaluator& e)
{
    fromTable(e, 3, build);
    fromTable(e, 5, freeRep);
    fromTable(e, 6, validate);
    fromTable(e, 9, rootNode);
    fromTable(e, 12, structInfo);
    fromTable(e, 13, arrayInfo);
    fromTable(e, 15, structElement);
    fromTable(e, 16, arrayElement);
    fromTable(e, 19, evaluate);
    fromTable(e, 22, update);
    fromTable(e, 26, arrayElementName);
    fromTable(e, 40, resultsRepsAndDataType);
    fromTable(e, 51, format);

    byName(e, "DbgTestExpr", test);
    byName(e, "DbgFreeEvalResultInfo", freeResult);
    byName(e, "DbgFreeTypeResultInfo", freeTypeResult);
    byName(e, "DbgExtendedErrorInfo", errorText);
    byName(e, "DbgFreeTreeNodeInfo", freeNode);
    byName(e, "DbgSetBrowseMode", browseMode);
}
