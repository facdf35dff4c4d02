#include "DataItemValues.h"

#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/TypeItem.h"

#include <string>

using namespace dataitemtest;

namespace {

class ZonedDecimalTest : public DataItemTest {};

std::string text(const ZonedDecimal& v)
{
    ByteString out;
    v.format(out);
    return std::string(reinterpret_cast<const char*>(out.data()), out.length());
}

} // namespace

TEST_F(ZonedDecimalTest, ValidityBySignKind)
{
    struct Case {
        const char* bytes;
        int kind;
        int precision;
        bool valid;
        DataError error;
    } cases[] = {
        {"F1C2", 0, 2, false, DataErrorBadDigit}, {"F1C2", 3, 2, true, DataErrorNone},
        {"F142", 3, 2, false, DataErrorBadSign},  {"F1F24C", 5, 2, false, DataErrorBadSign},
        {"60F1F2", 4, 2, true, DataErrorNone},    {"D1F2", 2, 2, true, DataErrorNone},
        {"F1CA", 3, 2, false, DataErrorBadDigit}, {"F1F2F3", 1, 3, true, DataErrorNone},
    };
    for (const Case& c : cases) {
        ZonedDecimal v(zonedRec(c.precision, 0, c.kind), bs(c.bytes));
        DataError error = DataErrorNone;
        EXPECT_EQ(v.isValidZoned(true, false, &error), c.valid) << c.bytes << " kind " << c.kind;
        EXPECT_EQ(error, c.error) << c.bytes << " kind " << c.kind;
    }
    // Skipping digits leaves only the sign to check.
    EXPECT_TRUE(ZonedDecimal(zonedRec(2, 0, 3), bs("FAC2")).isValidZoned(true, true, nullptr));
    // Without zone F any zone passes on a digit byte.
    EXPECT_TRUE(ZonedDecimal(zonedRec(2, 0, 0), bs("C1F2")).isValidZoned(false, false, nullptr));
    TNzoned_decimal odd = zonedRec(2, 0, 3);
    odd.signKind = static_cast<TN_DecimalSign>(9);
    DataError untouched = DataErrorBadSign;
    EXPECT_FALSE(ZonedDecimal(odd, bs("F1C2")).isValidZoned(true, false, &untouched));
    EXPECT_EQ(untouched, DataErrorBadSign);
}

TEST_F(ZonedDecimalTest, ConversionsFromPackedAndCharacters)
{
    ZonedDecimal z{PackedDecimal(packedRec(3, 0), bs("123D"))};
    EXPECT_EQ(hex(z.bytes()), "F1F2D3");
    EXPECT_EQ(z.signKind(), 3);
    EXPECT_EQ(z.record().byteLength, 3);

    ZonedDecimal c(bs("4EF4F2"));
    EXPECT_EQ(hex(c.bytes()), "F4C2");
    EXPECT_EQ(c.record().precision, 2);
    EXPECT_EQ(c.record().decimalPlaces, 0);

    ZonedDecimal empty{ByteString()};
    EXPECT_EQ(hex(empty.bytes()), "F0");
    EXPECT_EQ(hex(ZonedDecimal(bs("F1C1")).bytes()), "F0");

    ZonedDecimal withPoint(bs("60F1F24BF5"));
    EXPECT_EQ(hex(withPoint.bytes()), "F1F2D5");
    EXPECT_EQ(withPoint.record().decimalPlaces, 1);
}

TEST_F(ZonedDecimalTest, AddCarriesIntoANewDigit)
{
    ZonedDecimal a(zonedRec(2, 0), bs("F9C9"));
    a += ZonedDecimal(zonedRec(1, 0), bs("C1"));
    EXPECT_EQ(hex(a.bytes()), "F1F0C0");
    EXPECT_EQ(a.record().precision, 3);
    EXPECT_EQ(a.record().byteLength, 3);
    EXPECT_EQ(a.signKind(), 3);
}

TEST_F(ZonedDecimalTest, EverySignKindCountsInArithmetic)
{
    // -12 in each sign kind, against 5 (kind 3). Before the operands were
    // brought to kind 3, kinds 2, 4 and 5 counted as +12.
    struct Operand {
        int kind;
        const char* bytes;
    } operands[] = {{3, "F1D2"}, {2, "D1F2"}, {4, "60F1F2"}, {5, "F1F260"}};
    const ZonedDecimal five(zonedRec(1, 0), bs("C5"));
    for (const Operand& o : operands) {
        const ZonedDecimal a(zonedRec(2, 0, o.kind), bs(o.bytes));
        EXPECT_EQ((a + five).compare(ZonedDecimal("-7")), 0) << "kind " << o.kind;
        EXPECT_EQ((a - five).compare(ZonedDecimal("-17")), 0) << "kind " << o.kind;
        EXPECT_EQ((five - a).compare(ZonedDecimal("17")), 0) << "kind " << o.kind;
        EXPECT_EQ((a * five).compare(ZonedDecimal("-60")), 0) << "kind " << o.kind;
        EXPECT_EQ((a / five).compare(ZonedDecimal("-2.4")), 0) << "kind " << o.kind;
        ZonedDecimal cube(a);
        cube.power(ZonedDecimal("3"), 0);
        EXPECT_EQ(cube.compare(ZonedDecimal("-1728")), 0) << "kind " << o.kind;
        EXPECT_EQ(a.compare(ZonedDecimal("-12")), 0) << "kind " << o.kind;
    }
}

