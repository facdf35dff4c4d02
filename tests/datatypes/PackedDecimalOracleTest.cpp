// Packed decimal arithmetic against frozen oracle tables (data/): Python's
// decimal module computing the routines' own arithmetic, and GnuCOBOL's
// COMPUTE with truncation and ROUNDED, and powers ON SIZE ERROR.
// data/make_packed_tables.py made them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PackedDecimalTestSupport.h"
#include "datatypes/PackedDecimalRoutines.h"

namespace {

// The value of packed bytes as text: optional minus, integer digits without
// leading zeros (at least one), and the point and s decimals when s > 0; a zero
// has no minus.
std::string valueText(const unsigned char* bytes, int p, int s)
{
    if (bytes == nullptr)
        return "null";
    std::string digits;
    for (int k = (p | 1) - p + 1; k <= (p | 1); ++k)
        digits += static_cast<char>('0' + ((k & 1) ? bytes[(k - 1) / 2] >> 4 : bytes[(k - 1) / 2] & 15));
    std::string integer = digits.substr(0, digits.size() - s);
    size_t first = integer.find_first_not_of('0');
    integer = first == std::string::npos ? "0" : integer.substr(first);
    std::string text = integer + (s > 0 ? "." + digits.substr(digits.size() - s) : "");
    bool zero = digits.find_first_not_of('0') == std::string::npos;
    int sign = packedSign(bytes, p);
    return (sign < 0 && !zero ? "-" : "") + text;
}

struct Operand {
    std::vector<unsigned char> bytes;
    int p = 0, s = 0, f = 1;
};

TEST(PackedDecimalOracle, PythonDecimalArithmetic)
{
    const auto lines = tableLines("packed_decimal_oracle.txt");
    ASSERT_GT(lines.size(), 400u);
    int checked = 0;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string op, ha, hb, expected;
        Operand a, b;
        int pr = 0, sr = 0;
        in >> op >> ha >> a.p >> a.s >> a.f >> hb >> b.p >> b.s >> b.f >> pr >> sr >> expected;
        ASSERT_FALSE(in.fail()) << line;
        a.bytes = bytesOf(ha);
        b.bytes = bytesOf(hb);
        const unsigned char* r = nullptr;
        const unsigned char* x = a.bytes.data();
        const unsigned char* y = b.bytes.data();
        if (op == "add")
            r = dtAddPackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr, sr);
        else if (op == "sub")
            r = dtSubtractPackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr, sr);
        else if (op == "mul")
            r = dtMultiplyPackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr);
        else if (op == "div")
            r = dtDividePackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr, sr);
        else if (op == "pow")
            r = dtPowerPackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr, sr);
        else
            FAIL() << "unknown operation in " << line;
        EXPECT_EQ(packedHex(r, pr), expected) << line;
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(lines.size()));
}

TEST(PackedDecimalOracle, CobolComputeTruncatedAndRounded)
{
    const auto lines = tableLines("packed_decimal_cobol.txt");
    ASSERT_GT(lines.size(), 200u);
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string op, ha, hb, expected;
        Operand a, b;
        int pr = 0, sr = 0, rounded = 0;
        in >> op >> ha >> a.p >> a.s >> hb >> b.p >> b.s >> pr >> sr >> rounded >> expected;
        ASSERT_FALSE(in.fail()) << line;
        a.bytes = bytesOf(ha);
        b.bytes = bytesOf(hb);
        const unsigned char* x = a.bytes.data();
        const unsigned char* y = b.bytes.data();

        if (op == "pow") {
            // The power straight into the result's digits and decimals; none
            // when it does not fit them (COBOL's size error).
            EXPECT_EQ(valueText(dtPowerPackedDecimal(x, a.p, a.s, 1, y, b.p, b.s, 1, pr, sr), pr, sr), expected)
                << line;
            continue;
        }
        if (op == "div") {
            // The quotient goes straight into the result's digits and decimals.
            EXPECT_EQ(valueText(dtDividePackedDecimal(x, a.p, a.s, 1, y, b.p, b.s, 1, pr, sr), pr, sr), expected)
                << line;
            continue;
        }
        // Add, subtract and multiply in the shapes the value class uses, then
        // a MOVE into the result (truncating) or a rounding shift (ROUNDED).
        int p0, s0;
        const unsigned char* exact;
        if (op == "mul") {
            s0 = a.s + b.s;
            p0 = s0 + (a.p - a.s) + (b.p - b.s);
            exact = dtMultiplyPackedDecimal(x, a.p, a.s, 1, y, b.p, b.s, 1, p0);
        } else {
            s0 = std::max(a.s, b.s);
            p0 = std::max(a.p - a.s, b.p - b.s) + 1 + s0;
            exact = op == "add" ? dtAddPackedDecimal(x, a.p, a.s, 1, y, b.p, b.s, 1, p0, s0)
                                : dtSubtractPackedDecimal(x, a.p, a.s, 1, y, b.p, b.s, 1, p0, s0);
        }
        ASSERT_NE(exact, nullptr) << line;
        std::vector<unsigned char> value(exact, exact + p0 / 2 + 1);
        std::string got;
        if (rounded && sr < s0) {
            unsigned char result[PackedDecimalMaxBytes];
            _Shift_Right_Pckd_BCD(value.data(), p0, result, pr, s0 - sr, 1);
            got = valueText(result, pr, sr);
        } else {
            got = valueText(dtConvertPackedDecimal(value.data(), p0, s0, pr, sr, 1, nullptr), pr, sr);
        }
        EXPECT_EQ(got, expected) << line;
    }
}

} // namespace
