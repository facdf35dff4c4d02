// Symbol lists: entries with their qualifier chains, iterators, moving
// entries between lists, the per-name map, and cyclic owner chains.

#include "SymbolsFixture.h"
#include "types/SymbolList.h"
#include "types/SymbolListEntry.h"
#include "types/SymbolListMap.h"

namespace {

class SymbolListTest : public SymbolsTest {
protected:
    SymbolItem& make(const char* name, SymbolItem* owner = nullptr)
    {
        SymbolItem* s = new SymbolItem(name, *scope);
        scope->addSymbol(*s);
        s->setOwnerSymbol(owner);
        return *s;
    }
};

TEST_F(SymbolListTest, IteratorsNeedAStart)
{
    SymbolList list;
    EXPECT_EQ(list.setIteratorToFront(), nullptr);
    EXPECT_EQ(list.advanceIterator(), nullptr);
    SymbolItem& a = make("A");
    SymbolItem& b = make("B");
    list.addEntry(a);
    list.addEntry(b);
    // Advancing before the start gives null.
    EXPECT_EQ(list.advanceIterator(), nullptr);
    ASSERT_NE(list.setIteratorToFront(), nullptr);
    EXPECT_EQ(list.setIteratorToFront()->getSymbol(), &a);
    EXPECT_EQ(list.advanceIterator()->getSymbol(), &b);
    EXPECT_EQ(list.advanceIterator(), nullptr);
    EXPECT_EQ(list.advanceIterator(), nullptr);
    EXPECT_EQ(list.setIteratorToFront()->getSymbol(), &a);

    SymbolListEntry entry(a);
    EXPECT_EQ(entry.setIteratorToClosestQualifier(), nullptr);
    EXPECT_EQ(entry.advanceIteratorToNextQualifier(), nullptr);
    EXPECT_EQ(entry.outermostQualifier(), nullptr);
    entry.addQualifier(b);
    EXPECT_EQ(entry.advanceIteratorToNextQualifier(), nullptr);
    EXPECT_EQ(entry.setIteratorToClosestQualifier(), &b);
    EXPECT_EQ(entry.advanceIteratorToNextQualifier(), nullptr);
    EXPECT_EQ(entry.advanceIteratorToNextQualifier(), nullptr);
}

TEST_F(SymbolListTest, OwnerChainsBecomeQualifiers)
{
    // ITEM inside GROUP inside RECORD, told by owner symbols.
    SymbolItem& record = make("RECORD");
    SymbolItem& group = make("GROUP", &record);
    SymbolItem& item = make("ITEM", &group);
    group.setDataType(TypeItem(records().arrayType(TYPE_INDEX{0, 130}, 40)));
    record.setAttributeD(false);

    SymbolList list;
    list.addEntry(item);
    SymbolListEntry* e = list.setIteratorToFront();
    ASSERT_EQ(e->numberOfQualifiers(), 2u);
    EXPECT_EQ(e->qualifier(0), &group);
    EXPECT_EQ(e->qualifier(1), &record);
    EXPECT_EQ(e->outermostQualifier(), &record);
    EXPECT_EQ(item.arrayQualifiers(), 1u);
    // Attribute D of the last qualifier added.
    EXPECT_FALSE(item.attributeD());

    // A qualifier added to every entry brings its own chain.
    SymbolItem& other = make("OTHER");
    SymbolItem& outer = make("OUTER");
    SymbolItem& middle = make("MIDDLE", &outer);
    list.addEntry(other);
    list.addQualifierToAllEntries(middle);
    EXPECT_EQ(e->numberOfQualifiers(), 4u);
    EXPECT_EQ(e->outermostQualifier(), &outer);
    SymbolListEntry* second = list.advanceIterator();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->numberOfQualifiers(), 2u);
    EXPECT_EQ(second->qualifier(0), &middle);
}

TEST_F(SymbolListTest, CyclicOwnerChainIsAnError)
{
    SymbolItem& a = make("A");
    SymbolItem& b = make("B", &a);
    a.setOwnerSymbol(&b);
    SymbolItem& s = make("S", &a);
    SymbolList list;
    EXPECT_EQ(symbolsInvalidOpCode([&] { list.addEntry(s); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(list.count(), 0u);
    SymbolListEntry entry(s);
    EXPECT_EQ(symbolsInvalidOpCode([&] { entry.addQualifier(b); }), InvalidOp::RTRC_Other);
    a.setOwnerSymbol(nullptr);
}

TEST_F(SymbolListTest, AppendMovesEntries)
{
    SymbolList first, second;
    first.addEntry(make("A"));
    second.addEntry(make("B"));
    second.addEntry(make("C"));
    ASSERT_NE(second.setIteratorToFront(), nullptr);
    first.append(second);
    EXPECT_EQ(first.count(), 3u);
    EXPECT_EQ(second.count(), 0u);
    EXPECT_EQ(second.setIteratorToFront(), nullptr);
    EXPECT_EQ(second.advanceIterator(), nullptr);
    EXPECT_STREQ(first.entry(2)->getSymbol()->name(), "C");
    first.append(first);
    EXPECT_EQ(first.count(), 3u);
}

TEST_F(SymbolListTest, MapKeepsOneListPerName)
{
    SymbolListMap map;
    EXPECT_EQ(map.findOrCreateList(nullptr), nullptr);
    EXPECT_EQ(map.findOrCreateList(""), nullptr);
    SymbolList* list = map.findOrCreateList("X");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(map.findOrCreateList("X"), list);
    EXPECT_NE(map.findOrCreateList("x"), list);
    EXPECT_EQ(map.size(), 2u);

    SymbolList* replacement = new SymbolList;
    map.add("X", *replacement);
    EXPECT_EQ(map.findOrCreateList("X"), replacement);
    map.add("", *replacement);
    map.remove("X");
    map.remove("unknown");
    map.remove(nullptr);
    EXPECT_EQ(map.size(), 1u);
    ASSERT_NE(map.findOrCreateList("X"), nullptr);
    EXPECT_EQ(map.size(), 2u);
}

} // namespace
