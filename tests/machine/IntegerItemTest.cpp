#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "datatypes/DecimalFloat.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "services/EvaluationEnvironment.h"
#include "testhost/inprocess/CountingItem.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class IntegerItemTest : public MachineFixture {
protected:
    int deletions = 0;
};

// A right operand whose number is 0 although it says it is not zero (as a
// fraction read as an integer), or whose number cannot be had.
class OddOperand : public StackItem {
public:
    OddOperand(EvaluationEnvironment& environment, bool refuses)
        : StackItem(environment, TypeItem(137u)), refuses_(refuses)
    {}
    StackItem* clone() const override { return new OddOperand(environment_, refuses_); }
    std::uint64_t size() const override { return 0; }
    void load(const DebuggeeLocation&) override {}
    int isZero() const override { return 0; }
    std::int64_t asSigned() const override { return static_cast<std::int64_t>(asUnsigned()); }
    std::uint64_t asUnsigned() const override
    {
        if (refuses_)
            throw InvalidOp(InvalidOp::RTRC_BadDataInNumeric, __PRETTY_FUNCTION__, __LINE__);
        return 0;
    }

private:
    bool refuses_;
};

std::vector<unsigned char> bufferOf(const StackItem& item)
{
    const auto* b = static_cast<const unsigned char*>(item.resultBuffer());
    return std::vector<unsigned char>(b, b + item.size());
}

} // namespace

TEST_F(IntegerItemTest, LeavesFixTheirTypeAndWidth)
{
    struct Case {
        std::function<StackItem*(EvaluationEnvironment&)> make;
        unsigned type;
        unsigned size;
        const std::type_info& cloneClass;
    } cases[] = {
        {[](EvaluationEnvironment& e) { return new StackItemS1(e, -1); }, 128, 1, typeid(StackItemS<signed char>)},
        {[](EvaluationEnvironment& e) { return new StackItemS2(e, -1); }, 129, 2, typeid(StackItemS<short>)},
        {[](EvaluationEnvironment& e) { return new StackItemS4(e, -1); }, 130, 4, typeid(StackItemS<int>)},
        {[](EvaluationEnvironment& e) { return new StackItemS8(e, -1); }, 155, 8, typeid(StackItemS<long long>)},
        {[](EvaluationEnvironment& e) { return new StackItemU1(e, 0xFF); }, 132, 1, typeid(StackItemU<unsigned char>)},
        {[](EvaluationEnvironment& e) { return new StackItemB1(e, 0xFF); }, 144, 1, typeid(StackItemU<unsigned char>)},
        {[](EvaluationEnvironment& e) { return new StackItemU2(e, 0xFFFF); }, 133, 2,
         typeid(StackItemU<unsigned short>)},
        {[](EvaluationEnvironment& e) { return new StackItemW2(e, 0xFFFF); }, 149, 2,
         typeid(StackItemU<unsigned short>)},
        {[](EvaluationEnvironment& e) { return new StackItemU4(e, 0xFFFFFFFF); }, 134, 4,
         typeid(StackItemU<unsigned int>)},
        {[](EvaluationEnvironment& e) { return new StackItemW4(e, 0xFFFFFFFF); }, 150, 4,
         typeid(StackItemU<unsigned int>)},
        {[](EvaluationEnvironment& e) { return new StackItemB4(e, 0xFFFFFFFF); }, 146, 4,
         typeid(StackItemU<unsigned int>)},
        {[](EvaluationEnvironment& e) { return new StackItemU8(e, ~0ull); }, 156, 8,
         typeid(StackItemU<unsigned long long>)},
    };
    for (const Case& c : cases) {
        std::unique_ptr<StackItem> item(c.make(rep()));
        EXPECT_TRUE(item->type().typeIndex() == c.type) << c.type;
        EXPECT_EQ(item->size(), c.size) << c.type;
        EXPECT_EQ(bufferOf(*item), std::vector<unsigned char>(c.size, 0xFF)) << c.type;
        EXPECT_TRUE(item->hasValue());
        EXPECT_TRUE(item->mayBeAddress());
        // Every integer reads all ones as 2^64 - 1 unsigned; only the signed
        // ones read it as -1 signed.
        EXPECT_EQ(item->asUnsigned(), c.size == 8 || c.type < 132 ? ~0ull : (1ull << (8 * c.size)) - 1) << c.type;
        std::unique_ptr<StackItem> copy(item->clone());
        const StackItem& copied = *copy;
        EXPECT_EQ(typeid(copied), c.cloneClass) << c.type;
        EXPECT_TRUE(copy->type().typeIndex() == c.type) << c.type;
        EXPECT_EQ(bufferOf(*copy), bufferOf(*item)) << c.type;
    }
}

