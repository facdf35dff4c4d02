// Values and trees through the entry points, as a host shows them: every
// result formats its value in its data type's default representation (0) or
// one its data type offers, aggregates answer 1012 and give their members
// and elements as children, and a value whose bytes cannot be read is
// message 47, never a number.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "machine/StackItem.h"
#include "services/Message.h"
#include "testhost/DwarfExpression.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"
#include "tree/UpdateTreeNode.h"

#include "EvaluatedRootsFixture.h"

namespace {

const char cProgram[] = R"(language c
int a = 3;
int b = 4;
short s = -2;
unsigned int u = 4000000000;
unsigned long long huge = 0xFFFFFFFFFFFFFFFF;
char c = 'x';
signed char sc = -5;
bool flag = true;
float f = 0.1;
double d = -0.25;
int arr[5] = {10, 20, 30, 40, 50};
char name[8] = "norvexa";
struct point { int x; char c; } pt = {4, 'b'};
struct holder { int arr[4]; struct point at; } h = {{1, 2, 3, 4}, {5, 'q'}};
int i = 2;
int *p = &a;
struct point *pp = &pt;
char full[4] = "abcd";
char after[4] = "xyz";
)";

const char cobolProgram[] = R"(language cobol
       WORKING-STORAGE SECTION.
       01 GRP.
          05 FLD       PIC S9(3)V99 VALUE 12.5.
          05 CNT       PIC 9(4) COMP VALUE 7.
          05 AMT       PIC S9(5)V99 COMP-3 VALUE -123.45.
          05 NAME      PIC X(8) VALUE 'NORVEXA'.
          05 TAB       PIC 99 OCCURS 3 VALUE 5.
          05 SEP       PIC S9(3) SIGN LEADING SEPARATE VALUE -42.
          05 TRL       PIC S9(3) SIGN TRAILING SEPARATE VALUE 12.
          05 NUM-NAT   PIC S9(3)V9 USAGE NATIONAL SIGN LEADING SEPARATE VALUE -12.5.
          05 EDITED    PIC ZZ,ZZ9.99 VALUE '   12.50'.
       77 BIN          PIC S9(3)V99 COMP VALUE -1.25.
       77 PK           PIC SV999 COMP-3 VALUE -.5.
       01 GRADE        PIC 99 VALUE 7.
          88 PASSING   VALUES 5 THRU 10.
       01 RESULTS.
          05 SCORE     PIC 99 VALUE 7.
             88 GOOD   VALUES 5 THRU 10.
       SQL SMALL TYPE 500 LENGTH 2 VALUE X'FFFE'
       SQL INT TYPE 496 LENGTH 4 VALUE X'0000010A'
       SQL BIG TYPE 492 LENGTH 8 VALUE X'FFFFFFFFFFFFFFFF'
       SQL FLT TYPE 480 LENGTH 8 VALUE X'4118000000000000'
       SQL DECF TYPE 996 LENGTH 8 VALUE X'2238000000000015'
       SQL AMOUNT TYPE 484 LENGTH 5 2 VALUE X'12345D'
       SQL ZONED TYPE 504 LENGTH 3 1 VALUE X'60F1F2F5'
       SQL CHR TYPE 452 LENGTH 4 VALUE X'C1C2C3C4'
       SQL VCHR TYPE 448 LENGTH 10 VALUE X'0003C1C2C3'
       SQL CODES TYPE 496 LENGTH 4 COUNT 3 VALUE X'000000010000000200000003'
)";

struct Shown {
    UBYTE2 status = 0;
    std::string text;
};

// An expression, the representation asked for and the text shown (status 0).
struct ValueCase {
    const char* expression;
    UBYTE2 rep;
    const char* text;
};

class ValueTreeTest : public EvaluatedRootsFixture<::testing::Test> {
protected:
    void load(const char* text, unsigned bits = 64) { loadProgram(text, bits); }

