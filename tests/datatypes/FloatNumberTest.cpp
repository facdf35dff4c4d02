#include <gtest/gtest.h>

#include "datatypes/FloatNumber.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>

namespace {

long double valueOf(FloatNumber const& n)
{
    return static_cast<long double>(n);
}

// Expects the call to throw RTRC_IncompatTypes.
void expectIncompatible(std::function<void()> const& call, char const* what)
{
    try {
        call();
        ADD_FAILURE() << what << ": not refused";
    } catch (InvalidOp const& error) {
        EXPECT_EQ(error.code(), InvalidOp::RTRC_IncompatTypes) << what;
    }
}

TEST(FloatNumberText, ValidOnlyWhenTheNumberIsAllThereIs)
{
    struct Case {
        char const* text;
        bool valid;
        long double value;
    } const cases[] = {
        {"1.5", true, 1.5L},   {"-0.25", true, -0.25L}, {"1e3", true, 1000.0L},
        {"  42", true, 42.0L}, // leading blanks are skipped
        {"1.5 ", false, 0.0L}, // a trailing blank is one character too many
        {"1.5x", false, 0.0L}, {"1.5\n", false, 0.0L},  {"", false, 0.0L},
        {"abc", false, 0.0L},  {"-", false, 0.0L},
    };
    for (auto const& c : cases) {
        FloatNumber const n(c.text);
        EXPECT_EQ(n.getFormat(), c.valid ? FloatNumber::IEEE : FloatNumber::Invalid) << '"' << c.text << '"';
        if (c.valid) {
            EXPECT_EQ(valueOf(n), c.value) << c.text;
        }
    }
    FloatNumber const none(static_cast<char const*>(nullptr));
    EXPECT_EQ(none.getFormat(), FloatNumber::Invalid);
    // The extended value, not a double's.
    EXPECT_EQ(valueOf(FloatNumber("0.1")), 0.1L);
}

TEST(FloatNumberFormat, HexadecimalIsStickyWhicheverSideItStandsOn)
{
    FloatNumber hex(2.0);
    hex.markQUVhex();
    FloatNumber const ieee(3.0);

    EXPECT_EQ((ieee + hex).getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ((hex + ieee).getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ((ieee - hex).getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ((ieee * hex).getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ((ieee / hex).getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ((ieee + ieee).getFormat(), FloatNumber::IEEE);
    EXPECT_EQ((-hex).getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ(valueOf(ieee * hex), 6.0L);

    FloatNumber accumulated(1.0);
    accumulated += hex;
    accumulated -= ieee; // stays hexadecimal once it is
    EXPECT_EQ(accumulated.getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ(valueOf(accumulated), 0.0L);

    FloatNumber copy;
    copy = hex;
    EXPECT_EQ(copy.getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ(FloatNumber::zero().getFormat(), FloatNumber::IEEE);
    EXPECT_EQ(valueOf(FloatNumber::zero()), 0.0L);
}

TEST(FloatNumberFormat, StoredBytesInEitherFormat)
{
    unsigned char const hexOne[] = {0x41, 0x10, 0x00, 0x00};
    FloatNumber const fromHex(hexOne, 4, FloatNumber::Hexadecimal);
    EXPECT_EQ(fromHex.getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ(valueOf(fromHex), 1.0L);

    unsigned char const ieeeOne[] = {0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
    FloatNumber const fromIeee(ieeeOne, 8, FloatNumber::IEEE);
    EXPECT_EQ(fromIeee.getFormat(), FloatNumber::IEEE);
    EXPECT_EQ(valueOf(fromIeee), 1.0L);

    // The format argument decides the encoding.
    unsigned char out[16];
    EXPECT_TRUE(FloatNumber(-1.0).format(FloatNumber::Hexadecimal, out, 4, false));
    EXPECT_EQ(std::memcmp(out, "\xC1\x10\x00\x00", 4), 0);
    EXPECT_TRUE(fromHex.format(FloatNumber::IEEE, out, 4, true));
    EXPECT_EQ(std::memcmp(out, "\x3F\x80\x00\x00", 4), 0);
    EXPECT_FALSE(FloatNumber(1e300).format(FloatNumber::Hexadecimal, out, 8, false)); // saturated
    EXPECT_FALSE(FloatNumber(1.0).format(FloatNumber::IEEE, out, 12, false));         // no such size
}

class FloatNumberInvalid : public TestHostFixture {};

TEST_F(FloatNumberInvalid, EveryUseOfAnInvalidValueIsRefused)
{
    // Construction from bytes with format 2 reads nothing (the address is null).
    FloatNumber const bad(nullptr, 8, FloatNumber::Invalid);
    EXPECT_EQ(bad.getFormat(), FloatNumber::Invalid);
    FloatNumber const copied(bad); // copy construction accepts it
    EXPECT_EQ(copied.getFormat(), FloatNumber::Invalid);
    char text[32];
    EXPECT_EQ(bad.format(text), 3);
    EXPECT_STREQ(text, "NaN");

    FloatNumber good(5.0);
    good.markQUVhex();
    unsigned char out[8];
    expectIncompatible([&] { good = bad; }, "=");
    expectIncompatible([&] { good += bad; }, "+=");
    expectIncompatible([&] { good -= bad; }, "-=");
    expectIncompatible([&] { good *= bad; }, "*=");
    expectIncompatible([&] { good /= bad; }, "/=");
    expectIncompatible([&] { (void)(bad + good); }, "invalid + valid");
    expectIncompatible([&] { (void)(good * bad); }, "valid * invalid");
    expectIncompatible([&] { (void)-bad; }, "unary -");
    expectIncompatible([&] { (void)!bad; }, "!");
    expectIncompatible([&] { (void)(good == bad); }, "==");
    expectIncompatible([&] { (void)(bad < good); }, "<");
    expectIncompatible([&] { (void)static_cast<long double>(bad); }, "long double");
    expectIncompatible([&] { (void)static_cast<long long>(bad); }, "long long");
    expectIncompatible([&] { (void)static_cast<unsigned long long>(bad); }, "unsigned long long");
    expectIncompatible([&] { (void)bad.format(FloatNumber::IEEE, out, 8, false); }, "format of invalid");
    expectIncompatible([&] { (void)good.format(FloatNumber::Invalid, out, 8, false); }, "format 2");

    // The refused target is unchanged.
    EXPECT_EQ(good.getFormat(), FloatNumber::Hexadecimal);
    EXPECT_EQ(valueOf(good), 5.0L);

    EXPECT_NE(host.texts().at(0).find(
                  "InvalidOp RTRC_IncompatTypes(2) at FloatNumber& FloatNumber::operator=(const FloatNumber&)("),
              std::string::npos);

    FloatNumber unusable(1.0);
    unusable.invalidate();
    EXPECT_EQ(unusable.getFormat(), FloatNumber::Invalid);
    unusable.markQUVhex(); // accepted, and makes it usable
    EXPECT_EQ(unusable.getFormat(), FloatNumber::Hexadecimal);
}

TEST(FloatNumberConversions, IntegersAndTruncation)
{
    FloatNumber const largest(18446744073709551615ULL);
    EXPECT_EQ(valueOf(largest), 18446744073709551615.0L);
    EXPECT_EQ(static_cast<unsigned long long>(largest), 18446744073709551615ULL);
    EXPECT_EQ(valueOf(FloatNumber(9223372036854775808ULL)), 9223372036854775808.0L);
    EXPECT_EQ(static_cast<long long>(FloatNumber(LLONG_MIN)), LLONG_MIN);
    EXPECT_EQ(valueOf(FloatNumber(-7)), -7.0L);
    EXPECT_EQ(valueOf(FloatNumber(4000000000u)), 4000000000.0L);
    EXPECT_EQ(valueOf(FloatNumber(static_cast<std::int64_t>(-3))), -3.0L);

    struct Case {
        long double value;
        long long asSigned;
        unsigned long long asUnsigned;
    } const cases[] = {
        {2.9L, 2, 2},
        {-2.9L, -2, 18446744073709551614ULL}, // a negative value wraps like an integer
        {1e30L, LLONG_MAX, ULLONG_MAX},       // beyond the range: the nearest end
        {-1e30L, LLONG_MIN, 9223372036854775808ULL},
        {INFINITY, LLONG_MAX, ULLONG_MAX},
        {NAN, 0, 0},
    };
    for (auto const& c : cases) {
        FloatNumber const n(c.value);
        EXPECT_EQ(static_cast<long long>(n), c.asSigned) << static_cast<double>(c.value);
        EXPECT_EQ(static_cast<unsigned long long>(n), c.asUnsigned) << static_cast<double>(c.value);
    }
}

TEST(FloatNumberConversions, NotAndComparisons)
{
    EXPECT_EQ(!FloatNumber(-0.0), 1);
    EXPECT_EQ(!FloatNumber(0.0L), 1);
    EXPECT_EQ(!FloatNumber(1e-4000L), 0);
    EXPECT_EQ(!FloatNumber(static_cast<long double>(NAN)), 0);

    FloatNumber const one(1), two(2.0), nan(static_cast<long double>(NAN));
    EXPECT_EQ(one < two, 1);
    EXPECT_EQ(one <= two, 1);
    EXPECT_EQ(one > two, 0);
    EXPECT_EQ(two >= two, 1);
    EXPECT_EQ(one == FloatNumber(1.0L), 1);
    EXPECT_EQ(one != two, 1);
    EXPECT_EQ(FloatNumber(-0.0) == FloatNumber::zero(), 1);
    // With a NaN only != holds.
    for (FloatNumber const* other : {&one, &nan}) {
        EXPECT_EQ(nan == *other, 0);
        EXPECT_EQ(nan != *other, 1);
        EXPECT_EQ(nan < *other, 0);
        EXPECT_EQ(nan <= *other, 0);
        EXPECT_EQ(*other > nan, 0);
        EXPECT_EQ(*other >= nan, 0);
    }
}

TEST(FloatNumberArithmetic, ExtendedPrecisionAndDivisionByZero)
{
    // No rounding to a storage format inside: 1 + 2^-60 survives.
    FloatNumber sum(1.0);
    sum += FloatNumber(std::ldexp(1.0L, -60));
    EXPECT_EQ(valueOf(sum) - 1.0L, std::ldexp(1.0L, -60));

    EXPECT_EQ(valueOf(FloatNumber(7.0) / FloatNumber(2)), 3.5L);
    EXPECT_EQ(valueOf(FloatNumber(7.0) - FloatNumber(10)), -3.0L);
    EXPECT_EQ(valueOf(-FloatNumber(7.0)), -7.0L);
    EXPECT_TRUE(std::isinf(valueOf(FloatNumber(1.0) / FloatNumber(0))));
    EXPECT_TRUE(std::isnan(valueOf(FloatNumber(0.0) / FloatNumber(0))));

    char text[32];
    FloatNumber(0.5).format(text);
    EXPECT_STREQ(text, "0.5");
}

} // namespace
