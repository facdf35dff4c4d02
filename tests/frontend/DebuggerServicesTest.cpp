#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "TestServices.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstant.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_TemplateArgument.h"
#include "frontend/EE_UnaryExpression.h"

namespace {

using B = EE_BinaryExpression;
using U = EE_UnaryExpression;
using K = EE_TypeDescriptor;

// Builds folding cases over one services object.
struct Trees {
    TestServices s{{{"v", TestServices::Variable, K::Int, ""}}};

    EE_Expression* n(long long value)
    {
        return s.createLiteralExpression(s.literal(EE_LiteralValue::Integral, std::to_string(value)));
    }
    EE_Expression* u(U::Kind kind, EE_Expression* operand) { return s.createUnaryExpression(kind, operand); }
    EE_Expression* b(B::Kind kind, EE_Expression* l, EE_Expression* r) { return s.createBinaryExpression(kind, l, r); }
};

// The result of folding: the value, or the exception's code and whether it
// named the folded node itself.
struct Folded {
    bool ok;
    long long value;
    unsigned code;
    bool namesNode;
};

Folded fold(TestServices& s, EE_Expression* e)
{
    try {
        return {true, s.computeIntegralConstant(*e), 0, false};
    } catch (const EE_Exception& x) {
        return {false, 0, x.code, x.node == e};
    }
}

} // namespace

TEST(DebuggerServicesFolding, ValuesOfOperators)
{
    Trees t;
    struct Case {
        const char* what;
        EE_Expression* tree;
        long long value;
    } cases[] = {
        {"-1", t.u(U::Negate, t.n(1)), -1},
        {"-LLONG_MIN wraps", t.u(U::Negate, t.n(LLONG_MIN)), LLONG_MIN},
        {"~0", t.u(U::BitwiseNot, t.n(0)), -1},
        {"!0", t.u(U::LogicalNot, t.n(0)), 1},
        {"!5", t.u(U::LogicalNot, t.n(5)), 0},
        {"+7", t.u(U::UnaryPlus, t.n(7)), 7},
        {"6|3", t.b(B::BitwiseOr, t.n(6), t.n(3)), 7},
        {"6^3", t.b(B::BitwiseXor, t.n(6), t.n(3)), 5},
        {"6&3", t.b(B::BitwiseAnd, t.n(6), t.n(3)), 2},
        {"3==3", t.b(B::Equal, t.n(3), t.n(3)), 1},
        {"3!=3", t.b(B::NotEqual, t.n(3), t.n(3)), 0},
        {"-1>=1", t.b(B::GreaterOrEqual, t.n(-1), t.n(1)), 0},
        {"-1<=1", t.b(B::LessOrEqual, t.n(-1), t.n(1)), 1},
        {"-1>1 (signed)", t.b(B::Greater, t.n(-1), t.n(1)), 0},
        {"-1<1 (signed)", t.b(B::Less, t.n(-1), t.n(1)), 1},
        {"1<<65 shifts by 1", t.b(B::ShiftLeft, t.n(1), t.n(65)), 2},
        {"1<<64 shifts by 0", t.b(B::ShiftLeft, t.n(1), t.n(64)), 1},
        {"1<<63", t.b(B::ShiftLeft, t.n(1), t.n(63)), LLONG_MIN},
        {"1<<-1 shifts by 63", t.b(B::ShiftLeft, t.n(1), t.n(-1)), LLONG_MIN},
        {"-8>>1 arithmetic", t.b(B::ShiftRight, t.n(-8), t.n(1)), -4},
        {"-8>>65", t.b(B::ShiftRight, t.n(-8), t.n(65)), -4},
        {"LLONG_MAX+1 wraps", t.b(B::Add, t.n(LLONG_MAX), t.n(1)), LLONG_MIN},
        {"LLONG_MIN-1 wraps", t.b(B::Subtract, t.n(LLONG_MIN), t.n(1)), LLONG_MAX},
        {"LLONG_MIN*-1 wraps", t.b(B::Multiply, t.n(LLONG_MIN), t.n(-1)), LLONG_MIN},
        {"7/-2 truncates", t.b(B::Divide, t.n(7), t.n(-2)), -3},
        {"-7/2 truncates", t.b(B::Divide, t.n(-7), t.n(2)), -3},
        {"7%-2", t.b(B::Remainder, t.n(7), t.n(-2)), 1},
        {"-7%2", t.b(B::Remainder, t.n(-7), t.n(2)), -1},
        {"LLONG_MIN/1", t.b(B::Divide, t.n(LLONG_MIN), t.n(1)), LLONG_MIN},
        {"(2+3)*4", t.b(B::Multiply, t.s.createParenthesesExpression(t.b(B::Add, t.n(2), t.n(3))), t.n(4)), 20},
        {"(int)9", t.s.createCastExpression(EE_CastExpression::Parenthesized, t.s.signedIntTypeDescriptor(), t.n(9)),
         9},
        {"offsetof", t.s.createOffsetofExpression(nullptr), 0},
    };
    for (const Case& c : cases) {
        Folded f = fold(t.s, c.tree);
        EXPECT_TRUE(f.ok) << c.what;
        EXPECT_EQ(f.value, c.value) << c.what;
    }
}

