// End-to-end cases in C, C++ and COBOL: values, conditions, stores and browse
// mode, evaluation errors, unknown and ambiguous names, structure members
// and pointer targets, a base's member in a member function, COBOL result
// names over repeated runs, the store warning and error items shown as
// their messages; the same cases on a second host thread that then exits.

#include <string>
#include <thread>
#include <vector>

#include "RoadSuite.h"
#include "testhost/DecimalImages.h"

namespace {

using L = RoadLanguage;
constexpr int skip = RoadCase::noEvaluation;

// a = 3 and b = 4 (int); s = {4, 'b'}, a structure (leaf 31) of an int x
// and a char c; p points to a.
void cProgram(RoadProgram& p)
{
    const TYPE_INDEX i32 = p.records().integerType(32, false);
    const TYPE_INDEX ch = p.records().integerType(8, false);
    p.variable("a", i32, 0x20);
    p.variable("b", i32, 0x24);
    HostRecordStore::StructSpec s;
    s.byteSize = 8;
    s.members = {{"x", i32}, {"c", ch}};
    s.offsets = {0, 4};
    p.variable("s", p.records().structType(s), 0x40);
    p.variable("p", p.records().pointerType(i32, p.bits / 8), 0x50);
    p.poke(0x20, {0, 0, 0, 3, 0, 0, 0, 4});
    p.poke(0x40, {0, 0, 0, 4, 0x82, 0, 0, 0});
    std::vector<UBYTE1> address;
    const UBYTE8 target = RoadProgram::data + 0x20;
    for (unsigned i = p.bits / 8; i-- > 0;)
        address.push_back(static_cast<UBYTE1>(target >> (8 * i)));
    p.poke(0x50, address);
}

// Written, then refused in browse mode with memory kept.
void storesNine(RoadRun& r)
{
    EXPECT_EQ(r.program.peek(0x20, 4), (std::vector<UBYTE1>{0, 0, 0, 9}));
    if (!r.reaches(r.dbg.browseMode, "DbgSetBrowseMode"))
        return;
    r.program.poke(0x20, {0, 0, 0, 3});
    r.dbg.browseMode(1);
    EXPECT_EQ(r.evaluateAgain(), 10013);
    EXPECT_EQ(r.result, nullptr);
    r.dbg.browseMode(0);
    EXPECT_EQ(r.program.peek(0x20, 4), (std::vector<UBYTE1>{0, 0, 0, 3}));
}

// The result's root: its member count and the name of its first member;
// then whether formatting refuses it.
void membersOfRoot(RoadRun& r, UBYTE4 count, const char* first, bool formatRefused)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(r.memberCount(root), count);
    std::string name;
    EXPECT_NE(r.member(root, 1, name), nullptr);
    EXPECT_EQ(name, first);
    if (formatRefused) {
        std::string text;
        EXPECT_EQ(r.format(root, 2, text), 10000) << "only SQL host variables and errors format";
    }
}

void twoMembersXFirst(RoadRun& r)
{
    membersOfRoot(r, 2, "x", true);
}

void pointsToA(RoadRun& r)
{
    membersOfRoot(r, 1, "*p", false);
}

const RoadCase cCases[] = {
    {"a value", L::c, cProgram, "a + b", 0, -1, nullptr, 0, "a + b", nullptr},
    {"a true condition", L::c, cProgram, "a + b == 7", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
    {"a false condition", L::c, cProgram, "a + b == 8", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(10000); }},
    {"a store", L::c, cProgram, "a = 9", 1003, -1, nullptr, 0, "a = 9", storesNine},
    {"a division by zero", L::c, cProgram, "a / (b - 4)", 0, -1, nullptr, 10007, nullptr,
     [](RoadRun& r) { EXPECT_EQ(r.result, nullptr); }},
    {"an unknown name", L::c, cProgram, "nosuch", 11002, 3, "nosuch", skip, nullptr, nullptr},
    {"a structure", L::c, cProgram, "s", 0, -1, nullptr, 0, "s", twoMembersXFirst},
    {"a structure, nodes released last", L::c, cProgram, "s", 0, -1, nullptr, 0, "s", twoMembersXFirst,
     RoadCleanup::nodesLast},
    {"a pointer", L::c, cProgram, "p", 0, -1, nullptr, 0, "p", pointsToA},
    {"a pointer, representation released first", L::c, cProgram, "p", 0, -1, nullptr, 0, "p", pointsToA,
     RoadCleanup::representationFirst},
};

TEST_P(RoadSuite, C)
{
    runAll(cCases);
}

