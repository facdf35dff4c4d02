// The keyed hash table with keys crafted to fall into chosen buckets: the
// one chain, the runs of buckets, equal keys and the one-entry cache.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compiler/EE_KeyedHashTable.h"

namespace {

struct Element : EE_Link<Element> {
    explicit Element(const void* k, std::string n) : key(k), name(std::move(n)) {}
    const void* tableKey() const { return key; }
    const void* key;
    std::string name;
};

using Table = EE_KeyedHashTable<Element, const void*, 97>;

// A key that hashes to bucket b; n tells keys of one bucket apart. Keys are
// never dereferenced.
const void* keyIn(unsigned bucket, unsigned n)
{
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>((bucket + 97u * n) << 3));
}

std::vector<std::string> chain(const Table& table)
{
    std::vector<std::string> names;
    for (const Element* e = table.first(); e != nullptr; e = e->nextLink)
        names.push_back(e->name);
    return names;
}

TEST(KeyedHashTable, HashIsTheAddressShiftedRightByThreeModuloTheBuckets)
{
    EXPECT_EQ(Table::bucketOf(keyIn(5, 0)), 5u);
    EXPECT_EQ(Table::bucketOf(keyIn(5, 3)), 5u);
#if UINTPTR_MAX > 0xFFFFFFFFu
    // The whole address counts, not a 32-bit cut of it.
    const std::uintptr_t high = (std::uintptr_t(1) << 40) + (7u << 3);
    const void* wide = reinterpret_cast<const void*>(high);
    EXPECT_EQ(Table::bucketOf(wide), (high >> 3) % 97);
    EXPECT_NE(Table::bucketOf(wide), Table::bucketOf(reinterpret_cast<const void*>(high & 0xFFFFFFFFu)));
#endif
}

TEST(KeyedHashTable, RunsChainNewestBucketFirstAndKeepTheirElementsTogether)
{
    Table table;
    Element a1(keyIn(3, 0), "a1"), b1(keyIn(8, 0), "b1"), a2(keyIn(3, 1), "a2"), c1(keyIn(50, 0), "c1"),
        b2(keyIn(8, 1), "b2");
    for (Element* e : {&a1, &b1, &a2, &c1, &b2})
        table.add(*e);
    // c's run was started last; a new element leads its own run.
    EXPECT_EQ(chain(table), (std::vector<std::string>{"c1", "b2", "b1", "a2", "a1"}));
    for (Element* e : {&a1, &b1, &a2, &c1, &b2}) {
        SCOPED_TRACE(e->name);
        Table fresh = table; // no cache help
        EXPECT_EQ(fresh.find(e->key), e);
    }
}

TEST(KeyedHashTable, EqualKeysAreFoundNewestFirst)
{
    Table table;
    const void* k = keyIn(11, 0);
    Element first(k, "first"), other(keyIn(11, 1), "other"), second(k, "second"), third(k, "third");
    table.add(first);
    table.add(other);  // leads the run: other, first
    table.add(second); // an equal key behind the run's first: just before it
    EXPECT_EQ(chain(table), (std::vector<std::string>{"other", "second", "first"}));
    table.add(third);
    EXPECT_EQ(chain(table), (std::vector<std::string>{"other", "third", "second", "first"}));
    Table fresh = table;
    EXPECT_EQ(fresh.find(k), &third);
}

TEST(KeyedHashTable, AKeyOfAnotherBucketEndsTheWalk)
{
    Table table;
    Element x(keyIn(20, 0), "x"), y(keyIn(40, 0), "y");
    table.add(x);
    table.add(y); // chain: y, x
    // Bucket 40's run is followed by bucket 20's; a missing key of bucket 40
    // stops at x rather than walking on.
    EXPECT_EQ(table.find(keyIn(40, 5)), nullptr);
    EXPECT_EQ(table.find(keyIn(20, 5)), nullptr);
    EXPECT_EQ(table.find(keyIn(60, 0)), nullptr);
    EXPECT_EQ(table.find(x.key), &x);
}

TEST(KeyedHashTable, TheCacheAnswersRepeats)
{
    Table table;
    Element e(keyIn(2, 0), "e");
    table.add(e);
    EXPECT_EQ(table.find(e.key), &e);
    // Even a key unknown to the walk is answered from the cache once cached:
    // the element itself moved out of its bucket's reach.
    e.key = keyIn(3, 0);
    EXPECT_EQ(table.find(keyIn(2, 0)), &e);
    EXPECT_EQ(table.find(keyIn(4, 0)), nullptr);
    // A fresh table's empty cache answers no key, not even null.
    Table empty;
    EXPECT_EQ(empty.find(nullptr), nullptr);
}

TEST(KeyedHashTable, ElementsInsertedInFrontOfARunKeepTheChainWhole)
{
    // A run in the middle of the chain gains a new first element: the
    // element that preceded the run must lead to it.
    Table table;
    Element a(keyIn(1, 0), "a"), b(keyIn(2, 0), "b"), c(keyIn(3, 0), "c"), b2(keyIn(2, 1), "b2");
    for (Element* e : {&a, &b, &c, &b2})
        table.add(*e);
    EXPECT_EQ(chain(table), (std::vector<std::string>{"c", "b2", "b", "a"}));
    Table fresh = table;
    EXPECT_EQ(fresh.find(a.key), &a);
    EXPECT_EQ(fresh.find(b.key), &b);
}

} // namespace
