#include "DataItemValues.h"

#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/TypeItem.h"

#include <cstdint>

using namespace dataitemtest;

namespace {

class IndexItemTest : public DataItemTest {};

TNindex_name indexRec(int length, unsigned elementLength)
{
    TNindex_name r{};
    r.leaf = TE_INDEX_NAME;
    r.byteLength = static_cast<UBYTE1>(length);
    r.elementLength = elementLength;
    return r;
}

TNindex_data_item dataItemRec(int length)
{
    TNindex_data_item r{};
    r.leaf = TE_INDEX_DATA_ITEM;
    r.unnamed = 0x1234;
    r.byteLength = static_cast<UBYTE1>(length);
    return r;
}

} // namespace

TEST_F(IndexItemTest, OccurrencesMoveByElementLength)
{
    IndexName i(indexRec(4, 20), 60ULL);
    EXPECT_EQ(i.occurrenceNumber(), 4u);
    i += 2;
    EXPECT_EQ(i.value(), 100u);
    EXPECT_EQ(i.occurrenceNumber(), 6u);
    i -= 5;
    EXPECT_EQ(i.value(), 0u);
    EXPECT_EQ(i.occurrenceNumber(), 1u);
    EXPECT_EQ(IndexName(indexRec(4, 0), 7ULL).occurrenceNumber(), 7u);
}

TEST_F(IndexItemTest, SetAndAssignBetweenTables)
{
    struct Case {
        TNindex_name source;
        unsigned long long value;
        unsigned targetElement;
        unsigned long long converted;
        unsigned long long assigned;
    } cases[] = {
        {indexRec(4, 20), 60, 8, 24, 24},
        // A source without element length holds an occurrence number for
        // SET, an occurrence offset for assignment.
        {indexRec(4, 0), 3, 8, 16, 24},
        {indexRec(4, 20), 60, 0, 3, 3},
        {indexRec(4, 0), 3, 0, 3, 3},
    };
    for (const Case& c : cases) {
        const IndexName source(c.source, c.value);
        IndexName set(indexRec(2, c.targetElement), 0ULL);
        set.convert(source);
        EXPECT_EQ(set.value(), c.converted);
        IndexName assigned(indexRec(2, c.targetElement), 0ULL);
        assigned = source;
        EXPECT_EQ(assigned.value(), c.assigned);
        EXPECT_EQ(assigned.record().elementLength, c.targetElement);
        EXPECT_EQ(assigned.record().byteLength, 2);
    }
}

TEST_F(IndexItemTest, ValuesFromNumbersAndText)
{
    EXPECT_EQ(IndexName(indexRec(4, 8), 2.9L).value(), 2u);
    EXPECT_EQ(IndexDataItem(dataItemRec(4), 7.99L).value(), 7u);
    EXPECT_EQ(IndexName(indexRec(4, 8), -2.9L).value(), static_cast<std::uint64_t>(-2LL));

    _TYPE_ENTRY entry = entryOf(indexRec(4, 8));
    EXPECT_EQ(IndexName("-5", TypeItem(TYPE_INDEX{7, 1}, &entry, false)).value(), static_cast<std::uint64_t>(-5LL));
    EXPECT_EQ(IndexName("1,024", TypeItem(TYPE_INDEX{7, 1}, &entry, false)).value(), 1024u);
    _TYPE_ENTRY dataEntry = entryOf(dataItemRec(2));
    IndexDataItem d("42", TypeItem(TYPE_INDEX{7, 2}, &dataEntry, false));
    EXPECT_EQ(d.value(), 42u);
    EXPECT_EQ(d.record().unnamed, 0x1234);

    _TYPE_ENTRY empty = entryOf(indexRec(0, 8));
    EXPECT_EQ(codeOf([&] { IndexName{TypeItem(TYPE_INDEX{7, 1}, &empty, false)}; }), InvalidOp::RTRC_Other);
    _TYPE_ENTRY emptyData = entryOf(dataItemRec(0));
    EXPECT_EQ(codeOf([&] { IndexDataItem{TypeItem(TYPE_INDEX{7, 1}, &emptyData, false)}; }), InvalidOp::RTRC_Other);
}

