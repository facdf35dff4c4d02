#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/StackItem.h"
#include "testhost/inprocess/CountingItem.h"
#include "tree/DebugType.h"
#include "tree/TreeFixture.h"
#include "types/SqlTypeEntry.h"

namespace {

class TreeNodeTest : public TreeTest {
protected:
    static SqlTypeEntry entryOf(const TreeNode& node) { return SqlTypeEntry(*node.dataType().typeEntry()); }
};

TEST_F(TreeNodeTest, ArrayElementsAreMadeOnceAtTheirOffsets)
{
    auto t = root(sqlType(496, 4, 4), "T");
    unsigned count = 0;
    int flag = 0;
    ASSERT_EQ(t->QueryArrayInfo(count, flag), 0);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(flag, 1);

    UpdateTreeNode* third = nullptr;
    ASSERT_EQ(t->QueryArrayElementInfo(3, third), 0);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(text(third->name()), "T(3)");
    EXPECT_EQ(third->offset(), 8);
    EXPECT_EQ(third->elementIndex(), 3u);
    EXPECT_EQ(entryOf(*third).elementCount(), 0);
    EXPECT_EQ(entryOf(*third).sqlType(), 496u);
    EXPECT_EQ(third->parent(), t.get());

    UpdateTreeNode* again = nullptr;
    ASSERT_EQ(t->QueryArrayElementInfo(3, again), 0);
    EXPECT_EQ(again, third);
    EXPECT_EQ(t->childCount(), 1u);

    // Only elements inside the variable exist.
    for (unsigned long long index : {0ull, 5ull, 1ull << 32, ~0ull}) {
        UpdateTreeNode* none = nullptr;
        EXPECT_EQ(t->QueryArrayElementInfo(index, none), 10000) << index;
        EXPECT_EQ(none, nullptr);
    }
    EXPECT_EQ(t->childCount(), 1u);
}

TEST_F(TreeNodeTest, ArrayQueriesRefuseScalarsAndOtherEntries)
{
    struct Case {
        TypeItem type;
    } cases[] = {{sqlType(496, 4, 0)}, {sqlType(452, 8, -3)}, {TypeItem(130u)}};
    for (Case& c : cases) {
        auto node = root(c.type, "A");
        unsigned count = 99;
        int flag = 7;
        UpdateTreeNode* element = nullptr;
        EXPECT_EQ(node->QueryArrayInfo(count, flag), 10000);
        EXPECT_EQ(count, 99u);
        EXPECT_EQ(node->QueryArrayElementInfo(1, element), 10000);
        EXPECT_EQ(element, nullptr);
        EXPECT_EQ(node->childCount(), 0u);
    }
    // A program's array answers with its elements, named as C writes them.
    auto array = root(TypeItem(host.records().arrayType(TYPE_INDEX{0, 130}, 16)), "A");
    unsigned count = 99;
    int flag = 7;
    UpdateTreeNode* element = nullptr;
    EXPECT_EQ(array->QueryArrayInfo(count, flag), 0);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(array->QueryArrayElementInfo(4, element), 0);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(element->memberName())), "A[3]");
    EXPECT_EQ(element->offset(), 12);
    EXPECT_EQ(array->QueryArrayElementInfo(5, element), 10000);
}

TEST_F(TreeNodeTest, ElementOffsetsAre64Bit)
{
    // The last element of a large character array lies beyond 4 GiB.
    auto a = root(sqlType(452, 0x7FFFFFFF, 0x7FFFFFFF), "BIG");
    UpdateTreeNode* last = nullptr;
    ASSERT_EQ(a->QueryArrayElementInfo(0x7FFFFFFF, last), 0);
    EXPECT_EQ(last->offset(), static_cast<std::int64_t>(0x7FFFFFFFll * 0x7FFFFFFEll));
    EXPECT_EQ(text(last->name()), "BIG(2147483647)");
}

