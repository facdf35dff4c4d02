// The road target: the first byte chooses the language (C, C++, COBOL,
// Fortran on the C program, SQL on the COBOL program) and the program of
// 8- or 4-byte addresses, the second the representation a node is
// formatted in; the rest is the expression's text. It goes through the
// entry points as a host calls them: built, validated and, when that
// succeeds, evaluated; on success the result's root node, its first members
// and their formatting are asked; then the error text, and everything is
// released. An exception out of an entry point is a finding.

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "SampleDebuggee.h"
#include "api/ExpressionEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "api/ErrorTextEntryPoints.h"

namespace {

struct RoadLanguage {
    UBYTE4 code;
    int program;
};

const RoadLanguage languages[] = {
    {1, SampleDebuggee::languageC},  {2, SampleDebuggee::languageC},      {6, SampleDebuggee::languageCobol},
    {11, SampleDebuggee::languageC}, {18, SampleDebuggee::languageCobol},
};

// How many members of the root are looked at.
constexpr UBYTE8 membersAsked = 3;

// Formats a node in the chosen representation among the node's own.
void formatNode(StackItem* result, UpdateTreeNode* node, unsigned choice)
{
    UBYTE2 count = 0, defaultRep = 0, dataType = 0, length = 0;
    UBYTE2* reps = nullptr;
    UBYTE2* results = nullptr;
    UBYTE1* typeName = nullptr;
    UBYTE2 rep = 0;
    if (DbgQueryResultsRepsAndDataType(result, node, &count, &reps, &results, &defaultRep, &typeName, &dataType,
                                       &length) == 0)
        rep = count > 0 && reps != nullptr ? reps[choice % count] : defaultRep;
    UBYTE1* text = nullptr;
    DbgFormatTreeValue2a(node, rep, result, &text, 4096);
    if (text != nullptr)
        (void)std::string(reinterpret_cast<const char*>(text));
}

void walk(StackItem* result, unsigned choice)
{
    UpdateTreeNode* root = nullptr;
    if (DbgBuildRootNodeInfo(result, &root) != 0 || root == nullptr)
        return;
    formatNode(result, root, choice);
    UBYTE4 count = 0;
    if (DbgQueryStructInfo(result, root, &count) == 0)
        for (UBYTE8 n = 1; n <= std::min<UBYTE8>(count, membersAsked); ++n) {
            UpdateTreeNode* child = nullptr;
            UBYTE1* name = nullptr;
            if (Dbg2QueryStructElementInfo(result, root, n, &child, &name) == 0 && child != nullptr) {
                formatNode(result, child, choice);
                DbgFreeTreeNodeInfo(child);
            }
        }
    DbgFreeTreeNodeInfo(root);
}

} // namespace

int fuzzRoad(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const RoadLanguage& language = languages[data[0] % std::size(languages)];
    const unsigned bits = data[0] & 0x80 ? 32 : 64;
    const unsigned choice = data[1];
    const LCC_Eval_Context_Info* context = SampleDebuggee::instance().roadContext(language.program, bits);
    std::vector<unsigned char> text(data + 2, data + 2 + std::min<std::size_t>(size - 2, fuzzTextLimit));
    text.erase(std::find(text.begin(), text.end(), 0), text.end());
    text.push_back(0);
    try {
        ExpressionRepresentation* rep = nullptr;
        if (DbgBuildExprIntRep(text.data(), context, language.code, 0, &rep) != 0 || rep == nullptr)
            return 0;
        StackItem* typeResult = nullptr;
        const UBYTE2 validated = DbgValidateExpr(rep, context, &typeResult);
        if (validated == 0 || validated == 1000 || validated == 1001 || validated == 1003) {
            StackItem* result = nullptr;
            UBYTE1* name = nullptr;
            if (DbgEvaluateExpr(rep, context, &result, &name) == 0 && result != nullptr)
                walk(result, choice);
            DbgFreeEvalResultInfo(result);
        }
        const UBYTE1* message = DbgExtendedErrorInfo(rep, reinterpret_cast<const UBYTE1*>("en_US"));
        if (message != nullptr)
            (void)std::string(reinterpret_cast<const char*>(message));
        DbgFreeTypeResultInfo(typeResult);
        DbgFreeExprIntRep(rep);
    } catch (...) {
        failFuzzCheck("an exception left an entry point");
    }
    return 0;
}
