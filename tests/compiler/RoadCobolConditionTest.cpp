// SET condition-name TO TRUE from text to memory: the condition's first
// value (of a range its low bound) is written into its conditional
// variable, whatever the variable's kind, and nothing around it changes.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RoadFixture.h"
#include "testhost/DecimalImages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Value = HostRecordStore::ConditionValue;

class RoadCobolCondition : public RoadTest, public ::testing::WithParamInterface<unsigned> {
protected:
    RoadCobolCondition() : RoadTest(EvaluationEnvironment::languageCOBOL) {}

    void SetUp() override
    {
        RoadTest::SetUp();
        useAddressSize(GetParam());
        host.addSection(1, kData, GetParam() * 8);
    }

    // 01 name of type with its condition names, at offset in section 1.
    void conditionalVariable(const std::string& name, TYPE_INDEX type, std::uint64_t offset,
                             const std::vector<HostRecordStore::Condition>& conditions)
    {
        const HostRecordStore::ConditionTable made = records().conditionalVariable(name, type, 1, offset, conditions);
        host.declare(*mainContext, *made.group);
        for (_SYMBOL_ENTRY* condition : made.conditions)
            host.declare(*mainContext, *condition);
    }

    Bytes peek(std::uint64_t offset, unsigned n)
    {
        Bytes out;
        for (unsigned i = 0; i < n; ++i)
            out.push_back(host.memory().bytes(kData + offset + i, 1)[0]);
        return out;
    }
};

TEST_P(RoadCobolCondition, SetToTrueWritesTheFirstValueIntoTheVariable)
{
    struct Case {
        const char* kind;
        TYPE_INDEX type;
        Bytes first, second, low, high; // a list of two values, a range
    };
    const TYPE_INDEX packed = records().packedDecimalType(3, -1, true);
    const TYPE_INDEX zoned = records().zonedDecimalType(3, 0, true, TN_SignTrailingEmbedded);
    const TYPE_INDEX binary = records().binaryType(4, 9, 0, true);
    const TYPE_INDEX national = records().nationalDecimalType(3, 0, true, TN_SignLeadingSeparate);
    const TYPE_INDEX text = records().charstringType(3);
    const Case cases[] = {
        {"PACKED", packed, decimalimage::packed("-125", 3, true), decimalimage::packed("7", 3, true),
         decimalimage::packed("15", 3, true), decimalimage::packed("99", 3, true)},
        {"ZONED", zoned, decimalimage::zoned("-42", 3, true, TN_SignTrailingEmbedded),
         decimalimage::zoned("7", 3, true, TN_SignTrailingEmbedded),
         decimalimage::zoned("305", 3, true, TN_SignTrailingEmbedded),
         decimalimage::zoned("400", 3, true, TN_SignTrailingEmbedded)},
        {"BINARY", binary, decimalimage::binary(-70000, 4), decimalimage::binary(1, 4), decimalimage::binary(123456, 4),
         decimalimage::binary(200000, 4)},
        {"NATIONAL", national, decimalimage::national("-31", 3, true, TN_SignLeadingSeparate),
         decimalimage::national("1", 3, true, TN_SignLeadingSeparate),
         decimalimage::national("250", 3, true, TN_SignLeadingSeparate),
         decimalimage::national("300", 3, true, TN_SignLeadingSeparate)},
        {"ALPHANUMERIC", text, Bytes{0xC1, 0xC2, 0x40}, Bytes{0xC3, 0x40, 0x40}, Bytes{0xF1, 0xF2, 0xF3},
         Bytes{0xF4, 0xF5, 0xF6}},
    };
    std::uint64_t offset = 0x100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string name = std::string("V-") + c.kind;
        const std::string listed = std::string("IN-LIST-") + c.kind;
        const std::string ranged = std::string("IN-RANGE-") + c.kind;
        conditionalVariable(name, c.type, offset,
                            {{listed, {Value{c.type, c.first}, Value{c.type, c.second}}},
                             {ranged, {}, {{Value{c.type, c.low}, Value{c.type, c.high}}}}});
        const unsigned size = static_cast<unsigned>(c.first.size());
        for (const auto& [condition, expected] : {std::pair{listed, c.first}, std::pair{ranged, c.low}}) {
            // The variable and a byte on either side of it start as 0x5A.
            host.memory().fill(kData + offset - 1, size + 2, 0x5A);
            Build b;
            build(b, "SET " + condition + " TO TRUE");
            ASSERT_EQ(b.parseErrorKind, -1) << condition << ": " << b.parseErrorText;
            replay(b);
            stack().popAll();
            EXPECT_EQ(peek(offset, size), expected) << condition;
            EXPECT_EQ(peek(offset - 1, 1), Bytes{0x5A}) << condition << ": the byte before was written";
            EXPECT_EQ(peek(offset + size, 1), Bytes{0x5A}) << condition << ": the byte after was written";
        }
        offset += 0x40;
    }
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadCobolCondition, ::testing::Values(8u, 4u),
                         [](const auto& info) { return std::to_string(info.param) + "byte"; });

} // namespace