    Shown format(UpdateTreeNode* node, UBYTE2 rep = 0)
    {
        Shown s;
        UBYTE1* text = nullptr;
        s.status = DbgFormatTreeValue2a(node, rep, item_, &text, 65535);
        s.text = text != nullptr && (s.status == 0 || s.status == 1012) ? reinterpret_cast<const char*>(text) : "";
        return s;
    }

    Shown value(const std::string& text, UBYTE2 rep = 0, int language = -1)
    {
        UpdateTreeNode* node = root(text, language);
        if (node == nullptr)
            return Shown{10000, "<no node>"};
        return format(node, rep);
    }

    void checkValues(const std::vector<ValueCase>& cases)
    {
        for (const ValueCase& c : cases) {
            const Shown s = value(c.expression, c.rep);
            EXPECT_EQ(s.status, 0) << c.expression;
            EXPECT_EQ(s.text, c.text) << c.expression << " rep " << c.rep;
        }
    }

    // The n-th member (from 1) of a node, handed out with a reference.
    UpdateTreeNode* member(UpdateTreeNode* node, unsigned n, std::string* name = nullptr)
    {
        UpdateTreeNode* child = nullptr;
        UBYTE1* text = nullptr;
        if (Dbg2QueryStructElementInfo(item_, node, n, &child, &text) != 0)
            return nullptr;
        nodes_.push_back(child);
        if (name != nullptr)
            *name = reinterpret_cast<const char*>(text);
        return child;
    }

    void declareBigArray();

    UpdateTreeNode* element(UpdateTreeNode* node, unsigned long long n)
    {
        UpdateTreeNode* child = nullptr;
        if (Dbg2QueryArrayElementInfo(item_, node, n, &child) != 0)
            return nullptr;
        nodes_.push_back(child);
        return child;
    }
};

std::string message(int id)
{
    return Message(id).textInUnicode().asUTF8().empty()
               ? ""
               : reinterpret_cast<const char*>(Message(id).textInUnicode().asUTF8().data());
}

TEST_F(ValueTreeTest, CValuesInTheirDefaultAndOfferedRepresentations)
{
    load(cProgram);
    checkValues({
        {"a + b", 0, "7"},
        {"a + b", 2, "7"},
        {"a + b", 1, "0x00000007"},
        {"a + b", 3, "07"},
        {"a - b * 2", 0, "-5"},
        {"s", 0, "-2"},
        {"u", 0, "4000000000"},
        {"huge", 0, "18446744073709551615"},
        {"huge", 1, "0xFFFFFFFFFFFFFFFF"},
        {"sc", 2, "-5"},
        {"c", 0, "'x'"},
        {"c", 2, "167"}, // 'x' in the program's EBCDIC
        {"flag", 0, "TRUE"},
        {"a == 4", 0, "FALSE"},
        {"f", 0, "0.1"},
        {"d", 0, "-0.25"},
        {"d * 3", 8, "-0.75"},
        {"h.arr[i] * 2 + pp->x", 0, "10"},
        {"pp->c", 0, "'b'"},
        {"*p", 0, "3"},
    });
    // A pointer shows its address by default, in hexadecimal of the
    // program's address size.
    const Shown pointer = value("p");
    EXPECT_EQ(pointer.status, 0);
    EXPECT_EQ(pointer.text.substr(0, 2), "0x");
    EXPECT_EQ(pointer.text.size(), 18u) << pointer.text;
}

TEST_F(ValueTreeTest, ARepresentationTheDataTypeDoesNotOfferIsRefused)
{
    load(cProgram);
    EXPECT_EQ(value("a + b", 8).status, 10000); // an integer is no floating-point number
    EXPECT_EQ(value("d", 2).status, 10000);     // a double is shown as floating point or bytes
    EXPECT_EQ(value("flag", 22).status, 10000);
    EXPECT_EQ(value("a + b", 99).status, 10000); // beyond every representation
}

