#include "frontend/EE_GdispPrinter.h"

#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_TypeDescriptor.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

namespace {

constexpr unsigned MaxField = 255;

EE_String nameText(const EE_Name* name)
{
    return name == nullptr ? EE_String() : name->signature();
}

} // namespace

EE_GdispPrinter::EE_GdispPrinter(const char* path) : ownsFile(1), file(nullptr)
{
    if (path != nullptr)
        file = std::fopen(path, "w");
    if (file == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    reset();
}

EE_GdispPrinter::EE_GdispPrinter(FILE* stream) : ownsFile(0), file(stream)
{
    if (file == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    reset();
}

EE_GdispPrinter::~EE_GdispPrinter()
{
    if (ownsFile && file != nullptr)
        std::fclose(file);
}

EE_GdispPrinter& EE_GdispPrinter::operator<<(EE_Expression& root)
{
    visitExpression(root);
    return *this;
}

void EE_GdispPrinter::reset()
{
    std::fputs("-1.Reset @\n", file);
    std::fputs("-4.Titles <Color> Class Kind Type\n", file);
}

void EE_GdispPrinter::spaceToAt(const char* text, unsigned length)
{
    if (length > MaxField)
        length = MaxField;
    for (unsigned i = 0; i < length; ++i) {
        char c = text[i];
        std::fputc(c == ' ' || c == '\0' ? '@' : c, file);
    }
}

void EE_GdispPrinter::writeType(const EE_Expression& node)
{
    if (node.analyzed && node.typeDescriptor != nullptr) {
        EE_String type = node.typeDescriptor->signature();
        spaceToAt(type.data(), type.length());
    } else {
        static const char notAnalyzed[] = "not type analyzed";
        spaceToAt(notAnalyzed, sizeof notAnalyzed - 1);
    }
}

void EE_GdispPrinter::leaf(const EE_String& label, const char* className, const EE_Expression& node)
{
    std::fprintf(file, "0.%s Black/Red %s %s ", label.data(), "@", className);
    writeType(node);
    std::fputc('\n', file);
}

void EE_GdispPrinter::node(int children, const EE_String& label, const char* className, const EE_Expression& node)
{
    std::fprintf(file, "%d.", children);
    spaceToAt(label.data(), label.length());
    std::fprintf(file, " Black/Green N/A %s ", className);
    writeType(node);
    std::fputc('\n', file);
}

void EE_GdispPrinter::visitNameExpression(EE_NameExpression& n)
{
    leaf(nameText(n.name), "EE_NameExpression", n);
}

void EE_GdispPrinter::visitThisExpression(EE_ThisExpression& n)
{
    leaf(EE_String("this"), "EE_ThisExpression", n);
}

void EE_GdispPrinter::visitLiteralExpression(EE_LiteralExpression& n)
{
    leaf(n.value == nullptr ? EE_String() : n.value->signature(), "EE_LiteralExpression", n);
}

void EE_GdispPrinter::visitFigConstantExpression(EE_FigConstantExpression& n)
{
    leaf(n.value == nullptr ? EE_String() : n.value->signature(), "EE_FigConstantExpression", n);
}

void EE_GdispPrinter::visitImaginaryExpression(EE_ImaginaryExpression& n)
{
    leaf(EE_String("_I"), "EE_ImaginaryExpression", n);
}

void EE_GdispPrinter::visitOffsetofExpression(EE_OffsetofExpression& n)
{
    EE_String label("offsetof@(???, ");
    label << nameText(n.name) << ")";
    leaf(label, "EE_OffsetofExpression", n);
}

void EE_GdispPrinter::visitSizeofTypeExpression(EE_SizeofTypeExpression& n)
{
    EE_String label("sizeof@(");
    label << EE_Expression::signatureOf(n.type) << ")";
    leaf(label, "EE_SizeofTypeExpression", n);
}

void EE_GdispPrinter::visitTypeidOfTypeExpression(EE_TypeidOfTypeExpression& n)
{
    leaf(EE_String("typeid@(<type>)"), "EE_TypeidOfTypeExpression", n);
}

void EE_GdispPrinter::visitUnaryExpression(EE_UnaryExpression& n)
{
    EE_DepthFirstVisitor::visitUnaryExpression(n);
    node(1, EE_String(EE_UnaryExpression::unaryExpressionSignature(n.kind)), "EE_UnaryExpression", n);
}

void EE_GdispPrinter::visitBinaryExpression(EE_BinaryExpression& n)
{
    EE_DepthFirstVisitor::visitBinaryExpression(n);
    node(2, EE_String(EE_BinaryExpression::binaryExpressionSignature(n.kind)), "EE_BinaryExpression", n);
}

void EE_GdispPrinter::visitParenthesesExpression(EE_ParenthesesExpression& n)
{
    EE_DepthFirstVisitor::visitParenthesesExpression(n);
    node(1, EE_String("()"), "EE_ParenthesesExpression", n);
}

void EE_GdispPrinter::visitCastExpression(EE_CastExpression& n)
{
    EE_DepthFirstVisitor::visitCastExpression(n);
    EE_String label;
    if (n.analyzed)
        label << "(" << EE_Expression::signatureOf(n.typeDescriptor) << ")";
    else
        label << "(@??@)";
    node(1, label, "EE_CastExpression", n);
}

void EE_GdispPrinter::visitConditionalExpression(EE_ConditionalExpression& n)
{
    EE_DepthFirstVisitor::visitConditionalExpression(n);
    node(3, EE_String("?:"), "EE_ConditionalExpression", n);
}

void EE_GdispPrinter::visitArraySectionExpression(EE_ArraySectionExpression& n)
{
    EE_DepthFirstVisitor::visitArraySectionExpression(n);
    node(3, EE_String("-:"), "EE_ArraySectionExpression", n);
}

void EE_GdispPrinter::visitMemberExpression(EE_MemberExpression& n)
{
    EE_DepthFirstVisitor::visitMemberExpression(n);
    leaf(nameText(n.member), "EE_MemberExpression.name", n);
    node(2, EE_String(n.kind == EE_MemberExpression::Dot ? "." : "->"), "EE_MemberExpression", n);
}

void EE_GdispPrinter::visitVectorSubscriptExpression(EE_VectorSubscriptExpression& n)
{
    // Each subscript is written as a child of the node. (The visit refuses a
    // list that runs in a circle before it is counted here.)
    EE_DepthFirstVisitor::visitVectorSubscriptExpression(n);
    int children = 0;
    for (EE_Parameter* p = n.parameters; p != nullptr; p = p->next)
        if (p->expression != nullptr)
            ++children;
    node(children, EE_String("(/"), "EE_VectorSubscriptExpression", n);
}
