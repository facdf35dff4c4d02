#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "FrontendFixtures.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_GdispPrinter.h"
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

namespace {

const char header[] = "-1.Reset @\n-4.Titles <Color> Class Kind Type\n";
const char untyped[] = "not@type@analyzed";

class GdispPrinterTest : public ::testing::Test {
protected:
    EE_NameExpression* use(const char* n)
    {
        auto* d = new (arena) fixtures::Declaration(n, &global, arena);
        return new (arena) EE_NameExpression(new (arena) EE_Name(&arena, d));
    }

    // What the printer writes for `root` after the header.
    std::string print(EE_Expression& root)
    {
        FILE* stream = std::tmpfile();
        EXPECT_NE(stream, nullptr);
        {
            EE_GdispPrinter printer(stream);
            printer << root;
        }
        std::string out = readAll(stream);
        std::fclose(stream);
        EXPECT_EQ(out.substr(0, sizeof header - 1), header);
        return out.substr(sizeof header - 1);
    }

    static std::string readAll(FILE* stream)
    {
        std::fflush(stream);
        std::rewind(stream);
        std::string out;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
            out.append(buffer, n);
        return out;
    }

    EE_StorageArena arena;
    fixtures::Store global{nullptr, 1, nullptr};
    EE_TypeDescriptor intType{EE_TypeDescriptor::Int};
    EE_TypeDescriptor pointerToInt{EE_TypeDescriptor::Pointer, &intType};
    fixtures::Literal one{"1"};
    fixtures::FigConstant spaces{"SPACES"};
};

TEST_F(GdispPrinterTest, SumOfANameAndALiteral)
{
    EE_NameExpression* a = use("a");
    EE_LiteralExpression literal(&one);
    EE_BinaryExpression sum(EE_BinaryExpression::Add, a, &literal);
    EXPECT_EQ(print(sum), std::string("0.a Black/Red @ EE_NameExpression ") + untyped + "\n" +
                              "0.1 Black/Red @ EE_LiteralExpression " + untyped + "\n" +
                              "2.+ Black/Green N/A EE_BinaryExpression " + untyped + "\n");

    // Once analysed, the type signature is written with blanks as "@".
    a->analyzed = 1;
    a->typeDescriptor = &pointerToInt;
    sum.analyzed = 1;
    sum.typeDescriptor = &intType;
    literal.typeDescriptor = &intType; // typed but not marked: still untyped
    EXPECT_EQ(print(sum), std::string("0.a Black/Red @ EE_NameExpression int@*\n") +
                              "0.1 Black/Red @ EE_LiteralExpression " + untyped + "\n" +
                              "2.+ Black/Green N/A EE_BinaryExpression int\n");
}

TEST_F(GdispPrinterTest, LinesOfEveryNodeKindInPostfixOrder)
{
    EE_Expression* tree = new (arena) EE_ConditionalExpression(
        new (arena) EE_UnaryExpression(EE_UnaryExpression::Negate, new (arena) EE_ThisExpression(&pointerToInt)),
        new (arena)
            EE_SubscriptExpression(new (arena) EE_ParenthesesExpression(new (arena) EE_ImaginaryExpression()),
                                   new (arena) EE_CastExpression(EE_CastExpression::Parenthesized, &pointerToInt,
                                                                 new (arena) EE_FigConstantExpression(&spaces))),
        new (arena) EE_ArraySectionExpression(
            new (arena) EE_MemberExpression(EE_MemberExpression::Arrow, use("p"), use("m")->name),
            new (arena) EE_SizeofTypeExpression(&pointerToInt),
            new (arena) EE_FunctionCallExpression(
                use("f"),
                new (arena)
                    EE_Parameter(new (arena) EE_TypeidOfTypeExpression(&intType),
                                 new (arena) EE_Parameter(new (arena) EE_OffsetofExpression(use("m")->name), nullptr)),
                0),
            0, 0));
    std::string u = std::string(" ") + untyped + "\n";
    EXPECT_EQ(print(*tree),
              "0.this Black/Red @ EE_ThisExpression" + u + "1.unary@- Black/Green N/A EE_UnaryExpression" + u +
                  "0._I Black/Red @ EE_ImaginaryExpression" + u + "1.() Black/Green N/A EE_ParenthesesExpression" + u +
                  "0.SPACES Black/Red @ EE_FigConstantExpression" + u + "1.(@??@) Black/Green N/A EE_CastExpression" +
                  u + "2.() Black/Green N/A EE_BinaryExpression" + u + "0.p Black/Red @ EE_NameExpression" + u +
                  "0.m Black/Red @ EE_MemberExpression.name" + u + "2.-> Black/Green N/A EE_MemberExpression" + u +
                  "0.sizeof@(int *) Black/Red @ EE_SizeofTypeExpression" + u + "0.f Black/Red @ EE_NameExpression" + u +
                  "0.typeid@(<type>) Black/Red @ EE_TypeidOfTypeExpression" + u +
                  "0.offsetof@(???, m) Black/Red @ EE_OffsetofExpression" + u +
                  "3.-: Black/Green N/A EE_ArraySectionExpression" + u +
                  "3.?: Black/Green N/A EE_ConditionalExpression" + u);
}

TEST_F(GdispPrinterTest, AnalysedCastAndVectorSubscript)
{
    EE_CastExpression cast(EE_CastExpression::StaticCast, &pointerToInt, use("a"));
    cast.analyzed = 1;
    EE_MemberExpression dot(EE_MemberExpression::Dot, &cast, use("m")->name);
    EXPECT_EQ(print(dot), std::string("0.a Black/Red @ EE_NameExpression ") + untyped + "\n" +
                              "1.(int@*) Black/Green N/A EE_CastExpression int@*\n" +
                              "0.m Black/Red @ EE_MemberExpression.name " + untyped + "\n" +
                              "2.. Black/Green N/A EE_MemberExpression " + untyped + "\n");

    EE_VectorSubscriptExpression vector(new (arena) EE_Parameter(use("i"), new (arena) EE_Parameter(use("j"), nullptr)),
                                        0, 2);
    EXPECT_EQ(print(vector), std::string("0.i Black/Red @ EE_NameExpression ") + untyped + "\n" +
                                 "0.j Black/Red @ EE_NameExpression " + untyped + "\n" +
                                 "2.(/ Black/Green N/A EE_VectorSubscriptExpression " + untyped + "\n");
}

TEST_F(GdispPrinterTest, TypesAndInnerLabelsAreCutAt255Characters)
{
    std::string longName(300, 'L');
    fixtures::Declaration longClass(longName.c_str(), nullptr, arena);
    EE_TypeDescriptor classType(EE_TypeDescriptor::Class, nullptr, &longClass);
    EE_TypeDescriptor pointer(EE_TypeDescriptor::Pointer, &classType);

    EE_NameExpression* item = use(longName.c_str());
    item->analyzed = 1;
    item->typeDescriptor = &pointer;
    EE_CastExpression cast(EE_CastExpression::Parenthesized, &pointer, item);
    cast.analyzed = 1;

    std::string out = print(cast);
    std::string leafLine = out.substr(0, out.find('\n'));
    std::string nodeLine = out.substr(out.find('\n') + 1);
    // The leaf's label is written whole; its type is cut.
    EXPECT_EQ(leafLine, "0." + longName + " Black/Red @ EE_NameExpression " + longName.substr(0, 255));
    // The inner node's label and type are both cut.
    EXPECT_EQ(nodeLine,
              "1.(" + longName.substr(0, 254) + " Black/Green N/A EE_CastExpression " + longName.substr(0, 255) + "\n");
}

TEST_F(GdispPrinterTest, SpaceToAtWritesBlanksAndNulsAsAt)
{
    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        EE_GdispPrinter printer(stream);
        const char text[] = {'a', ' ', 'b', '\0', 'c'};
        printer.spaceToAt(text, sizeof text);
        printer.reset();
    }
    EXPECT_EQ(readAll(stream), std::string(header) + "a@b@c" + header);
    std::fclose(stream);
}

TEST_F(GdispPrinterTest, FileOfItsOwnAndStreamsThatCannotBeUsed)
{
    std::string path = ::testing::TempDir() + "gdisp_printer_test.txt";
    {
        EE_GdispPrinter printer(path.c_str());
        printer << *use("x");
    }
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), std::string(header) + "0.x Black/Red @ EE_NameExpression " + untyped + "\n");
    std::remove(path.c_str());

    std::string unwritable = ::testing::TempDir() + "no-such-directory/graph.txt";
    EXPECT_EQ(exceptionCode([&] { EE_GdispPrinter printer(unwritable.c_str()); }), 2);
    EXPECT_EQ(exceptionCode([] { EE_GdispPrinter printer(static_cast<const char*>(nullptr)); }), 2);
    EXPECT_EQ(exceptionCode([] { EE_GdispPrinter printer(static_cast<FILE*>(nullptr)); }), 2);
}

} // namespace
