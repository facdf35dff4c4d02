#include "testhost/ProgramFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "testhost/CDeclarationReader.h"
#include "testhost/CobolEntryReader.h"
#include "testhost/DebuggeeLayout.h"
#include "testhost/TestHost.h"

ProgramFileError::ProgramFileError(int line, const std::string& what) : std::runtime_error(what), _line(line) {}

namespace {

std::string trimmed(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool startsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

} // namespace

ProgramFile ProgramFile::read(const std::string& text, TestHost& host, const Options& options)
{
    if (options.bits != 32 && options.bits != 64)
        throw ProgramFileError(0, "the address size is 32 or 64 bits");
    if (options.section < 1 || options.section > 255)
        throw ProgramFileError(0, "the section is 1 to 255");

    ProgramFile program;
    std::vector<std::pair<int, std::string>> lines;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string t = trimmed(line);
        if (t.empty())
            continue;
        if (program._language.empty()) {
            std::istringstream words(t);
            std::string keyword, language, rest;
            words >> keyword >> language >> rest;
            if (keyword != "language" || language.empty() || !rest.empty())
                throw ProgramFileError(number, "the first line is \"language c|c++|cobol|fortran\"");
            std::transform(language.begin(), language.end(), language.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            static const std::pair<const char*, int> languages[] = {
                {"c", 1}, {"c++", 2}, {"cobol", 6}, {"fortran", 11}};
            for (const auto& [name, code] : languages)
                if (language == name) {
                    program._language = name;
                    program._languageCode = code;
                }
            if (program._language.empty())
                throw ProgramFileError(number, "unknown language \"" + language + "\" (c, c++, cobol or fortran)");
            continue;
        }
        const bool cobol = program._language == "cobol";
        const bool fortran = program._language == "fortran";
        if (cobol ? startsWith(t, "*") : (startsWith(t, "//") || startsWith(t, "#") || (fortran && startsWith(t, "!"))))
            continue;
        lines.emplace_back(number, line);
    }
    if (program._language.empty())
        throw ProgramFileError(number, "an empty program file: the first line is \"language c|c++|cobol|fortran\"");

    const bool caseless = program._language == "cobol" || program._language == "fortran";
    const UBYTE2 locationType = options.bits == 64 ? 4 : 0;
    LCC_Eval_Context_Info& unit = host.addContext("program", CS2_FILE);
    LCC_Eval_Context_Info& main = host.addContext("main", CS2_FUNCTION, &unit);
    for (LCC_Eval_Context_Info* c : {&unit, &main}) {
        c->locationType = locationType;
        c->codePage = options.codePage;
        c->caseInsensitive = caseless;
    }
    host.addFrame(&main, 0x7FF00000, options.bits);
    program._context = &main;

    DebuggeeLayout layout(host, options.bits, options.codePage, options.section);
    if (program._language == "cobol")
        CobolEntryReader(layout, program, main).read(lines);
    else
        CDeclarationReader(layout, program, main).read(lines);
    return program;
}

ProgramFile ProgramFile::readFile(const std::string& path, TestHost& host, const Options& options)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ProgramFileError(0, "cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return read(text.str(), host, options);
}

const ProgramFile::Variable* ProgramFile::find(const std::string& name) const
{
    for (const Variable& v : _variables)
        if (v.name == name)
            return &v;
    return nullptr;
}

const ProgramFile::SqlVariable* ProgramFile::findSql(const std::string& name) const
{
    for (const SqlVariable& v : _sqlVariables)
        if (v.name == name)
            return &v;
    return nullptr;
}
