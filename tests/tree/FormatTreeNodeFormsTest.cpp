#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "services/InvalidOp.h"
#include "tree/SqlFormatFixture.h"

namespace {

class SqlFormsTest : public SqlFormatTest {
protected:
    // Fullwords 1, 2, 3, ... at the usual address.
    void storeCounting(unsigned n)
    {
        std::string hex;
        char word[9];
        for (unsigned i = 1; i <= n; ++i) {
            std::snprintf(word, sizeof word, "%08X", i);
            hex += word;
        }
        store(at, hex);
    }

    // A file reference: name length 3, data length 42, option 2, "ABC".
    // The whole reference is there (267 bytes): a short read is no value.
    void storeFileReference() { store(at, "000000030000002A00000002C1C2C3" + std::string(2 * (267 - 15), '0')); }

    // Makes the children of a structure node.
    static void expand(const TestRoot& node)
    {
        unsigned count = 0;
        ASSERT_EQ(node.QueryStructInfo(count, node.dataType()), 0);
    }
};

TEST_F(SqlFormsTest, ArraysShowAtMostFiveElements)
{
    struct Case {
        std::int32_t elements;
        unsigned maxLength;
        std::string text;
    } cases[] = {
        {1, 100, "{ 1 }"},
        {3, 100, "{ 1, 2, 3 }"},
        {5, 100, "{ 1, 2, 3, 4, 5 }"},
        {6, 100, "{ 1, 2, 3, 4, 5, ... }"},
        {9, 100, "{ 1, 2, 3, 4, 5, ... }"},
        // The budget is the maximum length less 9.
        {3, 9, ""},
        {3, 0, ""},
        {3, 10, "{ 1, ... }"},
        {3, 13, "{ 1, 2, ... }"},
        {3, 14, "{ 1, 2, 3 }"},
    };
    storeCounting(9);
    for (const Case& c : cases) {
        auto node = nodeOf(variable(496, 4, 0, c.elements));
        Formatted f = formatValue(*node, 11, c.maxLength);
        EXPECT_EQ(f.status, 1012) << c.elements << " " << c.maxLength;
        EXPECT_EQ(f.text, c.text) << c.elements << " " << c.maxLength;
    }
}

TEST_F(SqlFormsTest, ArrayElementsInTheirOwnRepresentationOrEndedByFailure)
{
    storeCounting(3);
    auto node = nodeOf(variable(496, 4, 0, 3));
    UpdateTreeNode* second = nullptr;
    ASSERT_EQ(node->QueryArrayElementInfo(2, second), 0);
    // The host formatted the second element in hexadecimal: the array
    // shows it so.
    EXPECT_EQ(formatValue(*second, 1).text, "0x00000002");
    EXPECT_EQ(formatValue(*node, 11).text, "{ 1, 0x00000002, 3 }");

    // An element that cannot be formatted ends the elements with dots.
    host.memory().markUnreadable(at + 8, 4);
    EXPECT_EQ(formatValue(*node, 11).text, "{ 1, 0x00000002... }");
    host.memory().markUnreadable(at, 4);
    EXPECT_EQ(formatValue(*node, 11).text, "{ ... }");

    // An element with an empty text ends them too.
    store(0x4000, "0000C1C2");
    SqlTypeEntry empty = variable(448, 2, 0, 2);
    empty.setAddress(0x4000);
    EXPECT_EQ(formatValue(*nodeOf(empty), 11).text, "{ ... }");

    // A location outside debuggee memory.
    EXPECT_EQ(text(node->formatAddressAsArray(DebuggeeLocation(), second->dataType(), 100)), "{...}");
}

TEST_F(SqlFormsTest, StructuresShowTheirMembers)
{
    storeFileReference();
    auto file = nodeOf(variable(916, 267));
    // Before the host asks for the members there are none to show.
    EXPECT_EQ(formatValue(*file, 12).text, "{ ... }");
    expand(*file);
    struct Case {
        unsigned maxLength;
        std::string text;
    } cases[] = {
        {100, "{ 42, 2, ABC }"}, {12, "{ 42, 2 }"}, {11, "{ 42 }"}, {10, "{ 42 }"}, {9, ""},
    };
    for (const Case& c : cases) {
        Formatted f = formatValue(*file, 12, c.maxLength);
        EXPECT_EQ(f.status, 1012) << c.maxLength;
        EXPECT_EQ(f.text, c.text) << c.maxLength;
    }

    // A host without the address forms sees none.
    offerAddressForms(false);
    EXPECT_EQ(formatValue(*file, 12).text, "");
    offerAddressForms(true);

    // A member that cannot be formatted replaces every text with dots. The
    // representation the host asked for stays the member's own, though the
    // formatting was refused.
    UpdateTreeNode* option = file->firstChild()->nextSibling();
    EXPECT_EQ(codeOf([&] { formatValue(*option, 8); }), InvalidOp::RTRC_InvalidFormat);
    EXPECT_EQ(formatValue(*file, 12).text, "{ ... }");
    EXPECT_EQ(formatValue(*option, 1).text, "0x00000002");
    EXPECT_EQ(formatValue(*file, 12).text, "{ 42, 0x00000002, ABC }");
}

TEST_F(SqlFormsTest, SqlcaWithItsNestedArrays)
{
    std::string hex = "E2D8D3C3C1404040" // SQLCAID
                      "00000088"         // SQLCABC
                      "FFFFFF34"         // SQLCODE
                      "0002"             // SQLERRML
                      "C1C2";            // SQLERRMC
    for (int i = 0; i < 68; ++i)
        hex += "40";
    hex += "C4E2D54040404040";                                 // SQLERRP
    hex += "000000010000000200000003000000040000000500000006"; // SQLERRD
    hex += "E640404040404040404040";                           // SQLWARN
    hex += "F4F2F7F0F4";                                       // SQLSTATE
    ASSERT_EQ(hex.size(), 2u * 136);
    store(at, hex);
    auto sqlca = nodeOf(variable(1000, 136));
    expand(*sqlca);
    Formatted f = formatValue(*sqlca, 12);
    EXPECT_EQ(f.status, 0);
    EXPECT_EQ(f.text, "{ SQLCA   , 136, -204, 2, AB" + std::string(68, ' ') +
                          ", DSN     , { 1, 2, 3, 4, 5, ... }, { W,  ,  ,  ,  , ... }, 42704 }");
}

} // namespace