TEST_F(ValueTreeTest, StructuresAndArraysAreTreesOfTheirMembersAndElements)
{
    load(cProgram);
    UpdateTreeNode* node = root("h");
    ASSERT_NE(node, nullptr);
    const Shown whole = format(node);
    EXPECT_EQ(whole.status, 1012);
    EXPECT_EQ(whole.text, "{ { 1, 2, 3, 4 }, { 5, 'q' } }");

    UBYTE4 count = 0;
    ASSERT_EQ(DbgQueryStructInfo(item_, node, &count), 0);
    EXPECT_EQ(count, 2u);
    std::string name;
    UpdateTreeNode* arr = member(node, 1, &name);
    ASSERT_NE(arr, nullptr);
    EXPECT_EQ(name, "arr");
    EXPECT_EQ(format(arr).status, 1012);
    BYTE4 first = 0;
    ASSERT_EQ(DbgQueryArrayInfo(item_, arr, &count, &first), 0);
    EXPECT_EQ(count, 4u);
    UpdateTreeNode* third = element(arr, 3);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(third->memberName())), "arr[2]");
    EXPECT_EQ(format(third).text, "3");
    EXPECT_EQ(format(third, 1).text, "0x00000003");
    // Asked again, the same element.
    EXPECT_EQ(element(arr, 3), third);
    EXPECT_EQ(element(arr, 5), nullptr);
    EXPECT_EQ(element(arr, 0), nullptr);

    UpdateTreeNode* at = member(node, 2, &name);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(name, "at");
    ASSERT_EQ(DbgQueryStructInfo(item_, at, &count), 0);
    EXPECT_EQ(count, 2u);
    UpdateTreeNode* c = member(at, 2, &name);
    EXPECT_EQ(name, "c");
    EXPECT_EQ(format(c).text, "'q'");

    // An array alone: five elements at most in its text, all as children.
    UpdateTreeNode* a = root("arr");
    const Shown array = format(a);
    EXPECT_EQ(array.status, 1012);
    EXPECT_EQ(array.text, "{ 10, 20, 30, 40, 50 }");
    ASSERT_EQ(DbgQueryArrayInfo(item_, a, &count, &first), 0);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(format(element(a, 5)).text, "50");

    // A pointer's child is its target.
    UpdateTreeNode* ptr = root("pp");
    ASSERT_EQ(DbgQueryStructInfo(item_, ptr, &count), 0);
    EXPECT_EQ(count, 1u);
    UpdateTreeNode* target = member(ptr, 1, &name);
    EXPECT_EQ(name, "*pp");
    EXPECT_EQ(format(target).text, "{ 4, 'b' }");

    // A character array shows its text.
    EXPECT_EQ(value("name").text, "norvexa");
}

// int big[1000000] in a section of its own; element i holds i (only the
// first hundred and the last are stored).
void ValueTreeTest::declareBigArray()
{
    const TYPE_INDEX intType = program_.find("a")->type;
    const TYPE_INDEX array = host_->records().arrayType(intType, 4000000);
    const UBYTE8 base = 0x10000000;
    host_->addSection(200, base);
    host_->declare(*const_cast<LCC_Eval_Context_Info*>(program_.context()),
                   host_->records().staticVariable("big", array, 200, 0));
    for (unsigned i = 0; i < 100; ++i)
        host_->memory().storeBigEndian(base + 4 * i, i, 4);
    host_->memory().storeBigEndian(base + 4 * 999999, 999999, 4);
}

TEST_F(ValueTreeTest, ACharacterArrayTextEndsWithTheArray)
{
    // full holds four characters and no NUL; the bytes after it (the next
    // variable) are no part of its text.
    load(cProgram);
    const ValueCase cases[] = {
        {"full", 0, "abcd"}, {"full", 23, "abcd"},   {"full", 6, "\"\\x81\\x82\\x83\\x84\""},
        {"after", 0, "xyz"}, {"name", 0, "norvexa"},
    };
    for (const ValueCase& c : cases) {
        const Shown s = value(c.expression, c.rep);
        EXPECT_EQ(s.status, 1012) << c.expression;
        EXPECT_EQ(s.text, c.text) << c.expression << " rep " << c.rep;
    }
}

