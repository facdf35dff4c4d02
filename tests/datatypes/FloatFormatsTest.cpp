#include <gtest/gtest.h>

#include "datatypes/ZfloatingPoint.h"
#include "datatypes/ZhexFP128.h"
#include "datatypes/ZhexFP32.h"
#include "datatypes/ZieeeFP128.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes fromHex(std::string const& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string toHex(unsigned char const* bytes, std::size_t size)
{
    static char const digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string toHex(Bytes const& bytes)
{
    return toHex(bytes.data(), bytes.size());
}

long double parseValue(std::string const& text)
{
    return std::strtold(text.c_str(), nullptr);
}

// Same value, zeros with the same sign, NaN matching NaN of the same sign.
bool sameValue(long double a, long double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

std::string show(long double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%La", v);
    return text;
}

// Writes value in the given form; "refused" when the conversion throws
// RTRC_NotSupported.
std::string writeForm(unsigned int size, bool hex, long double value, bool& result)
{
    Bytes out(size, 0xEE);
    try {
        result = ZfloatingPoint::ldToZfp(out.data(), size, hex, value);
    } catch (InvalidOp const& error) {
        EXPECT_EQ(error.code(), InvalidOp::RTRC_NotSupported);
        return "refused";
    }
    return toHex(out);
}

// Cases computed by an exact rational model (tests/datatypes/gen), frozen
// into a table: every write and read of the hexadecimal forms and of the
// 16-byte IEEE form.
TEST(FloatFormats, AgreeWithTheExactModel)
{
    char const* dir = std::getenv("NORVEXA_TEST_DATA");
    ASSERT_NE(dir, nullptr);
    std::ifstream in(std::string(dir) + "/float_formats.txt");
    ASSERT_TRUE(in) << "float_formats.txt missing";

    int checked = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string kind, a, b, c;
        fields >> kind >> a >> b >> c;
        bool const write = kind[0] == 'w';
        std::string const form = kind.substr(1);
        bool const hex = form.rfind("hex", 0) == 0;
        unsigned int const size = static_cast<unsigned int>(std::stoul(form.substr(hex ? 3 : 4)));
        if (write) {
            bool result = false;
            std::string const got = writeForm(size, hex, parseValue(a), result);
            if (c == "refused") {
                EXPECT_EQ(got, "refused") << line;
            } else {
                EXPECT_EQ(got, b) << line;
                EXPECT_EQ(result, c == "1") << line;
            }
        } else {
            Bytes const bytes = fromHex(a);
            ASSERT_EQ(bytes.size(), size) << line;
            long double const got = ZfloatingPoint::ldFromZfp(bytes.data(), size, hex);
            EXPECT_TRUE(sameValue(got, parseValue(b))) << line << " got " << show(got);
        }
        ++checked;
    }
    EXPECT_GT(checked, 1000);
}

TEST(FloatFormats, HexadecimalShortAndLongExamples)
{
    struct Case {
        unsigned int size;
        long double value;
        char const* bytes;
        bool result;
    } const cases[] = {
        {4, 1.0L, "41100000", true},
        {4, -1.0L, "C1100000", true},
        {4, 0.25L, "40400000", true},
        {4, 0.0L, "00000000", true},
        {4, -0.0L, "80000000", true},
        {8, 1e300L, "7FFFFFFFFFFFFFFF", false},
        {8, -1e300L, "FFFFFFFFFFFFFFFF", false},
        {8, 1e-300L, "0000000000000000", false}, // below 16^-65: flushed
        {4, 4.9e-324L, "00000000", false},       // subnormal double: flushed
        {4, 1e-4000L, "00000000", false},        // underflows the double: flushed
        {8, -1e-4000L, "8000000000000000", false},
        {8, 0.1L, "401999999999999A", true}, // 0.1 rounded to double, then exact
    };
    for (auto const& c : cases) {
        bool result = !c.result;
        EXPECT_EQ(writeForm(c.size, true, c.value, result), c.bytes) << show(c.value);
        EXPECT_EQ(result, c.result) << show(c.value);
    }
}

TEST(FloatFormats, HexadecimalZeroFractionIsZeroWhateverTheCharacteristic)
{
    for (char const* hex : {"45000000", "7F000000", "00000000", "C5000000", "80000000"}) {
        Bytes const bytes = fromHex(hex);
        long double const v = ZfloatingPoint::ldFromZfp(bytes.data(), 4, true);
        EXPECT_EQ(v, 0.0L) << hex;
        EXPECT_EQ(std::signbit(v), (bytes[0] & 0x80) != 0) << hex;
    }
    Bytes const extended = fromHex("C500000000000000"
                                   "3312345600000000");
    long double const v = ZfloatingPoint::ldFromZfp(extended.data(), 16, true);
    EXPECT_NE(v, 0.0L); // the low-order fraction still counts
}

// The short form truncates: its magnitude never exceeds that of the double,
// and the long form holds every double in range exactly.
TEST(FloatFormats, HexadecimalTruncatesAndLongFormIsExactForDoubles)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = random();
        bits = (bits & ~(std::uint64_t{0x7FF} << 52)) |
               (static_cast<std::uint64_t>(1023 - 250 + static_cast<int>(random() % 500)) << 52);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        unsigned char shortForm[4], longForm[8];
        ASSERT_TRUE(ZfloatingPoint::ldToZfp(shortForm, 4, true, d));
        ASSERT_TRUE(ZfloatingPoint::ldToZfp(longForm, 8, true, d));
        long double const truncated = ZfloatingPoint::ldFromZfp(shortForm, 4, true);
        EXPECT_LE(std::fabs(truncated), std::fabs(static_cast<long double>(d)));
        // 24 fraction bits with a nonzero leading digit keep at least 21 bits.
        EXPECT_LT(std::fabs(d - truncated), std::ldexp(std::fabs(d), -20));
        EXPECT_EQ(ZfloatingPoint::ldFromZfp(longForm, 8, true), static_cast<long double>(d));
        EXPECT_NE(shortForm[1] & 0xF0, 0); // normalised: leading digit nonzero
    }
}

