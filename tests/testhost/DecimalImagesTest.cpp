#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "testhost/DecimalImages.h"
#include "testhost/HostRecordStore.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

} // namespace

TEST(DecimalImages, StorageOfEachKind)
{
    struct Case {
        const char* what;
        Bytes image;
        Bytes expected;
    };
    const Case cases[] = {
        {"packed signed", decimalimage::packed("-12345", 5, true), {0x12, 0x34, 0x5D}},
        {"packed even digits, unsigned", decimalimage::packed("123", 4, false), {0x00, 0x12, 0x3F}},
        {"packed positive", decimalimage::packed("7", 1, true), {0x7C}},
        {"zoned trailing embedded", decimalimage::zoned("-12", 3, true, TN_SignTrailingEmbedded), {0xF0, 0xF1, 0xD2}},
        {"zoned leading embedded", decimalimage::zoned("12", 3, true, TN_SignLeadingEmbedded), {0xC0, 0xF1, 0xF2}},
        {"zoned leading separate", decimalimage::zoned("-12", 2, true, TN_SignLeadingSeparate), {0x60, 0xF1, 0xF2}},
        {"zoned trailing separate", decimalimage::zoned("12", 2, true, TN_SignTrailingSeparate), {0xF1, 0xF2, 0x4E}},
        {"zoned unsigned", decimalimage::zoned("-12", 2, false, TN_SignTrailingEmbedded), {0xF1, 0xF2}},
        {"zoned sign kind none", decimalimage::zoned("12", 2, true, TN_SignNone), {0xF1, 0xF2}},
        {"national leading separate",
         decimalimage::national("-5", 2, true, TN_SignLeadingSeparate),
         {0x00, 0x2D, 0x00, 0x30, 0x00, 0x35}},
        {"national trailing separate",
         decimalimage::national("5", 1, true, TN_SignTrailingSeparate),
         {0x00, 0x35, 0x00, 0x2B}},
        {"binary", decimalimage::binary(-123, 2), {0xFF, 0x85}},
        {"binary 8 bytes", decimalimage::binary(0x0102, 8), {0, 0, 0, 0, 0, 0, 0x01, 0x02}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.image, c.expected) << c.what;

    EXPECT_THROW(decimalimage::packed("123456", 5, true), std::invalid_argument);
    EXPECT_THROW(decimalimage::zoned("1.5", 3, true, TN_SignNone), std::invalid_argument);
    EXPECT_THROW(decimalimage::national("1", 1, true, TN_SignTrailingEmbedded), std::invalid_argument);
}

TEST(DecimalImages, RecordsOfNationalDecimalsAndIndexDataItems)
{
    HostRecordStore r;
    const _TYPE_ENTRY* national = r.type(r.nationalDecimalType(5, -2, true, TN_SignLeadingSeparate));
    ASSERT_NE(national, nullptr);
    EXPECT_EQ(+national->leaf, unsigned(TE_NATIONAL_DECIMAL));
    EXPECT_EQ(national->nationalDecimal.byteLength, 12);
    EXPECT_EQ(national->nationalDecimal.decimalPlaces, 2);
    EXPECT_EQ(+national->nationalDecimal.flags, unsigned(TN_DecimalSigned));
    EXPECT_EQ(r.type(r.nationalDecimalType(3, 0, false, TN_SignNone))->nationalDecimal.byteLength, 6);
    const _TYPE_ENTRY* data = r.type(r.indexDataItemType(4));
    EXPECT_EQ(+data->leaf, unsigned(TE_INDEX_DATA_ITEM));
    EXPECT_EQ(data->indexDataItem.byteLength, 4);
}
