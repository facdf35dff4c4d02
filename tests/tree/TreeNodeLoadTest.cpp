#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "services/ByteOrder.h"
#include "testhost/DwarfExpression.h"
#include "tree/TreeFixture.h"

namespace {

// Loading in a 32-bit and a 64-bit context.
class TreeLoadTest : public TreeTest, public ::testing::WithParamInterface<unsigned> {
protected:
    TreeLoadTest() : TreeTest(languageC, GetParam()) {}

    unsigned width() const { return GetParam(); }

    // A big-endian address of the context's width.
    std::vector<std::uint8_t> pointerBytes(std::uint64_t address, unsigned size) const
    {
        std::vector<std::uint8_t> out(size);
        byteorder::toBigEndian(out.data(), address, size);
        return out;
    }
    void pokeBytes(std::uint64_t address, const std::vector<std::uint8_t>& bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            host.memory().store(address + i, {bytes[i]});
    }

    TypeItem structOf(UBYTE4 size) { return TypeItem(host.records().classType({"s", "", size})); }

    static std::vector<std::uint8_t> bytesOf(const TreeNode& node, std::uint64_t size)
    {
        const unsigned char* b = node.evaluationBuffer();
        return b != nullptr ? std::vector<std::uint8_t>(b, b + size) : std::vector<std::uint8_t>();
    }
};

TEST_P(TreeLoadTest, MembersInsideTheParentsBufferReadNothing)
{
    poke(0x1000, {0, 0, 0, 1, 0, 0, 0, 2, 0xAA, 0xBB, 0xCC, 0xDD});
    auto s = root(structOf(8), "s");
    ASSERT_TRUE(s->loadAt(0x1000));
    UpdateTreeNode* inside = child(*s, TypeItem(130u), "b", 4);
    UpdateTreeNode* beyond = child(*s, TypeItem(130u), "c", 8);
    UpdateTreeNode* straddling = child(*s, TypeItem(130u), "d", 6);

    host.clearCalls();
    ASSERT_TRUE(inside->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 0u);
    EXPECT_EQ(inside->ownBuffer(), nullptr);
    EXPECT_EQ(bytesOf(*inside, 4), (std::vector<std::uint8_t>{0, 0, 0, 2}));
    EXPECT_EQ(inside->debuggeeAddress().address().addr(), 0x1004u);

    ASSERT_TRUE(beyond->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 1u);
    EXPECT_EQ(bytesOf(*beyond, 4), (std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC, 0xDD}));
    ASSERT_TRUE(straddling->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 2u);
    EXPECT_EQ(bytesOf(*straddling, 4), (std::vector<std::uint8_t>{0, 2, 0xAA, 0xBB}));
}

