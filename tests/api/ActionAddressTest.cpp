// Actions on result trees, the address an expression denotes and where the
// nodes of its tree live, through their entry points.

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "EntryRoadFixture.h"
#include "api/ActionEntryPoints.h"
#include "api/ActionTable.h"
#include "api/LocalsRepresentation.h"
#include "api/NameBuilderEntryPoints.h"
#include "api/ResultAddressEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "services/InvalidOp.h"
#include "tree/RootTreeNode.h"

namespace {

std::string nameOf(const ExpressionEvaluatorAction* action)
{
    return reinterpret_cast<const char*>(action->name);
}

// The two entries of the action table, named as given, and its end.
void expectActions(const ExpressionEvaluatorAction** actions, const char* showSelf, const char* evaluateAgain)
{
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(nameOf(actions[0]), showSelf);
    EXPECT_EQ(actions[0]->word, 768u);
    EXPECT_EQ(nameOf(actions[1]), evaluateAgain);
    EXPECT_EQ(actions[1]->word, 2848u);
    EXPECT_EQ(actions[2], nullptr);
}

std::uint64_t addressValue(const EE_ADDR& a)
{
    return (std::uint64_t(a.addrHigh) << 32) | a.addrLow;
}

// A program of 4- or 8-byte addresses: int a = 3, b = 4; int* p; int& r =
// a; struct { int x; unsigned f : 3; } s.
class ResultAddress : public EntryRoadTest {
protected:
    void setUp(unsigned addressBytes)
    {
        useAddressSize(addressBytes);
        const TYPE_INDEX i32 = records().integerType(32, false);
        variable("a", i32, 0x20);
        variable("b", i32, 0x24);
        variable("p", records().pointerType(i32, addressBytes), 0x30);
        variable("r", records().referenceType(i32), 0x40);
        HostRecordStore::StructSpec spec;
        spec.byteSize = 8;
        spec.members = {{"x", i32}, {"f", records().integerType(3, true, 0)}};
        spec.offsets = {0, 4};
        variable("s", records().structType(spec), 0x50);
        host.memory().storeBigEndian(kData + 0x20, 3, 4);
        host.memory().storeBigEndian(kData + 0x24, 4, 4);
        host.memory().storeBigEndian(kData + 0x30, addressBytes == 8 ? 0x0000000112345678ull : 0x12345678u,
                                     addressBytes);
        host.memory().storeBigEndian(kData + 0x40, kData + 0x20, addressBytes);
        host.memory().storeBigEndian(kData + 0x50, 0x11, 4);
        host.memory().storeBigEndian(kData + 0x54, 0xA0000000u, 4);
    }

    UBYTE2 address(const char* text, EE_ADDR& out)
    {
        Expression e;
        validate(e, text);
        EXPECT_LT(e.validated, 10000) << text;
        return Dbg2ResultAddress(e.rep, mainContext, &out);
    }
};

TEST_F(ResultAddress, ValuesAsAddressesOfTheEnvironmentsWidth)
{
    struct Case {
        unsigned bytes;
        const char* text;
        UBYTE2 status;
        UBYTE4 width;
        std::uint64_t address;
    } cases[] = {
        {8, "p", 0, 64, 0x0000000112345678ull},
        {4, "p", 0, 32, 0x12345678u},
        {8, "a + b", 0, 64, 7},
        {4, "r", 0, 32, 3},
        {8, "r", 0, 64, 3},
        {8, "a / (b - 4)", 10007, 0, 0},
    };
    for (const Case& c : cases) {
        setUp(c.bytes);
        EE_ADDR out{0, 0, 0};
        EXPECT_EQ(address(c.text, out), c.status) << c.text << " in " << c.bytes;
        EXPECT_EQ(out.width, c.width) << c.text << " in " << c.bytes;
        EXPECT_EQ(addressValue(out), c.address) << c.text << " in " << c.bytes;
    }
}

TEST_F(ResultAddress, NeverValidatedNothingIsRead)
{
    setUp(8);
    Expression e;
    e.built = DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(const_cast<char*>("a")), mainContext, 1, 0, &e.rep);
    ASSERT_EQ(e.built, 0);
    host.clearCalls();
    EE_ADDR out{0, 0, 0};
    EXPECT_EQ(Dbg2ResultAddress(e.rep, mainContext, &out), 10000);
    EXPECT_EQ(host.callCount(HS_Expr2ReadMemory), 0u);
    EXPECT_EQ(DbgResultAddressPossible(e.rep, mainContext), 0);
    EXPECT_EQ(Dbg2ResultAddress(nullptr, mainContext, &out), 10000);
    EXPECT_EQ(DbgResultAddressPossible(nullptr, mainContext), 0);
}

