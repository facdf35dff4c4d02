#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tree/EbcdicConvert.h"
#include "tree/SqlLiteralReaders.h"
#include "tree/UpdateFixture.h"
#include "tree/WideStringConvert.h"

namespace {

constexpr int languageSql = 18;

std::string hexOf(const unsigned char* bytes, std::size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0xF];
    }
    return out;
}

std::string bytes_(const ByteString& s) { return std::string(reinterpret_cast<const char*>(s.data()), s.length()); }

class SqlReaderTest : public UpdateTest {};

// Packed and zoned input against Python's decimal (gen/gen_sql_decimal.py):
// cut at both ends, a zero result positive.
TEST_F(SqlReaderTest, PackedAndZonedInputMatchesTheDecimalModel)
{
    const auto rows = table("sql_decimal.tsv");
    ASSERT_GT(rows.size(), 400u);
    for (const auto& row : rows) {
        const std::uint32_t length = static_cast<std::uint32_t>(std::stoul(row[1]) << 8 | std::stoul(row[2]));
        unsigned char* out = nullptr;
        const std::uint32_t count = row[0] == "P" ? readSqlPackedDecimal(row[3].c_str(), length, &out)
                                                  : readSqlZonedDecimal(row[3].c_str(), length, &out);
        std::unique_ptr<unsigned char[]> owner(out);
        ASSERT_NE(out, nullptr) << row[0] << " " << row[3];
        EXPECT_EQ(hexOf(out, count), row[4]) << row[0] << " " << row[1] << "," << row[2] << " " << row[3];
    }
}

TEST_F(SqlReaderTest, DecimalTextThatIsRefused)
{
    const char* bad[] = {"", "-", "+", ".", "1.2.3", "1-", "--1", "1e5", "12 ", " 12", "0x10",
                         "12345678901234567890123456789012", "1.0000000000000000000000000000000"};
    for (const char* text : bad) {
        unsigned char* out = nullptr;
        EXPECT_EQ(readSqlPackedDecimal(text, 5u << 8 | 2, &out), 0u) << text;
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(readSqlZonedDecimal(text, 5u << 8 | 2, &out), 0u) << text;
        EXPECT_EQ(out, nullptr);
    }
    // A NUL inside a text of explicit length is no digit.
    unsigned char* out = nullptr;
    EXPECT_EQ(readSqlPackedDecimal("1\0002", 3, 5u << 8, &out), 0u);
}

TEST_F(SqlReaderTest, Integers)
{
    struct Case {
        const char* text;
        bool valid;
        std::int64_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"-1", true, -1},
        {"+42", true, 42},
        {"9223372036854775807", true, INT64_MAX},
        {"-9223372036854775808", true, INT64_MIN},
        {"9223372036854775808", false, 0},
        {"-9223372036854775809", false, 0},
        {"18446744073709551616", false, 0},  // wraps to 0 when not checked
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"1-", false, 0},
        {"1 ", false, 0},
        {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        std::int64_t value = 77;
        EXPECT_EQ(readSqlInt(c.text, std::strlen(c.text), value), c.valid) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(readSqlInt(c.text), c.value) << c.text;
    }
}

