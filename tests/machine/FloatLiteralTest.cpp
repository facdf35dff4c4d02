#include <chrono>
#include <clocale>
#include <cmath>
#include <memory>
#include <string>
#include <typeindex>
#include <typeinfo>

#include <gtest/gtest.h>

#include "CommaLocale.h"

#include "datatypes/DecimalFloat.h"
#include "machine/StackItemDecimalFloat.h"
#include "machine/StackItemFloat.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class FloatLiteralTest : public MachineFixture {
protected:
    // The value a real literal pushes, or the code it is refused with.
    struct Outcome {
        int code = 0;
        long double value = 0;
    };
    Outcome real(const char* text)
    {
        Outcome outcome;
        outcome.code = raisedCode([&] { stack().genLoadRealValue(text); });
        if (outcome.code == 0) {
            std::unique_ptr<StackItem> item(stack().pop());
            const StackItem& popped = *item;
            EXPECT_EQ(typeid(popped), typeid(StackItemLD)) << text;
            outcome.value = static_cast<long double>(item->asLongDouble());
        }
        EXPECT_EQ(stack().count(), 0u) << text;
        return outcome;
    }

    void checkRealLiterals()
    {
        const struct {
            const char* text;
            int code;
            long double value;
        } cases[] = {
            // A literal without suffix is read correctly rounded to double
            // (a C compiler's unsuffixed literal), f to float, l to long
            // double; halfway rows from gcc: read to long double first,
            // they would round twice.
            {"1.5", 0, 1.5L},
            {"  -2.25", 0, -2.25L},
            {"0.1", 0, 0.1},
            {"1e3", 0, 1000.0L},
            {"9007199254740993.0000000001", 0, 9007199254740994.0L},
            {"9007199254740993.0", 0, 9007199254740992.0L},
            {"-9007199254740993.0000000001", 0, -9007199254740994.0L},
            {"16777217.000001f", 0, 16777218.0L},
            {"16777217.0f", 0, 16777216.0L},
            {"0.1f", 0, 0.1f},
            {"0.1L", 0, 0.1L},
            {"9007199254740993.0000000001L", 0, 9007199254740993.0000000001L},
            // Fortran exponent letters
            {"1.5d3", 0, 1500.0L},
            {"1.5D3", 0, 1500.0L},
            {"2.5q0", 0, 2.5L},
            {"2.5Q-1", 0, 0.25L},
            {"1.5d3f", 0, 1500.0L},
            // d reads a double, q a long double
            {"9007199254740993.0000000001d0", 0, 9007199254740994.0L},
            {"9007199254740993.0000000001q0", 0, 9007199254740993.0L},
            {"1.5x3", InvalidOp::RTRC_ParserError, 0},
            {"1.5dd3", InvalidOp::RTRC_ParserError, 0},
            // hexadecimal
            {"0x1.8p1", 0, 3.0L},
            {"-0x1p-2", 0, -0.25L},
            {"0XA.8P0", 0, 10.5L},
            {"0xffp0", 0, 255.0L},
            // a host subnormal: computed with, though no 16-byte image holds it
            {"0x1p-16445", 0, 0x1p-16445L},
            {"0x", InvalidOp::RTRC_ParserError, 0},
            {"0x1", InvalidOp::RTRC_ParserError, 0},
            {"0x1p", InvalidOp::RTRC_ParserError, 0},
            {"0x1p1xy", InvalidOp::RTRC_ParserError, 0},
            // f refuses a value beyond float's range or one that rounds to
            // zero (gcc warns of both); subnormals are kept; l checks nothing
            {"3.5e38f", InvalidOp::RTRC_ParserError, 0},
            {"3.0e38F", 0, 3.0e38f},
            {"3.40282347e38f", 0, 3.40282347e38f},
            {"3.4028235e38f", 0, 3.40282347e38f},
            {"0.0f", 0, 0.0L},
            {"1e-40f", 0, 1e-40f},
            {"1e-50f", InvalidOp::RTRC_ParserError, 0},
            {"0x1p-149f", 0, 0x1p-149f},
            {"0x1p-151f", InvalidOp::RTRC_ParserError, 0},
            {"0x1p128f", InvalidOp::RTRC_ParserError, 0},
            {"1.17549435e-38f", 0, 1.17549435e-38f},
            {"1e-40L", 0, 1e-40L},
            {"1e4000l", 0, 1e4000L},
            {"1.5u", InvalidOp::RTRC_ParserError, 0},
            {"1.5 ", InvalidOp::RTRC_ParserError, 0},
            // no number
            {"abc", InvalidOp::RTRC_ParserError, 0},
            {"--1", InvalidOp::RTRC_ParserError, 0},
            {"", InvalidOp::RTRC_Other, 0},
        };
        for (const auto& c : cases) {
            const Outcome outcome = real(c.text);
            EXPECT_EQ(outcome.code, c.code) << c.text;
            if (c.code == 0) {
                EXPECT_EQ(outcome.value, c.value) << c.text;
            }
        }
        EXPECT_EQ(raisedCode([&] { stack().genLoadRealValue(nullptr); }), InvalidOp::RTRC_Other);
    }
};

} // namespace