TEST_F(ResultAddress, PossibleForPointersAndReferencedPointersOnly)
{
    setUp(8);
    struct Case {
        const char* text;
        bool possible;
    } cases[] = {{"p", true}, {"r", true}, {"a + b", true}, {"s", false}};
    for (const Case& c : cases) {
        Expression e;
        validate(e, c.text);
        ASSERT_EQ(e.validated, 0) << c.text;
        EXPECT_EQ(DbgResultAddressPossible(e.rep, mainContext) != 0, c.possible) << c.text;
    }
}

TEST_F(ResultAddress, WatchDataAndAddressOfAMemberNode)
{
    setUp(8);
    Expression e;
    evaluate(e, "s");
    ASSERT_EQ(e.evaluated, 0) << e.messageText();
    UpdateTreeNode* root = nullptr;
    ASSERT_EQ(DbgBuildRootNodeInfo(e.result, &root), 0);
    UpdateTreeNode* x = nullptr;
    UpdateTreeNode* f = nullptr;
    UBYTE1* name = nullptr;
    UBYTE4 count = 0;
    ASSERT_EQ(DbgQueryStructInfo(e.result, root, &count), 0);
    ASSERT_EQ(count, 2u);
    ASSERT_EQ(Dbg2QueryStructElementInfo(e.result, root, 1, &x, &name), 0);
    ASSERT_EQ(Dbg2QueryStructElementInfo(e.result, root, 2, &f, &name), 0);

    // The root's expression names the member once the root was shown as a
    // structure, even though its formatting is refused.
    EXPECT_EQ(DbgBuildNodeExpression(f), nullptr);
    UBYTE1* text = nullptr;
    DbgFormatTreeValue2a(root, 12, e.result, &text, 100);
    ASSERT_NE(DbgBuildNodeExpression(f), nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(DbgBuildNodeExpression(f)), "s.f");

    EE_ADDR where{0, 0, 0};
    UBYTE4 size = 0;
    EXPECT_EQ(DbgCalcWatchData(mainContext, e.result, x, &where, &size), 0);
    EXPECT_EQ(addressValue(where), kData + 0x50);
    EXPECT_EQ(where.width, 64u);
    EXPECT_EQ(size, 4u);
    TYPE_INDEX index{9, 9};
    EXPECT_EQ(Dbg2CalcStackItemAddress(mainContext, e.result, f, &where, &index), 0);
    EXPECT_EQ(addressValue(where), kData + 0x54);
    EXPECT_EQ(index.module, 0u);
    EXPECT_EQ(index.index, 151u);

    EXPECT_EQ(DbgCalcWatchData(mainContext, e.result, x, &where, nullptr), 10000);
    EXPECT_EQ(DbgCalcWatchData(nullptr, e.result, x, &where, &size), 10000);
    EXPECT_EQ(Dbg2CalcStackItemAddress(mainContext, nullptr, f, &where, &index), 10000);
    DbgFreeTreeNodeInfo(x);
    DbgFreeTreeNodeInfo(f);
    DbgFreeTreeNodeInfo(root);
}

TEST_F(ResultAddress, TreeActionEvaluatesAgain)
{
    setUp(8);
    Expression e;
    evaluate(e, "a = a + 1");
    ASSERT_EQ(e.validated, 1003);
    ASSERT_EQ(e.evaluated, 0);
    UpdateTreeNode* root = nullptr;
    ASSERT_EQ(DbgBuildRootNodeInfo(e.result, &root), 0);
    const UBYTE2* actions = DbgQueryNodeActions(root);
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions[0], 2);
    EXPECT_EQ(actions[1], 0);

    StackItem* again = nullptr;
    UBYTE1* name = nullptr;
    EXPECT_EQ(DbgPerformTreeAction(root, 1, &again, &name), 10000);
    EXPECT_EQ(DbgPerformTreeAction(root, 3, &again, &name), 10000);
    EXPECT_EQ(DbgPerformTreeAction(root, 2, &again, &name), 0);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->asSigned(), 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(name)), "a = a + 1");
    EXPECT_EQ(word(0x20), 5u);
    DbgFreeEvalResultInfo(again);

    EXPECT_EQ(DbgPerformNodeAction(root, 2), 10000);
    EXPECT_EQ(DbgPerformNodeAction(root, 1), 10000);
    EXPECT_EQ(DbgPerformNodeAction(nullptr, 1), 10000);
    EXPECT_EQ(DbgQueryNodeActions(nullptr), nullptr);
    EXPECT_EQ(DbgPerformTreeAction(nullptr, 2, &again, &name), 10000);
    DbgFreeTreeNodeInfo(root);

    Expression plain;
    evaluate(plain, "a + b");
    ASSERT_EQ(DbgBuildRootNodeInfo(plain.result, &root), 0);
    actions = DbgQueryNodeActions(root);
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions[0], 0);
    DbgFreeTreeNodeInfo(root);
}

