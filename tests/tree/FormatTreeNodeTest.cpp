#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/InvalidOp.h"
#include "tree/SqlFormatFixture.h"

namespace {

const std::string one = "\xE4\xB8\x80"; // U+4E00, 45 41 in page 939
const std::string two = "\xE4\xBA\x8C"; // U+4E8C, 45 42 in page 939

using FormatSqlTest = SqlFormatTest;

TEST_F(FormatSqlTest, EveryRowOfTheDispatch)
{
    struct Case {
        const char* what;
        std::vector<std::uint32_t> codes;
        std::uint32_t length;
        std::uint32_t maxLength;
        std::uint16_t ccsid;
        const char* hex;
        DBG_REPS rep;
        std::string text;
    } cases[] = {
        {"binary LOB within its declared length",
         {404, 405, 408, 409},
         8,
         8,
         0,
         "00000003AABBCCDDEEFF0011",
         2,
         "AABBCC"},
        {"binary LOB longer than declared", {404, 405, 408, 409}, 2, 2, 0, "00000009AABB", 2, "AABB"},
        {"LOB of no declared length: up to the maximum, read again",
         {404, 408},
         0,
         3,
         0,
         "00000005AABBCCDDEE",
         2,
         "AABBCC"},
        {"LOB of no declared length, empty", {404, 409}, 0, 3, 0, "00000000AABB", 2, ""},
        {"double-byte LOB shorter than declared: a 0 after it is dropped",
         {412, 413},
         4,
         4,
         0,
         "000000024142434400999999",
         2,
         "41424344"},
        {"double-byte LOB shorter than declared: one byte more",
         {412, 413},
         4,
         4,
         0,
         "000000024142434455999999",
         2,
         "4142434455"},
        {"double-byte LOB as long as declared", {412, 413}, 2, 2, 0, "000000034142434445", 2, "41424344"},
        {"double-byte LOB of no declared length", {412}, 0, 2, 0, "000000024142434400", 2, "41424344"},
        {"varying text", {448, 449, 456, 457}, 5, 5, 0, "0003C1C2C3C4C5", 22, "ABC"},
        {"varying text longer than declared", {448, 457}, 2, 2, 0, "0003C1C2C3", 22, "AB"},
        {"fixed text", {452, 453}, 3, 3, 0, "C1C2C3", 22, "ABC"},
        {"graphic text", {468, 469}, 2, 2, 939, "45414542", 22, one + two},
        {"varying graphic as long as declared",
         {464, 465, 472, 473},
         3,
         3,
         939,
         "0003454145424541",
         22,
         one + two + one},
        {"varying graphic shorter than declared", {464, 473}, 4, 4, 939, "000245414542000000", 22, one + two},
        {"varying graphic: a lone last byte stands alone",
         {464, 465},
         4,
         4,
         939,
         "0002454145424000",
         22,
         one + two + " "},
        {"hexadecimal float", {480, 481}, 4, 4, 0, "41100000", 8, "1"},
        {"hexadecimal double", {480}, 8, 8, 0, "C118000000000000", 8, "-1.5"},
        {"packed", {484, 485}, 0x0502, 0x0502, 0, "12345D", 2, "-123.45"},
        {"packed, all places after the point", {484}, 0x0404, 0x0404, 0, "01234C", 2, ".1234"},
        {"packed keeps leading zeros", {485}, 0x0502, 0x0502, 0, "00123C", 2, "001.23"},
        {"packed of no precision", {484}, 0x0002, 0x0002, 0, "0C", 2, ""},
        {"halfword", {500, 501}, 2, 2, 0, "FFFE", 2, "-2"},
        {"halfword at its most negative", {500}, 2, 2, 0, "8000", 2, "-32768"},
        {"halfword at its largest", {500}, 2, 2, 0, "7FFF", 2, "32767"},
        {"fullword", {496, 497}, 4, 4, 0, "0000010A", 2, "266"},
        {"negative fullword in hexadecimal", {496}, 4, 4, 0, "FFFFFFFE", 1, "-0x00000002"},
        {"doubleword", {492, 493}, 8, 8, 0, "FFFFFFFFFFFFFFFF", 2, "-1"},
        {"zoned", {504, 505}, 0x0200, 0x0200, 0, "60F1F2", 2, "-12"},
        {"varying binary", {904, 905}, 4, 4, 0, "00000002AABBCCDD", 2, "AABB"},
        {"varying binary beyond its declared length", {904}, 1, 1, 0, "00000002AA", 2, "AA"},
        {"short varying binary", {908, 909}, 2, 2, 0, "0003AABBCC", 2, "AABB"},
        {"fixed binary, locators and row ids",
         {912, 913, 960, 961, 964, 965, 968, 969, 972, 973, 976, 977},
         3,
         3,
         0,
         "AABBCC",
         2,
         "AABBCC"},
        {"decimal32", {996, 997}, 4, 4, 0, "22400015", 8, "1.5"},
        {"decimal64", {996}, 8, 8, 0, "2234000000000015", 8, "1.5"},
        {"decimal128", {997}, 16, 16, 0, "2207C000000000000000000000000015", 8, "1.5"},
        {"file name behind its header", {65984}, 8, 8, 0, "000000030000000000000000C1C2C30000000000", 22, "ABC"},
        {"file name longer than declared", {65984}, 2, 2, 0, "000000030000000000000000C1C2C3", 22, "AB"},
    };
    for (const Case& c : cases) {
#if defined(_WIN32)
        // The Windows test host converts no DBCS page.
        if (c.ccsid != 0 && c.ccsid != 1200)
            continue;
#endif
        for (std::uint32_t code : c.codes) {
            SqlTypeEntry e = variable(code, c.length);
            e.setMaxLength(c.maxLength).setCcsid(c.ccsid);
            // The file name lies 12 bytes into its file reference, after
            // the header.
            if (code == 65984)
                e.setAddress(at + 12);
            store(at, c.hex);
            auto node = nodeOf(e);
            Formatted f;
            try {
                f = formatValue(*node, c.rep);
            } catch (const InvalidOp& ex) {
                ADD_FAILURE() << c.what << " " << code << ": InvalidOp " << ex.code();
                continue;
            }
            EXPECT_EQ(f.status, 0) << c.what << " " << code;
            EXPECT_EQ(f.text, c.text) << c.what << " " << code;
            EXPECT_EQ(text(node->formattedValue()), c.text) << c.what << " " << code;
        }
    }
}

TEST_F(FormatSqlTest, TheBufferHoldsTheBytesFormatted)
{
    struct Case {
        std::uint32_t code;
        std::uint32_t length;
        const char* hex;
        std::vector<std::uint8_t> kept;
    } cases[] = {
        // Each variable's whole storage is there: a short read is no value.
        {448, 10, "0003C1C2C3C4C50000000000", {0xC1, 0xC2, 0xC3}},
        {904, 8, "00000002AABBCCDD00000000", {0xAA, 0xBB}},
        {65984, 8, "000000020000000000000000C1C2C30000000000", {0xC1, 0xC2}},
        {496, 4, "0000010A", {0x00, 0x00, 0x01, 0x0A}},
    };
    for (const Case& c : cases) {
        SqlTypeEntry e = variable(c.code, c.length);
        if (c.code == 65984)
            e.setAddress(at + 12);
        store(at, c.hex);
        auto node = nodeOf(e);
        formatValue(*node, c.code == 496 ? 2 : 22);
        std::vector<std::uint8_t> held(node->ownBuffer(), node->ownBuffer() + node->ownBufferLength());
        EXPECT_EQ(held, c.kept) << c.code;
    }
}

TEST_F(FormatSqlTest, RefusedTypesAndSizes)
{
    struct Case {
        std::uint32_t code;
        std::uint32_t length;
        int error;
        const char* trace;
    } cases[] = {
        {494, 4, InvalidOp::RTRC_InvalidFormat, "Cannot format type 494"},
        {495, 4, InvalidOp::RTRC_InvalidFormat, "Cannot format type 495"},
        {498, 4, InvalidOp::RTRC_InvalidFormat, "Cannot format type 498"},
        {499, 4, InvalidOp::RTRC_InvalidFormat, "Cannot format type 499"},
        {0, 4, InvalidOp::RTRC_InvalidFormat, "Cannot format type 0"},
        {1001, 4, InvalidOp::RTRC_InvalidFormat, "Cannot format type 1001"},
        {480, 2, InvalidOp::RTRC_InvalidFormat, "Invalid size of 2 for type 480"},
        {997, 6, InvalidOp::RTRC_InvalidFormat, "Invalid size of 6 for type 997"},
        {500, 3, InvalidOp::RTRC_NotSupported, nullptr},
        // Twice the declared length of a double-byte LOB is no readable size.
        {412, 0x80000000u, InvalidOp::RTRC_InvalidFormat, "Invalid size of"},
    };
    store(at, "00000000000000000000000000000000");
    for (const Case& c : cases) {
        host.clearLines();
        auto node = nodeOf(variable(c.code, c.length));
        EXPECT_EQ(codeOf([&] { formatValue(*node, 2); }), c.error) << c.code;
        if (c.trace != nullptr) {
            EXPECT_TRUE(host.traced(c.trace)) << c.code;
        }
        // The node keeps the representation it was asked for.
        EXPECT_EQ(node->representation(), 2) << c.code;
    }

    // Types that are not SQL host variables are formatted by their own
    // road, in the representations their data type offers: a structure
    // only as a structure (12).
    host.clearLines();
    TYPE_INDEX s = host.records().classType({.name = "S", .byteSize = 4, .members = {}});
    auto structure = root(TypeItem(s));
    EXPECT_EQ(codeOf([&] { formatValue(*structure, 2); }), InvalidOp::RTRC_InvalidFormat);
}

TEST_F(FormatSqlTest, PackedAndZonedTextsMatchTheDecimalModel)
{
    const auto rows = dataRows("sql_decimal_texts.tsv");
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 5u);
        const std::uint32_t length = (std::stoul(row[1]) << 8) | std::stoul(row[2]);
        EXPECT_EQ(show(variable(row[0] == "packed" ? 484 : 504, length), row[3]), row[4])
            << row[0] << " " << row[1] << " " << row[2] << " " << row[3];
    }
    EXPECT_GT(rows.size(), 7000u);
}

