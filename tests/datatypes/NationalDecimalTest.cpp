#include "DataItemValues.h"

#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/TypeItem.h"

using namespace dataitemtest;

namespace {

class NationalDecimalTest : public DataItemTest {};

void expectNational(const NationalDecimal& v, const std::string& units, int precision, int decimals)
{
    EXPECT_EQ(hex(v.bytes()), hex(nat(units)));
    EXPECT_EQ(v.record().leaf, 73u);
    EXPECT_EQ(v.record().precision, precision);
    EXPECT_EQ(v.record().decimalPlaces, decimals);
    EXPECT_EQ(v.signKind(), 5);
    EXPECT_TRUE(v.isSigned());
    EXPECT_EQ(v.record().byteLength, 2 * precision + 2);
}

TNnational_decimal widenedRec(int p, int scale)
{
    TNnational_decimal r = nationalRec(p, 0);
    r.scale = static_cast<signed char>(scale);
    r.decimalPlaces = static_cast<UBYTE1>(scale < 0 ? -scale : 0);
    return r;
}

} // namespace

TEST_F(NationalDecimalTest, IntegersAndLiterals)
{
    expectNational(NationalDecimal(-45LL), "45-", 2, 0);
    expectNational(NationalDecimal(0ULL), "0+", 1, 0);
    expectNational(NationalDecimal("-12.50"), "1250-", 4, 2);
    expectNational(NationalDecimal("0.05"), "05+", 2, 2);
    EXPECT_EQ(codeOf([] { NationalDecimal("abc"); }), InvalidOp::RTRC_Other);
}

TEST_F(NationalDecimalTest, CompareReadsEachSignUnitWhereItIs)
{
    struct Case {
        TNnational_decimal a;
        const char* aUnits;
        TNnational_decimal b;
        const char* bUnits;
        int expected;
    } cases[] = {
        {nationalRec(2, 0, 4), "-12", nationalRec(2, 0, 5), "12-", 0},
        {nationalRec(2, 0, 4), "+12", nationalRec(2, 0, 5), "12-", 1},
        {nationalRec(2, 0, 0, false), "12", nationalRec(2, 0, 5), "12+", 0},
        {nationalRec(2, 0, 5), "12-", nationalRec(3, 1, 4), "-119", -1},
        {nationalRec(3, 1, 5), "125+", nationalRec(2, 0, 5), "12+", 1},
        // A negative zero equals zero.
        {nationalRec(2, 0, 5), "00-", nationalRec(1, 0, 5), "0+", 0},
        {nationalRec(2, 0, 4), "-00", nationalRec(1, 0, 0, false), "0", 0},
    };
    for (const Case& c : cases) {
        NationalDecimal a(c.a, nat(c.aUnits));
        NationalDecimal b(nat(c.bUnits), c.b);
        EXPECT_EQ(a.compare(b), c.expected) << c.aUnits << " vs " << c.bUnits;
        EXPECT_EQ(b.compare(a), -c.expected) << c.bUnits << " vs " << c.aUnits;
    }
    EXPECT_TRUE(!NationalDecimal(nationalRec(2, 0, 5), nat("00-")));
    EXPECT_FALSE(!NationalDecimal(nationalRec(2, 1, 5), nat("01-")));
}

TEST_F(NationalDecimalTest, ArithmeticThroughZoned)
{
    NationalDecimal a(nationalRec(3, 1), nat("125+"));
    expectNational(a + NationalDecimal(nationalRec(2, 2, 4), nat("-75")), "01175+", 5, 2);
    expectNational(a - NationalDecimal(nationalRec(2, 2, 4), nat("-75")), "01325+", 5, 2);
    expectNational(a * NationalDecimal(-2LL), "0250-", 4, 1);
    NationalDecimal third = NationalDecimal(1LL) / NationalDecimal(3LL);
    EXPECT_EQ(third.record().precision, 32);
    EXPECT_EQ(third.record().decimalPlaces, 31);
    EXPECT_EQ(static_cast<long long>(third * NationalDecimal(6LL)), 1);
    NationalDecimal p(-2LL);
    p.power(NationalDecimal(3LL), 0);
    EXPECT_EQ(p.compare(NationalDecimal(-8LL)), 0);
    expectNational(-a, "125-", 3, 1);
    EXPECT_EQ(codeOf([&] { a / NationalDecimal(0LL); }), InvalidOp::RTRC_DivideByZero);
}

