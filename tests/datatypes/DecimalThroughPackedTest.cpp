// The zoned and national multiply, divide and power go through the packed
// routines: the rows of the packed oracle table (data/packed_decimal_oracle.txt)
// with signed operands give the same digits and the same sign, negative
// zeros and powers without a result included.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "DecimalBytes.h"
#include "PackedDecimalTestSupport.h"
#include "datatypes/NationalDecimalRoutines.h"
#include "datatypes/ZonedDecimalRoutines.h"

namespace {

// A packed value in hex as its p digits (the pad nibble of an even p left
// out) and whether its sign is minus.
struct Digits {
    std::string digits;
    bool negative = false;
};

Digits digitsOf(const std::string& packedHex, int p)
{
    Digits d;
    d.digits = packedHex.substr(p % 2 == 0 ? 1 : 0, static_cast<size_t>(p));
    d.negative = packedHex.back() == 'D' || packedHex.back() == 'B';
    return d;
}

// Zoned, kind 3: one byte a digit, the sign in the zone of the last.
std::string zonedHex(const Digits& d)
{
    std::string out;
    for (size_t i = 0; i < d.digits.size(); ++i)
        out += (i + 1 == d.digits.size() ? (d.negative ? "D" : "C") : "F") + d.digits.substr(i, 1);
    return out;
}

// National, kind 5: the digits, then a separate trailing sign.
std::string nationalText(const Digits& d)
{
    return d.digits + (d.negative ? "-" : "+");
}

using Routine = unsigned char* (*)(unsigned char const*, int, int, unsigned char const*, int, int, int, int);

Routine pick(const std::string& op, Routine multiply, Routine divide, Routine power)
{
    return op == "mul" ? multiply : op == "div" ? divide : power;
}

struct Row {
    std::string op, a, b, expected;
    int pa = 0, sa = 0, fa = 0, pb = 0, sb = 0, fb = 0, pr = 0, sr = 0;
};

TEST(DecimalThroughPacked, ZonedAndNationalGiveThePackedRows)
{
    const auto lines = tableLines("packed_decimal_oracle.txt");
    ASSERT_GT(lines.size(), 400u);
    int checked = 0;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        Row r;
        in >> r.op >> r.a >> r.pa >> r.sa >> r.fa >> r.b >> r.pb >> r.sb >> r.fb >> r.pr >> r.sr >> r.expected;
        ASSERT_FALSE(in.fail()) << line;
        // Zoned and national operands are always signed.
        if ((r.op != "mul" && r.op != "div" && r.op != "pow") || !r.fa || !r.fb)
            continue;
        const Digits a = digitsOf(r.a, r.pa), b = digitsOf(r.b, r.pb);
        const bool none = r.expected == "null";
        const Digits want = none ? Digits{} : digitsOf(r.expected, r.pr);

        auto za = decimaltest::bytes(zonedHex(a)), zb = decimaltest::bytes(zonedHex(b));
        const Routine zoned = pick(r.op, dtMultiplyZonedDecimal, dtDivideZonedDecimal, dtPowerZonedDecimal);
        EXPECT_EQ(decimaltest::hex(zoned(za.data(), r.pa, r.sa, zb.data(), r.pb, r.sb, r.pr, r.sr),
                                   static_cast<size_t>(r.pr)),
                  none ? "null" : zonedHex(want))
            << "zoned: " << line;

        auto na = decimaltest::national(nationalText(a)), nb = decimaltest::national(nationalText(b));
        const Routine national = pick(r.op, dtMultiplyNationalDecimal, dtDivideNationalDecimal, dtPowerNationalDecimal);
        EXPECT_EQ(decimaltest::nationalText(national(na.data(), r.pa, r.sa, nb.data(), r.pb, r.sb, r.pr, r.sr),
                                            static_cast<size_t>(r.pr) + 1),
                  none ? "null" : nationalText(want))
            << "national: " << line;
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

} // namespace
