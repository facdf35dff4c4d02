#include <gtest/gtest.h>

#include "datatypes/DecimalFloat.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string text(DecimalFloat const& value)
{
    ByteString out;
    value.format(out);
    return std::string(reinterpret_cast<char const*>(out.data()), out.length());
}

std::string hex(ByteString const& bytes)
{
    static char const digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned int i = 0; i < bytes.length(); ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::vector<unsigned char> fromHex(std::string const& h)
{
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < h.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(h.substr(i, 2), nullptr, 16)));
    return bytes;
}

DecimalFloat::Size sizeOf(int n)
{
    return static_cast<DecimalFloat::Size>(n);
}

TEST(DecimalFloatBytes, BigEndianEncodingsDecodeAndEncodeBack)
{
    struct Case {
        DecimalFloat::Size size;
        char const* bytes;
        char const* value;
    } const cases[] = {
        {DecimalFloat::Size64, "2238000000000001", "1"},
        {DecimalFloat::Size32, "22500001", "1"},
        {DecimalFloat::Size128, "22080000000000000000000000000001", "1"},
        {DecimalFloat::Size64, "A238000000000001", "-1"},
        {DecimalFloat::Size64, "2234000000000001", "0.1"},
        {DecimalFloat::Size32, "22500000", "0"},
        {DecimalFloat::Size64, "7800000000000000", "Infinity"},
        {DecimalFloat::Size32, "7C000000", "NaN"},
    };
    for (auto const& c : cases) {
        std::vector<unsigned char> const bytes = fromHex(c.bytes);
        DecimalFloat const value(c.size, bytes.data());
        EXPECT_EQ(text(value), c.value) << c.bytes;
        ByteString encoded;
        EXPECT_EQ(hex(value.format(encoded, c.size)), c.bytes);
    }

    // Encode then decode gives the same number in every size.
    for (char const* literal : {"123.4500", "-9.999999E+96", "1E-101", "-0", "7.25E+300",
                                "1234567890123456789012345678901234", "-Infinity"}) {
        for (int s = 0; s < 3; ++s) {
            DecimalFloat const value(literal, sizeOf(s));
            ByteString encoded;
            value.format(encoded, sizeOf(s));
            ASSERT_EQ(encoded.length(), 4u << s);
            DecimalFloat const back(sizeOf(s), encoded.data());
            EXPECT_EQ(text(back), text(value)) << literal << " size " << s;
        }
    }
    ByteString other;
    EXPECT_EQ(DecimalFloat(1, DecimalFloat::Size64).format(other, sizeOf(3)).length(), 0u);
}

TEST(DecimalFloatBytes, NullGivesZeroAndAnUnknownSizeGivesNaN)
{
    DecimalFloat const fromNull(DecimalFloat::Size64, nullptr);
    EXPECT_EQ(!fromNull, 1);
    EXPECT_EQ(fromNull.context().digits, 16);

    unsigned char const bytes[16] = {0x22, 0x38, 0, 0, 0, 0, 0, 1};
    DecimalFloat const unknown(sizeOf(3), bytes);
    EXPECT_NE(unknown.number().bits & DECNAN, 0);
    EXPECT_EQ(text(unknown), "NaN");
    EXPECT_EQ(unknown.context().digits, 34); // the NaN's context came with it
}

TEST(DecimalFloatArithmetic, ProductByValueRoundsToTheLeftPrecisionButCarriesA34DigitContext)
{
    DecimalFloat const a("1234567", DecimalFloat::Size32);
    DecimalFloat const b("1.234567", DecimalFloat::Size32);
    DecimalFloat const product = a * b; // exactly 1524155.677489
    EXPECT_EQ(text(product), "1524156");
    EXPECT_EQ(product.context().digits, 34);
    EXPECT_NE(product.context().status & DEC_Inexact, 0u);
    EXPECT_EQ(a.context().status & DEC_Inexact, 0u); // the left operand is untouched

    DecimalFloat inPlace(a);
    inPlace *= b;
    EXPECT_EQ(text(inPlace), "1524156");
    EXPECT_EQ(inPlace.context().digits, 7);
    EXPECT_NE(inPlace.context().status & DEC_Inexact, 0u);

    DecimalFloat self(DecimalFloat("3", DecimalFloat::Size64));
    self += self;
    EXPECT_EQ(text(self), "6");
    EXPECT_EQ(text(-self), "-6");
    EXPECT_EQ((-self).context().digits, 34);
}