TEST_P(TreeLoadTest, ChildOfAnUnloadedNodeReadsNothing)
{
    auto s = root(structOf(8), "s");
    UpdateTreeNode* member = child(*s, TypeItem(130u), "a", 0);
    UpdateTreeNode* grandchild = child(*member, TypeItem(128u), "x", 12);
    host.clearCalls();
    EXPECT_FALSE(member->loadThisNode(TreeNode::loadNode));
    EXPECT_FALSE(grandchild->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 0u);
    // Below a parent that may not be loaded, loading is refused.
    s->setFlags(TreeNode::flagMayNotLoad);
    EXPECT_EQ(raisedCode([&] { member->loadThisNode(TreeNode::loadNode); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { s->loadThisNode(TreeNode::loadNode); }), InvalidOp::RTRC_Other);
}

TEST_P(TreeLoadTest, BufferAsAddress)
{
    const unsigned char bytes[] = {0x80, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    struct Case {
        unsigned size;
        std::uint64_t value;
    } cases[] = {{1, 0x80}, {2, 0x8001}, {4, 0x80010203}, {8, 0x8001020304050607ull}};
    for (const Case& c : cases)
        EXPECT_EQ(TreeNode::bufferAsAddress(bytes, c.size).addr(), c.value) << c.size;
    for (unsigned size : {0u, 3u, 5u, 16u})
        EXPECT_EQ(raisedCode([&] { TreeNode::bufferAsAddress(bytes, size); }), InvalidOp::RTRC_IncompatTypes) << size;
}

TEST_P(TreeLoadTest, ReferencesTakeThePointerFromTheParentsBuffer)
{
    const TypeItem refType(host.records().referenceType(TYPE_INDEX{0, 130}));
    pokeBytes(0x2000, {0, 0, 0, 0});
    pokeBytes(0x2004, pointerBytes(0x3000, width()));
    poke(0x3000, {0x12, 0x34, 0x56, 0x78});
    auto s = root(structOf(4 + width()), "s");
    ASSERT_TRUE(s->loadAt(0x2000));
    UpdateTreeNode* r = child(*s, refType, "r", 4);
    host.clearCalls();
    ASSERT_TRUE(r->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(r->location().address().addr(), 0x3000u);
    EXPECT_EQ(bytesOf(*r, 4), (std::vector<std::uint8_t>{0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(reads(), 1u);

    // A parent buffer too short for the pointer: nothing is read.
    auto shortParent = root(structOf(6), "t");
    ASSERT_TRUE(shortParent->loadAt(0x2000));
    UpdateTreeNode* cut = child(*shortParent, refType, "r", 4);
    host.clearCalls();
    EXPECT_FALSE(cut->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 0u);
}

TEST_P(TreeLoadTest, BaseClassesInsideAndOutsideTheParent)
{
    const TYPE_INDEX base = host.records().classType({"B", "", 8});
    const TypeItem derived(host.records().classType({"D", "", 16}));
    auto baseRecord = [&](UBYTE4 offset) { return TypeItem(host.records().baseRecord(base, offset)); };
    for (unsigned i = 0; i < 24; ++i)
        poke(0x5000 + i, {static_cast<std::uint8_t>(i)});
    auto d = root(derived, "d");
    ASSERT_TRUE(d->loadAt(0x5000));

    Reference<UpdateTreeNode> inside(new UpdateTreeNode(TypeItem(base), baseRecord(8), ""));
    d->addChild(inside);
    host.clearCalls();
    ASSERT_TRUE(inside->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 0u);
    EXPECT_EQ(inside->offset(), 8);
    EXPECT_EQ(bytesOf(*inside, 2), (std::vector<std::uint8_t>{8, 9}));

    Reference<UpdateTreeNode> outside(new UpdateTreeNode(TypeItem(base), baseRecord(12), ""));
    d->addChild(outside);
    ASSERT_TRUE(outside->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 1u);
    EXPECT_EQ(outside->offset(), 0);
    EXPECT_EQ(outside->location().address().addr(), 0x500Cu);
    EXPECT_EQ(bytesOf(*outside, 8), (std::vector<std::uint8_t>{12, 13, 14, 15, 16, 17, 18, 19}));

    // A base located by an expression on the object's address.
    const TypeItem located(host.records().baseRecordAt(base, dwarf::Builder().plusUconst(4).bytes()));
    Reference<UpdateTreeNode> computed(new UpdateTreeNode(TypeItem(base), located, ""));
    d->addChild(computed);
    host.clearCalls();
    ASSERT_TRUE(computed->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 0u);
    EXPECT_EQ(computed->offset(), 4);
    EXPECT_EQ(bytesOf(*computed, 2), (std::vector<std::uint8_t>{4, 5}));
}

TEST_P(TreeLoadTest, StaticMembersReadFromTheirOwnAddress)
{
    poke(0x6000, {0, 0, 0, 0});
    poke(0x7000, {0, 0, 0x30, 0x39});
    auto s = root(structOf(4), "s");
    ASSERT_TRUE(s->loadAt(0x6000));
    UpdateTreeNode* member = child(*s, TypeItem(130u), "count", 0);
    member->setFlags(TreeNode::flagStaticMember);
    member->setStaticAddress(DebuggeeAddress(0x7000, width()));
    host.clearCalls();
    ASSERT_TRUE(member->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 1u);
    EXPECT_EQ(member->debuggeeAddress().address().addr(), 0x7000u);
    EXPECT_EQ(bytesOf(*member, 4), (std::vector<std::uint8_t>{0, 0, 0x30, 0x39}));
}

TEST_P(TreeLoadTest, ArrayMembersHoldTheirFirstElementsAddress)
{
    const TypeItem array(host.records().arrayType(TYPE_INDEX{0, 130}, 16));
    auto s = root(structOf(24), "s");
    for (unsigned i = 0; i < 24; ++i)
        poke(0x8000 + i, {0});
    ASSERT_TRUE(s->loadAt(0x8000));
    UpdateTreeNode* member = child(*s, array, "a", 8);
    host.clearCalls();
    ASSERT_TRUE(member->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(reads(), 0u);
    EXPECT_EQ(member->ownBufferLength(), width());
    EXPECT_EQ(bytesOf(*member, width()), pointerBytes(0x8008, width()));
}

TEST_P(TreeLoadTest, PointerWidthsByTheEntryAndTheContext)
{
    const TYPE_INDEX node = host.records().classType({"n", "", 4});
    auto pointerWithFlags = [&](UBYTE4 flags) {
        TYPE_INDEX index{};
        _TYPE_ENTRY& e = host.records().newType(TE_POINTER, &index);
        e.pointer.flags = flags;
        e.pointer.target = node;
        return TypeItem(index);
    };
    // The pointer's bytes, then the targets.
    poke(0x9000, {0x00, 0x00, 0xA0, 0x00, 0x00, 0x00, 0xB0, 0x00});
    poke(0xA000, {1, 2, 3, 4});
    poke(0xA0000000B000ull, {9, 10, 11, 12});
    struct Case {
        UBYTE4 flags;
        unsigned pointerSize; // 0: the context's
    } cases[] = {{TNpointer_Bytes4, 4}, {TNpointer_Bytes8, 8}, {0, 0}};
    for (const Case& c : cases) {
        auto p = root(pointerWithFlags(c.flags), "p");
        ASSERT_TRUE(p->loadAt(0x9000));
        // An element reached through the pointer takes the pointer's width
        // from its entry, else from the context.
        UpdateTreeNode* element = child(*p, TypeItem(node), "p[0]", 0);
        const unsigned size = c.pointerSize != 0 ? c.pointerSize : width();
        // Never more bytes than the parent holds.
        const bool held = size <= p->ownBufferLength();
        host.clearCalls();
        EXPECT_EQ(element->loadThisNode(TreeNode::loadNode), held) << "flags " << c.flags;
        if (!held) {
            EXPECT_EQ(reads(), 0u);
            continue;
        }
        const std::uint64_t expected = size == 4 ? 0xA000 : 0xA0000000B000ull;
        EXPECT_EQ(element->location().address().addr(), expected) << "flags " << c.flags;
        EXPECT_EQ(bytesOf(*element, 4),
                  size == 4 ? (std::vector<std::uint8_t>{1, 2, 3, 4}) : (std::vector<std::uint8_t>{9, 10, 11, 12}));
    }
}

TEST_P(TreeLoadTest, PointerTargetsFollowTheContextsWidth)
{
    const TYPE_INDEX node = host.records().classType({"n", "", 4});
    poke(0x9000, {0x00, 0x00, 0xA0, 0x00, 0x00, 0x00, 0xB0, 0x00});
    poke(0xA000, {1, 2, 3, 4});
    poke(0xA0000000B000ull, {9, 10, 11, 12});
    auto p = root(TypeItem(host.records().pointerType(node, width())), "p");
    ASSERT_TRUE(p->loadAt(0x9000));
    unsigned count = 0;
    ASSERT_EQ(p->QueryStructInfo(count, p->dataType()), 0);
    UpdateTreeNode* target = p->firstChild();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(text(target->name()), "*p");
    ASSERT_TRUE(target->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(target->location().address().addr(), width() == 4 ? 0xA000u : 0xA0000000B000ull);
    EXPECT_EQ(bytesOf(*target, 4),
              width() == 4 ? (std::vector<std::uint8_t>{1, 2, 3, 4}) : (std::vector<std::uint8_t>{9, 10, 11, 12}));
}

TEST_P(TreeLoadTest, ATypeGrownAfterALoadGetsALargerBuffer)
{
    poke(0xC000, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    auto s = root(structOf(4), "s");
    ASSERT_TRUE(s->loadAt(0xC000));
    UpdateTreeNode* member = child(*s, TypeItem(130u), "m", 8);
    ASSERT_TRUE(member->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(member->ownBufferLength(), 4u);
    member->setDataType(TypeItem(155u));
    ASSERT_TRUE(member->loadThisNode(TreeNode::loadNode));
    EXPECT_EQ(member->ownBufferLength(), 8u);
    EXPECT_EQ(bytesOf(*member, 8), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_P(TreeLoadTest, InvalidateForgetsEveryBuffer)
{
    poke(0xD000, {0, 0, 0, 7, 0, 0, 0, 9});
    auto s = root(structOf(8), "s");
    ASSERT_TRUE(s->loadAt(0xD000));
    UpdateTreeNode* member = child(*s, TypeItem(130u), "m", 4);
    ASSERT_TRUE(member->loadThisNode(TreeNode::loadNode));
    s->invalidate();
    EXPECT_FALSE(s->isLoaded());
    EXPECT_FALSE(member->isLoaded());
    EXPECT_EQ(s->ownBuffer(), nullptr);
    EXPECT_FALSE(member->loadThisNode(TreeNode::loadNode));
}

TEST_P(TreeLoadTest, StructuresOfTheSecondFormMakeAndLoadTheirMembers)
{
    HostRecordStore::StructSpec spec;
    spec.byteSize = 8;
    spec.members = {{"x", TYPE_INDEX{0, 130}}, {"y", TYPE_INDEX{0, 129}}, {"skipped", TYPE_INDEX{0, 0}}};
    spec.offsets = {0, 4, 6};
    const TypeItem type(host.records().structType(spec));
    poke(0xE000, {0, 0, 0, 5, 0xFF, 0xFE, 0, 0});
    auto s = root(type, "s");
    ASSERT_TRUE(s->loadAt(0xE000));
    host.clearCalls();
    unsigned count = 0;
    ASSERT_EQ(s->QueryStructInfo(count, s->dataType()), 0);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(reads(), 0u);
    UpdateTreeNode* y = s->firstChild()->nextSibling();
    EXPECT_EQ(text(y->name()), "y");
    EXPECT_EQ(y->offset(), 4);
    EXPECT_TRUE(y->isLoaded());
    EXPECT_EQ(bytesOf(*y, 2), (std::vector<std::uint8_t>{0xFF, 0xFE}));
}

TEST_P(TreeLoadTest, FieldListsMakeTheirNamedMembers)
{
    HostRecordStore::ClassSpec spec{"c", "", 12};
    spec.members = {{"a", TYPE_INDEX{0, 130}, 0}, {"", TYPE_INDEX{0, 130}, 4}, {"b", TYPE_INDEX{0, 129}, 8}};
    const TYPE_INDEX klass = host.records().classType(spec);
    const TypeItem fields(TYPE_INDEX(host.records().type(klass)->klass.fieldList));
    poke(0xF000, {0, 0, 0, 1, 0, 0, 0, 2, 0x7F, 0xFF, 0, 0});
    auto c = root(TypeItem(klass), "c");
    ASSERT_TRUE(c->loadAt(0xF000));
    unsigned count = 0;
    ASSERT_EQ(c->QueryStructInfo(count, fields), 0);
    ASSERT_EQ(count, 2u);
    UpdateTreeNode* b = c->firstChild()->nextSibling();
    EXPECT_EQ(text(b->name()), "b");
    EXPECT_EQ(b->offset(), 8);
    EXPECT_TRUE(b->isLoaded());
    EXPECT_EQ(bytesOf(*b, 2), (std::vector<std::uint8_t>{0x7F, 0xFF}));
    // A class entry itself is not a field list.
    auto other = root(TypeItem(klass), "d");
    EXPECT_EQ(other->QueryStructInfo(count, other->dataType()), 10000);
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, TreeLoadTest, ::testing::Values(4u, 8u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return info.param == 4 ? std::string("Bits32") : std::string("Bits64");
                         });

} // namespace
