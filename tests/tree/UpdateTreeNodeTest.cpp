#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/StackItemComplexFloat.h"
#include "machine/StackItemDecimalFloat.h"
#include "tree/UpdateFixture.h"
#include "types/Extended12.h"

namespace {

class UpdateTreeNodeTest : public UpdateTest {};

// Every primitive type takes the texts a C compiler assigns to a big-endian
// field of that type, byte for byte (the table of gen/gen_c_updates.py).
TEST_F(UpdateTreeNodeTest, CUpdatesWriteWhatACompilerStores)
{
    const auto rows = table("c_updates.tsv");
    ASSERT_GT(rows.size(), 300u);
    std::uint64_t address = 0x10000;
    for (const auto& row : rows) {
        const unsigned index = static_cast<unsigned>(std::stoul(row[0]));
        const std::vector<std::uint8_t> expected = fromHex(row[2]);
        host.memory().fill(address, expected.size() + 2, 0xEE);
        auto node = at(TypeItem(index), address);
        EXPECT_EQ(update(*node, row[1]), 0) << index << " " << row[1];
        EXPECT_EQ(memory(address, static_cast<std::uint32_t>(expected.size())), expected) << index << " " << row[1];
        // Nothing past the value is touched.
        EXPECT_EQ(memory(address + expected.size(), 2), (std::vector<std::uint8_t>{0xEE, 0xEE})) << index;
        address += 0x40;
    }
    EXPECT_TRUE(road.balanced());
}

}  // namespace