TEST(DecimalFloatArithmetic, ConditionsLeaveSpecialValuesAndFlags)
{
    DecimalFloat quotient(1, DecimalFloat::Size64);
    quotient /= DecimalFloat(0, DecimalFloat::Size64);
    EXPECT_EQ(text(quotient), "Infinity");
    EXPECT_NE(quotient.context().status & DEC_Division_by_zero, 0u);

    DecimalFloat const unreadable("12x", DecimalFloat::Size128);
    EXPECT_EQ(text(unreadable), "NaN");
    EXPECT_NE(unreadable.context().status & DEC_Conversion_syntax, 0u);
    EXPECT_EQ(text(DecimalFloat(static_cast<char const*>(nullptr), DecimalFloat::Size32)), "NaN");

    DecimalFloat big("9.999999E+96", DecimalFloat::Size32);
    big *= DecimalFloat(10, DecimalFloat::Size32);
    EXPECT_EQ(text(big), "Infinity");
    EXPECT_NE(big.context().status & DEC_Overflow, 0u);
}

// Cases from Python's decimal module, frozen into a table.
TEST(DecimalFloatArithmetic, AgreesWithTheGeneralDecimalArithmeticOracle)
{
    char const* dir = std::getenv("NORVEXA_TEST_DATA");
    ASSERT_NE(dir, nullptr);
    std::ifstream in(std::string(dir) + "/decimal_float_ops.txt");
    ASSERT_TRUE(in) << "decimal_float_ops.txt missing";
    int checked = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int size, rightSize;
        std::string op, left, right, expected;
        fields >> size >> op >> left >> rightSize >> right >> expected;
        DecimalFloat a(left.c_str(), sizeOf(size));
        DecimalFloat const b(right.c_str(), sizeOf(rightSize));
        if (op == "cmp") {
            EXPECT_EQ(std::to_string(a.compare(b)), expected) << line;
        } else {
            DecimalFloat const byValue = op == "add" ? a + b : op == "sub" ? a - b : op == "mul" ? a * b : a / b;
            if (op == "add")
                a += b;
            else if (op == "sub")
                a -= b;
            else if (op == "mul")
                a *= b;
            else
                a /= b;
            EXPECT_EQ(text(a), expected) << line;
            EXPECT_EQ(text(byValue), expected) << line;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 400);
}

TEST(DecimalFloatValues, ConstructionFromHostNumbers)
{
    EXPECT_EQ(text(DecimalFloat(0.1L, DecimalFloat::Size128)), "0.10000000000000000000");
    DecimalFloat const tenth(0.1L, DecimalFloat::Size128);
    EXPECT_EQ(tenth.number().digits, 20);
    EXPECT_EQ(tenth.number().exponent, -20);
    EXPECT_EQ(text(DecimalFloat(static_cast<long double>(0.1), DecimalFloat::Size128)), "0.10000000000000000555");
    EXPECT_EQ(text(DecimalFloat(0.1L, DecimalFloat::Size32)), "0.1000000");

    EXPECT_EQ(text(DecimalFloat(-5, DecimalFloat::Size32)), "-5");
    EXPECT_EQ(text(DecimalFloat(4000000000u, DecimalFloat::Size32)), "4.000000E+9");
    EXPECT_EQ(text(DecimalFloat(LLONG_MIN, DecimalFloat::Size128)), "-9223372036854775808");
    EXPECT_EQ(text(DecimalFloat(ULLONG_MAX, DecimalFloat::Size128)), "18446744073709551615");
    EXPECT_EQ(text(DecimalFloat(ULLONG_MAX, DecimalFloat::Size64)), "18.44674407370955E+18");
    EXPECT_EQ(text(DecimalFloat(static_cast<std::int64_t>(-12), DecimalFloat::Size64)), "-12");
    EXPECT_EQ(text(DecimalFloat(static_cast<long double>(-INFINITY), DecimalFloat::Size64)), "-Infinity");
    EXPECT_EQ(text(DecimalFloat(static_cast<long double>(NAN), DecimalFloat::Size64)), "NaN");
}

