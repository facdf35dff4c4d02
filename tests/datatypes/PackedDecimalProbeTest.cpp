// Random shapes, valid and not, over operands held in heap buffers of exactly
// their declared size (p/2+1 bytes, one byte for a precision below 1) with
// random bytes: no routine may read outside them. Meant for the sanitizer
// build, where a stray read fails the test; the plain build checks the
// answers for operands that cannot be read.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimalRoutines.h"

namespace {

struct Operand {
    std::vector<unsigned char> bytes;
    int p = 0, s = 0, f = 0;
};

class Probe {
public:
    explicit Probe(unsigned seed) : random_(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Mostly valid shapes, now and then a corrupt one: a precision of 0 or
    // below, or above 72; a negative scale or one above 72.
    int precision() { return between(0, 9) == 0 ? between(-40, 100) : between(1, 72); }
    int scale(int p) { return between(0, 9) == 0 ? between(-40, 100) : between(0, std::max(0, std::min(p, 31))); }

    Operand operand(int p, int s)
    {
        Operand o;
        o.p = p;
        o.s = s;
        o.f = between(0, 1);
        o.bytes.resize(static_cast<size_t>(p >= 1 ? p / 2 + 1 : 1));
        for (unsigned char& byte : o.bytes)
            byte = static_cast<unsigned char>(between(0, 255));
        // Mostly valid digits and signs, so that the arithmetic runs deep.
        if (between(0, 3) != 0) {
            for (unsigned char& byte : o.bytes)
                byte = static_cast<unsigned char>(between(0, 9) << 4 | between(0, 9));
            o.bytes.back() = static_cast<unsigned char>((o.bytes.back() & 0xF0) | (between(0, 1) ? 0x0C : 0x0D));
        }
        return o;
    }
    Operand operand()
    {
        const int p = precision();
        return operand(p, scale(p));
    }

private:
    std::mt19937 random_;
};

bool readable(const Operand& o)
{
    return o.p >= 1 && o.p <= 72 && o.s >= 0 && o.s <= 72;
}

TEST(PackedDecimalProbe, CompareReadsOnlyItsOperands)
{
    Probe probe(20261210);
    for (int i = 0; i < 30000; ++i) {
        const Operand a = probe.operand(), b = probe.operand();
        const int result = dtComparePackedDecimal(a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f);
        const int magnitude = packedAbsCmp(a.bytes.data(), a.p, a.s, b.bytes.data(), b.p, b.s);
        if (!readable(a) || !readable(b)) {
            ASSERT_EQ(result, 0) << "p " << a.p << "," << b.p << " s " << a.s << "," << b.s;
            ASSERT_EQ(magnitude, 0);
        } else {
            ASSERT_TRUE(result >= -1 && result <= 1);
        }
    }
    EXPECT_EQ(dtComparePackedDecimal(nullptr, 1, 0, 1, nullptr, 1, 0, 1), 0);
}

TEST(PackedDecimalProbe, ArithmeticReadsOnlyItsOperands)
{
    Probe probe(20261211);
    for (int i = 0; i < 6000; ++i) {
        const Operand a = probe.operand(), b = probe.operand();
        const int pr = probe.precision();
        const int sr = probe.scale(pr);
        const unsigned char* x = a.bytes.data();
        const unsigned char* y = b.bytes.data();
        dtAddPackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr, sr);
        dtSubtractPackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr, sr);
        dtMultiplyPackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr);
        dtDividePackedDecimal(x, a.p, a.s, a.f, y, b.p, b.s, b.f, pr, sr);
        dtConvertPackedDecimal(x, a.p, a.s, pr, sr, a.f, nullptr);
    }
    // Powers: exponents of a few digits, with and without decimals.
    for (int i = 0; i < 3000; ++i) {
        const Operand a = probe.operand();
        const int pb = probe.between(0, 9) == 0 ? probe.between(-5, 80) : probe.between(1, 3);
        const Operand b = probe.operand(pb, probe.between(0, 4) == 0 ? probe.between(-2, 3) : 0);
        const int pr = probe.precision();
        const int sr = probe.scale(pr);
        dtPowerPackedDecimal(a.bytes.data(), a.p, a.s, a.f, b.bytes.data(), b.p, b.s, b.f, pr, sr);
    }
}

TEST(PackedDecimalProbe, ZonedCompareAndArithmeticReadOnlyTheirOperands)
{
    Probe probe(20261212);
    for (int i = 0; i < 4000; ++i) {
        const int pa = probe.precision(), pb = probe.precision();
        const int sa = probe.scale(pa), sb = probe.scale(pb);
        // Zoned operands of kind 3: one byte a digit.
        std::vector<unsigned char> a(static_cast<size_t>(pa >= 1 ? pa : 1)), b(static_cast<size_t>(pb >= 1 ? pb : 1));
        for (unsigned char& byte : a)
            byte = static_cast<unsigned char>(0xF0 | probe.between(0, 9));
        for (unsigned char& byte : b)
            byte = static_cast<unsigned char>(0xF0 | probe.between(0, 9));
        a.back() = static_cast<unsigned char>((a.back() & 0x0F) | (probe.between(0, 1) ? 0xC0 : 0xD0));
        const int pr = probe.precision();
        const int sr = probe.scale(pr);
        dtCompareZonedDecimal(a.data(), pa, sa, 3, b.data(), pb, sb, 3, 0);
        dtMultiplyZonedDecimal(a.data(), pa, sa, b.data(), pb, sb, pr, sr);
        dtDivideZonedDecimal(a.data(), pa, sa, b.data(), pb, sb, pr, sr);
        if (pb <= 3)
            dtPowerZonedDecimal(a.data(), pa, sa, b.data(), pb, 0, pr, sr);
    }
}

} // namespace
