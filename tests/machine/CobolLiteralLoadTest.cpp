#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CobolFixture.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemDecimalNumber.h"
#include "machine/StackItemFixedPointBinary.h"
#include "machine/StackItemNationalString.h"
#include "services/InvalidOp.h"
#include "types/CreatedTypeItem.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class CobolLiteralLoadTest : public CobolFixture {};

} // namespace

TEST_F(CobolLiteralLoadTest, DecimalLiteralsGetTypesOfTheirOwnShape)
{
    struct Case {
        char kind;
        const char* text;
        unsigned digits;
        unsigned places;
        UBYTE4 leaf;
        Bytes image;
    };
    const Case cases[] = {
        {'P', "-123.45", 5, 2, TE_PACKED_DECIMAL, {0x12, 0x34, 0x5D}},
        {'P', "7", 1, 0, TE_PACKED_DECIMAL, {0x7C}},
        {'Z', "12.5", 3, 1, TE_ZONED_DECIMAL, {0xF1, 0xF2, 0xC5}},
        {'N', "-0.25", 2, 2, TE_NATIONAL_DECIMAL, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        pushLiteral(c.kind, c.text);
        ASSERT_EQ(stack().count(), 1u);
        std::unique_ptr<StackItem> item(stack().pop());
        const _TYPE_ENTRY* entry = item->type().typeEntry();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(+entry->leaf, c.leaf);
        // The three decimal records share their first fields' layout.
        EXPECT_EQ(entry->packed.precision, c.digits);
        EXPECT_EQ(entry->packed.decimalPlaces, c.places);
        EXPECT_EQ(plainText(*item), c.text);
        EXPECT_EQ(item->size(), imageOf(*item).size());
        if (!c.image.empty()) {
            EXPECT_EQ(imageOf(*item), c.image);
        }
    }
    // Two lengths, two types; the same shape, one type.
    std::unique_ptr<StackItem> shortOne = literal('P', "1.5");
    std::unique_ptr<StackItem> longOne = literal('P', "1234.5");
    std::unique_ptr<StackItem> sameShape = literal('P', "9.9");
    EXPECT_FALSE(shortOne->type() == longOne->type());
    EXPECT_TRUE(shortOne->type() == sameShape->type());
}

TEST_F(CobolLiteralLoadTest, TypedLiteralRows)
{
    const TypeItem packed(records().packedDecimalType(5, -2, true));
    const TypeItem zoned(records().zonedDecimalType(4, 0, true, TN_SignLeadingSeparate));
    const TypeItem national(records().nationalDecimalType(3, -1, false, TN_SignNone));
    const TypeItem binary(records().binaryType(4, 9, -1, true));
    const TypeItem pointer(records().pointerType(TYPE_INDEX{0, 130}, 4));

    // The text carries every digit of the type, from its first position.
    stack().genLoadValue("-012.50", packed);
    EXPECT_NE(dynamic_cast<StackItemPackedDecimal*>(stack().top()), nullptr);
    EXPECT_EQ(imageOf(*stack().top()), (Bytes{0x01, 0x25, 0x0D}));
    stack().genLoadValue("-0042", zoned);
    EXPECT_NE(dynamic_cast<StackItemZonedDecimal*>(stack().top()), nullptr);
    EXPECT_EQ(imageOf(*stack().top()), decimalimage::zoned("-42", 4, true, TN_SignLeadingSeparate));
    stack().genLoadValue("12.3", national);
    EXPECT_NE(dynamic_cast<StackItemNationalDecimal*>(stack().top()), nullptr);
    EXPECT_EQ(imageOf(*stack().top()), decimalimage::national("123", 3, false, TN_SignNone));
    stack().genLoadValue("-2.5", binary);
    EXPECT_NE(dynamic_cast<StackItemFixedPointBinary*>(stack().top()), nullptr);
    EXPECT_EQ(imageOf(*stack().top()), decimalimage::binary(-25, 4));
    stack().genLoadValue("0x1000", pointer);
    EXPECT_NE(dynamic_cast<StackItemAddress*>(stack().top()), nullptr);
    EXPECT_EQ(stack().top()->asUnsigned(), 0x1000u);
    EXPECT_TRUE(stack().top()->type() == pointer);
    EXPECT_EQ(stack().count(), 5u);
    stack().popAll();

    // The text kinds: alphanumeric text up to its zero byte, padded to the
    // type; national and DBCS texts at their type's length.
    const TypeItem text(records().charstringType(4));
    const TypeItem nationalText(records().charstringType(4, TE_NATIONAL_STRING));
    const TypeItem dbcsText(records().charstringType(2, TE_DBCS_STRING));
    stack().genLoadValue("\xC1\xC2", text);
    EXPECT_NE(dynamic_cast<StackItemCharstring*>(stack().top()), nullptr);
    EXPECT_EQ(imageOf(*stack().top()), (Bytes{0xC1, 0xC2, 0x40, 0x40}));
    static const char nationalAb[] = {0x00, 0x41, 0x00, 0x42, 0x00};
    stack().genLoadValue(nationalAb, nationalText);
    EXPECT_NE(dynamic_cast<StackItemNationalString*>(stack().top()), nullptr);
    EXPECT_EQ(imageOf(*stack().top()), (Bytes{0x00, 0x41, 0x00, 0x42}));
    stack().genLoadValue("\x42\xC1", dbcsText);
    EXPECT_NE(dynamic_cast<StackItemDbcsString*>(stack().top()), nullptr);
    EXPECT_EQ(imageOf(*stack().top()), (Bytes{0x42, 0xC1}));
    stack().popAll();

    // Refused, with nothing pushed: other kinds, and texts the value class
    // or the parser refuses.
    EXPECT_EQ(raisedCode([&] { stack().genLoadValue("1", TypeItem(136u)); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(raisedCode([&] { stack().genLoadValue("1", TypeItem(records().indexNameType(4, 10))); }),
              InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(raisedCode([&] { stack().genLoadValue("0x", pointer); }), InvalidOp::RTRC_ParserError);
    EXPECT_EQ(raisedCode([&] { stack().genLoadZonedDecimalValue(nullptr); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { stack().genLoadValue(nullptr, packed); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(CobolLiteralLoadTest, NothingIsDoneWhileSkipping)
{
    const TypeItem packed(records().packedDecimalType(5, -2, true));
    for (RuntimeStack::SkipState state : {RuntimeStack::dryRun, RuntimeStack::skipping}) {
        stack().setSkipState(state);
        stack().genLoadPackedDecimalValue("1");
        stack().genLoadZonedDecimalValue("1");
        stack().genLoadNationalDecimalValue("1");
        stack().genLoadValue("1", packed);
        // Not even a refusal.
        stack().genLoadValue("1", TypeItem(136u));
        stack().genLoadZonedDecimalValue(nullptr);
        EXPECT_EQ(stack().count(), 0u);
    }
    stack().setSkipState(RuntimeStack::running);
}

TEST_F(CobolLiteralLoadTest, FactoryItemsHoldTheZeroOfTheirType)
{
    struct Case {
        TYPE_INDEX type;
        unsigned size;
    };
    const Case cases[] = {
        {records().packedDecimalType(5, -2, true), 3},
        {records().zonedDecimalType(3, 0, false, TN_SignNone), 3},
        {records().nationalDecimalType(2, 0, false, TN_SignNone), 4},
        {records().binaryType(2, 4, 0, true), 2},
        {records().indexNameType(4, 10), 4},
        {records().indexDataItemType(2), 2},
    };
    for (const Case& c : cases) {
        std::unique_ptr<StackItem> item = made(c.type);
        SCOPED_TRACE(+item->type().typeEntry()->leaf);
        EXPECT_TRUE(item->type() == TypeItem(c.type));
        EXPECT_TRUE(item->hasValue());
        EXPECT_EQ(item->size(), c.size);
        EXPECT_EQ(imageOf(*item).size(), c.size);
        std::unique_ptr<StackItem> copy(item->clone());
        const StackItem& copied = *copy;
        const StackItem& original = *item;
        EXPECT_EQ(typeid(copied), typeid(original));
        EXPECT_EQ(imageOf(*copy), imageOf(*item));
    }
}
