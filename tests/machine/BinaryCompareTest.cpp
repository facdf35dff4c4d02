// A binary item compared with decimal numbers that carry more decimal places
// than it does: the fraction takes part (12 is less than 12.5).

#include "CobolFixture.h"

#include <string>
#include <vector>

namespace {

class BinaryCompareTest : public CobolFixture {};

} // namespace

TEST_F(BinaryCompareTest, DecimalFractionsTakePart)
{
    struct Case {
        int length;
        int precision;
        int scale;
        std::vector<std::uint8_t> bytes; // big-endian
        char kind;                       // P packed, Z zoned, N national literal
        const char* right;
        int order; // the sign of left - right
    } cases[] = {
        {2, 4, 0, {0x00, 0x0C}, 'P', "12.5", -1},
        {2, 4, 0, {0x00, 0x0C}, 'P', "12.0", 0},
        {2, 4, 0, {0x00, 0x0C}, 'P', "11.99", 1},
        {2, 4, 0, {0x00, 0x0C}, 'Z', "12.001", -1},
        {2, 4, 0, {0x00, 0x0C}, 'N', "12.5", -1},
        {2, 4, 0, {0xFF, 0xF9}, 'P', "-7.25", 1},
        {2, 4, 0, {0xFF, 0xF9}, 'Z', "-7.00", 0},
        {2, 4, 0, {0x00, 0x00}, 'P', "-0.01", 1},
        {2, 4, 0, {0x00, 0x00}, 'P', "0.01", -1},
        // 12.50 at scale -2 against three places.
        {4, 5, -2, {0x00, 0x00, 0x04, 0xE2}, 'P', "12.505", -1},
        {4, 5, -2, {0x00, 0x00, 0x04, 0xE2}, 'Z', "12.500", 0},
        // 1200 held as hundreds.
        {2, 2, 2, {0x00, 0x0C}, 'P', "1200.5", -1},
        {2, 2, 2, {0x00, 0x0C}, 'P', "1199.99", 1},
    };
    for (const Case& c : cases) {
        const std::string label = std::string(1, c.kind) + " " + c.right + " scale " + std::to_string(c.scale);
        const auto left =
            loaded(records().binaryType(c.length, c.precision, static_cast<signed char>(c.scale), true), c.bytes);
        const auto right = literal(c.kind, c.right);
        EXPECT_EQ(left->genEQ(*right), c.order == 0 ? 1 : 0) << label;
        EXPECT_EQ(left->genNE(*right), c.order != 0 ? 1 : 0) << label;
        EXPECT_EQ(left->genLT(*right), c.order < 0 ? 1 : 0) << label;
        EXPECT_EQ(left->genLE(*right), c.order <= 0 ? 1 : 0) << label;
        EXPECT_EQ(left->genGT(*right), c.order > 0 ? 1 : 0) << label;
        EXPECT_EQ(left->genGE(*right), c.order >= 0 ? 1 : 0) << label;
    }
}
