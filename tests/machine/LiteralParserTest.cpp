// The literal parsers: integer literals in every form with their sizes and
// refusals, character and wide-character escapes, the digit table, and the
// values gcc gives the same literals (a frozen table).

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "machine/DigitConvert.h"
#include "machine/LiteralParsers.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class LiteralParserTest : public MachineFixture {};

enum : int {
    fortran = 11,
    cLanguage = 1
};

struct Parsed {
    std::uint64_t value = 0;
    int isSigned = -1;
    int size = -1;
    int refusal = 0;
};

Parsed parse(const std::string& text)
{
    Parsed p;
    p.refusal =
        raisedCode([&] { p.value = readIntegralValue(text.data(), unsigned(text.size()), p.isSigned, p.size); });
    return p;
}

} // namespace

TEST_F(LiteralParserTest, IntegerLiterals)
{
    struct Case {
        const char* text;
        int language;
        unsigned addressSize;
        std::uint64_t value;
        int isSigned;
        int size;
        int refusal;
    } cases[] = {
        {"0x1F", cLanguage, 4, 31, 1, 4, 0},
        {"017", cLanguage, 4, 15, 1, 4, 0},
        {"017", fortran, 4, 17, 1, 4, 0},
        {"0x", cLanguage, 4, 0, 0, 0, 14},
        {"B'101'", cLanguage, 4, 5, 1, 4, 0},
        {"Z'FF'", cLanguage, 4, 255, 1, 4, 0},
        {"h'ff'", cLanguage, 4, 255, 1, 4, 0},
        {"O'17'", cLanguage, 4, 15, 1, 4, 0},
        // A lone letter of a quoted form, or its quote alone, reads nothing.
        {"B", cLanguage, 4, 0, 0, 0, 14},
        {"H", cLanguage, 4, 0, 0, 0, 14},
        {"Z'", cLanguage, 4, 0, 0, 0, 14},
        {"O''", cLanguage, 4, 0, 0, 0, 14},
        {"2147483647", cLanguage, 4, 2147483647, 1, 8, 0},
        {"2147483646", cLanguage, 4, 2147483646, 1, 4, 0},
        {"4294967295U", cLanguage, 4, 4294967295u, 0, 8, 0},
        {"4294967294u", cLanguage, 4, 4294967294u, 0, 4, 0},
        {"2147483648L", cLanguage, 4, 0, 0, 0, 14},
        {"2147483647L", cLanguage, 4, 2147483647, 1, 4, 0},
        {"4294967295UL", cLanguage, 4, 4294967295u, 0, 4, 0},
        {"4294967296UL", cLanguage, 4, 0, 0, 0, 14},
        {"2147483648LL", cLanguage, 4, 2147483648u, 1, 8, 0},
        {"2147483648L", cLanguage, 8, 2147483648u, 1, 8, 0},
        {"1l", cLanguage, 8, 1, 1, 8, 0},
        {"-5", cLanguage, 4, ~std::uint64_t(5) + 1, 1, 4, 0},
        {"  -+ 5", cLanguage, 4, ~std::uint64_t(5) + 1, 1, 4, 0},
        {"+7", cLanguage, 4, 7, 1, 4, 0},
        // Over-long literals wrap at 64 bits.
        {"18446744073709551617", cLanguage, 4, 1, 1, 4, 0},
        {"12 ", cLanguage, 4, 0, 0, 0, 14},
        {"12Q", cLanguage, 4, 0, 0, 0, 14},
        {"", cLanguage, 4, 0, 0, 0, 14},
        {"   ", cLanguage, 4, 0, 0, 0, 14},
        {"-", cLanguage, 4, 0, 0, 0, 14},
        {"- + 5", cLanguage, 4, 0, 0, 0, 14},
        {"Q", cLanguage, 4, 0, 0, 0, 14},
    };
    for (const Case& c : cases) {
        useRepresentation(c.language, c.addressSize);
        const Parsed p = parse(c.text);
        EXPECT_EQ(p.refusal, c.refusal) << c.text;
        if (c.refusal != 0)
            continue;
        EXPECT_EQ(p.value, c.value) << c.text;
        EXPECT_EQ(p.isSigned, c.isSigned) << c.text;
        EXPECT_EQ(p.size, c.size) << c.text << " at " << c.addressSize;
    }
}

TEST_F(LiteralParserTest, ReadsStopAtTheirEnd)
{
    // The text goes on past the end given: nothing beyond it is read.
    const char text[] = "12345";
    const char* p = text;
    EXPECT_EQ(readDecValue(p, text + 2), 12u);
    EXPECT_EQ(p, text + 2);
    p = text;
    EXPECT_EQ(raisedCode([&] { readHexValue(p, text); }), InvalidOp::RTRC_ParserError);
    const char binary[] = "1012";
    p = binary;
    EXPECT_EQ(readBinValue(p, binary + 4), 5u);
    EXPECT_EQ(*p, '2');
    const char withZero[] = {'7', '\0', '7'};
    p = withZero;
    EXPECT_EQ(readOctValue(p, withZero + 3), 7u);
    EXPECT_EQ(p, withZero + 1);
    // The quoted form reads up to its last byte at most: "Z'F" has no
    // closing quote, so its F is taken for one.
    int isSigned = 0;
    int size = 0;
    EXPECT_EQ(raisedCode([&] { readIntegralValue("Z'F", 3, isSigned, size); }), InvalidOp::RTRC_ParserError);
}