// 05 GRP. 10 FLD PIC S99V9 COMP-3 VALUE 12.5. 05 TAB PIC S9(3) COMP-3
// OCCURS 3 (10, 20, 30). GRP2 holds a FLD as well. A PIC S9(3) COMP-3 VALUE
// 12; X PIC S9(5) COMP-3. A member's level is in its group's member record
// and in the host's entry of its name.
void cobolProgram(RoadProgram& p)
{
    HostRecordStore& records = p.records();
    const TYPE_INDEX digits3 = records.packedDecimalType(3, 0, true);
    const TYPE_INDEX tenths = records.packedDecimalType(3, -1, true);
    HostRecordStore::ClassSpec g;
    g.name = "GRP";
    g.leaf = TE_GROUP;
    g.byteSize = 8;
    g.members = {{.name = "FLD", .type = tenths, .offset = 0, .levelNumber = 10},
                 {.name = "TAB", .type = records.arrayType(digits3, 6), .offset = 2, .levelNumber = 5}};
    const _SYMBOL_ENTRY& group = p.variable("GRP", records.classType(g), 0x100, 5);
    p.member("FLD", group, 10);
    p.member("TAB", group, 5);
    HostRecordStore::ClassSpec g2;
    g2.name = "GRP2";
    g2.leaf = TE_GROUP;
    g2.byteSize = 2;
    g2.members = {{.name = "FLD", .type = tenths, .offset = 0, .levelNumber = 5}};
    const _SYMBOL_ENTRY& group2 = p.variable("GRP2", records.classType(g2), 0x110, 1);
    p.member("FLD", group2, 5);
    p.variable("A", digits3, 0x120, 1);
    p.variable("X", records.packedDecimalType(5, 0, true), 0x130, 1);
    p.poke(0x100, decimalimage::packed("125", 3, true));
    p.poke(0x102, decimalimage::packed("10", 3, true));
    p.poke(0x104, decimalimage::packed("20", 3, true));
    p.poke(0x106, decimalimage::packed("30", 3, true));
    p.poke(0x110, decimalimage::packed("1", 3, true));
    p.poke(0x120, decimalimage::packed("12", 3, true));
    p.poke(0x130, decimalimage::packed("0", 5, true));
}

// 01 GRADE PIC 99 VALUE 7 at 0x140 with 88 PASSING VALUES 5 THRU 10 and
// 88 PERFECT VALUE 10, declared as the program reader declares them.
void cobolConditionProgram(RoadProgram& p)
{
    HostRecordStore& records = p.records();
    const TYPE_INDEX digits = records.zonedDecimalType(2, 0, false, TN_SignNone);
    const auto zoned = [](const char* v) { return decimalimage::zoned(v, 2, false, TN_SignNone); };
    using Value = HostRecordStore::ConditionValue;
    HostRecordStore::Condition passing;
    passing.name = "PASSING";
    passing.ranges = {{Value{digits, zoned("5")}, Value{digits, zoned("10")}}};
    HostRecordStore::Condition perfect;
    perfect.name = "PERFECT";
    perfect.values = {Value{digits, zoned("10")}};
    const _SYMBOL_ENTRY& grade = p.variable("GRADE", records.conditionQualifier(digits, {passing, perfect}), 0x140, 1);
    p.member("PASSING", grade, 88);
    p.member("PERFECT", grade, 88);
    p.poke(0x140, zoned("7"));
}

// The host asks to be warned of stores: setting 3 on, 5 off.
void cobolWarnedProgram(RoadProgram& p)
{
    cobolProgram(p);
    p.host.setCompilationSetting(3, 1);
    p.host.setCompilationSetting(5, 0);
}

// The result is an error item: its root shows the message.
void showsMessage(RoadRun& r, int message)
{
    ASSERT_NE(r.result, nullptr);
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    std::string text;
    r.format(root, 2, text);
    EXPECT_EQ(text, catalogueText(message));
}

void sameNameAgain(RoadRun& r)
{
    ASSERT_NE(r.name, nullptr);
    const std::string first = reinterpret_cast<const char*>(r.name);
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(r.evaluateAgain(), 0);
        ASSERT_NE(r.name, nullptr);
        EXPECT_EQ(reinterpret_cast<const char*>(r.name), first);
    }
}

