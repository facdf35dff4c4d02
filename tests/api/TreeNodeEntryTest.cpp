// The tree of a result through the entry points: roots and their
// references, members and elements, formatting without an item and out of
// range, value updates, result types, contexts; and the error texts.

#include <cstring>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "EntryRoadFixture.h"
#include "ThreadBarrier.h"
#include "api/ErrorTextEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "tree/RootTreeNode.h"

namespace {

class TreeNodeEntry : public EntryRoadTest {
protected:
    void SetUp() override
    {
        EntryRoadTest::SetUp();
        const TYPE_INDEX i32 = records().integerType(32, false);
        const TYPE_INDEX ch = records().integerType(8, false);
        variable("a", i32, 0x20);
        HostRecordStore::StructSpec s;
        s.byteSize = 8;
        s.members = {{"x", i32}, {"c", ch}};
        s.offsets = {0, 4};
        variable("s", records().structType(s), 0x40);
        variable("p", records().pointerType(i32, 8), 0x50);
        host.memory().storeBigEndian(kData + 0x20, 3, 4);
        host.memory().storeBigEndian(kData + 0x40, 4, 4);
        host.memory().storeBigEndian(kData + 0x44, 0x82000000, 4);
        host.memory().storeBigEndian(kData + 0x50, kData + 0x20, 8);
    }

    void TearDown() override
    {
        DbgSetBrowseMode(0);
        EntryRoadTest::TearDown();
    }

    // The root of text's result (the test frees it).
    UpdateTreeNode* root(Expression& e, const std::string& text)
    {
        evaluate(e, text);
        EXPECT_EQ(e.evaluated, 0) << text;
        UpdateTreeNode* node = nullptr;
        EXPECT_EQ(DbgBuildRootNodeInfo(e.result, &node), 0) << text;
        return node;
    }
};

TEST_F(TreeNodeEntry, AStructureShowsItsMembersAndRefusesFormatting)
{
    Expression e;
    UpdateTreeNode* node = root(e, "s");
    ASSERT_NE(node, nullptr);
    UBYTE4 count = 0;
    EXPECT_EQ(DbgQueryStructInfo(nullptr, node, &count), 0);
    EXPECT_EQ(count, 2u);
    UpdateTreeNode* child = nullptr;
    UBYTE1* name = nullptr;
    // Members count from 1.
    ASSERT_EQ(Dbg2QueryStructElementInfo(nullptr, node, 1, &child, &name), 0);
    ASSERT_NE(child, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(name), "x");
    UpdateTreeNode* none = reinterpret_cast<UpdateTreeNode*>(1);
    EXPECT_NE(Dbg2QueryStructElementInfo(nullptr, node, 0, &none, &name), 0);
    EXPECT_EQ(none, nullptr);
    UpdateTreeNode* past = reinterpret_cast<UpdateTreeNode*>(1);
    EXPECT_NE(Dbg2QueryStructElementInfo(nullptr, node, 5, &past, &name), 0);
    EXPECT_EQ(past, nullptr);

    UBYTE1* text = nullptr;
    EXPECT_EQ(DbgFormatTreeValue2a(node, 2, e.result, &text, 100), 10000) << "only SQL host variables format";
    EXPECT_EQ(DbgFormatTreeValue2a(node, 24, e.result, &text, 100), 10000);
    EXPECT_EQ(DbgFormatTreeValue2a(nullptr, 2, e.result, &text, 100), 10000);

    const LCC_Eval_Context_Info* context = nullptr;
    EXPECT_EQ(DbgGetTreeNodeContext(node, &context), 0);
    EXPECT_EQ(context, mainContext);

    DbgFreeTreeNodeInfo(child);
    DbgFreeTreeNodeInfo(node);
    DbgFreeTreeNodeInfo(nullptr);
}

// The root handed out twice needs two releases; nodes outlive or precede
// their result and representation alike (the sanitizer build checks).
TEST_F(TreeNodeEntry, EveryNodeHandedOutIsReleasedOnce)
{
    for (int order = 0; order < 3; ++order) {
        Expression e;
        UpdateTreeNode* first = root(e, "s");
        UpdateTreeNode* second = nullptr;
        ASSERT_EQ(DbgBuildRootNodeInfo(e.result, &second), 0);
        EXPECT_EQ(first, second);
        UpdateTreeNode* child = nullptr;
        UBYTE1* name = nullptr;
        UBYTE4 count = 0;
        EXPECT_EQ(DbgQueryStructInfo(nullptr, first, &count), 0);
        ASSERT_EQ(Dbg2QueryStructElementInfo(nullptr, first, 2, &child, &name), 0);
        if (order == 0) {
            DbgFreeTreeNodeInfo(child);
            DbgFreeTreeNodeInfo(first);
            DbgFreeTreeNodeInfo(second);
            e.release();
        } else if (order == 1) {
            e.release();
            DbgFreeTreeNodeInfo(first);
            DbgFreeTreeNodeInfo(child);
            DbgFreeTreeNodeInfo(second);
        } else {
            DbgFreeTreeNodeInfo(first);
            DbgFreeEvalResultInfo(e.result);
            e.result = nullptr;
            DbgFreeTreeNodeInfo(second);
            e.release();
            DbgFreeTreeNodeInfo(child);
        }
    }
}

TEST_F(TreeNodeEntry, FormattingWithoutAnItemShowsThatThereIsNoValue)
{
    Expression e;
    UpdateTreeNode* node = root(e, "a");
    UBYTE1* text = nullptr;
    EXPECT_EQ(DbgFormatTreeValue2a(node, 2, nullptr, &text, 100), 1012);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text)), catalogue(50));
    EXPECT_EQ(DbgFormatTreeValue2a(node, 2, nullptr, nullptr, 100), 10000);
    EXPECT_EQ(DbgFormatTreeValue(node, 2, nullptr, &text), 1012);
    DbgFreeTreeNodeInfo(node);
}

