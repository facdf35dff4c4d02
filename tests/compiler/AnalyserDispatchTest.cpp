// The analyser's driver and its per-node rules over a C++ program of the
// simulated host: the dispatch by node kind and operator, the side-effect
// check, decays of names at the root and inside operators, unary operators,
// calls, pointer arithmetic, array sections, and member access typed by the
// real analyser while parsing.

#include <string>

#include <gtest/gtest.h>

#include "AnalyserFixture.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "testseam/ServicesTestSeam.h"

namespace {

using BE = EE_BinaryExpression;
using UE = EE_UnaryExpression;
using LC = EE_ExpressionEvaluator::LoadContext;

class Analysis : public AnalyserTest {
protected:
    void SetUp() override
    {
        AnalyserTest::SetUp();
        const TYPE_INDEX i{0, 130};
        unsigned offset = 0x20;
        auto var = [&](const char* n, TYPE_INDEX t) {
            host.declare(*mainContext, records().staticVariable(n, t, 1, offset));
            offset += 0x40;
        };
        for (const char* n : {"a", "b", "x", "y"})
            var(n, i);
        var("c", TYPE_INDEX{0, 128});
        var("d", TYPE_INDEX{0, 137});
        var("p", records().pointerType(i));
        var("q", records().pointerType(TYPE_INDEX{0, 137}));
        var("arr", records().arrayType(i, 40));
        var("r", records().referenceType(i));
        var("hz", TYPE_INDEX{0, 204});
        HostRecordStore::ClassSpec base;
        base.name = "Base";
        base.byteSize = 4;
        base.members = {{"inBase", i, 0}};
        const TYPE_INDEX baseType = records().classType(base);
        HostRecordStore::ClassSpec s;
        s.name = "S";
        s.byteSize = 12;
        s.bases = {{baseType, 0}};
        s.members = {{"m", i, 4}, {"dm", TYPE_INDEX{0, 137}, 8}};
        const TYPE_INDEX sType = records().classType(s);
        var("s", sType);
        var("ps", records().pointerType(sType));
        host.declare(*unit, records().function("f", records().functionType(i, {i, i}), 1, 0x200));
    }

    EE_Expression& parsed(const char* text)
    {
        EE_Parser parser(*services, 0);
        return *parser.parseTheExpression(text, 0);
    }

    Outcome analysed(EE_Expression& e, LC context = EE_ExpressionEvaluator::LoadValue)
    {
        return outcomeOf([&] { return &analyser->analyze(e, context); });
    }

