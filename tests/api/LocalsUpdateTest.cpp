#include <cstring>
#include <string>
#include <vector>

#include "LocalsFixture.h"
#include "api/PluginEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"

// A local's value handed to the node entry points as any result: its root
// changes the variable's memory, and the host may give the node back after
// the view is gone.

namespace {

// An update evaluates the user's text through the entry points, a road the
// evaluator installs when the host starts it: so the evaluator is started
// here as a host starts it, and ended after the views are freed.
class LocalsUpdateTest : public LocalsFixture {
protected:
    void SetUp() override
    {
        LocalsFixture::SetUp();
        ASSERT_EQ(DbgInitialize(host.activate()), 1);
    }
    void TearDown() override
    {
        LocalsFixture::TearDown();
        DbgTerminateRunTime();
    }
};

} // namespace

TEST_F(LocalsUpdateTest, AnUpdateThroughALocalsRootWritesMemory)
{
    staticInt(*block, "n", 0x10);
    storeInt(0x10, 5);
    LocalsRepresentation* view = build(block);
    DbgRefreshLocalVariableFrame(view, block, 0);
    StackItem* n = nullptr;
    ASSERT_EQ(status(view, "n", &n), statusLocalChanged);
    view->makeCurrent(block);
    UpdateTreeNode* root = nullptr;
    ASSERT_EQ(DbgBuildRootNodeInfo(n, &root), 0);
    ASSERT_NE(root, nullptr);
    struct Case {
        const char* text;
        UBYTE2 status;
        std::vector<std::uint8_t> stored;
    };
    const Case cases[] = {
        {"-2", 0, {0xFF, 0xFF, 0xFF, 0xFE}},
        {"258", 0, {0x00, 0x00, 0x01, 0x02}},
        {"", 10000, {0x00, 0x00, 0x01, 0x02}},
    };
    for (const Case& c : cases) {
        std::vector<UBYTE1> text(c.text, c.text + std::strlen(c.text) + 1);
        EXPECT_EQ(DbgUpdateTreeValue(block, n, root, 2, text.data()), c.status) << c.text;
        EXPECT_EQ(host.memory().bytes(sectionBase + 0x10, 4), c.stored) << c.text;
    }
    // The next refresh sees the written value.
    DbgRefreshLocalVariableFrame(view, block, 0);
    EXPECT_EQ(status(view, "n"), statusLocalChanged);
    EXPECT_EQ(number(n), 258u);
    DbgFreeTreeNodeInfo(root);
}

TEST_F(LocalsUpdateTest, TheHostFreesALocalsNodeAfterTheView)
{
    LocalsRepresentation* view = nullptr;
    StackItem* n = heldValueOfN(view);
    ASSERT_NE(n, nullptr);
    UpdateTreeNode* root = nullptr;
    ASSERT_EQ(DbgBuildRootNodeInfo(n, &root), 0);
    std::vector<UBYTE1> text{'9', 0};
    EXPECT_EQ(DbgUpdateTreeValue(block, n, root, 2, text.data()), 0);
    DbgFreeLocalVariables(view);
    DbgFreeTreeNodeInfo(root);
    EXPECT_EQ(host.memory().bytes(sectionBase + 0x10, 4), (std::vector<std::uint8_t>{0, 0, 0, 9}));
}