TEST_F(ValueTreeTest, AMillionElementArrayExpandsItsFirstHundredInConstantTimeEach)
{
    load(cProgram);
    declareBigArray();

    UpdateTreeNode* node = root("big");
    ASSERT_NE(node, nullptr);
    UBYTE4 count = 0;
    BYTE4 first = 0;
    ASSERT_EQ(DbgQueryArrayInfo(item_, node, &count, &first), 0);
    EXPECT_EQ(count, 1000000u);
    const auto start = std::chrono::steady_clock::now();
    for (unsigned i = 1; i <= 100; ++i) {
        UpdateTreeNode* e = element(node, i);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(format(e).text, std::to_string(i - 1));
    }
    // The last element is made without walking the others.
    UpdateTreeNode* last = element(node, 1000000);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(last->memberName())), "big[999999]");
    EXPECT_EQ(format(last).text, "999999");
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 1000.0); // the benchmark holds the figure; here only no walk of a million
    // An element never stored cannot be read: message 47.
    EXPECT_EQ(format(element(node, 500)).text, message(47));
}

TEST_F(ValueTreeTest, ElementsAreFoundAgainByTheirIndexInAnyOrder)
{
    load(cProgram);
    declareBigArray();
    UpdateTreeNode* node = root("big");
    ASSERT_NE(node, nullptr);
    // Far indexes first, then near ones, then both again: each index is one
    // node, named and valued as its own element, whatever was asked before.
    const struct {
        unsigned long long index;
        const char* name;
        const char* text;
    } asked[] = {
        {1000000, "big[999999]", "999999"}, {3, "big[2]", "2"},     {1, "big[0]", "0"},
        {2000, "big[1999]", nullptr},       {100, "big[99]", "99"}, {999999, "big[999998]", nullptr},
        {1025, "big[1024]", nullptr},       {2, "big[1]", "1"},
    };
    std::map<unsigned long long, UpdateTreeNode*> made;
    for (int round = 0; round < 2; ++round) {
        for (const auto& a : asked) {
            UpdateTreeNode* e = element(node, a.index);
            ASSERT_NE(e, nullptr) << a.index;
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(e->memberName())), a.name);
            EXPECT_EQ(format(e).text, a.text != nullptr ? a.text : message(47)) << a.index;
            if (round == 0)
                made[a.index] = e;
            else
                EXPECT_EQ(e, made[a.index]) << "element " << a.index << " made twice";
        }
    }
    // The node's children are the elements made, once each, in the order
    // they were first asked for.
    UBYTE4 count = 0;
    BYTE4 first = 0;
    ASSERT_EQ(DbgQueryArrayInfo(item_, node, &count, &first), 0);
    EXPECT_EQ(count, 1000000u);
    EXPECT_EQ(node->childCount(), sizeof asked / sizeof asked[0]);
    EXPECT_EQ(node->childAt(1), made[1000000]);
    EXPECT_EQ(node->childAt(4), made[2000]);
    EXPECT_EQ(node->childNamed("big[1024]"), made[1025]);
}

TEST_F(ValueTreeTest, CobolItemsAsDisplayShowsThem)
{
    load(cobolProgram);
    checkValues({
        {"FLD", 0, "+012.50"},
        {"CNT", 0, "0007"},
        {"AMT", 0, "-00123.45"},
        {"AMT", 1, "X'0012345D'"},
        {"NAME", 0, "NORVEXA "},
        {"NAME", 1, "X'D5D6D9E5C5E7C140'"},
        {"SEP", 0, "-042"},
        {"TRL", 0, "012+"},
        {"NUM-NAT", 0, "-012.5"},
        {"EDITED", 0, "   12.50 "},
        {"BIN", 0, "-001.25"},
        {"PK", 0, "-.500"},
        {"TAB(2)", 0, "05"},
        {"GRADE", 0, "07"},
        // A relation shows its truth value alone, whether its operands are
        // level-77 items, members of a group or elements of a table.
        {"BIN < 0", 0, "TRUE"},
        {"FLD = 12.5", 0, "TRUE"},
        {"FLD = 12", 0, "FALSE"},
        {"CNT = 7", 0, "TRUE"},
        {"NAME = \"NORVEXA \"", 0, "TRUE"},
        {"NAME = \"OTHER\"", 0, "FALSE"},
        {"TAB(2) = 5", 0, "TRUE"},
        {"FLD > 1 AND CNT = 7", 0, "TRUE"},
        {"FLD > 1 AND CNT = 8", 0, "FALSE"},
        {"BIN < 0 AND TAB(3) > 4", 0, "TRUE"},
    });
}