TEST(FloatFormats, ExtendedHexadecimalReadsTheSecondPartWithTheFirstCharacteristic)
{
    struct Case {
        char const* bytes;
        long double value;
    } const cases[] = {
        // 1 + 2^55 units of 16^-28: 1 + 2^-53, whatever the low part's own
        // sign and characteristic say.
        {"4110000000000000"
         "3380000000000000",
         1.0L + std::ldexp(1.0L, -53)},
        {"4110000000000000"
         "C080000000000000",
         1.0L + std::ldexp(1.0L, -53)},
        {"C110000000000000"
         "3380000000000000",
         -1.0L - std::ldexp(1.0L, -53)},
        {"4110000000000000"
         "0000000000000000",
         1.0L},
        {"0000000000000000"
         "0000000000000000",
         0.0L},
        {"8000000000000000"
         "8000000000000000",
         -0.0L},
    };
    for (auto const& c : cases) {
        Bytes const bytes = fromHex(c.bytes);
        long double const v = ZfloatingPoint::ldFromZfp(bytes.data(), 16, true);
        EXPECT_TRUE(sameValue(v, c.value)) << c.bytes << " got " << show(v);
        ZhexFP128 const parts(bytes.data());
        EXPECT_EQ(toHex(bytes), c.bytes);
        EXPECT_EQ(parts.highWord() >> 56, bytes[0]);
        EXPECT_EQ(parts.lowWord() >> 56, bytes[8]);
    }
}

TEST(FloatFormats, ExtendedHexadecimalKeepsAtLeastDoublePrecision)
{
    std::mt19937_64 random(11);
    int exact = 0;
    for (int i = 0; i < 20000; ++i) {
        long double const v = std::ldexp(static_cast<long double>(random() | (std::uint64_t{1} << 63)),
                                         -63 + static_cast<int>(random() % 400) - 200) *
                              ((random() & 1) ? -1 : 1);
        unsigned char bytes[16];
        ASSERT_TRUE(ZfloatingPoint::ldToZfp(bytes, 16, true, v));
        long double const back = ZfloatingPoint::ldFromZfp(bytes, 16, true);
        // The high-order part alone is the 8-byte form of the double.
        EXPECT_EQ(ZfloatingPoint::ldFromZfp(bytes, 8, true), static_cast<long double>(static_cast<double>(v)));
        EXPECT_LE(std::fabs(back - v), std::ldexp(std::fabs(v), -53));
        exact += back == v;
    }
    // Values above their double keep the whole extended significand.
    EXPECT_GT(exact, 20000 / 4);
}

TEST(FloatFormats, IeeeExtendedExamples)
{
    struct Case {
        long double value;
        char const* bytes;
    } const cases[] = {
        {1.0L, "3FFF0000000000000000000000000000"},
        {1.5L, "3FFF8000000000000000000000000000"},
        {0.75L, "3FFE8000000000000000000000000000"},
        {-2.0L, "C0000000000000000000000000000000"},
        {-0.0L, "80000000000000000000000000000000"},
        {-INFINITY, "FFFF0000000000000000000000000000"},
        {std::numeric_limits<long double>::quiet_NaN(), "7FFFFF00000000000000000000000000"},
        {std::numeric_limits<long double>::signaling_NaN(), "7FFF0100000000000000000000000000"},
        {-std::numeric_limits<long double>::quiet_NaN(), "FFFFFF00000000000000000000000000"},
        {std::numeric_limits<long double>::max(), "7FFEFFFFFFFFFFFFFFFE000000000000"},
        {std::numeric_limits<long double>::min(), "00010000000000000000000000000000"},
    };
    for (auto const& c : cases) {
        bool result = false;
        EXPECT_EQ(writeForm(16, false, c.value, result), c.bytes) << show(c.value);
        EXPECT_TRUE(result);
        Bytes const bytes = fromHex(c.bytes);
        EXPECT_TRUE(sameValue(ZfloatingPoint::ldFromZfp(bytes.data(), 16, false), c.value)) << c.bytes;
    }
}