    TD* intType() { return services->signedIntTypeDescriptor(); }
};

TEST_F(Analysis, DispatchRefusesWhatItCannotAnalyse)
{
    BE& user = binary(BE::UserDefined, name("a"), name("b"));
    Outcome o = analysed(user);
    EXPECT_EQ(o.code, 3);
    EXPECT_EQ(o.carried, &user);
    EE_Expression* typeidNode = services->createTypeidOfTypeExpression(intType());
    o = analysed(*typeidNode);
    EXPECT_EQ(o.code, 3);
    EXPECT_EQ(o.carried, typeidNode);
    for (BE::Kind kind : {BE::PointerToMemberThroughPointer, BE::PointerToMember, static_cast<BE::Kind>(42)}) {
        SCOPED_TRACE(kind);
        o = analysed(binary(kind, name("a"), name("b")));
        EXPECT_EQ(o.code, 2);
        EXPECT_EQ(o.carried, nullptr);
    }
    // Typeid of a type and offsetof stay as they are in context 0 only.
    EXPECT_EQ(
        &analyser->analyze(*static_cast<EE_TypeidOfTypeExpression*>(typeidNode), EE_ExpressionEvaluator::LoadValue),
        typeidNode);
    EXPECT_EQ(outcomeOf([&] {
                  return &analyser->analyze(*static_cast<EE_TypeidOfTypeExpression*>(typeidNode),
                                            EE_ExpressionEvaluator::LoadAddress);
              }).code,
              2);
}

TEST_F(Analysis, ANodeIsAnalysedOnce)
{
    BE& sum = binary(BE::Add, name("a"), name("c"));
    EE_Expression* first = analyser->analyze(sum);
    ASSERT_TRUE(first->analyzed);
    EE_Expression* right = sum.right;
    EXPECT_EQ(analyser->analyze(*first), first);
    EXPECT_EQ(&analyser->analyze(*first, EE_ExpressionEvaluator::LoadAddress), first);
    EXPECT_EQ(sum.right, right) << "the char's promotion is not made twice";
    // The char operand was promoted by an implicit cast of kind 0.
    ASSERT_NE(right->asCastExpression(), nullptr);
    EXPECT_EQ(right->asCastExpression()->kind, EE_CastExpression::Parenthesized);
}

TEST_F(Analysis, SideEffectsOnTheLeftOfALogicalOperatorNeedAssignment)
{
    EE_setServicesEnvironmentFlags(*services, 0);
    ASSERT_FALSE(services->supportsAssignment());
    BE& leftEffect = binary(BE::LogicalOr, *services->createUnaryExpression(UE::PostIncrement, &name("x")), name("y"));
    Outcome o = analysed(leftEffect);
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.carried, &leftEffect);
    BE& rightEffect = binary(BE::LogicalOr, name("x"), *services->createUnaryExpression(UE::PostIncrement, &name("y")));
    EXPECT_EQ(analysed(rightEffect).node, &rightEffect);
    EE_ConditionalExpression* conditional =
        services->createConditionalExpression(&binary(BE::Assign, name("x"), name("y")), &name("a"), &name("b"));
    o = analysed(*conditional);
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.carried, conditional);

    // The check sees effects anywhere below, never those of a plain read.
    EXPECT_TRUE(analyser->hasSideEffects(binary(BE::Add, name("a"), binary(BE::AddAssign, name("x"), name("y")))));
    EXPECT_TRUE(analyser->hasSideEffects(*services->createUnaryExpression(UE::PreDecrement, &name("x"))));
    EXPECT_FALSE(analyser->hasSideEffects(binary(BE::Equal, name("a"), name("b"))));
}

TEST_F(Analysis, NamesDecayInsideOperatorsOnly)
{
    EE_Expression* root = analyser->analyze(name("arr"));
    EXPECT_EQ(root->typeDescriptor->kind, TD::Array);
    BE& sum = binary(BE::Add, name("arr"), *services->createLiteralExpression(services->createIntegerLiteralValue(1)));
    analyser->analyze(sum);
    EXPECT_EQ(sum.left->typeDescriptor->kind, TD::Pointer);
    EXPECT_EQ(sum.typeDescriptor->kind, TD::Pointer);

    EXPECT_EQ(analyser->analyze(name("r"))->typeDescriptor->kind, TD::Reference);
    BE& viaReference = binary(BE::Add, name("r"), name("a"));
    analyser->analyze(viaReference);
    EXPECT_TRUE(services->isSameAs(*viaReference.left->typeDescriptor, *intType()));

    // sizeof measures the array itself.
    UE* size = services->createUnaryExpression(UE::SizeofOperand, services->createParenthesesExpression(&name("arr")));
    analyser->analyze(*size);
    EXPECT_EQ(size->operand->typeDescriptor->kind, TD::Array);
    EXPECT_TRUE(services->isSameAs(*size->typeDescriptor, *services->sizetTypeDescriptor()));
}