TEST_F(ValueTreeTest, CobolItemsMatchTheDisplayOfGnuCobol)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/api/data") + "/cobol_display.tsv");
    ASSERT_TRUE(in.good());
    struct Row {
        std::string clauses, value, text;
    };
    std::vector<Row> rows;
    std::string line;
    std::string program = "language cobol\n       WORKING-STORAGE SECTION.\n";
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Row r;
        std::getline(fields, r.clauses, '\t');
        std::getline(fields, r.value, '\t');
        std::getline(fields, r.text);
        program +=
            "       77 I" + std::to_string(rows.size()) + " " + r.clauses + "\n           VALUE " + r.value + ".\n";
        rows.push_back(r);
    }
    ASSERT_GT(rows.size(), 30u);
    load(program.c_str());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Shown s = value("I" + std::to_string(i));
        EXPECT_EQ(s.status, 0) << rows[i].clauses << " VALUE " << rows[i].value;
        EXPECT_EQ(s.text, rows[i].text) << rows[i].clauses << " VALUE " << rows[i].value;
    }
}

TEST_F(ValueTreeTest, ACobolGroupWithATableIsATree)
{
    load(cobolProgram);
    UpdateTreeNode* node = root("GRP");
    ASSERT_NE(node, nullptr);
    const Shown group = format(node);
    EXPECT_EQ(group.status, 1012);
    EXPECT_EQ(group.text.substr(0, 18), "{ +012.50, 0007, -") << group.text;
    UBYTE4 count = 0;
    ASSERT_EQ(DbgQueryStructInfo(item_, node, &count), 0);
    EXPECT_EQ(count, 9u);
    std::string name;
    UpdateTreeNode* table = member(node, 5, &name);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(name, "05 TAB");
    const Shown tab = format(table);
    EXPECT_EQ(tab.status, 1012);
    EXPECT_EQ(tab.text, "{ 05, 05, 05 }");
    BYTE4 first = 0;
    ASSERT_EQ(DbgQueryArrayInfo(item_, table, &count, &first), 0);
    EXPECT_EQ(count, 3u);
    UpdateTreeNode* second = element(table, 2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second->memberName())), "TAB(2)");
    EXPECT_EQ(format(second).text, "05");
}

TEST_F(ValueTreeTest, AConditionNameShowsItsVariable)
{
    load(cobolProgram);
    EXPECT_EQ(value("PASSING").text, "TRUE (GRADE = 07)");
    // A condition of a group member: the member is reached without its name,
    // and the condition shows its truth alone.
    EXPECT_EQ(value("GOOD").text, "TRUE");
}

