// The syntax-tree factory of the services and the return types of calls.

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_SubscriptExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

namespace {

TEST_F(ServicesTest, FactoryNodesCarryTheirKindAndNoTypeExceptACast)
{
    EE_Expression* x = services->createImaginaryExpression();
    EE_Expression* y = services->createImaginaryExpression();
    EE_TypeDescriptor* type = services->signedIntTypeDescriptor();
    EE_Name* name = services->createName(*services->findOrCreateDeclaration(intType(), "n", nullptr));
    EE_LiteralValue* literal = services->createIntegerLiteralValue(1);
    struct Case {
        const char* what;
        std::function<EE_Expression*()> make;
        unsigned kind;
    };
    const Case cases[] = {
        {"conditional", [&] { return services->createConditionalExpression(x, y, x); }, 5},
        {"unary", [&] { return services->createUnaryExpression(EE_UnaryExpression::Negate, x); }, 3},
        {"binary", [&] { return services->createBinaryExpression(EE_BinaryExpression::Add, x, y); }, 4},
        {"sizeof type", [&] { return services->createSizeofTypeExpression(type); }, 7},
        {"typeid of type", [&] { return services->createTypeidOfTypeExpression(type); }, 8},
        {"offsetof", [&] { return services->createOffsetofExpression(name); }, 9},
        {"member", [&] { return services->createMemberExpression(EE_MemberExpression::Arrow, x, name); }, 12},
        {"literal", [&] { return services->createLiteralExpression(literal); }, 2},
        {"figurative constant", [&] { return services->createFigConstantExpression(nullptr); }, 16},
        {"name", [&] { return services->createNameExpression(name); }, 0},
        {"subrange", [&] { return services->createNameSubrangeExpression(x, y); }, 4},
        {"parentheses", [&] { return services->createParenthesesExpression(x); }, 13},
        {"imaginary", [&] { return services->createImaginaryExpression(); }, 14},
        {"call", [&] { return services->createFunctionCallExpression(x, nullptr, 3); }, 15},
        {"array section", [&] { return services->createArraySectionExpression(x, y, nullptr, 2, 5); }, 10},
        {"vector subscript", [&] { return services->createVectorSubscriptExpression(nullptr, 1, 4); }, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EE_Expression* node = c.make();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->kind, c.kind);
        EXPECT_EQ(node->typeDescriptor, nullptr);
        EXPECT_EQ(node->analyzed, 0);
    }
    EE_CastExpression* cast = services->createCastExpression(EE_CastExpression::StaticCast, type, x);
    EXPECT_EQ(cast->EE_Expression::kind, EE_Expression::CastNode);
    EXPECT_EQ(cast->typeDescriptor, type) << "a cast knows its type before analysis";
    EXPECT_EQ(cast->operand, x);

    EE_MemberExpression* member = services->createMemberExpression(EE_MemberExpression::Dot, x, name);
    EXPECT_EQ(member->implicitSubscript, 1);
    EE_Parameter* first = services->createParameter(x, nullptr);
    EE_Parameter* second = services->createParameter(y, first);
    EXPECT_EQ(second->next, first);
    EXPECT_EQ(second->mode, 0);
    EE_FunctionCallExpression* call = services->createFunctionCallExpression(x, second, 3);
    EXPECT_EQ(call->parameters, second);
    EXPECT_EQ(call->parameterCount, 0u);
    EXPECT_EQ(call->option, 3);
    EE_ArraySectionExpression* section = services->createArraySectionExpression(x, y, x, 2, 5);
    EXPECT_EQ(section->lower, x);
    EXPECT_EQ(section->upper, y);
    EXPECT_EQ(section->stride, x);
    EXPECT_EQ(section->dimension, 2u);
    EXPECT_EQ(section->argument, 5);
    EE_VectorSubscriptExpression* vector = services->createVectorSubscriptExpression(second, 1, 4);
    EXPECT_EQ(vector->dimension, 1u) << "the first unsigned";
    EXPECT_EQ(vector->count, 4u) << "the second unsigned";
    EXPECT_EQ(vector->parameters, second);
}

TEST_F(ServicesTest, SubscriptsFromBothMakersAreTheSame)
{
    EE_Expression* array = services->createImaginaryExpression();
    EE_Expression* index = services->createImaginaryExpression();
    EE_BinaryExpression* viaBinary = services->createBinaryExpression(EE_BinaryExpression::Subscript, array, index);
    EE_SubscriptExpression* viaSubrange = services->createNameSubrangeExpression(array, index);
    for (EE_BinaryExpression* node : {viaBinary, static_cast<EE_BinaryExpression*>(viaSubrange)}) {
        EE_SubscriptExpression* subscript = node->asSubscriptExpression();
        ASSERT_NE(subscript, nullptr);
        EXPECT_EQ(subscript->kind, EE_BinaryExpression::Subscript);
        EXPECT_EQ(subscript->EE_Expression::kind, EE_Expression::BinaryNode);
        EXPECT_EQ(subscript->left, array);
        EXPECT_EQ(subscript->right, index);
        EXPECT_EQ(subscript->arrayType, nullptr);
        EXPECT_EQ(subscript->rank, 0);
        EXPECT_EQ(subscript->closesList, 0);
    }
    EXPECT_EQ(services->createBinaryExpression(EE_BinaryExpression::Add, array, index)->asSubscriptExpression(),
              nullptr);
}

TEST_F(ServicesTest, ThisPointsToTheInnermostClassOfTheMemberFunction)
{
    const NestedClasses n = nestedClasses();
    EE_OstrelServices inMethod(n.method, scopeFilescope());
    EE_ThisExpression* self = inMethod.createThisExpression();
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->kind, EE_Expression::ThisNode);
    ASSERT_NE(self->typeDescriptor, nullptr);
    EXPECT_EQ(self->typeDescriptor->kind, EE_TypeDescriptor::Pointer);
    ASSERT_NE(self->typeDescriptor->next, nullptr);
    EXPECT_EQ(self->typeDescriptor->next->kind, EE_TypeDescriptor::Class);
    EXPECT_TRUE(isSameType(keyOf(self->typeDescriptor->next), hostType(n.inner)));
    EXPECT_FALSE(isSameType(keyOf(self->typeDescriptor->next), hostType(n.outer)));
    EXPECT_EQ(eeExceptionCode([&] { services->createThisExpression(); }), 2) << "main is in no class";
}