TEST_F(TreeNodeTest, SqlcaHasItsNineFields)
{
    SqlTypeEntry record;
    record.setSqlType(1000).setLength(136).setAddress(0x123456789ull).setAddressWidth(8).setCcsid(37);
    auto owner = SqlTypeRegistry::add(record);
    auto sqlca = root(owner->typeItem(), "SQLCA");
    unsigned count = 0;
    ASSERT_EQ(sqlca->QueryStructInfo(count, sqlca->dataType()), 0);
    EXPECT_EQ(count, 9u);
    struct Field {
        const char* name;
        std::uint32_t code;
        std::uint32_t length;
        std::int32_t elements;
        std::int64_t offset;
        std::uint64_t address;
    } fields[] = {
        {"SQLCAID", 452, 8, 0, 0, 0x123456789},      {"SQLCABC", 496, 4, 0, 8, 0x123456789},
        {"SQLCODE", 496, 4, 0, 12, 0x123456789},     {"SQLERRML", 500, 2, 0, 16, 0x123456789},
        {"SQLERRMC", 452, 70, 0, 18, 0x123456789},   {"SQLERRP", 452, 8, 0, 88, 0x123456789},
        {"SQLERRD", 496, 4, 6, 0, 0x123456789 + 96}, {"SQLWARN", 452, 1, 11, 0, 0x123456789 + 120},
        {"SQLSTATE", 452, 5, 0, 131, 0x123456789},
    };
    unsigned i = 0;
    for (UpdateTreeNode* c = sqlca->firstChild(); c != nullptr; c = c->nextSibling(), ++i) {
        ASSERT_LT(i, 9u);
        const Field& f = fields[i];
        SqlTypeEntry e = entryOf(*c);
        EXPECT_EQ(text(c->name()), f.name);
        EXPECT_EQ(e.sqlType(), f.code) << f.name;
        EXPECT_EQ(e.length(), f.length) << f.name;
        EXPECT_EQ(e.maxLength(), f.length) << f.name;
        EXPECT_EQ(e.elementCount(), f.elements) << f.name;
        EXPECT_EQ(c->offset(), f.offset) << f.name;
        EXPECT_EQ(e.address(), f.address) << f.name;
        EXPECT_EQ(e.addressWidth(), 8u);
        EXPECT_EQ(e.ccsid(), 37u);
    }
    EXPECT_EQ(i, 9u);
    ASSERT_EQ(sqlca->QueryStructInfo(count, sqlca->dataType()), 0);
    EXPECT_EQ(count, 9u);
    EXPECT_EQ(sqlca->childCount(), 9u);

    // Members by number.
    UpdateTreeNode* node = nullptr;
    unsigned char* name = nullptr;
    ASSERT_EQ(sqlca->QueryStructElementInfo(3, node, name), 0);
    EXPECT_EQ(text(name), "SQLCODE");
    ASSERT_EQ(sqlca->QueryClassDataMemInfo(9, node, name), 0);
    EXPECT_EQ(text(name), "SQLSTATE");
    EXPECT_EQ(sqlca->QueryStructElementInfo(0, node, name), 10000);
    EXPECT_EQ(sqlca->QueryStructElementInfo(10, node, name), 10000);
    EXPECT_EQ(sqlca->QueryClassDataMemInfo(10, node, name), 10000);
}

