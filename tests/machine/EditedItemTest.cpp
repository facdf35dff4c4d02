// The edited stack items (numeric, alphanumeric, national, national numeric
// and DBCS edited) and the SQL-type item.

#include <memory>
#include <string>
#include <vector>

#include "EditedItemFixture.h"
#include "datatypes/DbcsEdited.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItemAlphaNumericEdited.h"
#include "machine/StackItemDbcsEdited.h"
#include "machine/StackItemNationalEdited.h"
#include "machine/StackItemNationalNumericEdited.h"
#include "machine/StackItemNumericEdited.h"
#include "machine/StackItemSqltype.h"
#include "services/InvalidOp.h"
#include "testhost/TestHost.h"

namespace {

class EditedItemTest : public EditedItemFixture {
protected:
    TYPE_INDEX numericType() { return numericEditedType(TE_NUMERIC_EDITED, "ZZ9.99", 6, 5, -2); }
    TYPE_INDEX nationalNumericType() { return numericEditedType(TE_NATIONAL_NUMERIC_EDITED, "ZZ9.99", 12, 5, -2); }
    TYPE_INDEX alphaType() { return pictureType(TE_ALPHA_NUMERIC_EDITED, "XXBXX", 5); }
    TYPE_INDEX nationalEditedType() { return pictureType(TE_NATIONAL_EDITED, "NNBNN", 10); }
    TYPE_INDEX dbcsType() { return pictureType(TE_DBCS_EDITED, "GG", 4); }
};

TEST_F(EditedItemTest, FactoryRowsLoadsAndSizes)
{
    struct {
        TYPE_INDEX type;
        std::vector<std::uint8_t> image;
        const std::type_info& itemClass;
    } cases[] = {
        {numericType(), ebcdicOf(" 12.50"), typeid(StackItemNumericEdited)},
        {nationalNumericType(), utf16Of(" 12.50"), typeid(StackItemNationalNumericEdited)},
        {alphaType(), ebcdicOf("AB CD"), typeid(StackItemAlphaNumericEdited)},
        {nationalEditedType(), utf16Of("AB CD"), typeid(StackItemNationalEdited)},
        {dbcsType(), {0x42, 0xC1, 0x42, 0xC2}, typeid(StackItemDbcsEdited)},
    };
    for (const auto& c : cases) {
        const auto item = made(c.type);
        const StackItem& madeItem = *item;
        EXPECT_TRUE(typeid(madeItem) == c.itemClass) << c.itemClass.name();
        EXPECT_EQ(item->size(), c.image.size()) << c.itemClass.name();
        // A new item shows blanks over the whole type, never fewer bytes.
        const bool wide =
            c.itemClass == typeid(StackItemNationalNumericEdited) || c.itemClass == typeid(StackItemNationalEdited);
        EXPECT_EQ(imageOf(*item), wide ? utf16Of(std::string(c.image.size() / 2, ' '))
                                       : std::vector<std::uint8_t>(c.image.size(), 0x40))
            << c.itemClass.name();
        item->load(place(c.image));
        EXPECT_TRUE(item->hasValue());
        EXPECT_EQ(imageOf(*item), c.image) << c.itemClass.name();

        const auto fresh = made(c.type);
        EXPECT_EQ(raisedCode([&] { fresh->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
        EXPECT_FALSE(fresh->hasValue());
        // No arithmetic for any edited kind.
        EXPECT_EQ(raisedCode([&] { item->genAdd(*item); }), InvalidOp::RTRC_IncompatTypes);
        EXPECT_EQ(raisedCode([&] { item->genNegate(); }), InvalidOp::RTRC_IncompatTypes);
        // A group sees the bytes as stored.
        EXPECT_EQ(bytesOf(item->asAlphaNumericGroup(TNclass{})), c.image) << c.itemClass.name();
    }
}

TEST_F(EditedItemTest, LengthZeroRefusesTheLoad)
{
    const auto good = made(numericType());
    StackItemNumericEdited numeric(rep(), static_cast<StackItemNumericEdited&>(*good).value(),
                                   TypeItem(numericEditedType(TE_NUMERIC_EDITED, "ZZ9.99", 0, 5, -2)));
    EXPECT_EQ(raisedCode([&] { numeric.load(place(ebcdicOf(" 12.50"))); }), InvalidOp::RTRC_Other);
    const auto goodAlpha = made(alphaType());
    StackItemAlphaNumericEdited alpha(rep(), static_cast<StackItemAlphaNumericEdited&>(*goodAlpha).value(),
                                      TypeItem(pictureType(TE_ALPHA_NUMERIC_EDITED, "XXBXX", 0)));
    EXPECT_EQ(raisedCode([&] { alpha.load(place(ebcdicOf("AB CD"))); }), InvalidOp::RTRC_Other);
}

TEST_F(EditedItemTest, MovesIntoNumericEditedFromANumberOrAGroup)
{
    for (TYPE_INDEX type : {numericType(), nationalNumericType()}) {
        const bool isNational = made(type)->size() == 12;
        const auto target = made(type);
        const auto text = [&](const char* s) { return isNational ? utf16Of(s) : ebcdicOf(s); };

        // A number is edited into the picture, as a COBOL MOVE does.
        target->genConvert(*literal('P', "12.5"));
        EXPECT_EQ(imageOf(*target), text(" 12.50"));

        // Another edited item would have to be de-edited: refused, the value
        // stays.
        const std::vector<std::uint8_t> before = imageOf(*target);
        const auto edited = loaded(numericType(), ebcdicOf(" 99.99"));
        EXPECT_EQ(raisedCode([&] { target->genConvert(*edited); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(imageOf(*target), before);
        const auto national = loaded(nationalNumericType(), utf16Of(" 99.99"));
        EXPECT_EQ(raisedCode([&] { target->genConvert(*national); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(imageOf(*target), before);

        // A group's text enters as it stands, unedited.
        const std::vector<std::uint8_t> group = text("ABCDEF");
        target->genConvert(*loaded(groupType(static_cast<UBYTE4>(group.size())), group));
        EXPECT_EQ(imageOf(*target), group);
    }
}

// Numbers moved into pictures of each sign and currency form give the text
// GnuCOBOL 3.1.2 displays after the same MOVE (the digits beyond the
// picture cut, the sign dropped by a picture without one).
TEST_F(EditedItemTest, EditsNumbersAsCobolMoves)
{
    struct Picture {
        const char* picture;
        UBYTE4 length;
        UBYTE1 digits;
        signed char scale;
    };
    const Picture pictures[] = {{"ZZ,ZZ9.99", 9, 7, -2}, {"-ZZ9.99", 7, 5, -2}, {"$$,$$9.99", 9, 6, -2},
                                {"ZZZ9-", 5, 4, 0},      {"***9.99", 7, 6, -2}, {"9(3).99CR", 8, 5, -2}};
    const struct {
        const char* number;
        const char* texts[6];
    } rows[] = {
        {"-123.45", {"   123.45", "-123.45", "  $123.45", " 123-", "*123.45", "123.45CR"}},
        {"12.5", {"    12.50", "  12.50", "   $12.50", "  12 ", "**12.50", "012.50  "}},
        {"7", {"     7.00", "   7.00", "    $7.00", "   7 ", "***7.00", "007.00  "}},
        {"1234.56", {" 1,234.56", " 234.56", "$1,234.56", "1234 ", "1234.56", "234.56  "}},
        {"0", {"     0.00", "   0.00", "    $0.00", "   0 ", "***0.00", "000.00  "}},
    };
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < std::size(pictures); ++i) {
            const Picture& p = pictures[i];
            const auto target = made(numericEditedType(TE_NUMERIC_EDITED, p.picture, p.length, p.digits, p.scale));
            target->genConvert(*literal('P', row.number));
            EXPECT_EQ(imageOf(*target), ebcdicOf(row.texts[i])) << row.number << " into " << p.picture;
        }
    }
}

TEST_F(EditedItemTest, NumbersOutOfEditedTextAreRefused)
{
    const auto numeric = loaded(numericType(), ebcdicOf(" 12.50"));
    const auto nationalNumeric = loaded(nationalNumericType(), utf16Of(" 12.50"));
    for (StackItem* item : {numeric.get(), nationalNumeric.get()}) {
        EXPECT_EQ(raisedCode([&] { item->asPackedDecimal(TNpacked_decimal{}); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(raisedCode([&] { item->asZonedDecimal(TNzoned_decimal{}); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(raisedCode([&] { item->asNationalDecimal(TNnational_decimal{}); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(raisedCode([&] { item->asFixedPointBinary(TNfixed_point_binary{}); }), InvalidOp::RTRC_NotSupported);
        EXPECT_EQ(raisedCode([&] { item->asLongDouble(); }), InvalidOp::RTRC_NotSupported);
    }
    // The text kinds hold no number at all.
    const auto alpha = loaded(alphaType(), ebcdicOf("AB CD"));
    EXPECT_EQ(raisedCode([&] { alpha->asPackedDecimal(TNpacked_decimal{}); }), InvalidOp::RTRC_IncompatTypes);
    const auto national = loaded(nationalEditedType(), utf16Of("AB CD"));
    EXPECT_EQ(raisedCode([&] { national->asLongDouble(); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(EditedItemTest, SamePictureComparesTheEditedBytes)
{
    struct {
        const char* left;
        const char* right;
        int order;
    } cases[] = {
        {" 12.50", " 12.50", 0}, {" 12.50", " 12.51", -1}, {"100.00", " 99.99", 1}, // '1' (0xF1) above a blank (0x40)
    };
    for (const auto& c : cases) {
        for (bool isNational : {false, true}) {
            const auto l =
                isNational ? loaded(nationalNumericType(), utf16Of(c.left)) : loaded(numericType(), ebcdicOf(c.left));
            const auto r =
                isNational ? loaded(nationalNumericType(), utf16Of(c.right)) : loaded(numericType(), ebcdicOf(c.right));
            EXPECT_EQ(l->genEQ(*r), c.order == 0) << c.left << " " << c.right;
            EXPECT_EQ(l->genNE(*r), c.order != 0) << c.left << " " << c.right;
            EXPECT_EQ(l->genLT(*r), c.order < 0) << c.left << " " << c.right;
            EXPECT_EQ(l->genGE(*r), c.order >= 0) << c.left << " " << c.right;
            EXPECT_EQ(l->genGT(*r), c.order > 0) << c.left << " " << c.right;
            EXPECT_EQ(l->genLE(*r), c.order <= 0) << c.left << " " << c.right;
        }
    }
    // A packed right operand is edited into this picture first.
    const auto l = loaded(numericType(), ebcdicOf(" 12.50"));
    EXPECT_EQ(l->genEQ(*literal('P', "12.5")), 1);
    EXPECT_EQ(l->genLT(*literal('P', "12.51")), 1);
}

TEST_F(EditedItemTest, TextViewsOfEachKind)
{
    TNcharstring text{};
    text.leaf = TE_CHARSTRING;
    const auto numeric = loaded(numericType(), ebcdicOf(" 12.50"));
    EXPECT_EQ(bytesOf(numeric->asCharstring(text)), ebcdicOf(" 12.50"));
    EXPECT_EQ(bytesOf(numeric->asNationalString(TNnational_string{})), utf16Of(" 12.50"));
    const auto nationalNumeric = loaded(nationalNumericType(), utf16Of(" 12.50"));
    EXPECT_EQ(bytesOf(nationalNumeric->asCharstring(text)), ebcdicOf(" 12.50"));
    EXPECT_EQ(bytesOf(nationalNumeric->asNationalString(TNnational_string{})), utf16Of(" 12.50"));
    const auto alpha = loaded(alphaType(), ebcdicOf("AB CD"));
    EXPECT_EQ(bytesOf(alpha->asNationalString(TNnational_string{})), utf16Of("AB CD"));
    const auto national = loaded(nationalEditedType(), utf16Of("AB CD"));
    EXPECT_EQ(bytesOf(national->asCharstring(text)), ebcdicOf("AB CD"));

    // An alphanumeric-edited move takes the source's stored text as plain
    // characters and edits it into this picture: its inserted blank takes a
    // data position.
    const auto target = made(alphaType());
    target->genConvert(*loaded(alphaType(), ebcdicOf("WX YZ")));
    EXPECT_EQ(imageOf(*target), ebcdicOf("WX  Y"));
    EXPECT_EQ(target->genEQ(*alpha), 0);
    EXPECT_EQ(target->genGT(*alpha), 1);
}

TEST_F(EditedItemTest, DbcsEditedToNationalFramesTheTextForTheHost)
{
    const std::vector<std::uint8_t> dbcs = {0x42, 0xC1, 0x42, 0xC2};
    const auto item = loaded(dbcsType(), dbcs);
    EXPECT_EQ(bytesOf(item->asDbcsString(TNdbcs_string{})), dbcs);
    host.clearCalls();
    const ByteString national = item->asNationalString(TNnational_string{});
    // Shift-out, the four bytes, shift-in: six bytes in one piece.
    const auto calls = host.callsTo(HS_ExprEbcdicConvert);
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(calls.front().arguments.find("sourceLength=6"), std::string::npos) << calls.front().arguments;
    EXPECT_EQ(national.length(), 12u);
}

TEST_F(EditedItemTest, SqlTypeItemHasNoValue)
{
    TYPE_INDEX index{};
    records().newType(89, &index);
    const auto item = made(index);
    ASSERT_NE(dynamic_cast<StackItemSqltype*>(item.get()), nullptr);
    EXPECT_TRUE(item->hasValue());
    EXPECT_EQ(item->size(), 0u);
    std::unique_ptr<StackItem> copy(item->clone());
    EXPECT_TRUE(copy->hasValue());
    EXPECT_EQ(raisedCode([&] { item->load(place({1, 2, 3, 4})); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_FALSE(item->hasValue());
    EXPECT_EQ(raisedCode([&] { item->isZero(); }), InvalidOp::RTRC_NotAllocated);
    EXPECT_EQ(raisedCode([&] { item->genEQ(*copy); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { copy->asSigned(); }), InvalidOp::RTRC_IncompatTypes);
}

} // namespace
