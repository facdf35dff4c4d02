#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FrontendFixtures.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_SubscriptExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

using fixtures::exceptionCode;
using fixtures::text;

namespace {

// Nodes made in an arena as the services' factory makes them.
class SyntaxTreeTest : public ::testing::Test {
protected:
    EE_Name* name(const char* n)
    {
        auto* d = new (arena) fixtures::Declaration(n, &global, arena);
        return new (arena) EE_Name(&arena, d);
    }
    EE_Expression* use(const char* n) { return new (arena) EE_NameExpression(name(n)); }

    EE_StorageArena arena;
    fixtures::Store global{nullptr, 1, nullptr};
    EE_TypeDescriptor intType{EE_TypeDescriptor::Int};
    EE_TypeDescriptor pointerToInt{EE_TypeDescriptor::Pointer, &intType};
    fixtures::Literal one{"1"};
    fixtures::FigConstant zero{"ZERO"};
};

struct SignatureCase {
    std::string what;
    EE_Expression* node;
    const char* shortC;
    const char* fullC;
    const char* shortCobol;
    const char* fullCobol;
};

TEST_F(SyntaxTreeTest, ShortAndFullSignaturesInCAndCobol)
{
    EE_Expression* a = use("a");
    EE_Expression* b = use("b");
    EE_Expression* lit = new (arena) EE_LiteralExpression(&one);
    auto* args = new (arena) EE_Parameter(a, new (arena) EE_Parameter(b, nullptr));

    std::vector<SignatureCase> cases = {
        {"name", a, "a", "a", "a", "a"},
        {"this", new (arena) EE_ThisExpression(&pointerToInt), "this", "this", "this", "this"},
        {"literal", lit, "1", "1", "1", "1"},
        {"figurative constant", new (arena) EE_FigConstantExpression(&zero), "ZERO", "ZERO", "ZERO", "ZERO"},
        {"imaginary", new (arena) EE_ImaginaryExpression(), "__I", "__I", "__I", "__I"},
        {"offsetof", new (arena) EE_OffsetofExpression(name("m")), "offsetof", "offsetof", "offsetof", "offsetof"},
        {"conditional", new (arena) EE_ConditionalExpression(a, b, lit), "?:", "a ? b : 1", "?:", "a ? b : 1"},
        {"array section", new (arena) EE_ArraySectionExpression(a, b, lit, 0, 0), "l:u:s", "a : b : 1", "l:u:s",
         "a : b : 1"},
        {"vector subscript", new (arena) EE_VectorSubscriptExpression(args, 0, 2), "(/", "(/a, b/)", "(/", "(/a, b/)"},
        {"empty vector subscript", new (arena) EE_VectorSubscriptExpression(nullptr, 0, 0), "(/", "(//)", "(/", "(//)"},
        {"member .", new (arena) EE_MemberExpression(EE_MemberExpression::Dot, a, name("m")), ".", "(a).m", "m", "m"},
        {"member ->", new (arena) EE_MemberExpression(EE_MemberExpression::Arrow, a, name("m")), "->", "a->m", "m",
         "m"},
        {"parentheses", new (arena) EE_ParenthesesExpression(a), "()", "(a)", "()", "(a)"},
        {"call", new (arena) EE_FunctionCallExpression(use("f"), args, 0), "()", "f(a, b)", "()", "f(a, b)"},
        {"call without arguments", new (arena) EE_FunctionCallExpression(use("f"), nullptr, 0), "()", "f()", "()",
         "f()"},
        {"cast", new (arena) EE_CastExpression(EE_CastExpression::Parenthesized, &intType, a), "cast", "(int) (a)",
         "cast", "(int) (a)"},
        {"static_cast", new (arena) EE_CastExpression(EE_CastExpression::StaticCast, &pointerToInt, a), "cast",
         "static_cast<int *> (a)", "cast", "static_cast<int *> (a)"},
        {"reinterpret_cast", new (arena) EE_CastExpression(EE_CastExpression::ReinterpretCast, &intType, a), "cast",
         "reinterpret_cast<int> (a)", "cast", "reinterpret_cast<int> (a)"},
        {"const_cast", new (arena) EE_CastExpression(EE_CastExpression::ConstCast, &intType, a), "cast",
         "const_cast<int> (a)", "cast", "const_cast<int> (a)"},
        {"sizeof type", new (arena) EE_SizeofTypeExpression(&pointerToInt), "sizeof", "sizeof(int *)", "sizeof",
         "sizeof(int *)"},
        {"typeid type", new (arena) EE_TypeidOfTypeExpression(&intType), "typeid", "typeid(int)", "typeid",
         "typeid(int)"},
        {"subscript", new (arena) EE_SubscriptExpression(a, b), "()", "a[b]", "()", "a"},
        {"sum", new (arena) EE_BinaryExpression(EE_BinaryExpression::Add, a, b), "+", "a+b", "+", "a"},
        {"nested",
         new (arena) EE_BinaryExpression(EE_BinaryExpression::Multiply,
                                         new (arena) EE_ParenthesesExpression(
                                             new (arena) EE_BinaryExpression(EE_BinaryExpression::Subtract, a, lit)),
                                         b),
         "*", "(a-1)*b", "*", "(a)"},
    };

    struct UnaryText {
        EE_UnaryExpression::Kind kind;
        const char* shortText;
        const char* fullC;
        const char* fullCobol;
    };
    const UnaryText unary[] = {
        {EE_UnaryExpression::BitwiseNot, "~", "~a", "~a"},
        {EE_UnaryExpression::LogicalNot, "!", "!a", "!a"},
        {EE_UnaryExpression::Negate, "unary -", "-a", "-a"},
        {EE_UnaryExpression::UnaryPlus, "unary +", "+a", "+a"},
        {EE_UnaryExpression::AddressOf, "&", "&a", "ADDRESS OF a"},
        {EE_UnaryExpression::Indirection, "unary *", "*(a)", "*(a)"},
        {EE_UnaryExpression::SizeofOperand, "sizeof", "sizeof(a)", "sizeof(a)"},
        {EE_UnaryExpression::TypeidOperand, "typeid", "typeid(a)", "typeid(a)"},
        {EE_UnaryExpression::RealPart, "creal", "creal(a)", "creal(a)"},
        {EE_UnaryExpression::ImaginaryPart, "cimag", "cimag(a)", "cimag(a)"},
        {EE_UnaryExpression::PreIncrement, "pre ++", "++a", "++a"},
        {EE_UnaryExpression::PostIncrement, "post++", "a++", "a++"},
        {EE_UnaryExpression::PreDecrement, "pre --", "--a", "--a"},
        {EE_UnaryExpression::PostDecrement, "post --", "a--", "a--"},
        {EE_UnaryExpression::UserDefined, "unary def", "unary defa", "unary defa"},
    };
    for (const UnaryText& u : unary)
        cases.push_back({"unary " + std::to_string(u.kind), new (arena) EE_UnaryExpression(u.kind, a), u.shortText,
                         u.fullC, u.shortText, u.fullCobol});

    for (const SignatureCase& c : cases) {
        {
            fixtures::Language language(0);
            EXPECT_EQ(text(c.node->signature(0)), c.shortC) << c.what << " (C)";
            EXPECT_EQ(text(c.node->signature(1)), c.fullC) << c.what << " (C)";
        }
        {
            fixtures::Language language(EE_LanguageCobol);
            EXPECT_EQ(text(c.node->signature(0)), c.shortCobol) << c.what << " (COBOL)";
            EXPECT_EQ(text(c.node->signature(1)), c.fullCobol) << c.what << " (COBOL)";
        }
    }
}

TEST_F(SyntaxTreeTest, EveryBinaryKindHasAText)
{
    const char* const texts[] = {
        "||", "&&",         "!^^", "^^", "|",  "^",  "&",  "==", "/=",  ">=",  "<=", ">",      "<",
        "<<", ">>",         "+",   "-",  "*",  "/",  "%",  "**", "->*", ".*",  "()", "refmod", "refmod length",
        "//", "binary def", "=",   "*=", "/=", "%=", "+=", "-=", ">>=", "<<=", "&=", "^=",     "|=",
        "=>", ",",          "SET"};
    static_assert(sizeof texts / sizeof texts[0] == EE_BinaryExpression::LastKind + 1);
    EE_Expression* a = use("a");
    EE_Expression* b = use("b");
    fixtures::Language language(0);
    for (unsigned k = 0; k <= EE_BinaryExpression::LastKind; ++k) {
        auto kind = static_cast<EE_BinaryExpression::Kind>(k);
        EXPECT_STREQ(EE_BinaryExpression::binaryExpressionSignature(kind), texts[k]) << k;
        EE_BinaryExpression node(kind, a, b);
        EXPECT_EQ(text(node.signature(0)), texts[k]) << k;
        std::string full = k == EE_BinaryExpression::Subscript ? "a[b]" : std::string("a") + texts[k] + "b";
        EXPECT_EQ(text(node.signature(1)), full) << k;
    }
    // Past the table: a refusal, never a read beyond it.
    EXPECT_EQ(exceptionCode(
                  [] { EE_BinaryExpression::binaryExpressionSignature(static_cast<EE_BinaryExpression::Kind>(42)); }),
              2);
    EE_BinaryExpression bad(static_cast<EE_BinaryExpression::Kind>(1000), a, b);
    EXPECT_EQ(exceptionCode([&] { bad.signature(0); }), 2);
    EXPECT_EQ(exceptionCode([&] { bad.signature(1); }), 2);
}

TEST_F(SyntaxTreeTest, RefusedTexts)
{
    EXPECT_EQ(
        exceptionCode([] { EE_UnaryExpression::unaryExpressionSignature(static_cast<EE_UnaryExpression::Kind>(15)); }),
        2);
    EE_UnaryExpression badUnary(static_cast<EE_UnaryExpression::Kind>(15), use("a"));
    EXPECT_EQ(exceptionCode([&] { badUnary.signature(1); }), 2);
    EE_CastExpression badCast(static_cast<EE_CastExpression::Kind>(4), &intType, use("a"));
    EXPECT_EQ(exceptionCode([&] { badCast.signature(1); }), 2);

    // A node class without a text of its own reaches the base, which refuses.
    struct Bare : EE_Expression {
        Bare() : EE_Expression(NameNode) {}
    } bare;
    EXPECT_EQ(exceptionCode([&] { bare.signature(0); }), 2);
}

TEST_F(SyntaxTreeTest, NodesStartUntypedExceptThisAndCast)
{
    EE_NameExpression* a = static_cast<EE_NameExpression*>(use("a"));
    EXPECT_EQ(a->kind, 0u);
    EXPECT_EQ(a->typeDescriptor, nullptr);
    EXPECT_EQ(a->analyzed, 0);
    EE_ThisExpression self(&pointerToInt);
    EXPECT_EQ(self.typeDescriptor, &pointerToInt);
    EE_CastExpression cast(EE_CastExpression::Parenthesized, &intType, a);
    EXPECT_EQ(cast.typeDescriptor, &intType);
    EE_SubscriptExpression subscript(a, a);
    EXPECT_EQ(static_cast<EE_Expression&>(subscript).kind, 4u);
    EXPECT_EQ(subscript.kind, EE_BinaryExpression::Subscript);
    EXPECT_EQ(subscript.arrayType, nullptr);
    EXPECT_EQ(subscript.rank, 0);
    EXPECT_EQ(subscript.closesList, 0);
    EE_MemberExpression member(EE_MemberExpression::Dot, a, name("m"));
    EXPECT_EQ(member.implicitSubscript, 1);
    EE_Parameter parameter(a, nullptr);
    EXPECT_EQ(parameter.mode, 0);
}

// Which down-casts answer for a node: the names of those that return it.
std::vector<std::string> answeringCasts(EE_Expression& e)
{
    const EE_Expression& c = e;
    std::vector<std::string> names;
    auto check = [&](const char* what, const void* mutableResult, const void* constResult) {
        EXPECT_EQ(mutableResult, constResult) << what;
        if (mutableResult != nullptr) {
            EXPECT_EQ(mutableResult, static_cast<const void*>(&e)) << what;
            names.push_back(what);
        }
    };
    check("Name", e.asNameExpression(), c.asNameExpression());
    check("This", e.asThisExpression(), c.asThisExpression());
    check("Literal", e.asLiteralExpression(), c.asLiteralExpression());
    check("FigConstant", e.asFigConstantExpression(), c.asFigConstantExpression());
    check("Unary", e.asUnaryExpression(), c.asUnaryExpression());
    check("Binary", e.asBinaryExpression(), c.asBinaryExpression());
    check("Conditional", e.asConditionalExpression(), c.asConditionalExpression());
    check("Cast", e.asCastExpression(), c.asCastExpression());
    check("SizeofType", e.asSizeofTypeExpression(), c.asSizeofTypeExpression());
    check("TypeidOfType", e.asTypeidOfTypeExpression(), c.asTypeidOfTypeExpression());
    check("Offsetof", e.asOffsetofExpression(), c.asOffsetofExpression());
    check("ArraySection", e.asArraySectionExpression(), c.asArraySectionExpression());
    check("VectorSubscript", e.asVectorSubscriptExpression(), c.asVectorSubscriptExpression());
    check("Member", e.asMemberExpression(), c.asMemberExpression());
    check("Parentheses", e.asParenthesesExpression(), c.asParenthesesExpression());
    check("Imaginary", e.asImaginaryExpression(), c.asImaginaryExpression());
    check("FunctionCall", e.asFunctionCallExpression(), c.asFunctionCallExpression());
    check("Subscript", e.asSubscriptExpression(), c.asSubscriptExpression());
    return names;
}

TEST_F(SyntaxTreeTest, EachDownCastAnswersOnlyForItsClass)
{
    EE_Expression* a = use("a");
    struct Case {
        EE_Expression* node;
        unsigned kind;
        std::vector<std::string> casts;
    };
    const Case cases[] = {
        {a, 0, {"Name"}},
        {new (arena) EE_ThisExpression(&pointerToInt), 1, {"This"}},
        {new (arena) EE_LiteralExpression(&one), 2, {"Literal"}},
        {new (arena) EE_UnaryExpression(EE_UnaryExpression::Negate, a), 3, {"Unary"}},
        {new (arena) EE_BinaryExpression(EE_BinaryExpression::Add, a, a), 4, {"Binary"}},
        {new (arena) EE_SubscriptExpression(a, a), 4, {"Binary", "Subscript"}},
        {new (arena) EE_ConditionalExpression(a, a, a), 5, {"Conditional"}},
        {new (arena) EE_CastExpression(EE_CastExpression::StaticCast, &intType, a), 6, {"Cast"}},
        {new (arena) EE_SizeofTypeExpression(&intType), 7, {"SizeofType"}},
        {new (arena) EE_TypeidOfTypeExpression(&intType), 8, {"TypeidOfType"}},
        {new (arena) EE_OffsetofExpression(name("m")), 9, {"Offsetof"}},
        {new (arena) EE_ArraySectionExpression(a, a, a, 0, 0), 10, {"ArraySection"}},
        {new (arena) EE_VectorSubscriptExpression(nullptr, 0, 0), 11, {"VectorSubscript"}},
        {new (arena) EE_MemberExpression(EE_MemberExpression::Dot, a, name("m")), 12, {"Member"}},
        {new (arena) EE_ParenthesesExpression(a), 13, {"Parentheses"}},
        {new (arena) EE_ImaginaryExpression(), 14, {"Imaginary"}},
        {new (arena) EE_FunctionCallExpression(a, nullptr, 0), 15, {"FunctionCall"}},
        {new (arena) EE_FigConstantExpression(&zero), 16, {"FigConstant"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.node->kind, c.kind);
        EXPECT_EQ(answeringCasts(*c.node), c.casts) << "node kind " << c.kind;
    }
}

TEST_F(SyntaxTreeTest, ParameterListsReadInChainOrder)
{
    EE_Expression* a = use("a");
    EE_Expression* b = use("b");
    EE_Expression* sum = new (arena) EE_BinaryExpression(EE_BinaryExpression::Add, a, b);
    // A COBOL CALL links each argument to the one before it: the list starts
    // at the last argument.
    EE_Parameter first(a, nullptr);
    EE_Parameter second(sum, &first);
    fixtures::Language language(0);
    EXPECT_EQ(text(second.signature()), "a+b, a");
    EXPECT_EQ(text(first.signature()), "a");
}

} // namespace
