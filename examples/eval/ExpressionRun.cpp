#include "ExpressionRun.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

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

ExpressionRun::ExpressionRun(const EntryPoints& entries, const ProgramFile& program, TestHost& host, unsigned rep,
                             unsigned depth)
    : _entries(entries), _program(program), _host(host), _rep(rep), _depth(depth)
{}

std::string ExpressionRun::valueOf(ResultItem* result, TreeNode* node, bool& aggregate) const
{
    UBYTE1* text = nullptr;
    const UBYTE2 status = _entries.format(node, 0, result, &text, 65535);
    aggregate = status == 1012;
    if ((status == 0 || status == 1012) && text != nullptr)
        return reinterpret_cast<const char*>(text);
    return "(status " + std::to_string(status) + ")";
}

void ExpressionRun::addMembers(ResultItem* result, TreeNode* node, unsigned level, ExpressionOutcome& out) const
{
    const EntryPoints& e = _entries;
    if (level > _depth || e.format == nullptr || e.freeNode == nullptr)
        return;
    // The number of elements shown of an array.
    constexpr UBYTE4 shownElements = 100;
    UBYTE4 count = 0;
    BYTE4 first = 0;
    if (e.arrayInfo != nullptr && e.arrayElement != nullptr && e.arrayInfo(result, node, &count, &first) == 0) {
        const bool cobol = _program.languageCode() == 6;
        const bool fortran = _program.languageCode() == 11;
        // A Fortran array walks its last dimension, whose lower bound its
        // type name shows last: "int(0:4)", "int(1:2,1:3)".
        long long lower = 1;
        UBYTE2 repCount = 0, defaultRep = 0;
        UBYTE2* reps = nullptr;
        UBYTE2* kinds = nullptr;
        UBYTE1* typeName = nullptr;
        if (fortran && e.resultType != nullptr &&
            e.resultType(result, node, &repCount, &reps, &kinds, &defaultRep, &typeName) == 0 && typeName != nullptr) {
            const std::string name = reinterpret_cast<const char*>(typeName);
            const size_t colon = name.rfind(':');
            const size_t open = colon == std::string::npos ? std::string::npos : name.find_last_of("(,", colon);
            if (open != std::string::npos)
                lower = std::strtoll(name.c_str() + open + 1, nullptr, 10);
        }
        const UBYTE4 shown = count < shownElements ? count : shownElements;
        for (UBYTE4 i = 1; i <= shown; ++i) {
            TreeNode* element = nullptr;
            if (e.arrayElement(result, node, i, &element) != 0 || element == nullptr)
                break;
            // The subscript as the language writes it: C from 0, COBOL from 1,
            // Fortran from the dimension's lower bound.
            const long long subscript = (fortran ? lower : cobol ? 1 : 0) + static_cast<long long>(i) - 1;
            bool aggregate = false;
            out.members.push_back(
                {level, cobol ? "(" + std::to_string(subscript) + ")" : "[" + std::to_string(subscript) + "]",
                 valueOf(result, element, aggregate)});
            if (aggregate)
                addMembers(result, element, level + 1, out);
            e.freeNode(element);
        }
        if (count > shown)
            out.members.push_back({level, "", "... " + std::to_string(count - shown) + " more"});
        return;
    }
    if (e.structInfo == nullptr || e.structElement == nullptr || e.structInfo(result, node, &count) != 0)
        return;
    for (UBYTE4 i = 1; i <= count; ++i) {
        TreeNode* member = nullptr;
        UBYTE1* name = nullptr;
        if (e.structElement(result, node, i, &member, &name) != 0 || member == nullptr)
            break;
        bool aggregate = false;
        out.members.push_back(
            {level, name != nullptr ? reinterpret_cast<const char*>(name) : "", valueOf(result, member, aggregate)});
        if (aggregate)
            addMembers(result, member, level + 1, out);
        e.freeNode(member);
    }
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

    // Every result is formatted: its value, or the text of an error item.
    if (result != nullptr) {
        if (e.rootNode == nullptr || e.format == nullptr) {
            out.missing = e.rootNode == nullptr ? "DbgBuildRootNodeInfo" : "DbgFormatTreeValue2a";
        } else if (const UBYTE2 rooted = e.rootNode(result, &node); rooted != 0 || node == nullptr) {
            // No node, nothing to format: the failure is shown, not an
            // empty value.
            out.root = rooted != 0 ? rooted : 10000;
        } else {
            UBYTE1* formatted = nullptr;
            out.format = e.format(node, static_cast<UBYTE2>(_rep), result, &formatted, 65535);
            if ((*out.format == 0 || *out.format == 1012) && formatted != nullptr)
                out.formatted = reinterpret_cast<const char*>(formatted);
            if (*out.format == 1012 && out.evaluate && (*out.evaluate == 0 || *out.evaluate == 1020))
                addMembers(result, node, 1, out);
            // A value that cannot be shown says why, as the node tells it.
            if (*out.format >= 10000 && !out.errorText && e.nodeErrorText != nullptr) {
                const UBYTE1* t = e.nodeErrorText(rep, node, errorLocale);
                if (t != nullptr)
                    out.errorText = reinterpret_cast<const char*>(t);
            }
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