TEST(FloatFormats, ShortAndLongIeeeRoundToNearestAndReadBack)
{
    struct Case {
        unsigned int size;
        long double value;
        char const* bytes;
    } const cases[] = {
        {4, 1.0L, "3F800000"},         {4, -0.1L, "BDCCCCCD"},        {4, 1e39L, "7F800000"},
        {8, 1.0L, "3FF0000000000000"}, {8, 0.1L, "3FB999999999999A"}, {8, -0.0L, "8000000000000000"},
    };
    for (auto const& c : cases) {
        bool result = false;
        EXPECT_EQ(writeForm(c.size, false, c.value, result), c.bytes) << show(c.value);
        EXPECT_TRUE(result);
    }
    Bytes const third = fromHex("3FD5555555555555");
    EXPECT_EQ(ZfloatingPoint::ldFromZfp(third.data(), 8, false), static_cast<long double>(1.0 / 3.0));
    Bytes const tenth = fromHex("3DCCCCCD");
    EXPECT_EQ(ZfloatingPoint::ldFromZfp(tenth.data(), 4, false), static_cast<long double>(0.1f));
}

class FloatFormatRefusals : public TestHostFixture {};

TEST_F(FloatFormatRefusals, SixteenByteFormsRefuseWhatTheyCannotHold)
{
    struct Case {
        bool hex;
        long double value;
        char const* function;
    } const cases[] = {
        {true, INFINITY, "static bool ZhexFP128::ldToZfp(void*, ldouble_t)"},
        {true, -INFINITY, "static bool ZhexFP128::ldToZfp(void*, ldouble_t)"},
        {true, NAN, "static bool ZhexFP128::ldToZfp(void*, ldouble_t)"},
        {true, 1e300L, "static bool ZhexFP128::ldToZfp(void*, ldouble_t)"},
        {true, -1e-300L, "static bool ZhexFP128::ldToZfp(void*, ldouble_t)"},
        {true, 1e-4000L, "static bool ZhexFP128::ldToZfp(void*, ldouble_t)"},
        // the host's subnormals: exponent below the normal range
        {false, std::numeric_limits<long double>::denorm_min(), "static bool ZieeeFP128::ldToZfp(void*, ldouble_t)"},
        {false, -std::numeric_limits<long double>::min() / 2, "static bool ZieeeFP128::ldToZfp(void*, ldouble_t)"},
    };
    for (auto const& c : cases) {
        unsigned char bytes[16] = {};
        try {
            ZfloatingPoint::ldToZfp(bytes, 16, c.hex, c.value);
            ADD_FAILURE() << "not refused: " << show(c.value);
        } catch (InvalidOp const& error) {
            EXPECT_EQ(error.code(), InvalidOp::RTRC_NotSupported);
            EXPECT_STREQ(error.function(), c.function);
        }
    }
    EXPECT_NE(
        host.texts().at(0).find("InvalidOp RTRC_NotSupported(1) at static bool ZhexFP128::ldToZfp(void*, ldouble_t)("),
        std::string::npos);
}

TEST_F(FloatFormatRefusals, SizesOtherThanFourEightOrSixteen)
{
    for (unsigned int size : {0u, 1u, 2u, 10u, 12u, 32u}) {
        for (bool hex : {false, true}) {
            unsigned char bytes[32];
            std::memset(bytes, 0xEE, sizeof bytes);
            EXPECT_FALSE(ZfloatingPoint::ldToZfp(bytes, size, hex, 1.0L)) << size;
            for (unsigned char b : bytes)
                ASSERT_EQ(b, 0xEE) << size; // nothing written
            try {
                ZfloatingPoint::ldFromZfp(bytes, size, hex);
                ADD_FAILURE() << "read of size " << size << " not refused";
            } catch (InvalidOp const& error) {
                EXPECT_EQ(error.code(), InvalidOp::RTRC_NotSupported);
            }
        }
    }
}

TEST_F(FloatFormatRefusals, NullBuffersAreRefusedNotTouched)
{
    EXPECT_THROW(ZfloatingPoint::ldToZfp(nullptr, 8, true, 1.0L), InvalidOp);
    EXPECT_THROW(ZfloatingPoint::ldFromZfp(nullptr, 4, false), InvalidOp);
    EXPECT_FALSE(ZfloatingPoint::ldToZfp(nullptr, 3, true, 1.0L));
}

TEST(FloatFormats, FormatObjectsHoldTheStoredWordInHostOrder)
{
    Bytes const shortHex = fromHex("C1100000");
    EXPECT_EQ(ZhexFP32(shortHex.data()).word(), 0xC1100000u);
    Bytes const ieee = fromHex("3FFF8000000000000000000000000001");
    ZieeeFP128 const wide(ieee.data());
    EXPECT_EQ(wide.highWord(), 0x3FFF800000000000u);
    EXPECT_EQ(wide.lowWord(), 1u);
    EXPECT_EQ(wide.value(), 1.5L); // fraction bits beyond 63 dropped
}

} // namespace
