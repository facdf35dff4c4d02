#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tree/SqlFormatFixture.h"

namespace {

const std::string one = "\xE4\xB8\x80";      // U+4E00, 45 41 in page 939
const std::string two = "\xE4\xBA\x8C";      // U+4E8C, 45 42 in page 939
const std::string grin = "\xF0\x9F\x98\x80"; // U+1F600, D83D DE00 in UTF-16
const std::string unknown = "\xEF\xBF\xBD";  // U+FFFD
const std::string eye = "EEStringContainsNullChars";

struct Case {
    const char* what;
    SqlTypeEntry entry;
    const char* hex;
    std::string text;
};

class SqlTextTest : public SqlFormatTest {
protected:
    // Each variable shown in representation 22.
    template <std::size_t n>
    void expectTexts(const Case (&cases)[n])
    {
        for (const Case& c : cases)
            EXPECT_EQ(show(c.entry, c.hex, 22), c.text) << c.what;
    }
};

TEST_F(SqlTextTest, NulCharactersAreShownAsDotsBehindTheEyeCatcher)
{
    const Case cases[] = {
        {"no NUL", variable(452, 2), "C1C2", "AB"},
        {"one NUL", variable(452, 3), "C100C2", eye + "00000001" + "00000001" + "A.B"},
        {"three NULs", variable(452, 4), "00C10000", eye + "00000003" + "00000000" + "00000002" + "00000003" + ".A.."},
        // Offsets count the bytes of the display text before the NUL.
        {"a NUL after a character of three bytes", variable(464, 3, 1200), "00034E0000000041",
         eye + "00000001" + "00000003" + one + ".A"},
        {"NULs in varying text", variable(448, 4), "000300C100", eye + "00000002" + "00000000" + "00000002" + ".A."},
    };
    expectTexts(cases);
}

TEST_F(SqlTextTest, DoubleByteTextInMixedPages)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the Windows test host converts no DBCS page";
#endif
    const Case cases[] = {
        {"single-byte text shifting out and in", variable(452, 8, 939), "C10E454145420FC2", "A" + one + two + "B"},
        {"shifted at the end without a shift-in", variable(452, 4, 939), "C10E4541", "A" + one},
        {"a lone byte left in the shifted state", variable(452, 3, 939), "C10E81", "Aa"},
        {"graphic text", variable(468, 2, 939), "45414542", one + two},
        // Double-byte data that begin with a shift are mixed: walked again
        // byte by byte. Graphic text then stops after as many characters as
        // it declares.
        {"mixed data in graphic text", variable(468, 2, 939), "0FC1C2C3", "AB"},
        {"mixed data in graphic text, shifted", variable(468, 3, 939), "0E45410FC1C2", one + "AB"},
        {"mixed data in varying graphic text", variable(464, 3, 939), "00030FC1C2C3C4C5", "ABCDE"},
    };
    expectTexts(cases);

    // Without a CCSID the page is the program's.
    context->codePage = "939";
    EXPECT_EQ(show(variable(452, 5), "C10E45410F", 22), "A" + one);
}

TEST_F(SqlTextTest, Ccsid1200IsUtf16WithSurrogatePairs)
{
    const Case cases[] = {
        {"a pair makes one character", variable(464, 4, 1200), "00030041D83DDE000000", "A" + grin},
        {"graphic text", variable(468, 3, 1200), "0041D83DDE00", "A" + grin},
        {"a lone high surrogate", variable(468, 2, 1200), "D83D0041", unknown + "A"},
        {"a lone low surrogate", variable(468, 2, 1200), "DE000041", unknown + "A"},
        {"a pair cut by the declared length", variable(464, 2, 1200), "00030041D83DDE00", "A" + unknown},
        // Half a code unit after the copied characters converts to nothing.
        {"half a unit", variable(464, 4, 1200), "000100414E0000000000", "A\x1A"},
    };
    expectTexts(cases);
    // The host converts no UTF-16 text.
    host.clearCalls();
    show(variable(468, 3, 1200), "0041D83DDE00", 22);
    EXPECT_EQ(host.callCount(HS_ExprEbcdicConvert), 0u);
}

TEST_F(SqlTextTest, OtherNodesShowSingleByteText)
{
    auto node = root(TypeItem(130u));
    EXPECT_EQ(text(node->formatString("\xC1\x00\xC2", 3, 100, false)), eye + "00000001" + "00000001" + "A.B");
    EXPECT_EQ(text(node->formatString("\xC1", 0, 100, false)), "");
}

// A host that writes as much as the room holds and claims nine bytes.
int claimsNine(EXPR_CTX, const void*, UBYTE2, void* target, UBYTE2 room, const char*, int)
{
    std::memcpy(target, "abcdefghi", room < 9 ? room : 9);
    return 9;
}

TEST_F(SqlTextTest, HostConversionAnswersAreClamped)
{
    host.failSlot(HS_ExprEbcdicConvert, -1, TestHost::Always);
    EXPECT_EQ(show(variable(452, 2), "C1C2", 22), "\x1A\x1A");
    host.clearProgram();
    host.failSlot(HS_ExprEbcdicConvert, 0, TestHost::Always);
    EXPECT_EQ(show(variable(452, 1), "C1", 22), "\x1A");
    host.clearProgram();

    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprEbcdicConvert, &claimsNine);
    ASSERT_TRUE(host.install());
    EXPECT_EQ(show(variable(452, 2), "C1C2", 22), "abcdefabcdef");
    EXPECT_EQ(show(variable(468, 1, 939), "4541", 22), "abcdef");
}

} // namespace
