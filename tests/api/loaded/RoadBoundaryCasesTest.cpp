// End-to-end rows of what a host meets at the boundary: failures that must
// say what failed (a memory read, a condition that is not scalar, a store
// in playback), handles used after their release or released twice, the
// nodes of a freed representation and of a locals view, the name builders
// on an array node, and an SQL host variable whose address width is given
// in bytes.

#include <cstring>
#include <string>
#include <vector>

#include "RoadSuite.h"
#include "testhost/DecimalImages.h"

class LocalsRepresentation;

namespace {

using L = RoadLanguage;
constexpr int skip = RoadCase::noEvaluation;
const UBYTE1* const locale = reinterpret_cast<const UBYTE1*>("en_US");

// a = 3 (int); arr[4] of int; np, a null pointer to int; s = {4, 'b'}.
void cProgram(RoadProgram& p)
{
    const TYPE_INDEX i32 = p.records().integerType(32, false);
    const TYPE_INDEX ch = p.records().integerType(8, false);
    p.variable("a", i32, 0x20);
    p.variable("arr", p.records().arrayType(i32, 16), 0x30);
    p.variable("np", p.records().pointerType(i32, p.bits / 8), 0x50);
    HostRecordStore::StructSpec s;
    s.byteSize = 8;
    s.members = {{"x", i32}, {"c", ch}};
    s.offsets = {0, 4};
    p.variable("s", p.records().structType(s), 0x60);
    p.poke(0x20, {0, 0, 0, 3});
    p.poke(0x30, {0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4});
    p.poke(0x60, {0, 0, 0, 4, 0x82, 0, 0, 0});
}

// The error text names the expression and says the storage could not be
// read.
void storageNotRead(RoadRun& r)
{
    EXPECT_EQ(r.result, nullptr);
    if (r.reaches(r.dbg.errorText, "DbgExtendedErrorInfo")) {
        const UBYTE1* shown = r.dbg.errorText(r.rep, locale);
        ASSERT_NE(shown, nullptr);
        std::string expression;
        const std::string all = reinterpret_cast<const char*>(shown);
        const std::size_t gap = all.find("\n\n");
        ASSERT_NE(gap, std::string::npos);
        expression = all.substr(5, gap - 5);
        EXPECT_EQ(all, "  >> " + expression + "\n\n" + catalogueText(34, expression.c_str()));
    }
}

// Tested as a condition, the value is refused (not supported), not
// answered true or false, and the error text says the type cannot be used.
void notACondition(RoadRun& r)
{
    r.expectCondition(10002);
    if (r.reaches(r.dbg.test, "DbgTestExpr") && r.reaches(r.dbg.errorText, "DbgExtendedErrorInfo")) {
        const std::string all = r.errorText();
        EXPECT_NE(all.find(catalogueText(12, all.substr(5, all.find("\n\n") - 5).c_str())), std::string::npos) << all;
    }
}

void scalarCondition(RoadRun& r)
{
    r.expectCondition(0);
}

// The representation is freed first: its root answers 10000 afterwards and
// reads nothing of it; the root is still released once.
void rootAfterRepresentation(RoadRun& r)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(r.memberCount(root), 2u);
    std::string name;
    UpdateTreeNode* member = r.member(root, 1, name);
    ASSERT_NE(member, nullptr);
    r.dbg.freeRep(r.rep);
    r.rep = nullptr;
    UBYTE4 count = 99;
    EXPECT_EQ(r.dbg.structInfo(r.result, root, &count), 10000);
    EXPECT_EQ(r.dbg.structInfo(r.result, member, &count), 10000);
    std::string text;
    EXPECT_EQ(r.format(member, 2, text), 10000);
    UpdateTreeNode* again = nullptr;
    EXPECT_EQ(r.dbg.rootNode(r.result, &again), 10000);
    EXPECT_EQ(again, nullptr);
}

// Released twice, used after release, never handed out: each is refused or
// ignored without touching memory (the sanitizer build sees any read).
void handlesMisused(RoadRun& r)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    if (r.reaches(r.dbg.freeNode, "DbgFreeTreeNodeInfo")) {
        r.nodes.clear();
        r.dbg.freeNode(root);
        r.dbg.freeNode(root);
        UBYTE4 count = 0;
        EXPECT_EQ(r.dbg.structInfo(r.result, root, &count), 10000);
    }
    if (r.reaches(r.dbg.freeResult, "DbgFreeEvalResultInfo")) {
        StackItem* result = r.result;
        r.dbg.freeResult(result);
        r.dbg.freeResult(result);
        UpdateTreeNode* node = nullptr;
        EXPECT_EQ(r.dbg.rootNode(result, &node), 10000);
        r.result = nullptr;
    }
    if (r.reaches(r.dbg.freeTypeResult, "DbgFreeTypeResultInfo")) {
        r.dbg.freeTypeResult(r.typeResult);
        r.dbg.freeTypeResult(r.typeResult);
        r.typeResult = nullptr;
    }
    // Handles the library never made.
    int local = 0;
    auto* unknownNode = reinterpret_cast<UpdateTreeNode*>(&local);
    auto* unknownItem = reinterpret_cast<StackItem*>(&local);
    auto* unknownRep = reinterpret_cast<ExpressionRepresentation*>(&local);
    UBYTE4 count = 0;
    EXPECT_EQ(r.dbg.structInfo(nullptr, unknownNode, &count), 10000);
    UpdateTreeNode* node = nullptr;
    EXPECT_EQ(r.dbg.rootNode(unknownItem, &node), 10000);
    StackItem* type = nullptr;
    EXPECT_EQ(r.dbg.validate(unknownRep, r.program.context, &type), 10000);
    if (r.reaches(r.dbg.freeNode, "DbgFreeTreeNodeInfo"))
        r.dbg.freeNode(unknownNode);
    r.dbg.freeRep(unknownRep);

    r.dbg.freeRep(r.rep);
    r.dbg.freeRep(r.rep);
    EXPECT_EQ(r.dbg.validate(r.rep, r.program.context, &type), 10000);
    EXPECT_EQ(type, nullptr);
    r.rep = nullptr;
}

