// External floating-point values and their national twins: picture
// analysis, editing a number into the picture, reading it back, the
// validity check, and the conversions to and from the decimal classes.

#include "EditedFixture.h"

#include <cmath>
#include <limits>

#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/CreatedTypeItem.h"

using namespace editedtest;

namespace {

TNexternal_float record(const char* picture, unsigned length)
{
    return pictureRecord<TNexternal_float>(TE_EXTERNAL_FLOAT, picture, length);
}

TNnational_external_float nationalRecord(const char* picture, unsigned length)
{
    return pictureRecord<TNnational_external_float>(TE_NATIONAL_EXTERNAL_FLOAT, picture, length);
}

const char* const kPicture = "+9(2).9(2)E+99";

} // namespace

TEST_F(EditedTest, ExternalFloatEditsIntoThePicture)
{
    struct {
        const char* picture;
        long double value;
        const char* expected;
    } cases[] = {
        {kPicture, 12.25L, "4EF1F24BF2F5C54EF0F0"},
        {kPicture, 12.259L, "4EF1F24BF2F5C54EF0F0"}, // cut, not rounded
        {kPicture, -0.015625L, "60F1F54BF6F2C560F0F3"},
        {kPicture, 0.0L, "4EF0F04BF0F0C560F0F1"},
        {"-9V9(3)E-99", 2.5L, "40F2F5F0F0C540F0F0"},
        {"-9V9(3)E-99", -2.5L, "60F2F5F0F0C540F0F0"},
        {"9(3),99E+99", 1234.5L, "4EF1F2F36BF4F5C54EF0F1"},
        {"+9(3)E+99", 1234.0L, "4EF1F2F3C54EF0F1"},
        {"+99.9E-99", 5e-30L, "4EF5F04BF0C560F3F1"},
    };
    for (const auto& c : cases) {
        const ExternalFloat value(record(c.picture, 20), c.value);
        EXPECT_EQ(hex(value.bytes()), c.expected) << c.picture << " " << static_cast<double>(c.value);
    }

    // More than 18 mantissa digits, an exponent beyond two digits and a
    // number with no digits are refused.
    EXPECT_EQ(errorCode([] { ExternalFloat(record("+9(12).9(7)E+99", 30), 1.0L); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(errorCode([] { ExternalFloat(record("+9(11).9(7)E+99", 30), 1.0L); }), 0);
    EXPECT_EQ(errorCode([] { ExternalFloat(record(kPicture, 10), 1e120L); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(errorCode([] { ExternalFloat(record(kPicture, 10), std::numeric_limits<long double>::infinity()); }),
              InvalidOp::RTRC_Other);
    EXPECT_EQ(errorCode([] { ExternalFloat(record(kPicture, 10), std::nanl("")); }), InvalidOp::RTRC_Other);
}

TEST_F(EditedTest, ExternalFloatPictureAnalysis)
{
    struct {
        const char* picture;
        int integer;
        int fraction;
        unsigned point;
        unsigned mantissaSign;
        unsigned exponentSign;
        int error;
    } cases[] = {
        {kPicture, 2, 2, 0x4B, 0x4E, 0x4E, 0},
        {"-9V9(3)E-99", 1, 3, 0xE6, 0x60, 0x60, 0},
        {"9(3),99e+99", 3, 2, 0x6B, 0x4E, 0x4E, 0},
        {"+9(4)E-99", 4, 0, 0xE6, 0x4E, 0x60, 0},
        {"+99v9E+9(2)", 2, 1, 0xE6, 0x4E, 0x4E, 0},
        // A '9(' without ')' ends the analysis with what was counted.
        {"+99.9(3E+99", 2, 0, 0x4B, 0x4E, 0x4E, 0},
        {"+9(3.99E-99", 0, 0, 0x4B, 0x4E, 0x4E, 0},
        {"+9.9E-9(2", 1, 1, 0x4B, 0x4E, 0x60, 0},
        // Characters out of place.
        {"+99X99E+99", 0, 0, 0, 0, 0, InvalidOp::RTRC_Other},
        {"+99.99+99", 0, 0, 0, 0, 0, InvalidOp::RTRC_Other},
        {"+99.99E+99Z", 0, 0, 0, 0, 0, InvalidOp::RTRC_Other},
        {"", 0, 0, 0, 0, 0, InvalidOp::RTRC_Other},
        {nullptr, 0, 0, 0, 0, 0, InvalidOp::RTRC_Other},
    };
    for (const auto& c : cases) {
        const ExternalFloat value(record(c.picture, 10), nullptr);
        int n = -1;
        int m = -1;
        char point = 0;
        char ms = 0;
        char es = 0;
        const int error = errorCode([&] { value.getPicAttributes(&n, &m, &point, &ms, &es); });
        const std::string name = c.picture != nullptr ? c.picture : "(null)";
        EXPECT_EQ(error, c.error) << name;
        if (error != 0)
            continue;
        EXPECT_EQ(n, c.integer) << c.picture;
        EXPECT_EQ(m, c.fraction) << c.picture;
        EXPECT_EQ(static_cast<unsigned char>(point), c.point) << c.picture;
        EXPECT_EQ(static_cast<unsigned char>(ms), c.mantissaSign) << c.picture;
        EXPECT_EQ(static_cast<unsigned char>(es), c.exponentSign) << c.picture;
        value.getPicAttributes(nullptr, nullptr, nullptr, nullptr, nullptr);
    }
}

TEST_F(EditedTest, ExternalFloatReadsItsText)
{
    ByteString text = fromHex("4EF1F24BF2F5C54EF0F0");
    EXPECT_NEAR(static_cast<double>(static_cast<long double>(ExternalFloat(record(kPicture, 10), text))), 12.25, 1e-12);
    text = fromHex("60F1F54BF6F2C560F0F3");
    EXPECT_NEAR(static_cast<double>(static_cast<long double>(ExternalFloat(record(kPicture, 10), text))), -0.01562,
                1e-15);
    text = fromHex("40F2F5F0F0C540F0F2");
    const ExternalFloat implied(record("-9V9(3)E-99", 9), text);
    EXPECT_NEAR(static_cast<double>(static_cast<long double>(implied)), 250.0, 1e-9);
    EXPECT_EQ(static_cast<long long>(implied), 250);
    text = fromHex("60F1F94BF9F9C54EF0F0");
    EXPECT_EQ(static_cast<long long>(ExternalFloat(record(kPicture, 10), text)), -19);

    // A record too short for the picture is refused; bytes shorter than
    // the record read as zeros rather than past their end.
    text = fromHex("4EF1F24BF2F5C54EF0F0");
    EXPECT_EQ(errorCode([&] { (void)static_cast<long double>(ExternalFloat(record(kPicture, 8), text)); }),
              InvalidOp::RTRC_Other);
    ByteString cut = fromHex("4EF1F2");
    EXPECT_NEAR(static_cast<double>(static_cast<long double>(ExternalFloat(record(kPicture, 10), cut))), 12.0, 1e-12);

    // Round trips through every picture of the editing table.
    for (long double v : {12.25L, -0.015625L, 99.5L, -1.0L, 0.0L}) {
        const ExternalFloat edited(record(kPicture, 10), v);
        EXPECT_NEAR(static_cast<double>(static_cast<long double>(edited)), static_cast<double>(v), 1e-4);
    }

    // Memory forms take exactly the record's length.
    const unsigned char memory[] = {0x4E, 0xF1, 0x00, 0x4B, 0xF2, 0xF5, 0xC5, 0x4E, 0xF0, 0xF0, 0xAA};
    EXPECT_EQ(hex(ExternalFloat(memory, record(kPicture, 10)).bytes()), "4EF1004BF2F5C54EF0F0");
    ExternalFloat filled;
    filled.fill(memory, record(kPicture, 10));
    EXPECT_EQ(filled.bytes().length(), 10u);
}

TEST_F(EditedTest, ExternalFloatValidity)
{
    struct {
        const char* bytes;
        bool valid;
        int error;
    } cases[] = {
        {"40404040404040404040", true, 0}, // blanks only
        {"4EF1F24BF3F4C54EF0F5", true, 0},    {"60F1F24BF3F4C560F0F5", true, 0},
        {"4040F1F2F3F4C540F0F5", true, 0},    // blank exponent sign
        {"4EF1F24BF3F4C54EF540", false, 2},   // one exponent digit, blank after
        {"4EF1F24BF3F4C5F0F540", false, 1},   // no exponent sign
        {"C1F1F24BF3F4C54EF0F5", false, 1},   // no sign in byte 0
        {"4EF14BF24BF4C54EF0F5", false, 2},   // two points
        {"4EC5F24BF3F4F54EF0F5", false, 2},   // E before a digit
        {"4EF1F26BF3F4C54EF0F5", false, 2},   // a comma point
        {"4EF1F24BF3F4C5C14EF0", false, 1},   // stray byte before the sign
        {"4EF1F24BF3F4C54E4EF0", false, 2},   // two exponent signs
        {"4EF1F24BF3F4C54EF0F5F6", false, 2}, // three exponent digits
    };
    for (const auto& c : cases) {
        const ByteString b = fromHex(c.bytes);
        const ExternalFloat value(record(kPicture, b.length()), const_cast<ByteString&>(b));
        DataError e = DataErrorNone;
        EXPECT_EQ(value.isValidExternalFloat(&e), c.valid) << c.bytes;
        EXPECT_EQ(static_cast<int>(e), c.error) << c.bytes;
        EXPECT_EQ(value.isValidExternalFloat(nullptr), c.valid);
        // The national twin judges the same characters the same way.
        const NationalExternalFloat wide = value.convertToNationalExternalFloat();
        DataError w = DataErrorNone;
        if (std::string(c.bytes).find("C1") == std::string::npos) {
            EXPECT_EQ(wide.isValidNationalExternalFloat(&w), c.valid) << c.bytes;
            EXPECT_EQ(static_cast<int>(w), c.error) << c.bytes;
        }
    }
    // Bytes shorter than the record are not valid.
    ByteString cut = fromHex("4EF1F2");
    DataError e = DataErrorNone;
    EXPECT_FALSE(ExternalFloat(record(kPicture, 10), cut).isValidExternalFloat(&e));
}

TEST_F(EditedTest, ExternalFloatCompareNegateAndConvert)
{
    ByteString a = fromHex("4EF1F2");
    ByteString b = fromHex("4EF1F2F3");
    ByteString c = fromHex("4EF1F3");
    const TNexternal_float r = record(kPicture, 10);
    // Over the shorter length, then by length.
    EXPECT_EQ(ExternalFloat(r, a).compare(ExternalFloat(r, b)), -1);
    EXPECT_EQ(ExternalFloat(r, b).compare(ExternalFloat(r, a)), 1);
    EXPECT_EQ(ExternalFloat(r, a).compare(ExternalFloat(r, a)), 0);
    EXPECT_EQ(ExternalFloat(r, c).compare(ExternalFloat(r, b)), 1);

    EXPECT_EQ((-ExternalFloat(r, 12.25L)).bytes()[0], 0x60);
    EXPECT_EQ((-ExternalFloat(r, -12.25L)).bytes()[0], 0x4E);
    ByteString blank = fromHex("40F2F5F0F0C540F0F0");
    EXPECT_EQ((-ExternalFloat(record("-9V9(3)E-99", 9), blank)).bytes()[0], 0x4E);

    // convert edits the other's value into this picture.
    ExternalFloat target(record("-9V9(3)E-99", 9), 0.0L);
    target.convert(ExternalFloat(r, 12.25L));
    EXPECT_EQ(hex(target.bytes()), "40F1F2F2F5C540F0F1");
    EXPECT_EQ(target.record().length, 9u);

    // Numbers of the decimal classes, and back.
    const std::string twelve = "4EF1F24BF2F5C54EF0F0";
    EXPECT_EQ(hex(ExternalFloat(ZonedDecimal("12.25"), r).bytes()), twelve);
    EXPECT_EQ(hex(ExternalFloat(PackedDecimal("12.25"), r).bytes()), twelve);
    EXPECT_EQ(hex(ExternalFloat(NationalDecimal("12.25"), r).bytes()), twelve);
    EXPECT_EQ(hex(ExternalFloat(ebcdic("12.25"), r).bytes()), twelve);
    TNfixed_point_binary br{};
    br.leaf = TE_FIXED_POINT_BINARY;
    br.flags = TN_BinarySigned;
    br.byteLength = 4;
    br.precision = 4;
    br.scale = -2;
    EXPECT_EQ(hex(ExternalFloat(FixedPointBinary(br, 12.25L), r).bytes()), twelve);

    const ExternalFloat value(r, -12.25L);
    const TNzoned_decimal zr = ZonedDecimal::resultRecord(4, 2);
    EXPECT_EQ(static_cast<long double>(ZonedDecimal(value, zr)), -12.25L);
    EXPECT_EQ(static_cast<long long>(PackedDecimal(value, PackedDecimal::resultRecord(4, 2)) * PackedDecimal(100LL)),
              -1225);
    EXPECT_EQ(static_cast<long long>(FixedPointBinary(value, br)), -12);
    EXPECT_EQ(NationalDecimal(value, NationalDecimal::standardRecord(4, 2, -2)).compare(NationalDecimal("-12.25")), 0);
    const NationalExternalFloat wide = value.convertToNationalExternalFloat();
    EXPECT_EQ(static_cast<long double>(ZonedDecimal(wide, zr)), -12.25L);
    EXPECT_EQ(static_cast<long long>(FixedPointBinary(wide, br)), -12);

    const TypeItem* type = CreatedTypeItem::findOrCreateExternalFloatType(10, kPicture);
    EXPECT_EQ(ExternalFloat(*type).bytes().length(), 0u);
    const TypeItem* empty = CreatedTypeItem::findOrCreateExternalFloatType(0, kPicture);
    EXPECT_EQ(errorCode([&] { ExternalFloat{*empty}; }), InvalidOp::RTRC_Other);
}

TEST_F(EditedTest, NationalExternalFloatWorksThroughItsTwin)
{
    const TNnational_external_float r = nationalRecord(kPicture, 20);
    const NationalExternalFloat value(r, 12.25L);
    EXPECT_EQ(hex(value.bytes()), "002B00310032002E003200350045002B00300030");
    EXPECT_NEAR(static_cast<double>(static_cast<long double>(value)), 12.25, 1e-12);
    EXPECT_EQ(static_cast<long long>(value), 12);
    EXPECT_EQ(value.twinRecord().length, 10u);
    EXPECT_EQ(value.twinRecord().leaf, static_cast<UBYTE4>(TE_EXTERNAL_FLOAT));

    // Narrowing: a unit outside the table becomes a blank.
    ByteString odd = utf16("+1X.25E+00");
    EXPECT_EQ(hex(NationalExternalFloat(r, odd).convertToExternalFloat().bytes()), "4EF1404BF2F5C54EF0F0");

    // Validity over units.
    ByteString blanks = utf16("          ");
    EXPECT_TRUE(NationalExternalFloat(r, blanks).isValidNationalExternalFloat(nullptr));
    ByteString shortOne = utf16("+1E+00");
    EXPECT_TRUE(NationalExternalFloat(nationalRecord(kPicture, 12), shortOne).isValidNationalExternalFloat(nullptr));
    ByteString wideSign = fromHex("012B00310045002B00300030");
    DataError e = DataErrorNone;
    EXPECT_FALSE(NationalExternalFloat(nationalRecord(kPicture, 12), wideSign).isValidNationalExternalFloat(&e));
    EXPECT_EQ(e, DataErrorBadSign);

    // Compare over the shorter length only.
    ByteString longer = utf16("+12.25E+00  ");
    EXPECT_EQ(value.compare(NationalExternalFloat(r, longer)), 0);
    EXPECT_EQ(NationalExternalFloat(r, 13.0L).compare(value), 1);

    // Conversions in, through the twin.
    const std::string twelve = hex(value.bytes());
    EXPECT_EQ(hex(NationalExternalFloat(ZonedDecimal("12.25"), r).bytes()), twelve);
    EXPECT_EQ(hex(NationalExternalFloat(PackedDecimal("12.25"), r).bytes()), twelve);
    EXPECT_EQ(hex(NationalExternalFloat(NationalDecimal("12.25"), r).bytes()), twelve);
    EXPECT_EQ(hex(NationalExternalFloat(ebcdic("12.25"), r).bytes()), twelve);
    EXPECT_EQ(hex(NationalExternalFloat(ExternalFloat(record("-9V9(3)E-99", 9), 12.25L), r).bytes()), twelve);
    NationalExternalFloat target(nationalRecord("-9V9(3)E-99", 18), 0.0L);
    target.convert(value);
    EXPECT_EQ(hex(target.bytes()), hex(utf16(" 1225E 01")));
    EXPECT_EQ(hex(ExternalFloat(value, record("-9V9(3)E-99", 9)).bytes()), hex(ebcdic(" 1225E 01")));

    EXPECT_EQ((-value).bytes()[1], '-');
    EXPECT_EQ((-(-value)).bytes()[1], '+');

    const unsigned char memory[] = {0x00, 0x2B, 0x00, 0x00, 0x00, 0x31};
    EXPECT_EQ(NationalExternalFloat(memory, nationalRecord(kPicture, 6)).bytes().length(), 6u);
    const TypeItem* empty = CreatedTypeItem::findOrCreateNationalExternalFloatType(0, kPicture);
    EXPECT_EQ(errorCode([&] { NationalExternalFloat{*empty}; }), InvalidOp::RTRC_Other);
}
