// Wide characters are UTF-32 on Linux and UTF-16 on Windows: a character
// beyond the first plane is one wchar_t there and a surrogate pair here, and
// either way it converts to and from the same four UTF-8 bytes.

#include <string>

#include <gtest/gtest.h>

#include <plomkit/EncodedString.h>

namespace {

std::string utf8(const EncodedString& s)
{
    ByteString bytes = s.asUTF8();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

TEST(WideText, CharactersBeyondTheFirstPlaneRoundTrip)
{
    const char* const grinning = "\xf0\x9f\x98\x80";
    EncodedString decoded(grinning, Encoding_UTF8);
    if constexpr (sizeof(wchar_t) == 2) {
        ASSERT_EQ(decoded.length(), 2u);
        EXPECT_EQ(static_cast<unsigned>(decoded.text()[0]), 0xD83Du);
        EXPECT_EQ(static_cast<unsigned>(decoded.text()[1]), 0xDE00u);
    } else {
        ASSERT_EQ(decoded.length(), 1u);
        EXPECT_EQ(static_cast<unsigned>(decoded.text()[0]), 0x1F600u);
    }
    EXPECT_EQ(utf8(decoded), grinning);
}

TEST(WideText, LoneSurrogatesBecomeTheReplacementCharacter)
{
    struct Case {
        std::wstring wide;
        const char* utf8;
    };
    const Case cases[] = {
        {std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"b", "\xef\xbf\xbd"
                                                               "b"},
        {L"a" + std::wstring(1, static_cast<wchar_t>(0xDE00)), "a\xef\xbf\xbd"},
        // A low surrogate before its high one is no pair.
        {std::wstring{static_cast<wchar_t>(0xDE00), static_cast<wchar_t>(0xD83D)}, "\xef\xbf\xbd\xef\xbf\xbd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(utf8(EncodedString(c.wide.c_str())), c.utf8);
    }
}

} // namespace