TEST_F(ValueTreeTest, EverySqlTypeInRepresentationZero)
{
    load(cobolProgram);
    const int sql = ProgramFile::sqlLanguageCode;
    struct Case {
        const char* name;
        UBYTE2 status;
        const char* text;
        const char* typeName;
    } cases[] = {
        {"SMALL", 0, "-2", "SMALLINT"},
        {"INT", 0, "266", "INTEGER"},
        {"BIG", 0, "-1", "BIGINT"},
        {"FLT", 0, "1.5", "DOUBLE"},
        {"DECF", 0, "15", "DECFLOAT(16)"},
        {"AMOUNT", 0, "-123.45", "DECIMAL(5,2)"},
        {"ZONED", 0, "-12.5", "NUMERIC(3,1)"},
        {"CHR", 0, "ABCD", "CHAR(4)"},
        {"VCHR", 0, "ABC", "VARCHAR(10)"},
        {"CODES", 1012, "{ 1, 2, 3 }", "INTEGER[3]"},
    };
    for (const Case& c : cases) {
        UpdateTreeNode* node = root(c.name, sql);
        ASSERT_NE(node, nullptr) << c.name;
        const Shown s = format(node);
        EXPECT_EQ(s.status, c.status) << c.name;
        EXPECT_EQ(s.text, c.text) << c.name;
        UBYTE2 count = 0, defaultRep = 0;
        UBYTE2* reps = nullptr;
        UBYTE2* kinds = nullptr;
        UBYTE1* typeName = nullptr;
        ASSERT_EQ(DbgQueryResultType(item_, node, &count, &reps, &kinds, &defaultRep, &typeName), 0) << c.name;
        EXPECT_GT(count, 0) << c.name;
        EXPECT_STREQ(reinterpret_cast<const char*>(typeName), c.typeName) << c.name;
    }
}

TEST_F(ValueTreeTest, AShortReadIsMessage47NeverANumber)
{
    load(cobolProgram);
    const ProgramFile::SqlVariable* v = nullptr;
    for (const ProgramFile::SqlVariable& s : program_.sqlVariables())
        if (s.name == "INT")
            v = &s;
    ASSERT_NE(v, nullptr);
    // The INTEGER holds 266; its last two bytes cannot be read.
    host_->memory().markUnreadable(v->address + 2, 2);
    const Shown s = value("INT", 0, ProgramFile::sqlLanguageCode);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.text, message(47));
    EXPECT_NE(s.text, "0");
}

TEST_F(ValueTreeTest, AMemberThatCannotBeReadIsMessage47)
{
    load(cProgram);
    UpdateTreeNode* ptr = root("pp");
    ASSERT_NE(ptr, nullptr);
    UBYTE4 count = 0;
    ASSERT_EQ(DbgQueryStructInfo(item_, ptr, &count), 0);
    const ProgramFile::Variable* pt = program_.find("pt");
    ASSERT_NE(pt, nullptr);
    host_->memory().markUnreadable(pt->address + 2, 2);
    UpdateTreeNode* target = member(ptr, 1);
    ASSERT_NE(target, nullptr);
    const Shown s = format(target);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.text, message(47));
}

} // namespace

namespace {

// Fortran arrays as a Fortran compiler describes them: a descriptor whose
// first word holds the address of the data, the bounds in the type records,
// the elements in column-major order.
class FortranArrayTreeTest : public ValueTreeTest {
protected:
    static constexpr UBYTE8 base = 0x20000000;
    static constexpr UBYTE8 data = base + 0x100;

    void SetUp() override
    {
        load("language fortran\nint n;\n");
        host_->addSection(210, base);
        HostRecordStore& records = host_->records();
        const TYPE_INDEX int4{0, 130};
        // INTEGER V(-1:2): 10, 20, 30, 40.
        HostRecordStore::FortranBlocks v;
        v.dataLocation = dwarf::Builder().pushObjectAddress().derefSize(8).bytes();
        v.lowerBound = dwarf::Builder().constS(-1).bytes();
        v.upperBound = dwarf::Builder().lit(2).bytes();
        v.dimension = 1;
        declare("v", records.fortranDescArrayType(int4, v), 0x00, data);
        for (unsigned i = 0; i < 4; ++i)
            host_->memory().storeBigEndian(data + 4 * i, 10 * (i + 1), 4);
        // INTEGER M(1:3, 0:1), M(i, j) = 10 * i + j: the record of the last
        // subscript (dimension 1) holds that of the first (dimension 2).
        HostRecordStore::FortranBlocks first;
        first.lowerBound = dwarf::Builder().lit(1).bytes();
        first.upperBound = dwarf::Builder().lit(3).bytes();
        first.dimension = 2;
        HostRecordStore::FortranBlocks last;
        last.dataLocation = dwarf::Builder().pushObjectAddress().derefSize(8).bytes();
        last.lowerBound = dwarf::Builder().lit(0).bytes();
        last.upperBound = dwarf::Builder().lit(1).bytes();
        last.dimension = 1;
        const TYPE_INDEX inner = records.fortranDescArrayType(int4, first, 2);
        declare("m", records.fortranDescArrayType(inner, last, 2), 0x40, data + 0x40);
        for (unsigned j = 0; j <= 1; ++j)
            for (unsigned i = 1; i <= 3; ++i)
                host_->memory().storeBigEndian(data + 0x40 + 4 * ((i - 1) + 3 * j), 10 * i + j, 4);
    }