TEST(DebuggerServicesFolding, Refusals)
{
    Trees t;
    EE_String v("v");
    EE_Name* name = t.s.lookup(v, nullptr, 0);
    ASSERT_NE(name, nullptr);
    struct Case {
        const char* what;
        EE_Expression* tree;
        unsigned code;
        bool namesNode;
    } cases[] = {
        {"1/0", t.b(B::Divide, t.n(1), t.n(0)), 2, true},
        {"1%0", t.b(B::Remainder, t.n(1), t.n(0)), 2, true},
        {"LLONG_MIN/-1", t.b(B::Divide, t.n(LLONG_MIN), t.n(-1)), 2, true},
        {"LLONG_MIN%-1", t.b(B::Remainder, t.n(LLONG_MIN), t.n(-1)), 2, true},
        {"1||0", t.b(B::LogicalOr, t.n(1), t.n(0)), 2, true},
        {"1&&0", t.b(B::LogicalAnd, t.n(1), t.n(0)), 2, true},
        {"a[1]", t.b(B::Subscript, t.n(1), t.n(0)), 2, true},
        {"2**3", t.b(B::Power, t.n(2), t.n(3)), 2, false},
        {"a=1", t.b(B::Assign, t.n(2), t.n(3)), 2, false},
        {"&1", t.u(U::AddressOf, t.n(1)), 2, true},
        {"*1", t.u(U::Indirection, t.n(1)), 2, true},
        {"creal(1)", t.u(U::RealPart, t.n(1)), 2, true},
        {"++1", t.u(U::PreIncrement, t.n(1)), 2, false},
        {"sizeof v, size unknown", t.u(U::SizeofOperand, t.n(1)), 2, true},
        {"sizeof(double), size unknown", t.s.createSizeofTypeExpression(t.s.doubleTypeDescriptor()), 2, true},
        {"v", t.s.createNameExpression(name), 3, true},
        {"this", new (t.s.storageArena()) EE_ThisExpression(nullptr), 3, true},
        {"__I", t.s.createImaginaryExpression(), 3, true},
        {"c ? 1 : 2", t.s.createConditionalExpression(t.n(1), t.n(1), t.n(2)), 3, true},
        {"f()", t.s.createFunctionCallExpression(t.n(1), nullptr, 0), 3, true},
        {"fig constant", t.s.createFigConstantExpression(nullptr), 2, false},
        {"an operand refused first", t.b(B::Add, t.n(1), t.b(B::Divide, t.n(1), t.n(0))), 2, false},
    };
    for (const Case& c : cases) {
        Folded f = fold(t.s, c.tree);
        EXPECT_FALSE(f.ok) << c.what;
        EXPECT_EQ(f.code, c.code) << c.what;
        EXPECT_EQ(f.namesNode, c.namesNode) << c.what;
    }
}

