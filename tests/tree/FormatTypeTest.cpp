// The format type of a node following the dynamic class of its object, and
// the class, base-class and reference queries of a formatting node.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostRecordAccess.h"
#include "testhost/DwarfExpression.h"
#include "testhost/inprocess/CountingItem.h"
#include "tree/TreeFixture.h"

namespace {

using Member = HostRecordStore::Member;
using Base = HostRecordStore::Base;

class FormatTypeTest : public TreeTest {
protected:
    // Sets the virtual-table pointer flag on the first member of a class.
    void markVirtualTablePointer(TYPE_INDEX cls)
    {
        const TNtypeListNode* node = host.records().type(host.records().type(cls)->klass.fieldList)->list.first.types;
        while (host.records().type(node->type)->leaf != TE_MEMBER)
            node = node->next;
        host.records().type(node->type)->member.flags |= TNclassmember_VirtualTablePointer;
    }

    // The field entry of a class named name.
    TNclassmember& field(TYPE_INDEX cls, const std::string& name)
    {
        for (const TNtypeListNode* n = host.records().type(host.records().type(cls)->klass.fieldList)->list.first.types;
             n != nullptr; n = n->next) {
            _TYPE_ENTRY* e = host.records().type(n->type);
            if (e->leaf == TE_MEMBER && name == e->member.name)
                return e->member;
        }
        throw std::logic_error("no field " + name);
    }

    static std::string className(const TypeItem& type)
    {
        const _TYPE_ENTRY* e = type.typeEntry();
        return e != nullptr && isClassLeaf(e->leaf) && e->klass.name != nullptr ? e->klass.name : "";
    }

    struct Child {
        std::string name;
        bool isBase;
        bool isStatic;
        std::int64_t offset;
    };
    static std::vector<Child> childrenOf(const TreeNode& node)
    {
        std::vector<Child> out;
        for (const UpdateTreeNode* c = node.firstChild(); c != nullptr; c = c->nextSibling())
            out.push_back({text(c->name()), (c->flags() & TreeNode::flagBaseClass) != 0,
                           (c->flags() & TreeNode::flagStaticMember) != 0, c->offset()});
        return out;
    }
};

TEST_F(FormatTypeTest, ObjectOfADerivedClassIsShownWholeFromItsStart)
{
    // class Derived : Other, Base: the Base part lies 8 bytes into the
    // object; p points at it.
    Member vptr{.name = "__vptr", .type = TYPE_INDEX{0, 183}, .offset = 0};
    Member x{.name = "x", .type = TYPE_INDEX{0, 130}, .offset = 4};
    const TYPE_INDEX base =
        host.records().classType({.name = "Base", .byteSize = 8, .isStruct = false, .members = {vptr, x}});
    markVirtualTablePointer(base);
    Member o{.name = "o", .type = TYPE_INDEX{0, 130}, .offset = 0};
    const TYPE_INDEX other = host.records().classType({.name = "Other", .byteSize = 8, .members = {o}});
    Member y{.name = "y", .type = TYPE_INDEX{0, 130}, .offset = 16};
    host.records().classType(
        {.name = "Derived", .byteSize = 24, .isStruct = false, .bases = {{other, 0}, {base, 8}}, .members = {y}});

    host.memory().storeBigEndian(0x500, 0x1008, 4);  // p
    host.memory().storeBigEndian(0x1000, 0x11, 4);   // o
    host.memory().storeBigEndian(0x1008, 0x2008, 4); // the virtual-table pointer
    host.memory().storeBigEndian(0x100C, 7, 4);      // x
    host.memory().storeBigEndian(0x1010, 9, 4);      // y
    host.memory().storeBigEndian(0x1014, 0, 4);      // padding
    host.memory().storeBigEndian(0x1004, 0, 4);
    host.memory().storeBigEndian(0x2004, 0x3000, 4); // slot -1: type information
    host.memory().storeBigEndian(0x3004, 0x4000, 4); // its name pointer
    host.memory().store(0x4000, "7Derived", 9);

    auto p = root(TypeItem(host.records().pointerType(base, 4)), "p");
    ASSERT_TRUE(p->loadAt(0x500));
    unsigned count = 0;
    ASSERT_EQ(p->TreeNode::QueryStructInfo(count, p->dataType()), 0);
    ASSERT_EQ(count, 1u);
    UpdateTreeNode* target = p->firstChild();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(className(target->formatType()), "Base");
    Reference<UpdateTreeNode> stale(child(*target, TypeItem(130u), "stale", 0));

    target->fixFormatType();
    EXPECT_EQ(className(target->formatType()), "Derived");
    EXPECT_TRUE(target->formatTypeChanged());
    EXPECT_EQ(target->location().address().addr(), 0x1000u) << "moved back by the base's offset";
    EXPECT_TRUE(stale->isDetached()) << "the children of the former type are gone";
    EXPECT_TRUE(target->isLoaded());
    ASSERT_NE(target->ownBuffer(), nullptr);
    EXPECT_EQ(target->ownBufferLength(), 24u) << "the whole derived object is read";

    // The children of the derived class: two base-class nodes, one member
    // read from the object's start.
    unsigned members = 0, bases = 0;
    TYPE_INDEX index{};
    ASSERT_EQ(target->QueryClassInfo(members, bases, index), 0);
    EXPECT_EQ(members, 1u);
    EXPECT_EQ(bases, 2u);
    EXPECT_TRUE(typeIndexEqual(index, target->dataType().typeIndex().typeIndex()));
    UpdateTreeNode* memberY = nullptr;
    unsigned char* name = nullptr;
    ASSERT_EQ(target->QueryClassDataMemInfo(1, memberY, name), 0);
    EXPECT_EQ(text(name), "y");
    ASSERT_TRUE(memberY->loadThisNode(TreeNode::loadNode));
    const unsigned char* bytes = memberY->evaluationBuffer();
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 4), (std::vector<unsigned char>{0, 0, 0, 9}));

    // The base classes in order, unnamed, flags 0; none at 0 or past the
    // last.
    const char* expected[] = {"Other", "Base"};
    for (unsigned n = 1; n <= 2; ++n) {
        UpdateTreeNode* node = nullptr;
        unsigned flags = 99;
        ASSERT_EQ(target->QueryClassBaseClassInfo(n, node, name, flags), 0) << n;
        EXPECT_EQ(className(node->dataType()), expected[n - 1]);
        EXPECT_EQ(text(name), "");
        EXPECT_EQ(flags, 0u);
        // A base-class node keeps its type whatever its object.
        node->fixFormatType();
        EXPECT_EQ(className(node->formatType()), expected[n - 1]);
    }
    for (unsigned n : {0u, 3u}) {
        UpdateTreeNode* node = nullptr;
        unsigned flags = 0;
        EXPECT_EQ(target->QueryClassBaseClassInfo(n, node, name, flags), 10000) << n;
    }

    // Already the dynamic class: nothing moves, the children stay.
    UpdateTreeNode* first = target->firstChild();
    target->fixFormatType();
    EXPECT_EQ(target->location().address().addr(), 0x1000u);
    EXPECT_EQ(target->firstChild(), first);
}

