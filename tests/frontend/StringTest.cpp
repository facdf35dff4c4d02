#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "FrontendFixtures.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_String.h"

using fixtures::text;

namespace {

std::string repeat(std::size_t n, char c = 'x')
{
    return std::string(n, c);
}

TEST(EE_String, CapacityFollowsTheInlineBufferAndThe256ByteSteps)
{
    struct Case {
        std::size_t length;
        unsigned capacity;
        bool isInline;
    };
    const Case cases[] = {
        {0, 111, true},    {111, 111, true},  {112, 235, false}, {234, 235, false},
        {235, 491, false}, {490, 491, false}, {491, 747, false}, {1000, 1003, false},
    };
    for (const Case& c : cases) {
        std::string source = repeat(c.length);
        EE_String s(source.c_str());
        EXPECT_EQ(s.capacity(), c.capacity) << c.length;
        EXPECT_EQ(s.isInline(), c.isInline) << c.length;
        EXPECT_EQ(text(s), source);
        EXPECT_EQ(s.data()[s.length()], '\0');
    }
}

TEST(EE_String, LongTextsOfAnArenaStringComeFromTheArena)
{
    EE_StorageArena arena;
    EE_String shortOne(repeat(111).c_str(), &arena);
    EXPECT_TRUE(shortOne.isInline());
    EE_String longOne(repeat(300).c_str(), &arena);
    EXPECT_FALSE(longOne.isInline());
    EXPECT_EQ(longOne.arena(), &arena);
    // The buffer is arena storage: it lies in the block that the next
    // allocation also comes from.
    const char* next = static_cast<const char*>(arena.allocate(8));
    EXPECT_GT(next, longOne.data());
    EXPECT_LT(next - longOne.data(), 65504);
}

TEST(EE_String, ConstructionForms)
{
    EE_String none(nullptr);
    EXPECT_EQ(text(none), "");
    EE_String counted("abcdef", std::size_t(3), nullptr);
    EXPECT_EQ(text(counted), "abc");
    EE_String joined("abc", "def", nullptr);
    EXPECT_EQ(text(joined), "abcdef");
    EE_String longJoined(repeat(100, 'a').c_str(), repeat(100, 'b').c_str(), nullptr);
    EXPECT_EQ(text(longJoined), repeat(100, 'a') + repeat(100, 'b'));
    EXPECT_EQ(longJoined.capacity(), 235u);

    // A copy of a long text takes the source's capacity.
    EE_String grown(repeat(200).c_str());
    grown << repeat(100).c_str(); // 300 characters, capacity 491
    EE_String copy(grown, nullptr);
    EXPECT_EQ(copy.capacity(), 491u);
    EXPECT_EQ(text(copy), text(grown));

    EE_String remade("first");
    remade.construct(repeat(150).c_str(), nullptr);
    EXPECT_EQ(text(remade), repeat(150));
    remade.construct("short", nullptr);
    EXPECT_TRUE(remade.isInline());
    EXPECT_EQ(text(remade), "short");
}

TEST(EE_String, AssignmentMovesBetweenInlineAndOutsideBuffers)
{
    EE_String s(repeat(300).c_str());
    s = "tiny";
    EXPECT_TRUE(s.isInline());
    EXPECT_EQ(text(s), "tiny");

    s = repeat(200).c_str();
    EXPECT_EQ(s.capacity(), 235u);
    s = repeat(150, 'y').c_str(); // fits the present buffer
    EXPECT_EQ(s.capacity(), 235u);
    EXPECT_EQ(text(s), repeat(150, 'y'));

    EE_String other(repeat(600, 'z').c_str());
    s = other;
    EXPECT_EQ(text(s), repeat(600, 'z'));
    EXPECT_EQ(s.capacity(), other.capacity());

    const EE_String& itself = s;
    s = itself; // no effect on itself
    EXPECT_EQ(text(s), repeat(600, 'z'));

    // The text assigned may be a part of the string itself.
    EE_String part(repeat(130, 'q').c_str());
    part = part.data() + 100;
    EXPECT_EQ(text(part), repeat(30, 'q'));
    EE_String longPart((repeat(50, 'a') + repeat(400, 'b')).c_str());
    longPart = longPart.data() + 50;
    EXPECT_EQ(text(longPart), repeat(400, 'b'));

    s = static_cast<const char*>(nullptr);
    EXPECT_EQ(text(s), "");
}

// long is 8 bytes on Linux and 4 on Windows (32- and 64-bit alike); pointers
// are 8 bytes on both 64-bit hosts.
TEST(EE_String, EveryAppenderWritesItsValue)
{
    auto appended = [](auto value) {
        EE_String s("[");
        s << value;
        return text(s);
    };
    EXPECT_EQ(appended("text"), "[text");
    EXPECT_EQ(appended(static_cast<const char*>(nullptr)), "[");
    EXPECT_EQ(appended(EE_String("other")), "[other");
    EXPECT_EQ(appended('c'), "[c");
    EXPECT_EQ(appended(0), "[0");
    EXPECT_EQ(appended(-5), "[-5");
    EXPECT_EQ(appended(INT_MIN), "[-2147483648");
    EXPECT_EQ(appended(0u), "[0");
    EXPECT_EQ(appended(UINT_MAX), "[4294967295");
    EXPECT_EQ(appended(-5L), "[-5");
    EXPECT_EQ(appended(LONG_MIN), sizeof(long) == 8 ? "[-9223372036854775808" : "[-2147483648");
    EXPECT_EQ(appended(0UL), "[0");
    EXPECT_EQ(appended(ULONG_MAX), sizeof(long) == 8 ? "[18446744073709551615" : "[4294967295");
    EXPECT_EQ(appended(0LL), "[0");
    EXPECT_EQ(appended(5000000000LL), "[5000000000");
    EXPECT_EQ(appended(-5000000000LL), "[-5000000000");
    EXPECT_EQ(appended(LLONG_MIN), "[-9223372036854775808");
    EXPECT_EQ(appended(LLONG_MAX), "[9223372036854775807");
    EXPECT_EQ(appended(0ULL), "[0");
    EXPECT_EQ(appended(ULLONG_MAX), "[18446744073709551615");
    EXPECT_EQ(appended(1.5), "[1.5");
    EXPECT_EQ(appended(1e100), "[1e+100");
    EXPECT_EQ(appended(0.25f), "[0.25");
    EXPECT_EQ(appended(-2.5L), "[-2.5");
    EXPECT_EQ(appended(1e4000L), "[1e+4000");
    // Pointers in lower-case hexadecimal with all of their digits.
    if constexpr (sizeof(void*) == 8) {
        EXPECT_EQ(appended(reinterpret_cast<const void*>(std::uintptr_t(0xdeadbeefcafeULL))), "[deadbeefcafe");
        EXPECT_EQ(appended(reinterpret_cast<const void*>(std::uintptr_t(0xFFFFFFFFFFFFFFF0ULL))), "[fffffffffffffff0");
    } else {
        EXPECT_EQ(appended(reinterpret_cast<const void*>(std::uintptr_t(0xFFFFFFF0u))), "[fffffff0");
    }
    EXPECT_EQ(appended(static_cast<const void*>(nullptr)), "[0");
}

TEST(EE_String, AppendingGrowsTheBufferAndKeepsTheText)
{
    EE_String s(repeat(111).c_str());
    EXPECT_TRUE(s.isInline());
    s << 'y';
    EXPECT_FALSE(s.isInline());
    EXPECT_EQ(s.capacity(), 235u);
    EXPECT_EQ(text(s), repeat(111) + "y");
    for (int i = 0; i < 123; ++i)
        s << 'z';
    // A buffer is only replaced when the text no longer fits it.
    EXPECT_EQ(s.length(), 235u);
    EXPECT_EQ(s.capacity(), 235u);
    s << 'z';
    EXPECT_EQ(s.capacity(), 491u);
    EXPECT_EQ(text(s), repeat(111) + "y" + repeat(124, 'z'));

    // Appending a string to itself, also when that grows the buffer.
    EE_String twice(repeat(100, 'a').c_str());
    twice << twice;
    EXPECT_EQ(text(twice), repeat(200, 'a'));
    twice << twice;
    EXPECT_EQ(text(twice), repeat(400, 'a'));
    twice << twice.data();
    EXPECT_EQ(text(twice), repeat(800, 'a'));
}

TEST(EE_String, AppendingInAnArenaKeepsTheArena)
{
    EE_StorageArena arena;
    EE_String s("", &arena);
    for (int i = 0; i < 100; ++i)
        s << i;
    EXPECT_EQ(s.arena(), &arena);
    EXPECT_EQ(s.length(), 190u);
    EXPECT_EQ(text(s.take(12)), "012345678910");
}

TEST(EE_String, SubStringDropAndTakeAtTheirRanges)
{
    const EE_String abcd("abcd");
    struct Case {
        const char* what;
        EE_String result;
        const char* expected;
    };
    const Case cases[] = {
        {"subString(0,4)", abcd.subString(0, 4), "abcd"},
        {"subString(1,2)", abcd.subString(1, 2), "bc"},
        {"subString(2,10)", abcd.subString(2, 10), "cd"},
        {"subString(3,1)", abcd.subString(3, 1), "d"},
        {"subString(4,1)", abcd.subString(4, 1), ""},
        {"subString(5,1)", abcd.subString(5, 1), ""},
        {"subString(0,0)", abcd.subString(0, 0), ""},
        {"subString(1,max)", abcd.subString(1, SIZE_MAX), "bcd"},
        {"drop(0)", abcd.drop(0), "abcd"},
        {"drop(1)", abcd.drop(1), "bcd"},
        {"drop(4)", abcd.drop(4), ""},
        {"drop(9)", abcd.drop(9), ""},
        {"drop(-2)", abcd.drop(-2), "ab"},
        {"drop(-4)", abcd.drop(-4), ""},
        {"drop(-9)", abcd.drop(-9), ""},
        {"drop(min)", abcd.drop(LLONG_MIN), ""},
        {"take(0)", abcd.take(0), ""},
        {"take(2)", abcd.take(2), "ab"},
        {"take(10)", abcd.take(10), "abcd"},
        {"take(-2)", abcd.take(-2), "cd"},
        {"take(-4)", abcd.take(-4), "abcd"},
        {"take(-9)", abcd.take(-9), "abcd"},
        {"take(min)", abcd.take(LLONG_MIN), "abcd"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text(c.result), c.expected) << c.what;
        EXPECT_EQ(c.result.arena(), nullptr) << c.what;
    }
    EXPECT_EQ(text(EE_String().drop(-1)), "");
    EXPECT_EQ(text(EE_String().take(-1)), "");
}

TEST(EE_String, CaseMappingAndOrdering)
{
    EE_String mixed("MiXeD 12 \xC1");
    EXPECT_EQ(text(mixed.toUpper()), "MIXED 12 \xC1");
    EXPECT_EQ(text(mixed.toLower()), "mixed 12 \xC1");
    EXPECT_EQ(text(EE_String().toUpper()), "");

    EXPECT_TRUE(EE_String("abc") < EE_String("abd"));
    EXPECT_TRUE(EE_String("ab") < EE_String("abc"));
    EXPECT_FALSE(EE_String("abc") < EE_String("abc"));
    EXPECT_TRUE(EE_String("abd") > EE_String("abc"));
    // Bytes compare unsigned: 0xC1 comes after 'z'.
    EXPECT_TRUE(EE_String("\xC1") > EE_String("z"));
    EXPECT_FALSE(EE_String("ab") > EE_String("abc"));
}

TEST(EE_String, CaseInsensitiveComparisons)
{
    struct Case {
        const char* string;
        const char* other;
        int expected;
    };
    const Case stricmpCases[] = {
        {"ABC", "abc", 0}, {"AB", "abc", -1}, {"abc", "AB", 1},          {"", "", 0},
        {"", "a", -1},     {"a", "", 1},      {"abc", "abd", 'c' - 'd'}, {"B", "a", 1},
    };
    for (const Case& c : stricmpCases)
        EXPECT_EQ(stricmp(EE_String(c.string), c.other), c.expected) << c.string << " / " << c.other;
    EXPECT_EQ(stricmp(EE_String("a"), nullptr), 1);

    struct NCase {
        const char* string;
        const char* other;
        unsigned n;
        int expected;
    };
    const NCase strnicmpCases[] = {
        {"ABCdef", "abcXYZ", 3, 0},
        {"ABCdef", "abcXYZ", 4, 'd' - 'x'},
        {"abc", "xyz", 0, 0},
        {"ab", "AB", 100, 0}, // both end together, no reading past the ends
        {"ab", "abc", 100, -'c'},
        {"abc", "ab", 100, 'c'},
        {"", "", 5, 0},
    };
    for (const NCase& c : strnicmpCases)
        EXPECT_EQ(strnicmp(EE_String(c.string), c.other, c.n), c.expected)
            << c.string << " / " << c.other << " / " << c.n;
}

TEST(EE_String, MovedStringsKeepTheirText)
{
    EE_String longOne(repeat(300).c_str());
    EE_String moved(std::move(longOne));
    EXPECT_EQ(text(moved), repeat(300));
    EE_StorageArena arena;
    EE_String inArena(repeat(300, 'a').c_str(), &arena);
    EE_String out(std::move(inArena));
    EXPECT_EQ(text(out), repeat(300, 'a'));
    EXPECT_EQ(out.arena(), nullptr);
    EXPECT_EQ(text(inArena), repeat(300, 'a'));
}

TEST(EE_ArenaString, LeavingScopeNeverThrows)
{
    EE_StorageArena arena;
    EXPECT_NO_THROW({
        EE_ArenaString inArena(repeat(200).c_str(), &arena);
        EE_ArenaString onHeap(repeat(200).c_str());
        EXPECT_EQ(text(inArena), repeat(200));
    });
    EE_ArenaString* placed = new (arena) EE_ArenaString("placed", &arena);
    *placed << " in the arena";
    EXPECT_EQ(text(*placed), "placed in the arena");
}

} // namespace
