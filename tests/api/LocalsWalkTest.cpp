#include <string>
#include <vector>

#include "LocalsFixture.h"

// Which variables a view lists, in what order, from which scopes.

namespace {

using Names = std::vector<std::string>;

class LocalsWalkTest : public LocalsFixture {};

}  // namespace

TEST_F(LocalsWalkTest, InnerScopesHideOuterOnesAndTheListIsInDescendingOrder)
{
    staticInt(*block, "x", 0x10);
    staticInt(*block, "b", 0x14);
    staticInt(*mainContext, "x", 0x20);
    staticInt(*mainContext, "a", 0x24);
    staticInt(*mainContext, "c", 0x28);
    staticInt(*unit, "count", 0x30);
    staticInt(*unit, "a", 0x34);
    storeInt(0x10, 7);
    storeInt(0x20, 9);

    UBYTE4 count = 0;
    LocalsRepresentation* view = build(block, 0, 2, &count);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(names(view), (Names{"x", "c", "b", "a"}));

    // The file scope only with its flag; its "a" is hidden by main's.
    EXPECT_EQ(names(build(block, LocalsRepresentation::includeFileScope)), (Names{"x", "count", "c", "b", "a"}));
    // The innermost scope alone.
    EXPECT_EQ(names(build(block, LocalsRepresentation::innermostScopeOnly)), (Names{"x", "b"}));

    // The x listed is the block's.
    DbgRefreshLocalVariableFrame(view, block, 0);
    StackItem* x = nullptr;
    ASSERT_EQ(status(view, "x", &x), statusLocalChanged);
    EXPECT_EQ(number(x), 7u);
}