TEST_F(TreeNodeEntry, AnUpdateWritesTheValueOfTheText)
{
    Expression e;
    UpdateTreeNode* node = root(e, "a");
    unsigned char nine[] = "9";
    unsigned char empty[] = "";
    EXPECT_EQ(DbgUpdateTreeValue(mainContext, e.result, node, 2, nine), 0);
    EXPECT_EQ(word(0x20), 9u);
    EXPECT_EQ(DbgUpdateTreeValue(mainContext, e.result, node, 2, empty), 10000);
    EXPECT_EQ(DbgUpdateTreeValue(nullptr, e.result, node, 2, nine), 10000);
    EXPECT_EQ(DbgUpdateTreeValue(mainContext, e.result, nullptr, 2, nine), 10000);
    DbgSetBrowseMode(1);
    EXPECT_EQ(DbgUpdateTreeValue(nullptr, nullptr, nullptr, 2, nullptr), 10013);
    DbgFreeTreeNodeInfo(node);
}

TEST_F(TreeNodeEntry, TheResultTypeQueryNeedsEveryPlace)
{
    Expression e;
    UpdateTreeNode* node = root(e, "a");
    UBYTE2 count = 0;
    UBYTE2* reps = nullptr;
    UBYTE2* results = nullptr;
    UBYTE2 defaultRep = 0;
    UBYTE1* typeName = nullptr;
    UBYTE2 dataType = 0;
    EXPECT_EQ(DbgQueryResultsRepsAndDataType(e.result, node, &count, &reps, &results, &defaultRep, &typeName, &dataType,
                                             nullptr),
              10000);
    EXPECT_EQ(DbgQueryResultType(e.result, node, &count, &reps, &results, nullptr, &typeName), 10000);
    EXPECT_TRUE(host.traced("returned 10000 (DBG2_CALL_FAIL)"));
    DbgFreeTreeNodeInfo(node);
}

TEST_F(TreeNodeEntry, TheErrorTextNamesTheExpressionAndItsMessage)
{
    const UBYTE1* locale = reinterpret_cast<const UBYTE1*>("en_US");
    Expression e;
    validate(e, "nosuch");
    ASSERT_EQ(e.validated, 11002);
    const UBYTE1* text = DbgExtendedErrorInfo(e.rep, locale);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text)), "  >> nosuch\n\n" + catalogue(3, "nosuch"));
    EXPECT_EQ(DbgExtendedErrorInfo(nullptr, locale), nullptr);
    EXPECT_EQ(DbgExtendedErrorInfo2(nullptr, nullptr, locale), nullptr);

    // Through a node of the representation's tree.
    Expression a;
    UpdateTreeNode* node = root(a, "a");
    const UBYTE1* byNode = DbgExtendedErrorInfo2(nullptr, node, locale);
    ASSERT_NE(byNode, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(byNode)).rfind("  >> a\n\n", 0), 0u);
    DbgFreeTreeNodeInfo(node);

    // The first locale named stays.
    EXPECT_EQ(setMessageLocale("en_US"), 1);
    EXPECT_EQ(setMessageLocale("de_DE"), 0);
    EXPECT_EQ(setMessageLocale("en_US"), 1);
    EXPECT_EQ(setMessageLocale(nullptr), 0);
}

// Each thread keeps its own error text: one thread's request does not
// overwrite the text another thread was handed.
TEST_F(TreeNodeEntry, EachThreadKeepsItsOwnErrorText)
{
    const UBYTE1* locale = reinterpret_cast<const UBYTE1*>("en_US");
    ThreadBarrier fetched(2);
    std::string seen[2];
    auto request = [&](int n) {
        const std::string name = n == 0 ? "first" : "second";
        Expression e;
        e.built = DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(const_cast<char*>(name.c_str())), mainContext, 1,
                                     0, &e.rep);
        e.validated = DbgValidateExpr(e.rep, mainContext, &e.typeResult);
        const UBYTE1* text = DbgExtendedErrorInfo(e.rep, locale);
        fetched.arrive_and_wait();
        // The other thread has fetched its own text meanwhile.
        seen[n] = text != nullptr ? reinterpret_cast<const char*>(text) : "";
        fetched.arrive_and_wait();
    };
    std::thread first(request, 0);
    std::thread second(request, 1);
    first.join();
    second.join();
    EXPECT_EQ(seen[0].rfind("  >> first\n\n", 0), 0u) << seen[0];
    EXPECT_EQ(seen[1].rfind("  >> second\n\n", 0), 0u) << seen[1];
}

} // namespace
