#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrontendFixtures.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_DepthFirstVisitor.h"
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

// Records the leaves it meets, by their text, in visiting order.
class LeafRecorder : public EE_DepthFirstVisitor {
public:
    void visitNameExpression(EE_NameExpression& n) override { seen.push_back(text(n.signature(1))); }
    void visitLiteralExpression(EE_LiteralExpression& n) override { seen.push_back(text(n.signature(1))); }
    void visitThisExpression(EE_ThisExpression&) override { seen.push_back("this"); }
    void visitImaginaryExpression(EE_ImaginaryExpression&) override { seen.push_back("__I"); }
    void visitFigConstantExpression(EE_FigConstantExpression& n) override { seen.push_back(text(n.signature(1))); }
    void visitOffsetofExpression(EE_OffsetofExpression&) override { seen.push_back("offsetof"); }
    void visitSizeofTypeExpression(EE_SizeofTypeExpression&) override { seen.push_back("sizeof"); }
    void visitTypeidOfTypeExpression(EE_TypeidOfTypeExpression&) override { seen.push_back("typeid"); }

    std::vector<std::string> seen;
};

// Sees every node through the dispatch, by its node kind.
class DispatchCounter : public EE_DepthFirstVisitor {
public:
    void visitExpression(EE_Expression& node) override
    {
        kinds.push_back(node.kind);
        EE_DepthFirstVisitor::visitExpression(node);
    }

    std::vector<unsigned> kinds;
};

class VisitorTest : public ::testing::Test {
protected:
    EE_Expression* use(const char* n)
    {
        auto* d = new (arena) fixtures::Declaration(n, &global, arena);
        return new (arena) EE_NameExpression(new (arena) EE_Name(&arena, d));
    }
    EE_Parameter* parameter(EE_Expression* e, EE_Parameter* next) { return new (arena) EE_Parameter(e, next); }

    EE_StorageArena arena;
    fixtures::Store global{nullptr, 1, nullptr};
    EE_TypeDescriptor intType{EE_TypeDescriptor::Int};
};

TEST_F(VisitorTest, ChildrenLeftBeforeRightAndCallArgumentsInChainOrder)
{
    // A COBOL CALL "P" USING a b c: the list is linked from c back to a.
    EE_Parameter* list = parameter(use("c"), parameter(use("b"), parameter(use("a"), nullptr)));
    EE_Expression* call = new (arena) EE_FunctionCallExpression(use("P"), list, 0);
    LeafRecorder recorder;
    recorder.visitExpression(*call);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"P", "c", "b", "a"}));

    // Every inner node class, with leaves of each kind.
    fixtures::Literal one("1");
    fixtures::FigConstant zero("ZERO");
    EE_Expression* lit = new (arena) EE_LiteralExpression(&one);
    EE_Expression* tree = new (arena) EE_ConditionalExpression(
        new (arena) EE_BinaryExpression(EE_BinaryExpression::Less, use("x"), lit),
        new (arena) EE_SubscriptExpression(
            new (arena) EE_ParenthesesExpression(use("arr")),
            new (arena) EE_UnaryExpression(EE_UnaryExpression::Negate,
                                           new (arena) EE_CastExpression(EE_CastExpression::Parenthesized, &intType,
                                                                         new (arena) EE_ImaginaryExpression()))),
        new (arena) EE_ArraySectionExpression(
            new (arena) EE_MemberExpression(EE_MemberExpression::Arrow, new (arena) EE_ThisExpression(&intType),
                                            new (arena) EE_Name(&arena, nullptr)),
            new (arena) EE_FigConstantExpression(&zero),
            new (arena) EE_VectorSubscriptExpression(
                parameter(new (arena) EE_SizeofTypeExpression(&intType),
                          parameter(new (arena) EE_TypeidOfTypeExpression(&intType),
                                    parameter(new (arena) EE_OffsetofExpression(nullptr), nullptr))),
                0, 3),
            0, 0));
    LeafRecorder all;
    all.visitExpression(*tree);
    EXPECT_EQ(all.seen,
              (std::vector<std::string>{"x", "1", "arr", "__I", "this", "ZERO", "sizeof", "typeid", "offsetof"}));

    DispatchCounter counter;
    counter.visitExpression(*tree);
    EXPECT_EQ(counter.kinds, (std::vector<unsigned>{5, 4, 0, 2, 4, 13, 0, 3, 6, 14, 10, 12, 1, 16, 11, 7, 8, 9}));
}

TEST_F(VisitorTest, MemberNamesAndTypesAreNotVisited)
{
    EE_Expression* member = new (arena)
        EE_MemberExpression(EE_MemberExpression::Dot, use("record"),
                            new (arena) EE_Name(&arena, new (arena) fixtures::Declaration("field", &global, arena)));
    LeafRecorder recorder;
    recorder.visitExpression(*member);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"record"}));

    DispatchCounter counter;
    EE_SizeofTypeExpression sizeofType(&intType);
    counter.visitExpression(sizeofType);
    EXPECT_EQ(counter.kinds, (std::vector<unsigned>{7}));
}

TEST_F(VisitorTest, UnknownNodeKindsAreRefused)
{
    EE_NameExpression* name = static_cast<EE_NameExpression*>(use("a"));
    name->kind = 17;
    EE_DepthFirstVisitor visitor;
    EXPECT_EQ(exceptionCode([&] { visitor.visitExpression(*name); }), 2);
    // A kind that does not match the node's class is refused as well.
    name->kind = EE_Expression::BinaryNode;
    EXPECT_EQ(exceptionCode([&] { visitor.visitExpression(*name); }), 2);
    name->kind = EE_Expression::NameNode;
    EXPECT_EQ(exceptionCode([&] { visitor.visitExpression(*name); }), -1);
}

TEST_F(VisitorTest, MissingChildrenAreSkipped)
{
    EE_ArraySectionExpression section(nullptr, use("u"), nullptr, 0, 0);
    EE_FunctionCallExpression call(use("f"), parameter(nullptr, nullptr), 0);
    LeafRecorder recorder;
    recorder.visitExpression(section);
    recorder.visitExpression(call);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"u", "f"}));
}

} // namespace
