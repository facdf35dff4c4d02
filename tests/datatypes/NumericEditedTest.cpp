// Numeric-edited and national numeric-edited values: editing from every
// numeric source, the refusal of de-editing, text-copying arithmetic, and
// widening and narrowing between EBCDIC and UTF-16BE.

#include "EditedFixture.h"

#include <functional>

#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/CreatedTypeItem.h"

using namespace editedtest;

namespace {

TNnumeric_edited record(const char* picture, unsigned length, int precision, int scale)
{
    return numericPictureRecord<TNnumeric_edited>(TE_NUMERIC_EDITED, picture, length, precision, scale);
}

TNnational_numeric_edited nationalRecord(const char* picture, unsigned length, int precision, int scale)
{
    return numericPictureRecord<TNnational_numeric_edited>(TE_NATIONAL_NUMERIC_EDITED, picture, length, precision,
                                                           scale);
}

// The error an operation raises: its code, function text and line.
template <class F>
InvalidOp caught(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e;
    }
    return InvalidOp(InvalidOp::RTRC_AssertFail, "nothing thrown", 0);
}

} // namespace

TEST_F(EditedTest, NumericEditedFromEveryNumber)
{
    const TNnumeric_edited minus = record("-ZZ9.99", 7, 5, -2);
    const TNnumeric_edited plain = record("ZZ9.99", 6, 5, -2);
    EXPECT_EQ(hex(NumericEdited(minus, -12.5L).bytes()), hex(ebcdic("- 12.50")));
    EXPECT_EQ(hex(NumericEdited(plain, -12.5L).bytes()), hex(ebcdic(" 12.50")));

    const std::string expected = hex(ebcdic("- 12.50"));
    EXPECT_EQ(hex(NumericEdited(PackedDecimal("-12.5"), minus).bytes()), expected);
    EXPECT_EQ(hex(NumericEdited(NationalDecimal("-12.5"), minus).bytes()), expected);
    EXPECT_EQ(hex(NumericEdited(ZonedDecimal("-12.5"), minus).bytes()), expected);
    TNfixed_point_binary b{};
    b.leaf = TE_FIXED_POINT_BINARY;
    b.flags = TN_BinarySigned;
    b.byteLength = 4;
    b.precision = 5;
    b.scale = -2;
    EXPECT_EQ(hex(NumericEdited(FixedPointBinary(b, -12.5L), minus).bytes()), expected);
    EXPECT_EQ(hex(NumericEdited(ebcdic("-12.5"), minus).bytes()), expected);

    TNexternal_float x{};
    x.leaf = TE_EXTERNAL_FLOAT;
    x.length = 10;
    x.picture = "-9(2).9(2)E+99";
    const ExternalFloat external(x, -12.5L);
    EXPECT_EQ(hex(NumericEdited(external, minus).bytes()), expected);
    EXPECT_EQ(hex(NumericEdited(external.convertToNationalExternalFloat(), minus).bytes()), expected);

    // A zoned source with a separate leading sign and the picture's scale
    // but other digits is moved into the working item first.
    const TypeItem* wider = CreatedTypeItem::findOrCreateZonedDecimalType(7, -2, true, nullptr, TN_SignLeadingSeparate);
    ASSERT_NE(wider, nullptr);
    const ZonedDecimal seven("-0001250", *wider);
    EXPECT_EQ(hex(NumericEdited(seven, minus).bytes()), expected);
    // One of the working layout is edited as it stands.
    const TypeItem* same = CreatedTypeItem::findOrCreateZonedDecimalType(5, -2, true, nullptr, TN_SignLeadingSeparate);
    EXPECT_EQ(hex(NumericEdited(ZonedDecimal("-01250", *same), minus).bytes()), expected);

    // P positions: digits of 10^-3 and 10^-4 for PP99, of 10^2 and up for
    // ZZ9PP; the P writes nothing.
    EXPECT_EQ(hex(NumericEdited(ZonedDecimal("0.1234"), record("PP99", 2, 2, -4)).bytes()), hex(ebcdic("34")));
    EXPECT_EQ(hex(NumericEdited(record("PP99", 2, 2, -4), 0.0012L).bytes()), hex(ebcdic("12")));
    EXPECT_EQ(hex(NumericEdited(PackedDecimal("12345"), record("ZZ9PP", 3, 3, 2)).bytes()), hex(ebcdic("123")));

    // A picture narrower than the item leaves the prefill after its text.
    EXPECT_EQ(hex(NumericEdited(record("ZZ9", 5, 3, 0), 42.0L).bytes()), "40F4F23030");

    // The record-less form has no picture to edit the packed value's long
    // double into: it refuses.
    EXPECT_EQ(errorCode([] { NumericEdited(PackedDecimal("1")); }), InvalidOp::RTRC_Other);
}

