// Text to value in C++ inside a member function (members of the class and
// of its base named alone and through this) and in Fortran (decimal
// literals with leading zeros, logical operands, subscripts by rank), in
// programs of 8- and 4-byte addresses.

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "RoadFixture.h"
#include "testhost/DwarfExpression.h"

namespace {

class RoadCpp : public RoadTest, public ::testing::WithParamInterface<unsigned> {
protected:
    RoadCpp() : RoadTest(EvaluationEnvironment::languageCPP) {}

    void SetUp() override
    {
        RoadTest::SetUp();
        host.addSection(1, kData, GetParam() * 8);
        enterMemberFunctionOfDerived(GetParam());
    }
};

TEST_P(RoadCpp, MembersOfTheObjectAndItsBase)
{
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"n", 3}, {"m", 5}, {"this->n", 3}, {"this->m", 5}, {"m == 5", 1}, {"n * 10 + m", 35},
    };
    for (const Case& c : cases)
        EXPECT_EQ(value(c.text), c.value) << c.text;
    EXPECT_EQ(value("n = 9"), 9);
    EXPECT_EQ(word(0x200), 9u);
    EXPECT_EQ(value("m += 1"), 6);
    EXPECT_EQ(word(0x204), 6u);
    EXPECT_EQ(value("this->n++"), 9);
    EXPECT_EQ(word(0x200), 10u);
    EXPECT_EQ(word(0x204), 6u) << "the base's member was not touched";
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadCpp, ::testing::Values(8u, 4u),
                         [](const auto& info) { return std::to_string(info.param) + "byte"; });

class RoadFortran : public RoadTest, public ::testing::WithParamInterface<unsigned> {
protected:
    RoadFortran() : RoadTest(EvaluationEnvironment::languageFortran) {}

    void SetUp() override
    {
        RoadTest::SetUp();
        useAddressSize(GetParam());
        host.addSection(1, kData, GetParam() * 8);
        const TYPE_INDEX i32 = records().integerType(32, false);
        // INTEGER ARR(4): a descriptor array at 0x30 whose data the
        // descriptor's first word points to (0x80).
        HostRecordStore::FortranBlocks blocks;
        blocks.dataLocation =
            dwarf::Builder().pushObjectAddress().derefSize(static_cast<std::uint8_t>(GetParam())).bytes();
        blocks.lowerBound = dwarf::Builder().lit(1).bytes();
        blocks.upperBound = dwarf::Builder().lit(4).bytes();
        blocks.dimension = 1;
        variable("arr", records().fortranDescArrayType(i32, blocks), 0x30);
        variable("yes", TYPE_INDEX{0, 144}, 0x40);
        variable("no", TYPE_INDEX{0, 144}, 0x41);
        host.memory().storeBigEndian(kData + 0x30, kData + 0x80, GetParam());
        for (unsigned i = 0; i < 4; ++i)
            host.memory().storeBigEndian(kData + 0x80 + 4 * i, 10 * (i + 1), 4);
        host.memory().storeBigEndian(kData + 0x40, 1, 1);
        host.memory().storeBigEndian(kData + 0x41, 0, 1);
    }
};

TEST_P(RoadFortran, LiteralsLogicalsAndSubscripts)
{
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"017 + 1", 18}, // no octal literals in Fortran
        {"yes || no", 1},        {"no || no", 0},
        {"no && yes", 0},        {"arr[2]", 20}, // subscripts count from the dimension's lower bound, 1
        {"arr[4] - arr[1]", 30},
    };
    for (const Case& c : cases)
        EXPECT_EQ(value(c.text), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadFortran, ::testing::Values(8u, 4u),
                         [](const auto& info) { return std::to_string(info.param) + "byte"; });

} // namespace