TEST_F(FormatTypeTest, ClassChildrenByKindOfField)
{
    const TYPE_INDEX part = host.records().classType({.name = "Part", .byteSize = 4});
    Member a{.name = "a", .type = TYPE_INDEX{0, 130}, .offset = 0};
    Member level{.name = "NAME", .type = TYPE_INDEX{0, 130}, .offset = 4, .levelNumber = 5};
    Member hidden{.name = "__vbase", .type = TYPE_INDEX{0, 130}, .offset = 8};
    Member byLink{.name = "count", .type = TYPE_INDEX{0, 130}, .isStatic = true, .storageName = "Rec_count"};
    Member lost{.name = "lost", .type = TYPE_INDEX{0, 130}, .location = dwarf::Builder().constU(40).bytes()};
    Member byDwarf{.name = "shared", .type = TYPE_INDEX{0, 130}, .location = dwarf::Builder().addr(0x6100, 4).bytes()};
    Member placed{.name = "d", .type = TYPE_INDEX{0, 130}, .location = dwarf::Builder().constU(12).bytes()};
    Member negative{.name = "n", .type = TYPE_INDEX{0, 130}, .location = dwarf::Builder().constS(-4).bytes()};
    const TYPE_INDEX rec =
        host.records().classType({.name = "Rec",
                                  .byteSize = 16,
                                  .bases = {{part, 0}, {TYPE_INDEX{0, 130}, 0}},
                                  .members = {a, level, hidden, byLink, lost, byDwarf, placed, negative}});
    field(rec, "__vbase").flags |= TNclassmember_VirtualBasePointer;
    field(rec, "shared").flags |= TNclassmember_Static;
    host.setLinkAddress("Rec_count", 0, EE_ADDR{32, 0x6000, 0});
    // The first location expression evaluated (the member "lost") fails as
    // a subscript out of bounds.
    host.failSlot(HS_Expr2ComputeAbsDWARFaddress, 26);
    host.failSlot(HS_Expr2ComputeDWARFaddress, 26);

    auto r = root(TypeItem(rec), "r");
    unsigned members = 0, bases = 0;
    TYPE_INDEX index{};
    ASSERT_EQ(r->QueryClassInfo(members, bases, index), 0);
    EXPECT_EQ(bases, 1u) << "a base that is no class makes no node";
    EXPECT_EQ(members, 7u);
    const std::vector<Child> expected = {
        {"", true, false, 0},     {"a", false, false, 0},     {"05 NAME", false, false, 4}, {"count", false, true, 0},
        {"lost", false, true, 0}, {"shared", false, true, 0}, {"d", false, false, 12},      {"n", false, false, -4},
    };
    const std::vector<Child> made = childrenOf(*r);
    ASSERT_EQ(made.size(), expected.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(made[i].name, expected[i].name) << i;
        EXPECT_EQ(made[i].isBase, expected[i].isBase) << i;
        EXPECT_EQ(made[i].isStatic, expected[i].isStatic) << i;
        EXPECT_EQ(made[i].offset, expected[i].offset) << i;
    }
    // Static members are loaded from their own addresses.
    struct Static {
        const char* name;
        std::uint64_t address;
    } statics[] = {{"count", 0x6000}, {"lost", 0}, {"shared", 0x6100}};
    for (UpdateTreeNode* c = r->firstChild(); c != nullptr; c = c->nextSibling()) {
        for (const Static& s : statics) {
            if (text(c->name()) != s.name)
                continue;
            c->loadThisNode(TreeNode::loadNode);
            EXPECT_EQ(c->location().address().addr(), s.address) << s.name;
        }
    }
    // Asked again, the children are counted, not made again.
    UpdateTreeNode* first = r->firstChild();
    ASSERT_EQ(r->QueryClassInfo(members, bases, index), 0);
    EXPECT_EQ(r->firstChild(), first);
    EXPECT_EQ(members + bases, 8u);

    // Without the locals switch static members get no node.
    rep().setLocalsOption(false);
    auto plain = root(TypeItem(rec), "q");
    ASSERT_EQ(plain->QueryClassInfo(members, bases, index), 0);
    EXPECT_EQ(members, 5u) << "a, 05 NAME, lost (now placed), d, n";

    // Not a class: 10000.
    auto scalar = root(TypeItem(130u), "i");
    EXPECT_EQ(scalar->QueryClassInfo(members, bases, index), 10000);
}

