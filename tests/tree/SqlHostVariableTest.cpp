#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tree/SqlHostVariable.h"
#include "tree/TreeFixture.h"
#include "types/SqlTypeEntry.h"
#include "types/SqlTypeRegistry.h"

namespace {

TEST(SqlByteSizeTest, SizeByCodeFamily)
{
    struct Case {
        int code;
        unsigned length;
        std::uint64_t size;
    } cases[] = {
        {404, 10, 14},
        {405, 10, 14},
        {408, 0, 4},
        {904, 7, 11},
        {905, 7, 11},
        {412, 10, 24},
        {413, 0, 4},
        {448, 10, 12},
        {449, 10, 12},
        {456, 1, 3},
        {457, 1, 3},
        {908, 5, 7},
        {909, 5, 7},
        {65984, 255, 257},
        {464, 10, 22},
        {465, 10, 22},
        {472, 3, 8},
        {473, 3, 8},
        {468, 10, 20},
        {469, 10, 20},
        // Packed: precision in the high byte of the low 16 bits.
        {484, 0x0502, 3},
        {485, 0x0400, 3},
        {484, 0x1F00, 16},
        {484, 0xFFFF0502, 3},
        // Zoned: precision + 1 (the sign byte).
        {504, 0x0502, 6},
        {505, 0x0100, 2},
        {452, 70, 70},
        {496, 4, 4},
        {480, 8, 8},
        {1000, 136, 136},
        {494, 4, 4},
        // 64-bit: no length wraps the size.
        {412, 0xFFFFFFFFu, 2ull * 0xFFFFFFFFull + 4},
        {404, 0xFFFFFFFFu, 0xFFFFFFFFull + 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sqlByteSize(c.code, c.length), c.size) << c.code << " length " << c.length;
}

TEST(SimpleNameTest, IdentifiersWithSubscriptsAreSimple)
{
    struct Case {
        const char* name;
        bool simple;
    } cases[] = {
        {"", true},           {"p", true},   {"A_b$9@#", true}, {"T(3)", true},      {"T(I+1)", true}, {"(a+b)", true},
        {"T(f(1))(2)", true}, {"a(b", true}, {"a+b", false},    {"(a)+b", false},    {"a.b", false},   {"a[1]", false},
        {"a b", false},       {"*p", false}, {"a->b", false},   {"(x)(y)-1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(simpleName(reinterpret_cast<const unsigned char*>(c.name)), c.simple) << c.name;
}

TEST(SqlTypeEntryTest, FortyByteLayoutFieldByField)
{
    SqlTypeEntry e;
    e.setSqlType(452)
        .setLength(70)
        .setMaxLength(80)
        .setAddress(0x1122334455667788ull)
        .setAddressWidth(8)
        .setElementCount(-1)
        .setCcsid(1200);
    std::uint32_t word;
    std::memcpy(&word, e.bytes(), 4);
    EXPECT_EQ(word, 89u);
    std::memcpy(&word, e.bytes() + 8, 4);
    EXPECT_EQ(word, 452u);
    std::memcpy(&word, e.bytes() + 12, 4);
    EXPECT_EQ(word, 70u);
    std::memcpy(&word, e.bytes() + 16, 4);
    EXPECT_EQ(word, 80u);
    std::uint64_t address;
    std::memcpy(&address, e.bytes() + 20, 8);
    EXPECT_EQ(address, 0x1122334455667788ull);
    std::memcpy(&word, e.bytes() + 28, 4);
    EXPECT_EQ(word, 8u);
    std::int32_t count;
    std::memcpy(&count, e.bytes() + 32, 4);
    EXPECT_EQ(count, -1);
    std::uint16_t ccsid;
    std::memcpy(&ccsid, e.bytes() + 36, 2);
    EXPECT_EQ(ccsid, 1200);
    EXPECT_EQ(e.asTypeEntry()->leaf, 89u);

    // Read back through a copy made from the type entry.
    SqlTypeEntry copy(*e.asTypeEntry());
    EXPECT_EQ(copy.address(), 0x1122334455667788ull);
    EXPECT_EQ(copy.elementCount(), -1);
    EXPECT_EQ(copy.ccsid(), 1200);
}

class SqlRegistryTest : public TreeTest {};

TEST_F(SqlRegistryTest, TypeItemsFindTheEntryWhileItsOwnerLives)
{
    SqlTypeEntry record;
    record.setSqlType(496).setLength(4);
    TYPE_INDEX index{};
    {
        auto owner = SqlTypeRegistry::add(record);
        index = owner->typeIndex();
        EXPECT_EQ(index.module, SqlTypeRegistry::module);
        // A type made from the index alone reaches the entry through the
        // registry, without asking the host.
        host.clearCalls();
        TypeItem type(index);
        ASSERT_NE(type.typeEntry(), nullptr);
        EXPECT_EQ(SqlTypeEntry(*type.typeEntry()).sqlType(), 496u);
        EXPECT_EQ(host.callCount(HS_ExprGetTypeEntry), 0u);
        // A copy carries the entry.
        TypeItem copy(owner->typeItem());
        EXPECT_EQ(copy.typeEntry(), owner->entry().asTypeEntry());
        auto other = SqlTypeRegistry::add(record);
        EXPECT_NE(other->typeIndex().index, index.index);
    }
    EXPECT_EQ(SqlTypeRegistry::find(index), nullptr);
    EXPECT_EQ(TypeItem(index).typeEntry(), nullptr);
}

TEST(SqlRegistryThreadsTest, RegistrationsOnSeveralThreadsGetDistinctIndexes)
{
    const std::size_t before = SqlTypeRegistry::size();
    std::vector<std::vector<std::uint32_t>> serials(4);
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < serials.size(); ++t) {
        threads.emplace_back([&serials, t] {
            SqlTypeEntry record;
            record.setSqlType(452).setLength(t + 1);
            std::vector<std::unique_ptr<SqlTypeRegistry::Registration>> held;
            for (int i = 0; i < 200; ++i) {
                held.push_back(SqlTypeRegistry::add(record));
                serials[t].push_back(held.back()->typeIndex().index);
                if (SqlTypeRegistry::find(held.back()->typeIndex()) != held.back()->entry().asTypeEntry())
                    serials[t].push_back(0);
            }
        });
    }
    for (auto& t : threads)
        t.join();
    std::vector<std::uint32_t> all;
    for (auto& s : serials)
        all.insert(all.end(), s.begin(), s.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    EXPECT_EQ(all.size(), 800u);
    EXPECT_EQ(all.front() != 0, true);
    EXPECT_EQ(SqlTypeRegistry::size(), before);
}

} // namespace