    // A descriptor at offset in the section pointing to its data.
    void declare(const char* name, TYPE_INDEX type, UBYTE8 offset, UBYTE8 at)
    {
        host_->declare(*const_cast<LCC_Eval_Context_Info*>(program_.context()),
                       host_->records().staticVariable(name, type, 210, offset));
        host_->memory().storeBigEndian(base + offset, at, 8);
    }

    std::string nameOf(UpdateTreeNode* node)
    {
        return node != nullptr ? reinterpret_cast<const char*>(node->memberName()) : "<none>";
    }
};

TEST_F(FortranArrayTreeTest, ARankOneArrayCountsFromItsLowerBound)
{
    UpdateTreeNode* node = root("v");
    ASSERT_NE(node, nullptr);
    const Shown whole = format(node);
    EXPECT_EQ(whole.status, 1012);
    EXPECT_EQ(whole.text, "{ 10, 20, 30, 40 }");
    UBYTE4 count = 0;
    BYTE4 first = 0;
    ASSERT_EQ(DbgQueryArrayInfo(item_, node, &count, &first), 0);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(first, 1); // the index the host asks the first element by
    const struct {
        unsigned long long index;
        const char* name;
        const char* text;
    } elements[] = {{1, "v(-1 )", "10"}, {2, "v(0 )", "20"}, {4, "v(2 )", "40"}};
    for (const auto& e : elements) {
        UpdateTreeNode* child = element(node, e.index);
        EXPECT_EQ(nameOf(child), e.name);
        if (child != nullptr) {
            EXPECT_EQ(format(child).text, e.text) << e.name;
        }
    }
    EXPECT_EQ(element(node, 5), nullptr);
    EXPECT_EQ(element(node, 0), nullptr);
}

TEST_F(FortranArrayTreeTest, ARankTwoArrayIsColumnMajor)
{
    UpdateTreeNode* node = root("m");
    ASSERT_NE(node, nullptr);
    UBYTE4 count = 0;
    BYTE4 first = 0;
    // The root's elements are the columns: M(:, 0) and M(:, 1).
    ASSERT_EQ(DbgQueryArrayInfo(item_, node, &count, &first), 0);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(first, 1);
    const struct {
        unsigned long long column;
        const char* name;
        const char* text;
    } columns[] = {{1, "m(:, 0 )", "{ 10, 20, 30 }"}, {2, "m(:, 1 )", "{ 11, 21, 31 }"}};
    for (const auto& c : columns) {
        UpdateTreeNode* column = element(node, c.column);
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(nameOf(column), c.name);
        EXPECT_EQ(format(column).text, c.text) << c.name;
        ASSERT_EQ(DbgQueryArrayInfo(item_, column, &count, &first), 0) << c.name;
        EXPECT_EQ(count, 3u);
        for (unsigned i = 1; i <= 3; ++i) {
            UpdateTreeNode* e = element(column, i);
            ASSERT_NE(e, nullptr);
            const std::string subscript = std::to_string(i) + " , " + std::to_string(c.column - 1) + " )";
            EXPECT_EQ(nameOf(e), "m(" + subscript);
            EXPECT_EQ(format(e).text, std::to_string(10 * i + (c.column - 1))) << nameOf(e);
        }
    }
}

} // namespace