// A node whose environment is not an expression's, counting what asks it.
class CountingNode : public UpdateTreeNode {
public:
    CountingNode(EvaluationEnvironment& environment) : UpdateTreeNode(TypeItem(130u), "v", 0), env_(environment) {}
    EvaluationEnvironment* internalRep() const override
    {
        ++asked;
        return &env_;
    }
    bool isRootNode() const override { return true; }
    mutable int asked = 0;

private:
    EvaluationEnvironment& env_;
};

TEST_F(ResultAddress, NodeActionsOutsideTheirRangeTouchNothing)
{
    setUp(8);
    LocalsRepresentation locals(1, mainContext, 0);
    Reference<CountingNode> node(new CountingNode(locals));
    for (UBYTE2 action : {0, 3}) {
        EXPECT_EQ(DbgPerformNodeAction(node.get(), action), 10000);
        StackItem* out = nullptr;
        UBYTE1* name = nullptr;
        EXPECT_EQ(DbgPerformTreeAction(node.get(), action, &out, &name), 10000);
    }
    EXPECT_EQ(node->asked, 0);
    StackItem* out = nullptr;
    UBYTE1* name = nullptr;
    EXPECT_EQ(DbgPerformTreeAction(node.get(), 2, &out, &name), 10000) << "a node of the locals view";
    EXPECT_EQ(out, nullptr);
}

class SqlResultAddress : public EntryRoadTest {
protected:
    SqlResultAddress() : EntryRoadTest(18) {}
};

// The result Dbg2ResultAddress releases is not the one the representation
// holds: validating again afterwards hands out a live item.
TEST_F(SqlResultAddress, TheHeldResultOutlivesTheAddress)
{
    HostRecordStore::SqlVariable v;
    v.sqlType = 496;
    v.length = 4;
    v.address = kData + 0x80;
    v.addressWidth = 64;
    declare(mainContext, records().sqlHostVariable(":N", v));
    host.memory().storeBigEndian(kData + 0x80, 42, 4);
    Expression e;
    validate(e, ":N");
    ASSERT_EQ(e.validated, 0);
    EE_ADDR out{0, 0, 0};
    Dbg2ResultAddress(e.rep, mainContext, &out);
    StackItem* again = nullptr;
    EXPECT_EQ(DbgValidateExpr(e.rep, mainContext, &again), 0);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->type() == e.typeResult->type());
    if (again != e.typeResult)
        DbgFreeTypeResultInfo(again);
}

TEST(ActionTableTest, BuiltOnceInTheFirstLocaleAfterAFailedRead)
{
    static int reads;
    static bool fail;
    reads = 0;
    fail = true;
    ActionTable table([](const UBYTE1* locale, int id) -> ByteString {
        ++reads;
        if (fail)
            throw InvalidOp(InvalidOp::RTRC_Other, "reader", 1);
        const std::string text = std::string(reinterpret_cast<const char*>(locale)) + ":" + std::to_string(id);
        return ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    });
    EXPECT_THROW(table.actions(reinterpret_cast<const UBYTE1*>("xx")), InvalidOp);
    fail = false;
    const ExpressionEvaluatorAction** first = table.actions(reinterpret_cast<const UBYTE1*>("de_DE"));
    ASSERT_NE(first, nullptr);
    expectActions(first, "de_DE:45", "de_DE:46");
    const int readsSoFar = reads;
    EXPECT_EQ(table.actions(reinterpret_cast<const UBYTE1*>("fr_FR")), first);
    EXPECT_EQ(nameOf(first[0]), "de_DE:45");
    EXPECT_EQ(reads, readsSoFar);
}

// Sets NORVEXA_CATALOG_DIR, or removes it for null.
void setCatalogDir(const char* dir)
{
#if defined(_WIN32)
    _putenv_s("NORVEXA_CATALOG_DIR", dir != nullptr ? dir : "");
#else
    if (dir != nullptr)
        setenv("NORVEXA_CATALOG_DIR", dir, 1);
    else
        unsetenv("NORVEXA_CATALOG_DIR");
#endif
}

// The process's table: null while no catalogue can be found, then built
// from the catalogue and kept whatever locale comes next.
TEST(ActionTableTest, QueryAllActionsWaitsForTheCatalogue)
{
    const char* dir = std::getenv("NORVEXA_CATALOG_DIR");
    const std::string saved = dir != nullptr ? dir : "";
    setCatalogDir("/nonexistent/norvexa");
    EXPECT_EQ(DbgQueryAllActions(reinterpret_cast<const UBYTE1*>("qq_QQ")), nullptr);
    setCatalogDir(dir != nullptr ? saved.c_str() : nullptr);
    const ExpressionEvaluatorAction** actions = DbgQueryAllActions(reinterpret_cast<const UBYTE1*>("en_US"));
    ASSERT_NE(actions, nullptr);
    expectActions(actions, "Show self", "Evaluate again");
    EXPECT_EQ(DbgQueryAllActions(reinterpret_cast<const UBYTE1*>("rr_RR")), actions);
    EXPECT_EQ(nameOf(actions[0]), "Show self");
}

} // namespace