TEST_F(TreeNodeTest, FileReferencesAndOtherCodes)
{
    for (unsigned code : {916u, 917u, 920u, 921u, 924u, 925u}) {
        auto file = root(sqlType(code, 267), "F");
        unsigned count = 0;
        ASSERT_EQ(file->QueryStructInfo(count, file->dataType()), 0) << code;
        ASSERT_EQ(count, 3u);
        std::vector<std::string> names;
        std::vector<std::uint32_t> codes, lengths;
        std::vector<std::int64_t> offsets;
        for (UpdateTreeNode* c = file->firstChild(); c != nullptr; c = c->nextSibling()) {
            names.push_back(text(c->name()));
            codes.push_back(entryOf(*c).sqlType());
            lengths.push_back(entryOf(*c).length());
            offsets.push_back(c->offset());
        }
        EXPECT_EQ(names, (std::vector<std::string>{"DATA-LENGTH", "FILE-OPTION", "FILE-NAME"}));
        EXPECT_EQ(codes, (std::vector<std::uint32_t>{496, 496, 65984}));
        EXPECT_EQ(lengths, (std::vector<std::uint32_t>{4, 4, 255}));
        EXPECT_EQ(offsets, (std::vector<std::int64_t>{4, 8, 12}));
    }
    for (unsigned code : {452u, 496u, 0u}) {
        auto scalar = root(sqlType(code, 8), "S");
        unsigned count = 0;
        EXPECT_EQ(scalar->QueryStructInfo(count, scalar->dataType()), 10000) << code;
        EXPECT_EQ(scalar->childCount(), 0u);
    }
    auto plain = root(TypeItem(130u), "i");
    unsigned count = 0;
    EXPECT_EQ(plain->QueryStructInfo(count, plain->dataType()), 10000);
}

TEST_F(TreeNodeTest, PointerTargetsAreNamedForTheLanguage)
{
    const TYPE_INDEX node = host.records().classType({"node", "", 8});
    const TypeItem pointer(host.records().pointerType(node, 4));
    struct Case {
        int language;
        const char* name;
        const char* target;
    } cases[] = {
        {languageC, "p", "*p"},
        {languageC, "a.b", "*(a.b)"},
        {languageC, "T(3)", "*T(3)"},
        {languageC, "q+1", "*(q+1)"},
        {2, "p", "*p"},
        {11, "p", "target of p"},
        {11, "a%b", "target of a%b"},
    };
    for (const Case& c : cases) {
        useRepresentation(c.language, 4);
        auto p = root(pointer, c.name);
        unsigned count = 0;
        ASSERT_EQ(p->QueryStructInfo(count, p->dataType()), 0);
        EXPECT_EQ(count, 1u);
        ASSERT_NE(p->firstChild(), nullptr);
        EXPECT_EQ(text(p->firstChild()->name()), c.target);
        EXPECT_NE(p->flags2() & TreeNode::flag2PointerTargets, 0);
        ASSERT_EQ(p->QueryStructInfo(count, p->dataType()), 0);
        EXPECT_EQ(p->childCount(), 1u);
    }
}

TEST_F(TreeNodeTest, ResultTypeOfAHostVariable)
{
    auto v = root(sqlType(484, 0x00070502), "AMOUNT");
    v->setRank(0);
    TypeItem type = v->dataType();
    unsigned short count = 0, defaultIndex = 9, dataType = 0, length = 0;
    unsigned short* results = nullptr;
    unsigned short* reps = nullptr;
    unsigned char* name = nullptr;
    ASSERT_EQ(v->QueryResultType(type, count, results, reps, defaultIndex, name, 0, dataType, length), 0);
    EXPECT_EQ(dataType, 9);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(reps[0], 2);
    EXPECT_EQ(reps[1], 1);
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(defaultIndex, 0);
    EXPECT_EQ(length, 0x0502);
    EXPECT_EQ(name, v->typeName().data());

    // A program's int: data type 3, decimal first, its size as length.
    auto plain = root(TypeItem(130u), "i");
    TypeItem other = plain->dataType();
    ASSERT_EQ(plain->QueryResultType(other, count, results, reps, defaultIndex, name, 0, dataType, length), 0);
    EXPECT_EQ(dataType, 3);
    EXPECT_EQ(reps[0], 2);
    EXPECT_EQ(length, 4);
}

