// National-edited and DBCS-edited values: picture analysis into entries,
// the two-byte edits, and moves between items of the same class.

#include "EditedFixture.h"

#include "datatypes/DbcsEdited.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/CreatedTypeItem.h"

using namespace editedtest;

namespace {

TNnational_edited nationalRecord(const char* picture, unsigned length)
{
    return pictureRecord<TNnational_edited>(TE_NATIONAL_EDITED, picture, length);
}

TNdbcs_edited dbcsRecord(const char* picture, unsigned length)
{
    return pictureRecord<TNdbcs_edited>(TE_DBCS_EDITED, picture, length);
}

} // namespace

TEST_F(EditedTest, NationalEditPlacesInsertions)
{
    struct {
        const char* picture;
        unsigned length;
        const char* source;
        std::string expected; // hex
    } cases[] = {
        {"N(3)BN(2)", 12, "ABCDE", hex(utf16("ABC DE"))},
        {"N(2)0(2)N", 10, "ABC", hex(utf16("AB00C"))},
        {"nnbn/n", 12, "ABCD", hex(utf16("AB C/D"))},
        {"N(4)", 8, "AB", hex(utf16("AB  "))},
        // Longer picture than item: stops at the item's end, also in the
        // middle of a character; shorter: the prefill stays.
        {"N(4)", 5, "ABCD", "0041004200"},
        {"NN", 6, "AB", hex(utf16("AB")) + "2020"},
        // An empty source stops the edit at the prefill.
        {"N(2)", 4, "", "20202020"},
    };
    for (const auto& c : cases) {
        const NationalEdited value(utf16(c.source), nationalRecord(c.picture, c.length));
        EXPECT_EQ(hex(value.bytes()), c.expected) << c.picture << " " << c.source;
    }

    Pic_Info1 info;
    NationalEdited(nationalRecord("N(3)BX9N(0)/0(2)", 10), nullptr).getNatEditPicInfo(info);
    ASSERT_EQ(info.entryCount(), 5u);
    EXPECT_EQ(info.byteSize, 20u);
    const unsigned expected[][2] = {{'N', 3}, {0x20, 1}, {'N', 1}, {'/', 1}, {'0', 2}};
    for (unsigned i = 0; i < 5; ++i) {
        EXPECT_EQ(info.entries[i].character, expected[i][0]) << i;
        EXPECT_EQ(info.entries[i].repeat, expected[i][1]) << i;
    }
}

TEST_F(EditedTest, DbcsEditPlacesSpaces)
{
    // Two DBCS characters into G(2)BG: both, the DBCS space, and a DBCS
    // space for the exhausted third position.
    const ByteString source = fromHex("42C142C2");
    const DbcsEdited value(source, dbcsRecord("G(2)BG", 8));
    EXPECT_EQ(hex(value.bytes()), "42C142C240404040");
    // '/' and '0' have no DBCS form and write nothing.
    EXPECT_EQ(hex(DbcsEdited(source, dbcsRecord("G/0G", 6)).bytes()), "42C142C22020");
    // An odd length: the half character at the end is cut.
    EXPECT_EQ(hex(DbcsEdited(source, dbcsRecord("gbn", 5)).bytes()), "42C1404042");
    Pic_Info1 info;
    DbcsEdited(dbcsRecord("G(2)BXg(3)", 6), nullptr).getDbcsEditPicInfo(info);
    ASSERT_EQ(info.entryCount(), 3u);
    EXPECT_EQ(info.entries[2].character, 'g');
    EXPECT_EQ(info.entries[2].repeat, 3u);
}

TEST_F(EditedTest, NationalAndDbcsMovesAndNumbers)
{
    // Same length and picture: the bytes are copied as they are, even when
    // they are no edit of that picture.
    const TNnational_edited r = nationalRecord("N(2)BN", 8);
    ByteString odd = fromHex("0041004200430044");
    NationalEdited target(utf16("XYZ"), r);
    target.convert(NationalEdited(r, odd));
    EXPECT_EQ(hex(target.bytes()), "0041004200430044");
    // Another picture: the other's text is edited into this one.
    NationalEdited other(utf16("ABCD"), nationalRecord("N(4)", 8));
    target.convert(other);
    EXPECT_EQ(hex(target.bytes()), hex(utf16("AB C")));
    // A null picture on one side only counts as another picture.
    NationalEdited plain(nationalRecord(nullptr, 8), odd);
    target.convert(plain);
    EXPECT_EQ(hex(target.bytes()), hex(utf16("AB C")));

    const TNdbcs_edited d = dbcsRecord("GBG", 6);
    DbcsEdited dbcs(fromHex("42C142C2"), d);
    dbcs.convert(DbcsEdited(fromHex("42C342C442C5"), dbcsRecord("G(3)", 6)));
    EXPECT_EQ(hex(dbcs.bytes()), "42C3404042C4");

    // In-place arithmetic copies the right operand's text.
    NationalEdited sum = NationalEdited(utf16("AB"), r) + other;
    EXPECT_EQ(hex(sum.bytes()), hex(other.bytes()));
    EXPECT_EQ(sum.record().length, 8u);

    // Numbers become E notation; national decimals and packed values are
    // refused.
    EXPECT_EQ(NationalEdited(r, 2.5L).bytes().length(), 12u);
    EXPECT_EQ(NationalEdited(ZonedDecimal("2.5")).record().leaf, static_cast<UBYTE4>(TE_NATIONAL_EDITED));
    EXPECT_EQ(DbcsEdited(ZonedDecimal("2.5")).record().leaf, static_cast<UBYTE4>(TE_DBCS_EDITED));
    for (auto attempt : {+[] { NationalEdited{NationalDecimal("1")}; }, +[] { DbcsEdited{NationalDecimal("1")}; }}) {
        try {
            attempt();
            ADD_FAILURE() << "national decimal accepted";
        } catch (const InvalidOp& e) {
            EXPECT_EQ(e.code(), InvalidOp::RTRC_Other);
            EXPECT_EQ(e.line(), 223u);
        }
    }
    // A packed value gives its long double now, as a zoned one does.
    EXPECT_EQ(errorCode([] { NationalEdited{PackedDecimal("1")}; }), 0);
    EXPECT_EQ(errorCode([] { DbcsEdited(PackedDecimal("1"), dbcsRecord("G", 2)); }), 0);

    const TypeItem* empty = CreatedTypeItem::findOrCreateNationalEditedType(0, "N");
    const TypeItem* emptyDbcs = CreatedTypeItem::findOrCreateDbcsEditedType(0, "G");
    try {
        NationalEdited{*empty};
        ADD_FAILURE();
    } catch (const InvalidOp& e) {
        EXPECT_STREQ(e.function(), "NationalEdited::NationalEdited(const TypeItem&)");
        EXPECT_EQ(e.line(), 130u);
    }
    try {
        DbcsEdited{*emptyDbcs};
        ADD_FAILURE();
    } catch (const InvalidOp& e) {
        EXPECT_STREQ(e.function(), "DbcsEdited::DbcsEdited(const TypeItem&)");
        EXPECT_EQ(e.line(), 130u);
    }

    const unsigned char memory[] = {0x00, 0x41, 0x00, 0x00, 0x00, 0x42, 0x77};
    EXPECT_EQ(hex(NationalEdited(memory, nationalRecord("N(3)", 6)).bytes()), "004100000042");
    DbcsEdited filled;
    filled.fill(memory, dbcsRecord("G(3)", 6));
    EXPECT_EQ(filled.bytes().length(), 6u);
}