// ---------------------------------------------------------------------------

class ReturnTypeTest : public ServicesTest {
protected:
    // A built-in procedure with a result code.
    EE_Name* builtin(const std::string& name, UBYTE4 resultCode)
    {
        _SYMBOL_ENTRY& e = records().newSymbol(SE_BUILTIN_PROCEDURE, name);
        e.builtin.resultCode = resultCode;
        host.declare(*unit, e);
        return callee(name);
    }

    EE_Name* callee(const std::string& name)
    {
        const SymbolItem* symbol = symFindVar(name.c_str(), scope);
        EXPECT_NE(symbol, nullptr);
        return services->createName(*services->findOrCreateDeclaration(symbol, name.c_str(), nullptr));
    }

    EE_TypeDescriptor* generic(EE_TypeDescriptor::Kind kind)
    {
        return new (services->storageArena()) EE_OstrelTypeDescriptor(kind, nullptr);
    }

    // The code of the parse exception and its text; -1 when none.
    template <class F>
    std::pair<int, std::string> parseFailure(F&& f)
    {
        try {
            f();
        } catch (const EE_ParseException& e) {
            return {static_cast<int>(e.code), e.position != nullptr ? e.position : ""};
        }
        return {-1, ""};
    }
};

TEST_F(ReturnTypeTest, GenericBuiltinsTakeTheirTypeFromTheArgument)
{
    EE_Name* abs = builtin("ABS", 0);
    EE_TypeDescriptor* anyIntegerOrReal = generic(EE_TypeDescriptor::GenericInteger);
    EE_TypeDescriptor* anyReal = generic(EE_TypeDescriptor::GenericReal);
    EE_TypeDescriptor* complexDouble = services->complexDoubleTypeDescriptor();
    EE_TypeDescriptor* complexFloat = services->complexFloatTypeDescriptor();
    EE_TypeDescriptor* integer = services->signedIntTypeDescriptor();
    struct Case {
        EE_TypeDescriptor* declared;
        EE_TypeDescriptor* argument;
        EE_TypeDescriptor* expected;
    };
    const Case cases[] = {
        {anyIntegerOrReal, complexDouble, services->doubleTypeDescriptor()},
        {anyIntegerOrReal, complexFloat, services->floatTypeDescriptor()},
        {anyIntegerOrReal, integer, integer},
        {anyReal, complexDouble, complexDouble},
        {anyReal, integer, integer},
        {integer, nullptr, integer}, // no argument: the declared type
    };
    for (const Case& c : cases) {
        EXPECT_EQ(services->determineFunctionReturnType(*abs, c.declared, c.argument), c.expected)
            << c.declared->kind << " " << (c.argument != nullptr ? c.argument->kind : 0u);
    }
    const std::string signature = abs->signature().data();
    for (auto call : std::initializer_list<std::function<void()>>{
             [&] { services->determineFunctionReturnType(*abs, nullptr, nullptr); },
             [&] { services->determineFunctionReturnType(*abs, nullptr, integer); },
             [&] { services->determineFunctionReturnType(*abs, integer, integer); }}) {
        EXPECT_EQ(parseFailure(call), std::make_pair(static_cast<int>(EE_ParseException::NoReturnType), signature));
    }
}

TEST_F(ReturnTypeTest, BuiltinsWithAResultAndFunctions)
{
    EE_TypeDescriptor* integer = services->signedIntTypeDescriptor();
    EXPECT_EQ(services->determineFunctionReturnType(*builtin("SQRT", 9), nullptr, integer),
              services->doubleTypeDescriptor());
    EE_Name* same = builtin("MAX", 14);
    EXPECT_EQ(services->determineFunctionReturnType(*same, nullptr, integer), integer) << "its first argument's";
    EXPECT_EQ(services->determineFunctionReturnType(*same, integer, nullptr), integer);

    HostRecordStore::ClassSpec s;
    s.name = "Pair";
    s.byteSize = 8;
    s.members = {{"a", TYPE_INDEX{0, 130}, 0}};
    const TYPE_INDEX pair = records().classType(s);
    host.declare(*unit, records().function("makePair", records().functionType(pair, {}), 1, 0x200));
    EE_Name* makePair = callee("makePair");
    const auto refused = parseFailure([&] { services->determineFunctionReturnType(*makePair, nullptr, nullptr); });
    EXPECT_EQ(refused.first, EE_ParseException::NoReturnType);
    EXPECT_EQ(refused.second, makePair->signature().data());
    host.declare(*unit, records().function("count", records().functionType(TYPE_INDEX{0, 130}, {}), 1, 0x300));
    EXPECT_EQ(services->determineFunctionReturnType(*callee("count"), nullptr, nullptr),
              services->findOrCreateTypeDescriptor(intType()));

    EE_Name* type = services->createName(*services->findOrCreateDeclaration(intType(), "int", nullptr));
    EXPECT_EQ(eeExceptionCode([&] { services->determineFunctionReturnType(*type, nullptr, nullptr); }), 2);
}

} // namespace
