#include "ExpressionRun.h"

#include <algorithm>
#include <cctype>

#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

namespace evalhost {

namespace {

// The locale the example asks the error texts in.
const UBYTE1* const errorLocale = reinterpret_cast<const UBYTE1*>("en_US");

bool sameName(const std::string& a, const std::string& b, bool caseless)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (caseless ? std::toupper(x) != std::toupper(y) : x != y)
            return false;
    }
    return true;
}

std::string trimmed(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t");
    const size_t e = s.find_last_not_of(" \t");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

} // namespace

ExpressionRun::ExpressionRun(const EntryPoints& entries, const ProgramFile& program, TestHost& host)
    : _entries(entries), _program(program), _host(host)
{
}

std::vector<std::vector<std::uint8_t>> ExpressionRun::snapshot() const
{
    std::vector<std::vector<std::uint8_t>> bytes;
    for (const ProgramFile::Variable& v : _program.variables())
        if (v.topLevel)
            bytes.push_back(_host.memory().bytes(v.address, v.size));
    for (const ProgramFile::SqlVariable& v : _program.sqlVariables())
        bytes.push_back(_host.memory().bytes(v.address, static_cast<std::uint32_t>(v.bytes.size())));
    return bytes;
}

ExpressionOutcome ExpressionRun::run(const std::string& expression)
{
    ExpressionOutcome out;
    out.expression = expression;
    const EntryPoints& e = _entries;
    const LCC_Eval_Context_Info* context = _program.context();

    // An expression that names an SQL host variable is one of language 18.
    int language = _program.languageCode();
    for (const ProgramFile::SqlVariable& v : _program.sqlVariables())
        if (sameName(trimmed(expression), v.name, true))
            language = ProgramFile::sqlLanguageCode;

    if (e.build == nullptr) {
        out.missing = "DbgBuildExprIntRep";
        return out;
    }
    std::vector<unsigned char> text(expression.begin(), expression.end());
    text.push_back(0);
    Representation* rep = nullptr;
    out.build = e.build(text.data(), context, static_cast<UBYTE4>(language), 0, &rep);
    if (*out.build != 0 || rep == nullptr)
        return out;

    ResultItem* typeItem = nullptr;
    ResultItem* result = nullptr;
    TreeNode* node = nullptr;
    bool failed = false;
    const std::vector<std::vector<std::uint8_t>> before = snapshot();
    if (e.validate == nullptr) {
        out.missing = "DbgValidateExpr";
    } else {
        out.validate = e.validate(rep, context, &typeItem);
        failed = *out.validate >= 10000;
        // An SQL host variable is typed without byte code: there is no
        // condition to test.
        if (*out.validate == 0 && language != ProgramFile::sqlLanguageCode) {
            if (e.test != nullptr)
                out.test = e.test(rep, context);
            else
                out.missing = "DbgTestExpr";
        }
        if (!failed) {
            if (e.evaluate == nullptr) {
                out.missing = "DbgEvaluateExpr";
            } else {
                UBYTE1* name = nullptr;
                out.evaluate = e.evaluate(rep, context, &result, &name);
                if (name != nullptr)
                    out.resultName = reinterpret_cast<const char*>(name);
                failed = *out.evaluate != 0 && *out.evaluate != 1020;
            }
        }
    }
    const std::vector<std::vector<std::uint8_t>> after = snapshot();
    size_t i = 0;
    for (const ProgramFile::Variable& v : _program.variables())
        if (v.topLevel) {
            if (before[i] != after[i])
                out.changes.push_back({v.name, before[i], after[i]});
            ++i;
        }
    for (const ProgramFile::SqlVariable& v : _program.sqlVariables()) {
        if (before[i] != after[i])
            out.changes.push_back({v.name, before[i], after[i]});
        ++i;
    }

    if (failed && e.errorText != nullptr) {
        const UBYTE1* t = e.errorText(rep, errorLocale);
        if (t != nullptr)
            out.errorText = reinterpret_cast<const char*>(t);
    }

    // The road formats SQL host variables and error items.
    if (result != nullptr && (language == ProgramFile::sqlLanguageCode || (out.evaluate && *out.evaluate != 0))) {
        if (e.rootNode == nullptr || e.format == nullptr) {
            out.missing = e.rootNode == nullptr ? "DbgBuildRootNodeInfo" : "DbgFormatTreeValue2a";
        } else if (e.rootNode(result, &node) == 0 && node != nullptr) {
            UBYTE2 representation = 2;  // decimal, unless the node offers another first
            if (e.resultType != nullptr) {
                UBYTE2 count = 0, defaultRepresentation = 0;
                UBYTE2* representations = nullptr;
                UBYTE2* kinds = nullptr;
                UBYTE1* typeName = nullptr;
                if (e.resultType(result, node, &count, &representations, &kinds, &defaultRepresentation, &typeName) == 0
                    && count != 0)
                    representation = defaultRepresentation;
            }
            UBYTE1* formatted = nullptr;
            out.format = e.format(node, representation, result, &formatted, 65535);
            if ((*out.format == 0 || *out.format == 1012) && formatted != nullptr)
                out.formatted = reinterpret_cast<const char*>(formatted);
        }
    }

    if (node != nullptr && e.freeNode != nullptr)
        e.freeNode(node);
    if (result != nullptr && e.freeEvalResult != nullptr)
        e.freeEvalResult(result);
    if (typeItem != nullptr && e.freeTypeResult != nullptr)
        e.freeTypeResult(typeItem);
    if (e.freeRepresentation != nullptr)
        e.freeRepresentation(rep);
    return out;
}

} // namespace evalhost
