#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include <plomkit/ByteString.h>
#include <plomkit/CharString.h>
#include <plomkit/EncodedString.h>

namespace {

ByteString bytes(const char* text)
{
    return ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

std::string str(const StringBuffer<unsigned char>& b)
{
    return std::string(reinterpret_cast<const char*>(b.data()), b.length());
}

TEST(StringBuffer, CopiesOwnsAndKeepsATerminatingZero)
{
    char source[] = "abc";
    StringBuffer<char> buffer(source, 3);
    source[0] = 'x';
    EXPECT_STREQ(buffer.data(), "abc");
    EXPECT_EQ(buffer.length(), 3u);
    StringBuffer<char> copy;
    copy = buffer;
    copy += buffer;
    copy += copy;
    EXPECT_STREQ(copy.data(), "abcabcabcabc");
    char* out = copy.makeBuffer(2);
    EXPECT_STREQ(out, "ab");
    out = copy.makeBuffer(4);
    EXPECT_EQ(std::string(out, 4), std::string("ab\0\0", 4));
    EXPECT_TRUE(StringBuffer<char>(nullptr, 5).empty());
}

TEST(StringBuffer, Searches)
{
    ByteString b = bytes("abcabc");
    EXPECT_EQ(b.indexOf('b'), 1);
    EXPECT_EQ(b.indexOf('b', 2), 4);
    EXPECT_EQ(b.indexOf('z'), ByteString::notFound);
    EXPECT_EQ(b.indexOf('a', 99), ByteString::notFound);
    EXPECT_EQ(b.indexOf(bytes("ca")), 2);
    EXPECT_EQ(b.indexOf(bytes("bc"), 2), 4);
    EXPECT_EQ(b.indexOf(bytes("abcabcx")), ByteString::notFound);
    EXPECT_EQ(b.indexOf(bytes("c"), 6), ByteString::notFound);
    EXPECT_EQ(b.lastIndexOf('a'), 3);
    EXPECT_EQ(b.lastIndexOf('a', 2), 0);
    EXPECT_EQ(b.lastIndexOf('c', 1), ByteString::notFound);
    EXPECT_EQ(ByteString().lastIndexOf('a'), ByteString::notFound);
}

TEST(StringBuffer, ChangeReplacesTheFirstOccurrences)
{
    struct {
        const char* text;
        const char* from;
        const char* to;
        unsigned count;
        const char* expected;
        unsigned changed;
    } cases[] = {
        {"a-b-c-d", "-", "+", 2, "a+b+c-d", 2},
        {"a-b", "-", "--", 5, "a--b", 1}, // the replacement is not searched again
        {"xxxx", "xx", "x", 9, "xx", 2},
        {"abc", "", "z", 1, "abc", 0},
        {"abc", "b", "", 1, "ac", 1},
        {"abc", "q", "z", 1, "abc", 0},
        {"$$$$12", "$$$$", "ZEMT", 1, "ZEMT12", 1},
    };
    for (const auto& c : cases) {
        StringBuffer<char> s(c.text, static_cast<unsigned>(std::strlen(c.text)));
        EXPECT_EQ(s.change(c.from, c.to, c.count), c.changed) << c.text;
        EXPECT_STREQ(s.data(), c.expected) << c.text;
    }
    StringBuffer<wchar_t> wide(L"%1 and %1", 9);
    wide.change(L"%1", L"\u20ac", 1);
    EXPECT_EQ(std::wstring(wide.data()), L"\u20ac and %1");
}

TEST(ByteString, SubstringPaddingAndJoining)
{
    ByteString b = bytes("12345");
    EXPECT_EQ(str(ByteString(b, 1)), "2345");
    EXPECT_EQ(str(ByteString(b, 5)), "");
    EXPECT_EQ(str(ByteString(b, 9)), "");
    EXPECT_EQ(str(ByteString(b, 1, 2, ' ')), "23");
    EXPECT_EQ(str(ByteString(b, 3, 5, ' ')), "45   ");
    EXPECT_EQ(str(ByteString(b, 7, 3, 0x40)), "@@@");
    EXPECT_EQ(str(ByteString("ab", 2, nullptr, 7, "cde", 3)), "abcde");
    EXPECT_EQ(str(ByteString("ab", 2, "-", 1, "cde", 2)), "ab-cd");
    EXPECT_EQ(str(b + bytes("67")), "1234567");
    EXPECT_EQ(str(b), "12345");
}

TEST(EncodedString, DecodesAndEncodesWithoutLosingBytes)
{
    struct {
        const char* utf8;
        const wchar_t* wide;
        const char* back;
    } cases[] = {
        {"plain", L"plain", "plain"},
        {"K\xc3\xa4se \xe2\x82\xac \xf0\x9f\x98\x80", L"K\u00e4se \u20ac \U0001F600",
         "K\xc3\xa4se \xe2\x82\xac \xf0\x9f\x98\x80"},
        // Bytes that begin no valid sequence are kept as their own values.
        {"a\xff"
         "b",
         L"a\u00ff"
         L"b",
         "a\xc3\xbf"
         "b"},
        {"\xc3", L"\u00c3", "\xc3\x83"},
        {"\xc0\xaf", L"\u00c0\u00af", "\xc3\x80\xc2\xaf"},                   // overlong
        {"\xed\xa0\x80", L"\u00ed\u00a0\u0080", "\xc3\xad\xc2\xa0\xc2\x80"}, // surrogate
    };
    for (const auto& c : cases) {
        EncodedString s(c.utf8, Encoding_UTF8);
        EXPECT_EQ(std::wstring(s.text()), std::wstring(c.wide)) << c.utf8;
        EXPECT_EQ(str(s.asUTF8()), c.back) << c.utf8;
        EXPECT_EQ(EncodedString(c.utf8, Encoding_Local), s);
    }
    EXPECT_TRUE(EncodedString(static_cast<const char*>(nullptr), Encoding_UTF8).empty());
    EXPECT_TRUE(EncodedString(static_cast<const wchar_t*>(nullptr)).empty());
}

TEST(EncodedString, NumbersEqualityAndJoining)
{
    EncodedString s;
    EXPECT_EQ(s.number(std::uint32_t{0}), EncodedString(L"0"));
    EXPECT_EQ(s.number(std::uint32_t{4294967295u}), EncodedString(L"4294967295"));
    EXPECT_EQ(s.number(std::uint64_t{18446744073709551615ull}), EncodedString(L"18446744073709551615"));
    EncodedString a("en_US", Encoding_UTF8);
    EXPECT_EQ(a, EncodedString(L"en_US"));
    EXPECT_EQ(a.encoding(), Encoding_UTF8);
    EXPECT_FALSE(a == EncodedString(L"en_GB"));
    a += EncodedString(L".x");
    EXPECT_EQ(a, EncodedString(L"en_US.x"));
}

TEST(CharString, LoadsAndJoinsConvertedTexts)
{
    CharString s(L"A");
    s.loadFrom("\xc3\xa9t\xc3\xa9 and more", 7, Encoding_UTF8);
    EXPECT_EQ(std::wstring(s.data()), L"\u00e9t\u00e9 a");
    s += CharString(L"!");
    EXPECT_EQ(std::wstring(s.data()), L"\u00e9t\u00e9 a!");
    s.loadFrom(nullptr, 3, Encoding_Local);
    EXPECT_TRUE(s.empty());
}

} // namespace