TEST_F(LiteralParserTest, CharacterEscapes)
{
    struct Case {
        const char* text;
        unsigned length;
        int used;
        unsigned byte;
    } cases[] = {
        {"\\x41", 4, 4, 65},
        {"\\101", 4, 4, 65},
        {"\\q", 2, 2, 'q'},
        {"\\f", 2, 2, 12},
        {"\\n", 2, 2, 10},
        {"\\1012", 5, 4, 65},
        {"\\7", 2, 2, 7},
        {"\\x4142", 6, 6, 0x42},
        {"\\xg", 3, 2, 0},
        {"\\x", 2, 0, 0},
        {"\\", 1, 0, 0},
        {"", 0, 0, 0},
        {"ab", 2, 1, 'a'},
        {"\\777", 4, 4, 0xFF},
        {"\\18", 3, 2, 1},
        // A multi-byte character is no one-byte character.
        {"\xC3\xA9", 2, 0, 0},
    };
    for (const Case& c : cases) {
        unsigned char byte = 0;
        EXPECT_EQ(convertChar(c.text, c.length, byte), c.used) << c.text;
        if (c.used != 0) {
            EXPECT_EQ(byte, c.byte) << c.text;
        }
    }
    unsigned char byte = 0;
    EXPECT_EQ(convertChar(nullptr, 3, byte), 0);
}

TEST_F(LiteralParserTest, WideCharacters)
{
    struct Case {
        const char* text;
        unsigned length;
        int used;
        std::uint64_t code;
    } cases[] = {
        {"\xC3\xA9", 2, 2, 0xE9},
        {"\xE2\x82\xAC", 3, 3, 0x20AC},
        {"\xF0\x9F\x98\x80", 4, 4, 0x1F600},
        {"\xE2\x82", 2, 0, 0}, // cut short
        {"\xC3\x41", 2, 0, 0}, // no continuation byte
        {"\\x12345678", 10, 10, 0x12345678},
        {"\\x", 2, 0, 0},
        {"\\xz", 3, 0, 0},
        {"\\n", 2, 2, 10},
        {"\\101", 4, 4, 65},
        {"A", 1, 1, 65},
        {"\x80", 1, 0, 0}, // no character on its own
        {"", 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::uint64_t code = 0;
        EXPECT_EQ(convertChar(c.text, c.length, code), c.used) << c.text;
        if (c.used != 0) {
            EXPECT_EQ(code, c.code) << c.text;
        }
    }
}

TEST_F(LiteralParserTest, DigitTable)
{
    EXPECT_EQ(DigitConvert::convertHex('4', '1'), 65);
    EXPECT_EQ(DigitConvert::convertHex('f', 'F'), 255);
    EXPECT_EQ(raisedCode([] { DigitConvert::convertHex('4', 'G'); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([] { DigitConvert::convertHex('x', '0'); }), InvalidOp::RTRC_Other);

    // Every byte against the marks of the four bases.
    for (unsigned c = 0; c < 256; ++c) {
        const bool dec = c >= '0' && c <= '9';
        const bool hex = dec || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        std::uint64_t acc = 1;
        EXPECT_EQ(DigitConvert::appendBin(static_cast<unsigned char>(c), acc), c == '0' || c == '1') << c;
        acc = 1;
        EXPECT_EQ(DigitConvert::appendOct(static_cast<unsigned char>(c), acc), c >= '0' && c <= '7') << c;
        acc = 1;
        EXPECT_EQ(DigitConvert::appendDec(static_cast<unsigned char>(c), acc), dec) << c;
        acc = 1;
        const bool appended = DigitConvert::appendHex(static_cast<unsigned char>(c), acc);
        EXPECT_EQ(appended, hex) << c;
        EXPECT_EQ(acc, appended ? 16 + DigitConvert::instance().value(static_cast<unsigned char>(c)) : 1u) << c;
    }
    // The accumulator wraps at 64 bits.
    std::uint64_t acc = 0xFFFFFFFFFFFFFFFFull;
    EXPECT_TRUE(DigitConvert::appendHex('1', acc));
    EXPECT_EQ(acc, 0xFFFFFFFFFFFFFFF1ull);
}

TEST_F(LiteralParserTest, TableIsMadeOnceUnderConcurrentFirstUse)
{
    std::vector<const DigitConvert*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &DigitConvert::instance(); });
    for (std::thread& t : threads)
        t.join();
    for (const DigitConvert* table : seen)
        EXPECT_EQ(table, &DigitConvert::instance());
}

TEST_F(LiteralParserTest, AgreesWithTheValuesGccGivesTheSameLiterals)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/literal_oracle.tsv");
    ASSERT_TRUE(in.good());
    std::string line;
    unsigned rows = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind, text, value;
        std::getline(fields, kind, '\t');
        std::getline(fields, text, '\t');
        std::getline(fields, value, '\t');
        const std::uint64_t expected = std::strtoull(value.c_str(), nullptr, 10);
        if (kind == "int") {
            const Parsed p = parse(text);
            EXPECT_EQ(p.refusal, 0) << text;
            EXPECT_EQ(p.value, expected) << text;
        } else {
            unsigned char byte = 0;
            EXPECT_EQ(convertChar(text.data(), unsigned(text.size()), byte), int(text.size())) << text;
            EXPECT_EQ(byte, expected) << text;
            std::uint64_t code = 0;
            EXPECT_EQ(convertChar(text.data(), unsigned(text.size()), code), int(text.size())) << text;
            EXPECT_EQ(code, expected) << text;
        }
        ++rows;
    }
    EXPECT_GT(rows, 30u);
}
