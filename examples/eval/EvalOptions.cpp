#include "EvalOptions.h"

#include <string>

namespace evalhost {

const char* EvalOptions::usage()
{
    return "usage: norvexa-eval [--program FILE|c|cobol] [--bits 32|64] [--code-page N] [--rep N] [--depth N]\n"
           "                    [--tsv] [--] EXPRESSION...\n"
           "  --program   the debuggee: a program file, or the sample c (default) or cobol\n"
           "              (a program file's first line names its language: language c, c++,\n"
           "              cobol or fortran; see examples/c.prog, cpp.prog, fortran.prog and cobol.prog):\n"
           "              C declares scalars, pointers, n-dimensional arrays, struct, union, enum, bit\n"
           "              fields, typedef and long double; C++ classes with base classes too; Fortran\n"
           "              writes integer(kind=N), real(8), double precision, logical, character(len=N)\n"
           "              and arrays with bounds from 1 or its own, arr(0:4), stored column by column\n"
           "              (subscripted in brackets, the last dimension first: m[3][2] is m(2, 3))\n"
           "  --bits      the program's address size (default 64)\n"
           "  --code-page the program's EBCDIC code page (default 1047)\n"
           "  --rep       the representation of each value (1 hexadecimal, 2 decimal, 3 octal, 4 binary,\n"
           "              8 floating point, 17 boolean, 22 character, ...; default 0: the value's default)\n"
           "  --depth     the levels of members and elements shown below a structure or array (default 2;\n"
           "              at most 100 elements of an array)\n"
           "  --tsv       one tab-separated line per expression: expression, build, validate and\n"
           "              evaluate statuses, test answer, result name, changed bytes VAR=BEFORE>AFTER,\n"
           "              the value, the error text (or the step that failed: root node, format)\n"
           "  --          the arguments after it are expressions, even one that begins with -\n";
}

std::string EvalOptions::parse(const std::vector<std::string>& arguments)
{
    bool optionsEnd = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (optionsEnd || a.empty() || a[0] != '-' || a == "-") {
            expressions.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnd = true;
            continue;
        }
        if (a == "--tsv") {
            tsv = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            help = true;
            continue;
        }
        std::string name = a, value;
        const size_t equals = a.find('=');
        if (equals != std::string::npos) {
            name = a.substr(0, equals);
            value = a.substr(equals + 1);
        } else if (a == "--program" || a == "--bits" || a == "--code-page" || a == "--rep" || a == "--depth") {
            if (i + 1 >= arguments.size())
                return a + " needs a value";
            value = arguments[++i];
        }
        if (name == "--program") {
            if (value.empty())
                return "--program needs a file";
            program = value;
        } else if (name == "--bits") {
            if (value != "32" && value != "64")
                return "--bits is 32 or 64, not \"" + value + "\"";
            bits = value == "32" ? 32 : 64;
        } else if (name == "--code-page") {
            if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos)
                return "--code-page is a code page number, not \"" + value + "\"";
            codePage = value;
        } else if (name == "--rep" || name == "--depth") {
            if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos)
                return name + " is a number, not \"" + value + "\"";
            (name == "--rep" ? representation : depth) = static_cast<unsigned>(std::stoul(value));
            if (name == "--rep" && representation > 23)
                return "--rep is a representation from 0 to 23, not \"" + value + "\"";
        } else {
            return "unknown option " + a;
        }
    }
    if (expressions.empty() && !help)
        return "no expression given";
    return "";
}

} // namespace evalhost