TEST(DebuggerServicesFolding, SizesComeFromTheServices)
{
    Trees t;
    t.s.sizes[K::Double] = 8;
    t.s.sizes[K::Int] = 4;
    EXPECT_EQ(t.s.computeIntegralConstant(*t.s.createSizeofTypeExpression(t.s.doubleTypeDescriptor())), 8);
    EE_Expression* sizeofOperand = t.u(U::SizeofOperand, t.n(1));
    sizeofOperand->typeDescriptor = t.s.signedIntTypeDescriptor();
    EXPECT_EQ(t.s.computeIntegralConstant(*sizeofOperand), 4);
}

TEST(DebuggerServicesFolding, LiteralKinds)
{
    TestServices s;
    using L = EE_LiteralValue;
    struct Case {
        L::Kind kind;
        EE_TypeDescriptor* type;
        bool ok;
        bool namesNode;
    } cases[] = {
        {L::Integral, nullptr, true, false},
        {L::Character, nullptr, true, false},
        {L::WideCharacter, nullptr, true, false},
        {L::Hexadecimal, nullptr, true, false},
        {L::PackedDecimal, s.descriptor(K::PackedDecimal, 0), true, false},
        {L::ZonedDecimal, s.descriptor(K::ZonedDecimal, 0), true, false},
        {L::FixedPointBinary, s.descriptor(K::FixedPointBinary, 0), true, false},
        {L::PackedDecimal, s.descriptor(K::NumericEdited, 0), true, false},
        {L::PackedDecimal, s.descriptor(K::PackedDecimal, 2), false, true},
        {L::PackedDecimal, s.descriptor(K::PackedDecimal, -1), false, true},
        {L::PackedDecimal, s.descriptor(K::Int), false, false},
        {L::PackedDecimal, nullptr, false, false},
        {L::Real, nullptr, false, true},
        {L::DecimalReal, nullptr, false, true},
        {L::Alphanumeric, nullptr, false, true},
        {L::String, nullptr, false, true},
        {L::WideString, nullptr, false, true},
        {L::NationalDecimal, nullptr, false, false},
        {L::National, nullptr, false, false},
        {L::Dbcs, nullptr, false, false},
    };
    for (const Case& c : cases) {
        EE_Expression* e = s.createLiteralExpression(s.literal(c.kind, "42", c.type));
        Folded f = fold(s, e);
        EXPECT_EQ(f.ok, c.ok) << "literal kind " << c.kind;
        if (f.ok) {
            EXPECT_EQ(f.value, 42) << "literal kind " << c.kind;
        } else {
            EXPECT_EQ(f.code, 2u) << "literal kind " << c.kind;
            EXPECT_EQ(f.namesNode, c.namesNode) << "literal kind " << c.kind;
        }
    }
}