TEST_F(Analysis, UnaryOperators)
{
    UE* negated = services->createUnaryExpression(UE::Negate, &name("c"));
    analyser->analyze(*negated);
    EXPECT_EQ(negated->typeDescriptor->kind, TD::Int) << "in C, the promoted operand's type";
    ASSERT_NE(negated->operand->asCastExpression(), nullptr) << "the code uses the promoted operand";

    UE* real = services->createUnaryExpression(UE::RealPart, &name("hz"));
    analyser->analyze(*real);
    EXPECT_EQ(real->typeDescriptor->kind, TD::HexDouble);

    UE* complement = services->createUnaryExpression(UE::BitwiseNot, &name("d"));
    Outcome o = analysed(*complement);
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.carried, complement);

    UE* imaginaryOfInt = services->createUnaryExpression(UE::ImaginaryPart, &name("a"));
    o = analysed(*imaginaryOfInt);
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.carried, imaginaryOfInt);

    UE* address = services->createUnaryExpression(UE::AddressOf, &name("a"));
    analyser->analyze(*address);
    EXPECT_EQ(address->typeDescriptor->kind, TD::Pointer);
    EXPECT_TRUE(services->isSameAs(*address->typeDescriptor->next, *intType()));

    UE* notAPointer = services->createUnaryExpression(UE::Indirection, &name("a"));
    o = analysed(*notAPointer);
    EXPECT_EQ(o.code, 4); // an invalid operand, naming it
    EXPECT_EQ(o.carried, notAPointer->operand);

    UE* user = services->createUnaryExpression(UE::UserDefined, &name("a"));
    o = analysed(*user);
    EXPECT_EQ(o.code, 3);
    EXPECT_EQ(o.carried, user);

    EE_Expression* literal = services->createLiteralExpression(services->createIntegerLiteralValue(3));
    o = analysed(*literal, EE_ExpressionEvaluator::LoadAddress);
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.carried, literal);
}

TEST_F(Analysis, PointerArithmetic)
{
    auto one = [&]() -> EE_Expression& {
        return *services->createLiteralExpression(services->createIntegerLiteralValue(1));
    };
    BE& forward = binary(BE::Add, name("p"), one());
    analyser->analyze(forward);
    EXPECT_EQ(forward.typeDescriptor, forward.left->typeDescriptor);
    BE& backward = binary(BE::Add, one(), name("p"));
    analyser->analyze(backward);
    EXPECT_NE(backward.left->asNameExpression(), nullptr) << "the pointer goes to the left";
    EXPECT_EQ(backward.typeDescriptor->kind, TD::Pointer);

    BE& difference = binary(BE::Subtract, name("p"), name("p"));
    analyser->analyze(difference);
    EXPECT_TRUE(services->isSameAs(*difference.typeDescriptor, *services->ptrdifftTypeDescriptor()));

    BE& mixed = binary(BE::Subtract, name("p"), name("q"));
    Outcome o = analysed(mixed);
    EXPECT_EQ(o.code, 0);
    BE& product = binary(BE::Multiply, name("p"), one());
    o = analysed(product);
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.carried, &product);
    BE& byDouble = binary(BE::Add, name("p"), name("d"));
    o = analysed(byDouble);
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.carried, byDouble.right);
}

TEST_F(Analysis, CallsCheckTheirArguments)
{
    auto call = [&](std::initializer_list<const char*> arguments) {
        EE_Parameter* list = nullptr;
        for (auto it = std::rbegin(arguments); it != std::rend(arguments); ++it)
            list = services->createParameter(&name(*it), list);
        return services->createFunctionCallExpression(&name("f"), list, 0);
    };
    EE_FunctionCallExpression* tooFew = call({"a"});
    Outcome o = analysed(*tooFew);
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.carried, tooFew);
    EXPECT_EQ(analysed(*call({"a", "b", "x"})).code, 0);

    EE_FunctionCallExpression* converted = call({"a", "d"});
    ASSERT_NE(analysed(*converted).node, nullptr);
    EXPECT_TRUE(services->isSameAs(*converted->typeDescriptor, *intType()));
    EXPECT_EQ(converted->parameterCount, 2u);
    EE_Expression* second = converted->parameters->next->expression;
    ASSERT_NE(second->asCastExpression(), nullptr) << "the double argument is converted";
    EXPECT_TRUE(services->isSameAs(*second->typeDescriptor, *intType()));
}