TEST_F(NationalDecimalTest, MoveIntoOtherRecords)
{
    NationalDecimal target(nationalRec(2, 0, 4), ByteString());
    target.convert(NationalDecimal(nationalRec(3, 0), nat("123+")));
    EXPECT_EQ(hex(target.bytes()), hex(nat("+23")));

    NationalDecimal unsignedTarget(nationalRec(3, 1, 0, false), ByteString());
    unsignedTarget.convert(NationalDecimal("-12.345"));
    EXPECT_EQ(hex(unsignedTarget.bytes()), hex(nat("123")));

    NationalDecimal hundreds(widenedRec(2, 2), ByteString());
    hundreds.convert(NationalDecimal("12345"));
    EXPECT_EQ(hex(hundreds.bytes()), hex(nat("23+")));
    EXPECT_EQ(hundreds.compare(NationalDecimal(2300LL)), 0);
    EXPECT_EQ(static_cast<long long>(hundreds), 2300);
}

TEST_F(NationalDecimalTest, Validity)
{
    struct Case {
        TNnational_decimal record;
        ByteString bytes;
        bool strict;
        bool valid;
        DataError error;
    } cases[] = {
        {nationalRec(2, 0, 5), nat("12+"), true, true, DataErrorNone},
        {nationalRec(2, 0, 5), nat("12 "), true, false, DataErrorBadSign},
        {nationalRec(2, 0, 5), nat("1:+"), false, false, DataErrorBadDigit},
        {nationalRec(2, 0, 4), nat("+1A"), false, true, DataErrorNone},
        {nationalRec(2, 0, 4), nat("+1A"), true, false, DataErrorBadDigit},
        {nationalRec(2, 0, 0, false), bs("0131 0032"), false, true, DataErrorNone},
        {nationalRec(2, 0, 0, false), bs("0131 0032"), true, false, DataErrorBadDigit},
    };
    for (const Case& c : cases) {
        DataError error = DataErrorBadSign;
        NationalDecimal v(c.record, c.bytes);
        EXPECT_EQ(v.isValidNationalDecimal(c.strict, false, &error), c.valid) << hex(c.bytes);
        EXPECT_EQ(error, c.error) << hex(c.bytes);
    }
    DataError untouched = DataErrorBadDigit;
    EXPECT_FALSE(NationalDecimal(nationalRec(2, 0, 3), nat("12")).isValidNationalDecimal(true, false, &untouched));
    EXPECT_EQ(untouched, DataErrorBadDigit);
    EXPECT_TRUE(NationalDecimal(nationalRec(2, 0, 5), nat("::+")).isValidNationalDecimal(true, true, nullptr));
}

TEST_F(NationalDecimalTest, HostNumbersAndRefusals)
{
    NationalDecimal v(nationalRec(3, 1, 4), nat("-125"));
    EXPECT_EQ(static_cast<long long>(v), -12);
    EXPECT_EQ(static_cast<long double>(v), -12.5L);
    EXPECT_EQ(static_cast<unsigned long long>(NationalDecimal(nationalRec(3, 1), nat("777+"))), 77u);
    ByteString out = bs("AA");
    EXPECT_EQ(codeOf([&] { v.format(out); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(hex(out), "AA");
    EXPECT_EQ(codeOf([&] { (void)static_cast<DecimalFloat>(v); }), InvalidOp::RTRC_Other);
}

TEST_F(NationalDecimalTest, ConversionsIn)
{
    expectNational(NationalDecimal(PackedDecimal("-1.23")), "123-", 3, 2);
    expectNational(NationalDecimal(ZonedDecimal(zonedRec(3, 1, 4), bs("60F1F2F3"))), "123-", 3, 1);
    expectNational(NationalDecimal(FixedPointBinary(binaryRec(2, 4, -2, false), 1234ULL)), "1234+", 4, 2);
    expectNational(NationalDecimal(bs("F1F2")), "12+", 2, 0);

    struct Case {
        TNnational_decimal record;
        long double x;
        const char* units;
    } cases[] = {
        {nationalRec(3, 1, 4), -2.5L, "-025"},
        {nationalRec(3, 1, 5), 2.5L, "025+"},
        {nationalRec(3, 1, 0, false), -2.5L, "025"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hex(NationalDecimal(c.record, c.x).bytes()), hex(nat(c.units))) << c.units;
    // A widened record is spelt out: its digits grow and its scale becomes 0.
    NationalDecimal w(widenedRec(2, 2), 4567.0L);
    EXPECT_EQ(hex(w.bytes()), hex(nat("4567+")));
    EXPECT_EQ(w.record().precision, 4);
    EXPECT_EQ(w.record().scale, 0);
    EXPECT_EQ(w.record().byteLength, 10);

    _TYPE_ENTRY entry = entryOf(nationalRec(3, 0, 4));
    NationalDecimal t("-12", TypeItem(TYPE_INDEX{7, 1}, &entry, false));
    EXPECT_EQ(hex(t.bytes()), hex(nat("-12")) + "0000");
    _TYPE_ENTRY trailing = entryOf(nationalRec(2, 0, 5));
    EXPECT_EQ(hex(NationalDecimal("7x8", TypeItem(TYPE_INDEX{7, 1}, &trailing, false)).bytes()), hex(nat("78+")));
}
