// The rows of the conversion rules that C has no counterpart for:
// hexadecimal and decimal floating point, complex raising, argument passing,
// the COBOL digit-storing kinds with their digits, scale, sign and sign code,
// and the COBOL comparison conversions.

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "AnalyserFixture.h"
#include "compiler/EE_OstrelFigConstant.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_LiteralExpression.h"

namespace {

using Make = std::function<TD*()>;

// What a conversion answered: unchanged, a cast to a type, or a refusal.
struct Expect {
    int kind = -1; // -1: the operand is answered unchanged
    unsigned digits = 0;
    int scale = 0;
    int isSigned = 0;
    unsigned sign = 0;
    int code = -1; // an EE_Exception code instead
    bool carriesOperand = false;
};

Expect unchanged()
{
    return {};
}
Expect to(int kind)
{
    Expect e;
    e.kind = kind;
    return e;
}
Expect fixedTo(int kind, unsigned digits, int scale, bool isSigned, unsigned sign)
{
    Expect e;
    e.kind = kind;
    e.digits = digits;
    e.scale = scale;
    e.isSigned = isSigned ? -1 : 0;
    e.sign = sign;
    return e;
}
Expect refused(int code, bool carriesOperand)
{
    Expect e;
    e.code = code;
    e.carriesOperand = carriesOperand;
    return e;
}

class ConversionTable : public CobolAnalyserTest {
protected:
    TD* externalFloat() { return services->findOrCreateExternalFloatTypeDescriptor(TD::ExternalFloat, 12); }