TEST_F(FormatTypeTest, AReferenceToAClassIsQueriedAsTheClass)
{
    Member a{.name = "a", .type = TYPE_INDEX{0, 130}, .offset = 0};
    const TYPE_INDEX cls = host.records().classType({.name = "C", .byteSize = 4, .members = {a}});
    auto r = root(TypeItem(host.records().referenceType(cls)), "r");
    EXPECT_EQ(className(r->formatType()), "C") << "the format type of a reference is what it refers to";
    unsigned members = 0, bases = 0;
    TYPE_INDEX index{};
    ASSERT_EQ(r->QueryClassInfo(members, bases, index), 0);
    EXPECT_EQ(members, 1u);
    EXPECT_NE(r->flags() & TreeNode::flagReference, 0);
}

TEST_F(FormatTypeTest, ResultTypeAndMembersAreThoseOfTheFormatType)
{
    int deletions = 0;
    CountingItem item(rep(), deletions, 4);
    auto v = root(sqlType(484, 0x00070502), "AMOUNT");
    unsigned short count = 0, defaultIndex = 9, dataType = 0, length = 0;
    unsigned short* results = nullptr;
    unsigned short* reps = nullptr;
    unsigned char* name = nullptr;
    ASSERT_EQ(v->QueryResultType(item, count, results, reps, defaultIndex, name, dataType, length), 0);
    EXPECT_EQ(dataType, 9);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(length, 0x0502);
    EXPECT_EQ(name, v->typeName().data());

    auto sqlca = root(sqlType(1000, 136), "SQLCA");
    unsigned members = 0;
    ASSERT_EQ(sqlca->QueryStructInfo(members), 0);
    EXPECT_EQ(members, 9u);

    // The formatted value stays with the node.
    const unsigned char shown[] = "1234.5";
    const char* kept = v->setFormattedValue(ByteString(shown, 6));
    EXPECT_STREQ(kept, "1234.5");
    EXPECT_EQ(kept, reinterpret_cast<const char*>(v->formattedValue().data()));
}

class DyingNode : public UpdateTreeNode {
public:
    DyingNode(bool& gone) : UpdateTreeNode(TypeItem(130u), "x", 0), gone_(gone) {}
    ~DyingNode() override { gone_ = true; }

private:
    bool& gone_;
};

TEST_F(FormatTypeTest, TheLastReferenceDestroysTheNode)
{
    bool gone = false;
    auto* node = new DyingNode(gone);
    node->addReference();
    node->addReference();
    node->removeReference();
    EXPECT_FALSE(gone);
    EXPECT_EQ(node->referenceCount(), 1u);
    node->removeReference();
    EXPECT_TRUE(gone);
}

} // namespace
