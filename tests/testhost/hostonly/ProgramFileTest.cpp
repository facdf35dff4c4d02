// Program files: each declaration form gives the symbol, type and storage
// bytes a big-endian EBCDIC program holds; a bad line is reported with its
// number. The zoned, packed and national images are those of DecimalImages
// (checked against GnuCOBOL there); hexadecimal floating point is checked
// against values worked out by hand from the format.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostRecordAccess.h"
#include "testhost/DebuggeeLayout.h"
#include "testhost/FloatImages.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

namespace {

std::string hex(const std::vector<std::uint8_t>& bytes)
{
    std::string s;
    char two[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        s += two;
    }
    return s;
}

class ProgramFileTest : public ::testing::Test {
protected:
    const ProgramFile& read(const std::string& text, unsigned bits = 64)
    {
        host = std::make_unique<TestHost>(false);
        ProgramFile::Options options;
        options.bits = bits;
        program = ProgramFile::read(text, *host, options);
        return program;
    }
    // The storage of a variable, in hexadecimal.
    std::string bytes(const std::string& name)
    {
        const ProgramFile::Variable* v = program.find(name);
        if (v == nullptr)
            return "<no " + name + ">";
        return hex(host->memory().bytes(v->address, v->size));
    }
    const _TYPE_ENTRY* typeOf(const std::string& name)
    {
        const ProgramFile::Variable* v = program.find(name);
        return v == nullptr ? nullptr : host->records().type(v->type);
    }
    // The line and text of the error reading text gives ("" when none).
    static std::pair<int, std::string> error(const std::string& text)
    {
        TestHost h(false);
        try {
            ProgramFile::read(text, h, {});
        } catch (const ProgramFileError& e) {
            return {e.line(), e.what()};
        }
        return {-1, ""};
    }

