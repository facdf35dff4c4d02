// External floating-point stack items, EBCDIC and national: loading,
// validation, negation, moves and the exact comparison of their numbers.

#include <memory>
#include <string>
#include <vector>

#include "EditedItemFixture.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalExternalFloat.h"
#include "machine/StackItemExternalFloat.h"
#include "machine/StackItemNationalExternalFloat.h"
#include "services/InvalidOp.h"

namespace {

const char* const kPicture = "+9(2).9(2)E+99";

class ExternalFloatItemTest : public EditedItemFixture {
protected:
    TYPE_INDEX ebcdicType(const char* picture = kPicture, UBYTE4 length = 10)
    {
        return pictureType(TE_EXTERNAL_FLOAT, picture, length);
    }
    TYPE_INDEX nationalType(const char* picture = kPicture, UBYTE4 length = 20)
    {
        return pictureType(TE_NATIONAL_EXTERNAL_FLOAT, picture, length);
    }
    std::unique_ptr<StackItem> ebcdic(const std::string& text, const char* picture = kPicture)
    {
        return loaded(ebcdicType(picture, static_cast<UBYTE4>(text.size())), ebcdicOf(text));
    }
    std::unique_ptr<StackItem> national(const std::string& text, const char* picture = kPicture)
    {
        return loaded(nationalType(picture, static_cast<UBYTE4>(2 * text.size())), utf16Of(text));
    }
};

TEST_F(ExternalFloatItemTest, FactoryMakesTheItemsOfTheType)
{
    const auto e = made(ebcdicType());
    ASSERT_NE(dynamic_cast<StackItemExternalFloat*>(e.get()), nullptr);
    EXPECT_EQ(e->size(), 10u);
    const auto n = made(nationalType());
    ASSERT_NE(dynamic_cast<StackItemNationalExternalFloat*>(n.get()), nullptr);
    EXPECT_EQ(n->size(), 20u);
    // The new items' storage spans the whole type.
    EXPECT_EQ(imageOf(*e).size(), 10u);
    EXPECT_EQ(imageOf(*n).size(), 20u);
}

TEST_F(ExternalFloatItemTest, LoadKeepsTheCharactersAndRefusesNoPlaceOrLength)
{
    const auto e = ebcdic("+12.25E+00");
    EXPECT_TRUE(e->hasValue());
    EXPECT_EQ(imageOf(*e), ebcdicOf("+12.25E+00"));
    EXPECT_EQ(e->asSigned(), 12);
    const auto n = national("-12.25E+01");
    EXPECT_EQ(imageOf(*n), utf16Of("-12.25E+01"));
    EXPECT_EQ(n->asSigned(), -122);

    for (TYPE_INDEX type : {ebcdicType(), nationalType()}) {
        const auto item = made(type);
        EXPECT_EQ(raisedCode([&] { item->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
        EXPECT_FALSE(item->hasValue());
    }
    // A record of length 0: the item is made from a valid value, the load
    // refuses.
    const auto good = made(ebcdicType());
    StackItemExternalFloat empty(rep(), static_cast<StackItemExternalFloat&>(*good).value(),
                                 TypeItem(ebcdicType(kPicture, 0)));
    EXPECT_EQ(raisedCode([&] { empty.load(place(ebcdicOf("+12.25E+00"))); }), InvalidOp::RTRC_Other);
    const auto goodNational = made(nationalType());
    StackItemNationalExternalFloat emptyNational(rep(),
                                                 static_cast<StackItemNationalExternalFloat&>(*goodNational).value(),
                                                 TypeItem(nationalType(kPicture, 0)));
    EXPECT_EQ(raisedCode([&] { emptyNational.load(place(utf16Of("+12.25E+00"))); }), InvalidOp::RTRC_Other);
}

TEST_F(ExternalFloatItemTest, CheckValueNamesTheVariable)
{
    struct {
        const char* text;
        int code;
    } cases[] = {
        {"+12.25E+00", 0},
        {"A12.25E+00", InvalidOp::RTRC_BadSignInNumeric},
        {"+1A.25E+00", InvalidOp::RTRC_BadDataInNumeric},
        {"+12.25E+0A", InvalidOp::RTRC_BadDataInNumeric},
    };
    for (const auto& c : cases) {
        for (bool isNational : {false, true}) {
            const auto item = isNational ? national(c.text) : ebcdic(c.text);
            item->setName("WS-FLOAT");
            try {
                item->checkValue();
                EXPECT_EQ(c.code, 0) << c.text << " " << isNational;
            } catch (const InvalidOp& e) {
                EXPECT_EQ(e.code(), c.code) << c.text << " " << isNational;
                EXPECT_EQ(e.text(), EncodedString(L"WS-FLOAT"));
            }
        }
    }
}

TEST_F(ExternalFloatItemTest, NegateFlipsTheSignCharacterInPlace)
{
    const auto e = ebcdic("+12.25E+00");
    const DebuggeeLocation where = e->location();
    e->genNegate();
    EXPECT_EQ(imageOf(*e), ebcdicOf("-12.25E+00"));
    EXPECT_EQ(e->location().kind(), where.kind());
    EXPECT_EQ(e->location().address().addr(), where.address().addr());
    e->genNegate();
    EXPECT_EQ(imageOf(*e), ebcdicOf("+12.25E+00"));

    const auto n = national("-01.50E-02");
    n->genNegate();
    EXPECT_EQ(imageOf(*n), utf16Of("+01.50E-02"));
}

TEST_F(ExternalFloatItemTest, GroupSourceIsTakenAsGivenOthersAreReEdited)
{
    // A group's text enters unchanged, even in another exponent form.
    const auto group = loaded(groupType(10), ebcdicOf("+01.00E+01"));
    const auto e = made(ebcdicType());
    e->genConvert(*group);
    EXPECT_EQ(imageOf(*e), ebcdicOf("+01.00E+01"));

    // Another external float is re-edited into this picture.
    const auto other = ebcdic("+1.5E+01", "+9.9E+99");
    e->genConvert(*other);
    EXPECT_EQ(imageOf(*e), ebcdicOf("+15.00E+00"));

    // A packed number is edited into the picture.
    e->genConvert(*literal('P', "-3.5"));
    EXPECT_EQ(imageOf(*e), ebcdicOf("-35.00E-01"));

    const auto n = made(nationalType());
    n->genConvert(*loaded(groupType(20), utf16Of("-99.99E+99")));
    EXPECT_EQ(imageOf(*n), utf16Of("-99.99E+99"));
    n->genConvert(*literal('P', "7"));
    EXPECT_EQ(imageOf(*n), utf16Of("+70.00E-01"));
}

TEST_F(ExternalFloatItemTest, LongDoubleFormatAndTextViews)
{
    const auto e = ebcdic("+12.25E+00");
    const FloatNumber fromEbcdic = e->asLongDouble();
    EXPECT_EQ(fromEbcdic.getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ(static_cast<long double>(fromEbcdic), 12.25L);
    const auto n = national("+12.25E+00");
    const FloatNumber fromNational = n->asLongDouble();
    EXPECT_EQ(fromNational.getFormat(), FloatNumber::IEEE);
    EXPECT_EQ(static_cast<long double>(fromNational), 12.25L);

    // Text: the EBCDIC characters as they stand; a national item gives
    // none, 2 for a target that takes no numeric characters, else 16.
    TNcharstring plain{};
    plain.leaf = TE_CHARSTRING;
    plain.size.length = 10;
    EXPECT_EQ(bytesOf(e->asCharstring(plain)), ebcdicOf("+12.25E+00"));
    EXPECT_EQ(raisedCode([&] { n->asCharstring(plain); }), InvalidOp::RTRC_Other);
    TNcharstring flagged = plain;
    flagged.flags = 0x20;
    EXPECT_EQ(raisedCode([&] { n->asCharstring(flagged); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(bytesOf(n->asNationalString(TNnational_string{})), utf16Of("+12.25E+00"));

    // No arithmetic and no zero test.
    EXPECT_EQ(raisedCode([&] { e->genAdd(*n); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { e->isZero(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { n->asUnsigned(); }), InvalidOp::RTRC_IncompatTypes);
}

// Pairs of external floats against the answer of exact decimal arithmetic
// (-1, 0, 1 for left against right), both encodings, all six relations.
TEST_F(ExternalFloatItemTest, ComparesTheNumbersExactly)
{
    struct {
        const char* left;
        const char* leftPicture;
        const char* right;
        const char* rightPicture;
        int order;
    } cases[] = {
        // Mixed signs: the characters would order + (0x4E) below - (0x60).
        {"+10.00E+00", kPicture, "-20.00E-01", kPicture, 1},
        {"-20.00E-01", kPicture, "+10.00E+00", kPicture, -1},
        // Different exponents: 0.5 against 1.
        {"+50.00E-02", kPicture, "+10.00E-01", kPicture, -1},
        {"+5.0E-01", "+9.9E+99", "+1.0E+00", "+9.9E+99", -1},
        // One number written two ways.
        {"+01.00E+01", kPicture, "+10.00E+00", kPicture, 0},
        {"+1.0E+01", "+9.9E+99", "+10.00E+00", kPicture, 0},
        {"-12.50E-01", kPicture, "-1.25E+00", "+9.99E+99", 0},
        // Zeros of either sign and any exponent.
        {"-00.00E+05", kPicture, "+00.00E-03", kPicture, 0},
        {"+00.00E+00", kPicture, "-01.00E-90", kPicture, 1},
        // Negative numbers order by magnitude reversed.
        {"-99.99E+99", kPicture, "-10.00E+99", kPicture, -1},
        {"-01.00E-90", kPicture, "-01.00E-89", kPicture, 1},
        // Close magnitudes: digits beyond the shorter mantissa decide.
        {"+12.34E+00", kPicture, "+1.23E+01", "+9.99E+99", 1},
        {"+1.23E+01", "+9.99E+99", "+12.30E+00", kPicture, 0},
        // An implied point and blank signs: " 2500E 00" is 2.5.
        {" 2500E 00", "-9V9(3)E-99", "+25.00E-01", kPicture, 0},
        {"-2500E-01", "-9V9(3)E-99", "-25.00E-02", kPicture, 0},
    };
    for (const auto& c : cases) {
        const std::string label = std::string(c.left) + " ? " + c.right;
        const auto check = [&](StackItem& l, const StackItem& r, const char* how) {
            EXPECT_EQ(l.genEQ(r), c.order == 0 ? 1 : 0) << label << how;
            EXPECT_EQ(l.genNE(r), c.order != 0 ? 1 : 0) << label << how;
            EXPECT_EQ(l.genLT(r), c.order < 0 ? 1 : 0) << label << how;
            EXPECT_EQ(l.genLE(r), c.order <= 0 ? 1 : 0) << label << how;
            EXPECT_EQ(l.genGT(r), c.order > 0 ? 1 : 0) << label << how;
            EXPECT_EQ(l.genGE(r), c.order >= 0 ? 1 : 0) << label << how;
        };
        const auto l = ebcdic(c.left, c.leftPicture);
        const auto r = ebcdic(c.right, c.rightPicture);
        const auto nl = national(c.left, c.leftPicture);
        const auto nr = national(c.right, c.rightPicture);
        EXPECT_EQ(raisedCode([&] {
                      check(*l, *r, " ebcdic");
                      check(*nl, *nr, " national");
                      // Against the other encoding: converted into this
                      // picture first.
                      check(*l, *nr, " ebcdic/national");
                  }),
                  0)
            << label;
    }
}

TEST_F(ExternalFloatItemTest, ComparesWithDecimalsAfterEditingThemIntoThisPicture)
{
    const auto e = ebcdic("+12.25E+00");
    EXPECT_EQ(e->genEQ(*literal('P', "12.25")), 1);
    EXPECT_EQ(e->genLT(*literal('P', "12.26")), 1);
    EXPECT_EQ(e->genGT(*literal('P', "-100")), 1);
    // The picture keeps two fraction digits: 12.259 is cut to 12.25.
    EXPECT_EQ(e->genEQ(*literal('P', "12.259")), 1);
}

} // namespace
