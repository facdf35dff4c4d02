// Promotions and the usual arithmetic conversions of the analyser: the C
// kinds against gcc's answers for x86-64 and -m32 (frozen in
// data/c_arithmetic.txt by gen/gen_c_arithmetic.py), and the rows of the
// conversion table that C has no counterpart for (hexadecimal and decimal
// floating point, complex raising, the COBOL digit-storing kinds).

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FrozenTable.h"
#include "AnalyserFixture.h"
#include "compiler/EE_OstrelTypeDescriptor.h"

namespace {

using BE = EE_BinaryExpression;

class CArithmetic : public AnalyserTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override
    {
        AnalyserTest::SetUp();
        env->setAddressSize(GetParam());
        TYPE_INDEX e = records().enumType("E", TYPE_INDEX{0, 130}, {{"EMIN", -2147483647 - 1}, {"EMAX", 2147483647}});
        enumeration = services->findOrCreateTypeDescriptor(CreatedTypeItem::findOrCreateType(e));
    }

    TD* typeNamed(const std::string& n)
    {
        if (n == "char")
            return services->charTypeDescriptor();
        if (n == "schar")
            return services->signedCharTypeDescriptor();
        if (n == "uchar")
            return services->unsignedCharTypeDescriptor();
        if (n == "short")
            return services->signedShortIntTypeDescriptor();
        if (n == "ushort")
            return services->unsignedShortIntTypeDescriptor();
        if (n == "int")
            return services->signedIntTypeDescriptor();
        if (n == "uint")
            return services->unsignedIntTypeDescriptor();
        if (n == "long")
            return services->signedLongIntTypeDescriptor();
        if (n == "ulong")
            return services->unsignedLongIntTypeDescriptor();
        if (n == "llong")
            return services->signedLongLongIntTypeDescriptor();
        if (n == "ullong")
            return services->unsignedLongLongIntTypeDescriptor();
        if (n == "float")
            return services->floatTypeDescriptor();
        if (n == "double")
            return services->doubleTypeDescriptor();
        if (n == "ldouble")
            return services->longDoubleTypeDescriptor();
        if (n == "bool")
            return services->boolTypeDescriptor();
        if (n == "enum")
            return enumeration;
        return nullptr;
    }

    TD* enumeration = nullptr;
};

struct TypeRow {
    std::string op, left, right, result;
};

std::vector<TypeRow> typeRows(unsigned addressSize)
{
    std::vector<TypeRow> rows;
    for (const std::string& line : frozenRows("c_arithmetic.txt")) {
        std::istringstream fields(line);
        unsigned size = 0;
        TypeRow r;
        fields >> size >> r.op >> r.left >> r.right >> r.result;
        if (size == addressSize && r.result != "-")
            rows.push_back(r);
    }
    return rows;
}

BE::Kind operatorOf(const std::string& op)
{
    static const std::map<std::string, BE::Kind> kinds = {{"+", BE::Add},
                                                          {"-", BE::Subtract},
                                                          {"*", BE::Multiply},
                                                          {"/", BE::Divide},
                                                          {"%", BE::Remainder},
                                                          {"<<", BE::ShiftLeft},
                                                          {">>", BE::ShiftRight},
                                                          {"==", BE::Equal},
                                                          {"!=", BE::NotEqual},
                                                          {"<", BE::Less},
                                                          {">", BE::Greater},
                                                          {"<=", BE::LessOrEqual},
                                                          {">=", BE::GreaterOrEqual}};
    return kinds.at(op);
}

