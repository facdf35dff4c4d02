// Mixed integral arithmetic from text to value over variables of each C
// integer type, against the values gcc computed (data/c_arithmetic.txt,
// made by gen/gen_c_arithmetic.py), in programs of 8- and 4-byte addresses.
// The program's types are the host's integer entries of 1, 2, 4 and 8
// bytes; long is as wide as an address.

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FrozenTable.h"
#include "RoadFixture.h"

namespace {

struct IntegerType {
    const char* name;
    unsigned bytes; // 0: the address size
    bool isUnsigned;
};

const IntegerType kTypes[] = {
    {"char", 1, false},  {"schar", 1, false}, {"uchar", 1, true},  {"short", 2, false},
    {"ushort", 2, true}, {"int", 4, false},   {"uint", 4, true},   {"long", 0, false},
    {"ulong", 0, true},  {"llong", 8, false}, {"ullong", 8, true},
};

struct ValueRow {
    std::string op, left, right, leftValue, rightValue, result;
};

std::vector<ValueRow> valueRows(unsigned addressSize)
{
    std::vector<ValueRow> rows;
    for (const std::string& line : frozenRows("c_arithmetic.txt")) {
        std::istringstream fields(line);
        unsigned size = 0;
        ValueRow r;
        std::string type;
        fields >> size >> r.op >> r.left >> r.right >> type >> r.leftValue >> r.rightValue >> r.result;
        if (size == addressSize && type == "-")
            rows.push_back(r);
    }
    return rows;
}

class RoadGccTable : public RoadTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override
    {
        RoadTest::SetUp();
        useAddressSize(GetParam());
        host.addSection(1, kData, GetParam() * 8);
        std::uint64_t offset = 0x100;
        for (const IntegerType& t : kTypes) {
            const unsigned bytes = t.bytes != 0 ? t.bytes : GetParam();
            const TYPE_INDEX type = records().integerType(8 * bytes, t.isUnsigned);
            for (const char* side : {"l", "r"}) {
                const std::string name = std::string(side) + "_" + t.name;
                declare(mainContext, records().staticVariable(name, type, 1, offset));
                slots[name] = {offset, bytes};
                offset += 16;
            }
        }
    }

    void set(const std::string& name, const std::string& value)
    {
        const auto [offset, bytes] = slots.at(name);
        const std::uint64_t v = value[0] == '-' ? static_cast<std::uint64_t>(std::stoll(value)) : std::stoull(value);
        host.memory().storeBigEndian(kData + offset, v, bytes);
    }

    std::map<std::string, std::pair<std::uint64_t, unsigned>> slots;
};

bool integral(const std::string& type)
{
    for (const IntegerType& t : kTypes)
        if (type == t.name)
            return true;
    return false;
}

TEST_P(RoadGccTable, IntegralArithmeticAsGccComputesIt)
{
    const std::vector<ValueRow> rows = valueRows(GetParam());
    ASSERT_FALSE(rows.empty()) << "the frozen table was not found (NORVEXA_TEST_DATA)";
    unsigned checked = 0;
    for (const ValueRow& r : rows) {
        if (!integral(r.left) || !integral(r.right))
            continue;
        set("l_" + r.left, r.leftValue);
        set("r_" + r.right, r.rightValue);
        const std::string text = "l_" + r.left + " " + r.op + " r_" + r.right;
        Build b;
        build(b, text);
        ASSERT_EQ(b.parseErrorKind, -1) << text << ": " << b.parseErrorText;
        replay(b);
        ASSERT_EQ(stack().count(), 1u) << text;
        const StackItem& top = *stack().top();
        if (r.result[0] == '-')
            EXPECT_EQ(top.asSigned(), std::stoll(r.result)) << text << " with " << r.leftValue << ", " << r.rightValue;
        else
            EXPECT_EQ(top.asUnsigned(), std::stoull(r.result))
                << text << " with " << r.leftValue << ", " << r.rightValue;
        stack().popAll();
        ++checked;
    }
    EXPECT_GT(checked, 1000u);
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadGccTable, ::testing::Values(8u, 4u),
                         [](const auto& info) { return std::to_string(info.param) + "byte"; });

} // namespace
