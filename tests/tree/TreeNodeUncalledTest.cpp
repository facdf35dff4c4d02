#include <vector>

#include <gtest/gtest.h>

#include "services/ByteOrder.h"
#include "tree/TreeFixture.h"

namespace {

// Members nothing in the library calls yet, driven directly.
class TreeNodeUncalledTest : public TreeTest {};

TEST_F(TreeNodeUncalledTest, ArrayBaseIndexByArrayForm)
{
    HostRecordStore& records = host.records();
    TYPE_INDEX table{};
    records.newType(TE_COBOL_TABLE, &table).cobolTable.elementType = TYPE_INDEX{0, 130};
    TYPE_INDEX descriptor{};
    _TYPE_ENTRY& d = records.newType(TE_F90_DESC_ARRAY, &descriptor);
    d.f90descarray.elementType = TYPE_INDEX{0, 130};
    d.f90descarray.lowerBound = records.dwarfBlock({0x35}); // lit5
    TYPE_INDEX vum{};
    records.newType(TE_VUM_ARRAY, &vum).modifier.type = TYPE_INDEX{0, 130};

    struct Case {
        TYPE_INDEX type;
        int base;
        int code;
    } cases[] = {
        {records.arrayType(TYPE_INDEX{0, 130}, 16), 0, 0},
        {table, 1, 0},
        {descriptor, 5, 0},
        {vum, 0, InvalidOp::RTRC_FIXME},
    };
    for (const Case& c : cases) {
        auto a = root(TypeItem(c.type), "a");
        int base = -1;
        EXPECT_EQ(raisedCode([&] { a->QueryArrayBaseIndex(base); }), c.code);
        if (c.code == 0) {
            EXPECT_EQ(base, c.base);
        }
    }
}

TEST_F(TreeNodeUncalledTest, ElementTypeOfArrays)
{
    auto a = root(TypeItem(host.records().arrayType(TYPE_INDEX{0, 129}, 8)), "a");
    TypeItem element;
    ASSERT_EQ(a->getElementType(element), 0);
    EXPECT_EQ(element.typeIndex().index(), 129u);
    auto scalar = root(TypeItem(130u), "i");
    EXPECT_EQ(scalar->getElementType(element), 10000);
}

TEST_F(TreeNodeUncalledTest, PointerOrArrayReadsThroughTheParentsAddress)
{
    // A structure holding a 4-byte address at offset 4.
    poke(0x1000, {0, 0, 0, 0, 0, 0, 0x20, 0x00});
    poke(0x2000, {0xCA, 0xFE, 0xBA, 0xBE});
    auto s = root(TypeItem(host.records().classType({"s", "", 8})), "s");
    ASSERT_TRUE(s->loadAt(0x1000));
    UpdateTreeNode* target = child(*s, TypeItem(134u), "p", 4);
    host.clearCalls();
    ASSERT_TRUE(target->loadPointerOrArray(TreeNode::loadNode));
    EXPECT_EQ(target->location().address().addr(), 0x2000u);
    EXPECT_EQ(reads(), 1u);
    ASSERT_NE(target->ownBuffer(), nullptr);
    EXPECT_EQ(byteorder::fromBigEndian(target->ownBuffer(), 4), 0xCAFEBABEu);

    // An address that does not fit in what the parent holds is not followed.
    UpdateTreeNode* cut = child(*s, TypeItem(134u), "q", 6);
    host.clearCalls();
    EXPECT_FALSE(cut->loadPointerOrArray(TreeNode::loadNode));
    EXPECT_EQ(reads(), 0u);
}

TEST_F(TreeNodeUncalledTest, SharedArrayElementsAreRefusedQuietly)
{
    poke(0x1000, {0, 0, 0, 0, 0, 0, 0, 0});
    auto s = root(TypeItem(host.records().classType({"s", "", 8})), "s");
    ASSERT_TRUE(s->loadAt(0x1000));
    UpdateTreeNode* element = child(*s, TypeItem(130u), "e", 0);
    EXPECT_FALSE(element->loadSharedArray(TreeNode::loadNode));
    EXPECT_FALSE(element->isLoaded());
}

} // namespace