TEST_F(FormatSqlTest, DigitNibblesOutsideTheDigits)
{
    // Packed: a nibble above 9 shows as 0; zoned: as a hexadecimal digit.
    EXPECT_EQ(show(variable(484, 0x0300), "1A2C"), "102");
    EXPECT_EQ(show(variable(504, 0x0301), "4EF1FAFB"), "1A.B");
}

TEST_F(FormatSqlTest, FormatValueStatusAndTheTextKept)
{
    store(at, "0000010A0000000200000003000000040000000500000006");
    struct Case {
        std::uint32_t code;
        std::int32_t elements;
        std::uint16_t status;
    } cases[] = {
        {496, 0, 0},    {496, 3, 1012}, {916, 0, 1012}, {917, 0, 1012}, {920, 0, 1012},
        {921, 0, 1012}, {924, 0, 1012}, {925, 0, 1012}, {1000, 0, 0},
    };
    for (const Case& c : cases) {
        auto node = nodeOf(variable(c.code, c.code == 496 ? 4 : 8, 0, c.elements));
        EXPECT_EQ(formatValue(*node, c.code == 496 ? 2 : 12).status, c.status) << c.code;
    }

    // A formatting that fails leaves the text of the last one.
    auto node = nodeOf(variable(496, 4));
    host.clearLines();
    Formatted first = formatValue(*node, 2);
    ASSERT_EQ(first.text, "266");
    EXPECT_TRUE(host.traced("Formatting of node")) << "traced: " << host.texts().size();
    const char* out = nullptr;
    int deletions = 0;
    CountingItem item(rep(), deletions);
    EXPECT_EQ(codeOf([&] { node->FormatValue(8, item, out, 100); }), InvalidOp::RTRC_InvalidFormat);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(text(node->formattedValue()), "266");
    EXPECT_EQ(node->representation(), 8);
    host.memory().markUnreadable(at, 4);
    EXPECT_NE(codeOf([&] { node->FormatValue(2, item, out, 100); }), 0);
    EXPECT_EQ(text(node->formattedValue()), "266");
}