const RoadCase cobolCases[] = {
    {"a member named by its text", L::cobol, cobolProgram, "FLD OF GRP", 0, -1, nullptr, 0, "FLD OF GRP", nullptr},
    {"a group named by level and name", L::cobol, cobolProgram, "GRP", 0, -1, nullptr, 0, "05 GRP", sameNameAgain},
    {"a table element with its subscript", L::cobol, cobolProgram, "TAB(3)", 0, -1, nullptr, 0, "05 TAB(3)",
     sameNameAgain},
    {"a condition on a member", L::cobol, cobolProgram, "FLD OF GRP = 12.5", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
    {"a computed value", L::cobol, cobolProgram, "A + 1", 0, -1, nullptr, 0, "A + 1",
     [](RoadRun& r) { EXPECT_NE(r.root(), nullptr); }},
    {"a literal", L::cobol, cobolProgram, "3", 0, -1, nullptr, 0, "3", nullptr},
    // A relation compares and stores nothing.
    {"a condition evaluated", L::cobol, cobolProgram, "A = 12", 0, -1, nullptr, 0, "A = 12",
     [](RoadRun& r) {
         r.expectCondition(0);
         EXPECT_EQ(r.program.peek(0x120, 2), decimalimage::packed("12", 3, true));
     }},
    {"a false condition evaluated", L::cobol, cobolProgram, "A = 6", 0, -1, nullptr, 0, "A = 6",
     [](RoadRun& r) {
         r.expectCondition(10000);
         EXPECT_EQ(r.program.peek(0x120, 2), decimalimage::packed("12", 3, true));
     }},
    // A leading NOT negates the relation after it (A holds 12).
    {"a relation negated", L::cobol, cobolProgram, "NOT A = 6", 0, -1, nullptr, 0, "NOT A = 6",
     [](RoadRun& r) { r.expectCondition(0); }},
    {"a true relation negated", L::cobol, cobolProgram, "NOT A = 12", 0, -1, nullptr, 0, "NOT A = 12",
     [](RoadRun& r) { r.expectCondition(10000); }},
    {"negated relations joined", L::cobol, cobolProgram, "A = 6 OR NOT A < 12 AND NOT A > 12", 0, -1, nullptr, 0,
     "A = 6 OR NOT A < 12 AND NOT A > 12", [](RoadRun& r) { r.expectCondition(0); }},
    {"a condition name", L::cobol, cobolConditionProgram, "PASSING", 0, -1, nullptr, 0, "PASSING",
     [](RoadRun& r) { r.expectCondition(0); }},
    {"a false condition name, qualified", L::cobol, cobolConditionProgram, "PERFECT OF GRADE", 0, -1, nullptr, 0,
     "PERFECT OF GRADE", [](RoadRun& r) { r.expectCondition(10000); }},
    {"a condition name negated", L::cobol, cobolConditionProgram, "NOT PERFECT", 0, -1, nullptr, 0, "NOT PERFECT",
     [](RoadRun& r) { r.expectCondition(0); }},
    {"an ambiguous name", L::cobol, cobolProgram, "FLD", 11002, 44, "FLD", skip, nullptr, nullptr},
    {"a store the host is warned of", L::cobol, cobolWarnedProgram, "COMPUTE X = A ** 2", 1003, -1, nullptr, 3, nullptr,
     [](RoadRun& r) {
         showsMessage(r, 41);
         EXPECT_EQ(r.program.peek(0x130, 3), decimalimage::packed("144", 5, true));
     }},
    {"a division by zero", L::cobol, cobolProgram, "A / 0", 0, -1, nullptr, 10007, nullptr,
     [](RoadRun& r) { showsMessage(r, 29); }},
};

TEST_P(RoadSuite, Cobol)
{
    runAll(cobolCases);
}

// A second host thread takes cases from text to result and exits (what the
// evaluator keeps for that thread goes with it); the first goes on.
TEST_P(RoadSuite, ASecondHostThreadEvaluatesAndExits)
{
    run(cCases[0]);
    std::thread second([this] {
        runAll(cCases);
        runAll(cobolCases);
    });
    second.join();
    runAll(cCases);
    runAll(cobolCases);
}

// class B { int m; }; class D : B { int n; int f(); } with B at 4, and an
// object with n = 3 and m = 5; the case runs in D::f.
void cppProgram(RoadProgram& p)
{
    HostRecordStore& records = p.records();
    const TYPE_INDEX i32 = records.integerType(32, false);
    HostRecordStore::ClassSpec base;
    base.name = "B";
    base.byteSize = 4;
    base.isStruct = false;
    base.members = {{"m", i32, 0}};
    HostRecordStore::ClassSpec derived;
    derived.name = "D";
    derived.byteSize = 8;
    derived.isStruct = false;
    derived.bases = {{records.classType(base), 4, 0}};
    derived.members = {{"n", i32, 0}};
    const TYPE_INDEX d = records.classType(derived);
    LCC_Eval_Context_Info& method = p.host.addContext("D::f", CS2_MEMBER_FUNCTION, p.unit);
    method.locationType = p.main->locationType;
    TYPE_INDEX f{};
    _TYPE_ENTRY& type = records.newType(TE_MEMBERFUNCTION, &f);
    type.memberfunction.functionType = records.functionType(i32, {});
    _SYMBOL_ENTRY& symbol = records.newSymbol(SE_MEMBER_FUNCTION, "f");
    symbol.memberfunction.type = f;
    symbol.memberfunction.classType = d;
    symbol.memberfunction.functionName = records.text("D::f");
    method.blockSymbol = &symbol;
    p.host.declare(method, records.staticVariable("this", records.pointerType(d, p.bits / 8), 1, 0x50));
    p.context = &method;
    std::vector<UBYTE1> address;
    const UBYTE8 object = RoadProgram::data + 0x200;
    for (unsigned i = p.bits / 8; i-- > 0;)
        address.push_back(static_cast<UBYTE1>(object >> (8 * i)));
    p.poke(0x50, address);
    p.poke(0x200, {0, 0, 0, 3, 0, 0, 0, 5});
}

const RoadCase cppCases[] = {
    {"a base's member", L::cpp, cppProgram, "m", 0, -1, nullptr, 0, "m", nullptr},
    {"a base's member through this", L::cpp, cppProgram, "this->m == 5", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
    {"a base's member compared", L::cpp, cppProgram, "m == 5", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
};

TEST_P(RoadSuite, Cpp)
{
    runAll(cppCases);
}

} // namespace
