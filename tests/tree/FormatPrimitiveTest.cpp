#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommaLocale.h"

#include "datatypes/DecimalFloat.h"
#include "tree/FormatPrimitive.h"
#include "tree/TreeFixture.h"

namespace {

std::vector<unsigned char> bytesOf(const std::string& hex)
{
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<unsigned char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return out;
}

std::string str(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
}

enum Lang {
    C = 1,
    COBOL = 6,
    Fortran = 11
};

class FormatPrimitiveTest : public TreeTest {
protected:
    std::string fmt(Lang lang, int rep, unsigned tindex, const std::string& hex)
    {
        if (rep_language_ != lang) {
            useRepresentation(lang, 4);
            rep_language_ = lang;
        }
        std::vector<unsigned char> b = bytesOf(hex);
        return str(FormatPrimitive::format(rep, tindex, b.data(), static_cast<unsigned>(b.size())));
    }

    int rep_language_ = C;
};

TEST_F(FormatPrimitiveTest, IntegersByRepresentationWidthAndLanguage)
{
    struct Case {
        Lang lang;
        int rep;
        unsigned tindex;
        const char* bytes;
        std::string text;
    } cases[] = {
        {C, 1, 134, "0000010A", "0x0000010A"},
        {Fortran, 1, 134, "0000010A", "Z'0000010A'"},
        {C, 2, 134, "0000010A", "266"},
        {Fortran, 2, 134, "0000010A", "266"},
        {C, 3, 134, "0000010A", "0412"},
        {Fortran, 3, 134, "0000010A", "O'412'"},
        {C, 4, 134, "0000010A", "00000000000000000000000100001010"},
        {Fortran, 4, 134, "0000010A", "B'00000000000000000000000100001010'"},
        {C, 2, 128, "FF", "-1"},
        {C, 1, 128, "FF", "0xFF"},
        {C, 3, 128, "FF", "0377"},
        {C, 4, 128, "FF", "11111111"},
        {C, 2, 132, "FF", "255"},
        {C, 3, 133, "0000", "0"},
        {Fortran, 3, 133, "0000", "O'0'"},
        {C, 3, 133, "0008", "010"},
        {C, 2, 129, "FFFE", "-2"},
        {C, 1, 129, "FFFE", "0xFFFE"},
        {C, 3, 129, "FFFE", "0177776"},
        {C, 2, 130, "80000000", "-2147483648"},
        {C, 2, 155, "FFFFFFFFFFFFFFFF", "-1"},
        {C, 2, 156, "FFFFFFFFFFFFFFFF", "18446744073709551615"},
        {C, 1, 157, "0123456789ABCDEF", "0x0123456789ABCDEF"},
        {C, 4, 145, "8001", "1000000000000001"},
        {C, 2, 146, "FFFFFFFF", "4294967295"},
        // Booleans: the value as a signed 32-bit integer.
        {C, 17, 134, "00000000", "FALSE"},
        {C, 17, 134, "00000001", "TRUE"},
        {Fortran, 17, 134, "00000000", ".false."},
        {Fortran, 17, 132, "01", ".true."},
        {C, 17, 134, "00000002", "?? /* 2*/"},
        {C, 17, 130, "FFFFFFFF", "?? /* 18446744073709551615*/"},
        {C, 17, 156, "0000000100000001", "TRUE"},
        // Characters of the evaluator's own set.
        {C, 5, 132, "41", "'A'"},
        {C, 5, 132, "0A", "'\\n'"},
        {C, 5, 132, "07", "'\\a'"},
        {C, 5, 132, "0D", "'\\r'"},
        {C, 5, 132, "01", "'\\x01'"},
        {C, 5, 128, "FF", "'\\xff'"},
        {C, 5, 133, "0041", "L'A'"},
        {C, 5, 133, "0001", "L'\\x1'"},
        {C, 5, 133, "000A", "L'\n'"},
        {C, 5, 129, "FFFF", "L'\\xffffffffffffffff'"},
        {COBOL, 5, 133, "0000", "L'.'"},
        // Characters of the target's code page.
        {C, 22, 132, "C1", "'A'"},
        {C, 22, 132, "15", "'\\n'"},
        {C, 22, 132, "05", "'\\t'"},
        {C, 22, 132, "16", "'\\b'"},
        {C, 22, 132, "0B", "'\\x0b'"},
        {C, 22, 132, "2F", "'\\a'"},
        {C, 22, 132, "7D", "'\\''"},
        {C, 22, 132, "7F", "'\\\"'"},
        {C, 22, 132, "E0", "'\\\\'"},
        // A wide character holds its wide code, not an EBCDIC byte.
        {C, 22, 133, "0041", "L'A'"},
        {C, 22, 150, "00000061", "L'a'"},
        {C, 22, 133, "000A", "L'\\n'"},
        {C, 22, 133, "0027", "L'\\''"},
        {C, 22, 133, "005C", "L'\\\\'"},
        {C, 22, 133, "0001", "L'\\x1'"},
        {C, 22, 133, "007F", "L'\\x7f'"},
        {C, 22, 133, "1234", "L'\\x1234'"},
        {COBOL, 22, 132, "00", "'.'"},
        {COBOL, 22, 132, "C1", "'A'"},
        // Raw bytes, whatever the type.
        {C, 21, 131, "0102FF", std::string("\x01\x02\xFF", 3)},
        {C, 21, 134, "0102", std::string("\x01\x02", 2)},
        {C, 1, 195, "", "{...}"},
        {C, 8, 202, "", "{...}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fmt(c.lang, c.rep, c.tindex, c.bytes), c.text)
            << "language " << c.lang << " rep " << c.rep << " type " << c.tindex << " bytes " << c.bytes;
}

TEST_F(FormatPrimitiveTest, RefusalsOfTypesRepresentationsAndShortValues)
{
    struct Case {
        int rep;
        unsigned tindex;
        unsigned length;
        int code;
    } cases[] = {
        // Unknown primitive types.
        {2, 131, 4, InvalidOp::RTRC_NotSupported},
        {2, 135, 4, InvalidOp::RTRC_NotSupported},
        {2, 127, 4, InvalidOp::RTRC_NotSupported},
        {2, 206, 4, InvalidOp::RTRC_NotSupported},
        {8, 199, 16, InvalidOp::RTRC_NotSupported},
        {8, 194, 16, InvalidOp::RTRC_NotSupported},
        // Representations the type does not offer.
        {8, 134, 4, InvalidOp::RTRC_InvalidFormat},
        {9, 132, 1, InvalidOp::RTRC_InvalidFormat},
        {21 + 2, 155, 8, InvalidOp::RTRC_InvalidFormat},
        {2, 136, 4, InvalidOp::RTRC_InvalidFormat},
        {1, 140, 8, InvalidOp::RTRC_InvalidFormat},
        {1, 205, 32, InvalidOp::RTRC_InvalidFormat},
        {1, 192, 8, InvalidOp::RTRC_InvalidFormat},
        {17, 198, 16, InvalidOp::RTRC_InvalidFormat},
        // Values shorter than their type are never read past their end.
        {2, 134, 3, InvalidOp::RTRC_InvalidFormat},
        {2, 155, 7, InvalidOp::RTRC_InvalidFormat},
        {8, 137, 4, InvalidOp::RTRC_InvalidFormat},
        {8, 139, 10, InvalidOp::RTRC_InvalidFormat},
        {8, 143, 23, InvalidOp::RTRC_InvalidFormat},
        {8, 142, 24, InvalidOp::RTRC_InvalidFormat},
        {8, 205, 31, InvalidOp::RTRC_InvalidFormat},
        {8, 193, 8, InvalidOp::RTRC_InvalidFormat},
        {2, 128, 0, InvalidOp::RTRC_InvalidFormat},
    };
    for (const Case& c : cases) {
        // Exactly as many bytes as asked for, so that a read past them shows.
        std::vector<unsigned char> value(c.length, 0x40);
        auto* bytes = c.length != 0 ? static_cast<unsigned char*>(std::malloc(c.length)) : nullptr;
        if (bytes != nullptr)
            std::memcpy(bytes, value.data(), c.length);
        EXPECT_EQ(raisedCode([&] { FormatPrimitive::format(c.rep, c.tindex, bytes, c.length); }), c.code)
            << "rep " << c.rep << " type " << c.tindex << " length " << c.length;
        std::free(bytes);
    }
}

TEST_F(FormatPrimitiveTest, DigitRoutines)
{
    EXPECT_EQ(str(FormatPrimitive::formatHexadecimal(0, 0)), "0x0");
    EXPECT_EQ(str(FormatPrimitive::formatHexadecimal(0xABCDEF, 0)), "0xABCDEF");
    EXPECT_EQ(str(FormatPrimitive::formatHexadecimal(0x1ABCD, 2)), "0xCD");
    EXPECT_EQ(str(FormatPrimitive::formatBinary(5, 100)).size(), 64u) << "width capped at 64";
    EXPECT_EQ(str(FormatPrimitive::formatOctal(8)), "010");
    EXPECT_EQ(str(FormatPrimitive::formatDecimal(static_cast<long long>(-9223372036854775807LL - 1))),
              "-9223372036854775808");
    EXPECT_EQ(str(FormatPrimitive::formatBoolean(-1)), "?? /* 18446744073709551615*/");
    const unsigned char bytes[] = {0x00, 0x1F, 0xA0};
    EXPECT_EQ(str(FormatPrimitive::formatFloatAsHex(3, bytes)), "X'001FA0'");
    useRepresentation(Fortran, 4);
    EXPECT_EQ(str(FormatPrimitive::formatHexadecimal(0, 0)), "Z'0'");
    EXPECT_EQ(str(FormatPrimitive::formatOctal(0)), "O'0'");
}

TEST(FormatFloatToCompTest, RewritesExponentForms)
{
    struct Case {
        const char* printed;
        const char* rewritten;
    } cases[] = {
        {"1.2345000E+05", "+.12345000E+06"},
        {"-2.5000000E-01", "-.25000000E+00"},
        {"0.0000000E+00", "+.00000000E+00"},
        {"-0.0000000E+00", "-.00000000E+00"},
        {"1.0000000E+99", "+.10000000E+100"},
        {"9.9999999E+09", "+.99999999E+10"},
        {"5.0E-100", "+.50E-099"},
        {"1.5E-01", "+.15E+00"},
        {"7.0E+2147", "+.70E+2148"},
        {"+3.25E+00", "+.325E+01"},
        {"inf", "inf"},
        {"-nan", "-nan"},
        {"1.2345678901234567890123456789012345678901234567890123456789E+00",
         // cut at 59 characters
         "+.123456789012345678901234567890123456789012345678901234567"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatPrimitive::formatFloatToComp(c.printed), c.rewritten) << c.printed;
}

// The rows of a frozen table of the test data, each split at its tabs;
// comment lines (#) are skipped.
std::vector<std::vector<std::string>> tableRows(const std::string& file)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/tree/data") + "/" + file);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t'))
            fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

TEST_F(FormatPrimitiveTest, FloatTextsMatchTheIndependentModel)
{
    const auto rows = tableRows("float_texts.tsv");
    EXPECT_GT(rows.size(), 60u);
    for (const auto& r : rows) {
        ASSERT_EQ(r.size(), 3u);
        EXPECT_EQ(fmt(C, 8, static_cast<unsigned>(std::stoul(r[0])), r[1]), r[2]) << r[0] << " " << r[1];
    }
}

TEST_F(FormatPrimitiveTest, EveryPrimitiveInEveryRepresentationOfItsRowAsGccPrintsIt)
{
    const auto rows = tableRows("primitive_texts.tsv");
    EXPECT_GT(rows.size(), 300u);
    for (const auto& r : rows) {
        ASSERT_EQ(r.size(), 4u);
        EXPECT_EQ(fmt(C, std::stoi(r[1]), static_cast<unsigned>(std::stoul(r[0])), r[2]), r[3])
            << r[0] << " rep " << r[1] << " " << r[2];
    }
}

TEST_F(FormatPrimitiveTest, NumbersKeepThePointUnderACommaLocale)
{
    // A host process running in a locale whose decimal separator is a comma:
    // every text of the table is the same, floating-point ones included, and
    // a long double becomes the same decimal float as in the C locale.
    const long double decimals[] = {1.25L, -0.5L, 1234.5L, 1e-7L};
    auto decimalText = [](long double value) {
        ByteString bytes;
        DecimalFloat(value, DecimalFloat::Size64).format(bytes, DecimalFloat::Size64);
        return str(FormatPrimitive::format(8, 192, bytes.data(), bytes.length()));
    };
    std::vector<std::string> inC;
    for (long double d : decimals)
        inC.push_back(decimalText(d));
    EXPECT_EQ(inC[0], "1.250000000000000");
    const CommaLocale comma;
    const char* found = comma.name();
    if (found == nullptr)
        GTEST_SKIP() << "no locale with a comma decimal point is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << found;
    const auto rows = tableRows("primitive_texts.tsv");
    for (const auto& r : rows)
        EXPECT_EQ(fmt(C, std::stoi(r[1]), static_cast<unsigned>(std::stoul(r[0])), r[2]), r[3])
            << r[0] << " rep " << r[1] << " " << r[2];
    for (std::size_t i = 0; i < inC.size(); ++i)
        EXPECT_EQ(decimalText(decimals[i]), inC[i]);
}

TEST_F(FormatPrimitiveTest, FloatHexFormsAndLanguageOfComplexNumbers)
{
    EXPECT_EQ(fmt(C, 1, 136, "3FC00000"), "X'3FC00000'");
    EXPECT_EQ(fmt(C, 1, 197, "4118000000000000"), "X'4118000000000000'");
    EXPECT_EQ(fmt(C, 1, 138, "3FFF800000000000000000000000000F"), "X'3FFF800000000000' X'000000000000000F'");
    EXPECT_EQ(fmt(C, 1, 198, "41180000000000000000000000000001"), "X'4118000000000000' X'0000000000000001'");
    EXPECT_EQ(fmt(Fortran, 8, 141, "3FF8000000000000BFD0000000000000"), "( 1.5 , -0.25 )");
    // The hexadecimal complex forms keep the C form in Fortran too.
    EXPECT_EQ(fmt(Fortran, 8, 203, "41180000C0400000"), "1.5 + -0.25 * __I");
}

TEST_F(FormatPrimitiveTest, ExtendedSlotsOfTheSecondLongDouble)
{
    // Type 139: the evaluator's 80-bit value in the first 10 bytes of a
    // 12-byte slot (the pad bytes are not part of the value).
    unsigned char slot[24];
    std::memset(slot, 0xEE, sizeof slot);
    long double real = 1.5L;
    long double imaginary = -0.25L;
    std::memcpy(slot, &real, 10);
    std::memcpy(slot + 12, &imaginary, 10);
    EXPECT_EQ(str(FormatPrimitive::format(8, 139, slot, 12)), "1.5");
    EXPECT_EQ(str(FormatPrimitive::format(8, 143, slot, 24)), "1.5 + -0.25 * __I");
    EXPECT_EQ(str(FormatPrimitive::format(1, 139, slot, 12)).size(), 3u + 24u);

    // Type 142: two 16-byte binary floats at 0 and 16, both inside the value.
    auto* pair = static_cast<unsigned char*>(std::malloc(32));
    std::vector<unsigned char> b = bytesOf("3FFF8000000000000000000000000000BFFD0000000000000000000000000000");
    std::memcpy(pair, b.data(), 32);
    EXPECT_EQ(str(FormatPrimitive::format(8, 142, pair, 32)), "1.5 + -0.25 * __I");
    std::free(pair);
}

TEST_F(FormatPrimitiveTest, DecimalFloatsShowTheirOwnText)
{
    struct Case {
        unsigned tindex;
        DecimalFloat::Size size;
        unsigned length;
        const char* value;
        const char* text;
    } cases[] = {
        // Texts from Python's decimal: Decimal(value).to_eng_string().
        {159, DecimalFloat::Size32, 4, "1.5", "1.5"},
        {192, DecimalFloat::Size64, 8, "-0.000123", "-0.000123"},
        {193, DecimalFloat::Size128, 16, "1.23E+10", "12.3E+9"},
        {192, DecimalFloat::Size64, 8, "0", "0"},
    };
    for (const Case& c : cases) {
        ByteString bytes;
        DecimalFloat(c.value, c.size).format(bytes, c.size);
        ASSERT_EQ(bytes.length(), c.length);
        EXPECT_EQ(str(FormatPrimitive::format(8, c.tindex, bytes.data(), c.length)), c.text) << c.value;
        EXPECT_EQ(raisedCode([&] { FormatPrimitive::format(2, c.tindex, bytes.data(), c.length); }),
                  InvalidOp::RTRC_InvalidFormat);
    }
}

TEST_F(FormatPrimitiveTest, EbcdicCharacterWhateverTheHostAnswers)
{
    const unsigned char a = 0xC1;
    // No answer: the escape form.
    host.failSlot(HS_ExprEbcdicConvert, 0);
    EXPECT_EQ(str(FormatPrimitive::utf8(FormatPrimitive::formatSBCSchar(a))), "\\xc1");
    host.failSlot(HS_ExprEbcdicConvert, -1);
    EXPECT_EQ(str(FormatPrimitive::utf8(FormatPrimitive::formatSBCSchar(a))), "\\xc1");
    // Only a terminator: nothing to show, so the escape form.
    host.failSlot(HS_ExprEbcdicConvert, 1);
    EXPECT_EQ(str(FormatPrimitive::utf8(FormatPrimitive::formatSBCSchar(a))), "\\xc1");
    // More than the room: converted again into room enough.
    host.failSlot(HS_ExprEbcdicConvert, 9);
    host.clearCalls();
    EXPECT_EQ(str(FormatPrimitive::utf8(FormatPrimitive::formatSBCSchar(a))), "A");
    EXPECT_EQ(host.callCount(HS_ExprEbcdicConvert), 2u);
    // A plain answer.
    EXPECT_EQ(str(FormatPrimitive::utf8(FormatPrimitive::formatSBCSchar(a))), "A");
    // Bytes the code page maps to control characters (line feed, C1 controls,
    // EO) are escaped, never handed to the host raw.
    const std::pair<unsigned char, const char*> controls[] = {
        {0x25, "\\x25"}, {0x2C, "\\x2c"}, {0x3F, "\\x3f"}, {0xFF, "\\xff"}};
    for (const auto& [control, shown] : controls)
        EXPECT_EQ(str(FormatPrimitive::utf8(FormatPrimitive::formatSBCSchar(control))), shown) << int(control);
}

} // namespace
