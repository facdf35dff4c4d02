// The text of C character and string literals: escapes decoded, numeric
// escapes kept as codes of the target's set, host text handed to the
// conversion in runs, wide literals as big-endian units of either width.

#include <string>

#include <gtest/gtest.h>

#include "compiler/CLiteralEscapes.h"

namespace {

// Marks each converted run with brackets, so the runs can be seen.
std::string runs(const std::string& run)
{
    return "[" + run + "]";
}

std::string narrow(const std::string& text)
{
    std::string out;
    if (!CLiteralEscapes::narrow(text.data(), text.size(), runs, out))
        return "refused";
    return out;
}

std::string wide(const std::string& text, unsigned unit)
{
    std::string out;
    if (!CLiteralEscapes::wide(text.data(), text.size(), unit, out))
        return "refused";
    return out;
}

TEST(CLiteralEscapes, NarrowTextConvertsCharactersAndKeepsNumericEscapes)
{
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"abc", "[abc]"},
        {"a\\nb", "[a\nb]"},
        {"\\t\\v\\b\\r\\f\\a\\\\\\'\\\"\\?", "[\t\v\b\r\f\a\\'\"?]"},
        {"a\\x41b", "refused"}, // \x41b is one escape, beyond a byte
        {"a\\x41", std::string("[a]") + "\x41"},
        {"\\101BC", std::string("\x41") + "[BC]"},
        {"\\0", std::string(1, '\0')},
        {"\\1234", std::string("\x53") + "[4]"}, // at most three octal digits
        {"\\377", "\xFF"},
        {"\\400", "refused"},
        {"\\x", "refused"},
        {"\\", "refused"},
        {"\\q", "refused"},
        {"\xC3\xA9", "[\xC3\xA9]"}, // UTF-8 passes whole to the conversion
        {"\xC3", "refused"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(narrow(c.text), c.expected) << c.text;
}

TEST(CLiteralEscapes, WideTextIsBigEndianUnitsOfTheWcharWidth)
{
    using namespace std::string_literals;
    EXPECT_EQ(wide("ab", 4), "\0\0\0a\0\0\0b"s);
    EXPECT_EQ(wide("ab", 2), "\0a\0b"s);
    EXPECT_EQ(wide("\\n\\x263A", 4), "\0\0\0\n\0\0\x26\x3A"s);
    EXPECT_EQ(wide("\xC3\xA9", 2), "\0\xE9"s);
    // Above U+FFFF: one unit of 4 bytes, a surrogate pair of 2.
    EXPECT_EQ(wide("\xF0\x9F\x98\x80", 4), "\0\x01\xF6\x00"s);
    EXPECT_EQ(wide("\xF0\x9F\x98\x80", 2), "\xD8\x3D\xDE\x00"s);
    // A numeric escape is one unit, which it must fit.
    EXPECT_EQ(wide("\\x12345678", 4), "\x12\x34\x56\x78"s);
    EXPECT_EQ(wide("\\x12345678", 2), "refused");
    EXPECT_EQ(wide("\\x123456789", 4), "refused");
    EXPECT_EQ(wide("\\xFFFF", 2), "\xFF\xFF"s);
    EXPECT_EQ(wide("a", 3), "refused");
}

} // namespace
