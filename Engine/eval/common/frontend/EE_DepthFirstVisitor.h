#ifndef EE_DEPTHFIRSTVISITOR_H
#define EE_DEPTHFIRSTVISITOR_H

class EE_Expression;
class EE_NameExpression;
class EE_ThisExpression;
class EE_LiteralExpression;
class EE_FigConstantExpression;
class EE_UnaryExpression;
class EE_BinaryExpression;
class EE_ConditionalExpression;
class EE_CastExpression;
class EE_SizeofTypeExpression;
class EE_TypeidOfTypeExpression;
class EE_OffsetofExpression;
class EE_ArraySectionExpression;
class EE_VectorSubscriptExpression;
class EE_MemberExpression;
class EE_ParenthesesExpression;
class EE_ImaginaryExpression;
class EE_FunctionCallExpression;
class EE_Parameter;

// Walks a syntax tree depth first, left before right. Each child is visited
// through visitExpression, so that a walker overriding the dispatch sees
// every child; walkers override the visits they need.
class EE_DepthFirstVisitor {
public:
    // Calls the visit of the node's class; a node kind above 16 (or a node
    // whose class does not match its kind) raises EE_Exception code 2.
    virtual void visitExpression(EE_Expression& node);

    virtual void visitUnaryExpression(EE_UnaryExpression& node);
    virtual void visitBinaryExpression(EE_BinaryExpression& node); // subscripts too
    virtual void visitConditionalExpression(EE_ConditionalExpression& node);
    virtual void visitCastExpression(EE_CastExpression& node);
    virtual void visitParenthesesExpression(EE_ParenthesesExpression& node);
    virtual void visitOffsetofExpression(EE_OffsetofExpression& node);
    virtual void visitArraySectionExpression(EE_ArraySectionExpression& node);
    virtual void visitVectorSubscriptExpression(EE_VectorSubscriptExpression& node);
    virtual void visitMemberExpression(EE_MemberExpression& node);
    virtual void visitNameExpression(EE_NameExpression& node);
    virtual void visitThisExpression(EE_ThisExpression& node);
    virtual void visitLiteralExpression(EE_LiteralExpression& node);
    virtual void visitFigConstantExpression(EE_FigConstantExpression& node);
    virtual void visitSizeofTypeExpression(EE_SizeofTypeExpression& node);
    virtual void visitTypeidOfTypeExpression(EE_TypeidOfTypeExpression& node);
    virtual void visitImaginaryExpression(EE_ImaginaryExpression& node);
    virtual void visitFunctionCallExpression(EE_FunctionCallExpression& node);
    virtual void visitParameter(EE_Parameter& parameter);

    virtual ~EE_DepthFirstVisitor();

protected:
    // Visits a child that may be missing.
    void visitChild(EE_Expression* child);
    // Visits each parameter along the chain.
    void visitParameters(EE_Parameter* parameters);
};

#endif
