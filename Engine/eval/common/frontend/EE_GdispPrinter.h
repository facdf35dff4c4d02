#ifndef EE_GDISPPRINTER_H
#define EE_GDISPPRINTER_H

#include <cstdio>

#include "frontend/EE_DepthFirstVisitor.h"

class EE_String;

// Writes a syntax tree to a text file in a line-per-node graph-display format,
// for diagnosis. Each node is written after its children with its number of
// children, a label, its class name and its type:
//   leaf:  "0.<label> Black/Red @ <class> <type>"
//   inner: "<children>.<label> Black/Green N/A <class> <type>"
// The type is the node's type signature once analysed, else "not type
// analyzed". In types and in inner-node labels every blank (and NUL) is
// written as "@" and at most 255 characters are written.
class EE_GdispPrinter : public EE_DepthFirstVisitor {
public:
    // Writes to a new file at `path`; a file that cannot be opened raises
    // EE_Exception code 2.
    explicit EE_GdispPrinter(const char* path);
    // Writes to `stream`, which stays the caller's; a null stream raises
    // EE_Exception code 2.
    explicit EE_GdispPrinter(FILE* stream);
    ~EE_GdispPrinter() override;

    EE_GdispPrinter(const EE_GdispPrinter&) = delete;
    EE_GdispPrinter& operator=(const EE_GdispPrinter&) = delete;

    // Writes the tree of `root`.
    EE_GdispPrinter& operator<<(EE_Expression& root);

    // Writes the header lines again.
    void reset();

    // The line of a node without children; the label is written as it is.
    void leaf(const EE_String& label, const char* className, const EE_Expression& node);
    // The line of a node with `children` children.
    void node(int children, const EE_String& label, const char* className, const EE_Expression& node);
    // Writes up to 255 characters of the text, blanks and NULs as "@".
    void spaceToAt(const char* text, unsigned length);

    void visitUnaryExpression(EE_UnaryExpression& node) override;
    void visitBinaryExpression(EE_BinaryExpression& node) override;
    void visitConditionalExpression(EE_ConditionalExpression& node) override;
    void visitCastExpression(EE_CastExpression& node) override;
    void visitParenthesesExpression(EE_ParenthesesExpression& node) override;
    void visitOffsetofExpression(EE_OffsetofExpression& node) override;
    void visitArraySectionExpression(EE_ArraySectionExpression& node) override;
    void visitVectorSubscriptExpression(EE_VectorSubscriptExpression& node) override;
    void visitMemberExpression(EE_MemberExpression& node) override;
    void visitNameExpression(EE_NameExpression& node) override;
    void visitThisExpression(EE_ThisExpression& node) override;
    void visitLiteralExpression(EE_LiteralExpression& node) override;
    void visitFigConstantExpression(EE_FigConstantExpression& node) override;
    void visitSizeofTypeExpression(EE_SizeofTypeExpression& node) override;
    void visitTypeidOfTypeExpression(EE_TypeidOfTypeExpression& node) override;
    void visitImaginaryExpression(EE_ImaginaryExpression& node) override;

private:
    void writeType(const EE_Expression& node);

    int ownsFile;
    FILE* file;
};

#endif