TEST_F(EditedTest, NumericEditedReadsAndRefusesDeEditing)
{
    const TypeItem* type = CreatedTypeItem::findOrCreateNumericEditedType(6, 5, -2, "ZZ9.99");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(NumericEdited(*type).bytes().length(), 0u);
    const TypeItem* empty = CreatedTypeItem::findOrCreateNumericEditedType(0, 5, -2, "ZZ9.99");
    const InvalidOp noLength = caught([&] { NumericEdited{*empty}; });
    EXPECT_EQ(noLength.code(), InvalidOp::RTRC_Other);
    EXPECT_STREQ(noLength.function(), "NumericEdited::NumericEdited(const TypeItem&)");
    EXPECT_EQ(noLength.line(), 171u);

    // Memory forms take exactly the record's length, zero bytes included.
    const unsigned char memory[] = {0x40, 0x00, 0xF1, 0x4B, 0xF2, 0xF5, 0xFF};
    const TNnumeric_edited r = record("ZZ9.99", 6, 5, -2);
    EXPECT_EQ(hex(NumericEdited(memory, r).bytes()), "4000F14BF2F5");
    NumericEdited filled;
    filled.fill(memory, r);
    EXPECT_EQ(hex(filled.bytes()), "4000F14BF2F5");
    EXPECT_EQ(NumericEdited(nullptr, r).bytes().length(), 0u);

    const NumericEdited value(r, 1.5L);
    const NationalNumericEdited national = value.convertToNationalNumericEdited();
    TNpacked_decimal pr = PackedDecimal::resultRecord(5, 2);
    TNnational_decimal nr = NationalDecimal::standardRecord(5, 2, -2);
    TNfixed_point_binary br{};
    br.leaf = TE_FIXED_POINT_BINARY;
    br.byteLength = 4;
    const std::vector<std::function<void()>> deEditing = {
        [&] { NumericEdited(r, 0.0L).convert(value); },
        [&] { (void)static_cast<long double>(value); },
        [&] { ZonedDecimal{value}; },
        [&] { PackedDecimal(value, pr); },
        [&] { NationalDecimal(value, nr); },
        [&] { FixedPointBinary(value, br); },
        [&] { NumericEdited(national, r); },
        [&] { ZonedDecimal{national}; },
        [&] { PackedDecimal(national, pr); },
        [&] { NationalDecimal(national, nr); },
        [&] { NationalNumericEdited(national).convert(national); },
        [&] { (void)static_cast<long double>(national); },
    };
    for (size_t i = 0; i < deEditing.size(); ++i) {
        const InvalidOp e = caught(deEditing[i]);
        EXPECT_EQ(e.code(), InvalidOp::RTRC_NotSupported) << i;
        EXPECT_STREQ(e.function(), "void NumericEdited::moveNumEditToNum(PICSTRUC2*, char*) const") << i;
        EXPECT_EQ(e.line(), 1178u) << i;
    }

    // De-editing first turns the expanded picture into EBCDIC.
    PICSTRUC2 info;
    NumericEdited(record("$Z,9.9VPBCR0/*+-D", 20, 4, -1), nullptr).getNumEditPicInfo(info);
    value.convertNumEditPicInfo(info);
    EXPECT_EQ(hex(ByteString(reinterpret_cast<const unsigned char*>(info.chars), static_cast<unsigned>(info.count))),
              "5BE96BF94BF9E5D7C2C3D9F0615C4E60C4");
}

TEST_F(EditedTest, NumericEditedArithmeticCopiesText)
{
    const TNnumeric_edited left = record("ZZ9.99", 6, 5, -2);
    const TNnumeric_edited right = record("$$$9", 4, 3, 0);
    NumericEdited a(left, 1.5L);
    const NumericEdited b(right, 7.0L);
    const NumericEdited sum = a + b;
    EXPECT_EQ(hex(sum.bytes()), hex(b.bytes()));
    EXPECT_STREQ(sum.record().picture, "ZZ9.99");
    EXPECT_EQ(hex(a.bytes()), hex(ebcdic("  1.50")));
    for (auto op : {&NumericEdited::operator+=, &NumericEdited::operator-=, &NumericEdited::operator*=,
                    &NumericEdited::operator/=}) {
        NumericEdited c(left, 1.5L);
        (c.*op)(b);
        EXPECT_EQ(hex(c.bytes()), hex(b.bytes()));
        EXPECT_EQ(c.record().length, 6u);
    }
    EXPECT_EQ(hex((-a).bytes()), hex(a.bytes()));
    EXPECT_EQ(static_cast<long long>(a), 0);
    EXPECT_FALSE(!a);

    ByteString abc = ebcdic("ABC");
    ByteString abcd = ebcdic("ABCD");
    ByteString abd = ebcdic("ABD");
    EXPECT_EQ(NumericEdited(left, abc).compare(NumericEdited(left, abcd)), 0);
    EXPECT_EQ(NumericEdited(left, abc).compare(NumericEdited(left, abd)), -1);
    EXPECT_EQ(NumericEdited(left, abd).compare(NumericEdited(left, abc)), 1);

    unsigned char out[8];
    std::memset(out, 0xEE, sizeof out);
    a.format(out, 8);
    EXPECT_EQ(hex(ByteString(out, 8)), hex(ebcdic("  1.50")) + "0000");
    char text[4];
    EXPECT_EQ(a.format(text), -1);
}