TEST_P(CArithmetic, ResultKindsAreGccs)
{
    const std::vector<TypeRow> rows = typeRows(GetParam());
    ASSERT_GT(rows.size(), 1000u) << "the gcc table is missing";
    for (const TypeRow& r : rows) {
        SCOPED_TRACE(r.left + " " + r.op + " " + r.right + " -> " + r.result);
        const BE::Kind kind = operatorOf(r.op);
        BE& node = binary(kind, leaf(typeNamed(r.left)), leaf(typeNamed(r.right)));
        Outcome o = outcomeOf([&] { return &analyser->analyze(node, EE_ExpressionEvaluator::LoadValue); });
        ASSERT_NE(o.node, nullptr) << "refused with code " << o.code;
        // A comparison is a boolean; its operands meet in the common type.
        const bool comparison = kind >= BE::Equal && kind <= BE::Less;
        const TD* answer = comparison ? node.left->typeDescriptor : o.node->typeDescriptor;
        // The model keeps one type per size and signedness (int and long
        // of 4 bytes, long and long long of 8 are one type each), so the
        // answer is checked as the type gcc names.
        const TD* expected = typeNamed(r.result);
        EXPECT_TRUE(services->isSameAs(*answer, *expected)) << "kind " << answer->kind << " for " << expected->kind;
        if (comparison) {
            EXPECT_EQ(o.node->typeDescriptor->kind, TD::Bool);
            EXPECT_TRUE(services->isSameAs(*node.right->typeDescriptor, *answer));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, CArithmetic, ::testing::Values(8u, 4u),
                         [](const ::testing::TestParamInfo<unsigned>& i) {
                             return i.param == 8 ? std::string("x86_64") : std::string("m32");
                         });

// Integral promotion over every descriptor kind: only logicals, the narrow
// integers, enumerations and wide characters are promoted.
TEST_F(AnalyserTest, IntegralPromotionOverEveryKind)
{
    for (unsigned kind = 0; kind <= TD::LastKind; ++kind) {
        if (kind == TD::Enumeration || kind == TD::WcharT)
            continue;
        SCOPED_TRACE(kind);
        // A descriptor as the services make them (of no program type, so no
        // bit field): the services read the type a descriptor stands for.
        EE_OstrelTypeDescriptor type(static_cast<TD::Kind>(kind), nullptr);
        TD* promoted = analyser->typeToPromoteTo(type);
        if (kind == TD::Bool || kind == TD::Logical16 || (kind >= TD::Char && kind <= TD::UnsignedShort)) {
            ASSERT_NE(promoted, nullptr);
            EXPECT_EQ(promoted->kind, TD::Int);
        } else {
            EXPECT_EQ(promoted, nullptr);
        }
    }
}

class FortranAnalyserTest : public AnalyserFixtureOf<ServicesTest> {
protected:
    FortranAnalyserTest() {}
};

struct FortranServicesTest : ServicesTest {
    FortranServicesTest() : ServicesTest(EvaluationEnvironment::languageFortran) {}
};

using FortranAnalyser = AnalyserFixtureOf<FortranServicesTest>;

TEST_F(FortranAnalyser, NarrowLogicalsPromoteToFourByteLogicals)
{
    for (TD::Kind kind : {TD::Bool, TD::Logical16}) {
        TD type(kind);
        TD* promoted = analyser->typeToPromoteTo(type);
        ASSERT_NE(promoted, nullptr);
        EXPECT_EQ(promoted->kind, TD::Logical32);
    }
    TD wide(TD::Logical64);
    EXPECT_EQ(analyser->typeToPromoteTo(wide), nullptr);
}

// A program whose wchar_t is 2 bytes: a wide character promotes to int, so
// w + 1 is an int addition; one of 4 bytes becomes unsigned int.
TEST_F(AnalyserTest, WideCharactersPromoteByTheirSize)
{
    host.declare(*unit, records().typeName("wchar_t", TYPE_INDEX{0, 133}));
    EXPECT_EQ(analyser->typeToPromoteTo(*services->wchar_tTypeDescriptor())->kind, TD::Int);
    BE& sum = binary(BE::Add, leaf(services->wchar_tTypeDescriptor()), leaf(services->signedIntTypeDescriptor()));
    EXPECT_EQ(analyser->analyze(sum, EE_ExpressionEvaluator::LoadValue).typeDescriptor->kind, TD::Int);
}

TEST_F(AnalyserTest, FourByteWideCharactersPromoteToUnsignedInt)
{
    EXPECT_EQ(analyser->typeToPromoteTo(*services->wchar_tTypeDescriptor())->kind, TD::UnsignedInt);
}

} // namespace
