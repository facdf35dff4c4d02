// C character and string literals end to end: escapes decoded before the
// conversion to the target's code page, wide literals widened to wchar_t
// units and bounded by their length, casts of string literals; each value
// as gcc gives it for the target (RoadCLiteralGcc.inc, made by
// gen/gen_c_literals.py), stored into an unsigned int and read back as the
// debuggee's big-endian bytes. Then the messages whose inserts were empty
// or garbled, and Fortran's "/=" read as not-equal.

#include <cstdint>
#include <string>
#include <vector>

#include "RoadSuite.h"

namespace {

using L = RoadLanguage;
constexpr int skip = RoadCase::noEvaluation;
constexpr int store = 1003;
constexpr int buildFailed = 11000;
constexpr int unknownName = 11002;
constexpr int notSupported = 10002;

struct GccValue {
    const char* expression;
    std::uint32_t value;
};

const GccValue gccValues[] = {
#include "RoadCLiteralGcc.inc"
};

std::vector<UBYTE1> bigEndian(std::uint32_t v)
{
    return {static_cast<UBYTE1>(v >> 24), static_cast<UBYTE1>(v >> 16), static_cast<UBYTE1>(v >> 8),
            static_cast<UBYTE1>(v)};
}

// unsigned int a = 3 at 0x20; int b = 4; int np = 1 (not a pointer);
// struct { int x; } pt = {5}; a pointer pp to pt; int arr[3].
void cProgram(RoadProgram& p)
{
    HostRecordStore& records = p.records();
    const TYPE_INDEX u32 = records.integerType(32, true);
    const TYPE_INDEX i32 = records.integerType(32, false);
    p.variable("a", u32, 0x20);
    p.variable("b", i32, 0x24);
    p.variable("np", i32, 0x28);
    HostRecordStore::StructSpec s;
    s.byteSize = 4;
    s.members = {{"x", i32}};
    s.offsets = {0};
    const TYPE_INDEX point = records.structType(s);
    p.variable("pt", point, 0x40);
    p.variable("pp", records.pointerType(point, p.bits / 8), 0x50);
    p.variable("arr", records.arrayType(i32, 12), 0x60);
    p.poke(0x20, {0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 1});
    p.poke(0x40, {0, 0, 0, 5});
    std::vector<UBYTE1> address;
    const UBYTE8 target = RoadProgram::data + 0x40;
    for (unsigned i = p.bits / 8; i-- > 0;)
        address.push_back(static_cast<UBYTE1>(target >> (8 * i)));
    p.poke(0x50, address);
}

RoadOracle aHolds(std::uint32_t value)
{
    return [value](RoadRun& r) { EXPECT_EQ(r.program.peek(0x20, 4), bigEndian(value)); };
}

void aUnchanged(RoadRun& r)
{
    EXPECT_EQ(r.program.peek(0x20, 4), bigEndian(3));
}

const RoadCase faultCases[] = {
    // A literal ends with its terminating null, which reads as 0; past it
    // nothing is read.
    {"a wide literal's null", L::c, cProgram, "a = *(L\"a\" + 1)", store, -1, nullptr, 0, nullptr, aHolds(0)},
    {"a wide literal's null indexed", L::c, cProgram, "a = L\"ab\"[2]", store, -1, nullptr, 0, nullptr, aHolds(0)},
    {"a narrow literal's null indexed", L::c, cProgram, "a = \"abc\"[3]", store, -1, nullptr, 0, nullptr, aHolds(0)},
    {"a narrow literal's null", L::c, cProgram, "a = *(\"ab\" + 2)", store, -1, nullptr, 0, nullptr, aHolds(0)},
    {"a wide literal read past its null", L::c, cProgram, "a = *(L\"a\" + 2)", store, -1, nullptr, notSupported,
     nullptr, aUnchanged},
    {"a wide literal indexed past its null", L::c, cProgram, "a = L\"ab\"[3]", store, -1, nullptr, notSupported,
     nullptr, aUnchanged},
    {"a narrow literal indexed past its null", L::c, cProgram, "a = \"ab\"[3]", store, -1, nullptr, notSupported,
     nullptr, aUnchanged},
    {"joined literals end with one null", L::c, cProgram, "a = (\"ab\" \"c\")[3]", store, -1, nullptr, 0, nullptr,
     aHolds(0)},
    {"joined literals read past their null", L::c, cProgram, "a = (\"ab\" \"c\")[4]", store, -1, nullptr, notSupported,
     nullptr, aUnchanged},
    // An escape beyond the character's range is refused, naming the literal.
    {"a character escape out of range", L::c, cProgram, "a = '\\x100'", buildFailed, 9, "'\\x100'", skip, nullptr,
     nullptr},
    {"a string escape out of range", L::c, cProgram, "a = \"\\x100\"[0]", buildFailed, 9, "\"\\x100\"", skip, nullptr,
     nullptr},
    // A number with what no literal holds is refused whole, not read as
    // two operands side by side ("0//8").
    {"an octal literal with a digit 8", L::c, cProgram, "a == 08", buildFailed, 9, "08", skip, nullptr, nullptr},
    {"a number with two points", L::c, cProgram, "a = 1.5.3", buildFailed, 9, "1.5.3", skip, nullptr, nullptr},
    {"a suffix no literal takes", L::c, cProgram, "a + 1lul", buildFailed, 9, "1lul", skip, nullptr, nullptr},
    // A character literal alone evaluates to the value it validated as
    // (its EBCDIC code, 129 for 'a' in code page 1047).
    {"a character literal alone", L::c, cProgram, "'a'", 0, -1, nullptr, 0, "'a'",
     [](RoadRun& r) {
         UpdateTreeNode* root = r.root();
         ASSERT_NE(root, nullptr);
         std::string text;
         EXPECT_EQ(r.format(root, 2, text), 0);
         EXPECT_EQ(text, "129");
     }},
    // Its type: an int in C (shown as a number), a char in C++.
    {"a character literal is an int in C", L::c, cProgram, "'a'", 0, -1, nullptr, 0, "'a'",
     [](RoadRun& r) {
         UpdateTreeNode* root = r.root();
         ASSERT_NE(root, nullptr);
         std::string text;
         EXPECT_EQ(r.format(root, 0, text), 0);
         EXPECT_EQ(text, "129");
     }},
    {"a character literal is a char in C++", L::cpp, cProgram, "'a'", 0, -1, nullptr, 0, "'a'",
     [](RoadRun& r) {
         UpdateTreeNode* root = r.root();
         ASSERT_NE(root, nullptr);
         std::string text;
         EXPECT_EQ(r.format(root, 0, text), 0);
         EXPECT_EQ(text, "'a'");
     }},
    // Every insert is the operand's text as written.
    {"following a non-pointer", L::c, cProgram, "*a", buildFailed, 10, "a", skip, nullptr, nullptr},
    {"following a constant", L::c, cProgram, "1 +* 2", buildFailed, 10, "2", skip, nullptr, nullptr},
    {"a structure tag not known", L::c, cProgram, "(struct nosuch *)0", unknownName, 3, "nosuch", skip, nullptr,
     nullptr},
    {"a member of a pointer with a dot", L::c, cProgram, "pp.x", buildFailed, 7, "pp", skip, nullptr, nullptr},
    {"an arrow on a non-pointer", L::c, cProgram, "np->x", buildFailed, 7, "np", skip, nullptr, nullptr},
    {"a string literal as a subscript", L::c, cProgram, "arr[\"x\"]", buildFailed, 15, "arr[\"x\"]", skip, nullptr,
     nullptr},
    {"an empty expression", L::c, cProgram, "", buildFailed, 2, nullptr, skip, nullptr, nullptr},
    {"an expression of blanks", L::cobol, cProgram, "   ", buildFailed, 2, nullptr, skip, nullptr, nullptr},
    // Fortran's not-equal; a store there is written with "=".
    {"Fortran not-equal, true", L::fortran, cProgram, "a /= b", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) {
         r.expectCondition(0);
         aUnchanged(r);
     }},
    {"Fortran not-equal, false", L::fortran, cProgram, "a /= 3", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) {
         r.expectCondition(10000);
         aUnchanged(r);
     }},
    {"Fortran store", L::fortran, cProgram, "a = b", store, -1, nullptr, 0, nullptr, aHolds(4)},
};