const RoadCase cCases[] = {
    {"a null pointer's target", L::c, cProgram, "*np", 0, -1, nullptr, 11051, nullptr, storageNotRead},
    {"an address with nothing behind it", L::c, cProgram, "*(int*)0", 0, -1, nullptr, 11051, nullptr, storageNotRead},
    {"an element far past the array", L::c, cProgram, "arr[1000000]", 0, -1, nullptr, 11051, nullptr, storageNotRead},
    {"a structure as a condition", L::c, cProgram, "s", 0, -1, nullptr, skip, nullptr, notACondition},
    {"an array as a condition", L::c, cProgram, "arr", 0, -1, nullptr, skip, nullptr, notACondition},
    {"a scalar condition still answers", L::c, cProgram, "a == 3", 0, -1, nullptr, skip, nullptr, scalarCondition},
    {"a root used after its representation is freed", L::c, cProgram, "s", 0, -1, nullptr, 0, nullptr,
     rootAfterRepresentation},
    {"handles released twice or never handed out", L::c, cProgram, "s", 0, -1, nullptr, 0, nullptr, handlesMisused},
};

TEST_P(RoadSuite, Boundary)
{
    runAll(cCases);
}

// By name only: the name builders on an array node (the array's type name
// needs its environment), and the error text of a locals node after a
// failed update, which names the variable.
TEST_P(RoadSuite, NodesOfArraysAndLocalsInTheFrame)
{
    if (evaluator.symbol("DbgClassBaseClassFullName") == nullptr)
        GTEST_SKIP() << "reached by name only";
    using NameBuilder = UBYTE1* (*)(StackItem*, UpdateTreeNode*, UBYTE1*, UBYTE1*);
    auto baseName = evaluator.entry<NameBuilder>("DbgClassBaseClassFullName");
    auto memberName = evaluator.entry<NameBuilder>("DbgClassDataMemberFullName");
    auto nodeExpression = evaluator.entry<UBYTE1* (*)(UpdateTreeNode*)>("DbgBuildNodeExpression");
    auto locals = evaluator.entry<UBYTE4 (*)(const LCC_Eval_Context_Info*, int, LocalsRepresentation**, unsigned)>(
        "DbgBuildLocalVariables");
    auto localValue = evaluator.entry<UBYTE2 (*)(LocalsRepresentation*, UBYTE4, StackItem**)>("DbgGetLocalValue");
    auto freeLocals = evaluator.entry<void (*)(LocalsRepresentation*)>("DbgFreeLocalVariables");
    auto errorText2 = evaluator.entry<const UBYTE1* (*)(ExpressionRepresentation*, UpdateTreeNode*, const UBYTE1*)>(
        "DbgExtendedErrorInfo2");
    UBYTE1 parent[] = "arr";
    UBYTE1 member[] = "base";
    const RoadCase arrays[] = {
        {"the name builders on an array node", L::c, cProgram, "arr", 0, -1, nullptr, 0, nullptr,
         [&](RoadRun& r) {
             UpdateTreeNode* root = r.root();
             ASSERT_NE(root, nullptr);
             const UBYTE1* base = baseName(r.result, root, parent, member);
             ASSERT_NE(base, nullptr);
             EXPECT_NE(std::string(reinterpret_cast<const char*>(base)).find("&arr"), std::string::npos);
             EXPECT_NE(memberName(r.result, root, parent, member), nullptr);
             const UBYTE1* expression = nodeExpression(root);
             ASSERT_NE(expression, nullptr);
             EXPECT_STREQ(reinterpret_cast<const char*>(expression), "arr");
         }},
        {"the error text of a locals node", L::c, cProgram, "a", 0, -1, nullptr, 0, nullptr,
         [&](RoadRun& r) {
             LocalsRepresentation* view = nullptr;
             const UBYTE4 count = locals(r.program.main, 1, &view, 1);
             StackItem* value = nullptr;
             auto variable = evaluator.entry<UBYTEP (*)(LocalsRepresentation*, UBYTE4, const UBYTE1**, StackItem**)>(
                 "DbgGetLocalVariable");
             UBYTE4 n = 0;
             for (; n < count; ++n) {
                 const UBYTE1* name = nullptr;
                 variable(view, n, &name, &value);
                 if (name != nullptr && std::strcmp(reinterpret_cast<const char*>(name), "a") == 0)
                     break;
             }
             ASSERT_LT(n, count);
             ASSERT_NE(localValue(view, n, &value), 10000);
             UpdateTreeNode* root = nullptr;
             ASSERT_EQ(r.dbg.rootNode(value, &root), 0);
             unsigned char text[] = "nosuch";
             EXPECT_NE(r.dbg.update(r.program.context, value, root, 2, text), 0);
             const UBYTE1* shown = errorText2(nullptr, root, locale);
             ASSERT_NE(shown, nullptr);
             EXPECT_EQ(std::string(reinterpret_cast<const char*>(shown)).rfind("  >> a\n\n", 0), 0u)
                 << reinterpret_cast<const char*>(shown);
             r.dbg.freeNode(root);
             freeLocals(view);
             // The view is gone: its node's text and value are refused.
             EXPECT_EQ(errorText2(nullptr, root, locale), nullptr);
         }},
    };
    runAll(arrays);
}

