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
//     int m[2][3] = {{1, 2, 3}, {4, 5, 6}};          long double x = 0.1;
//     union U { int i; char b[4]; } u = {5};
//     enum colour { red, green = 5, blue } col = blue;
//     struct bits { unsigned a : 3, b : 5; int c : 4; } bf = {5, 17, -3};
//     struct node { int v; struct node *next; } n1, n2 = {2, &n1};
// and in C++ classes with base classes (a class name is a type by itself;
// laid out as g++ lays them out: a base without data takes no room, and
// the tail padding of a base that is no POD holds the next members):
//     class Base { public: int id; };
//     class Derived : public Base { public: int extra; } obj = {{1}, 2};
// Types: char, signed and unsigned char, short, int, long, long long and
// their unsigned forms, bool, float, double, long double (IEEE binary128;
// a constant with L is read at its full precision),
// struct, union, enum, class, pointers and arrays of any rank. Integers are
// big-endian two's complement; long and pointers have the program's address
// size; characters are in its code page. Bit fields are laid out as a
// big-endian compiler lays them out: from the most significant bit of a
// unit of their declared type, a field that would cross the unit's end
// starting the next one (": 0" too). Enumerators are
// constants expressions can name. A variable without initial value holds
// zeros; an initialiser list shorter than the aggregate leaves the rest
// zero, and the braces of inner aggregates may be left out.
//
// In a Fortran program an array has Fortran bounds, lower bound 1 unless
// given, stored column by column: a C-style array int m[2][3] is m(2,3);
// and declarations may be written as Fortran writes them, one to a line
// (";" optional, "::" optional, a list in [...] or {...} in array element
// order, .true. and .false. for logicals, a real constant a default real
// unless its exponent is a D, "!" starting a comment):
//     integer :: n = 3              integer(kind=2) k   integer*8 big
//     real x = 1.5                  real(8) r           double precision d
//     logical ok = .true.           character(len=8) name = 'norvexa'
//     integer arr(5) = [10, 20, 30, 40, 50]
//     integer m(2, 3) = [11, 21, 12, 22, 13, 23]     integer z(0:4)
// Each dimension is a descriptor array record with constant bounds and byte
// stride; the record of the last dimension is the array's type.
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

    void tokenise(const std::vector<std::pair<int, std::string>>& lines);
    void declaration();
    TypeP typeSpecifier();
    TypeP aggregateSpecifier(const std::string& keyword);
    TypeP enumSpecifier();
    void members(Type& type);
    void bitField(Type& type, const TypeP& declared, const std::string& name, int line);
    void finishAggregate(Type& type);
    TypeP primitive(const std::string& words, int line);
    TypeP pointerTo(const TypeP& target);
    TypeP arrayOf(const TypeP& element, std::uint64_t count, int line);
    // The dimensions after a declarator's name, "[n]" each; the first may
    // be "[]" when firstMayBeOpen (its count then 0).
    std::vector<std::uint64_t> dimensions(bool firstMayBeOpen, int line);
    TypeP arrayOfDimensions(const TypeP& element, const std::vector<std::uint64_t>& counts, int line);
    void variable(const TypeP& base);
    void define(const std::string& name, const TypeP& type, const Init* init, int line);
    std::unique_ptr<Init> initialiser();

    // Fortran declarations (FortranDeclarations.cpp).
    bool startsFortranDeclaration() const;
    void fortranDeclaration();
    TypeP fortranType();
    TypeP fortranArray(const TypeP& element, const std::vector<std::pair<std::int64_t, std::uint64_t>>& bounds,
                       int line);

    // Images (CDeclarationImages.cpp).
    std::vector<std::uint8_t> image(const Type& type, const Init* init, int line);
    void listImage(const Type& type, const std::vector<std::unique_ptr<Init>>& items, size_t& next, std::uint8_t* bytes,
                   int line);
    std::vector<std::uint8_t> scalarImage(const Type& type, const Init& init, int line);
    std::vector<std::uint8_t> pointerImage(const Type& type, const Init& init, int line);
    void bitFieldImage(const Type& field, unsigned width, std::uint64_t position, const Init& init,
                       std::uint8_t* bytes);

    // Text in the program's code page; a character the page lacks is an
    // error of the line.
    std::vector<std::uint8_t> ebcdic(const std::string& text, int line) const;
    bool accept(const std::string& text);
    void expect(const std::string& text);
    std::string identifier(const char* what);
    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void fail(int line, const std::string& what) const;
    bool isCpp() const;
    bool isFortran() const;

    DebuggeeLayout& _layout;
    ProgramFile& _program;
    LCC_Eval_Context_Info& _context;
    TokenCursor<Token> _cursor;
    std::map<std::string, TypeP> _tags;
    std::map<std::string, TypeP> _typedefs;
    std::map<std::string, std::int64_t> _enumerators;
    struct Declared;
    std::map<std::string, std::shared_ptr<Declared>> _declared;
    unsigned _initialiserDepth = 0;
};

#endif
