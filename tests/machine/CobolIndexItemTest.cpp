#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "CobolFixture.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemIndexDataItem.h"
#include "machine/StackItemIndexName.h"
#include "services/InvalidOp.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class CobolIndexItemTest : public CobolFixture {
protected:
    // An index name over elements of the given size holding a byte offset.
    std::unique_ptr<StackItem> index(std::uint64_t offset, UBYTE4 elementLength, UBYTE1 length = 4)
    {
        return loaded(records().indexNameType(length, elementLength),
                      decimalimage::binary(static_cast<std::int64_t>(offset), length));
    }
    std::unique_ptr<StackItem> dataItem(std::uint64_t value, UBYTE1 length = 4)
    {
        return loaded(records().indexDataItemType(length),
                      decimalimage::binary(static_cast<std::int64_t>(value), length));
    }
    std::unique_ptr<StackItem> binary(std::int64_t value)
    {
        return loaded(records().binaryType(4, 9, 0, true), decimalimage::binary(value, 4));
    }
    static std::uint64_t offsetOf(const StackItem& item)
    {
        return static_cast<const StackItemIndexName&>(item).value().value();
    }
};

} // namespace

TEST_F(CobolIndexItemTest, IndexNameNumbersAreOccurrences)
{
    std::unique_ptr<StackItem> third = loaded(records().indexNameType(4, 10), {0x00, 0x00, 0x00, 0x1E});
    EXPECT_EQ(offsetOf(*third), 30u);
    EXPECT_EQ(third->asUnsigned(), 30u) << "the offset itself";
    EXPECT_EQ(plainText(third->asPackedDecimal(TNpacked_decimal{})), "4");
    EXPECT_EQ(static_cast<long long>(third->asZonedDecimal(TNzoned_decimal{})), 4);
    EXPECT_EQ(static_cast<long long>(third->asNationalDecimal(TNnational_decimal{})), 4);
    TNfixed_point_binary b{};
    b.leaf = TE_FIXED_POINT_BINARY;
    b.byteLength = 2;
    b.precision = 4;
    EXPECT_EQ(third->asFixedPointBinary(b).value(), 4u);
    TNindex_data_item d{};
    d.byteLength = 4;
    EXPECT_EQ(third->asIndexDataItem(d).value(), 30u);
    EXPECT_EQ(imageOf(*third), (Bytes{0x00, 0x00, 0x00, 0x1E}));
    // No zero test and no signed number: an index is no divisor.
    EXPECT_EQ(raisedCode([&] { third->isZero(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { third->asSigned(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { third->genMult(*binary(2)); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(CobolIndexItemTest, SetMovesTheOccurrenceBetweenTables)
{
    struct Case {
        const char* what;
        std::unique_ptr<StackItem> source;
        std::uint64_t offset;
    };
    Case cases[] = {
        {"index name of another table", index(30, 10), 60},
        {"index data item: an offset of this table", dataItem(40), 40},
        {"binary number: an occurrence number", binary(3), 40},
        {"decimal literal: an occurrence number", literal('P', "2"), 20},
        {"index of occurrence numbers", index(5, 0), 80},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<StackItem> target = index(0, 20);
        target->genConvert(*c.source);
        EXPECT_EQ(offsetOf(*target), c.offset);
    }
}

TEST_F(CobolIndexItemTest, ComparisonsUseOccurrenceNumbers)
{
    std::unique_ptr<StackItem> third = index(30, 10);
    EXPECT_EQ(third->genEQ(*index(60, 20)), 1) << "other table, same occurrence";
    EXPECT_EQ(third->genNE(*index(30, 15)), 1);
    EXPECT_EQ(third->genEQ(*binary(4)), 1);
    EXPECT_EQ(third->genLT(*literal('Z', "5")), 1);
    EXPECT_EQ(third->genGE(*index(4, 0)), 1);
    EXPECT_EQ(third->genGT(*index(4, 0)), 0);
    EXPECT_EQ(third->genLE(*dataItem(30)), 1) << "a data item's value is an offset of this table";
}

TEST_F(CobolIndexItemTest, ArithmeticMovesByElements)
{
    std::unique_ptr<StackItem> byOffset = index(30, 10);
    byOffset->genAdd(*literal('P', "1"));
    EXPECT_EQ(offsetOf(*byOffset), 40u) << "one element further";
    byOffset->genSubtract(*binary(3));
    EXPECT_EQ(offsetOf(*byOffset), 10u);
    EXPECT_EQ(imageOf(*byOffset), (Bytes{0, 0, 0, 10}));
    // Without an element size the value counts occurrences.
    std::unique_ptr<StackItem> byNumber = index(5, 0);
    byNumber->genAdd(*literal('P', "2"));
    EXPECT_EQ(offsetOf(*byNumber), 7u);
    byNumber->genSubtract(*literal('P', "1"));
    EXPECT_EQ(offsetOf(*byNumber), 6u);
}

TEST_F(CobolIndexItemTest, StorageIsTheBigEndianImage)
{
    for (UBYTE1 length : {1, 2, 4, 8}) {
        SCOPED_TRACE(int(length));
        const Bytes image = decimalimage::binary(0x70, length);
        std::unique_ptr<StackItem> name = loaded(records().indexNameType(length, 16), image);
        EXPECT_EQ(offsetOf(*name), 0x70u);
        EXPECT_EQ(imageOf(*name), image);
        EXPECT_EQ(name->size(), length);
        std::unique_ptr<StackItem> data = loaded(records().indexDataItemType(length), image);
        EXPECT_EQ(static_cast<const StackItemIndexDataItem&>(*data).value().value(), 0x70u);
        EXPECT_EQ(imageOf(*data), image);
    }
    // A location of kind none, and records that hold no value.
    std::unique_ptr<StackItem> name = index(0, 10);
    EXPECT_EQ(raisedCode([&] { name->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(name->hasValue());
    std::unique_ptr<StackItem> data = dataItem(0);
    EXPECT_EQ(raisedCode([&] { data->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { made(records().indexNameType(0, 10)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { made(records().indexDataItemType(0)); }), InvalidOp::RTRC_Other);
    std::unique_ptr<StackItem> three = made(records().indexNameType(3, 10));
    EXPECT_EQ(raisedCode([&] { three->load(place({0, 0, 1})); }), InvalidOp::RTRC_Other);
}

TEST_F(CobolIndexItemTest, IndexDataItemsTakeIndexesOnly)
{
    std::unique_ptr<StackItem> data = dataItem(0);
    data->genConvert(*index(30, 10));
    EXPECT_EQ(static_cast<const StackItemIndexDataItem&>(*data).value().value(), 30u) << "the offset";
    EXPECT_EQ(data->genEQ(*dataItem(30)), 1);
    EXPECT_EQ(data->genLT(*dataItem(31)), 1);
    EXPECT_EQ(data->genGT(*index(20, 10)), 1);
    EXPECT_EQ(raisedCode([&] { data->genEQ(*binary(30)); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { data->genConvert(*literal('P', "3")); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { data->genAdd(*dataItem(1)); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { data->asUnsigned(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { data->isZero(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { data->asSigned(); }), InvalidOp::RTRC_IncompatTypes);
    std::unique_ptr<StackItem> copy(data->clone());
    EXPECT_EQ(imageOf(*copy), (Bytes{0, 0, 0, 30}));
}

TEST_F(CobolIndexItemTest, IndexPlusOneSubscriptsTheNextElement)
{
    // TABLE(IX + 1) with IX on the fourth element of 10 bytes: the fifth.
    std::unique_ptr<StackItem> ix = index(30, 10);
    ix->genAdd(*literal('P', "1"));
    StackItemAddress table(rep(), 0x3000ull, TypeItem(records().pointerType(TYPE_INDEX{0, 130}, 4)));
    table.genIndex(*ix, 10);
    EXPECT_EQ(table.asUnsigned(), 0x3000u + 40);
}