TEST(DebuggerServicesPredicates, AnswersByKind)
{
    TestServices s;
    using P = std::function<bool(const EE_TypeDescriptor&)>;
    P logical = [&](const K& t) { return s.isLogical(t); };
    P arithmetic = [&](const K& t) { return s.isArithmetic(t); };
    P integral = [&](const K& t) { return s.isIntegral(t); };
    P isSigned = [&](const K& t) { return s.isSigned(t); };
    P group = [&](const K& t) { return s.isGroup(t); };
    P multi = [&](const K& t) { return s.isMultiElement(t); };
    P complex = [&](const K& t) { return s.isComplex(t); };
    P binaryFp = [&](const K& t) { return s.isBinaryFloatingPoint(t); };
    P decimalFp = [&](const K& t) { return s.isDecimalFloatingPoint(t); };
    P externalFloat = [&](const K& t) { return s.isExternalFloat(t); };
    P digits = [&](const K& t) { return s.typeStoresDigits(t); };
    P floating = [&](const K& t) { return s.isFloatingPoint(t); };
    constexpr int E = -1; // EE_Exception code 2, no node
    struct Case {
        const char* what;
        unsigned kind;
        short scale;
        P* predicate;
        int expected;
    } cases[] = {
        {"isLogical(no type)", 0, 0, &logical, E},
        {"isArithmetic(function)", 5, 0, &arithmetic, E},
        {"isArithmetic(pointer)", 1, 0, &arithmetic, 1},
        {"isIntegral(pointer)", 1, 0, &integral, 0},
        {"isArithmetic(reference)", 2, 0, &arithmetic, 0},
        {"isMultiElement(array)", 3, 0, &multi, 1},
        {"isGroup(class)", 4, 0, &group, 1},
        {"isArithmetic(class)", 4, 0, &arithmetic, 0},
        {"isIntegral(enum)", 7, 0, &integral, 1},
        {"isMultiElement(alphanumeric)", 9, 0, &multi, 1},
        {"isMultiElement(10)", 10, 0, &multi, 1},
        {"isArithmetic(10)", 10, 0, &arithmetic, E},
        {"isLogical(bool)", 11, 0, &logical, 1},
        {"isLogical(logical*8)", 14, 0, &logical, 1},
        {"isSigned(char)", 15, 0, &isSigned, 0},
        {"isSigned(signed char)", 16, 0, &isSigned, 1},
        {"isSigned(unsigned long long)", 25, 0, &isSigned, 0},
        {"isSigned(long long)", 24, 0, &isSigned, 1},
        {"isBinaryFloatingPoint(hex double)", 30, 0, &binaryFp, 1},
        {"isComplex(hex double)", 30, 0, &complex, 0},
        {"isComplex(complex double)", 33, 0, &complex, 1},
        {"isComplex(hex complex float)", 35, 0, &complex, E},
        {"isComplex(hex complex long double)", 37, 0, &complex, E},
        {"isArithmetic(void)", 38, 0, &arithmetic, 0},
        {"isSigned(wchar_t) as int", 39, 0, &isSigned, 1},
        {"isIntegral(wchar_t)", 39, 0, &integral, 1},
        {"isDecimalFloatingPoint(decimal128)", 42, 0, &decimalFp, 1},
        {"isFloatingPoint(decimal32)", 40, 0, &floating, 1},
        {"isFloatingPoint(float)", 26, 0, &floating, 1},
        {"isFloatingPoint(int)", 20, 0, &floating, 0},
        {"isFloatingPoint(array section)", 45, 0, &floating, E},
        {"isIntegral(packed, scale 0)", 43, 0, &integral, 1},
        {"isIntegral(packed, scale 2)", 43, 2, &integral, 1},
        {"isIntegral(packed, scale -2)", 43, -2, &integral, 0},
        {"isIntegral(national decimal, scale -1)", 50, -1, &integral, 0},
        {"typeStoresDigits(binary)", 44, 0, &digits, 1},
        {"isSigned(array section)", 45, 0, &isSigned, E},
        {"isMultiElement(array section)", 45, 0, &multi, 1},
        {"isBinaryFloatingPoint(47)", 47, 0, &binaryFp, E},
        {"isMultiElement(national string)", 51, 0, &multi, 1},
        {"isIntegral(index name)", 52, 0, &integral, 1},
        {"isExternalFloat(external float)", 54, 0, &externalFloat, 1},
        {"isLogical(external float)", 54, 0, &logical, E},
        {"isIntegral(alphanumeric edited)", 55, 0, &integral, E},
        {"typeStoresDigits(numeric edited)", 56, 0, &digits, 1},
        {"isExternalFloat(national external float)", 57, 0, &externalFloat, 1},
        {"typeStoresDigits(national numeric edited)", 59, 0, &digits, 1},
        {"isComplex(DBCS string)", 60, 0, &complex, E},
        {"isGroup(DBCS edited)", 61, 0, &group, 0},
        {"isArithmetic(62)", 62, 0, &arithmetic, E},
        {"isArithmetic(address of reference)", 63, 0, &arithmetic, 1},
        {"isIntegral(address of reference)", 63, 0, &integral, 0},
        {"isGroup(address of reference)", 63, 0, &group, E},
        {"isArithmetic(64)", 64, 0, &arithmetic, E},
        {"isLogical(1000)", 1000, 0, &logical, E},
    };
    for (const Case& c : cases) {
        EE_TypeDescriptor type(static_cast<K::Kind>(c.kind), nullptr, nullptr, 0, 0, c.scale);
        int answer;
        try {
            answer = (*c.predicate)(type) ? 1 : 0;
        } catch (const EE_Exception& e) {
            EXPECT_EQ(e.code, 2u) << c.what;
            EXPECT_EQ(e.node, nullptr) << c.what;
            answer = E;
        }
        EXPECT_EQ(answer, c.expected) << c.what;
    }
}