// 05 GRP with TAB PIC S9(3) COMP-3 OCCURS 3 and X PIC S9(5) COMP-3: in
// playback a store, into a variable or into an element reached through its
// address, is refused with the playback message and writes nothing.
void cobolProgram(RoadProgram& p)
{
    HostRecordStore& records = p.records();
    const TYPE_INDEX digits3 = records.packedDecimalType(3, 0, true);
    HostRecordStore::ClassSpec g;
    g.name = "GRP";
    g.leaf = TE_GROUP;
    g.byteSize = 6;
    g.members = {{.name = "TAB", .type = records.arrayType(digits3, 6), .offset = 0, .levelNumber = 5}};
    const _SYMBOL_ENTRY& group = p.variable("GRP", records.classType(g), 0x100, 1);
    p.member("TAB", group, 5);
    p.variable("X", records.packedDecimalType(5, 0, true), 0x130, 1);
    p.poke(0x100, decimalimage::packed("10", 3, true));
    p.poke(0x102, decimalimage::packed("20", 3, true));
    p.poke(0x104, decimalimage::packed("30", 3, true));
    p.poke(0x130, decimalimage::packed("0", 5, true));
}

void nothingWritten(RoadRun& r)
{
    EXPECT_EQ(r.program.peek(0x100, 6), (std::vector<UBYTE1>{0x01, 0x0C, 0x02, 0x0C, 0x03, 0x0C}));
    EXPECT_EQ(r.program.peek(0x130, 3), (std::vector<UBYTE1>{0x00, 0x00, 0x0C}));
    ASSERT_NE(r.result, nullptr);
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    std::string text;
    r.format(root, 2, text);
    EXPECT_EQ(text, catalogueText(40));
}

const RoadCase playbackCases[] = {
    {"a store into a variable", L::cobol, cobolProgram, "COMPUTE X = 5", 1003, -1, nullptr, 10000, nullptr,
     nothingWritten},
    {"a store into a table element", L::cobol, cobolProgram, "COMPUTE TAB(2) = 5", 1003, -1, nullptr, 10000, nullptr,
     nothingWritten},
};

TEST_P(RoadSuite, StoresRefusedInPlayback)
{
    prepareHost = [](TestHost& h) { h.setPlaybackMode(true); };
    runAll(playbackCases);
}

// :AMOUNT, a DECIMAL(5, 2) whose entry gives the address width in bytes:
// shown and changed as with the width in bits.
void sqlBytesProgram(RoadProgram& p)
{
    HostRecordStore::SqlVariable v;
    v.sqlType = 484;
    v.length = 5 << 8 | 2;
    v.address = RoadProgram::data + 0x200;
    v.addressWidth = p.bits / 8;
    p.declare(p.records().sqlHostVariable(":AMOUNT", v));
    p.poke(0x200, {0x12, 0x34, 0x5D});
}

void changedThroughBytesWidth(RoadRun& r)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    std::string text;
    EXPECT_EQ(r.format(root, 2, text), 0);
    EXPECT_EQ(text, "-123.45");
    unsigned char value[] = "1.5";
    EXPECT_EQ(r.dbg.update(r.program.context, r.result, root, 2, value), 0);
    EXPECT_EQ(r.program.peek(0x200, 3), (std::vector<UBYTE1>{0x00, 0x15, 0x0C}));
}

const RoadCase sqlCases[] = {
    {"an SQL host variable with its address width in bytes", L::sql, sqlBytesProgram, ":AMOUNT", 0, -1, nullptr, 0,
     ":AMOUNT", changedThroughBytesWidth},
};

TEST_P(RoadSuite, SqlAddressWidthInBytes)
{
    runAll(sqlCases);
}

} // namespace