TEST_F(SqlReaderTest, HexadecimalText)
{
    struct Case {
        const char* text;
        std::uint32_t size;
        int rightAlign;
        const char* bytes;  // null: refused
    };
    const Case cases[] = {
        {"0aFf", 0, 0, "0AFF"},
        {"0102030405", 0, 0, "0102030405"},
        {"0102030405", 2, 0, "0102"},
        {"0102030405", 2, 1, "0405"},
        {"0102", 4, 1, "00000102"},
        {"0102", 4, 0, "0102"},
        {"010", 0, 0, nullptr},
        {"01G2", 0, 0, nullptr},
        {"0102GG", 2, 0, nullptr},  // bad input is refused wherever it is
        {"", 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        unsigned char* out = nullptr;
        const std::uint32_t count = readHex(c.text, c.size, &out, c.rightAlign);
        std::unique_ptr<unsigned char[]> owner(out);
        if (c.bytes == nullptr) {
            EXPECT_EQ(count, 0u) << c.text;
            EXPECT_EQ(out, nullptr) << c.text;
        } else {
            ASSERT_NE(out, nullptr) << c.text;
            EXPECT_EQ(hexOf(out, count), c.bytes) << c.text << " " << c.size << " " << c.rightAlign;
        }
    }
}

TEST_F(SqlReaderTest, FloatingPointText)
{
    struct Case {
        const char* text;
        long double value;
    };
    const Case cases[] = {
        {"1.5", 1.5L},
        {"1.5d3", 1500.0L},
        {"-2.5D-1", -0.25L},
        {"1q2", 100.0L},
        {"1.5e3", 1500.0L},
        {"  -7", -7.0L},
        {"0x1.8p1", 3.0L},
        {"-0X10p-4", -1.0L},
        {"0x.8p0", 0.5L},
        {"2 ", 2.0L},
        {"0x1p3f", 8.0L},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readSqlFloat(c.text), c.value) << c.text;
    const char* bad[] = {"", "abc", "1.5xy", "0x", "0x1.8", "0x1p", "0xGp1", "1.5d3xy", "0x1p3ff"};
    for (const char* text : bad)
        EXPECT_EQ(raisedCode([&] { readSqlFloat(text); }), InvalidOp::RTRC_ParserError) << text;
}

// Decimal floating point against encodings computed with Python's decimal
// (gen/gen_sql_decfloat.py), stored big-endian.
TEST_F(SqlReaderTest, DecimalFloatTextMatchesTheEncodingModel)
{
    const auto rows = table("sql_decfloat.tsv");
    ASSERT_GT(rows.size(), 60u);
    for (const auto& row : rows) {
        const unsigned size = static_cast<unsigned>(std::stoul(row[0]));
        unsigned char out[16] = {};
        ASSERT_EQ(readSqlDecFloat(row[1].c_str(), size, out), size) << row[1];
        EXPECT_EQ(hexOf(out, size), row[2]) << size << " " << row[1];
    }
    unsigned char out[16] = {};
    EXPECT_EQ(readSqlDecFloat("1", 12, out), 0u);
    EXPECT_EQ(readSqlDecFloat("1.5x", 8, out), 0u);
    EXPECT_EQ(readSqlDecFloat("", 8, out), 0u);
}

TEST_F(SqlReaderTest, Utf8ToEbcdicGrowsItsBufferWhenTheTextGrows)
{
    char* out = nullptr;
    int length = 0;
    EXPECT_EQ(EbcdicConvert::utf8ToEbcdic("ab", 2, &out, &length, nullptr), 2);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::string(out, 3), std::string("\x81\x82\0", 3));
    delete[] out;
    // A mixed DBCS page shifts out and in: longer than the input.
    const std::string wide = "\xE3\x81\x82";  // one double-byte character
    EXPECT_EQ(EbcdicConvert::utf8ToEbcdic(wide.data(), 3, &out, &length, "QUV-939"), 4);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(static_cast<unsigned char>(out[0]), 0x0E);
    EXPECT_EQ(static_cast<unsigned char>(out[3]), 0x0F);
    EXPECT_EQ(out[4], 0);
    delete[] out;
    host.failSlot(HS_ExprEbcdicConvert, -1);
    EXPECT_EQ(EbcdicConvert::utf8ToEbcdic("ab", 2, &out, &length, nullptr), -1);
    EXPECT_EQ(out, nullptr);
}

TEST_F(SqlReaderTest, ConvertStringMakesWideCharacters)
{
    const std::string text = "A\\x41\\n\xC3\xA9";
    const ByteString source(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    EXPECT_EQ(bytes_(convertString(source, WCHAR_2BYTE)), std::string("\0A\0A\0\n\0\xE9", 8));
    EXPECT_EQ(bytes_(convertString(source, WCHAR_4BYTE)),
              std::string("\0\0\0A\0\0\0A\0\0\0\n\0\0\0\xE9", 16));
    // A character that cannot be decoded is skipped.
    const std::string broken = "a\\";
    EXPECT_EQ(bytes_(convertString(ByteString(reinterpret_cast<const unsigned char*>(broken.data()), 2), WCHAR_2BYTE)),
              std::string("\0a", 2));
}

}  // namespace