TEST(DebuggerServicesPredicates, NonComplexKindAndDerivedDescriptors)
{
    TestServices s;
    EXPECT_EQ(s.nonComplexKind(*s.complexFloatTypeDescriptor()), K::Float);
    EXPECT_EQ(s.nonComplexKind(*s.complexDoubleTypeDescriptor()), K::Double);
    EXPECT_EQ(s.nonComplexKind(*s.complexLongDoubleTypeDescriptor()), K::LongDouble);
    EXPECT_THROW(s.nonComplexKind(*s.complexFloatQuvHexTypeDescriptor()), EE_Exception);
    EXPECT_THROW(s.nonComplexKind(*s.doubleTypeDescriptor()), EE_Exception);

    EE_TypeDescriptor* i = s.signedIntTypeDescriptor();
    EE_TypeDescriptor* p = s.findOrCreatePointerTypeDescriptor(*i, 1);
    EE_TypeDescriptor* r = s.findOrCreateReferenceTypeDescriptor(*i, 0);
    EE_TypeDescriptor* a = s.findOrCreateAddressOfReferenceTypeDescriptor(*i, 0);
    EXPECT_EQ(p->kind, K::Pointer);
    EXPECT_EQ(p->isConst, 1);
    EXPECT_EQ(p->next, i);
    EXPECT_EQ(r->kind, K::Reference);
    EXPECT_EQ(a->kind, K::AddressOfReference);
    EXPECT_EQ(s.findOrCreatePointerTypeDescriptor(*i, 1), p);
}

TEST(DebuggerServicesPredicates, SignedWideCharacterNeverLoops)
{
    // A services object whose wchar_t stands for itself gets a refusal, not a
    // loop.
    struct SelfUnderlying : TestServices {
        EE_TypeDescriptor* underlyingTypeDescriptor(const EE_TypeDescriptor& t) override
        {
            return const_cast<EE_TypeDescriptor*>(&t);
        }
    } s;
    EXPECT_THROW(s.isSigned(*s.wchar_tTypeDescriptor()), EE_Exception);
}

TEST(TestServicesDouble, ResolvesNamesAndTemplates)
{
    TestServices s({{"N", TestServices::Type, K::Class, ""},
                    {"m", TestServices::Variable, K::Int, "N"},
                    {"f", TestServices::Template, K::NoType, ""},
                    {"V", TestServices::Template, K::Class, ""}});
    EE_String n("N"), m("m"), f("f"), v("V"), missing("q");
    EE_Name* scope = s.lookup(n, nullptr, 1);
    ASSERT_NE(scope, nullptr);
    EXPECT_TRUE(scope->declaration->isType());
    EE_Name* member = s.lookup(m, scope->declaration->declarationStore(), 0);
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(s.lookup(m, nullptr, 0), nullptr);
    EXPECT_EQ(s.lookup(missing, nullptr, 0), nullptr);

    EE_TemplateArgument* first = s.createTemplateArgument(*s.signedIntTypeDescriptor());
    first->next = s.createTemplateArgument(*s.createLiteralExpression(s.literal(EE_LiteralValue::Integral, "3")));
    EE_Name* call = s.resolveTemplate(*s.lookup(f, nullptr, 0), first);
    ASSERT_NE(call, nullptr);
    EXPECT_STREQ(call->signature().data(), "f<int,3>");
    EXPECT_TRUE(call->declaration->isProcedure());
    EE_Name* type = s.resolveTemplate(*s.lookup(v, nullptr, 0), first);
    ASSERT_NE(type, nullptr);
    EXPECT_TRUE(type->declaration->isType());
    EXPECT_EQ(s.resolveTemplate(*scope, first), nullptr);
}
