// Powers and zero signs at the value classes: the power's decimals are the
// places asked for, a power that does not fit 31 digits is refused as a
// division by zero, and negative zeros of products and powers keep their
// sign but equal zero (a COBOL comparison is numeric).
#include "DataItemValues.h"

#include "datatypes/FixedPointBinary.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"

#include <string>

using namespace dataitemtest;

namespace {

class DecimalPowerValueTest : public DataItemTest {};

std::string zeros(int n)
{
    return std::string(static_cast<size_t>(n), '0');
}

// The zoned bytes of 31 digits whose last digits are tail (sign C).
std::string zoned31(const std::string& tail)
{
    std::string out;
    const std::string digits = zeros(31 - static_cast<int>(tail.size())) + tail;
    for (size_t i = 0; i < digits.size(); ++i)
        out += (i + 1 == digits.size() ? "C" : "F") + digits.substr(i, 1);
    return out;
}

FixedPointBinary bin(long long value, int precision, int scale)
{
    return FixedPointBinary(binaryRec(4, precision, scale, true), static_cast<unsigned long long>(value));
}

} // namespace

TEST_F(DecimalPowerValueTest, PowerHasThePlacesAskedFor)
{
    // 1.5 ** 2 = 2.25 with 0, 1, 2 and 4 places: 2, 2.2, 2.25, 2.2500.
    const struct {
        unsigned places;
        const char* digits;
        long long binary;
    } cases[] = {{0, "2", 2}, {1, "22", 22}, {2, "225", 225}, {4, "22500", 22500}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.places);
        PackedDecimal p("1.5");
        p.power(PackedDecimal("2"), c.places);
        EXPECT_EQ(hex(p.bytes()), zeros(31 - static_cast<int>(std::string(c.digits).size())) + c.digits + "C");
        EXPECT_EQ(p.record().precision, 31);
        EXPECT_EQ(p.record().decimalPlaces, static_cast<int>(c.places));

        ZonedDecimal z("1.5");
        z.power(ZonedDecimal("2"), c.places);
        EXPECT_EQ(hex(z.bytes()), zoned31(c.digits));
        EXPECT_EQ(z.record().decimalPlaces, static_cast<int>(c.places));

        FixedPointBinary b = bin(15, 2, -1);
        b.power(bin(2, 1, 0), c.places);
        EXPECT_EQ(static_cast<long long>(b.value()), c.binary);
        EXPECT_EQ(b.scale(), -static_cast<int>(c.places));
    }
    // A negative exponent: 0.5 ** -3 = 8.
    PackedDecimal eight("0.5");
    eight.power(PackedDecimal("-3"), 0);
    EXPECT_EQ(hex(eight.bytes()), zeros(30) + "8C");
}

TEST_F(DecimalPowerValueTest, PowerBeyondThirtyOneDigitsIsRefused)
{
    PackedDecimal fits("10");
    fits.power(PackedDecimal("30"), 0);
    EXPECT_EQ(hex(fits.bytes()), "1" + zeros(30) + "C");

    const struct {
        const char *base, *exponent;
    } refused[] = {{"10", "31"}, {"92542770.2", "6"}, {"0.01", "-20"}, {"2", "200"}};
    for (const auto& c : refused) {
        SCOPED_TRACE(std::string(c.base) + " ** " + c.exponent);
        EXPECT_EQ(codeOf([&] { PackedDecimal(c.base).power(PackedDecimal(c.exponent), 0); }),
                  InvalidOp::RTRC_DivideByZero);
        EXPECT_EQ(codeOf([&] { ZonedDecimal(c.base).power(ZonedDecimal(c.exponent), 0); }),
                  InvalidOp::RTRC_DivideByZero);
    }
    EXPECT_EQ(codeOf([] { bin(10, 2, 0).power(bin(31, 2, 0), 0); }), InvalidOp::RTRC_DivideByZero);
    // 1 with 31 places needs 32 digits.
    EXPECT_EQ(codeOf([] { PackedDecimal("1").power(PackedDecimal("1"), 31); }), InvalidOp::RTRC_DivideByZero);
}

TEST_F(DecimalPowerValueTest, NegativeZerosOfProductsAndPowersKeepTheSignAndEqualZero)
{
    const PackedDecimal zero(0LL);
    PackedDecimal product = PackedDecimal("-5") * PackedDecimal("0");
    EXPECT_EQ(hex(product.bytes()), "000D");
    EXPECT_EQ(product.compare(zero), 0);
    EXPECT_EQ(zero.compare(product), 0);
    EXPECT_EQ(product.compare(PackedDecimal("-0.01")), 1);
    EXPECT_TRUE(!product);

    // (-0.1) ** 3 is -0.001: -0 with no places, -0.001 with three.
    PackedDecimal cube("-0.1");
    cube.power(PackedDecimal("3"), 0);
    EXPECT_EQ(hex(cube.bytes()), zeros(31) + "D");
    EXPECT_EQ(cube.compare(zero), 0);
    EXPECT_TRUE(!cube);
    PackedDecimal exact("-0.1");
    exact.power(PackedDecimal("3"), 3);
    EXPECT_EQ(exact.compare(PackedDecimal("-0.001")), 0);

    ZonedDecimal zonedCube("-0.1");
    zonedCube.power(ZonedDecimal("3"), 0);
    EXPECT_EQ(hex(zonedCube.bytes()), zoned31("0").substr(0, 60) + "D0");
    EXPECT_TRUE(!zonedCube);
    EXPECT_EQ(zonedCube.compare(ZonedDecimal("0")), 0);
    EXPECT_EQ(zonedCube.compare(ZonedDecimal("-0.001")), 1);

    // A quotient truncated to zero keeps its sign: -10^-32 / 3 with 31
    // places is -0.
    PackedDecimal tiny = PackedDecimal("-0.00000000000000000000000000000001") / PackedDecimal("3");
    EXPECT_EQ(tiny.record().decimalPlaces, 31);
    EXPECT_EQ(tiny.compare(zero), 0);
    EXPECT_TRUE(!tiny);
}