TEST_F(IndexItemTest, DecimalSourcesGiveStorableIndexes)
{
    // The digits as an integer; the storage length follows the digit count.
    struct Case {
        IndexName index;
        unsigned long long value;
        int length;
    } cases[] = {
        {IndexName(PackedDecimal("1234567")), 1234567, 4},
        {IndexName(PackedDecimal("12.34")), 1234, 2},
        {IndexName(ZonedDecimal("-12")), 12, 2},
        {IndexName(NationalDecimal(1234567890LL)), 1234567890, 8},
        {IndexName(FixedPointBinary(binaryRec(2, 3, 0, false), 321ULL)), 321, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.index.value(), c.value);
        EXPECT_EQ(c.index.record().byteLength, c.length);
        EXPECT_EQ(c.index.record().elementLength, 0u);
        std::uint64_t out = 0;
        c.index.format(&out, c.index.record().byteLength);
        EXPECT_EQ(out, c.value);
    }
    IndexDataItem d{ZonedDecimal("1234567")};
    EXPECT_EQ(d.value(), 1234567u);
    EXPECT_EQ(d.record().byteLength, 4);
    EXPECT_EQ(IndexDataItem{PackedDecimal("15")}.record().byteLength, 2);
    EXPECT_EQ(codeOf([] { IndexDataItem{NationalDecimal(1LL)}; }), InvalidOp::RTRC_Other);

    EXPECT_EQ(IndexName(PackedDecimal("12.34"), indexRec(4, 10)).value(), 1234u);
    EXPECT_EQ(IndexName(PackedDecimal("-7"), indexRec(4, 10)).value(), 7u);
    EXPECT_EQ(IndexDataItem(PackedDecimal("99"), dataItemRec(2)).value(), 99u);
}

TEST_F(IndexItemTest, BytesInAndOut)
{
    const std::uint64_t raw = 0x1122334455667788ULL;
    struct Case {
        int length;
        std::uint64_t value;
    } cases[] = {{1, 0x88}, {2, 0x7788}, {4, 0x55667788}, {8, raw}};
    for (const Case& c : cases) {
        IndexName i(&raw, indexRec(c.length, 4));
        IndexDataItem d(&raw, dataItemRec(c.length));
        EXPECT_EQ(i.value(), c.value);
        EXPECT_EQ(d.value(), c.value);
        std::uint64_t out = 0;
        i.format(&out, static_cast<unsigned>(c.length));
        EXPECT_EQ(out, c.value);
    }
    EXPECT_EQ(codeOf([&] { IndexName(&raw, indexRec(3, 4)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(codeOf([&] { IndexDataItem(&raw, dataItemRec(3)); }), InvalidOp::RTRC_Other);
    std::uint64_t out = 0;
    EXPECT_EQ(codeOf([&] { IndexName(indexRec(4, 4), 1ULL).format(&out, 7); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(codeOf([&] { IndexDataItem(dataItemRec(4), 1ULL).format(&out, 0); }), InvalidOp::RTRC_Other);
    char text[4] = "x";
    EXPECT_EQ(IndexName().format(text), -1);
    EXPECT_EQ(IndexDataItem().format(text), -1);
}

TEST_F(IndexItemTest, CompareAndHostNumbers)
{
    const IndexName big(indexRec(8, 1), 0xFFFFFFFFFFFFFFFFULL);
    const IndexName one(indexRec(8, 1), 1ULL);
    EXPECT_EQ(big.compare(one), 1);
    EXPECT_EQ(one.compare(big), -1);
    EXPECT_EQ(one.compare(one), 0);
    EXPECT_EQ(static_cast<long double>(big), 18446744073709551615.0L);
    EXPECT_EQ(static_cast<long long>(big), -1);
    EXPECT_EQ(static_cast<DecimalFloat>(big).compare(DecimalFloat(18446744073709551615ULL, DecimalFloat::Size128)), 0);

    IndexDataItem a(dataItemRec(4), 5ULL);
    IndexDataItem b(dataItemRec(2), 9ULL);
    EXPECT_EQ(a.compare(b), -1);
    a.convert(b);
    EXPECT_EQ(a.value(), 9u);
    EXPECT_EQ(a.record().byteLength, 4);
    a = IndexDataItem(dataItemRec(8), 3ULL);
    EXPECT_EQ(a.record().byteLength, 8);
    EXPECT_EQ(static_cast<unsigned long long>(a), 3u);
}
