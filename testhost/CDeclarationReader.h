#ifndef NORVEXA_TESTHOST_CDECLARATIONREADER_H
#define NORVEXA_TESTHOST_CDECLARATIONREADER_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "HostRecords.h"
#include "testhost/TokenCursor.h"

class DebuggeeLayout;
class ProgramFile;
struct LCC_Eval_Context_Info;

// Reads the declarations of a C, C++ or Fortran program file and builds
// them into the simulated host: each a static variable of the context with
// its initial value in memory. A declaration ends with ";" and may span
// lines:
//     int a = 3, b = 4;             char c = 'x';     unsigned long n = 0x10;
//     double d = -1.5e2;            bool f = true;    short s[4] = {1, 2};
//     char name[8] = "text";        int v[] = {1, 2, 3};
//     struct S { int x; char c; } s = {4, 'b'};      struct S t;
//     int *p = &a;                  int *q = &v[2];   int **pp = &p;
//     typedef unsigned short u16;   u16 w = 7;        typedef struct S S_t;
// Types: char, signed and unsigned char, short, int, long, long long and
// their unsigned forms, bool, float, double (IEEE), struct, pointers and
// one-dimensional arrays. Integers are big-endian two's complement; long and
// pointers have the program's address size; characters are in its code
// page. A variable without initial value holds zeros; an initialiser list
// shorter than the array or struct leaves the rest zero.
class CDeclarationReader {
public:
    CDeclarationReader(DebuggeeLayout& layout, ProgramFile& program, LCC_Eval_Context_Info& context);
    ~CDeclarationReader();

    // The program's lines after the language line, with their numbers.
    // Throws ProgramFileError.
    void read(const std::vector<std::pair<int, std::string>>& lines);

    struct Type;
    struct Token;
    struct Init;

private:
    using TypeP = std::shared_ptr<Type>;

    void declaration();
    TypeP typeSpecifier();
    TypeP structSpecifier();
    TypeP primitive(const std::string& words, int line);
    TypeP pointerTo(const TypeP& target);
    TypeP arrayOf(const TypeP& element, std::uint64_t count, int line);
    void variable(const TypeP& base);
    std::unique_ptr<Init> initialiser();
    std::vector<std::uint8_t> image(const Type& type, const Init* init, int line);
    std::vector<std::uint8_t> scalarImage(const Type& type, const Init& init, int line);
    std::vector<std::uint8_t> pointerImage(const Type& type, const Init& init, int line);

    // Text in the program's code page; a character the page lacks is an
    // error of the line.
    std::vector<std::uint8_t> ebcdic(const std::string& text, int line) const;
    bool accept(const std::string& text);
    void expect(const std::string& text);
    std::string identifier(const char* what);
    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void fail(int line, const std::string& what) const;

    DebuggeeLayout& _layout;
    ProgramFile& _program;
    LCC_Eval_Context_Info& _context;
    TokenCursor<Token> _cursor;
    std::map<std::string, TypeP> _tags;
    std::map<std::string, TypeP> _typedefs;
    struct Declared;
    std::map<std::string, std::shared_ptr<Declared>> _declared;
    unsigned _initialiserDepth = 0;
};

#endif