TEST_F(FloatLiteralTest, RealLiterals)
{
    checkRealLiterals();
}

TEST_F(FloatLiteralTest, RealLiteralsUnderACommaLocale)
{
    // The literals are read in the C locale whatever the process uses.
    const CommaLocale comma;
    const char* found = comma.name();
    if (found == nullptr)
        GTEST_SKIP() << "no locale with a comma decimal point is installed";
    checkRealLiterals();
}

TEST_F(FloatLiteralTest, HugeHexadecimalExponentEndsAtOnce)
{
    const auto start = std::chrono::steady_clock::now();
    const Outcome big = real("0x1p99999999");
    const Outcome tiny = real("0x1p-99999999");
    const Outcome beyondInt = real("0x1p99999999999999999999");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(big.code, 0);
    EXPECT_TRUE(std::isinf(big.value));
    EXPECT_EQ(tiny.value, 0.0L);
    EXPECT_TRUE(std::isinf(beyondInt.value));
}

TEST_F(FloatLiteralTest, DecimalLiterals)
{
    const struct {
        const char* text;
        int code;
        std::uint64_t size;
        const char* value;
    } cases[] = {
        {"1.5DF", 0, 4, "1.5"},
        {"1.5DD", 0, 8, "1.5"},
        {"1.5DL", 0, 16, "1.5"},
        {"1.5df", 0, 4, "1.5"},
        {"1.5dl", 0, 16, "1.5"},
        {"1.5", 0, 8, "1.5"},
        {"  -2.50DD  ", 0, 8, "-2.50"},
        {"1E+3DL", 0, 16, "1E+3"},
        {"1.23456789DF", 0, 4, "1.234568"},
        {"12345678901234567DD", 0, 8, "12.34567890123457E+15"},
        {"DF", InvalidOp::RTRC_Other, 0, nullptr},
        {"1.5DX", InvalidOp::RTRC_Other, 0, nullptr},
        {"1.5D", InvalidOp::RTRC_Other, 0, nullptr},
        {"1D5DF", InvalidOp::RTRC_Other, 0, nullptr},
        {"1.5Df", InvalidOp::RTRC_Other, 0, nullptr},
        {"1.5xyDD", InvalidOp::RTRC_Other, 0, nullptr},
        {"1..5", InvalidOp::RTRC_Other, 0, nullptr},
        {"   ", InvalidOp::RTRC_Other, 0, nullptr},
        {"", InvalidOp::RTRC_Other, 0, nullptr},
    };
    for (const auto& c : cases) {
        const int code = raisedCode([&] { stack().genLoadDecimalRealValue(c.text); });
        EXPECT_EQ(code, c.code) << c.text;
        if (code != 0 || c.code != 0) {
            EXPECT_EQ(stack().count(), 0u) << c.text;
            continue;
        }
        std::unique_ptr<StackItem> item(stack().pop());
        EXPECT_EQ(item->size(), c.size) << c.text;
        ByteString text;
        item->asDecimalFloat().format(text);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data()), text.length()), c.value) << c.text;
    }
    EXPECT_EQ(raisedCode([&] { stack().genLoadDecimalRealValue(nullptr); }), InvalidOp::RTRC_Other);
}
