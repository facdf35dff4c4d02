#ifndef NORVEXA_TESTHOST_PROGRAMFILE_H
#define NORVEXA_TESTHOST_PROGRAMFILE_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostRecords.h"

class TestHost;
struct LCC_Eval_Context_Info;

// A line of a program file that cannot be read: its number (from 1) and what
// is wrong with it.
class ProgramFileError : public std::runtime_error {
public:
    ProgramFileError(int line, const std::string& what);
    int line() const { return _line; }

private:
    int _line;
};

// A debuggee described by a small program file and built into a simulated
// host: its variables with their initial values, laid out one after another
// in section 1 of the host's memory as a big-endian EBCDIC program stores
// them.
//
// The first line that is not blank names the language:
//     language c | c++ | cobol | fortran
// C and C++ programs declare variables as C does, with C++ classes in C++;
// Fortran programs as C does or as Fortran does, their arrays with Fortran
// bounds (CDeclarationReader); COBOL programs write data description entries
// and SQL host-variable lines (CobolEntryReader). Blank lines and comment
// lines are skipped: "//" and "#" start a comment line of C, C++ and
// Fortran, "!" one of Fortran too (and the rest of a Fortran line); "*" or
// "*>" one of COBOL.
//
// The variables are declared in the context "main" (a function) inside the
// context "program" (a file); both have the address size asked for and the
// code page asked for (none: the host's page 1047). COBOL and Fortran
// contexts find names regardless of case.
class ProgramFile {
public:
    struct Options {
        unsigned bits = 64;     // the program's address size: 32 or 64
        std::string codePage{}; // the contexts' code page ("": none)
        // The section the variables lie in (1 to 255; section n starts at
        // n * 0x10000), so that several programs share one host.
        unsigned section = 1;
    };

    // A variable of the program, or a member of one (COBOL subordinate
    // items, condition names): where it lies and how long it is.
    struct Variable {
        std::string name{};
        std::uint64_t address = 0;
        std::uint64_t size = 0;
        TYPE_INDEX type{};
        const _SYMBOL_ENTRY* symbol = nullptr;
        bool topLevel = true; // a variable of its own, not part of another
    };

    // An SQL host variable: its record's values, its symbol entry and its
    // storage. For the decimal codes (484, 485, 504, 505) the length holds
    // the precision in its second byte and the scale in its low byte.
    struct SqlVariable {
        std::string name{};
        std::uint32_t sqlType = 0;
        std::uint32_t length = 0;
        std::uint32_t maximumLength = 0;
        std::uint32_t count = 0; // elements of an array; 0: a scalar
        std::uint16_t ccsid = 0;
        std::uint64_t address = 0;
        std::vector<std::uint8_t> bytes{}; // the whole storage as laid out
        const _SYMBOL_ENTRY* symbol = nullptr;
    };

    // Reads a program file's text into the host; throws ProgramFileError
    // for the first bad line (the host may then hold part of the program).
    static ProgramFile read(const std::string& text, TestHost& host, const Options& options);
    // Reads the named file; an unreadable file is a ProgramFileError of line 0.
    static ProgramFile readFile(const std::string& path, TestHost& host, const Options& options);

    // "c", "c++", "cobol" or "fortran".
    const std::string& language() const { return _language; }
    // The host's language code of the program's expressions: 1 C, 2 C++,
    // 6 COBOL, 11 Fortran.
    int languageCode() const { return _languageCode; }
    // The host's language code of an expression naming an SQL host variable.
    static constexpr int sqlLanguageCode = 18;
    // The most bytes a program's variables may take together: a
    // declaration beyond it is an error of its line.
    static constexpr std::uint64_t sizeLimit = 256u << 20;

    // The context expressions are evaluated in.
    const LCC_Eval_Context_Info* context() const { return _context; }

    const std::vector<Variable>& variables() const { return _variables; }
    const std::vector<SqlVariable>& sqlVariables() const { return _sqlVariables; }
    // The variable (or member) of that name, or null.
    const Variable* find(const std::string& name) const;
    const SqlVariable* findSql(const std::string& name) const;

    // ---- for the readers ----
    ProgramFile() = default;
    void addVariable(Variable v) { _variables.push_back(std::move(v)); }
    void addSqlVariable(SqlVariable v) { _sqlVariables.push_back(std::move(v)); }

private:
    std::string _language;
    int _languageCode = 1;
    const LCC_Eval_Context_Info* _context = nullptr;
    std::vector<Variable> _variables;
    std::vector<SqlVariable> _sqlVariables;
};

#endif