TEST(DecimalFloatValues, ConversionsToHostNumbers)
{
    struct Case {
        char const* literal;
        long double value;
        long long asSigned;
        unsigned long long asUnsigned;
    } const cases[] = {
        {"1.5", 1.5L, 1, 1},
        {"-2.75E+2", -275.0L, -275, 18446744073709551341ULL},
        {"123456789012345678", 123456789012345678.0L, 123456789012345678LL, 123456789012345678ULL},
        {"1E+30", 1e30L, LLONG_MAX, ULLONG_MAX},
        {"-Infinity", -INFINITY, LLONG_MIN, 9223372036854775808ULL},
    };
    for (auto const& c : cases) {
        DecimalFloat const value(c.literal, DecimalFloat::Size128);
        EXPECT_EQ(static_cast<long double>(value), c.value) << c.literal;
        EXPECT_EQ(static_cast<long long>(value), c.asSigned) << c.literal;
        EXPECT_EQ(static_cast<unsigned long long>(value), c.asUnsigned) << c.literal;
    }
    EXPECT_TRUE(std::isnan(static_cast<long double>(DecimalFloat::NaN())));
    EXPECT_TRUE(std::isnan(static_cast<long double>(DecimalFloat("sNaN", DecimalFloat::Size64))));
    EXPECT_EQ(static_cast<long long>(DecimalFloat::NaN()), 0);
    EXPECT_TRUE(std::isinf(static_cast<long double>(DecimalFloat::infinity())));
}

TEST(DecimalFloatValues, NotAndCompare)
{
    EXPECT_EQ(!DecimalFloat::zero(), 1);
    EXPECT_EQ(!DecimalFloat("-0", DecimalFloat::Size64), 1);
    EXPECT_EQ(!DecimalFloat("0E+5", DecimalFloat::Size64), 1);
    EXPECT_EQ(!DecimalFloat::NaN(), 0);
    EXPECT_EQ(!DecimalFloat::infinity(), 0);
    EXPECT_EQ(!DecimalFloat("1000", DecimalFloat::Size64), 0);
    EXPECT_EQ(!DecimalFloat("0.001", DecimalFloat::Size64), 0);

    DecimalFloat const one(1, DecimalFloat::Size64), two(2, DecimalFloat::Size32);
    EXPECT_EQ(one.compare(two), -1);
    EXPECT_EQ(two.compare(one), 1);
    EXPECT_EQ(one.compare(DecimalFloat("1.000", DecimalFloat::Size128)), 0);
    EXPECT_EQ(DecimalFloat("-0", DecimalFloat::Size64).compare(DecimalFloat::zero()), 0);
    // A NaN on either side: 1, also against the same NaN; a negative NaN: -1.
    EXPECT_EQ(DecimalFloat::NaN().compare(DecimalFloat::NaN()), 1);
    EXPECT_EQ(one.compare(DecimalFloat::NaN()), 1);
    EXPECT_EQ(DecimalFloat::NaN().compare(one), 1);
    EXPECT_EQ(DecimalFloat("-NaN", DecimalFloat::Size64).compare(one), -1);
    EXPECT_EQ(DecimalFloat::infinity().compare(one), 1);
    EXPECT_EQ(DecimalFloat::zero().context().digits, 34);
    EXPECT_EQ(DecimalFloat::infinity().number().bits & DECNEG, 0);
}

TEST(DecimalFloatValues, CopiesKeepContextAndNumber)
{
    DecimalFloat source("1.5", DecimalFloat::Size32);
    source *= DecimalFloat("1.00000001", DecimalFloat::Size128);
    DecimalFloat copy(source);
    EXPECT_EQ(text(copy), "1.500000");
    EXPECT_EQ(copy.context().digits, 7);
    EXPECT_EQ(copy.context().status, source.context().status);
    DecimalFloat assigned(0, DecimalFloat::Size128);
    assigned = source;
    EXPECT_EQ(text(assigned), "1.500000");
    EXPECT_EQ(assigned.context().digits, 7);
    const DecimalFloat& itself = assigned;
    assigned = itself;
    EXPECT_EQ(text(assigned), "1.500000");
}

} // namespace