TEST_F(TreeNodeTest, ActionsAtTheRootFollowTheValidation)
{
    struct Case {
        std::uint16_t validation;
        std::vector<unsigned short> actions;
    } cases[] = {{1000, {2, 0}}, {1001, {2, 0}}, {1003, {2, 0}}, {1002, {0}}, {0, {0}}, {10000, {0}}};
    for (const Case& c : cases) {
        rep().setValidationReturnCode(c.validation);
        auto r = root(sqlType(496, 4, 2), "R");
        const unsigned short* list = r->QueryNodeActions();
        std::vector<unsigned short> got;
        for (unsigned i = 0; i < 3; ++i) {
            got.push_back(list[i]);
            if (list[i] == 0)
                break;
        }
        EXPECT_EQ(got, c.actions) << c.validation;
        UpdateTreeNode* element = nullptr;
        ASSERT_EQ(r->QueryArrayElementInfo(1, element), 0);
        EXPECT_EQ(element->QueryNodeActions()[0], 0) << "only the root offers re-evaluation";
    }
}

TEST_F(TreeNodeTest, WatchDataAndItemAddress)
{
    int deletions = 0;
    CountingItem item(rep(), deletions, 4);
    poke(0x4000, {0, 0, 0, 0});
    item.load(DebuggeeLocation(DebuggeeAddress(0x4000u)));
    auto r = root(TypeItem(host.records().classType({"s", "", 16})), "s");
    UpdateTreeNode* member = child(*r, TypeItem(130u), "m", 8);
    const TypeItem bitType(host.records().integerType(3, true, 2));
    UpdateTreeNode* bits = child(*r, bitType, "b", 12);

    EE_ADDR address{};
    unsigned size = 0;
    ASSERT_EQ(member->watchData(nullptr, item, address, size), 0);
    EXPECT_EQ(DebuggeeAddress(address).addr(), 0x4008u);
    EXPECT_EQ(size, 4u);

    TYPE_INDEX index{};
    ASSERT_EQ(member->calcStackItemAddress(nullptr, item, address, index), 0);
    EXPECT_EQ(DebuggeeAddress(address).addr(), 0x4008u);
    EXPECT_EQ(index.module, 0u);
    EXPECT_EQ(index.index, 130u);
    ASSERT_EQ(bits->calcStackItemAddress(nullptr, item, address, index), 0);
    EXPECT_EQ(index.module, 0u);
    EXPECT_EQ(index.index, 151u);
    EXPECT_EQ(DebuggeeAddress(address).addr(), 0x400Cu);

    CountingItem nowhere(rep(), deletions, 4);
    EXPECT_EQ(member->watchData(nullptr, nowhere, address, size), 10000);
    EXPECT_EQ(member->calcStackItemAddress(nullptr, nowhere, address, index), 10000);
}

TEST_F(TreeNodeTest, ChildHeldByTheHostOutlivesItsParent)
{
    const TypeItem sqlcaType = sqlType(1000, 136);
    const std::size_t entries = SqlTypeRegistry::size();
    UpdateTreeNode* held = nullptr;
    {
        auto sqlca = root(sqlcaType, "SQLCA");
        unsigned count = 0;
        ASSERT_EQ(sqlca->QueryStructInfo(count, sqlca->dataType()), 0);
        UpdateTreeNode* errd = nullptr;
        unsigned char* name = nullptr;
        ASSERT_EQ(sqlca->QueryStructElementInfo(7, errd, name), 0);
        UpdateTreeNode* element = nullptr;
        ASSERT_EQ(errd->QueryArrayElementInfo(2, element), 0);
        held = errd;
        held->addReference(); // the host's reference
        EXPECT_EQ(SqlTypeRegistry::size(), entries + 9 + 1);
    }
    // The parent is gone: the child stands alone and refuses its queries.
    EXPECT_EQ(held->parent(), nullptr);
    EXPECT_TRUE(held->isDetached());
    EXPECT_EQ(held->QueryNodeActions()[0], 0);
    unsigned count = 0;
    int flag = 0;
    EXPECT_EQ(held->QueryArrayInfo(count, flag), 10000);
    UpdateTreeNode* element = nullptr;
    EXPECT_EQ(held->QueryArrayElementInfo(1, element), 10000);
    EXPECT_EQ(held->QueryStructInfo(count, held->dataType()), 10000);
    TypeItem type = held->dataType();
    unsigned short c = 0, d = 0, t = 0, l = 0;
    unsigned short *results = nullptr, *reps = nullptr;
    unsigned char* name = nullptr;
    EXPECT_EQ(held->QueryResultType(type, c, results, reps, d, name, 0, t, l), 10000);
    EXPECT_EQ(raisedCode([&] { held->loadThisNode(TreeNode::loadNode); }), InvalidOp::RTRC_Other);
    // Its own child still hangs below it; its entry lives as long as it.
    EXPECT_EQ(held->childCount(), 1u);
    EXPECT_EQ(SqlTypeRegistry::size(), entries + 2);
    held->removeReference();
    EXPECT_EQ(SqlTypeRegistry::size(), entries);
}