TEST_F(EditedTest, NationalNumericEditedWidensAndNarrows)
{
    // Widening keeps every edited character, each after a 0x00 byte.
    const char* picture = "$$,$$9.99CR";
    const NumericEdited edited(record(picture, 11, 6, -2), -1234.5L);
    EXPECT_EQ(hex(edited.bytes()), hex(ebcdic("$1,234.50CR")));
    const NationalNumericEdited wide = edited.convertToNationalNumericEdited();
    EXPECT_EQ(hex(wide.bytes()), hex(utf16("$1,234.50CR")));
    EXPECT_EQ(wide.record().leaf, static_cast<UBYTE4>(TE_NATIONAL_NUMERIC_EDITED));
    EXPECT_EQ(wide.record().length, 22u);

    // A national item of 18 bytes is edited through one of 9.
    const TNnational_numeric_edited nr = nationalRecord("ZZZ9.99CR", 18, 6, -2);
    const NationalNumericEdited fromZoned(ZonedDecimal("-0.5"), nr);
    EXPECT_EQ(hex(fromZoned.bytes()), hex(utf16("   0.50CR")));
    EXPECT_EQ(hex(NationalNumericEdited(PackedDecimal("-0.5"), nr).bytes()), hex(utf16("   0.50CR")));
    EXPECT_EQ(hex(NationalNumericEdited(NationalDecimal("7"), nr).bytes()), hex(utf16("   7.00  ")));
    EXPECT_EQ(hex(NationalNumericEdited(ebcdic("7"), nr).bytes()), hex(utf16("   7.00  ")));

    // Every character of both tables survives widening then narrowing;
    // anything else comes back as a space.
    const std::string all = "0123456789.,+- *$/BCDER";
    ByteString narrowText = ebcdic(all);
    narrowText += 0x7B; // '#': in neither table
    const NumericEdited source(record("X", narrowText.length(), 1, 0), narrowText);
    const NumericEdited back = source.convertToNationalNumericEdited().convertToNumericEdited();
    EXPECT_EQ(hex(back.bytes()), hex(ebcdic(all + " ")));
    EXPECT_EQ(back.record().leaf, static_cast<UBYTE4>(TE_NUMERIC_EDITED));

    // A character outside the table narrows to a space; with an odd length
    // the last byte is not narrowed.
    ByteString odd = utf16("1X3");
    odd += 0x00;
    const NationalNumericEdited oddItem(nationalRecord("N", 7, 1, 0), odd);
    EXPECT_EQ(hex(oddItem.convertToNumericEdited().bytes()), "F140F3");

    const TypeItem* empty = CreatedTypeItem::findOrCreateNationalNumericEditedType(0, 1, 0, "Z");
    const InvalidOp e = caught([&] { NationalNumericEdited{*empty}; });
    EXPECT_EQ(e.code(), InvalidOp::RTRC_Other);
    EXPECT_EQ(e.line(), 182u);
    // A packed value gives its long double now, as a zoned one does.
    EXPECT_EQ(errorCode([] { NationalNumericEdited(PackedDecimal("1")); }), 0);

    // In-place arithmetic copies the other's text here too.
    NationalNumericEdited target(nr, 1.0L);
    target += fromZoned;
    EXPECT_EQ(hex(target.bytes()), hex(fromZoned.bytes()));
}

// Records that do not fit their pictures give an error or a text of the
// record's length, never a read or write outside the values' bytes.
TEST_F(EditedTest, OddRecordsStayInBounds)
{
    struct {
        const char* picture;
        unsigned length;
        int precision;
        int scale;
    } records[] = {
        {nullptr, 4, 3, 0},      {"", 4, 3, 0},       {"ZZ9", 0, 3, 0},     {"ZZ9", 3, 0, 0},
        {"Z(3", 3, 3, 0},        {"PPPP", 2, 0, 4},   {"9(31)", 31, 31, 0}, {"$$$", 3, 2, 0},
        {"+(250)", 250, 249, 0}, {"9(3)CR", 2, 3, 0}, {"CRDB", 4, 0, 0},    {"(((", 3, 1, 0},
    };
    for (const auto& r : records) {
        const TNnumeric_edited rec = record(r.picture, r.length, r.precision, r.scale);
        for (long double v : {0.0L, -1.0L, 123.0L}) {
            try {
                const NumericEdited value(rec, v);
                EXPECT_EQ(value.bytes().length(), r.length) << (r.picture ? r.picture : "null");
            } catch (const InvalidOp&) {
            }
        }
    }
    EXPECT_EQ(hex(NumericEdited(record(nullptr, 3, 2, 0), 5.0L).bytes()), "303030");
}