TEST_F(IntegerItemTest, BytesAreBigEndian)
{
    StackItemS2 item(rep(), 0x1234);
    EXPECT_EQ(bufferOf(item), (std::vector<unsigned char>{0x12, 0x34}));
    host.memory().store(0x200, {0xFF, 0xFE});
    item.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x200))));
    EXPECT_EQ(item.asSigned(), -2);
    EXPECT_EQ(item.asUnsigned(), ~0ull - 1);
    EXPECT_EQ(item.location().address().addr(), 0x200u);

    // Any change of the value ends its tie to the variable; a comparison
    // changes nothing.
    StackItemS2 one(rep(), 1);
    EXPECT_FALSE(item.genEQ(one));
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::debuggeeMemory);
    item.genAdd(one);
    EXPECT_EQ(item.asSigned(), -1);
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::none);

    EXPECT_EQ(raisedCode([&] { item.load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(item.hasValue());
}

TEST_F(IntegerItemTest, OperatorsWorkInTheLeftOperandsWidth)
{
    struct Case {
        const char* what;
        std::function<std::int64_t(EvaluationEnvironment&)> run;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"U1 200 + 100",
         [](EvaluationEnvironment& e) {
             StackItemU1 l(e, 200);
             l.genAdd(StackItemU1(e, 100));
             return l.asSigned();
         },
         44},
        {"S1 -128 negated",
         [](EvaluationEnvironment& e) {
             StackItemS1 l(e, -128);
             l.genNegate();
             return l.asSigned();
         },
         -128},
        {"S1 -128 / -1",
         [](EvaluationEnvironment& e) {
             StackItemS1 l(e, -128);
             l.genDivide(StackItemS1(e, -1));
             return l.asSigned();
         },
         -128},
        {"S1 -128 % -1",
         [](EvaluationEnvironment& e) {
             StackItemS1 l(e, -128);
             l.genModulus(StackItemS1(e, -1));
             return l.asSigned();
         },
         0},
        {"S8 min / -1",
         [](EvaluationEnvironment& e) {
             StackItemS8 l(e, std::numeric_limits<long long>::min());
             l.genDivide(StackItemS4(e, -1));
             return l.asSigned();
         },
         std::numeric_limits<long long>::min()},
        {"S8 min % -1",
         [](EvaluationEnvironment& e) {
             StackItemS8 l(e, std::numeric_limits<long long>::min());
             l.genModulus(StackItemS8(e, -1));
             return l.asSigned();
         },
         0},
        {"S4 -7 / 2",
         [](EvaluationEnvironment& e) {
             StackItemS4 l(e, -7);
             l.genDivide(StackItemS4(e, 2));
             return l.asSigned();
         },
         -3},
        {"S4 -7 % 2",
         [](EvaluationEnvironment& e) {
             StackItemS4 l(e, -7);
             l.genModulus(StackItemS4(e, 2));
             return l.asSigned();
         },
         -1},
        {"U4 7 / S1 -1",
         [](EvaluationEnvironment& e) {
             StackItemU4 l(e, 7);
             l.genDivide(StackItemS1(e, -1));
             return l.asSigned();
         },
         0},
        {"S1 -16 >>> 2",
         [](EvaluationEnvironment& e) {
             StackItemS1 l(e, -16);
             l.genLogicalShiftRight(StackItemU1(e, 2));
             return l.asSigned();
         },
         0x3C},
        {"S1 -16 >> 2",
         [](EvaluationEnvironment& e) {
             StackItemS1 l(e, -16);
             l.genArithmeticShiftRight(StackItemU1(e, 2));
             return l.asSigned();
         },
         -4},
        {"U2 1 << 33",
         [](EvaluationEnvironment& e) {
             StackItemU2 l(e, 1);
             l.genLogicalShiftLeft(StackItemU4(e, 33));
             return l.asSigned();
         },
         2},
        {"U8 1 << 65",
         [](EvaluationEnvironment& e) {
             StackItemU8 l(e, 1);
             l.genLogicalShiftLeft(StackItemU4(e, 65));
             return l.asSigned();
         },
         2},
        {"U1 1 << 8",
         [](EvaluationEnvironment& e) {
             StackItemU1 l(e, 1);
             l.genLogicalShiftLeft(StackItemU4(e, 8));
             return l.asSigned();
         },
         0},
        {"S4 -1 >> 40 (count 8)",
         [](EvaluationEnvironment& e) {
             StackItemS4 l(e, -256);
             l.genArithmeticShiftRight(StackItemS4(e, 40));
             return l.asSigned();
         },
         -1},
        {"U8 top >> 63",
         [](EvaluationEnvironment& e) {
             StackItemU8 l(e, 1ull << 63);
             l.genArithmeticShiftRight(StackItemU1(e, 63));
             return l.asSigned();
         },
         1},
        {"S1 1 + S8 0x100",
         [](EvaluationEnvironment& e) {
             StackItemS1 l(e, 1);
             l.genAdd(StackItemS8(e, 0x100));
             return l.asSigned();
         },
         1},
        {"S2 3 * U8 max",
         [](EvaluationEnvironment& e) {
             StackItemS2 l(e, 3);
             l.genMult(StackItemU8(e, ~0ull));
             return l.asSigned();
         },
         -3},
        {"U2 0 - 1",
         [](EvaluationEnvironment& e) {
             StackItemU2 l(e, 0);
             l.genSubtract(StackItemS1(e, 1));
             return l.asSigned();
         },
         0xFFFF},
        {"U2 5 negated",
         [](EvaluationEnvironment& e) {
             StackItemU2 l(e, 5);
             l.genNegate();
             return l.asSigned();
         },
         0xFFFB},
        {"S4 0x0F0F & ~0xFF",
         [](EvaluationEnvironment& e) {
             StackItemS4 l(e, 0x0F0F);
             l.genBitAnd(StackItemS4(e, ~0xFF));
             return l.asSigned();
         },
         0x0F00},
        {"U1 0x0F | S2 -256",
         [](EvaluationEnvironment& e) {
             StackItemU1 l(e, 0x0F);
             l.genBitOr(StackItemS2(e, -256));
             return l.asSigned();
         },
         0x0F},
        {"S2 0x00FF ^ 0x0F0F",
         [](EvaluationEnvironment& e) {
             StackItemS2 l(e, 0x00FF);
             l.genBitXor(StackItemS2(e, 0x0F0F));
             return l.asSigned();
         },
         0x0FF0},
        {"U1 0x0F complemented",
         [](EvaluationEnvironment& e) {
             StackItemU1 l(e, 0x0F);
             l.genComplement();
             return l.asSigned();
         },
         0xF0},
        {"S4 0 not",
         [](EvaluationEnvironment& e) {
             StackItemS4 l(e, 0);
             l.genNot();
             return l.asSigned();
         },
         1},
        {"S4 -5 not",
         [](EvaluationEnvironment& e) {
             StackItemS4 l(e, -5);
             l.genNot();
             return l.asSigned();
         },
         0},
        {"S1 from U4 0x1FF",
         [](EvaluationEnvironment& e) {
             StackItemS1 l(e, 0);
             l.genConvert(StackItemU4(e, 0x1FF));
             return l.asSigned();
         },
         -1},
        {"U4 from S1 -1",
         [](EvaluationEnvironment& e) {
             StackItemU4 l(e, 0);
             l.genConvert(StackItemS1(e, -1));
             return l.asSigned();
         },
         0xFFFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.run(rep()), c.expected) << c.what;
}

TEST_F(IntegerItemTest, ComparisonsReadTheRightOperandByTheLeftsKind)
{
    StackItemU4 one(rep(), 1);
    StackItemS4 minusOne(rep(), -1);
    // Unsigned left: -1 reads as 2^64 - 1.
    EXPECT_EQ(one.genLT(minusOne), 1);
    EXPECT_EQ(one.genGT(minusOne), 0);
    // Signed left: -1 < 1.
    EXPECT_EQ(minusOne.genLT(one), 1);
    EXPECT_EQ(minusOne.genGE(one), 0);
    EXPECT_EQ(minusOne.genNE(one), 1);
    EXPECT_EQ(minusOne.genEQ(StackItemS8(rep(), -1)), 1);
    EXPECT_EQ(minusOne.genLE(StackItemS1(rep(), -1)), 1);
    // An unsigned byte of 0xFF equals an unsigned 8-byte 255, not -1.
    StackItemU1 ff(rep(), 0xFF);
    EXPECT_EQ(ff.genEQ(StackItemU8(rep(), 255)), 1);
    EXPECT_EQ(ff.genEQ(StackItemS1(rep(), -1)), 0);
}

TEST_F(IntegerItemTest, DivisionByZero)
{
    for (bool remainder : {false, true}) {
        StackItemS4 left(rep(), 17);
        EXPECT_EQ(raisedCode([&] {
                      remainder ? left.genModulus(StackItemU8(rep(), 0)) : left.genDivide(StackItemU8(rep(), 0));
                  }),
                  InvalidOp::RTRC_DivideByZero);
        EXPECT_EQ(left.asSigned(), 17);
        // Not zero by its own account, yet 0 as an integer.
        StackItemU2 unsignedLeft(rep(), 17);
        OddOperand fraction(rep(), false);
        EXPECT_EQ(raisedCode([&] { remainder ? unsignedLeft.genModulus(fraction) : unsignedLeft.genDivide(fraction); }),
                  InvalidOp::RTRC_DivideByZero);
        EXPECT_EQ(unsignedLeft.asSigned(), 17);
    }
}

TEST_F(IntegerItemTest, RightOperandFailures)
{
    StackItemS4 left(rep(), 3);
    OddOperand refusing(rep(), true);
    // An operator passes the operand's own failure on; conversion says the
    // types do not fit.
    EXPECT_EQ(raisedCode([&] { left.genAdd(refusing); }), InvalidOp::RTRC_BadDataInNumeric);
    EXPECT_EQ(raisedCode([&] { left.genLT(refusing); }), InvalidOp::RTRC_BadDataInNumeric);
    EXPECT_EQ(raisedCode([&] { left.genConvert(refusing); }), InvalidOp::RTRC_IncompatTypes);
    CountingItem nothing(rep(), deletions);
    EXPECT_EQ(raisedCode([&] { left.genDivide(nothing); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(left.asSigned(), 3);
    // Slots left to the base are refused.
    EXPECT_EQ(raisedCode([&] { left.genPow(left, 2); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { left.genIndex(left, 0); }), InvalidOp::RTRC_IncompatTypes);
    // A COBOL number of its own digits, for a MOVE into a zoned, national
    // or binary item (COMPUTE N = LENGTH OF X).
    EXPECT_EQ(static_cast<long long>(left.asZonedDecimal(TNzoned_decimal{})), 3);
    EXPECT_EQ(static_cast<long long>(left.asNationalDecimal(TNnational_decimal{})), 3);
    EXPECT_EQ(static_cast<long long>(left.asFixedPointBinary(TNfixed_point_binary{})), 3);
}

TEST_F(IntegerItemTest, OtherKindsOfTheValue)
{
    StackItemU8 big(rep(), ~0ull);
    EXPECT_EQ(static_cast<long double>(big.asLongDouble()), 18446744073709551615.0L);
    EXPECT_EQ(static_cast<long double>(big.realPart()), 18446744073709551615.0L);
    EXPECT_EQ(static_cast<long double>(big.imaginaryPart()), 0.0L);
    EXPECT_EQ(static_cast<unsigned long long>(big.asDecimalFloat()), ~0ull);
    StackItemS1 minus(rep(), -5);
    EXPECT_EQ(static_cast<long double>(minus.asLongDouble()), -5.0L);
    EXPECT_EQ(static_cast<long long>(minus.asDecimalFloat()), -5);
    EXPECT_EQ(static_cast<long long>(minus.asPackedDecimal(TNpacked_decimal{})), -5);
    EXPECT_EQ(static_cast<unsigned long long>(big.asPackedDecimal(TNpacked_decimal{})), ~0ull);
}

TEST_F(IntegerItemTest, AsLocationNeedsAnItemAsWideAsAnAddress)
{
    StackItemS4 word(rep(), -1);
    StackItemU2 half(rep(), 0x1000);
    StackItemS8 wide(rep(), 0x123456789A);
    DebuggeeLocation at = word.asLocation();
    EXPECT_EQ(at.kind(), DebuggeeLocation::debuggeeMemory);
    EXPECT_EQ(at.address().bytes(), 4u);
    EXPECT_EQ(at.address().addr(), 0xFFFFFFFFu);
    EXPECT_EQ(raisedCode([&] { half.asLocation(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(wide.asLocation().address().addr(), 0x3456789Au);

    useRepresentation(languageC, 8);
    EXPECT_EQ(raisedCode([&] { word.asLocation(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { half.asLocation(); }), InvalidOp::RTRC_IncompatTypes);
    at = wide.asLocation();
    EXPECT_EQ(at.address().bytes(), 8u);
    EXPECT_EQ(at.address().addr(), 0x123456789Au);
    EXPECT_EQ(StackItemS8(rep(), -2).asLocation().address().addr(), ~0ull - 1);
}

TEST_F(IntegerItemTest, CobolBooleanMark)
{
    // In C no one-byte item marks its type.
    EXPECT_FALSE(StackItemB1(rep(), 1).type().isCobolBool());
    EXPECT_FALSE(StackItemU1(rep(), 1).type().isCobolBool());

    useRepresentation(EvaluationEnvironment::languageCOBOL, 4);
    StackItemB1 result(rep(), 1);
    EXPECT_TRUE(result.type().isCobolBool());
    EXPECT_TRUE(StackItemU1(rep(), 1).type().isCobolBool());
    EXPECT_FALSE(StackItemS1(rep(), 1).type().isCobolBool());
    EXPECT_FALSE(StackItemU2(rep(), 1).type().isCobolBool());
    // Copies keep it.
    std::unique_ptr<StackItem> copy(result.clone());
    EXPECT_TRUE(copy->type().isCobolBool());

    // A comparison result in COBOL carries it.
    stack().push(new StackItemS4(rep(), 2));
    stack().push(new StackItemS4(rep(), 2));
    stack().genEQ();
    EXPECT_TRUE(stack().top()->type().isCobolBool());
}