TEST_F(FormatSqlTest, AddressWidthInBitsOrBytes)
{
    struct Case {
        std::uint64_t address;
        std::uint32_t width;
        std::int64_t offset;
        std::uint64_t read;
    } cases[] = {
        {0x3000, 32, 0, 0x3000},
        {0x3000, 4, 0, 0x3000},
        {0x123456789ull, 64, 0, 0x123456789ull},
        {0x123456789ull, 8, 0, 0x123456789ull},
        // Offsets are signed; a 4-byte address wraps at 32 bits.
        {0x3010, 32, -16, 0x3000},
        {0xFFFFFFF8ull, 32, 0x3008, 0x3000},
        {0xFFFFFFF8ull, 64, 8, 0x100000000ull},
    };
    for (const Case& c : cases) {
        store(c.read, "0000002A");
        SqlTypeEntry e = variable(496, 4);
        e.setAddress(c.address).setAddressWidth(c.width);
        auto parent = nodeOf(variable(452, 1));
        UpdateTreeNode* node = child(*parent, typeOf(e), "W", c.offset);
        EXPECT_EQ(formatValue(*node, 2).text, "42") << std::hex << c.address << " " << std::dec << c.width;
    }
    // A width that is neither is refused.
    SqlTypeEntry odd = variable(496, 4);
    odd.setAddressWidth(16);
    auto node = nodeOf(odd);
    EXPECT_EQ(codeOf([&] { formatValue(*node, 2); }), InvalidOp::RTRC_Other);
}

} // namespace
