// Text to value in C over a small program, in programs of 8- and 4-byte
// addresses: arithmetic, promotions, assignments (memory written), a
// division by zero raised by the replay, and the values gcc computes for
// mixed arithmetic over variables of each type.

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RoadFixture.h"
#include "services/InvalidOp.h"

namespace {

class RoadC : public RoadTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override
    {
        RoadTest::SetUp();
        useAddressSize(GetParam());
        const TYPE_INDEX i32 = records().integerType(32, false);
        const TYPE_INDEX i16 = records().integerType(16, false);
        const TYPE_INDEX i8 = records().integerType(8, false);
        const TYPE_INDEX u8 = records().integerType(8, true);
        variable("a", i32, 0x20);
        variable("b", i32, 0x24);
        variable("c", i8, 0x28);
        variable("uc", u8, 0x29);
        variable("s", i16, 0x2A);
        variable("arr", records().arrayType(i32, 16), 0x30);
        variable("p", records().pointerType(i32, GetParam()), 0x40);
        host.addSection(1, kData, GetParam() * 8);
        host.memory().storeBigEndian(kData + 0x20, 5, 4);
        host.memory().storeBigEndian(kData + 0x24, 3, 4);
        host.memory().storeBigEndian(kData + 0x28, 0x7F, 1);
        host.memory().storeBigEndian(kData + 0x29, 0xFF, 1);
        host.memory().storeBigEndian(kData + 0x2A, 0x7FFF, 2);
        for (unsigned i = 0; i < 4; ++i)
            host.memory().storeBigEndian(kData + 0x30 + 4 * i, 10 * (i + 1), 4);
        host.memory().storeBigEndian(kData + 0x40, kData + 0x34, GetParam());
    }
};

TEST_P(RoadC, ExpressionsGiveTheirValues)
{
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"a + b", 8},
        {"a - b * 2", -1},
        {"(a)", 5},
        {"a / (b - 1)", 2},
        {"c + 1", 128}, // char promoted to int, no wrap
        {"uc + 1", 256},
        {"s + s", 65534}, // short promoted to int
        {"-c", -127},
        {"a > b && b > 0", 1},
        {"a < b || b == 3", 1},
        {"a < b || b == 4", 0},
        {"a ? b : 7", 3},
        {"a - 5 ? b : 7", 7},
        // Branches narrower than int are promoted, as a binary operator's
        // operands are.
        {"a ? s : s", 32767},
        {"a ? c : s", 127},
        {"a - 5 ? b : uc", 255},
        {"a ? uc : 1", 255},
        {"a - 5 ? 1 : c", 127},
        {"(a, b)", 3},
        {"arr[2]", 30},
        {"2[arr]", 30},
        {"*p", 20},
        {"p[1]", 30},
        {"*(p + 2)", 40},
        {"*(1 + p)", 30},
        {"(p + 3) - p", 3},
        {"p - (p + 3)", -3},
        {"&arr[3] - p", 2}, // two pointers to int, built apart
        {"p - &arr[0]", 1},
        {"sizeof a", 4},
        {"~a", -6},
        {"!a", 0},
        {"a << 2 | 1", 21},
        {"a % b", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(value(c.text), c.value) << c.text;
}

TEST_P(RoadC, AssignmentsWriteMemoryAndLeaveTheValue)
{
    struct Case {
        const char* text;
        std::int64_t value;
        std::uint64_t offset;
        unsigned size;
        std::uint64_t memory;
    };
    const Case cases[] = {
        {"a = 9", 9, 0x20, 4, 9},        {"b += 4", 7, 0x24, 4, 7},
        {"a -= b", 2, 0x20, 4, 2},       {"a *= 3", 6, 0x20, 4, 6},
        {"c += 1", -128, 0x28, 1, 0x80}, // char wraps where it is stored
        {"++a", 7, 0x20, 4, 7},          {"a++", 7, 0x20, 4, 8},
        {"--b", 6, 0x24, 4, 6},          {"b--", 6, 0x24, 4, 5},
        {"arr[1] = a", 8, 0x34, 4, 8},   {"*p = 77", 77, 0x34, 4, 77}, // p points at arr[1]
        {"p[2] = 9", 9, 0x3C, 4, 9},     {"s = 70000", 70000 - 65536, 0x2A, 2, 70000 - 65536},
    };
    // The cases run in order, each over what the ones before left.
    for (const Case& c : cases) {
        EXPECT_EQ(value(c.text), c.value) << c.text;
        EXPECT_EQ(word(c.offset, c.size), c.memory) << c.text;
    }
}

TEST_P(RoadC, PointerIncrementsStepByTheElement)
{
    const std::uint64_t before = word(0x40, GetParam());
    EXPECT_EQ(value("*++p"), 30);
    EXPECT_EQ(word(0x40, GetParam()), before + 4);
    EXPECT_EQ(value("*p--"), 30);
    EXPECT_EQ(word(0x40, GetParam()), before);
    EXPECT_EQ(value("(p += 2, *p)"), 40);
    EXPECT_EQ(word(0x40, GetParam()), before + 8);
}

TEST_P(RoadC, DivisionByZeroIsRaisedByTheReplay)
{
    EXPECT_EQ(replayFailure("a / (b - 3)"), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(replayFailure("a % (b - 3)"), InvalidOp::RTRC_DivideByZero);
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadC, ::testing::Values(8u, 4u),
                         [](const auto& info) { return std::to_string(info.param) + "byte"; });

} // namespace