    std::unique_ptr<TestHost> host;
    ProgramFile program;
};

TEST_F(ProgramFileTest, CDeclarationsStoreBigEndianEbcdicImages)
{
    struct Row {
        const char* declaration;
        const char* name;
        unsigned primitive; // 0: a type the host builds
        const char* bytes64;
        const char* bytes32;
    } rows[] = {
        {"int a = 3;", "a", 130, "00000003", "00000003"},
        {"int a = -1;", "a", 130, "FFFFFFFF", "FFFFFFFF"},
        {"short s = -2;", "s", 129, "FFFE", "FFFE"},
        {"unsigned short us = 65535;", "us", 133, "FFFF", "FFFF"},
        {"unsigned int u = 4000000000;", "u", 134, "EE6B2800", "EE6B2800"},
        {"unsigned u = -1;", "u", 134, "FFFFFFFF", "FFFFFFFF"},
        {"long n = -2;", "n", 0, "FFFFFFFFFFFFFFFE", "FFFFFFFE"},
        {"unsigned long n = 0x10;", "n", 0, "0000000000000010", "00000010"},
        {"long long n = 1;", "n", 155, "0000000000000001", "0000000000000001"},
        {"unsigned long long n = 0xFFFFFFFFFFFFFFFF;", "n", 156, "FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF"},
        {"char c = 'x';", "c", 132, "A7", "A7"},
        {"char c = '\\x41';", "c", 132, "41", "41"},
        {"char c = 65;", "c", 132, "41", "41"},
        {"signed char c = -5;", "c", 128, "FB", "FB"},
        {"unsigned char c = 200;", "c", 132, "C8", "C8"},
        {"bool f = true;", "f", 144, "01", "01"},
        {"float f = 1.5;", "f", 136, "3FC00000", "3FC00000"},
        {"double d = -0.25;", "d", 137, "BFD0000000000000", "BFD0000000000000"},
        {"int v[3] = {10, 20};", "v", 0, "0000000A0000001400000000", "0000000A0000001400000000"},
        {"short v[] = {1, -1};", "v", 0, "0001FFFF", "0001FFFF"},
        {"char t[6] = \"abc\";", "t", 0, "818283000000", "818283000000"},
        {"char t[] = \"ab\" \"c\";", "t", 0, "81828300", "81828300"},
        {"struct S { int x; char c; } s = {4, 'b'};", "s", 0, "0000000482000000", "0000000482000000"},
        {"struct S { char c; double d; } s = {'a'};", "s", 0, "81000000000000000000000000000000",
         "81000000000000000000000000000000"},
        {"int i;", "i", 130, "00000000", "00000000"},
    };
    for (const Row& r : rows) {
        for (unsigned bits : {64u, 32u}) {
            SCOPED_TRACE(std::string(r.declaration) + " in " + std::to_string(bits) + " bits");
            read(std::string("language c\n") + r.declaration + "\n", bits);
            EXPECT_EQ(bytes(r.name), bits == 64 ? r.bytes64 : r.bytes32);
            const ProgramFile::Variable* v = program.find(r.name);
            ASSERT_NE(v, nullptr);
            ASSERT_NE(v->symbol, nullptr);
            EXPECT_EQ(symbolEntryKind(*v->symbol), UBYTE4(SE_STATIC));
            EXPECT_STREQ(symbolEntryName(*v->symbol), r.name);
            EXPECT_EQ(symbolEntrySection(*v->symbol), DebuggeeLayout::section);
            EXPECT_EQ(DebuggeeLayout::sectionBase + symbolEntryOffset(*v->symbol), v->address);
            if (r.primitive != 0) {
                EXPECT_EQ(UBYTE4{v->type.index}, r.primitive);
            }
        }
    }
    // long has the address size.
    read("language c\nlong n = 1;\nunsigned long m = 1;\n", 64);
    EXPECT_EQ(UBYTE4{program.find("n")->type.index}, 155u);
    EXPECT_EQ(UBYTE4{program.find("m")->type.index}, 156u);
    read("language c\nlong n = 1;\nunsigned long m = 1;\n", 32);
    EXPECT_EQ(UBYTE4{program.find("n")->type.index}, 130u);
    EXPECT_EQ(UBYTE4{program.find("m")->type.index}, 134u);
}

TEST_F(ProgramFileTest, CStructsArraysAndPointersAreHostTypes)
{
    for (unsigned bits : {64u, 32u}) {
        SCOPED_TRACE(bits);
        read("language c++\n"
             "int a = 3;\n"
             "int arr[4] = {1, 2, 3, 4};\n"
             "struct point { int x; char c; } pt = {4, 'b'};\n"
             "int *p = &a, *q = &arr[2];\n"
             "struct point *pp = &pt;\n"
             "int **ppp = &p;\n"
             "int *first = arr;\n",
             bits);
        EXPECT_EQ(program.language(), "c++");
        EXPECT_EQ(program.languageCode(), 2);
        const std::uint64_t a = program.find("a")->address;
        const std::uint64_t arr = program.find("arr")->address;
        const unsigned width = bits / 8;
        auto addressImage = [width](std::uint64_t address) {
            std::vector<std::uint8_t> b(width);
            for (unsigned i = 0; i < width; ++i)
                b[i] = static_cast<std::uint8_t>(address >> (8 * (width - 1 - i)));
            return hex(b);
        };
        EXPECT_EQ(bytes("p"), addressImage(a));
        EXPECT_EQ(bytes("q"), addressImage(arr + 8));
        EXPECT_EQ(bytes("pp"), addressImage(program.find("pt")->address));
        EXPECT_EQ(bytes("ppp"), addressImage(program.find("p")->address));
        EXPECT_EQ(bytes("first"), addressImage(arr));
        EXPECT_EQ(program.find("p")->address % width, 0u);

        const _TYPE_ENTRY* pointer = typeOf("q");
        ASSERT_NE(pointer, nullptr);
        ASSERT_EQ(typeEntryLeaf(*pointer), UBYTE4(TE_POINTER));
        EXPECT_EQ(UBYTE4{pointer->pointer.target.index}, 130u);

        const _TYPE_ENTRY* array = typeOf("arr");
        ASSERT_NE(array, nullptr);
        ASSERT_EQ(typeEntryLeaf(*array), UBYTE4(TE_ARRAY));
        EXPECT_EQ(arrayByteSize(array->array), 16u);
        EXPECT_EQ(UBYTE4{typeEntryElementType(*array).index}, 130u);

        const _TYPE_ENTRY* point = typeOf("pt");
        ASSERT_NE(point, nullptr);
        ASSERT_EQ(typeEntryLeaf(*point), UBYTE4(TE_CLASS));
        EXPECT_STREQ(typeEntryName(*point), "point");
        EXPECT_EQ(classByteSize(point->klass), 8u);
        std::vector<std::pair<std::string, UBYTE4>> members;
        const _TYPE_ENTRY* list = host->records().type(point->klass.fieldList);
        ASSERT_NE(list, nullptr);
        for (const TNtypeListNode* n = list->list.first.types; n != nullptr; n = n->next) {
            const _TYPE_ENTRY* m = host->records().type(n->type);
            ASSERT_NE(m, nullptr);
            const char* name = m->member.name; // a packed field: copied, never bound
            members.emplace_back(name, memberOffset(m->member));
        }
        EXPECT_EQ(members, (std::vector<std::pair<std::string, UBYTE4>>{{"x", 0}, {"c", 4}}));

        // The contexts carry the address size.
        UBYTE2 type = 99;
        EXPECT_EQ(host->activate()->ExprGetContextLocationType(program.context(), &type), 0);
        EXPECT_EQ(type, bits == 64 ? 4 : 0);
    }
}

// A struct's members may point to the struct they are members of: the
// pointer's record names the struct's own record, and an initial value
// may take the address of another variable of it.
TEST_F(ProgramFileTest, AStructMayPointToItself)
{
    for (const char* language : {"c", "c++"}) {
        for (unsigned bits : {64u, 32u}) {
            SCOPED_TRACE(std::string(language) + " in " + std::to_string(bits) + " bits");
            read(std::string("language ") + language +
                     "\n"
                     "struct node { int v; struct node *next, **link; } n1 = {1, 0}, n2 = {2, &n1};\n"
                     "typedef struct tree { struct tree *kids[2]; union u { union u *up; int i; } w; } tree_t;\n"
                     "tree_t t = {{0, 0}, {0}};\n",
                 bits);
            const unsigned width = bits / 8;
            std::string n1 = "00000002" + std::string(width == 8 ? "00000000" : "");
            for (unsigned i = 0; i < width; ++i)
                n1 += hex({static_cast<std::uint8_t>(program.find("n1")->address >> (8 * (width - 1 - i)))});
            EXPECT_EQ(bytes("n2").substr(0, n1.size()), n1);

            const _TYPE_ENTRY* node = typeOf("n2");
            ASSERT_NE(node, nullptr);
            const TYPE_INDEX nodeIndex = program.find("n2")->type;
            std::vector<std::pair<std::string, UBYTE4>> members;
            std::vector<TYPE_INDEX> targets;
            const _TYPE_ENTRY* list = host->records().type(node->klass.fieldList);
            ASSERT_NE(list, nullptr);
            for (const TNtypeListNode* n = list->list.first.types; n != nullptr; n = n->next) {
                const _TYPE_ENTRY* m = host->records().type(n->type);
                ASSERT_NE(m, nullptr);
                const char* name = m->member.name;
                members.emplace_back(name, memberOffset(m->member));
                const _TYPE_ENTRY* pointer = host->records().type(m->member.memberType); // null for int
                targets.push_back(pointer != nullptr && pointer->leaf == TE_POINTER
                                      ? TYPE_INDEX(pointer->pointer.target)
                                      : TYPE_INDEX{});
            }
            EXPECT_EQ(members,
                      (std::vector<std::pair<std::string, UBYTE4>>{{"v", 0}, {"next", width}, {"link", 2 * width}}));
            ASSERT_EQ(targets.size(), 3u);
            EXPECT_EQ(UBYTE4{targets[1].index}, UBYTE4{nodeIndex.index});
            // struct node **: a pointer to the pointer to the struct.
            const _TYPE_ENTRY* inner = host->records().type(targets[2]);
            ASSERT_NE(inner, nullptr);
            ASSERT_EQ(typeEntryLeaf(*inner), UBYTE4(TE_POINTER));
            EXPECT_EQ(UBYTE4{TYPE_INDEX(inner->pointer.target).index}, UBYTE4{nodeIndex.index});
            EXPECT_EQ(program.find("t")->size, 3u * width);
        }
    }
}

// With 4-byte addresses long double is the 12-byte slot a 32-bit compiler
// gives it (the evaluator's 80-bit extended value, then two pad bytes), its
// primitive the second long double; with 8-byte addresses binary128.
TEST_F(ProgramFileTest, LongDoubleFollowsTheAddressSize)
{
    read("language c\nlong double x = 2.5L;\nstruct S { char c; long double y; } s = {'a', 0.5};\n", 32);
    ASSERT_NE(program.find("x"), nullptr);
    EXPECT_EQ(program.find("x")->size, 12u);
    EXPECT_EQ(program.find("s")->size, 16u);
    std::vector<std::uint8_t> slot = host->memory().bytes(program.find("x")->address, 12);
    long double value = 0;
    std::memcpy(&value, slot.data(), 10);
    EXPECT_EQ(value, 2.5L);
    EXPECT_EQ(slot[10], 0);
    EXPECT_EQ(slot[11], 0);
    slot = host->memory().bytes(program.find("s")->address + 4, 12);
    std::memcpy(&value, slot.data(), 10);
    EXPECT_EQ(value, 0.5L);
    read("language c\nlong double x = 2.5L;\n", 64);
    EXPECT_EQ(program.find("x")->size, 16u);
}

// The declarations a user writes to try unions, enumerations, bit fields,
// arrays of any rank, long double, C++ classes and Fortran arrays: the bytes
// a big-endian compiler stores (bit fields from the most significant bit,
// a field that would cross its type's unit starting the next one) and the
// size it gives them.
TEST_F(ProgramFileTest, AggregatesBitFieldsAndOtherTypesAreLaidOutAsABigEndianCompilerLaysThemOut)
{
    struct Row {
        const char* text;
        const char* name;
        const char* bytes;
    } rows[] = {
        {"language c\nint m[2][3] = {{1, 2, 3}, {4, 5, 6}};", "m", "000000010000000200000003000000040000000500000006"},
        {"language c\nshort m[2][2] = {1, 2, 3};", "m", "0001000200030000"},
        {"language c\nchar t[2][3] = {\"ab\", \"c\"};", "t", "818200830000"},
        {"language c\nint m[][2] = {1, 2, 3};", "m",
         "0000000100000002"
         "0000000300000000"},
        {"language c\nunion U { int i; char b[4]; } u = {0x01020304};", "u", "01020304"},
        {"language c\nunion U { char c; double d; } u;", "u", "0000000000000000"},
        {"language c\nenum colour { red, green = 5, blue } col = blue;", "col", "00000006"},
        {"language c\nenum sign { minus = -1, plus } s = minus;", "s", "FFFFFFFF"},
        {"language c\nenum e { a, b } x[2] = {b, a};", "x", "0000000100000000"},
        {"language c\nstruct F { unsigned a : 3, b : 5; int c : 4; } f = {5, 17, -3};", "f", "B1D00000"},
        {"language c\nstruct F { unsigned a : 30; unsigned b : 4; } f = {1, 15};", "f", "00000004F0000000"},
        {"language c\nstruct F { char c; int b : 4; } f = {'a', 7};", "f", "81700000"},
        {"language c\nstruct F { unsigned a : 1; unsigned : 0; unsigned b : 1; } f = {1, 1};", "f", "8000000080000000"},
        {"language c\nstruct F { unsigned char a : 3; unsigned char b : 7; } f = {7, 127};", "f", "E0FE"},
        {"language c\nstruct F { unsigned short a : 4; unsigned : 4; unsigned short b : 8; } f = {15, 255};", "f",
         "F0FF"},
        // Wider than 32 bits: in a unit of 8 bytes, which a field of a 4-byte
        // type after it shares while it fits.
        {"language c\nstruct F { unsigned long long x : 40; long long y : 20; unsigned z : 4; long long w : 63; } f ="
         " {0x123456789A, -5, 9, -2};",
         "f", "123456789AFFFFB9FFFFFFFFFFFFFFFC"},
        {"language c\nstruct F { char c; unsigned long long x : 40; } f = {1, 0xFFFFFFFFFF};", "f", "01FFFFFFFFFF0000"},
        {"language c\nstruct F { unsigned long long x : 40, y : 40; } f = {1, 2};", "f",
         "0000000001000000"
         "0000000002000000"},
        {"language c\nlong double x = 1.5;", "x", "3FFF8000000000000000000000000000"},
        {"language c\nlong double x = -2;", "x", "C0000000000000000000000000000000"},
        // 0.1 is a double converted to long double, as gcc stores it.
        {"language c\nlong double x = 0.1;", "x", "3FFB999999999999A000000000000000"},
        {"language c\nstruct S { char c; long double x; } s = {'a', 1};", "s",
         "81000000000000003FFF0000000000000000000000000000"},
        {"language c++\nclass B { public: int id; };\nclass D : public B { public: char tag; } d = {{7}, 'k'};", "d",
         "0000000792000000"},
        {"language c++\nstruct B { char c; };\nstruct D : B { int n; } d = {{'a'}, 2};", "d", "8100000000000002"},
        {"language c++\nstruct P { int x; };\nP p = {3};", "p", "00000003"},
        // A base without data takes no room; an empty class alone one byte.
        {"language c++\nstruct E { };\nstruct D : E { int x; } d = {{}, 5};", "d", "00000005"},
        {"language c++\nclass E { };\nE e;", "e", "00"},
        // The next member of a class derived from one that is no POD (data
        // not public, or a base of its own) lies in the base's tail padding,
        // as g++ lays it out; a POD base, or a member, keeps its padding.
        {"language c++\nclass B { int i; char c; };\nclass D : public B { public: char d; } d = {{1, 'a'}, 'x'};", "d",
         "0000000181A70000"},
        {"language c++\nstruct P { int i; char c; };\nstruct Q : P { char d; } q = {{1, 'a'}, 'x'};", "q",
         "0000000181000000A7000000"},
        {"language c++\nstruct P { int i; char c; };\nstruct Q : P { char d; };\nstruct R : Q { char e; } r = {{{1, "
         "'a'}, 'x'}, 'y'};",
         "r", "0000000181000000A7A80000"},
        {"language c++\nclass B { int i; char c; };\nstruct M { B b; char m; } m = {{1, 'a'}, 'z'};", "m",
         "0000000181000000A9000000"},
        {"language fortran\ninteger :: n = 3", "n", "00000003"},
        {"language fortran\ninteger(kind=2) k = -2", "k", "FFFE"},
        {"language fortran\ninteger*8 k = 1", "k", "0000000000000001"},
        {"language fortran\nreal x = 1.5", "x", "3FC00000"},
        {"language fortran\ndouble precision d = -0.25 ! a comment", "d", "BFD0000000000000"},
        // A real constant is a default real unless its exponent is a D.
        {"language fortran\ndouble precision d = 0.1", "d", "3FB99999A0000000"},
        {"language fortran\ndouble precision d = 0.1d0", "d", "3FB999999999999A"},
        {"language fortran\nreal(8) :: d = 1D-1", "d", "3FB999999999999A"},
        {"language fortran\nlogical :: ok = .TRUE.", "ok", "00000001"},
        {"language fortran\ncharacter(len=5) :: s = 'ab'", "s", "8182404040"},
        {"language fortran\ncharacter*3 :: s", "s", "404040"},
        {"language fortran\ninteger :: m(2, 3) = [11, 21, 12, 22, 13, 23]", "m",
         "0000000B000000150000000C000000160000000D00000017"},
        {"language fortran\ninteger z(0:2) = {7, 8, 9}", "z", "000000070000000800000009"},
        {"language fortran\nint c[2][2] = {1, 2, 3, 4};", "c", "00000001000000020000000300000004"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        read(std::string(r.text) + "\n");
        EXPECT_EQ(bytes(r.name), r.bytes);
    }
}

// Floating constants are read at their own type's precision and rounded
// once: with L at binary128's full 113 bits (ties to even), without a suffix
// as a double, with f as a float, then converted to the variable's type.
// The L rows are gcc's (gen/gen_long_double_constants.py).
TEST_F(ProgramFileTest, FloatingConstantsAreRoundedOnceAtTheirTypesPrecision)
{
    struct Row {
        const char* constant;
        const char* bytes;
    } longDoubles[] = {
        {"0.1L", "3FFB999999999999999999999999999A"},
        {"1.1L", "3FFF199999999999999999999999999A"},
        {"-0.3L", "BFFD3333333333333333333333333333"},
        {"3.14159265358979323846264338327950288L", "4000921FB54442D18469898CC51701B8"},
        {"1e-300L", "3C1A56E1FC2F8F358D94DB7AC6149156"},
        {"1.5e4000L", "73E73A97C4B5FD805291940AC3F3C992"},
        {"123456789.123456789L", "4019D6F34547E6B74DCE58D7CC490820"},
        {"2.5L", "40004000000000000000000000000000"},
        {"1e25L", "405208B2A2C280290940000000000000"},
        {"0.000000000000000000000123L", "3FB629654FFA7F914E0311C964D92401"},
        {"1.000000000000000000000000000000000096296497219361792652798439979L", "3FFF0000000000000000000000000000"},
        {"1.000000000000000000000000000000000288889491658085377958395319937L", "3FFF0000000000000000000000000001"},
        {"1."
         "0000000000000000000000000000000000962964972193617926527988971292463659269050824107694097619969397783279418945"
         "3125L",
         "3FFF0000000000000000000000000000"},
        {"1."
         "0000000000000000000000000000000002888894916580853779583966913877390977807152472323082292859908193349838256835"
         "9375L",
         "3FFF0000000000000000000000000002"},
        {"1."
         "0000000000000000000000000000000000962964972193617926527988971292463659269050824107694097619969397783279418945"
         "312500000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001L",
         "3FFF0000000000000000000000000001"},
        {"1.18973149535723176508575932662800702e4932L", "7FFEFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
        {"3.36210314311209350626267781732175260e-4932L", "00010000000000000000000000000000"},
    };
    for (const Row& r : longDoubles) {
        SCOPED_TRACE(r.constant);
        read(std::string("language c\nlong double x = ") + r.constant + ";\n");
        EXPECT_EQ(bytes("x"), r.bytes);
    }
    struct Other {
        const char* declaration;
        const char* bytes;
    } others[] = {
        {"long double x = 0.1f;", "3FFB99999A0000000000000000000000"},
        {"long double x = 0.1;", "3FFB999999999999A000000000000000"},
        {"float x = 0.1;", "3DCCCCCD"},
        // Just above the midpoint of 1 and the next double: rounded through
        // a 64-bit significand first it would fall on the midpoint, then to 1.
        {"double x = 1.00000000000000011102230246251565404236316680908203126;", "3FF0000000000001"},
        {"double x = 0.1L;", "3FB999999999999A"},
    };
    for (const Other& r : others) {
        SCOPED_TRACE(r.declaration);
        read(std::string("language c\n") + r.declaration + "\n");
        EXPECT_EQ(bytes("x"), r.bytes);
    }
}

// The host records of those forms: a bit field is an integer record of its
// width at its bit offset in the unit its member offset names; a union's
// members all lie at 0; a class names its base; an enumerator is a
// constant; a Fortran array is one descriptor record per dimension, from
// the last (the whole array) to the first, whose element is the scalar,
// each with constant bounds and its byte stride.
TEST_F(ProgramFileTest, TheirHostRecordsDescribeThem)
{
    read("language c++\n"
         "struct F { unsigned a : 3; int b : 31; } f;\n"
         "union U { int i; short s; } u;\n"
         "class B { public: int id; };\n"
         "class D : public B { public: int extra; } d;\n"
         "enum colour { red, blue = 6 } col;\n");
    auto fields = [&](const _TYPE_ENTRY* klass) {
        std::vector<const _TYPE_ENTRY*> out;
        const _TYPE_ENTRY* list = host->records().type(klass->klass.fieldList);
        for (const TNtypeListNode* n = list->list.first.types; n != nullptr; n = n->next)
            out.push_back(host->records().type(n->type));
        return out;
    };
    const std::vector<const _TYPE_ENTRY*> f = fields(typeOf("f"));
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(memberOffset(f[1]->member), 4u); // 31 bits do not fit after 3: the next unit
    const _TYPE_ENTRY* b = host->records().type(f[1]->member.memberType);
    ASSERT_EQ(typeEntryLeaf(*b), UBYTE4(TE_INTEGER));
    EXPECT_EQ(UBYTE4{b->integer.bitLength}, 31u);
    EXPECT_EQ(UBYTE4{b->integer.bitOffset}, 0u);
    EXPECT_EQ(UBYTE4{b->integer.flags}, UBYTE4(TNinteger_Signed));
    const _TYPE_ENTRY* a = host->records().type(f[0]->member.memberType);
    EXPECT_EQ(UBYTE4{a->integer.bitLength}, 3u);
    EXPECT_EQ(UBYTE4{a->integer.flags}, UBYTE4(TNinteger_Unsigned));
    EXPECT_EQ(classByteSize(typeOf("f")->klass), 8u);

    for (const _TYPE_ENTRY* m : fields(typeOf("u")))
        EXPECT_EQ(memberOffset(m->member), 0u);
    EXPECT_EQ(classByteSize(typeOf("u")->klass), 4u);

    const std::vector<const _TYPE_ENTRY*> d = fields(typeOf("d"));
    ASSERT_EQ(d.size(), 2u);
    ASSERT_EQ(typeEntryLeaf(*d[0]), UBYTE4(TE_BASECLASS));
    EXPECT_STREQ(typeEntryName(*host->records().type(d[0]->baseclass.baseType)), "B");
    EXPECT_EQ(memberOffset(d[1]->member), 4u);
    EXPECT_EQ(UBYTE4{typeOf("d")->klass.flags} & UBYTE4(TNclass_Struct), 0u); // declared class

    EXPECT_EQ(typeEntryLeaf(*typeOf("col")), UBYTE4(TE_ENUM));

    read("language fortran\ninteger :: m(0:1, 3)\n");
    auto constant = [](const DwarfBlock* block) {
        const std::vector<std::uint8_t> b(dwarfBlockBytes(block), dwarfBlockBytes(block) + dwarfBlockLength(block));
        return hex(b);
    };
    const _TYPE_ENTRY* whole = typeOf("m");
    ASSERT_EQ(typeEntryLeaf(*whole), UBYTE4(TE_F90_DESC_ARRAY));
    EXPECT_EQ(UBYTE4{whole->f90descarray.dimension}, 2u);
    EXPECT_EQ(UBYTE4{whole->f90descarray.rank}, 2u);
    EXPECT_EQ(constant(whole->f90descarray.lowerBound), "1101"); // DW_OP_consts 1
    EXPECT_EQ(constant(whole->f90descarray.upperBound), "1103");
    EXPECT_EQ(constant(whole->f90descarray.stride), "1008"); // DW_OP_constu 8
    const _TYPE_ENTRY* first = host->records().type(whole->f90descarray.elementType);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(typeEntryLeaf(*first), UBYTE4(TE_F90_DESC_ARRAY));
    EXPECT_EQ(UBYTE4{first->f90descarray.dimension}, 1u);
    EXPECT_EQ(UBYTE4{first->f90descarray.rank}, 1u);
    EXPECT_EQ(constant(first->f90descarray.lowerBound), "1100");
    EXPECT_EQ(constant(first->f90descarray.upperBound), "1101");
    EXPECT_EQ(constant(first->f90descarray.stride), "1004");
    EXPECT_EQ(UBYTE4{first->f90descarray.elementType.index}, 130u);
    EXPECT_EQ(program.find("m")->size, 24u);
}

// Characters take the program's code page, which its contexts name too;
// COBOL and Fortran programs find names regardless of case.
TEST_F(ProgramFileTest, CodePageAndLanguageReachTheContexts)
{
    struct Row {
        const char* language;
        const char* codePage;
        int code;
        bool caseless;
        const char* atSign; // '@' in the page
    } rows[] = {
        {"c", "", 1, false, "7C"},
        {"C", "273", 1, false, "B5"},
        {"fortran", "1047", 11, true, "7C"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.language);
        host = std::make_unique<TestHost>(false);
        ProgramFile::Options options;
        options.codePage = r.codePage;
        program = ProgramFile::read(std::string("\n  language ") + r.language + "\nchar c = '@';\n", *host, options);
        EXPECT_EQ(program.languageCode(), r.code);
        EXPECT_EQ(bytes("c"), r.atSign);
        const LCC_Eval_Context_Info* context = host->record(program.context());
        EXPECT_EQ(context->codePage, r.codePage);
        EXPECT_EQ(context->caseInsensitive, r.caseless);
        ASSERT_NE(context->container, nullptr);
        EXPECT_EQ(context->container->codePage, r.codePage);
    }
    read("language cobol\n01 G.\n 05 F PIC X VALUE '@'.\n");
    EXPECT_EQ(bytes("F"), "7C");
    EXPECT_TRUE(host->record(program.context())->caseInsensitive);
}

TEST_F(ProgramFileTest, CobolEntriesAreStoredAsAMainframeCompilerStoresThem)
{
    struct Row {
        const char* entry;
        UBYTE4 leaf; // 0: a primitive
        const char* bytes;
    } rows[] = {
        {"PIC S9(3)V99 VALUE 12.5", TE_ZONED_DECIMAL, "F0F1F2F5C0"},
        {"PIC S9(3)V99 VALUE -12.5", TE_ZONED_DECIMAL, "F0F1F2F5D0"},
        {"PIC 9(3) VALUE 42", TE_ZONED_DECIMAL, "F0F4F2"},
        {"PIC 9(3)", TE_ZONED_DECIMAL, "F0F0F0"},
        {"PIC S9(3) SIGN LEADING VALUE -42", TE_ZONED_DECIMAL, "D0F4F2"},
        {"PIC S9(3) SIGN IS LEADING SEPARATE CHARACTER VALUE -42", TE_ZONED_DECIMAL, "60F0F4F2"},
        {"PIC S9(3) TRAILING SEPARATE VALUE 42", TE_ZONED_DECIMAL, "F0F4F24E"},
        {"PIC 99PPP VALUE 12000", TE_ZONED_DECIMAL, "F1F2"},
        {"PIC PPP99 VALUE .00012", TE_ZONED_DECIMAL, "F1F2"},
        // Zero is a multiple of every scale.
        {"PIC S9(3)PP VALUE 0", TE_ZONED_DECIMAL, "F0F0C0"},
        {"PIC S9(3)PP COMP-3 VALUE 0", TE_PACKED_DECIMAL, "000C"},
        {"PIC 99PPP VALUE 000", TE_ZONED_DECIMAL, "F0F0"},
        {"PIC 9(4) COMP VALUE 7", TE_FIXED_POINT_BINARY, "0007"},
        {"PIC S9(9) BINARY VALUE -2", TE_FIXED_POINT_BINARY, "FFFFFFFE"},
        {"PIC 9(10) USAGE IS COMP-4 VALUE 1", TE_FIXED_POINT_BINARY, "0000000000000001"},
        {"PIC S9(5)V99 COMP-3 VALUE -123.45", TE_PACKED_DECIMAL, "0012345D"},
        {"PIC 9(4) PACKED-DECIMAL VALUE 12", TE_PACKED_DECIMAL, "00012F"},
        {"PIC X(5) VALUE 'AB'", TE_CHARSTRING, "C1C2404040"},
        {"PIC X(3) VALUE \"A\"\"B\"", TE_CHARSTRING, "C17FC2"},
        {"PIC X(4) VALUE 'It''s'", TE_CHARSTRING, "C9A37DA2"},
        {"PIC X(4) VALUE X'C1C2'", TE_CHARSTRING, "C1C24040"},
        {"PIC X(2) VALUE HIGH-VALUES", TE_CHARSTRING, "FFFF"},
        {"PIC X(3) VALUE ZERO", TE_CHARSTRING, "F0F0F0"},
        {"PIC X(2)", TE_CHARSTRING, "4040"},
        {"PIC XXBXX VALUE 'ABCD'", TE_ALPHA_NUMERIC_EDITED, "C1C2C3C440"},
        {"PIC ZZ9.99 VALUE '  1.50'", TE_NUMERIC_EDITED, "4040F14BF5F0"},
        {"PIC N(2) VALUE N'Wi'", TE_NATIONAL_STRING, "00570069"},
        {"PIC N(2) VALUE SPACE", TE_NATIONAL_STRING, "00200020"},
        {"PIC 9(3) USAGE NATIONAL VALUE 123", TE_NATIONAL_DECIMAL, "003100320033"},
        {"PIC S9(2) NATIONAL SIGN LEADING SEPARATE VALUE -5", TE_NATIONAL_DECIMAL, "002D00300035"},
        {"COMP-1 VALUE -0.5", 0, "C0800000"},
        {"COMP-2 VALUE 1.5", 0, "4118000000000000"},
        {"COMP-2", 0, "0000000000000000"},
        {"INDEX", TE_INDEX_DATA_ITEM, "00000000"},
        {"PIC 99 OCCURS 3 VALUE 5", TE_ARRAY, "F0F5F0F5F0F5"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entry);
        read(std::string("language cobol\n 01 G.\n  05 ITEM ") + r.entry + ".\n");
        EXPECT_EQ(bytes("ITEM"), r.bytes);
        const _TYPE_ENTRY* t = typeOf("ITEM");
        if (r.leaf != 0) {
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(typeEntryLeaf(*t), r.leaf);
        }
    }
    // The records' own fields: precision and scale of decimal items.
    read("language cobol\n01 G.\n 05 P PIC S9(5)V99 COMP-3.\n 05 Z PIC 99PPP.\n 05 B PIC 9(4) COMP.\n");
    EXPECT_EQ(typeOf("P")->packed.precision, 7);
    EXPECT_EQ(typeOf("P")->packed.scale, -2);
    EXPECT_EQ(typeOf("Z")->zoned.scale, 3);
    EXPECT_EQ(typeOf("B")->binary.byteLength, 2);
    EXPECT_EQ(UBYTE4{program.find("Z")->type.module}, HostRecordStore::kModule);
}

TEST_F(ProgramFileTest, CobolRecordsNestTheirItemsAndConditionNames)
{
    read("language cobol\n"
         "      * a comment line\n"
         "       WORKING-STORAGE SECTION.\n"
         "       01 GRP.\n"
         "          05 FLD PIC S9(3)V99\n"
         "                 VALUE 12.5.\n"
         "          05 SUB.\n"
         "             10 A PIC X VALUE 'A'.\n"
         "             10 FILLER PIC X(2) VALUE 'ZZ'.\n"
         "             10 B PIC 9 VALUE 1.\n"
         "          05 TAB PIC 99 OCCURS 2 TIMES VALUE 9.\n"
         "       77 N PIC 9(3) COMP-3 VALUE 5. *> an inline comment\n"
         "       01 STATUS-CODE PIC X VALUE 'Y'.\n"
         "          88 IS-YES VALUE 'Y'.\n"
         "          88 IS-LETTER VALUES 'A' THRU 'I' 'J' THRU 'R'.\n");
    EXPECT_EQ(program.languageCode(), 6);
    EXPECT_EQ(bytes("GRP"), "F0F1F2F5C0"
                            "C1E9E9F1"
                            "F0F9F0F9");
    EXPECT_EQ(bytes("SUB"), "C1E9E9F1");
    EXPECT_EQ(bytes("N"), "005F");
    EXPECT_EQ(program.find("GRP")->address % 8, 0u);
    EXPECT_EQ(program.find("N")->address % 8, 0u);
    EXPECT_EQ(program.find("B")->address, program.find("GRP")->address + 8);
    EXPECT_TRUE(program.find("GRP")->topLevel);
    EXPECT_FALSE(program.find("FLD")->topLevel);

    // The record is a static group; its items are qualified names under
    // their parents.
    const _SYMBOL_ENTRY& grp = *program.find("GRP")->symbol;
    EXPECT_EQ(symbolEntryKind(grp), UBYTE4(SE_STATIC));
    EXPECT_EQ(symbolEntryAttributes(grp).d, 1);
    const _SYMBOL_ENTRY& b = *program.find("B")->symbol;
    EXPECT_EQ(symbolEntryKind(b), UBYTE4(SE_QUALIFIED_NAME));
    ASSERT_NE(symbolEntryParent(b), nullptr);
    EXPECT_STREQ(symbolEntryName(*symbolEntryParent(b)), "SUB");
    EXPECT_EQ(symbolEntryParent(*symbolEntryParent(b)), &grp);
    const _TYPE_ENTRY* group = typeOf("GRP");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(typeEntryLeaf(*group), UBYTE4(TE_GROUP));
    EXPECT_EQ(classByteSize(group->klass), 13u);
    EXPECT_EQ(UBYTE2{group->klass.memberCount}, 3);     // FLD, SUB, TAB
    EXPECT_EQ(classByteSize(typeOf("SUB")->klass), 4u); // FILLER takes room, no name

    // Condition names: the item's type is a qualifier over its data type
    // carrying the values; the names are qualified under the item.
    const _TYPE_ENTRY* status = typeOf("STATUS-CODE");
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(typeEntryLeaf(*status), UBYTE4(TE_QUALIFIER));
    const TNcobolCondVar* conditions = qualifierConditionRecord(status);
    ASSERT_NE(conditions, nullptr);
    ASSERT_EQ(UBYTE4{conditions->count}, 2u);
    const TNconditionElement& yes = conditions->conditions[0];
    EXPECT_STREQ(yes.name, "IS-YES");
    ASSERT_EQ(UBYTE2{yes.valueCount}, 1);
    EXPECT_EQ(*static_cast<const UBYTE1*>(yes.values[0].value), 0xE8);
    const TNconditionElement& letter = conditions->conditions[1];
    ASSERT_EQ(UBYTE2{letter.rangeCount}, 2);
    EXPECT_EQ(*static_cast<const UBYTE1*>(letter.ranges[1].low.value), 0xD1);
    EXPECT_EQ(*static_cast<const UBYTE1*>(letter.ranges[1].high.value), 0xD9);
    bool declared = false;
    for (const _SYMBOL_ENTRY* s : host->record(program.context())->symbols)
        if (std::string(symbolEntryName(*s)) == "IS-LETTER") {
            declared = true;
            EXPECT_EQ(symbolEntryParent(*s), program.find("STATUS-CODE")->symbol);
        }
    EXPECT_TRUE(declared);
}

// The condition record keeps single values and ranges in lists of their own;
// SET condition TO TRUE takes the first single value, or the first range's
// low bound when there is none. A clause that opens with a range therefore
// lists that range's low bound as its first single value too, so that the
// value stored is the first written (0 for VALUES 0 THRU 4, 11).
TEST_F(ProgramFileTest, AConditionOpeningWithARangeListsItsLowBoundFirst)
{
    read("language cobol\n"
         "       01 GRADE PIC 99 VALUE 7.\n"
         "          88 LOW-GRADE VALUES 0 THRU 4, 11.\n"
         "          88 MID-GRADE VALUES 5, 6 THRU 8.\n"
         "          88 TOP-GRADE VALUES 9 THRU 10.\n");
    const TNcobolCondVar* conditions = qualifierConditionRecord(typeOf("GRADE"));
    ASSERT_NE(conditions, nullptr);
    ASSERT_EQ(UBYTE4{conditions->count}, 3u);
    auto digits = [](const TNconditionValue& v) {
        const UBYTE1* b = static_cast<const UBYTE1*>(v.value);
        return std::string{static_cast<char>('0' + (b[0] & 0x0F)), static_cast<char>('0' + (b[1] & 0x0F))};
    };
    const TNconditionElement& low = conditions->conditions[0];
    ASSERT_EQ(UBYTE2{low.valueCount}, 2);
    ASSERT_EQ(UBYTE2{low.rangeCount}, 1);
    EXPECT_EQ(digits(low.values[0]), "00");
    EXPECT_EQ(digits(low.values[1]), "11");
    EXPECT_EQ(digits(low.ranges[0].low), "00");
    EXPECT_EQ(digits(low.ranges[0].high), "04");
    const TNconditionElement& mid = conditions->conditions[1];
    ASSERT_EQ(UBYTE2{mid.valueCount}, 1);
    EXPECT_EQ(digits(mid.values[0]), "05");
    const TNconditionElement& top = conditions->conditions[2];
    EXPECT_EQ(UBYTE2{top.valueCount}, 0);
    ASSERT_EQ(UBYTE2{top.rangeCount}, 1);
    EXPECT_EQ(digits(top.ranges[0].low), "09");
}

// An SQL line declares an SQL host-variable symbol entry in the program's
// context, found by the host's symbol search, over storage as long as its
// code and length ask for (the VALUE first, zeros after it).
TEST_F(ProgramFileTest, SqlHostVariableLinesDeclareSymbolEntries)
{
    struct Row {
        const char* line;
        const char* name;
        UBYTE4 sqlType, length, maximumLength, count;
        UBYTE2 ccsid;
        const char* storage;
    } rows[] = {
        // Decimal codes: precision and scale in the length's low 16 bits.
        {"SQL AMOUNT TYPE 484 LENGTH 5 2 VALUE X'12345D'", "AMOUNT", 484, 0x0502, 0x0502, 0, 0, "12345D"},
        {"SQL Z TYPE 504 LENGTH 4 VALUE X'F1'", "Z", 504, 0x0400, 0x0400, 0, 0, "F100000000"},
        // A variable-length text: a 2-byte prefix before the characters.
        {"sql title type 448 length 4 count 1 ccsid 500 value X'0002C1C2'", "TITLE", 448, 4, 4, 1, 500, "0002C1C20000"},
        {"SQL CODES TYPE 496 LENGTH 4 COUNT 3 VALUE X'0000000100000002'", "CODES", 496, 4, 4, 3, 0,
         "000000010000000200000000"},
        {"SQL BLOB TYPE 404 LENGTH 0 6 VALUE X'00000001FF'", "BLOB", 404, 0, 6, 0, 0, "00000001FF0000000000"},
        {"SQL FIXED TYPE 452 LENGTH 3 VALUE 'AB'", "FIXED", 452, 3, 3, 0, 0, "C1C200"},
    };
    for (const Row& r : rows) {
        for (unsigned bits : {64u, 32u}) {
            SCOPED_TRACE(std::string(r.line) + " in " + std::to_string(bits) + " bits");
            read(std::string("language cobol\n") + r.line + "\n", bits);
            const ProgramFile::SqlVariable* v = program.findSql(r.name);
            ASSERT_NE(v, nullptr);
            EXPECT_EQ(hex(host->memory().bytes(v->address, static_cast<std::uint32_t>(v->bytes.size()))), r.storage);
            EXPECT_EQ(v->address % 8, 0u);

            std::vector<UBYTE1> name(r.name, r.name + std::char_traits<char>::length(r.name) + 1);
            SYMBOL_LIST* found = nullptr;
            ASSERT_EQ(host->activate()->Expr2SearchForSymbolEntries(program.context(), name.data(), 1, 0, &found), 0);
            ASSERT_NE(found, nullptr);
            ASSERT_EQ(found[0], v->symbol);
            const _SYMBOL_ENTRY& e = *found[0];
            EXPECT_EQ(symbolEntryKind(e), UBYTE4(SE_SQL_HOST_VARIABLE));
            EXPECT_EQ(sqlVariableType(e), r.sqlType);
            EXPECT_EQ(sqlVariableLength(e), r.length);
            EXPECT_EQ(sqlVariableMaxLength(e), r.maximumLength);
            EXPECT_EQ(sqlVariableElementCount(e), r.count);
            EXPECT_EQ(sqlVariableCcsid(e), r.ccsid);
            EXPECT_EQ(sqlVariableAddressWidth(e), bits);
            EXPECT_EQ((UBYTE8{sqlVariableAddressHigh(e)} << 32) | sqlVariableAddressLow(e), v->address);
        }
    }
}

// Every COBOL data item's entry carries its level number: records (01),
// level-77 items, subordinate items and condition names.
TEST_F(ProgramFileTest, CobolEntriesCarryTheirLevelNumbers)
{
    read("language cobol\n"
         "01 GRP.\n"
         "   05 SUB.\n"
         "      49 DEEP PIC X.\n"
         "   07 FLD PIC 9.\n"
         "      88 ON-FLD VALUE 1.\n"
         "77 N PIC 9.\n");
    const std::pair<const char*, int> levels[] = {{"GRP", 1}, {"SUB", 5}, {"DEEP", 49}, {"FLD", 7}, {"N", 77}};
    for (const auto& [name, level] : levels) {
        SCOPED_TRACE(name);
        ASSERT_NE(program.find(name), nullptr);
        EXPECT_EQ(symbolEntryLevel(*program.find(name)->symbol), level);
    }
    const _SYMBOL_ENTRY* condition = nullptr;
    for (const _SYMBOL_ENTRY* s : host->record(program.context())->symbols)
        if (std::string(symbolEntryName(*s)) == "ON-FLD")
            condition = s;
    ASSERT_NE(condition, nullptr);
    EXPECT_EQ(symbolEntryLevel(*condition), 88);
    EXPECT_EQ(symbolEntryParent(*condition), program.find("FLD")->symbol);
}

TEST_F(ProgramFileTest, HexadecimalFloatingPointImages)
{
    struct Row {
        double value;
        unsigned bytes;
        const char* image;
    } rows[] = {
        {1.0, 4, "41100000"},         {-1.0, 4, "C1100000"},         {0.1, 4, "4019999A"},
        {100.0, 4, "42640000"},       {1.0 / 16, 4, "40100000"},     {0.0, 8, "0000000000000000"},
        {0.1, 8, "401999999999999A"}, {-2.5, 8, "C128000000000000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(hex(floatimage::hexadecimal(r.value, r.bytes)), r.image);
    }
    EXPECT_THROW(floatimage::hexadecimal(1e300, 4), std::invalid_argument);
}

TEST_F(ProgramFileTest, ABadLineIsReportedWithItsNumber)
{
    struct Row {
        const char* text;
        int line;
        const char* message;
    } rows[] = {
        {"", 0, "empty program file"},
        {"int a;\n", 1, "first line"},
        {"language pascal\n", 1, "unknown language"},
        {"language c\nint a = 3;\nfloat b = ;\n", 3, "a value expected"},
        {"language c\nint a = 3\n", 2, "\";\" expected"},
        {"language c\n\nquad q;\n", 3, "unknown type"},
        {"language c\nint i = 5000000000;\n", 2, "does not fit"},
        {"language c\nchar c = 300;\n", 2, "does not fit"},
        {"language c\nint i = 1.5;\n", 2, "not an integer"},
        {"language c\nint v[2] = {1, 2, 3};\n", 2, "more values"},
        {"language c\nint *p = &nosuch;\n", 2, "unknown variable"},
        {"language c\nshort s;\nint *p = &s;\n", 3, "does not match"},
        {"language c\nint v[2];\nint *p = &v[3];\n", 3, "outside"},
        {"language c\nint a;\nint a;\n", 3, "declared twice"},
        {"language c\nstruct S s;\n", 2, "unknown struct"},
        // A struct may point to itself while its members are read, not hold itself.
        {"language c\nstruct N { int v;\nstruct N n; } x;\n", 3, "member n of an incomplete struct"},
        {"language c\nstruct N { int v;\nstruct N a[2]; } x;\n", 3, "member a of an incomplete struct"},
        {"language c\nlong double x = 1e5000L;\n", 2, "outside the range of binary128"},
        {"language c\nlong double x = 1e-4940L;\n", 2, "outside the range of binary128"},
        {"language c\ndouble x = 1e400;\n", 2, "bad number 1e400"},
        {"language c\nlong double x = 1.5q;\n", 2, "bad number 1.5q"},
        {"language c\nchar c = 'ab';\n", 2, "one character"},
        {"language c\nchar t[2] = \"abc\";\n", 2, "longer than the array"},
        {"language c\nstruct B { unsigned a : 40; } b;\n", 2, "wider than its type"},
        {"language c\nstruct B { unsigned long long a : 65; } b;\n", 2, "wider than its type"},
        {"language c\nstruct B { float a : 3; } b;\n", 2, "needs an integer type"},
        {"language c\nstruct B { unsigned a : 0; } b;\n", 2, "has width 0"},
        {"language c\nstruct B { unsigned a : 3; } b = {8};\n", 2, "does not fit in 3 bits"},
        {"language c\nenum e { a, a };\n", 2, "declared twice"},
        {"language c\nenum e { a = 0x7FFFFFFFFFFFFFFF, b };\n", 2, "the value of b overflows"},
        {"language c\nenum e { a };\nint a;\n", 3, "declared twice"},
        {"language c\nunion U { int i; } u;\nstruct U s;\n", 3, "is a union"},
        {"language c\nunion U { int i; char c; } u = {1, 2};\n", 2, "more values than the union"},
        {"language c\nint m[2][] = {1};\n", 2, "needs its size"},
        {"language c++\nclass D : public Nosuch { int x; } d;\n", 2, "unknown base class Nosuch"},
        {"language c++\nstruct B { int x; };\nstruct D : virtual B { int y; } d;\n", 3, "virtual base"},
        {"language fortran\ninteger :: z(3:1)\n", 2, "hold no element"},
        {"language fortran\ninteger(kind=3) :: k\n", 2, "no integer of kind 3"},
        {"language fortran\ninteger :: a = 1 b = 2\n", 2, "end of the declaration"},
        {"language fortran\nreal(len=4) :: r\n", 2, "\"len\""},
        {"language cobol\n01 G.\n 05 F PIC 999 VALUE 1234.\n", 3, "does not fit"},
        {"language cobol\n01 G.\n 05 F PIC 9V9 VALUE 1.25.\n", 3, "more decimal places"},
        {"language cobol\n01 G.\n 05 F PIC 9 VALUE -1.\n", 3, "negative"},
        {"language cobol\n01 G.\n 05 F PIC X(2) VALUE 'ABC'.\n", 3, "longer than F"},
        {"language cobol\n01 G.\n 05 F PIC X(2) VALUE 12.\n", 3, "quoted VALUE"},
        {"language cobol\n01 G.\n 05 F PIC 99 VALUE 'AB'.\n", 3, "numeric VALUE"},
        {"language cobol\n01 G PIC X.\n 05 F PIC X.\n", 2, "takes no PIC"},
        {"language cobol\n01 G.\n 50 F PIC X.\n", 3, "not 01 to 49"},
        {"language cobol\n05 F PIC X.\n", 2, "outside a record"},
        {"language cobol\n88 C VALUE 1.\n", 2, "without a data item"},
        {"language cobol\n01 G.\n 05 F PIC X JUSTIFIED.\n", 3, "unknown clause"},
        {"language cobol\n01 G.\n 05 F PIC X\n", 3, "a period expected"},
        {"language cobol\n01 G.\n 05 F PIC Q(3).\n", 3, "bad PIC"},
        {"language cobol\n01 G.\n 05 F PIC 9(19) COMP.\n", 3, "too many digits"},
        // A native binary: read as COMP it would be cut to its picture.
        {"language cobol\n01 G.\n 05 B5 PIC S9(4) COMP-5.\n", 3, "COMP-5 (native binary) is not supported"},
        {"language cobol\n01 G.\n 05 B5 PIC S9(4) USAGE IS COMPUTATIONAL-5.\n", 3, "not supported"},
        {"language cobol\n01 G.\n 05 F PIC 99PP VALUE 150.\n", 3, "no multiple of the scale"},
        {"language cobol\n01 G.\n 05 F PIC S9 NATIONAL.\n", 3, "SEPARATE"},
        {"language cobol\n01 G.\n 05 F PIC 9 SIGN LEADING.\n", 3, "SIGN needs"},
        {"language cobol\n01 G OCCURS 2.\n", 2, "OCCURS on a level-1"},
        {"language cobol\n01 G.\n 05 F PIC X VALUE 'unterminated.\n", 3, "unterminated"},
        {"language cobol\nSQL S TYPE 484 LENGTH 5\n", 2, "VALUE expected"},
        {"language cobol\nSQL S TYPE 484 VALUE X'00'\n", 2, "LENGTH expected"},
        {"language cobol\nSQL S TYPE 484 LENGTH 3 VALUE X'123'\n", 2, "odd number"},
        {"language cobol\nSQL S TYPE 484 LENGTH 3 VALUE X'0000123C'\n", 2, "longer than its 2 bytes"},
        {"language cobol\nSQL S TYPE 484 LENGTH 32 VALUE X'0C'\n", 2, "precision is 1 to 31"},
        {"language cobol\nSQL S TYPE 504 LENGTH 3 4 VALUE X'F0'\n", 2, "scale at most"},
        {"language cobol\nSQL S TYPE 496 LENGTH 4 COUNT 0 VALUE X'00'\n", 2, "COUNT 0"},
        {"language cobol\nSQL S TYPE 496 LENGTH 4 VALUE X'00'\nSQL S TYPE 496 LENGTH 4 VALUE X'00'\n", 3,
         "declared twice"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const auto [line, message] = error(r.text);
        EXPECT_EQ(line, r.line);
        EXPECT_NE(message.find(r.message), std::string::npos) << message;
    }
}

} // namespace

TEST(ProgramFileSections, ProgramsInSectionsOfTheirOwnShareOneHost)
{
    TestHost host(false);
    ProgramFile::Options first;
    ProgramFile::Options third;
    third.section = 3;
    third.bits = 32;
    const ProgramFile one = ProgramFile::read("language c\nint a = 1;\nint b = 2;\n", host, first);
    const ProgramFile other = ProgramFile::read("language c\nint a = 7;\n", host, third);
    const struct {
        const ProgramFile& program;
        const char* name;
        UBYTE4 section;
        std::uint64_t address;
        const char* bytes;
    } rows[] = {
        {one, "a", 1, 0x10000, "00000001"},
        {one, "b", 1, 0x10004, "00000002"},
        {other, "a", 3, 0x30000, "00000007"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.name) + " in section " + std::to_string(r.section));
        const ProgramFile::Variable* v = r.program.find(r.name);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(symbolEntrySection(*v->symbol), r.section);
        EXPECT_EQ(symbolEntryOffset(*v->symbol), r.address - 0x10000 * r.section);
        EXPECT_EQ(v->address, r.address);
        EXPECT_EQ(hex(host.memory().bytes(v->address, 4)), r.bytes);
    }
    EXPECT_NE(one.context(), other.context());

    for (unsigned section : {0u, 256u}) {
        ProgramFile::Options bad;
        bad.section = section;
        try {
            ProgramFile::read("language c\nint a;\n", host, bad);
            ADD_FAILURE() << "section " << section << " was accepted";
        } catch (const ProgramFileError& e) {
            EXPECT_EQ(e.line(), 0);
            EXPECT_STREQ(e.what(), "the section is 1 to 255");
        }
    }
}