TEST_F(ZonedDecimalTest, DivisionSizesAndRefusals)
{
    ZonedDecimal q = ZonedDecimal("1") / ZonedDecimal("3");
    EXPECT_EQ(q.record().precision, 32);
    EXPECT_EQ(q.record().decimalPlaces, 31);
    EXPECT_EQ(
        hex(q.bytes()), "F0" + [] {
            std::string s;
            for (int i = 0; i < 30; ++i)
                s += "F3";
            return s;
        }() + "C3");
    EXPECT_EQ(codeOf([] { ZonedDecimal("1") / ZonedDecimal("0"); }), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(codeOf([] { ZonedDecimal("0").power(ZonedDecimal("-2"), 0); }), InvalidOp::RTRC_DivideByZero);
    EXPECT_EQ(codeOf([] { (void)static_cast<DecimalFloat>(ZonedDecimal("1")); }), InvalidOp::RTRC_Other);
}

TEST_F(ZonedDecimalTest, MoveIntoOtherPicturesAndSignKinds)
{
    struct Case {
        TNzoned_decimal target;
        const char* source;
        const char* bytes;
    } cases[] = {
        {zonedRec(3, 1, 0, false), "-12.345", "F1F2F3"},
        {zonedRec(3, 1, 4), "-12.345", "60F1F2F3"},
        {zonedRec(3, 1, 5), "12.3", "F1F2F34E"},
        {zonedRec(3, 1, 2), "-12.3", "D1F2F3"},
        {zonedRec(2, 0, 3), "-100", "F0C0"},
        {zonedScaled(2, 2, 3), "12345", "F2C3"},
        {zonedScaled(2, -4, 3), "0.001234", "F1C2"},
    };
    for (const Case& c : cases) {
        ZonedDecimal target(c.target, ByteString());
        target.convert(ZonedDecimal(c.source));
        EXPECT_EQ(hex(target.bytes()), c.bytes) << c.source;
    }
    // Same shape: a copy with the sign rewritten.
    ZonedDecimal same(zonedRec(2, 0, 5), bs("F0F04E"));
    same.convert(ZonedDecimal(zonedRec(2, 0, 5), bs("F1F260")));
    EXPECT_EQ(hex(same.bytes()), "F1F260");

    ZonedDecimal scaled(zonedScaled(2, 2, 3), bs("F2C3"));
    EXPECT_EQ(scaled.compare(ZonedDecimal("2300")), 0);
    EXPECT_EQ(static_cast<long long>(scaled), 2300);
    EXPECT_EQ(static_cast<long double>(scaled), 2300.0L);
}

TEST_F(ZonedDecimalTest, FormatAndCharacterForm)
{
    EXPECT_EQ(text(ZonedDecimal(zonedRec(3, 0), bs("F1F2C3"))), "123.0D");
    EXPECT_EQ(text(ZonedDecimal(zonedRec(3, 1), bs("F1F2D5"))), "-12.5D");
    EXPECT_EQ(text(ZonedDecimal(zonedRec(3, 1, 4), bs("60F1F2F5"))), "-12.5D");

    EXPECT_EQ(hex(ZonedDecimal(zonedRec(3, 0), bs("F1F2D3")).toCharstring()), "F1F2F3");
    EXPECT_EQ(hex(ZonedDecimal(zonedRec(2, 0), bs("F0C7")).toCharstring()), "F0F7");
    EXPECT_EQ(hex(ZonedDecimal(zonedRec(3, 0, 5), bs("F0F4F260")).toCharstring()), "F0F4F2");
    EXPECT_EQ(hex(ZonedDecimal(zonedScaled(2, 2, 3), bs("F1C2")).toCharstring()), "F1F2F0F0");
    // Bad data: the digit bytes as they lie, the sign zone made F.
    EXPECT_EQ(hex(ZonedDecimal(zonedRec(3, 0), bs("F1C1D3")).toCharstring()), "F1C1F3");
    EXPECT_EQ(hex(ZonedDecimal(zonedRec(2, 0, 4), bs("4BF1F2")).toCharstring()), "F1F2");
    EXPECT_EQ(codeOf([] { ZonedDecimal(zonedRec(3, 1), bs("F1F2C3")).toCharstring(); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(ZonedDecimalTest, NegativeZeroNotAndUnaryMinus)
{
    // A negative zero is zero, in every sign kind.
    EXPECT_TRUE(!ZonedDecimal(zonedRec(2, 0), bs("F0D0")));
    EXPECT_TRUE(!ZonedDecimal(zonedRec(2, 0, 4), bs("60F0F0")));
    EXPECT_TRUE(!ZonedDecimal(zonedRec(2, 0, 5), bs("F0F060")));
    EXPECT_TRUE(!ZonedDecimal(zonedRec(2, 0, 2), bs("D0F0")));
    EXPECT_EQ(ZonedDecimal(zonedRec(2, 0), bs("F0D0")).compare(ZonedDecimal(zonedRec(2, 1, 4), bs("60F0F0"))), 0);
    EXPECT_EQ(ZonedDecimal(zonedRec(2, 0, 4), bs("60F0F0")).compare(ZonedDecimal("-0.1")), 1);
    EXPECT_EQ(ZonedDecimal("0.1").compare(ZonedDecimal(zonedRec(2, 0, 5), bs("F0F060"))), 1);
    EXPECT_TRUE(!ZonedDecimal(zonedRec(2, 0), bs("F0C0")));
    EXPECT_TRUE(!ZonedDecimal(zonedRec(2, 0, 5), bs("F0F04E")));

    // An item without a sign position becomes signed (kind 3) to hold the
    // negation.
    for (int kind : {0, 1}) {
        ZonedDecimal v(zonedRec(3, 1, kind, false), bs("F1F2F3"));
        ZonedDecimal n = -v;
        EXPECT_EQ(hex(n.bytes()), "F1F2D3") << "kind " << kind;
        EXPECT_EQ(n.signKind(), 3);
        EXPECT_TRUE(n.isSigned());
        EXPECT_EQ(n.record().decimalPlaces, 1);
    }
    EXPECT_EQ(hex((-ZonedDecimal(zonedRec(2, 0, 4), bs("60F1F2"))).bytes()), "4EF1F2");
}

TEST_F(ZonedDecimalTest, HostNumbers)
{
    EXPECT_EQ(static_cast<long long>(ZonedDecimal("-12.5")), -12);
    EXPECT_EQ(static_cast<long double>(ZonedDecimal("-12.5")), -12.5L);
    EXPECT_EQ(static_cast<long double>(ZonedDecimal(zonedRec(3, 1, 4), bs("60F1F2F5"))), -12.5L);
    EXPECT_EQ(static_cast<unsigned long long>(ZonedDecimal("77.9")), 77u);
    EXPECT_EQ(hex(ZonedDecimal(7LL).bytes()), "C7");
    EXPECT_EQ(hex(ZonedDecimal(-120LL).bytes()), "F1F2D0");
    EXPECT_EQ(hex(ZonedDecimal(18446744073709551615ULL).bytes()).size(), 40u);

    EXPECT_EQ(hex(ZonedDecimal(zonedRec(3, 1, 5), -2.5L).bytes()), "F0F2F560");
    EXPECT_EQ(hex(ZonedDecimal(zonedRec(3, 1, 0, false), -2.5L).bytes()), "F0F2F5");
    EXPECT_EQ(hex(ZonedDecimal(zonedScaled(2, 2, 3), 4567.0L).bytes()), "F4C5");
}

TEST_F(ZonedDecimalTest, FromBinaryAndFromText)
{
    FixedPointBinary b(binaryRec(2, 4, -2, true), static_cast<unsigned long long>(-1234LL));
    ZonedDecimal z(b);
    EXPECT_EQ(hex(z.bytes()), "F0F1F2F3D4");
    EXPECT_EQ(z.record().precision, 5);
    EXPECT_EQ(z.record().decimalPlaces, 2);
    EXPECT_EQ(z.record().scale, -2);
    ZonedDecimal four(b, 4);
    EXPECT_EQ(hex(four.bytes()), "F1F2F3D4");

    struct Case {
        TNzoned_decimal record;
        const char* text;
        const char* bytes;
    } cases[] = {
        {zonedRec(3, 0, 3), "-123", "F1F2D3"},     {zonedRec(3, 0, 2), "45", "C4F5F0"},
        {zonedRec(2, 0, 4), "-9", "60F9F0"},       {zonedRec(2, 0, 5), "12", "F1F24E"},
        {zonedRec(2, 0, 0, false), "-12", "F1F2"},
    };
    for (const Case& c : cases) {
        _TYPE_ENTRY entry = entryOf(c.record);
        ZonedDecimal v(c.text, TypeItem(TYPE_INDEX{7, 1}, &entry, false));
        EXPECT_EQ(hex(v.bytes()), c.bytes) << c.text;
    }
}
