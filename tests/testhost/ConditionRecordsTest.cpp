#include <gtest/gtest.h>

#include "HostRecordAccess.h"
#include "testhost/HostRecordStore.h"

namespace {

// A condition name's table as the evaluator reads it: counts, values and
// ranges, each value's type and bytes kept by the store.
TEST(HostRecordStore, ConditionNamesWithValuesAndRanges)
{
    HostRecordStore store;
    const TYPE_INDEX word{0, 130};
    const TYPE_INDEX half{0, 129};
    _SYMBOL_ENTRY& both =
        store.conditionName("VALID", word, {{word, {0, 0, 0, 3}}}, {{{half, {0, 1}}, {half, {0, 9}}}});
    EXPECT_EQ(UBYTE4{both.kind}, UBYTE4(SE_CONDITION_NAME)); // packed fields copied
    EXPECT_EQ(UBYTE4{both.typed.type.index}, 130u);
    const TNconditionElement* table = symbolEntryCondition(both);
    ASSERT_NE(table, nullptr);
    EXPECT_STREQ(table->name, "VALID");
    ASSERT_EQ(UBYTE2{table->valueCount}, 1);
    ASSERT_EQ(UBYTE2{table->rangeCount}, 1);
    EXPECT_EQ(UBYTE4{table->values[0].type.index}, 130u);
    EXPECT_EQ(static_cast<const UBYTE1*>(table->values[0].value)[3], 3);
    EXPECT_EQ(UBYTE4{table->ranges[0].low.type.index}, 129u);
    EXPECT_EQ(static_cast<const UBYTE1*>(table->ranges[0].high.value)[1], 9);

    // Neither values nor ranges: both counts 0, no lists.
    const TNconditionElement* none = symbolEntryCondition(store.conditionName("NONE", word, {}, {}));
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(UBYTE2{none->valueCount}, 0);
    EXPECT_EQ(UBYTE2{none->rangeCount}, 0);
    EXPECT_EQ(static_cast<const void*>(none->values), nullptr);
    EXPECT_EQ(static_cast<const void*>(none->ranges), nullptr);
    // The first table stays where it was.
    EXPECT_EQ(symbolEntryCondition(both), table);
    EXPECT_EQ(static_cast<const UBYTE1*>(table->values[0].value)[3], 3);
}

} // namespace