// The program's own integer types (the host's records, not the model's
// built-in types) beside int literals: cProgram's b = 4 and pt.x = 5, a
// typedef myint t = 6 at 0x30, unsigned int u = 4000000000 at 0x34,
// unsigned char uc = 200 at 0x38.
void ownTypes(RoadProgram& p)
{
    cProgram(p);
    HostRecordStore& records = p.records();
    const TYPE_INDEX myint = records.typedefType("myint", records.integerType(32, false));
    p.variable("t", myint, 0x30);
    p.variable("u", records.integerType(32, true), 0x34);
    p.variable("uc", records.integerType(8, true), 0x38);
    p.poke(0x30, {0, 0, 0, 6, 0xEE, 0x6B, 0x28, 0x00, 200});
}

RoadOracle shows(const char* text)
{
    return [text](RoadRun& r) {
        UpdateTreeNode* root = r.root();
        ASSERT_NE(root, nullptr);
        std::string value;
        EXPECT_EQ(r.format(root, 2, value), 0);
        EXPECT_EQ(value, text);
    };
}

// Each evaluates to its value: the result took the validated type, not
// 1020 (an int literal made the model's int the descriptor of every 4-byte
// int, while a load made an item of the program's type).
const RoadCase ownTypeCases[] = {
    {"a sum with a literal", L::c, ownTypes, "b + 1", 0, -1, nullptr, 0, nullptr, shows("5")},
    {"a literal first", L::c, ownTypes, "1 + b", 0, -1, nullptr, 0, nullptr, shows("5")},
    {"a member beside a literal", L::c, ownTypes, "(1, pt.x)", 0, -1, nullptr, 0, nullptr, shows("5")},
    {"a conditional", L::c, ownTypes, "b ? b : 1", 0, -1, nullptr, 0, nullptr, shows("4")},
    {"a shift", L::c, ownTypes, "pt.x << 1", 0, -1, nullptr, 0, nullptr, shows("10")},
    {"through a pointer", L::c, ownTypes, "pp->x + 0", 0, -1, nullptr, 0, nullptr, shows("5")},
    {"a typedef", L::c, ownTypes, "t + 1", 0, -1, nullptr, 0, nullptr, shows("7")},
    {"a typedef beside a literal", L::c, ownTypes, "(0, t)", 0, -1, nullptr, 0, nullptr, shows("6")},
    {"unsigned int", L::c, ownTypes, "u + 1", 0, -1, nullptr, 0, nullptr, shows("4000000001")},
    {"unsigned char promoted", L::c, ownTypes, "(0, uc) + uc", 0, -1, nullptr, 0, nullptr, shows("400")},
    {"an unsigned char beside a literal", L::c, ownTypes, "(0, uc)", 0, -1, nullptr, 0, nullptr, nullptr},
    {"its value", L::c, ownTypes, "(0, uc) == 200", 0, -1, nullptr, 0, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
    {"C++", L::cpp, ownTypes, "(1, pt.x) + b", 0, -1, nullptr, 0, nullptr, shows("9")},
};

// A value in its default representation.
RoadOracle displayed(const char* text)
{
    return [text](RoadRun& r) {
        UpdateTreeNode* root = r.root();
        ASSERT_NE(root, nullptr);
        std::string value;
        EXPECT_EQ(r.format(root, 0, value), 0);
        EXPECT_EQ(value, text);
    };
}

// A wide character shows the character of its wide code (L'a' is 97), in
// C and C++ alike; C's escapes where C writes one.
const RoadCase wideCharacterCases[] = {
    {"a wide letter", L::c, cProgram, "L'a'", 0, -1, nullptr, 0, nullptr, displayed("L'a'")},
    {"a wide letter in C++", L::cpp, cProgram, "L'a'", 0, -1, nullptr, 0, nullptr, displayed("L'a'")},
    {"a wide letter by its code", L::c, cProgram, "L'\\x41'", 0, -1, nullptr, 0, nullptr, displayed("L'A'")},
    {"a wide new-line", L::c, cProgram, "L'\\n'", 0, -1, nullptr, 0, nullptr, displayed("L'\\n'")},
    {"a wide apostrophe", L::c, cProgram, "L'\\''", 0, -1, nullptr, 0, nullptr, displayed("L'\\''")},
    {"a wide control character", L::c, cProgram, "L'\\1'", 0, -1, nullptr, 0, nullptr, displayed("L'\\x1'")},
    {"a wide string's element", L::c, cProgram, "L\"xyz\"[1]", 0, -1, nullptr, 0, nullptr, displayed("L'y'")},
    {"its value is the code", L::c, cProgram, "L'a' == 97 && L\"xyz\"[1] == 121", 0, -1, nullptr, 0, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
};

} // namespace

TEST_P(RoadSuite, CWideCharactersShowTheirWideCode)
{
    runAll(wideCharacterCases);
}

TEST_P(RoadSuite, ProgramIntegerTypesBesideLiterals)
{
    runAll(ownTypeCases);
}

TEST_P(RoadSuite, CLiteralsAsGccReadsThem)
{
    for (const GccValue& g : gccValues) {
        const std::string text = std::string("a = ") + g.expression;
        run({g.expression, L::c, cProgram, text.c_str(), store, -1, nullptr, 0, nullptr, aHolds(g.value)});
    }
}

TEST_P(RoadSuite, CLiteralFaultsAndMessageInserts)
{
    runAll(faultCases);
}