TEST_F(Analysis, ArraySectionsCountTheirDimensions)
{
    auto bound = [&](long long v) { return services->createLiteralExpression(services->createIntegerLiteralValue(v)); };
    EE_ArraySectionExpression* first = services->createArraySectionExpression(bound(1), bound(4), nullptr, 0, 0);
    EE_ArraySectionExpression* third = services->createArraySectionExpression(bound(2), nullptr, bound(2), 2, 0);
    analyser->analyze(*first);
    analyser->analyze(*third);
    EXPECT_EQ(analyser->sectionDimensions(), 3u);
    EXPECT_EQ(first->typeDescriptor->kind, TD::ArraySection);
    EE_ArraySectionExpression* real = services->createArraySectionExpression(&name("d"), nullptr, nullptr, 0, 0);
    Outcome o = analysed(*real);
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.carried, real->lower);
}

// The parser's member access asks the real analyser for the object's type.
TEST_F(Analysis, MemberAccessThroughTheParser)
{
    struct Row {
        const char* text;
        TD::Kind kind;
    } rows[] = {
        {"s.m", TD::Int}, {"ps->m", TD::Int}, {"s.dm", TD::Double}, {"ps->inBase", TD::Int}, {"s.inBase", TD::Int}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Outcome o = outcomeOf([&] { return analyser->analyze(parsed(r.text)); });
        ASSERT_NE(o.node, nullptr) << "refused with " << o.code;
        const TD& t = *o.node->typeDescriptor;
        if (r.kind == TD::Int)
            EXPECT_TRUE(services->isSameAs(t, *intType()));
        else
            EXPECT_EQ(t.kind, r.kind);
    }
    EXPECT_THROW(parsed("a.m"), EE_ParseException);
}

// A conditional's branches meet: a pointer takes the other branch to its
// type, two numbers take the common type; the condition becomes a boolean.
TEST_F(Analysis, ConditionalBranchesMeet)
{
    EE_ConditionalExpression* numbers = services->createConditionalExpression(&name("c"), &name("a"), &name("d"));
    analyser->analyze(*numbers);
    EXPECT_EQ(numbers->typeDescriptor->kind, TD::Double);
    EXPECT_EQ(numbers->whenFalse->typeDescriptor->kind, TD::Double);
    EXPECT_EQ(numbers->condition->typeDescriptor->kind, TD::Bool);

    EE_ConditionalExpression* pointers = services->createConditionalExpression(
        &name("a"), services->createLiteralExpression(services->createIntegerLiteralValue(0)), &name("p"));
    analyser->analyze(*pointers);
    EXPECT_EQ(pointers->typeDescriptor->kind, TD::Pointer);
    EXPECT_NE(pointers->whenTrue->asCastExpression(), nullptr);

    EE_ConditionalExpression* byStruct = services->createConditionalExpression(&name("s"), &name("a"), &name("b"));
    Outcome o = analysed(*byStruct);
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.carried, byStruct->condition);
}

// A template-id with an expression argument: the argument is analysed and
// folded, and the instance of that value is found.
TEST_F(Analysis, TemplateIdWithAnExpressionArgument)
{
    HostRecordStore::ClassSpec c;
    c.name = "Arr<3>";
    c.byteSize = 12;
    host.declare(*unit, records().typeName("Arr<3>", records().classType(c)));
    host.declare(*unit, records().newSymbol(38, "Arr"), 0x60800000);
    EE_String text("Arr");
    EE_Name* arr = services->lookup(text, nullptr, 0);
    ASSERT_NE(arr, nullptr);
    auto literal = [&](long long v) {
        return services->createLiteralExpression(services->createIntegerLiteralValue(v));
    };
    EE_Expression* sum = services->createBinaryExpression(BE::Add, literal(1), literal(2));
    EE_Name* instance = services->resolveTemplate(*arr, services->createTemplateArgument(*sum));
    ASSERT_NE(instance, nullptr);
    EXPECT_TRUE(instance->declaration->isType());
    EXPECT_TRUE(sum->analyzed);
    EXPECT_EQ(
        services->resolveTemplate(*services->lookup(text, nullptr, 0), services->createTemplateArgument(*literal(4))),
        nullptr);
}

} // namespace