TEST_F(TreeNodeTest, RemovedChildrenLoseTheirParentLinks)
{
    auto t = root(sqlType(496, 4, 3), "T");
    UpdateTreeNode* first = nullptr;
    UpdateTreeNode* second = nullptr;
    ASSERT_EQ(t->QueryArrayElementInfo(1, first), 0);
    ASSERT_EQ(t->QueryArrayElementInfo(2, second), 0);
    Reference<UpdateTreeNode> keep(second);
    EXPECT_EQ(t->nextNode(), first);
    EXPECT_EQ(first->nextNode(), second);
    EXPECT_EQ(second->nextNode(), nullptr);
    t->removeChildren();
    EXPECT_EQ(t->childCount(), 0u);
    EXPECT_EQ(keep->parent(), nullptr);
    EXPECT_TRUE(keep->isDetached());
    EXPECT_EQ(keep->nextSibling(), nullptr);
    // Asking again makes a fresh element.
    UpdateTreeNode* again = nullptr;
    ASSERT_EQ(t->QueryArrayElementInfo(2, again), 0);
    EXPECT_NE(again, keep.get());
}

TEST_F(TreeNodeTest, ArrayTypeOfANode)
{
    HostRecordStore& records = host.records();
    const TYPE_INDEX klass = records.classType({"k", "", 4});
    const TYPE_INDEX array = records.arrayType(TYPE_INDEX{0, 130}, 16);
    TYPE_INDEX table{};
    records.newType(TE_COBOL_TABLE, &table).cobolTable.elementType = TYPE_INDEX{0, 130};
    struct Case {
        TYPE_INDEX type;
        std::uint32_t leaf; // 0: refused
    } cases[] = {
        {array, TE_ARRAY},
        {records.referenceType(array), TE_ARRAY},
        {table, TE_COBOL_TABLE},
        {records.pointerType(klass, 4), TE_POINTER},
        {klass, 0},
        {TYPE_INDEX{0, 130}, 0},
    };
    for (const Case& c : cases) {
        auto n = root(TypeItem(c.type), "n");
        if (c.leaf == 0) {
            EXPECT_EQ(raisedCode([&] { n->QueryArrayType(); }), InvalidOp::RTRC_Other);
        } else {
            EXPECT_EQ(n->QueryArrayType(), c.leaf);
        }
    }
}

TEST_F(TreeNodeTest, ReferenceCountsDestroyAtZero)
{
    int deleted = 0;
    struct Probe : UpdateTreeNode {
        Probe(int& d) : UpdateTreeNode(TypeItem(130u), "x", 0), d_(d) {}
        ~Probe() override { ++d_; }
        int& d_;
    };
    auto* p = new Probe(deleted);
    p->addReference();
    p->addReference();
    p->removeReference();
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(p->referenceCount(), 1u);
    p->removeReference();
    EXPECT_EQ(deleted, 1);
}

} // namespace
