// MOVEs that cut digits: the fraction a binary target drops, the digits a
// P-scaled packed target drops, and the sign of what is left.
#include "DataItemValues.h"

#include "datatypes/FixedPointBinary.h"
#include "datatypes/PackedDecimal.h"

#include <cmath>
#include <limits>

using namespace dataitemtest;

namespace {

class MoveCutTest : public DataItemTest {};

} // namespace

TEST_F(MoveCutTest, BinaryFromLongDoubleCutsTowardZero)
{
    // digits 18: the value is read back as the decimal a picture held, then
    // cut; digits 0: the exact binary value is cut (a COMP-2 0.3 is a little
    // below 0.3).
    struct Case {
        int precision;
        int scale;
        long double x;
        int digits;
        long long expected;
    } cases[] = {
        {4, 0, 12.5L, 18, 12},
        {4, 0, -7.25L, 18, -7},
        {4, 0, 12.5L, 0, 12},
        {4, 0, -12.5L, 0, -12},
        {4, 0, 0.99L, 0, 0},
        // 999.99 summed digit by digit in a long double is not 999.99.
        {5, -2, 999.0L + 0.9L + 0.09L, 18, 99999},
        {3, -2, 0.2L + 0.09L, 18, 29},
        {1, -1, static_cast<long double>(0.3), 0, 2},
        {1, -1, static_cast<long double>(0.1), 0, 1},
        // A multiplier: 12345 held as hundreds.
        {3, 2, 12345.0L, 18, 123},
        {3, 2, 12345.0L, 0, 123},
        {18, 0, 1e30L, 18, std::numeric_limits<long long>::max()},
        {4, 0, std::numeric_limits<long double>::quiet_NaN(), 18, 0},
    };
    for (const Case& c : cases) {
        const FixedPointBinary v(binaryRec(8, c.precision, c.scale, true), c.x, c.digits);
        EXPECT_EQ(static_cast<long long>(v.value()), c.expected)
            << static_cast<double>(c.x) << " digits " << c.digits << " scale " << c.scale;
    }
    // The two-argument form still rounds.
    EXPECT_EQ(FixedPointBinary(binaryRec(8, 4, 0, true), 12.5L).value(), 13u);
}

TEST_F(MoveCutTest, PScaledPackedTargetGivesAPositiveZero)
{
    struct Case {
        const char* source;
        TNpacked_decimal sourceRecord;
        TNpacked_decimal target;
        const char* expected;
    } cases[] = {
        // -7.25 into S9(3)PP: every digit cut, sign C.
        {"00725D", packedRec(5, 2), packedScaled(3, 2), "000C"},
        {"09999D", packedRec(5, 2), packedScaled(3, 2), "000C"},
        // -700 keeps its 7 hundreds and its sign.
        {"00700D", packedRec(5, 0), packedScaled(3, 2), "007D"},
        {"00725C", packedRec(5, 2), packedScaled(3, 2), "000C"},
        // Unsigned targets hold F.
        {"00725D", packedRec(5, 2), packedScaled(3, 2, false), "000F"},
        // A plain picture's MOVE was already right; it stays so.
        {"00725D", packedRec(5, 2), packedRec(3, 0), "007D"},
    };
    for (const Case& c : cases) {
        PackedDecimal target(c.target, bs("999C"));
        target.convert(PackedDecimal(c.sourceRecord, bs(c.source)));
        EXPECT_EQ(hex(target.bytes()), c.expected) << c.source;
    }
}