    void check(const char* what, TD* target, TD* source, int mode, const Expect& want)
    {
        SCOPED_TRACE(what);
        EE_Expression& operand = leaf(source);
        Outcome o = outcomeOf([&] { return &analyser->arithmeticConversion(operand, *target, mode); });
        if (want.code >= 0) {
            EXPECT_EQ(o.code, want.code);
            EXPECT_EQ(o.carried, want.carriesOperand ? &operand : nullptr);
            return;
        }
        ASSERT_NE(o.node, nullptr) << "refused with " << o.code;
        if (want.kind < 0) {
            EXPECT_EQ(o.node, &operand);
            return;
        }
        ASSERT_NE(o.node, &operand);
        EE_CastExpression* cast = o.node->asCastExpression();
        ASSERT_NE(cast, nullptr);
        EXPECT_EQ(cast->kind, EE_CastExpression::Parenthesized);
        EXPECT_EQ(cast->operand, &operand);
        const TD& t = *cast->typeDescriptor;
        EXPECT_EQ(static_cast<int>(t.kind), want.kind);
        if (want.digits != 0) {
            EXPECT_EQ(t.digits, want.digits);
            EXPECT_EQ(t.scale, want.scale);
            EXPECT_EQ(t.isSigned, want.isSigned);
            EXPECT_EQ(static_cast<unsigned>(t.decimalSign), want.sign);
        }
    }
};

TEST_F(ConversionTable, TargetBySource)
{
    auto& s = *services;
    struct Row {
        const char* what;
        Make target;
        Make source;
        int mode;
        Expect want;
    };
    const Row rows[] = {
        // binary against hexadecimal floating point
        {"float to hex long double", [&] { return s.floatTypeDescriptor(); },
         [&] { return s.longDoubleQuvHexTypeDescriptor(); }, 0, to(TD::HexLongDouble)},
        {"hex long double toward float stays", [&] { return s.longDoubleQuvHexTypeDescriptor(); },
         [&] { return s.floatTypeDescriptor(); }, 0, to(TD::HexLongDouble)},
        {"double toward hex float", [&] { return s.floatQuvHexTypeDescriptor(); },
         [&] { return s.doubleTypeDescriptor(); }, 0, to(TD::HexDouble)},
        {"hex float toward double", [&] { return s.doubleTypeDescriptor(); },
         [&] { return s.floatQuvHexTypeDescriptor(); }, 0, to(TD::HexDouble)},
        {"hex double toward hex float stays", [&] { return s.floatQuvHexTypeDescriptor(); },
         [&] { return s.doubleQuvHexTypeDescriptor(); }, 0, unchanged()},
        {"int toward hex double", [&] { return s.doubleQuvHexTypeDescriptor(); },
         [&] { return s.signedIntTypeDescriptor(); }, 0, to(TD::HexDouble)},
        // complex raising
        {"float toward complex double is raised", [&] { return s.complexDoubleTypeDescriptor(); },
         [&] { return s.floatTypeDescriptor(); }, 0, to(TD::ComplexDouble)},
        {"complex double toward float stays", [&] { return s.floatTypeDescriptor(); },
         [&] { return s.complexDoubleTypeDescriptor(); }, 0, unchanged()},
        {"double toward complex float is raised to its own precision", [&] { return s.complexFloatTypeDescriptor(); },
         [&] { return s.doubleTypeDescriptor(); }, 0, to(TD::ComplexDouble)},
        {"int toward complex long double", [&] { return s.complexLongDoubleTypeDescriptor(); },
         [&] { return s.signedIntTypeDescriptor(); }, 0, to(TD::ComplexLongDouble)},
        {"hex float toward complex float", [&] { return s.complexFloatTypeDescriptor(); },
         [&] { return s.floatQuvHexTypeDescriptor(); }, 0, to(TD::HexComplexFloat)},
        // refusals
        {"a group source is no number", [&] { return s.signedIntTypeDescriptor(); },
         [&] { return alphanumericGroup(); }, 0, refused(0, true)},
        {"a group target is no number", [&] { return alphanumericGroup(); },
         [&] { return s.signedIntTypeDescriptor(); }, 0, refused(2, false)},
        {"unsigned char target outside Fortran", [&] { return s.unsignedCharTypeDescriptor(); },
         [&] { return s.signedIntTypeDescriptor(); }, 0, refused(2, false)},
        // packed decimal target
        {"binary of 7 digits toward packed", [&] { return fixed(TD::PackedDecimal, 5, -2, true); },
         [&] { return fixed(TD::FixedPointBinary, 7, -1, true); }, 0, fixedTo(TD::PackedDecimal, 10, -1, true, 3)},
        {"unsigned binary of 12 digits toward packed", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return fixed(TD::FixedPointBinary, 12, 0, false); }, 0, fixedTo(TD::PackedDecimal, 20, 0, false, 3)},
        {"signed binary of 12 digits toward packed", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return fixed(TD::FixedPointBinary, 12, 0, true); }, 0, fixedTo(TD::PackedDecimal, 19, 0, true, 3)},
        {"binary of 4 digits counts 5", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return fixed(TD::FixedPointBinary, 4, 0, true); }, 0, fixedTo(TD::PackedDecimal, 5, 0, true, 3)},
        {"zoned toward packed", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return fixed(TD::ZonedDecimal, 6, -3, false, EE_DecimalSignNoPosition); }, 0,
         fixedTo(TD::PackedDecimal, 6, -3, false, 3)},
        {"alphanumeric of 6 bytes toward packed", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return alphanumeric(6); }, 0, fixedTo(TD::PackedDecimal, 6, 0, false, 1)},
        {"external float toward packed", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return externalFloat(); }, 0, to(TD::HexLongDouble)},
        {"double toward packed stays", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return s.doubleTypeDescriptor(); }, 0, unchanged()},
        {"packed toward packed stays", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return fixed(TD::PackedDecimal, 9, -2, true); }, 0, unchanged()},
        {"int toward packed refused", [&] { return fixed(TD::PackedDecimal, 5, 0, true); },
         [&] { return s.signedIntTypeDescriptor(); }, 0, refused(2, false)},
        // binary target
        {"alphanumeric toward binary", [&] { return fixed(TD::FixedPointBinary, 9, 0, true); },
         [&] { return alphanumeric(4); }, 0, fixedTo(TD::FixedPointBinary, 4, 0, false, 1)},
        {"leading-sign zoned toward binary", [&] { return fixed(TD::FixedPointBinary, 9, 0, true); },
         [&] { return fixed(TD::ZonedDecimal, 5, -1, true, EE_DecimalSignLeading); }, 0,
         fixedTo(TD::ZonedDecimal, 5, -1, true, 3)},
        {"trailing-sign zoned toward binary stays", [&] { return fixed(TD::FixedPointBinary, 9, 0, true); },
         [&] { return fixed(TD::ZonedDecimal, 5, -1, true, EE_DecimalSignTrailing); }, 0, unchanged()},
        {"packed toward binary stays", [&] { return fixed(TD::FixedPointBinary, 9, 0, true); },
         [&] { return fixed(TD::PackedDecimal, 5, 0, true); }, 0, unchanged()},
        // zoned target
        {"alphanumeric of 6 bytes toward zoned", [&] { return fixed(TD::ZonedDecimal, 5, -2, true); },
         [&] { return alphanumeric(6); }, 0, fixedTo(TD::ZonedDecimal, 6, 0, false, 1)},
        {"separate-sign zoned toward zoned", [&] { return fixed(TD::ZonedDecimal, 5, 0, true); },
         [&] { return fixed(TD::ZonedDecimal, 7, -2, false, EE_DecimalSignTrailingSeparate); }, 0,
         fixedTo(TD::ZonedDecimal, 7, -2, false, 3)},
        {"unsigned packed toward trailing zoned becomes signed", [&] { return fixed(TD::ZonedDecimal, 5, 0, true); },
         [&] { return fixed(TD::PackedDecimal, 7, -2, false); }, 0, fixedTo(TD::ZonedDecimal, 7, -2, true, 3)},
        {"unsigned packed toward leading zoned keeps unsigned",
         [&] { return fixed(TD::ZonedDecimal, 5, 0, true, EE_DecimalSignLeading); },
         [&] { return fixed(TD::PackedDecimal, 7, -2, false); }, 0, fixedTo(TD::ZonedDecimal, 7, -2, false, 3)},
        {"binary of 9 digits toward zoned", [&] { return fixed(TD::ZonedDecimal, 5, 0, true); },
         [&] { return fixed(TD::FixedPointBinary, 9, 0, true); }, 0, fixedTo(TD::ZonedDecimal, 10, 0, true, 3)},
        {"int toward zoned refused", [&] { return fixed(TD::ZonedDecimal, 5, 0, true); },
         [&] { return s.signedIntTypeDescriptor(); }, 0, refused(2, false)},
        // national decimal target
        {"alphanumeric toward national decimal", [&] { return fixed(TD::NationalDecimal, 5, 0, true); },
         [&] { return alphanumeric(3); }, 0, fixedTo(TD::NationalDecimal, 3, 0, true, 5)},
        {"unsigned zoned toward national decimal becomes signed",
         [&] { return fixed(TD::NationalDecimal, 5, 0, true, EE_DecimalSignTrailing); },
         [&] { return fixed(TD::ZonedDecimal, 4, -1, false); }, 0, fixedTo(TD::NationalDecimal, 4, -1, true, 5)},
        {"unsigned zoned toward leading-separate national keeps unsigned",
         [&] { return fixed(TD::NationalDecimal, 5, 0, true, EE_DecimalSignLeadingSeparate); },
         [&] { return fixed(TD::ZonedDecimal, 4, -1, false); }, 0, fixedTo(TD::NationalDecimal, 4, -1, false, 5)},
        // external floating point target
        {"packed toward external float", [&] { return externalFloat(); },
         [&] { return fixed(TD::PackedDecimal, 5, 0, true); }, 0, to(TD::HexLongDouble)},
        {"float toward external float stays", [&] { return externalFloat(); }, [&] { return s.floatTypeDescriptor(); },
         0, unchanged()},
        // argument passing converts to the parameter itself
        {"argument: int to double", [&] { return s.doubleTypeDescriptor(); },
         [&] { return s.signedIntTypeDescriptor(); }, 1, to(TD::Double)},
        {"argument: double to int", [&] { return s.signedIntTypeDescriptor(); },
         [&] { return s.doubleTypeDescriptor(); }, 1, to(TD::Int)},
    };
    for (const Row& r : rows)
        check(r.what, r.target(), r.source(), r.mode, r.want);
}

// Decimal floating point meets neither binary nor hexadecimal floating point
// nor complex. (The simulated model offers no decimal types, so the decimal
// side is a bare descriptor of its kind.)
TEST_F(ConversionTable, DecimalAgainstBinaryFloatingPointIsRefused)
{
    auto& s = *services;
    TD d32(TD::Decimal32), d64(TD::Decimal64), d128(TD::Decimal128);
    for (auto [target, source] :
         {std::pair{&d64, s.doubleTypeDescriptor()}, std::pair{s.doubleTypeDescriptor(), &d64},
          std::pair{&d32, s.complexFloatTypeDescriptor()}, std::pair{s.floatQuvHexTypeDescriptor(), &d128}}) {
        EE_Expression& operand = leaf(source);
        TD* to = target;
        Outcome o = outcomeOf([&] { return &analyser->arithmeticConversion(operand, *to, 0); });
        EXPECT_EQ(o.code, 2);
        EXPECT_EQ(o.carried, &operand);
    }
    EE_Expression& wide = leaf(&d128);
    EXPECT_EQ(&analyser->arithmeticConversion(wide, d32, 0), &wide);
}

} // namespace
