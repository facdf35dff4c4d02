#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "CobolFixture.h"
#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/EndianReverse.h"
#include "machine/StackItemFixedPointBinary.h"
#include "machine/StackItemS.h"
#include "services/InvalidOp.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class CobolBinaryItemTest : public CobolFixture {
protected:
    std::unique_ptr<StackItem> binary(std::int64_t value, UBYTE1 length, UBYTE1 digits, signed char scale,
                                      bool isSigned = true)
    {
        return loaded(records().binaryType(length, digits, scale, isSigned), decimalimage::binary(value, length));
    }
};

TNcharstring charstring(UBYTE4 flags = 0)
{
    TNcharstring r{};
    r.leaf = TE_CHARSTRING;
    r.size.length = 3;
    r.flags = flags;
    return r;
}

} // namespace

TEST_F(CobolBinaryItemTest, LoadsTheBigEndianImage)
{
    std::unique_ptr<StackItem> item = loaded(records().binaryType(2, 4, -2, true), {0xFF, 0x85});
    EXPECT_EQ(static_cast<const StackItemFixedPointBinary&>(*item).value().value(), static_cast<std::uint64_t>(-123));
    EXPECT_EQ(item->asSigned(), -1) << "-1.23 without its fraction";
    EXPECT_EQ(imageOf(*item), (Bytes{0xFF, 0x85}));
    EXPECT_EQ(plainText(*item), "-1.23");

    // Unsigned values are not sign-extended; 1, 4 and 8 bytes round-trip.
    EXPECT_EQ(loaded(records().binaryType(2, 4, 0, false), {0xFF, 0x85})->asUnsigned(), 0xFF85u);
    for (UBYTE1 length : {1, 4, 8}) {
        std::unique_ptr<StackItem> wide = binary(-2, length, 9, 0);
        EXPECT_EQ(wide->asSigned(), -2) << int(length);
        EXPECT_EQ(imageOf(*wide), decimalimage::binary(-2, length)) << int(length);
    }

    // Refusals: no location, a length of 0, a length the value cannot take.
    std::unique_ptr<StackItem> item2 = made(records().binaryType(2, 4, 0, true));
    EXPECT_EQ(raisedCode([&] { item2->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(item2->hasValue());
    EXPECT_EQ(raisedCode([&] { made(records().binaryType(0, 4, 0, true)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { made(records().binaryType(3, 6, 0, true)); }), InvalidOp::RTRC_Other);
}

TEST_F(CobolBinaryItemTest, ArithmeticRetypesTheItem)
{
    struct Case {
        const char* what;
        std::int64_t left;
        UBYTE1 leftLength, leftDigits;
        signed char leftScale;
        std::int64_t right;
        UBYTE1 rightLength, rightDigits;
        signed char rightScale;
        char op;
        const char* result;
        unsigned digits;
        unsigned length;
    };
    const Case cases[] = {
        {"scales aligned", 125, 2, 4, -2, 5, 2, 3, -1, '+', "1.75", 5, 4},
        {"4 + 4 digits in 4 bytes", 9999, 2, 4, 0, 9999, 2, 4, 0, '*', "99980001", 8, 4},
        {"5 + 5 digits in 8 bytes", 99999, 4, 5, 0, 99999, 4, 5, 0, '*', "9999800001", 10, 8},
        {"difference", -5, 2, 3, 0, 12, 2, 3, -1, '-', "-6.2", 5, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<StackItem> left = binary(c.left, c.leftLength, c.leftDigits, c.leftScale);
        const TypeItem before = left->type();
        std::unique_ptr<StackItem> right = binary(c.right, c.rightLength, c.rightDigits, c.rightScale);
        if (c.op == '+')
            left->genAdd(*right);
        else if (c.op == '-')
            left->genSubtract(*right);
        else
            left->genMult(*right);
        EXPECT_EQ(plainText(*left), c.result);
        ASSERT_NE(left->type().typeEntry(), nullptr);
        const TNfixed_point_binary& entry = left->type().typeEntry()->binary;
        EXPECT_EQ(entry.precision, c.digits);
        EXPECT_EQ(entry.byteLength, c.length);
        EXPECT_FALSE(left->type() == before);
        EXPECT_EQ(left->size(), c.length);
        EXPECT_EQ(imageOf(*left).size(), c.length);
    }

    // Division by zero keeps the value; a C integer operand (a LENGTH OF)
    // is read as the integer it holds; a decimal operand is read in the
    // binary's record.
    std::unique_ptr<StackItem> item = binary(42, 2, 4, 0);
    EXPECT_EQ(raisedCode([&] { item->genDivide(*binary(0, 2, 4, 0)); }), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(item->asSigned(), 42);
    item->genAdd(StackItemS4(rep(), 1));
    EXPECT_EQ(plainText(*item), "43");
    item->genAdd(*literal('P', "7.5"));
    EXPECT_EQ(plainText(*item), "50") << "7.5 read at the binary's scale 0";

    // Powers and negation keep the type.
    std::unique_ptr<StackItem> power = binary(3, 2, 4, 0);
    const TypeItem kept = power->type();
    power->genPow(*binary(4, 2, 4, 0), 0);
    EXPECT_EQ(power->asSigned(), 81);
    EXPECT_TRUE(power->type() == kept);
    power->genNegate();
    EXPECT_EQ(power->asSigned(), -81);
    EXPECT_EQ(imageOf(*power), decimalimage::binary(-81, 2));
    EXPECT_TRUE(power->type() == kept);
}

TEST_F(CobolBinaryItemTest, ComparisonsAndMoves)
{
    std::unique_ptr<StackItem> item = binary(150, 2, 4, -2); // 1.50
    EXPECT_EQ(item->genEQ(*binary(15, 2, 4, -1)), 1);
    EXPECT_EQ(item->genLT(*binary(2, 2, 4, 0)), 1);
    EXPECT_EQ(item->genGT(*binary(-2, 2, 4, 0)), 1);
    EXPECT_EQ(item->genGE(*literal('Z', "1.5")), 1);
    EXPECT_EQ(item->genNE(*literal('N', "1.5")), 0);
    EXPECT_EQ(item->genLE(*literal('P', "1.49")), 0);

    // A move rescales into the item's own scale; type and length stay.
    const TypeItem type = item->type();
    item->genConvert(*literal('P', "-7.256"));
    EXPECT_EQ(plainText(*item), "-7.25");
    EXPECT_TRUE(item->type() == type);
    EXPECT_EQ(imageOf(*item), decimalimage::binary(-725, 2));
}

TEST_F(CobolBinaryItemTest, TextsAndGroups)
{
    // The display text: the digits of the picture, sign dropped.
    std::unique_ptr<StackItem> minusFive = binary(-5, 2, 3, 0);
    EXPECT_EQ(bytesOf(minusFive->asCharstring(charstring())), (Bytes{0xF0, 0xF0, 0xF5}));
    EXPECT_EQ(raisedCode([&] { minusFive->asCharstring(charstring(0x20)); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(bytesOf(minusFive->asNationalString(TNnational_string{})), (Bytes{0, 0x30, 0, 0x30, 0, 0x35}));
    std::unique_ptr<StackItem> scaled = binary(-5, 2, 3, -2);
    EXPECT_EQ(raisedCode([&] { scaled->asCharstring(charstring()); }), InvalidOp::RTRC_IncompatTypes);

    TNalpha_numeric_edited alpha{};
    alpha.leaf = TE_ALPHA_NUMERIC_EDITED;
    alpha.length = 4;
    alpha.picture = "XBXX";
    EXPECT_EQ(bytesOf(minusFive->asAlphaNumericEdited(alpha).bytes()), (Bytes{0xF0, 0x40, 0xF0, 0xF5}));
    // National-edited takes the digits unsigned.
    TNnational_edited national{};
    national.leaf = TE_NATIONAL_EDITED;
    national.length = 8;
    national.picture = "NBNN";
    EXPECT_EQ(bytesOf(binary(-123, 2, 3, 0)->asNationalEdited(national).bytes()),
              (Bytes{0, 0x31, 0, 0x20, 0, 0x32, 0, 0x33}));

    // In a group move a variable gives its storage, a computed value its
    // integer digits.
    std::unique_ptr<StackItem> variable = binary(-123, 2, 4, -2);
    variable->setLoadedFromVariable(true);
    EXPECT_EQ(bytesOf(variable->asAlphaNumericGroup(TNclass{})), (Bytes{0xFF, 0x85}));
    std::unique_ptr<StackItem> computed = binary(-123, 2, 4, -2);
    computed->genAdd(*binary(0, 2, 4, -2));
    EXPECT_EQ(bytesOf(computed->asAlphaNumericGroup(TNclass{})), (Bytes{0xF0, 0xF0, 0xF1, 0xF2, 0xF3}));

    // Conversions to the decimal kinds keep digits and scale.
    EXPECT_EQ(plainText(variable->asPackedDecimal(TNpacked_decimal{})), "-1.23");
    EXPECT_EQ(static_cast<long long>(variable->asZonedDecimal(TNzoned_decimal{})), -1);
    EXPECT_EQ(variable->asNationalDecimal(TNnational_decimal{}).record().scale, -2);
    EXPECT_EQ(static_cast<long double>(variable->asLongDouble()), -1.23L);
    EXPECT_EQ(raisedCode([&] { variable->asIndexDataItem(TNindex_data_item{}); }), InvalidOp::RTRC_IncompatTypes);
}

TEST(EndianReverse, ReversesTheTargetsWidths)
{
    std::uint8_t sixteen[16];
    for (int i = 0; i < 16; ++i)
        sixteen[i] = static_cast<std::uint8_t>(i);
    EndianReverse(sixteen, 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(sixteen[i], 15 - i);
    std::uint8_t four[4] = {1, 2, 3, 4};
    EndianReverse(four, 4);
    EXPECT_EQ(Bytes(four, four + 4), (Bytes{4, 3, 2, 1}));
    std::uint8_t one[1] = {7};
    EndianReverse(one, 1);
    EXPECT_EQ(one[0], 7);
    std::uint8_t three[3] = {1, 2, 3};
    EXPECT_EQ(raisedCode([&] { EndianReverse(three, 3); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(Bytes(three, three + 3), (Bytes{1, 2, 3}));
}
