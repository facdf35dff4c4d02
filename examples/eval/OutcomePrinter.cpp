#include "OutcomePrinter.h"

#include <cstdio>
#include <string>

#include "StatusMeanings.h"

namespace evalhost {

namespace {

std::string hex(const std::vector<std::uint8_t>& bytes, const char* separator)
{
    std::string s;
    char two[3];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(two, sizeof two, "%02X", bytes[i]);
        if (i != 0)
            s += separator;
        s += two;
    }
    return s;
}

// A variable this long or shorter shows its bytes whole when it changed; a
// longer one shows the range that changed, from its offset, at most this
// many bytes of it.
constexpr size_t wholeBytes = 64;

// The changed bytes: the whole variable, or for a long one the range that
// changed with its offset ("@OFFSET" after the name).
struct ChangedRange {
    size_t offset = 0;
    std::vector<std::uint8_t> before, after;
    bool whole = true;
    bool cut = false;
};

ChangedRange changedRange(const ExpressionOutcome::Change& c)
{
    ChangedRange r;
    if (c.before.size() <= wholeBytes || c.before.size() != c.after.size()) {
        r.before = c.before;
        r.after = c.after;
        return r;
    }
    size_t first = 0;
    while (first < c.before.size() && c.before[first] == c.after[first])
        ++first;
    size_t end = c.before.size();
    while (end > first && c.before[end - 1] == c.after[end - 1])
        --end;
    r.whole = false;
    r.offset = first;
    r.cut = end - first > wholeBytes;
    if (r.cut)
        end = first + wholeBytes;
    r.before.assign(c.before.begin() + static_cast<long>(first), c.before.begin() + static_cast<long>(end));
    r.after.assign(c.after.begin() + static_cast<long>(first), c.after.begin() + static_cast<long>(end));
    return r;
}

// The change as the text form (spaced) or the tab-separated form shows it.
std::string changeText(const ExpressionOutcome::Change& c, bool spaced)
{
    const ChangedRange r = changedRange(c);
    const char* separator = spaced ? " " : "";
    const std::string more = r.cut ? (spaced ? " ..." : "...") : "";
    std::string out = c.variable;
    if (!r.whole)
        out += "@" + std::to_string(r.offset);
    out += spaced ? ": " : "=";
    out += hex(r.before, separator) + more + (spaced ? " > " : ">") + hex(r.after, separator) + more;
    return out;
}

// A field of a tab-separated line: tabs, line ends and backslashes escaped.
std::string field(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::string status(const std::optional<unsigned>& s)
{
    return s ? std::to_string(*s) : "-";
}

// The error text indented under its label. An evaluation that failed
// without a message leaves only the expression and its blank lines: those
// are not shown.
std::string indented(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\n')
            out += "              ";
    }
    return out;
}

} // namespace

void OutcomePrinter::print(const ExpressionOutcome& outcome)
{
    if (_tsv)
        printTsv(outcome);
    else
        printText(outcome);
}

void OutcomePrinter::printText(const ExpressionOutcome& o)
{
    _out << o.expression << "\n";
    auto line = [this](const char* label, Step step, const std::optional<unsigned>& s) {
        if (!s)
            return;
        char head[32];
        std::snprintf(head, sizeof head, "  %-10s %5u  ", label, *s);
        _out << head << statusMeaning(step, *s) << "\n";
    };
    line("build", Step::Build, o.build);
    line("validate", Step::Validate, o.validate);
    line("test", Step::Test, o.test);
    line("evaluate", Step::Evaluate, o.evaluate);
    if (o.resultName)
        _out << "  result     \"" << *o.resultName << "\"\n";
    line("root", Step::Root, o.root);
    line("format", Step::Format, o.format);
    if (o.formatted)
        _out << "  value      " << *o.formatted << "\n";
    for (const ExpressionOutcome::Member& m : o.members) {
        _out << "  " << std::string(11 + 2 * (m.level - 1), ' ');
        if (m.name.empty())
            _out << m.value << "\n";
        else
            _out << m.name << " = " << m.value << "\n";
    }
    for (const ExpressionOutcome::Change& c : o.changes)
        _out << "  changed    " << changeText(c, true) << "\n";
    if (o.errorText)
        _out << "  error      " << indented(*o.errorText) << "\n";
    if (!o.missing.empty())
        _out << "  " << o.missing << ": not available in this build\n";
}

namespace {

// The error column: the library's error text, else the step that failed
// after evaluation (no node for the result, or its value not formatted).
std::string errorField(const ExpressionOutcome& o)
{
    if (o.errorText)
        return field(*o.errorText);
    if (o.root)
        return "root node " + std::to_string(*o.root) + ": " + statusMeaning(Step::Root, *o.root);
    if (o.format && *o.format != 0 && *o.format != 1012)
        return "format " + std::to_string(*o.format) + ": " + statusMeaning(Step::Format, *o.format);
    return "-";
}

} // namespace

void OutcomePrinter::printTsv(const ExpressionOutcome& o)
{
    std::string test = "-";
    if (o.test)
        test = *o.test == 0 ? "true" : *o.test == 10000 ? "false" : std::to_string(*o.test);
    std::string changes;
    for (const ExpressionOutcome::Change& c : o.changes)
        changes += (changes.empty() ? "" : ",") + changeText(c, false);
    _out << field(o.expression) << '\t' << status(o.build) << '\t' << status(o.validate) << '\t' << status(o.evaluate)
         << '\t' << test << '\t' << (o.resultName ? field(*o.resultName) : "-") << '\t'
         << (changes.empty() ? "-" : changes) << '\t' << (o.formatted ? field(*o.formatted) : "-") << '\t'
         << errorField(o) << "\n";
}

} // namespace evalhost
