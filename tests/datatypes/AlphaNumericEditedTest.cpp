// Alphanumeric-edited values: the edit of a source text into a picture of
// data positions and insertion characters, and the plain-number forms.

#include "EditedFixture.h"

#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/CreatedTypeItem.h"

using namespace editedtest;

namespace {

TNalpha_numeric_edited record(const char* picture, unsigned length)
{
    return pictureRecord<TNalpha_numeric_edited>(TE_ALPHA_NUMERIC_EDITED, picture, length);
}

std::string ascii(const ByteString& b)
{
    return std::string(reinterpret_cast<const char*>(b.data()), b.length());
}

} // namespace

TEST_F(EditedTest, AlphaNumericEditPlacesInsertions)
{
    struct {
        const char* picture;
        unsigned length;
        const char* source;
        std::string expected; // EBCDIC text, then raw bytes in hex after '|'
    } cases[] = {
        {"XXBXX", 5, "ABCD", "AB CD"},
        {"XXBXX", 5, "AB", "AB   "},
        {"X(3)/X(2)", 6, "12345", "123/45"},
        {"xxbxx", 5, "ABCD", "AB CD"},
        {"A(2)0(2)9", 5, "XY7", "XY007"},
        {"XBX", 3, "ABCDEF", "A B"},
        // An item shorter than its picture is written only up to its end;
        // a longer one keeps the prefill after the picture.
        {"X(4)BX(4)", 6, "ABCDEFGH", "ABCD E"},
        {"XBX", 5, "AB", "A B|3030"},
        // An empty source leaves every data position blank.
        {"XX/X", 4, "", "  / "},
    };
    for (const auto& c : cases) {
        const std::string text = c.expected.substr(0, c.expected.find('|'));
        std::string expected = hex(ebcdic(text));
        if (c.expected.find('|') != std::string::npos)
            expected += c.expected.substr(c.expected.find('|') + 1);
        const AlphaNumericEdited value(ebcdic(c.source), record(c.picture, c.length));
        EXPECT_EQ(hex(value.bytes()), expected) << c.picture << " " << c.source;
    }

    AlphaNumericEdited probe(record("X(3)B(2)Z(2)x(0)", 10), nullptr);
    EXPECT_EQ(probe.getExpandedPicLength(), 10u);
    char out[11] = {};
    probe.expandAlphaNumEditPic(out);
    EXPECT_STREQ(out, "XXXBBZ(2)x");
    // Expanded pictures beyond the edit's limit are refused.
    EXPECT_EQ(errorCode([] { AlphaNumericEdited(ebcdic("A"), record("X(40000)", 4)); }), InvalidOp::RTRC_Other);

    // A zoned value is edited through its character form.
    EXPECT_EQ(hex(AlphaNumericEdited(ZonedDecimal("12345"), record("X(3)/X(2)", 6)).bytes()), hex(ebcdic("123/45")));
}

TEST_F(EditedTest, AlphaNumericEditedFromNumbersAndRefusals)
{
    const AlphaNumericEdited fromDouble(record("X(20)", 20), 12.5L);
    EXPECT_EQ(ascii(fromDouble.bytes()), "1.250000E+01");
    EXPECT_EQ(fromDouble.record().length, 20u);

    const ZonedDecimal zoned("-12.5");
    const AlphaNumericEdited fromZoned(zoned);
    EXPECT_EQ(ascii(fromZoned.bytes()), "-1.250E+01");
    EXPECT_EQ(fromZoned.record().length, fromZoned.bytes().length());
    const char* picture = fromZoned.record().picture; // records are packed: read by value
    EXPECT_EQ(picture, nullptr);
    EXPECT_EQ(fromZoned.record().leaf, static_cast<UBYTE4>(TE_ALPHA_NUMERIC_EDITED));

    TNfixed_point_binary br{};
    br.leaf = TE_FIXED_POINT_BINARY;
    br.flags = TN_BinarySigned;
    br.byteLength = 4;
    br.precision = 2;
    br.scale = -1;
    EXPECT_EQ(ascii(AlphaNumericEdited(FixedPointBinary(br, 7.5L)).bytes()), "7.50E+00");

    try {
        AlphaNumericEdited{NationalDecimal("1")};
        ADD_FAILURE() << "national decimal accepted";
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_Other);
        EXPECT_STREQ(e.function(), "AlphaNumericEdited::AlphaNumericEdited(const NationalDecimal&)");
        EXPECT_EQ(e.line(), 476u);
    }
    // A packed value gives its long double now: written as a double is.
    EXPECT_EQ(ascii(AlphaNumericEdited{PackedDecimal("-12.5")}.bytes()), "-1.250000E+01");
    EXPECT_EQ(errorCode([] { AlphaNumericEdited(PackedDecimal("1"), record("X", 1)); }), 0);

    const TypeItem* type = CreatedTypeItem::findOrCreateAlphaNumericEditedType(5, "XXBXX");
    EXPECT_EQ(AlphaNumericEdited(*type).bytes().length(), 0u);
    const TypeItem* empty = CreatedTypeItem::findOrCreateAlphaNumericEditedType(0, "XXBXX");
    try {
        AlphaNumericEdited{*empty};
        ADD_FAILURE() << "length 0 accepted";
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_Other);
        EXPECT_EQ(e.line(), 373u);
    }
}

TEST_F(EditedTest, AlphaNumericEditedCopiesTextAndMemory)
{
    const TNalpha_numeric_edited r = record("XXBXX", 5);
    const AlphaNumericEdited left(ebcdic("ABCD"), r);
    const AlphaNumericEdited right(ebcdic("WXYZ"), record("XXXX", 4));
    AlphaNumericEdited sum = left + right;
    EXPECT_EQ(hex(sum.bytes()), hex(ebcdic("WXYZ")));
    EXPECT_STREQ(sum.record().picture, "XXBXX");
    AlphaNumericEdited product = left;
    product *= right;
    EXPECT_EQ(hex(product.bytes()), hex(ebcdic("WXYZ")));
    EXPECT_EQ(hex(left.bytes()), hex(ebcdic("AB CD")));

    AlphaNumericEdited moved;
    moved.convert(left);
    EXPECT_EQ(hex(moved.bytes()), hex(left.bytes()));
    EXPECT_EQ(moved.record().length, 5u);

    ByteString same = left.bytes();
    EXPECT_EQ(left.compare(AlphaNumericEdited(r, same)), 0);
    ByteString prefix = ebcdic("AB");
    EXPECT_EQ(left.compare(AlphaNumericEdited(r, prefix)), 0);
    EXPECT_EQ(static_cast<long long>(left), 0);
    EXPECT_FALSE(!left);

    // Memory forms take exactly the record's length, zero bytes included.
    const unsigned char memory[] = {0xC1, 0x00, 0x40, 0xC2, 0xC3, 0x99};
    EXPECT_EQ(hex(AlphaNumericEdited(memory, r).bytes()), "C10040C2C3");
    AlphaNumericEdited filled;
    filled.fill(memory, r);
    EXPECT_EQ(hex(filled.bytes()), "C10040C2C3");
}
